#pragma once

#include <QString>
#include <optional>

namespace talvik::link {

// The status numbers the program polls, as the main page shows them. The controller reports
// each as "#S" number ":" value; voltages and times come in tenths.
namespace StatusValues {

// The status numbers the program follows.
constexpr int kGuard = 0;
constexpr int kGsm = 4;
constexpr int kPower = 6;
constexpr int kThermometers = 23;
constexpr int kSerialNumber = 54;
constexpr int kRadioRemoval = 64;

struct Piece {
    int number = 0;
    QString value;
};

// Number and value of a "#S" piece; nothing when the piece lacks the ':' behind its number.
[[nodiscard]] std::optional<Piece> ParsePiece(const QString& piece);

// Tenths as a decimal number in its shortest form: 125 is "12.5", 120 is "12".
[[nodiscard]] QString TenthsText(int tenths);

// S0: guard off, on, or arming with the time left.
struct Guard {
    QString state;
    QString buttonCaption;
    bool buttonEnabled = false;
};
[[nodiscard]] Guard GuardFor(const QString& value);

// S4: signal level, network state and, when the value carries one, the operator name.
struct Gsm {
    int signal = 0;
    QString network;
    std::optional<QString> operatorName;
};
[[nodiscard]] Gsm GsmFor(const QString& value);

// S6: supply voltage and where the power comes from.
struct Power {
    QString voltage;
    QString source;
};
[[nodiscard]] Power PowerFor(const QString& value);

} // namespace StatusValues

} // namespace talvik::link
