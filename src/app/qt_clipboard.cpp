#include "qt_clipboard.h"

#include "cp1251.h"

#include <QClipboard>
#include <QGuiApplication>

namespace talvik::app {

void QtClipboard::setText(const QByteArray& cp1251) {
    QGuiApplication::clipboard()->setText(support::Cp1251::toUnicode(cp1251));
}

} // namespace talvik::app
