// A program run in miniature: two log objects write to "log.txt" in the current folder.
#include "simple_log.h"

using namespace talvik::support;

int main() {
    SimpleLog port(u"COM3");
    SimpleLog program;
    port.write(QByteArrayLiteral("opened"));
    program.write(u"Program OPENED");
    return 0;
}
