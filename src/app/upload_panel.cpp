#include "upload_panel.h"

#include "c_port.h"
#include "controller_session.h"
#include "dialogs.h"
#include "main_page.h"
#include "named.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace talvik::app {

namespace {
// The bar counts percent until the upload tells its size.
constexpr int kStartMaximum = 100;
constexpr int kFileMinimumWidth = 200;
constexpr int kChooserWidth = 32;

// One row of the group, in the order of link::UploadKind.
struct Row {
    QString caption;
    QString file;    // the file field's name
    QString chooser; // the "..." button's name
    QString start;   // the start button's name and text
    QString startText;
    QString status; // what the status line says once it starts
    QString filter;
    QString defaultSuffix;
    QString UploadPanel::*lastFile;
};

const std::array<Row, 3>& rows() {
    static const std::array<Row, 3> table{{
        {u"Прошивка:"_s, u"Edit23"_s, u"Button8"_s, u"Button5"_s, u"Записать прошивку"_s,
         u"Заливка прошивки"_s, u".enc (*.enc)"_s, u".enc"_s, &UploadPanel::OpenDialog1FileName},
        {u"Профиль:"_s, u"Edit24"_s, u"Button9"_s, u"Button6"_s, u"Записать профиль"_s,
         u"Заливка профиля"_s, u".evc (*.evc)"_s, u".evc"_s, &UploadPanel::OpenDialog2FileName},
        {u"Звуки:"_s, u"Edit6"_s, u"Button14"_s, u"Button13"_s, u"Записать звуки"_s,
         u"Заливка звуков"_s, u".psnd (*.psnd)"_s, u".evc"_s, &UploadPanel::OpenDialog4FileName},
    }};
    return table;
}

std::size_t indexOf(link::UploadKind kind) {
    return static_cast<std::size_t>(kind);
}

QString firstFile(const QString& pattern) {
    return QDir::current()
        .entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase)
        .value(0);
}
} // namespace

UploadPanel::UploadPanel(MainPage& page, support::Dialogs& dialogs, ControllerSession& session,
                         QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_session(session) {
    build(page);
    connect(Button7, &QPushButton::clicked, this, &UploadPanel::Button7Click);
    connect(&session, &ControllerSession::statusShown, this, &UploadPanel::ShowStatus);
    connect(&session, &ControllerSession::progressMaximumSet, this, &UploadPanel::SetProgressMax);
    connect(&session, &ControllerSession::progressed, this, &UploadPanel::SetProgress);
    connect(&session, &ControllerSession::programmingEnded, this, &UploadPanel::OnProgrammingEnd);
    // The working folder's first firmware and profile are offered at start.
    m_files[indexOf(link::UploadKind::Firmware)]->setText(firstFile(u"*.enc"_s));
    m_files[indexOf(link::UploadKind::Profile)]->setText(firstFile(u"*.evc"_s));
}

void UploadPanel::build(MainPage& page) {
    auto* box = named<QGroupBox>(&page, u"GroupBox10"_s, u"Обновление ПО"_s);
    auto* grid = new QGridLayout(box);
    for (const link::UploadKind kind :
         {link::UploadKind::Firmware, link::UploadKind::Profile, link::UploadKind::Sounds}) {
        const Row& row = rows()[indexOf(kind)];
        QLineEdit*& file = m_files[indexOf(kind)];
        file = named<QLineEdit>(box, row.file);
        file->setReadOnly(true);
        file->setMinimumWidth(kFileMinimumWidth);
        auto* chooser = named<QPushButton>(box, row.chooser, u"..."_s);
        chooser->setFixedWidth(kChooserWidth);
        auto* start = named<QPushButton>(box, row.start, row.startText);
        connect(chooser, &QPushButton::clicked, this, [this, kind] { chooseFile(kind); });
        connect(start, &QPushButton::clicked, this, [this, kind] { this->start(kind); });
        const int line = static_cast<int>(indexOf(kind));
        grid->addWidget(new QLabel(row.caption, box), line, 0);
        grid->addWidget(file, line, 1);
        grid->addWidget(chooser, line, 2);
        grid->addWidget(start, line, 3);
    }
    ProgressBar3 = named<QProgressBar>(box, u"ProgressBar3"_s);
    ProgressBar3->setValue(0);
    ProgressBar3->setTextVisible(false);
    Button7 = named<QPushButton>(box, u"Button7"_s, u"Отмена"_s);
    Button7->setEnabled(false);
    Label26 = named<QLabel>(box, u"Label26"_s);
    const int below = static_cast<int>(rows().size());
    grid->addWidget(ProgressBar3, below, 0, 1, 3);
    grid->addWidget(Button7, below, 3);
    grid->addWidget(Label26, below + 1, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    page.place(MainPage::Slot::Upload, box);
}

void UploadPanel::chooseFile(link::UploadKind kind) {
    const Row& row = rows()[indexOf(kind)];
    QString& lastFile = this->*row.lastFile;
    const QString path = m_dialogs.openFile(u"Прошивка"_s, lastFile, row.filter, row.defaultSuffix);
    if (!path.isEmpty()) {
        lastFile = path;
        m_files[indexOf(kind)]->setText(path);
    }
}

void UploadPanel::start(link::UploadKind kind) {
    CPort* link = m_session.port();
    if (link == nullptr) {
        return;
    }
    const QString path = m_files[indexOf(kind)]->text();
    if (path.isEmpty() || !QFile::exists(path)) {
        return;
    }
    const QString& status = rows()[indexOf(kind)].status;
    Button7->setEnabled(true);
    ProgressBar3->setMaximum(kStartMaximum);
    Label26->setText(status);
    Q_EMIT statusShown(status);
    Q_EMIT started();
    link->StartUpload(kind, path);
}

void UploadPanel::Button7Click() {
    if (CPort* link = m_session.port()) {
        link->CancelUpload(u"Отменено пользователем."_s);
    }
}

void UploadPanel::ShowStatus(const QString& text) {
    Label26->setText(text);
    Q_EMIT statusShown(text);
}

void UploadPanel::SetProgressMax(int maximum) {
    ProgressBar3->setMaximum(maximum);
    ProgressBar3->setValue(0);
    Q_EMIT progressMaximumSet(maximum);
}

void UploadPanel::SetProgress(int position) {
    // The last chunk may carry the count past the size; the bar then shows it full.
    ProgressBar3->setValue(std::min(position, ProgressBar3->maximum()));
    Q_EMIT progressed(position);
}

void UploadPanel::OnProgrammingEnd(const QString& text) {
    Label26->setText(text);
    ProgressBar3->setValue(0);
    Button7->setEnabled(false);
    Q_EMIT ended(text);
}

} // namespace talvik::app
