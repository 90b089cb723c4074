#pragma once

#include <QString>
#include <QWidget>

namespace talvik::app {

// Creates a control that carries its name as its objectName, as every named control does.
template <typename Control>
Control* named(QWidget* parent, const QString& name, const QString& caption = {}) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    if constexpr (requires { control->setText(caption); }) {
        if (!caption.isEmpty()) {
            control->setText(caption);
        }
    } else if constexpr (requires { control->setTitle(caption); }) {
        control->setTitle(caption);
    }
    return control;
}

} // namespace talvik::app
