// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filelayer.h"

#include <QString>
#include <QVector>

#include <optional>

// One file's move in the burst that puts a press's files in place: the old
// file aside, the new one where it was. Paths are absolute; aside is empty
// where there was no old file (or for a file alone, moved over the old one),
// fresh where the file is removed.
struct Move
{
    QString target;
    QString aside;
    QString fresh;
};

// The journal names every move of a burst before the first is made, written
// whole and flushed, so that a launcher killed during the burst can be
// followed by one that finishes it. It lies in the mod's folder, where every
// launcher of the installation finds it.
QString journalPath();
bool writeJournal(const QVector<Move> &moves, files::Failure *failure);
// Nothing for a journal that is not whole: that one was being written, and
// no move had been made.
std::optional<QVector<Move>> readJournal();

// Take a file to its new state or back to its old one, from wherever it is on
// the way; each is one move or two, and every file stays whole.
bool forward(const Move &move, files::Failure *failure);
bool back(const Move &move, files::Failure *failure);
