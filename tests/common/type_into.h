#pragma once

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>

// The user edits a box: the program compares the text on leaving it with the one on entering.
inline void TypeInto(QLineEdit* edit, const QString& text) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(edit, &in);
    edit->setText(text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(edit, &out);
}
