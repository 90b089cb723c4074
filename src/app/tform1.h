#pragma once

#include "simple_log.h"

#include <QMainWindow>

// The programmer's main window: owns the device link, the pages and every feature.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    static constexpr const char16_t* kVersion = u"2.6.4";

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SimpleLog m_log;
};
