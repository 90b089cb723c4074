#include "upload_panel.h"

#include "c_port.h"
#include "controller_session.h"
#include "dialogs.h"
#include "main_page.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace talvik::app {

namespace {
// The bar counts percent until the upload tells its size.
constexpr int kStartMaximum = 100;

QString firstFile(const QString& pattern) {
    return QDir::current()
        .entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase)
        .value(0);
}
} // namespace

UploadPanel::UploadPanel(MainPage& page, support::Dialogs& dialogs, ControllerSession& session,
                         QObject* parent)
    : QObject(parent), m_page(page), m_dialogs(dialogs), m_session(session) {
    connect(page.Button8, &QPushButton::clicked, this, &UploadPanel::Button8Click);
    connect(page.Button9, &QPushButton::clicked, this, &UploadPanel::Button9Click);
    connect(page.Button14, &QPushButton::clicked, this, &UploadPanel::Button14Click);
    for (QPushButton* start : {page.Button5, page.Button6, page.Button13}) {
        connect(start, &QPushButton::clicked, this, &UploadPanel::Button5Click);
    }
    connect(page.Button7, &QPushButton::clicked, this, &UploadPanel::Button7Click);
    connect(&session, &ControllerSession::statusShown, this, &UploadPanel::ShowStatus);
    connect(&session, &ControllerSession::progressMaximumSet, this, &UploadPanel::SetProgressMax);
    connect(&session, &ControllerSession::progressed, this, &UploadPanel::SetProgress);
    connect(&session, &ControllerSession::programmingEnded, this, &UploadPanel::OnProgrammingEnd);
    // The working folder's first firmware and profile are offered at start.
    page.Edit23->setText(firstFile(u"*.enc"_s));
    page.Edit24->setText(firstFile(u"*.evc"_s));
}

void UploadPanel::choose(QString& lastFile, QLineEdit* field, const QString& filter,
                         const QString& defaultSuffix) {
    const QString path = m_dialogs.openFile(u"Прошивка"_s, lastFile, filter, defaultSuffix);
    if (!path.isEmpty()) {
        lastFile = path;
        field->setText(path);
    }
}

void UploadPanel::Button8Click() {
    choose(OpenDialog1FileName, m_page.Edit23, u".enc (*.enc)"_s, u".enc"_s);
}

void UploadPanel::Button9Click() {
    choose(OpenDialog2FileName, m_page.Edit24, u".evc (*.evc)"_s, u".evc"_s);
}

void UploadPanel::Button14Click() {
    choose(OpenDialog4FileName, m_page.Edit6, u".psnd (*.psnd)"_s, u".evc"_s);
}

void UploadPanel::Button5Click() {
    const struct {
        QPushButton* button;
        link::UploadKind kind;
        QLineEdit* field;
        QString status;
    } starts[] = {
        {m_page.Button5, link::UploadKind::Firmware, m_page.Edit23, u"Заливка прошивки"_s},
        {m_page.Button6, link::UploadKind::Profile, m_page.Edit24, u"Заливка профиля"_s},
        {m_page.Button13, link::UploadKind::Sounds, m_page.Edit6, u"Заливка звуков"_s}};
    const auto* start = std::find_if(std::begin(starts), std::end(starts),
                                     [this](const auto& s) { return s.button == sender(); });
    CPort* link = m_session.port();
    if (start == std::end(starts) || link == nullptr) {
        return;
    }
    const QString path = start->field->text();
    if (path.isEmpty() || !QFile::exists(path)) {
        return;
    }
    m_page.Button7->setEnabled(true);
    m_page.ProgressBar3->setMaximum(kStartMaximum);
    m_page.Label26->setText(start->status);
    Q_EMIT statusShown(start->status);
    link->StartUpload(start->kind, path);
}

void UploadPanel::Button7Click() {
    if (CPort* link = m_session.port()) {
        link->CancelUpload(u"Отменено пользователем."_s);
    }
}

void UploadPanel::ShowStatus(const QString& text) {
    m_page.Label26->setText(text);
    Q_EMIT statusShown(text);
}

void UploadPanel::SetProgressMax(int maximum) {
    m_page.ProgressBar3->setMaximum(maximum);
    m_page.ProgressBar3->setValue(0);
    Q_EMIT progressMaximumSet(maximum);
}

void UploadPanel::SetProgress(int position) {
    // The last chunk may carry the count past the size; the bar then shows it full.
    m_page.ProgressBar3->setValue(std::min(position, m_page.ProgressBar3->maximum()));
    Q_EMIT progressed(position);
}

void UploadPanel::OnProgrammingEnd(const QString& text) {
    m_page.Label26->setText(text);
    m_page.ProgressBar3->setValue(0);
    m_page.Button7->setEnabled(false);
    m_page.Button1->setEnabled(true);
    Q_EMIT ended(text);
}

} // namespace talvik::app
