#include "test_dir.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A program killed while it writes "last.set" leaves the previous complete file, never a
// truncated or empty one.
TEST(SettingsFileSave, KilledMidSaveLeavesAWholeFile) {
    TestDir dir;
    QRandomGenerator random(7);
    for (int round = 0; round < 25; ++round) {
        QProcess saver;
        saver.start(qEnvironmentVariable("TALVIK_BIN_DIR") + QStringLiteral("/settings_save_loop"),
                    {dir.path()});
        ASSERT_TRUE(saver.waitForReadyRead(10000)) << round;
        QThread::msleep(random.bounded(30));
        saver.kill();
        saver.waitForFinished(5000);
        const QJsonDocument file =
            QJsonDocument::fromJson(dir.readFile(QStringLiteral("last.set")));
        ASSERT_TRUE(file.isArray()) << round;
        // The header and 3000 settings but 314, which is never saved.
        EXPECT_EQ(file.array().size(), 3000) << round;
    }
}

} // namespace
