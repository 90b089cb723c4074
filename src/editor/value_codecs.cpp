#include "value_codecs.h"

#include "leading_integer.h"

#include <QLocale>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace talvik::editor {

namespace {

// The exact scaled form of a decimal text: digits / 10^scale. Fails for anything but an
// optional sign, digits and at most one separator, or for more digits than fit.
struct Scaled {
    long long digits = 0;
    long long power = 1;
};

constexpr int kMaxDigits = 15;

std::optional<Scaled> readScaled(QStringView text) {
    Scaled result;
    bool negative = false;
    bool separator = false;
    bool anyDigit = false;
    int count = 0;
    qsizetype i = 0;
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) {
        negative = text[0] == u'-';
        ++i;
    }
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u',' || c == u'.') {
            if (separator) {
                return std::nullopt;
            }
            separator = true;
        } else if (c.isDigit() && c.unicode() < 128) {
            if (++count > kMaxDigits) {
                return std::nullopt;
            }
            anyDigit = true;
            result.digits = result.digits * 10 + (c.unicode() - u'0');
            if (separator) {
                result.power *= 10;
            }
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (negative) {
        result.digits = -result.digits;
    }
    return result;
}

long long roundHalfAwayFromZero(long long numerator, long long denominator) {
    const long long magnitude = (std::llabs(numerator) + denominator / 2) / denominator;
    return numerator < 0 ? -magnitude : magnitude;
}

} // namespace

namespace ValueCodecs {

QString integerToDevice(QStringView text, int offset) {
    if (text.isEmpty()) {
        return {};
    }
    return QString::number(static_cast<long long>(support::LeadingInteger(text)) + offset);
}

QString integerFromDevice(QStringView value, int offset) {
    return QString::number(static_cast<long long>(support::LeadingInteger(value)) - offset);
}

QString double10ToDevice(QStringView text, int offset) {
    if (text.isEmpty()) {
        return {};
    }
    // Exact decimal arithmetic where the text allows it, so that 0,25 with offset -1 (-7.5
    // tenths) rounds to -8 and no binary fraction tips a half the wrong way.
    if (const std::optional<Scaled> scaled = readScaled(text);
        scaled && scaled->power <= 1000000LL) {
        const long long numerator = (scaled->digits + offset * scaled->power) * 10;
        return QString::number(roundHalfAwayFromZero(numerator, scaled->power));
    }
    QString normalized = text.toString();
    normalized.replace(u',', u'.');
    bool ok = false;
    const double number = QLocale::c().toDouble(normalized, &ok);
    return QString::number(static_cast<long long>(std::round(((ok ? number : 0.0) + offset) * 10)));
}

QString double10FromDevice(QStringView value, int offset, QStringView separator) {
    // Division by ten rather than multiplication by 0.1 keeps whole values exact, so a value
    // equal to ten times the offset shows as 0 and not as a rounding residue.
    const double number = support::LeadingInteger(value) / 10.0 - offset;
    QString text;
    if (std::fabs(number) < 0.00001) {
        text = QString::number(number, 'g', 3);
    } else {
        text = QString::number(number, 'f', 5);
        while (text.endsWith(u'0')) {
            text.chop(1);
        }
        if (text.endsWith(u'.')) {
            text.chop(1);
        }
    }
    text.replace(QStringLiteral("."), separator.toString());
    return text;
}

QString decimalSeparator() {
    // The pages show decimals the way the field check leaves them, with a comma; a dot here
    // would turn every visit of a field into a change.
    return QStringLiteral(",");
}

} // namespace ValueCodecs

} // namespace talvik::editor
