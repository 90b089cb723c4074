#include "header_panel.h"

#include "named.h"
#include "pictures.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace talvik::app {

namespace {
QToolButton* imageButton(QWidget* parent, const QString& name, const QString& caption,
                         QStyle::StandardPixmap image) {
    auto* button = named<QToolButton>(parent, name);
    button->setText(caption);
    button->setIcon(QApplication::style()->standardIcon(image));
    button->setIconSize({24, 24});
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(132);
    return button;
}

QLabel* picture(QWidget* parent, const QString& name, bool connected) {
    auto* label = named<QLabel>(parent, name);
    label->setPixmap(Pictures::connection(connected));
    label->setFixedSize(Pictures::kConnectionSize, Pictures::kConnectionSize);
    return label;
}
} // namespace

HeaderPanel::HeaderPanel(QWidget* parent)
    : QWidget(parent), Image1(picture(this, QStringLiteral("Image1"), false)),
      Image2(picture(this, QStringLiteral("Image2"), true)),
      Label5(named<QLabel>(this, QStringLiteral("Label5"))),
      ProgressBar2(named<QProgressBar>(this, QStringLiteral("ProgressBar2"))),
      GroupBox4(named<QGroupBox>(this, QStringLiteral("GroupBox4"))),
      PNGButton3(imageButton(GroupBox4, QStringLiteral("PNGButton3"),
                             QStringLiteral("Считать из устройства"), QStyle::SP_ArrowDown)),
      PNGButton4(imageButton(GroupBox4, QStringLiteral("PNGButton4"),
                             QStringLiteral("Записать в устройство"), QStyle::SP_ArrowUp)),
      PNGButton5(imageButton(GroupBox4, QStringLiteral("PNGButton5"),
                             QStringLiteral("Записать в файл"), QStyle::SP_DialogSaveButton)),
      PNGButton6(imageButton(GroupBox4, QStringLiteral("PNGButton6"),
                             QStringLiteral("Считать из файла"), QStyle::SP_DialogOpenButton)),
      CompareButton(imageButton(GroupBox4, QStringLiteral("CompareButton"),
                                QStringLiteral("Сравнить"), QStyle::SP_FileDialogContentsView)) {
    setObjectName(QStringLiteral("Panel1"));
    setAutoFillBackground(true);
    Image2->hide();
    ProgressBar2->hide();
    ProgressBar2->setTextVisible(false);
    ProgressBar2->setMaximumHeight(12);
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);

    auto* buttons = new QHBoxLayout(GroupBox4);
    buttons->setContentsMargins(4, 2, 4, 2);
    for (QToolButton* button : {PNGButton3, PNGButton4, PNGButton5, PNGButton6, CompareButton}) {
        buttons->addWidget(button);
    }

    auto* batch = new QVBoxLayout;
    batch->addStretch();
    batch->addWidget(Label5);
    batch->addWidget(ProgressBar2);
    batch->addStretch();

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 6, 10, 6);
    row->setSpacing(12);
    row->addWidget(Image1);
    row->addWidget(Image2);
    row->addLayout(batch, 1);
    row->addWidget(GroupBox4);
}

} // namespace talvik::app
