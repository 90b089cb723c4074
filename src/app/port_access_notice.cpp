#include "port_access_notice.h"

#include "controller_session.h"
#include "log_base.h"
#include "named.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace talvik::app {

PortAccessNotice::PortAccessNotice(QGroupBox& connectionBox, ControllerSession& session,
                                   support::LogBase& log, QObject* parent)
    : QObject(parent), m_log(log), m_label(named<QLabel>(&connectionBox, u"PortAccessNotice"_s)) {
    m_label->setWordWrap(true);
    m_label->hide();
    if (auto* rows = qobject_cast<QFormLayout*>(connectionBox.layout())) {
        rows->addRow(m_label);
    }
    connect(&session, &ControllerSession::connected, m_label, &QLabel::hide);
}

void PortAccessNotice::PortAccessDenied(const QString& portName) {
    if (m_named.contains(portName)) {
        return;
    }
    m_named.append(portName);
    m_log.write(u"No permission to open "_s + portName +
                u"; serial ports need membership of the dialout group"_s);
    m_label->setText(u"Нет прав на открытие порта: "_s + m_named.join(u", "_s) +
                     u". Добавьте пользователя в группу dialout "
                     u"(sudo usermod -aG dialout $USER) и войдите в систему заново."_s);
    m_label->show();
}

} // namespace talvik::app
