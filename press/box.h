// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

// An "Error" box as the player reads it: what happened, in the words players
// and guides know, and the way out, which the window shows below it.
struct Box
{
    QString what; // empty: no box
    QString wayOut; // empty where there is none

    bool isEmpty() const { return what.isEmpty(); }
    // On one line, as the report of the last press lists it.
    QString inOneLine() const
    {
        return wayOut.isEmpty() ? what : QString(what + QLatin1Char(' ') + wayOut);
    }
    bool operator==(const Box &other) const { return what == other.what && wayOut == other.wayOut; }
};
using Boxes = QVector<Box>;

Q_DECLARE_METATYPE(Box)
