#include "terminal_panel.h"

#include "controller_session.h"
#include "main_page.h"
#include "named.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace talvik::app {

namespace {
// The output is drawn at most this often, about as often as an eye follows a scrolling text.
constexpr int kRedrawMs = 40;
constexpr int kOutputMinimumHeight = 110;
} // namespace

TerminalPanel::TerminalPanel(MainPage& page, ControllerSession& session,
                             std::function<link::CommandLink*()> link, QObject* parent)
    : QObject(parent), m_terminal(std::move(link)) {
    build(page);
    m_sentFormat.setForeground(QColor(0x1a, 0x4f, 0xa0));
    m_receivedFormat.setForeground(QColor(0x20, 0x20, 0x20));
    m_redraw.setSingleShot(true);
    m_redraw.setInterval(kRedrawMs);
    connect(&m_redraw, &QTimer::timeout, this, &TerminalPanel::showHeldLines);
    // The document keeps the limit as well, so a slip of the count can never let it grow.
    RichEdit1->document()->setMaximumBlockCount(Terminal::kMaxLines);
    RichEdit1->setUndoRedoEnabled(false);
    // The command line completes only from the history, and only on Tab.
    ComboBox1->setCompleter(nullptr);
    ComboBox1->installEventFilter(this);
    ComboBox1->lineEdit()->installEventFilter(this);

    connect(Button1, &QPushButton::clicked, this, &TerminalPanel::Button1Click);
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this,
            [this] { m_terminal.history().restart(); });
    connect(&m_terminal, &Terminal::printed, this, &TerminalPanel::print);
    connect(&session, &ControllerSession::textReceived, &m_terminal, &Terminal::OnText);
}

void TerminalPanel::build(MainPage& page) {
    auto* box = named<QGroupBox>(&page, QStringLiteral("GroupBox5"), QStringLiteral("Терминал"));
    RichEdit1 = named<QPlainTextEdit>(box, QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setMinimumHeight(kOutputMinimumHeight);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    RichEdit1->setFont(mono);
    ComboBox1 = named<QComboBox>(box, QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    // The layout stretches the line; sizing it to the history would measure every command, and
    // a history file with a line of megabytes would stall the window's start.
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Button1 = named<QPushButton>(box, QStringLiteral("Button1"), QStringLiteral("Отправить"));
    auto* command = new QHBoxLayout;
    command->addWidget(ComboBox1, 1);
    command->addWidget(Button1);
    auto* rows = new QVBoxLayout(box);
    rows->addWidget(RichEdit1, 1);
    rows->addLayout(command);
    page.place(MainPage::Slot::Terminal, box);
}

void TerminalPanel::setHistory(const QStringList& entries) {
    m_terminal.history().setEntries(entries);
    showHistory();
}

void TerminalPanel::Button1Click() {
    if (!Button1->isEnabled()) {
        return;
    }
    const QString command = ComboBox1->currentText();
    if (m_terminal.Send(command)) {
        showHistory();
        showCommand(command);
    }
}

void TerminalPanel::Send(const QString& command) {
    showCommand(command);
    Button1Click();
}

void TerminalPanel::setBatchRunning(bool running) {
    Button1->setEnabled(!running);
}

void TerminalPanel::showHistory() {
    const QString typed = ComboBox1->currentText();
    ComboBox1->clear();
    ComboBox1->addItems(m_terminal.history().entries());
    showCommand(typed);
}

void TerminalPanel::showCommand(const QString& text) {
    ComboBox1->setEditText(text);
}

void TerminalPanel::print(const QString& line, Terminal::Direction direction, bool dropFirst) {
    // Every output line is one line of the document, whatever breaks the text carries.
    QString text = line;
    text.remove(u'\r');
    text.replace(u'\n', QChar::LineSeparator);
    m_pending.append({text, direction});
    m_pendingDrops += dropFirst ? 1 : 0;
    if (!m_redraw.isActive()) {
        flush();
    }
}

void TerminalPanel::flush() {
    QTextDocument* document = RichEdit1->document();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    if (m_pending.size() >= Terminal::kMaxLines) {
        document->clear();
        m_pending.remove(0, m_pending.size() - Terminal::kMaxLines);
    } else if (m_pendingDrops > 0) {
        cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, m_pendingDrops);
        cursor.removeSelectedText();
    }
    cursor.movePosition(QTextCursor::End);
    for (const Pending& pending : m_pending) {
        if (!document->isEmpty()) {
            cursor.insertBlock();
        }
        cursor.insertText(pending.line, pending.direction == Terminal::Direction::Sent
                                            ? m_sentFormat
                                            : m_receivedFormat);
    }
    cursor.endEditBlock();
    m_pending.clear();
    m_pendingDrops = 0;
    RichEdit1->verticalScrollBar()->setValue(RichEdit1->verticalScrollBar()->maximum());
    m_redraw.start();
}

void TerminalPanel::showHeldLines() {
    if (!m_pending.isEmpty()) {
        flush();
    }
}

bool TerminalPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    const Qt::KeyboardModifiers modifiers = static_cast<QKeyEvent*>(event)->modifiers();
    if (modifiers != Qt::NoModifier && modifiers != Qt::KeypadModifier) {
        return false;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Button1Click(); // also where the drop-down would take the key on to the window
        return true;
    }
    TerminalHistory& history = m_terminal.history();
    std::optional<QString> shown;
    if (key == Qt::Key_Up) {
        shown = history.older(ComboBox1->currentText());
    } else if (key == Qt::Key_Down) {
        shown = history.newer();
    } else if (key == Qt::Key_Tab) {
        shown = history.complete(ComboBox1->currentText());
        if (!shown) {
            return false; // nothing to complete: Tab moves the focus on
        }
    } else {
        return false;
    }
    if (shown) {
        showCommand(*shown);
    }
    // Up and Down never switch the drop-down's entry, even at the ends of the history.
    return true;
}

} // namespace talvik::app
