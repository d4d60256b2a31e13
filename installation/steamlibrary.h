// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// On Linux the game runs under Steam's Proton. When the game's folder lies in
// a Steam library ("steamapps/common/<folder>"), the library's manifest for
// that folder gives the game's application id, and the game's per-user files
// live in that id's compatibility prefix.
struct SteamGame
{
    QString id; // empty when the game is not in a Steam library
    QString steamapps; // absolute path of the library's steamapps folder

    bool isRecognised() const { return !id.isEmpty(); }
};

// Looks from the working directory: the game's folder is "../../../".
SteamGame findSteamGame();
// The steamapps folder of the library the game's folder lies in, as the
// working directory reaches it; empty where it lies in none.
QString gameSteamapps();

// The roaming application-data folder in the game's prefix, ending in "/",
// where the game keeps its per-user folders; empty for a game not in a Steam
// library. Steam makes the prefix at the game's first start.
QString protonUserFolder(const SteamGame &game);
// The same for the game of that id in the library the game's folder lies in
// now, whether or not Steam's manifest of it is there.
QString protonUserFolder(const QString &id);
