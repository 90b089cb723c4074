#pragma once

#include <QGroupBox>

namespace talvik::editor {

// A group box whose caption is drawn in bold while its content keeps the normal font. Making
// the box's own font bold would pass the bold on to every control inside it, and taking it back
// control by control costs more than building the controls.
class CaptionGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit CaptionGroupBox(const QString& caption, QWidget* parent = nullptr);

    // The font the caption is drawn in.
    [[nodiscard]] QFont captionFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace talvik::editor
