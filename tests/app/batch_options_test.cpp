#include "batch_options.h"
#include "fake_port_enumerator.h"
#include "port_listing.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::app;

namespace {

QStringList split(const char* line) {
    return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
}

// The steps as they will run, written back as options.
QString stepsOf(const BatchOptions& options) {
    QStringList texts;
    for (const BatchOptions::Step& step : options.steps()) {
        texts.append(step.text());
    }
    return texts.join(u' ');
}

struct Good {
    const char* name;
    const char* line;
    const char* steps; // as Step::text() writes them back
};
void PrintTo(const Good& row, std::ostream* out) {
    *out << row.name;
}

class GoodCommandLine : public testing::TestWithParam<Good> {};

TEST_P(GoodCommandLine, GivesTheStepsInTheOrderWritten) {
    const BatchOptions options = BatchOptions::parse(split(GetParam().line));
    ASSERT_EQ(options.error(), QString());
    EXPECT_EQ(stepsOf(options), QString::fromUtf8(GetParam().steps));
}

INSTANTIATE_TEST_SUITE_P(
    BatchOptions, GoodCommandLine,
    testing::Values(
        Good{"Provisioning", "--port /dev/pts/3 --load a.set --write --read --save b.set",
             "--load a.set --write --read --save b.set"},
        Good{"ValueAfterEquals", "--save=b.set --set=20=5 --get=20",
             "--save b.set --set 20=5 --get 20"},
        Good{"EmptyValueOfASetting", "--type 415 --set 30=", "--set 30="},
        Good{"FactoryOffline", "--type 406 --factory --save f.set", "--factory --save f.set"},
        Good{"RepeatedActions", "--read --read", "--read --read"},
        Good{"WindowOnly", "--port /dev/ttyUSB0 --log my.txt", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct Bad {
    const char* name;
    const char* line;
    const char* error;
};
void PrintTo(const Bad& row, std::ostream* out) {
    *out << row.name;
}

class BadCommandLine : public testing::TestWithParam<Bad> {};

TEST_P(BadCommandLine, SaysWhatIsWrong) {
    EXPECT_EQ(BatchOptions::parse(split(GetParam().line)).error(),
              QString::fromUtf8(GetParam().error));
}

INSTANTIATE_TEST_SUITE_P(
    BatchOptions, BadCommandLine,
    testing::Values(
        Bad{"UnknownOption", "--read --frobnicate", "unknown option --frobnicate"},
        Bad{"BareWord", "--read file.set", "unexpected argument \"file.set\""},
        Bad{"MissingValue", "--read --save", "--save needs a value"},
        Bad{"ValueOfAFlag", "--read=1", "--read takes no value"},
        Bad{"SetWithoutValue", "--set 20", "--set takes N=VALUE"},
        Bad{"SetOfNoNumber", "--set x=1", "--set takes N=VALUE"},
        Bad{"GetOfNoNumber", "--get twenty", "--get takes N"},
        Bad{"UnknownType", "--type 500 --save a.set", "--type takes 406, 412, 403, 414 or 415"},
        Bad{"NegativeWait", "--wait-connect -1 --read",
            "--wait-connect takes a whole number of seconds"},
        Bad{"PortTwice", "--port a --port b --read", "--port is given twice"},
        Bad{"TypeWithController", "--type 415 --upload-profile a.evc",
            "--type is for work without a controller: leave out --port and the actions that "
            "talk to one"},
        Bad{"TypeWithPort", "--type 415 --port p --save a.set",
            "--type is for work without a controller: leave out --port and the actions that "
            "talk to one"},
        Bad{"ListenOfNoNumber", "--command ver --listen soon",
            "--listen takes a whole number of seconds"},
        Bad{"ListPortsWithAction", "--list-ports --read", "--list-ports goes alone"},
        Bad{"YesWithoutAction", "--yes", "--yes, --quiet, --show and --type go with an action"}),
    [](const auto& info) { return std::string(info.param.name); });

struct Controller {
    const char* name;
    const char* line;
    bool needed;
};
void PrintTo(const Controller& row, std::ostream* out) {
    *out << row.name;
}

class ControllerNeed : public testing::TestWithParam<Controller> {};

TEST_P(ControllerNeed, FollowsThePortAndTheActions) {
    EXPECT_EQ(BatchOptions::parse(split(GetParam().line)).needsController(), GetParam().needed);
}

INSTANTIATE_TEST_SUITE_P(
    BatchOptions, ControllerNeed,
    testing::Values(Controller{"FilesOnly", "--load a.set --set 20=1 --get 20 --save b.set", false},
                    Controller{"AnyActionWithAPort", "--port p --save b.set", true},
                    Controller{"Read", "--read", true},
                    Controller{"Upload", "--upload-sounds a.psnd", true},
                    Controller{"FactoryOfTheControllersType", "--factory", true},
                    Controller{"FactoryOfAGivenType", "--type 403 --factory", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BatchOptions, HelpWinsOverErrors) {
    EXPECT_TRUE(BatchOptions::parse(split("--frobnicate --help")).helpAsked());
}

TEST(BatchOptions, HelpListsEveryActionWithAnExample) {
    const QString help = BatchOptions::help();
    for (const char* action :
         {"--read", "--write", "--save", "--load", "--factory", "--set", "--get", "--list-ports"}) {
        const QString name = QString::fromUtf8(action);
        EXPECT_TRUE(help.contains(QRegularExpression(u"\\n  "_s + name + u"\\b"_s))) << action;
        EXPECT_TRUE(help.contains(QRegularExpression(u"\\n +talvik [^\\n]*"_s + name + u"\\b"_s)))
            << action;
    }
}

TEST(PortListing, MarksSkippedPortsWithTheReason) {
    FakeEnumerator enumerator;
    enumerator.ports = {{u"USB Serial"_s, u"ttyUSB0"_s},
                        {u"Printer Port"_s, u"LPT1"_s},
                        {u"Standard Serial over BlueTooth link"_s, u"rfcomm0"_s}};
    EXPECT_EQ(
        PortListing::lines(enumerator, {}),
        (QStringList{u"ttyUSB0\tUSB Serial"_s, u"LPT1\tPrinter Port\tskipped: printer port (LPT)"_s,
                     u"rfcomm0\tStandard Serial over BlueTooth link\tskipped: Bluetooth port"_s}));
}

TEST(PortListing, NamedPortLeavesTheOthersOut) {
    FakeEnumerator enumerator;
    enumerator.ports = {{u"USB Serial"_s, u"ttyUSB0"_s}, {u"USB Serial"_s, u"ttyUSB1"_s}};
    EXPECT_EQ(PortListing::lines(enumerator, u"ttyUSB1"_s),
              (QStringList{u"ttyUSB0\tUSB Serial\tskipped: --port names another port"_s,
                           u"ttyUSB1\tUSB Serial"_s}));
}

TEST(PortListing, NamedPortTheSystemDoesNotListIsAdded) {
    FakeEnumerator enumerator;
    EXPECT_EQ(PortListing::lines(enumerator, u"/dev/pts/4"_s),
              QStringList{u"/dev/pts/4\t(named by --port)"_s});
}

} // namespace
