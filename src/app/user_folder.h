#pragma once

#include <QString>

namespace talvik::app {

// The folder an installed programmer works in: the user's own data folder, filled from the
// folders the package ships ("Interface/", "Configs/", "Sounds/"). The user's own files there
// ("last.set", "terminal.txt", "Backups/", saved settings) are never touched. A programmer run
// from its build tree has no shipped folder and keeps its current folder.
class UserFolder {
public:
    // Where an installation whose programs live in `programDir` keeps its shipped folders, or
    // empty when the program does not run from an installation.
    [[nodiscard]] static QString shippedFolder(const QString& programDir);

    // Copies into `user` every shipped file it lacks; after a change of `version` (an upgrade)
    // the shipped files replace their older copies. False when a file could not be copied.
    [[nodiscard]] static bool prepare(const QString& shipped, const QString& user,
                                      const QString& version);
};

} // namespace talvik::app
