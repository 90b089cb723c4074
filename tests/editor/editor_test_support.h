#pragma once

#include "interface_model.h"
#include "json_root.h"
#include "test_app.h"

#include <QApplication>
#include <QString>

// The plan of an interface description written as JSON, for the newest firmware of type 415.
inline talvik::iface::InterfacePlan planOf(const char* json) {
    talvik::iface::JsonRoot document;
    return document.parse(json)
               ? talvik::iface::InterfaceModel::plan(document.root(), 415, QStringLiteral("9.99"))
               : talvik::iface::InterfacePlan{};
}
