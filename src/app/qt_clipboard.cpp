#include "qt_clipboard.h"

#include "cp1251.h"

#include <QClipboard>
#include <QGuiApplication>

void QtClipboard::setText(const QByteArray& cp1251) {
    QGuiApplication::clipboard()->setText(Cp1251::toUnicode(cp1251));
}
