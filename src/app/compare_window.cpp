#include "compare_window.h"

#include "named.h"

#include "settings_comparison.h"
#include "settings_editor.h"

#include "dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace talvik::app {

namespace {
enum Column { Page, Setting, Shown, Other };

void fill(QTreeWidget* tree, const QList<settings::SettingsComparison::Row>& rows) {
    tree->clear();
    QList<QTreeWidgetItem*> items;
    for (const settings::SettingsComparison::Row& row : rows) {
        auto* item = new QTreeWidgetItem({row.page, row.label, row.shown, row.other});
        item->setData(Page, Qt::UserRole, row.number);
        items.append(item);
    }
    tree->addTopLevelItems(items);
}
} // namespace

CompareWindow::CompareWindow(editor::SettingsEditor& editor, support::Dialogs& dialogs,
                             std::function<void(int)> showSetting, QWidget* parent)
    : QDialog(parent),
      PendingButton(named<QPushButton>(this, u"PendingButton"_s, u"Незаписанные изменения"_s)),
      FileButton(named<QPushButton>(this, u"FileButton"_s, u"Сравнить с файлом..."_s)),
      SourceLabel(named<QLabel>(this, u"SourceLabel"_s)),
      Rows(named<QTreeWidget>(this, u"Rows"_s)), m_editor(editor), m_dialogs(dialogs),
      m_showSetting(std::move(showSetting)) {
    setObjectName(u"CompareWindow"_s);
    setWindowTitle(u"Сравнение настроек"_s);
    Rows->setRootIsDecorated(false);
    Rows->setAlternatingRowColors(true);
    Rows->setHeaderLabels({u"Страница"_s, u"Настройка"_s, u"Сейчас"_s, u"Другое"_s});
    Rows->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PendingButton);
    buttons->addWidget(FileButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(SourceLabel);
    layout->addWidget(Rows);
    resize(760, 480);
    connect(PendingButton, &QPushButton::clicked, this, &CompareWindow::showPending);
    connect(FileButton, &QPushButton::clicked, this, &CompareWindow::FileButtonClick);
    connect(Rows, &QTreeWidget::itemDoubleClicked, this, &CompareWindow::rowActivated);
}

void CompareWindow::showPending() {
    const settings::SettingsComparison comparison(m_editor.store(), m_editor.index());
    const QList<settings::SettingsComparison::Row> rows = comparison.pending();
    fill(Rows, rows);
    Rows->headerItem()->setText(Other, u"В устройстве"_s);
    SourceLabel->setText(rows.isEmpty() ? u"Незаписанных изменений нет"_s
                                        : u"Незаписанные изменения: %1"_s.arg(rows.size()));
}

void CompareWindow::FileButtonClick() {
    const QString path = m_dialogs.openFile(u"Сравнить с файлом"_s, m_lastFile, u"*.set"_s);
    if (!path.isEmpty()) {
        m_lastFile = path;
        compareWithFile(path);
    }
}

void CompareWindow::compareWithFile(const QString& path) {
    QFile file(path);
    const settings::SettingsComparison comparison(m_editor.store(), m_editor.index());
    const std::optional<QList<settings::SettingsComparison::Row>> rows =
        file.open(QIODevice::ReadOnly) ? comparison.withFile(file.readAll()) : std::nullopt;
    if (!rows) {
        m_dialogs.error(u"Ошибка"_s, u"Файл имеет некорректный формат"_s);
        return;
    }
    fill(Rows, *rows);
    const QString name = QFileInfo(path).fileName();
    Rows->headerItem()->setText(Other, name);
    SourceLabel->setText(rows->isEmpty() ? u"Совпадает с файлом %1"_s.arg(name)
                                         : u"Отличается от файла %1: %2"_s.arg(name).arg(
                                               rows->size()));
}

void CompareWindow::rowActivated() {
    if (const QTreeWidgetItem* item = Rows->currentItem()) {
        m_showSetting(item->data(Page, Qt::UserRole).toInt());
    }
}

} // namespace talvik::app
