// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presswork.h"
#include "recovery.h"

// The report of the last press, beside the launcher's settings: in plain
// words what the press did, or why it stopped and that nothing was changed,
// so that a player can paste it into a forum post.
extern const QLatin1String lastPressFileName;

// What the report says of the press itself.
struct PressDescription
{
    QString button; // as its caption reads; empty where the press had none
    QStringList choices; // the window's choices it was made with, a line each
};

struct PressOutcome
{
    PressDescription description;
    Box failure; // of a press that stopped; empty otherwise
    bool stoppedByPlayer = false; // the window was closed
    bool leftToOtherAccount = false; // stopped by another account's press, not yet ended
    Boxes notices; // shown before the press went on
};

void writeLastPress(const PressWork &work, const PressOutcome &outcome);
// Adds a line to the end of the report of the last press: how the game was
// started after it, or why it was not.
void addToLastPress(const QString &line);
// What a start did with a press that a launcher before it did not end.
void writeRecoveredPress(const Recovery &recovery);
