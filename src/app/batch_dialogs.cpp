#include "batch_dialogs.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace talvik::app {

void BatchDialogs::print(const QString& caption, const QString& text, QStringView tail) {
    // One line per box, whatever breaks its text has.
    QString line = caption + u": "_s + text + tail.toString();
    line.replace(u'\n', u' ');
    m_errors << line << Qt::endl;
}

void BatchDialogs::information(const QString& caption, const QString& text) {
    print(caption, text);
}

void BatchDialogs::warning(const QString& caption, const QString& text) {
    print(caption, text);
}

void BatchDialogs::error(const QString& caption, const QString& text) {
    print(caption, text);
    m_reported.append(caption + u": "_s + text);
}

bool BatchDialogs::question(const QString& caption, const QString& text) {
    const auto given = std::find_if(m_answers.begin(), m_answers.end(),
                                    [&](const auto& entry) { return entry.first == text; });
    if (given != m_answers.end()) {
        const bool yes = given->second;
        m_answers.erase(given);
        print(caption, text, yes ? u" — Да" : u" — Нет");
        return yes;
    }
    if (m_yes) {
        print(caption, text, u" — Да (--yes)");
        return true;
    }
    print(caption, text, u" — no answer without --yes");
    m_reported.append(caption + u": "_s + text + u" (a question without --yes)"_s);
    return false;
}

QString BatchDialogs::openFile(const QString& caption, const QString&, const QString&,
                               const QString&) {
    if (m_file.isEmpty()) {
        m_reported.append(caption + u": no file named for it"_s);
    }
    return std::exchange(m_file, {});
}

QString BatchDialogs::saveFile(const QString& caption, const QString& startPath,
                               const QString& filter, const QString&) {
    return openFile(caption, startPath, filter);
}

void BatchDialogs::answer(const QString& question, bool yes) {
    m_answers.append({question, yes});
}

QStringList BatchDialogs::takeErrors() {
    return std::exchange(m_reported, {});
}

} // namespace talvik::app
