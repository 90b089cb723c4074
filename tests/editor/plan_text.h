#pragma once

#include "interface_model.h"
#include "yaml_root.h"

#include <QString>

// The plan of an interface description given as text, for a device type and version.
inline InterfacePlan planOf(const char* text, int type = 415,
                            const QString& version = QStringLiteral("9.99")) {
    YamlRoot document;
    if (!document.parse(QString::fromUtf8(text))) {
        return {};
    }
    return InterfaceModel::plan(document.root(), type, version);
}
