#pragma once

#include <QString>
#include <QStringList>

namespace talvik::link {

// Cuts a reply that begins with '#' into the pieces its handlers take one at a time. A piece
// runs from a '#' up to the next "#S" (a status piece always starts anew) or to the end, so a
// '#' inside a value, as in "#P7:a#b", stays in its piece. Text without a leading '#' gives
// no pieces.
[[nodiscard]] QStringList SplitReply(const QString& text);

} // namespace talvik::link
