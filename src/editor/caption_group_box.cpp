#include "caption_group_box.h"

#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace talvik::editor {

CaptionGroupBox::CaptionGroupBox(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent) {}

QFont CaptionGroupBox::captionFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

void CaptionGroupBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QFont bold = captionFont();
    painter.setFont(bold);
    option.fontMetrics = QFontMetrics(bold);
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

} // namespace talvik::editor
