// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How a file is named for a player: by its name in a folder the player knows,
// rather than by the launcher's relative paths.
namespace playerNames {

struct Location
{
    QString name; // the file, as the player would find it in its folder
    QString place; // the folder, as "the game's data folder"
};
Location locate(const QString &file);

// The file's name in its place: "boot.pack in the game's data folder".
QString inPlace(const QString &path);
// A source as the player finds it from the game's data folder: "ZOLM/Standard/boot.pack".
QString fromDataFolder(const QString &path);
// A copy: "boot.pack in the game's data folder, from ZOLM/Standard/boot.pack".
QString copiedFrom(const QString &target, const QString &source);

} // namespace playerNames
