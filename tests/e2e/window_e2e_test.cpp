#include "c_port.h"
#include "connection.h"
#include "header_panel.h"
#include "main_page.h"
#include "scripted_dialogs.h"
#include "simple_log.h"
#include "system_port_enumerator.h"
#include "test_dir.h"
#include "tform1.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

using namespace Qt::StringLiterals;

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

// The given pseudo-terminals as the machine's ports, opened as real serial lines.
class ListedPorts final : public PortEnumerator {
public:
    explicit ListedPorts(QStringList paths) : m_paths(std::move(paths)) {}
    [[nodiscard]] QList<Port> AvailablePorts() const override {
        QList<Port> ports;
        for (const QString& path : m_paths) {
            ports.append({u"talvik-emu"_s, path});
        }
        return ports;
    }
    [[nodiscard]] std::unique_ptr<SerialLine> CreateLine() const override {
        return SystemPortEnumerator().CreateLine();
    }

private:
    QStringList m_paths;
};

// A talvik-emu process on a pseudo-terminal of its own.
class Emulator {
public:
    explicit Emulator(const QStringList& arguments) {
        m_process.setProgram(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik-emu"_s);
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        QDeadlineTimer deadline(5000);
        while (m_process.waitForStarted(100) && !m_process.canReadLine() &&
               !deadline.hasExpired()) {
            m_process.waitForReadyRead(100);
        }
        m_path = QString::fromLocal8Bit(m_process.readLine().trimmed());
    }
    ~Emulator() {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    [[nodiscard]] const QString& path() const { return m_path; }

private:
    QProcess m_process;
    QString m_path;
};

class WindowEndToEnd : public testing::Test {
protected:
    WindowEndToEnd() {
        static int argc = 1;
        static char name[] = "window_e2e_tests";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            new QApplication(argc, argv);
            static QTemporaryDir logDir;
            SimpleLog::setFileName(logDir.filePath(u"log.txt"_s));
            m_logPath() = logDir.filePath(u"log.txt"_s);
        }
    }

    static QString& m_logPath() {
        static QString path;
        return path;
    }

    std::unique_ptr<TForm1> Window(const QString& port) {
        auto form = std::make_unique<TForm1>(StartOptions{port}, &dialogs);
        form->show();
        return form;
    }

    // Runs the event loop until done() holds or the time is up.
    static bool WaitFor(const std::function<bool()>& done, int milliseconds) {
        QDeadlineTimer deadline(milliseconds);
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (done() || deadline.hasExpired()) {
                loop.quit();
            }
        });
        check.start(10);
        if (!done()) {
            loop.exec();
        }
        return done();
    }

    static bool Identified(TForm1& form) {
        return !form.TabSheet3->Edit1->text().isEmpty() && form.waitingWindow() == nullptr;
    }

    TestDir dir;
    ScriptedDialogs dialogs;
};

TEST_F(WindowEndToEnd, ConnectsIdentifiesAndShowsTheLiveStatus) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    Emulator emulator(
        {u"--version"_s, u"2.19"_s, u"--hardware"_s, u"403"_s, u"--serial"_s, u"00A1B2C3D4E5"_s});
    ASSERT_FALSE(emulator.path().isEmpty());
    auto form = Window(emulator.path());
    MainPage& page = *form->TabSheet3;

    ASSERT_TRUE(WaitFor([&] { return form->waitingWindow() != nullptr; }, 5000));
    EXPECT_FALSE(form->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return Identified(*form); }, 8000));
    EXPECT_EQ(page.Edit1->text(), u"00A1B2C3D4E5"_s);
    EXPECT_TRUE(page.Label6->text().contains(u"Конфигурация: 2.19 HV: 403"_s));
    EXPECT_EQ(page.Label13->text(), emulator.path());
    EXPECT_EQ(page.ComboBox2->currentIndex(), 3);
    EXPECT_EQ(form->connection->connectedPort()->VersionText(), u"2.19"_s);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_TRUE(form->Panel1->Image2->isVisible());
    EXPECT_FALSE(form->Panel1->Image1->isVisible());

    ASSERT_TRUE(WaitFor([&] { return !page.Label15->text().isEmpty(); }, 3000));
    std::cout << "emulator start to identified window with status: " << sinceStart.elapsed()
              << " ms\n";
    EXPECT_EQ(page.Label2->text(), u"в сети"_s);
    EXPECT_EQ(page.Label4->text(), u"МегаФон"_s);
    EXPECT_EQ(page.Label16->text(), u"220 В"_s);
    EXPECT_EQ(page.Label18->text(), u"выкл"_s);

    // The emulator's signal level wanders from second to second; the bar follows it.
    QSet<int> levels;
    WaitFor(
        [&] {
            levels.insert(page.ProgressBar1->value());
            return levels.size() >= 3;
        },
        8000);
    EXPECT_GE(levels.size(), 3);
    for (int level : levels) {
        EXPECT_TRUE(level >= 14 && level <= 31) << level;
    }
}

TEST_F(WindowEndToEnd, FirstAnnouncementWinsAndTheOtherPortIsClosed) {
    Emulator first({});
    Emulator second({});
    ASSERT_FALSE(first.path().isEmpty());
    ASSERT_FALSE(second.path().isEmpty());
    auto form = Window({});
    const qint64 logStart = QFile(m_logPath()).size();
    form->connection->setPortSource(
        std::make_unique<ListedPorts>(QStringList{first.path(), second.path()}), {});

    ASSERT_TRUE(WaitFor([&] { return form->connection->connectedPort() != nullptr; }, 5000));
    const QString winner = form->connection->connectedPort()->PortName();
    const QString loser = winner == first.path() ? second.path() : first.path();
    EXPECT_TRUE(form->connection->ports().empty());
    QFile log(m_logPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    log.seek(logStart);
    const QByteArray lines = log.readAll();
    EXPECT_TRUE(lines.contains(loser.toLocal8Bit() + ":\tclosed")) << lines.toStdString();
    EXPECT_FALSE(lines.contains(winner.toLocal8Bit() + ":\tclosed"));
    ASSERT_TRUE(WaitFor([&] { return Identified(*form); }, 8000));
    EXPECT_EQ(form->connection->connectedPort()->PortName(), winner);
}

TEST_F(WindowEndToEnd, SilentControllerIsDroppedAndConnectsAgain) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    Emulator emulator({u"--silent-after"_s, u"5"_s, u"--silent-for"_s, u"6"_s});
    auto form = Window(emulator.path());
    MainPage& page = *form->TabSheet3;
    ASSERT_TRUE(WaitFor([&] { return Identified(*form); }, 8000));

    // The controller answers at least once a second until it falls silent 5 s after its start;
    // six seconds without a frame drop the link.
    ASSERT_TRUE(WaitFor([&] { return form->connection->connectedPort() == nullptr; }, 12000));
    EXPECT_GT(sinceStart.elapsed(), 9500);
    EXPECT_LT(sinceStart.elapsed(), 13500);
    EXPECT_TRUE(page.Label13->text().isEmpty());
    EXPECT_TRUE(page.Label6->text().isEmpty());
    EXPECT_TRUE(page.Edit1->text().isEmpty());
    EXPECT_TRUE(form->Panel1->Image1->isVisible());
    EXPECT_FALSE(form->Panel1->Image2->isVisible());
    EXPECT_TRUE(page.ComboBox2->isEnabled());
    EXPECT_TRUE(dialogs.shown.isEmpty());

    ASSERT_TRUE(WaitFor([&] { return Identified(*form); }, 15000));
    EXPECT_EQ(page.Label13->text(), emulator.path());
}

} // namespace
