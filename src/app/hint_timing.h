#pragma once

#include <QProxyStyle>

namespace talvik::app {

// The application's hint timing: a hint appears after a second's rest, stays up to a minute,
// and the next hint follows after a one-second pause.
class HintTiming : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int kShowAfterMs = 1000;
    static constexpr int kStayMs = 60000;
    static constexpr int kPauseMs = 1000;

    // Installs the timing for the whole application (once; later calls keep the first).
    static void install();

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace talvik::app
