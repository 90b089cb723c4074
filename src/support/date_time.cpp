#include "date_time.h"

#include <QDate>
#include <QDateTime>
#include <array>

namespace talvik::support {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

std::int64_t originJulianDay() {
    static const std::int64_t day = QDate(1601, 1, 1).toJulianDay();
    return day;
}

struct Fields {
    QDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

Fields split(DateTime::Value value) {
    const std::int64_t days = value >= 0 ? value / kMsPerDay : (value - kMsPerDay + 1) / kMsPerDay;
    const auto inDay = static_cast<int>(value - days * kMsPerDay);
    Fields f;
    f.date = QDate::fromJulianDay(originJulianDay() + days);
    f.hour = inDay / 3'600'000;
    f.minute = inDay / 60'000 % 60;
    f.second = inDay / 1000 % 60;
    f.millisecond = inDay % 1000;
    return f;
}

QString two(int v) {
    return QString::number(v).rightJustified(2, u'0');
}
QString three(int v) {
    return QString::number(v).rightJustified(3, u'0');
}

QString dateText(const Fields& f) {
    return QString::number(f.date.year()) + u'.' + two(f.date.month()) + u'.' + two(f.date.day());
}

QString minutesText(const Fields& f) {
    return two(f.hour) + u':' + two(f.minute);
}

} // namespace

DateTime::Value DateTime::now() {
    const QDateTime local = QDateTime::currentDateTime();
    const QTime t = local.time();
    const QDate d = local.date();
    return fromFields(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec());
}

DateTime::Value DateTime::fromFields(int year, int month, int day, int hour, int minute, int second,
                                     int millisecond) {
    const std::int64_t days = QDate(year, month, day).toJulianDay() - originJulianDay();
    return days * kMsPerDay + hour * 3'600'000LL + minute * 60'000LL + second * 1000LL +
           millisecond;
}

QString DateTime::format(Value value, QStringView pattern, int style) {
    static constexpr std::array<const char16_t*, 12> kMonths = {u"Jan", u"Feb", u"Mar", u"Apr",
                                                                u"May", u"Jun", u"Jul", u"Aug",
                                                                u"Sep", u"Oct", u"Nov", u"Dec"};
    static constexpr std::array<const char16_t*, 7> kWeekdays = {u"Sun", u"Mon", u"Tue", u"Wed",
                                                                 u"Thu", u"Fri", u"Sat"};
    const Fields f = split(value);
    const QString seconds = minutesText(f) + u':' + two(f.second);
    switch (style) {
    case 1:
        return dateText(f) + u' ' + seconds;
    case 2:
        return dateText(f) + u' ' + minutesText(f);
    case 3:
        return dateText(f);
    case 4:
        return dateText(f) + u' ' + seconds + u'.' + three(f.millisecond);
    default:
        break;
    }
    QString out;
    out.reserve(pattern.size() * 2);
    for (const QChar c : pattern) {
        switch (c.unicode()) {
        case u'Y':
            out += QString::number(f.date.year());
            break;
        case u'y':
            out += QString::number(f.date.year() - 2000);
            break;
        case u'M':
            out += two(f.date.month());
            break;
        case u'o':
            out += QString::fromUtf16(kMonths[static_cast<std::size_t>(f.date.month() - 1)]);
            break;
        case u'D':
            out += two(f.date.day());
            break;
        case u'd':
            // QDate counts Monday as 1 and Sunday as 7; the names start with Sunday.
            out += QString::fromUtf16(kWeekdays[static_cast<std::size_t>(f.date.dayOfWeek() % 7)]);
            break;
        case u'h':
            out += two(f.hour);
            break;
        case u'm':
            out += two(f.minute);
            break;
        case u's':
            out += two(f.second);
            break;
        case u'l':
            out += three(f.millisecond);
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

} // namespace talvik::support
