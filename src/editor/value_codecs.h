#pragma once

#include <QString>
#include <QStringView>

namespace talvik::editor {

// The text conversions between what an edit box shows and what the controller stores, for the
// numeric fields: whole numbers with an offset, and decimals kept as ten times their value.
namespace ValueCodecs {

// Edit text -> device value of an integer field: the number plus offset; empty stays empty.
[[nodiscard]] QString integerToDevice(QStringView text, int offset);
// Device value -> edit text of an integer field: the number minus offset.
[[nodiscard]] QString integerFromDevice(QStringView value, int offset);

// Edit text -> device value of a decimal field: (number + offset) x 10, rounded half away from
// zero; empty stays empty. The field uses "," as its separator once checked; "." is read too,
// for text typed but not yet checked.
[[nodiscard]] QString double10ToDevice(QStringView text, int offset);
// Device value -> edit text of a decimal field: value / 10 - offset in fixed-point form without
// trailing zeros, written with `separator`; magnitudes below 0.00001 get 3 significant digits.
[[nodiscard]] QString double10FromDevice(QStringView value, int offset, QStringView separator);
// The decimal separator the pages show: the comma that the decimal field check leaves.
[[nodiscard]] QString decimalSeparator();

} // namespace ValueCodecs

} // namespace talvik::editor
