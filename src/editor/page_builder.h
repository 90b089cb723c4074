#pragma once

#include "interface_plan.h"

#include <QFontMetrics>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringView>

class QLabel;
class QTabWidget;
class QWidget;

namespace talvik::editor {

class FieldHandlers;
class PageImages;
class ParameterStore;

// Turns the pages of an InterfacePlan into controls on the page control: places them by the
// program's fixed geometry, registers every control that edits a setting in the store, and
// wires the controls to the field handlers.
class PageBuilder {
public:
    static constexpr int kLabelLeft = 18;
    static constexpr int kRowStep = 29;
    static constexpr int kControlHeight = 21;
    static constexpr int kHintLine = 50;

    // interfaceFolder holds the page images (read through `images`) and the rich-edit texts
    // ("Interface/"). minimumPageWidth is the page width to lay out for while the page control
    // has no size yet.
    PageBuilder(QTabWidget* pages, ParameterStore& store, FieldHandlers* handlers,
                PageImages& images, QString interfaceFolder, int minimumPageWidth = 0);

    // Adds the plan's pages after the pages already there, then aligns the value controls.
    void build(const QList<iface::PlanItem>& items);

    // The page images added so far, in the order the pages got them.
    [[nodiscard]] const QList<QPixmap>& images() const { return m_images; }

    // A hint with a line break after each space that lies more than 50 characters after the
    // start of its line.
    [[nodiscard]] static QString wrapHint(QStringView hint);

private:
    int build(QWidget* container, const QList<iface::PlanItem>& items, int y);
    int buildItem(QWidget* container, const iface::PlanItem& item, int y);
    void buildTab(const iface::PlanItem& item);
    int buildGroupBox(QWidget* container, const iface::PlanItem& item, int y);
    int buildEdit(QWidget* container, const iface::PlanItem& item, int y);
    int buildCombo(QWidget* container, const iface::PlanItem& item, int y);
    int buildCheck(QWidget* container, const iface::PlanItem& item, int y);
    int buildBits(QWidget* container, const iface::PlanItem& item, int y);
    int buildRichEdit(QWidget* container, const iface::PlanItem& item, int y);
    int buildTable(QWidget* container, const iface::PlanItem& item, int y);

    QLabel* makeLabel(QWidget* container, int y, const QString& text);
    void placeControl(QWidget* control, QWidget* container, int y, int left, int width,
                      const QString& hint);
    QWidget* makeFrame(QWidget* container, int y, const QString& caption, const QString& hint);
    void align();

    QTabWidget* m_pages;
    ParameterStore& m_store;
    FieldHandlers* m_handlers;
    PageImages& m_imageFiles;
    QString m_folder;
    int m_minimumPageWidth;
    QList<QPixmap> m_images;
    QList<QWidget*> m_aligned;
    // Every page inherits the page control's font.
    QFontMetrics m_metrics;
    QHash<QString, int> m_textWidths;
};

} // namespace talvik::editor
