#include "batch_options.h"

#include <algorithm>
#include <iterator>
#include <utility>

using namespace Qt::StringLiterals;

namespace talvik::app {

namespace {

struct ActionOption {
    QStringView name;
    BatchOptions::Action action;
    QStringView value; // the value's name in messages; empty for an action without one
};

constexpr ActionOption kActions[] = {
    {u"read", BatchOptions::Action::Read, {}},
    {u"write", BatchOptions::Action::Write, {}},
    {u"save", BatchOptions::Action::Save, u"FILE"},
    {u"load", BatchOptions::Action::Load, u"FILE"},
    {u"factory", BatchOptions::Action::Factory, {}},
    {u"set", BatchOptions::Action::Set, u"N=VALUE"},
    {u"get", BatchOptions::Action::Get, u"N"},
    {u"command", BatchOptions::Action::Command, u"TEXT"},
    {u"upload-firmware", BatchOptions::Action::UploadFirmware, u"FILE"},
    {u"upload-profile", BatchOptions::Action::UploadProfile, u"FILE"},
    {u"upload-sounds", BatchOptions::Action::UploadSounds, u"FILE"},
    {u"diff", BatchOptions::Action::Diff, u"FILE"},
    {u"diff-pending", BatchOptions::Action::DiffPending, {}},
};

// Actions that talk to the controller; the others work on the pages and files.
bool online(BatchOptions::Action action) {
    switch (action) {
    case BatchOptions::Action::Read:
    case BatchOptions::Action::Write:
    case BatchOptions::Action::Command:
    case BatchOptions::Action::UploadFirmware:
    case BatchOptions::Action::UploadProfile:
    case BatchOptions::Action::UploadSounds:
        return true;
    default:
        return false;
    }
}

const ActionOption* actionOption(QStringView name) {
    const auto* found =
        std::find_if(std::begin(kActions), std::end(kActions),
                     [&](const ActionOption& option) { return option.name == name; });
    return found == std::end(kActions) ? nullptr : found;
}

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 && !text.startsWith(u'+') ? std::optional<int>(value) : std::nullopt;
}

// "N" or "N=VALUE": a setting number before the first '='.
bool validSetting(const QString& text, bool withValue) {
    const qsizetype equals = text.indexOf(u'=');
    if (withValue != (equals >= 0)) {
        return false;
    }
    return wholeNumber(withValue ? text.left(equals) : text).has_value();
}

} // namespace

QString BatchOptions::Step::text() const {
    const auto* option = std::find_if(std::begin(kActions), std::end(kActions),
                                      [&](const ActionOption& o) { return o.action == action; });
    const QString name = u"--"_s + option->name.toString();
    return argument.isEmpty() ? name : name + u' ' + argument;
}

BatchOptions BatchOptions::parse(const QStringList& arguments) {
    BatchOptions options;
    if (arguments.contains(u"--help"_s) || arguments.contains(u"-h"_s)) {
        options.m_help = true;
        return options;
    }
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        if (!argument.startsWith(u"--"_s)) {
            options.m_error = u"unexpected argument \"%1\""_s.arg(argument);
            return options;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
        const std::optional<QString> inlineValue =
            equals < 0 ? std::nullopt : std::optional<QString>(argument.mid(equals + 1));
        if (!options.take(name, inlineValue, arguments, index)) {
            return options;
        }
    }
    options.check();
    return options;
}

bool BatchOptions::take(const QString& name, const std::optional<QString>& inlineValue,
                        const QStringList& arguments, qsizetype& index) {
    static const QStringList kFlags = {u"list-ports"_s, u"yes"_s, u"quiet"_s, u"show"_s};
    static const QStringList kValued = {u"port"_s, u"wait-connect"_s, u"listen"_s, u"type"_s,
                                        u"log"_s};
    const ActionOption* action = actionOption(name);
    const bool flag = kFlags.contains(name) || (action != nullptr && action->value.isEmpty());
    if (!flag && action == nullptr && !kValued.contains(name)) {
        m_error = u"unknown option --%1"_s.arg(name);
        return false;
    }
    if (flag && inlineValue) {
        m_error = u"--%1 takes no value"_s.arg(name);
        return false;
    }
    QString value;
    if (!flag) {
        if (!inlineValue && index + 1 >= arguments.size()) {
            m_error = u"--%1 needs a value"_s.arg(name);
            return false;
        }
        value = inlineValue ? *inlineValue : arguments[++index];
    }
    if (action != nullptr) {
        const bool setting = action->action == Action::Set || action->action == Action::Get;
        if ((setting && !validSetting(value, action->action == Action::Set)) ||
            (!action->value.isEmpty() && value.isEmpty())) {
            m_error = u"--%1 takes %2"_s.arg(name, action->value);
            return false;
        }
        m_steps.append({action->action, value});
        return true;
    }
    bool repeated = false;
    if (name == u"list-ports"_s) {
        repeated = std::exchange(m_listPorts, true);
    } else if (name == u"yes"_s) {
        repeated = std::exchange(m_yes, true);
    } else if (name == u"quiet"_s) {
        repeated = std::exchange(m_quiet, true);
    } else if (name == u"show"_s) {
        repeated = std::exchange(m_show, true);
    } else if (name == u"port"_s) {
        repeated = !std::exchange(m_port, value).isEmpty();
    } else if (name == u"log"_s) {
        repeated = !std::exchange(m_logFile, value).isEmpty();
    } else if (name == u"wait-connect"_s || name == u"listen"_s) {
        const std::optional<int> seconds = wholeNumber(value);
        if (!seconds) {
            m_error = u"--%1 takes a whole number of seconds"_s.arg(name);
            return false;
        }
        (name == u"listen"_s ? m_listenSeconds : m_waitSeconds) = *seconds;
    } else if (name == u"type"_s) {
        const std::optional<int> code = wholeNumber(value);
        if (!code || std::find(std::begin(kTypeCodes), std::end(kTypeCodes), *code) ==
                         std::end(kTypeCodes)) {
            m_error = u"--type takes 406, 412, 403, 414 or 415"_s;
            return false;
        }
        repeated = std::exchange(m_typeCode, code).has_value();
    }
    if (repeated || (value.isEmpty() && !flag)) {
        m_error = repeated ? u"--%1 is given twice"_s.arg(name) : u"--%1 needs a value"_s.arg(name);
        return false;
    }
    return true;
}

void BatchOptions::check() {
    const bool controller = std::any_of(m_steps.begin(), m_steps.end(),
                                        [](const Step& step) { return online(step.action); });
    if (m_listPorts && batch()) {
        m_error = u"--list-ports goes alone"_s;
    } else if (m_typeCode && (controller || !m_port.isEmpty())) {
        m_error = u"--type is for work without a controller: leave out --port and the actions "
                  u"that talk to one"_s;
    } else if (!batch() && !m_listPorts && (m_yes || m_quiet || m_show || m_typeCode)) {
        m_error = u"--yes, --quiet, --show and --type go with an action"_s;
    }
}

bool BatchOptions::needsController() const {
    return !m_port.isEmpty() || std::any_of(m_steps.begin(), m_steps.end(), [&](const Step& step) {
        return online(step.action) || (step.action == Action::Factory && !m_typeCode);
    });
}

QString BatchOptions::usage() {
    return u"usage: talvik [--port PATH] [--wait-connect SECONDS] [--listen SECONDS] [--type CODE] "
           u"[--yes] [--quiet] [--show] [--log FILE] ACTION... | --list-ports | --help"_s;
}

QString BatchOptions::help() {
    return usage() + u"\n\n"
                     u"Without an action the programmer's window opens. With actions it runs them "
                     u"in the order written,\nonce a controller is connected and identified "
                     u"(or at once, for work on files without one),\nprints progress and "
                     u"results, and ends.\n\n"
                     u"Actions:\n"
                     u"  --read             read the settings from the controller\n"
                     u"                       talvik --read --save backup.set\n"
                     u"  --write            write the changed settings to the controller\n"
                     u"                       talvik --load car.set --write\n"
                     u"  --save FILE        save the settings shown to a file\n"
                     u"                       talvik --port /dev/ttyUSB0 --save backup.set\n"
                     u"  --load FILE        load a settings file\n"
                     u"                       talvik --type 415 --load old.set --save new.set\n"
                     u"  --factory          the factory settings of the device type "
                     u"(--yes also writes them to a controller)\n"
                     u"                       talvik --type 406 --factory --save 406.set\n"
                     u"  --set N=VALUE      put VALUE into setting N as if typed "
                     u"(checked like typing)\n"
                     u"                       talvik --load car.set --set 20=5 --write\n"
                     u"  --get N            print setting N as the controller gets it\n"
                     u"                       talvik --type 415 --load car.set --get 20\n"
                     u"  --command TEXT     send TEXT as the terminal does and print the "
                     u"controller's texts for --listen seconds\n"
                     u"                       talvik --command \"ver\" --listen 3\n"
                     u"  --upload-firmware FILE, --upload-profile FILE, --upload-sounds FILE\n"
                     u"                     upload to the controller and wait for it to come "
                     u"back if it restarts\n"
                     u"                       talvik --upload-firmware new.enc --read\n"
                     u"                       talvik --upload-profile car.evc\n"
                     u"                       talvik --upload-sounds voice.psnd\n"
                     u"  --diff FILE        print each setting whose value in FILE differs from "
                     u"the one shown:\n"
                     u"                     number, page, label, value shown, value in FILE "
                     u"(tab-separated)\n"
                     u"                       talvik --read --diff Backups/X/last-week.set\n"
                     u"  --diff-pending     print the settings --write would send, with the value "
                     u"the controller holds\n"
                     u"                       talvik --read --load car.set --diff-pending\n"
                     u"\n"
                     u"Options:\n"
                     u"  --port PATH        look for the controller on this port only\n"
                     u"  --wait-connect S   how long to wait for a controller (default 30); "
                     u"exit status 3 when none answers\n"
                     u"  --listen S         how long --command prints the controller's texts "
                     u"(default 2)\n"
                     u"  --type CODE        work without a controller on the pages of 406, 412, "
                     u"403, 414 or 415\n"
                     u"  --yes              answer every question Yes (without it a question "
                     u"is an error)\n"
                     u"  --quiet            print only results and errors\n"
                     u"  --show             show the window while the actions run\n"
                     u"  --log FILE         the log file (default log.txt)\n"
                     u"  --list-ports       list the serial ports and whether they are scanned\n"
                     u"                       talvik --list-ports\n"
                     u"\n"
                     u"Exit status: 0 every action succeeded, 1 an error or a --diff that found a "
                     u"difference, 2 bad usage,\n3 no controller answered.\n"_s;
}

} // namespace talvik::app
