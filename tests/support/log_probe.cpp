// Writes two lines through two log objects in the current folder, the way a program run does;
// the log tests run it to see what a fresh process leaves in "log.txt".
#include "simple_log.h"

int main() {
    SimpleLog port(u"COM3");
    SimpleLog program;
    port.write(QByteArrayLiteral("opened"));
    program.write(u"Program OPENED");
    return 0;
}
