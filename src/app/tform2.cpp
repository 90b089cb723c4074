#include "tform2.h"

#include "named.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace talvik::app {

TForm2::TForm2(QWidget* owner)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      Label1(named<QLabel>(this, QStringLiteral("Label1"),
                           QStringLiteral("Устройство подключено. Инициализация..."))),
      ProgressBar1(named<QProgressBar>(this, QStringLiteral("ProgressBar1"))),
      Timer1(new QTimer(this)), m_owner(owner) {
    // Not a child of the main window: the main window is disabled while this one is up, and
    // Qt would disable its child windows with it.
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Ожидание"));
    setAttribute(Qt::WA_QuitOnClose, false);
    ProgressBar1->setRange(0, kProgressMaximum);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(12);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    setFixedSize(380, sizeHint().height());

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kStepMs);
    connect(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
    Timer1->start();
}

void TForm2::Timer1Timer() {
    const int next = ProgressBar1->value() + 1;
    ProgressBar1->setValue(next >= ProgressBar1->maximum() ? 0 : next);
}

void TForm2::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        m_closing = true;
        m_owner->close();
    }
    event->accept();
}

} // namespace talvik::app
