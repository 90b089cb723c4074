// Not a test by itself: saves "last.set" into the folder given as its argument over and over,
// for the test that kills it in the middle of a save.
#include "settings_fixture.h"

#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    TransferFixture f;
    if (!QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
        return 2;
    }
    // A few thousand settings make one save take long enough to be cut off in the middle.
    for (int number = 0; number < 3000; ++number) {
        f.store().findOrAdd(number).valueText = QString(40, u'x') + QString::number(number);
    }
    for (int round = 0;; ++round) {
        f.transfer->SaveSettingsFile(QStringLiteral("last.set"));
        if (round == 0) {
            std::puts("saved");
            std::fflush(stdout);
        }
    }
}
