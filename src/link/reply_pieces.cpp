#include "reply_pieces.h"

using namespace Qt::StringLiterals;

namespace talvik::link {

QStringList SplitReply(const QString& text) {
    QStringList pieces;
    if (!text.startsWith(u'#')) {
        return pieces;
    }
    qsizetype begin = 0;
    while (begin < text.size()) {
        qsizetype end = text.indexOf(u"#S"_s, begin + 1);
        if (end < 0) {
            end = text.size();
        }
        pieces.append(text.mid(begin, end - begin));
        begin = end;
    }
    return pieces;
}

} // namespace talvik::link
