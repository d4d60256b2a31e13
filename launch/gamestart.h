// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How the game was started, or why it could not be.
struct GameStart
{
    enum How { Started, SteamAsked, Failed };
    How how = Failed;
    QString reason; // of a failure, as a clause: "it may not be run as a program"
    bool throughSteam = false; // the game lies in a Steam library outside Windows
};

// Starts the game at the given path, relative to the working directory, as a
// process of its own that inherits that directory, or through Steam when the
// game lies in a Steam library outside Windows; does not wait for it.
GameStart startGame(const QString &executable);
