#include "tform1.h"

#include <QCloseEvent>

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Программатор Талвик ") + QString::fromUtf16(kVersion));
    m_log.write(QByteArrayLiteral("Program OPENED"));
    m_log.write(QStringView(kVersion));
}

TForm1::~TForm1() { m_log.write(QByteArrayLiteral("Program CLOSED")); }

void TForm1::closeEvent(QCloseEvent* event) {
    m_log.write(QByteArrayLiteral("CloseQuery received"));
    event->accept();
}
