#include "status_display.h"

#include "controller_session.h"
#include "header_panel.h"
#include "main_page.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace talvik::app {

namespace StatusValues = link::StatusValues;

StatusDisplay::StatusDisplay(ControllerSession& session, MainPage& page, HeaderPanel& header)
    : m_page(page), m_header(header) {
    connect(&session, &ControllerSession::connected, this, &StatusDisplay::ShowConnected);
    connect(&session, &ControllerSession::versionReplyChanged, m_page.Label6, &QLabel::setText);
    connect(&session, &ControllerSession::serialNumberChanged, m_page.Edit1, &QLineEdit::setText);
    connect(&session, &ControllerSession::statusReply, this, &StatusDisplay::ShowStatus);
    connect(&session, &ControllerSession::disconnected, this, &StatusDisplay::ShowDisconnected);
}

void StatusDisplay::ShowConnected(const QString& portName) {
    m_page.Label13->setText(portName);
    m_header.Image1->hide();
    m_header.Image2->show();
}

void StatusDisplay::ShowDisconnected() {
    m_page.Label13->clear();
    m_page.Label6->clear();
    m_page.Edit1->clear();
    m_header.Label5->clear();
    m_header.Image1->show();
    m_header.Image2->hide();
    m_header.ProgressBar2->hide();
}

void StatusDisplay::ShowStatus(int number, const QString& value) {
    switch (number) {
    case StatusValues::kGuard:
        ShowGuard(StatusValues::GuardFor(value));
        break;
    case StatusValues::kGsm:
        ShowGsm(StatusValues::GsmFor(value));
        break;
    case StatusValues::kPower:
        ShowPower(StatusValues::PowerFor(value));
        break;
    default:
        break;
    }
}

void StatusDisplay::ShowGuard(const link::StatusValues::Guard& guard) {
    m_page.Label18->setText(guard.state);
}

void StatusDisplay::ShowGsm(const link::StatusValues::Gsm& gsm) {
    // A level outside the bar's range (99: not known) pins the bar to its end instead of
    // leaving the previous level standing.
    m_page.ProgressBar1->setValue(
        std::clamp(gsm.signal, m_page.ProgressBar1->minimum(), m_page.ProgressBar1->maximum()));
    m_page.Label2->setText(gsm.network);
    if (gsm.operatorName) {
        m_page.Label4->setText(*gsm.operatorName);
    }
}

void StatusDisplay::ShowPower(const link::StatusValues::Power& power) {
    m_page.Label15->setText(power.voltage);
    m_page.Label16->setText(power.source);
}

} // namespace talvik::app
