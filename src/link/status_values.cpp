#include "status_values.h"

#include "leading_integer.h"

#include <QLocale>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace talvik::link {

namespace StatusValues {

namespace {
// Below 7.0 V the controller cannot be on mains: it runs from its backup battery.
constexpr int kMainsMinimumTenths = 70;

const QString kMains = u"220 В"_s;
const QString kBackup = u"резервное"_s;

QStringList Parts(const QString& value) {
    return value.split(u' ', Qt::SkipEmptyParts);
}
} // namespace

std::optional<Piece> ParsePiece(const QString& piece) {
    const qsizetype colon = piece.indexOf(u':', 3);
    if (colon < 0) {
        return std::nullopt;
    }
    return Piece{support::LeadingInteger(QStringView(piece).mid(2)), piece.mid(colon + 1)};
}

QString TenthsText(int tenths) {
    return QString::number(tenths / 10.0, 'f', QLocale::FloatingPointShortest);
}

Guard GuardFor(const QString& value) {
    const int v = support::LeadingInteger(value);
    if (v == 0) {
        return {u"выкл"_s, u"Включить"_s, true};
    }
    if (v == 1) {
        return {u"вкл"_s, u"Выключить"_s, true};
    }
    return {u"Постановка "_s + TenthsText(v) + u" с"_s, QString(), false};
}

Gsm GsmFor(const QString& value) {
    static const QString kNetwork[] = {u"не в сети"_s,   u"в сети"_s, u"в процессе"_s,
                                       u"не доступно"_s, QString(),   u"роуминг"_s};
    const QStringList parts = Parts(value);
    Gsm gsm;
    gsm.signal = support::LeadingInteger(parts.value(0));
    const int network = support::LeadingInteger(parts.value(1));
    if (network >= 0 && network < static_cast<int>(std::size(kNetwork))) {
        gsm.network = kNetwork[network];
    }
    if (parts.size() > 2) {
        gsm.operatorName = parts.at(2);
    }
    return gsm;
}

Power PowerFor(const QString& value) {
    const QStringList parts = Parts(value);
    const int v = support::LeadingInteger(value);
    Power power{TenthsText(v), {}};
    if (parts.size() > 1) {
        power.source = parts.at(1) == u"1"_s ? kBackup : kMains;
    } else {
        power.source = v > kMainsMinimumTenths ? kMains : kBackup;
    }
    return power;
}

} // namespace StatusValues

} // namespace talvik::link
