#pragma once

#include "c_port.h"
#include "connection.h"
#include "controller_session.h"
#include "header_panel.h"
#include "log_tail.h"
#include "named_controls.h"
#include "parameter_store.h"
#include "scripted_dialogs.h"
#include "settings_editor.h"
#include "test_app.h"
#include "test_dir.h"
#include "tform1.h"
#include "wait_for.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

using namespace Qt::StringLiterals;

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Value text by setting number.
using Store = std::map<int, std::string>;

// The settings on which two stores differ, as "number: a | b" lines; empty when they agree.
inline std::string differences(const Store& a, const Store& b) {
    const auto at = [](const Store& store, int n) {
        return store.count(n) == 0 ? std::string("(none)") : store.at(n);
    };
    Store all = a;
    all.insert(b.begin(), b.end());
    std::string out;
    for (const auto& entry : all) {
        if (at(a, entry.first) != at(b, entry.first)) {
            out += std::to_string(entry.first) + ": " + at(a, entry.first) + " | " +
                   at(b, entry.first) + "\n";
        }
    }
    return out;
}

// Setting number -> value text, for every setting of a settings file (as the emulator saves
// its store).
inline Store StoreOf(const QByteArray& file) {
    Store store;
    for (const QJsonValue& item : QJsonDocument::fromJson(file).array()) {
        QJsonObject element = item.toObject();
        const int number = element.take(u"Value"_s).toInt();
        if (!element.contains(u"HW"_s) && !element.isEmpty()) {
            const QJsonValue value = *element.begin();
            store[number] =
                (value.isString() ? value.toString() : QString::number(value.toInteger()))
                    .toStdString();
        }
    }
    return store;
}

// Setting number -> the value the controller gets, for every setting the window shows.
// Setting 314 is the controller's own and never leaves the window.
inline Store Shown(talvik::app::TForm1& form) {
    Store values;
    for (const auto& [number, record] : form.settingsEditor().store()) {
        if (record.kind != talvik::editor::Parameter::Kind::None && number != 314) {
            values[number] = talvik::editor::ParameterStore::valueOf(record).toStdString();
        }
    }
    return values;
}

// talvik-emu on a pseudo-terminal of its own, named by path().
class Emulator {
public:
    explicit Emulator(const QStringList& arguments) {
        m_process.setProgram(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik-emu"_s);
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        while (m_process.waitForStarted(5000) && !m_process.canReadLine() &&
               m_process.waitForReadyRead(5000)) {
        }
        m_path = QString::fromLocal8Bit(m_process.readLine().trimmed());
    }
    ~Emulator() { stop(); }
    [[nodiscard]] const QString& path() const { return m_path; }
    // Stops it the way a user does, so that --save writes its store, or like a pulled cable.
    void stop(bool abruptly = false) {
        abruptly ? m_process.kill() : m_process.terminate();
        m_process.waitForFinished(5000);
    }
    // Stopped, it answers nothing while its terminal stays; resumed, it answers again.
    void pause() const { ::kill(static_cast<pid_t>(m_process.processId()), SIGSTOP); }
    void resume() const { ::kill(static_cast<pid_t>(m_process.processId()), SIGCONT); }

private:
    QProcess m_process;
    QString m_path;
};

// The application with its log in a folder of its own; windows in a folder of their own with
// scripted dialogs.
class EndToEnd : public testing::Test {
protected:
    EndToEnd() { TestApp<QApplication>(); }

    // How many log lines written since the test began contain `text`.
    [[nodiscard]] int Logged(const QByteArray& text) const {
        const QByteArrayList lines = m_log.Lines();
        return static_cast<int>(
            std::count_if(lines.begin(), lines.end(),
                          [&](const QByteArray& line) { return line.contains(text); }));
    }

    // The shipped Interface/ and Configs/ in the test's folder, as in the program's own.
    void LinkShippedFolders() const {
        for (const QString& folder : {u"Interface"_s, u"Configs"_s}) {
            QFile::link(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/data/"_s + folder,
                        dir.file(folder));
        }
    }

    // A window that looks for a controller on `port` only.
    std::unique_ptr<talvik::app::TForm1> Window(const QString& port) {
        auto form =
            std::make_unique<talvik::app::TForm1>(talvik::app::StartOptions{port}, &dialogs);
        form->show();
        return form;
    }
    static bool Identified(talvik::app::TForm1& form) {
        return form.session().port() != nullptr &&
               !NamedChild<QLineEdit>(form, QStringLiteral("Edit1"))->text().isEmpty() &&
               form.waitingWindow() == nullptr;
    }
    // The header's status line, found by name as the user finds it on screen.
    static QLabel& Status(talvik::app::TForm1& form) {
        return *form.findChild<QLabel*>(u"Label5"_s);
    }
    // Connected, and the status line says the last read or write is done.
    static bool Done(talvik::app::TForm1& form) {
        return form.session().port() != nullptr && Status(form).text().startsWith(u"Готово"_s);
    }
    // Clicks the header's button `name` ("PNGButton3" reads, "PNGButton4" writes) and waits for
    // the batch it starts to be done.
    static bool RunBatch(talvik::app::TForm1& form, const char* name, int milliseconds = 30000) {
        Status(form).clear();
        form.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
        return WaitFor(milliseconds, [&] { return Done(form); });
    }
    // Identified, and the settings read that follows is over, so the line is quiet.
    static bool Settled(talvik::app::TForm1& form) {
        const talvik::app::CPort* port = form.session().port();
        return Identified(form) && port->dumpActive == 0 && port->QueueSize() == 0 &&
               port->Current().isEmpty();
    }

    TestDir dir;
    ScriptedDialogs dialogs;
    const LogTail m_log;
};
