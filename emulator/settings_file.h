#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

namespace talvik::emu {

// The controller's numbered settings as a ".set" file holds them: a JSON array with a {"HW": ..}
// header and one {"Value": number, "<Kind>": value} element per setting. Values are kept as the
// controller's decimal or plain text (Windows-1251), with the kind key and the JSON type they
// came with, so that a store written back looks like the file it was read from.
class SettingsFile {
public:
    struct Setting {
        QByteArray value;
        QString kind = QStringLiteral("None");
        bool number = false; // written as a JSON number when the value is a whole number

        friend bool operator==(const Setting&, const Setting&) = default;
    };
    struct Contents {
        QString hardware = QStringLiteral("0");
        std::map<int, Setting> settings;
    };

    // The file's contents, or nothing with a reason in error.
    [[nodiscard]] static std::optional<Contents> read(const QString& path, QString& error);
    [[nodiscard]] static QByteArray toJson(const Contents& contents);
    [[nodiscard]] static bool write(const QString& path, const Contents& contents, QString& error);
};

} // namespace talvik::emu
