#pragma once

#include "controller_session.h"

#include <QStringList>

// Records what the session hands on, in order: reply pieces ("P ...", "R ...", "key ...",
// "S<number> <value>"), terminal texts ("text ...") and its steps by name.
inline void RecordSessionEvents(talvik::app::ControllerSession& session, QStringList& events) {
    using talvik::app::ControllerSession;
    const auto record = [&events](const QString& tag) {
        return [&events, tag](const QString& s = {}) { events << tag + s; };
    };
    QObject::connect(&session, &ControllerSession::parameterReply, record(QStringLiteral("P ")));
    QObject::connect(&session, &ControllerSession::radioReply, record(QStringLiteral("R ")));
    QObject::connect(&session, &ControllerSession::keyTouched, record(QStringLiteral("key ")));
    QObject::connect(&session, &ControllerSession::statusReply,
                     [&events](int number, const QString& value) {
                         events << QStringLiteral("S%1 ").arg(number) + value;
                     });
    QObject::connect(&session, &ControllerSession::textReceived, record(QStringLiteral("text ")));
    QObject::connect(&session, &ControllerSession::identified,
                     record(QStringLiteral("identified")));
    QObject::connect(&session, &ControllerSession::readDue, record(QStringLiteral("readDue")));
    QObject::connect(&session, &ControllerSession::disconnecting,
                     record(QStringLiteral("disconnecting")));
    QObject::connect(&session, &ControllerSession::disconnected,
                     record(QStringLiteral("disconnected")));
}
