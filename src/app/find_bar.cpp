#include "find_bar.h"

#include "named.h"

#include "parameter_store.h"
#include "settings_editor.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace talvik::app {

namespace {
// The mark leaves a few pixels of the control's surroundings visible around it.
constexpr int kHighlightMargin = 3;
} // namespace

FindBar::FindBar(editor::SettingsEditor& editor, QTabWidget* pages,
                 std::function<void(QWidget*)> reveal, QWidget* parent)
    : QWidget(parent), FindEdit(named<QLineEdit>(this, u"FindEdit"_s)),
      FindCount(named<QLabel>(this, u"FindCount"_s)), m_editor(editor), m_pages(pages),
      m_reveal(std::move(reveal)) {
    setObjectName(u"FindBar"_s);
    FindEdit->setPlaceholderText(u"Найти настройку (Ctrl+F)"_s);
    FindEdit->setClearButtonEnabled(true);
    FindEdit->setFixedWidth(200);
    FindEdit->installEventFilter(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 6, 0);
    row->addWidget(FindCount);
    row->addWidget(FindEdit);
    m_highlightTimer.setSingleShot(true);
    m_highlightTimer.setInterval(kHighlightMs);
    connect(&m_highlightTimer, &QTimer::timeout, this, [this] {
        if (m_highlight != nullptr) {
            m_highlight->hide();
        }
    });
    connect(FindEdit, &QLineEdit::textChanged, this, &FindBar::search);
}

void FindBar::open() {
    FindEdit->setFocus(Qt::ShortcutFocusReason);
    FindEdit->selectAll();
}

void FindBar::search(const QString& text) {
    m_found.clear();
    // Only settings that have a control on a page can be shown.
    for (const int setting : m_editor.index().find(text)) {
        if (controlOf(setting) != nullptr) {
            m_found.append(setting);
        }
    }
    if (m_found.isEmpty()) {
        m_current = -1;
        FindCount->setText(text.trimmed().isEmpty() ? QString() : u"0 из 0"_s);
        if (m_highlight != nullptr) {
            m_highlight->hide();
        }
        return;
    }
    show(0);
}

void FindBar::next() {
    if (!m_found.isEmpty()) {
        show((m_current + 1) % m_found.size());
    }
}

void FindBar::previous() {
    if (!m_found.isEmpty()) {
        show((m_current + m_found.size() - 1) % m_found.size());
    }
}

void FindBar::close() {
    QWidget* found = controlOf(current());
    FindEdit->clear();
    if (found != nullptr) {
        found->setFocus(Qt::OtherFocusReason);
    }
}

int FindBar::current() const {
    return m_current >= 0 && m_current < m_found.size() ? m_found[m_current] : 0;
}

QWidget* FindBar::highlight() const {
    return m_highlight;
}

QWidget* FindBar::controlOf(int setting) const {
    const editor::Parameter* record = setting != 0 ? m_editor.store().find(setting) : nullptr;
    return record != nullptr ? record->control.data() : nullptr;
}

void FindBar::show(qsizetype index) {
    m_current = index;
    FindCount->setText(u"%1 из %2"_s.arg(index + 1).arg(m_found.size()));
    showSetting(m_found[index]);
}

void FindBar::showSetting(int setting) {
    QWidget* control = controlOf(setting);
    if (control == nullptr) {
        return;
    }
    const int page = m_editor.pageOf(control);
    if (page >= 0) {
        m_pages->setCurrentIndex(page);
    }
    m_reveal(control);
    QWidget* container = control->parentWidget();
    if (m_highlight == nullptr || m_highlight->parentWidget() != container) {
        delete m_highlight.data();
        m_highlight = named<QFrame>(container, u"FindHighlight"_s);
        m_highlight->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_highlight->setStyleSheet(
            u"QFrame { border: 2px solid #e08000; background: rgba(255, 200, 0, 70); }"_s);
    }
    m_highlight->setGeometry(control->geometry().adjusted(-kHighlightMargin, -kHighlightMargin,
                                                          kHighlightMargin, kHighlightMargin));
    m_highlight->raise();
    m_highlight->show();
    m_highlightTimer.start();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != FindEdit || event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (key->modifiers() & Qt::ShiftModifier) {
            previous();
        } else {
            next();
        }
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

} // namespace talvik::app
