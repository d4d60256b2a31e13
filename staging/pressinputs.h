// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

// What the player chose, read from the window once when a button is pressed.
struct PressChoices
{
    int uiSize = -1; // index in the interface-size box; 0 is "No custom UI", -1 none
    QString uiSizePack; // the chosen size pack's base name, when uiSize > 0
    bool screenshotMode = false;
    bool freeCamera = true;
    bool themeSelectorShown = false;
    int themeIndex = -1; // 0 is the random theme
    QString themeName; // the selector's current text
    // Drawn with the choices, on the window's thread, whose generator is the
    // seeded one: the tint's, then the random theme's, each taken by the
    // draw that needs it. Without them a draw is made as the plan is.
    QVector<int> draws;

    int nextDraw() const;
    int takeDraw();
};

// What a press needs to know of the mod's folders, looked at once before it
// works out its steps.
struct ModListing
{
    bool tempFolderExists = false;
    bool oldHardcoreTextIsFile = false; // "ZOLM_txt_hb.pack" in the game's data folder
    bool scriptsFolderExists = true; // the game's, which it makes at its first start
    QStringList tints; // file names in the tint folder, in listing order
    QStringList themes; // theme folder names, in listing order
    QStringList themesWithMovies; // those that hold a "mov.pack"
};

ModListing readModListing();

Q_DECLARE_METATYPE(PressChoices)
Q_DECLARE_METATYPE(ModListing)
