#include "hint_timing.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace talvik::app {

void HintTiming::install() {
    if (qobject_cast<HintTiming*>(QApplication::style()) != nullptr) {
        return;
    }
    auto* style = new HintTiming;
    QApplication::setStyle(style);
    qApp->installEventFilter(style);
}

int HintTiming::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returnData) const {
    switch (hint) {
    case SH_ToolTip_WakeUpDelay:
        return kShowAfterMs;
    case SH_ToolTip_FallAsleepDelay:
        return kPauseMs;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

bool HintTiming::eventFilter(QObject* watched, QEvent* event) {
    // Qt keeps a hint up for a time that grows with its length; long hints (the 1-Wire
    // explanation) need the full minute.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::ToolTip || widget == nullptr || widget->toolTip().isEmpty()) {
        return QProxyStyle::eventFilter(watched, event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), widget->toolTip(), widget, {}, kStayMs);
    return true;
}

} // namespace talvik::app
