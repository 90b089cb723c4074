#include "page_builder.h"

#include "caption_group_box.h"
#include "field_handlers.h"
#include "page_images.h"
#include "parameter_store.h"
#include "right_anchors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>

namespace talvik::editor {

namespace {

constexpr int kPanelTop = 12;
constexpr int kFrameInset = 12;
constexpr int kFrameContentTop = 30;
constexpr int kFrameGap = 28;
constexpr int kBitsTop = 20;
constexpr int kLabelGap = 8;
constexpr int kTableRow = 21;
constexpr int kTableFooter = 39;
constexpr int kAlignStartWidth = 10000;

} // namespace

PageBuilder::PageBuilder(QTabWidget* pages, ParameterStore& store, FieldHandlers* handlers,
                         PageImages& images, QString interfaceFolder, int minimumPageWidth)
    : m_pages(pages), m_store(store), m_handlers(handlers), m_imageFiles(images),
      m_folder(std::move(interfaceFolder)), m_minimumPageWidth(minimumPageWidth),
      m_metrics(pages->font()) {}

void PageBuilder::build(const QList<iface::PlanItem>& items) {
    m_aligned.clear();
    build(m_pages, items, 0);
    align();
}

QString PageBuilder::wrapHint(QStringView hint) {
    QString wrapped;
    wrapped.reserve(hint.size() + hint.size() / kHintLine + 1);
    qsizetype lineStart = 0;
    for (const QChar c : hint) {
        const qsizetype column = wrapped.size() - lineStart;
        wrapped += c;
        if (c == u'\n') {
            lineStart = wrapped.size();
        } else if (c == u' ' && column > kHintLine) {
            wrapped += u'\n';
            lineStart = wrapped.size();
        }
    }
    return wrapped;
}

int PageBuilder::build(QWidget* container, const QList<iface::PlanItem>& items, int y) {
    for (const iface::PlanItem& item : items) {
        y = buildItem(container, item, y);
    }
    // The page control itself keeps the window's geometry; every other container is as tall as
    // what was built into it.
    if (y != 0 && container != m_pages) {
        container->resize(container->width(), y);
    }
    return y;
}

int PageBuilder::buildItem(QWidget* container, const iface::PlanItem& item, int y) {
    switch (item.type) {
    case iface::PlanItem::Type::Tab:
        buildTab(item);
        return y;
    case iface::PlanItem::Type::GroupBox:
        return buildGroupBox(container, item, y);
    case iface::PlanItem::Type::Label:
        makeLabel(container, y, item.caption);
        return y + kRowStep;
    case iface::PlanItem::Type::RichEdit:
        return buildRichEdit(container, item, y);
    case iface::PlanItem::Type::Edit:
        return buildEdit(container, item, y);
    case iface::PlanItem::Type::Combo:
        return buildCombo(container, item, y);
    case iface::PlanItem::Type::Check:
        return buildCheck(container, item, y);
    case iface::PlanItem::Type::Bits:
        return buildBits(container, item, y);
    case iface::PlanItem::Type::Table:
        return buildTable(container, item, y);
    }
    return y;
}

void PageBuilder::buildTab(const iface::PlanItem& item) {
    auto* page = new QWidget;
    // A page control not laid out yet (hidden) has no page size; lay out for the width the
    // window will give it, and let the anchors follow from there.
    const QWidget* shown = m_pages->currentWidget();
    const int width =
        std::max(m_minimumPageWidth,
                 m_pages->isVisible() && shown != nullptr ? shown->width() : m_pages->width() - 4);
    page->resize(width, shown != nullptr ? shown->height() : m_pages->height());

    const QPixmap image = m_imageFiles.image(m_folder + item.caption + QStringLiteral(".bmp"));
    if (image.isNull()) {
        m_pages->addTab(page, item.caption);
    } else {
        m_images.append(image);
        m_pages->addTab(page, QIcon(image), item.caption);
    }

    auto* panel = new QWidget(page);
    panel->setGeometry(0, 0, page->width(), 0);
    RightAnchors::anchor(panel);
    build(panel, item.content, kPanelTop);
}

QWidget* PageBuilder::makeFrame(QWidget* container, int y, const QString& caption,
                                const QString& hint) {
    auto* frame = new CaptionGroupBox(caption, container);
    frame->setGeometry(kFrameInset, y + kFrameInset, container->width() - 2 * kFrameInset,
                       kFrameContentTop);
    RightAnchors::anchor(frame);
    // Only the hints of placed controls get line breaks; a group shows its hint as written.
    frame->setToolTip(hint);
    return frame;
}

int PageBuilder::buildGroupBox(QWidget* container, const iface::PlanItem& item, int y) {
    QWidget* frame = makeFrame(container, y, item.caption, item.hint);
    build(frame, item.content, kFrameContentTop);
    return y + frame->height() + kFrameGap;
}

QLabel* PageBuilder::makeLabel(QWidget* container, int y, const QString& text) {
    auto* label = new QLabel(text, container);
    label->setTextFormat(Qt::PlainText);
    // Captions repeat a lot (every user, zone and input has the same rows), and measuring a
    // text is most of what a label costs; all labels share the page font.
    auto width = m_textWidths.constFind(text);
    if (width == m_textWidths.constEnd()) {
        width = m_textWidths.insert(text, m_metrics.horizontalAdvance(text));
    }
    label->setGeometry(kLabelLeft, y + 4, std::min(*width, container->width() - 60),
                       m_metrics.height());
    return label;
}

void PageBuilder::placeControl(QWidget* control, QWidget* container, int y, int left, int width,
                               const QString& hint) {
    const bool toRightEdge = width == 0;
    if (toRightEdge) {
        width = container->width() - left - kLabelLeft;
    }
    control->setGeometry(left, y, width, kControlHeight);
    if (toRightEdge) {
        RightAnchors::anchor(control);
    }
    if (!hint.isEmpty()) {
        control->setToolTip(wrapHint(hint));
    }
}

int PageBuilder::buildEdit(QWidget* container, const iface::PlanItem& item, int y) {
    QLabel* label = makeLabel(container, y, item.caption);
    auto* edit = new QLineEdit(container);
    label->setBuddy(edit); // the label is the setting's caption: marks and search find it

    // Edits of the login would go nowhere: it is shown as the controller has it.
    edit->setReadOnly(item.setting == Parameter::kLogin);
    placeControl(edit, container, y, label->x() + label->width() + kLabelGap, 0, item.hint);
    m_store.add(item.setting, Parameter::Kind::Edit, edit, item.special, item.limitLow,
                item.limitHigh, item.offset);
    if (m_handlers != nullptr) {
        m_handlers->attachEdit(edit);
    }
    m_aligned.append(edit);
    return y + kRowStep;
}

int PageBuilder::buildCombo(QWidget* container, const iface::PlanItem& item, int y) {
    QLabel* label = makeLabel(container, y, item.caption);
    auto* combo = new QComboBox(container);
    label->setBuddy(combo);
    placeControl(combo, container, y, label->x() + label->width() + kLabelGap, item.width,
                 item.hint);
    combo->addItems(item.items);
    combo->setCurrentIndex(item.items.isEmpty() ? -1 : 0);
    m_store.add(item.setting, Parameter::Kind::Combo, combo, iface::EditSpecial::Plain, 0, 0, 0,
                item.codes.value_or(QList<int>{}));
    if (m_handlers != nullptr) {
        m_handlers->attachCombo(combo);
    }
    m_aligned.append(combo);
    return y + kRowStep;
}

int PageBuilder::buildCheck(QWidget* container, const iface::PlanItem& item, int y) {
    auto* box = new QCheckBox(item.caption, container);
    placeControl(box, container, y, kLabelLeft, 0, item.hint);
    box->setChecked(true);
    m_store.add(item.setting, Parameter::Kind::Check, box, iface::EditSpecial::Plain, 0, 0, 0,
                item.disables.value_or(QList<int>{}));
    if (m_handlers != nullptr) {
        m_handlers->attachCheckBox(box);
    }
    return y + kRowStep;
}

int PageBuilder::buildBits(QWidget* container, const iface::PlanItem& item, int y) {
    QWidget* frame = makeFrame(container, y, item.caption, item.hint);
    Parameter& record = m_store.add(item.setting, Parameter::Kind::Bits, frame);
    for (qsizetype i = 0; i < item.bits.size(); ++i) {
        auto* box = new QCheckBox(item.bits[i], frame);
        placeControl(box, frame, kBitsTop + kRowStep * static_cast<int>(i), kLabelLeft, item.width,
                     item.bitHints.value(i));
        if (m_handlers != nullptr) {
            m_handlers->attachCheckBox(box);
        }
        record.controls.append(box);
        m_store.mapControl(box, item.setting);
    }
    frame->resize(frame->width(), kBitsTop + kRowStep * static_cast<int>(item.bits.size()));
    return y + frame->height() + kFrameGap;
}

int PageBuilder::buildRichEdit(QWidget* container, const iface::PlanItem& item, int y) {
    auto* text = new QTextEdit(container);
    text->setGeometry(kFrameInset, y + kFrameInset, container->width() - 2 * kFrameInset,
                      item.height);
    // Shown as read-only help: out of reach of focus and edits, but in the normal text colour.
    QPalette palette = text->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     palette.color(QPalette::Active, QPalette::Text));
    text->setPalette(palette);
    text->setEnabled(false);
    QFile file(m_folder + item.file);
    if (file.open(QIODevice::ReadOnly)) {
        text->setPlainText(QString::fromUtf8(file.readAll()));
    }
    return y + item.height + kFrameGap;
}

int PageBuilder::buildTable(QWidget* container, const iface::PlanItem& item, int y) {
    const int rows = static_cast<int>(item.lines.size());
    const int columns = static_cast<int>(item.columns.size());
    int left = 0;
    for (int r = 0; r < rows; ++r) {
        const QLabel* label = makeLabel(container, y + kTableRow + kTableRow * r, item.lines[r]);
        left = std::max(left, label->x() + label->width() + kLabelGap);
    }
    const int columnWidth = columns > 0 ? (container->width() - left) / columns : 0;
    for (int c = 0; c < columns; ++c) {
        QLabel* header = makeLabel(container, y + 4, item.columns[c]);
        header->setGeometry(left + c * columnWidth, header->y(), columnWidth - 3, header->height());
        for (int r = 0; r < rows; ++r) {
            auto* edit = new QLineEdit(container);
            // Each cell reaches the right edge; the cells of later columns lie over it.
            placeControl(edit, container, y + kTableRow + kTableRow * r, left + c * columnWidth, 0,
                         QString());
            m_store.add(item.cells.value(c).value(r), Parameter::Kind::Edit, edit);
            if (m_handlers != nullptr) {
                m_handlers->attachEdit(edit);
            }
        }
    }
    return y + kTableRow * rows + kTableFooter;
}

void PageBuilder::align() {
    int left = 0;
    int width = kAlignStartWidth;
    for (const QWidget* control : std::as_const(m_aligned)) {
        left = std::max(left, control->x());
        width = std::min(width, control->width());
    }
    for (QWidget* control : std::as_const(m_aligned)) {
        control->setGeometry(left, control->y(), width, control->height());
    }
}

} // namespace talvik::editor
