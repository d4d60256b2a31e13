// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/filelayer.h"

#include <QString>
#include <QVector>

// One file's move in the burst that puts a press's files in place. Its old
// file goes aside and the new one takes its place, the new one takes the
// place of none, or the old one goes aside to be removed; the names kept
// aside and prepared are worked out from the target (scratch.h). The
// player's preferences come last, alone: the new file takes the old one's
// place in one move once every other move is done, and is never taken back.
struct Move
{
    enum Kind { Replace, Add, Remove, Last };
    QString target; // a press target's path
    Kind kind;
};

// How far a move has come, as the disk shows it. Foreign is any other state:
// a file gone that the move needs, a file where the move must find none, or
// a folder or link among its files.
enum class Stage { NotBegun, Half, Done, Foreign };
Stage stageOf(const Move &move);

// Take a move that is not begun or half made to its end (from its start
// only: not begun), and one at any stage back to its beginning. Neither
// removes a file, nor leaves a target absent that had a file; what is not the
// launcher's own is left where it is, and fails a move forward.
bool forward(const Move &move, files::Failure *failure, bool fromStart = false);
bool back(const Move &move, files::Failure *failure);

// Every move up to the last given taken back, the last first. False where a
// file could not be taken back.
bool takeBack(const QVector<Move> &moves, int last, files::Failure *failure);
// How many of the moves come before the last ones.
int movesBeforeLast(const QVector<Move> &moves);

// The old files of removed targets removed, and that made lasting. They go
// before the journal does: without a journal, an old file aside beside an
// absent target is put back.
bool removeRemovedFiles(const QVector<Move> &moves, files::Failure *failure);
// Flushes every folder the moves changed (the target's and its scratch
// folder), so that the moves outlast a power cut on every drive. False with
// the folder that could not be flushed.
bool makeLasting(const QVector<Move> &moves, files::Failure *failure, QString *folder);
