// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Where a launcher that finds no game around it should be: the mod's folder
// of a game installed in one of Steam's libraries.

// Steam's own folders on this machine that are there: on Windows the one the
// registry names, elsewhere its usual places, Flatpak's included.
QStringList steamFolders();

// The libraries of a Steam folder: the folder itself and every library its
// steamapps/libraryfolders.vdf lists (other drives and SD cards among them),
// each once however it is reached. A list that cannot be read adds none.
QStringList steamLibraries(const QString &steamFolder);

// The mod's folder, ending in a separator, of every game in these libraries
// whose folder under steamapps/common holds Napoleon.exe and data/ZOLM.
QStringList modFoldersIn(const QStringList &libraries);

// All of it: the mod's folders of the games in this machine's Steam libraries.
QStringList modFoldersInSteamLibraries();
