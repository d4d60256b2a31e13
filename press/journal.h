// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filelayer.h"
#include "staging/roots.h"

#include <QString>
#include <QVector>

// One file's move in the burst that puts a press's files in place. Its old
// file goes aside and the new one takes its place, the new one takes the
// place of none, or the old one goes aside to be removed; the names kept
// aside and prepared are worked out from the target (scratch.h).
struct Move
{
    enum Kind { Replace, Add, Remove };
    QString target; // a press target's path, as its root resolves it now
    Kind kind;
};

// The journal names every move of a burst before the first is made, written
// whole and made lasting, so that a launcher killed during the burst can be
// followed by one that finishes it. It lies in the mod's folder, where every
// launcher of the installation finds it, and names each file by its root and
// its name there, so that it still holds when the game's folder has moved.
QString journalPath();
bool writeJournal(const QVector<Move> &moves, files::Failure *failure);

// A journal is trusted only where it is exactly what a press could have
// written: whole, and naming press targets only, each once. Any other
// (damaged, of another version, or made by someone else) is untrusted and
// acted on in nothing.
struct Journal
{
    enum State { Missing, Trusted, Untrusted };
    State state = Missing;
    QVector<Move> moves;
};
Journal readJournal();

// Take a file to its new state or back to its old one, from wherever the
// disk shows it to be on the way. Neither removes a file, and neither leaves
// a target absent that had a file: a new file that is gone, or a file in a
// place the move must empty, fails the move.
bool forward(const Move &move, files::Failure *failure);
bool back(const Move &move, files::Failure *failure);

// Every move up to the last given taken back, the last first. False where a
// file could not be taken back.
bool takeBack(const QVector<Move> &moves, int last, files::Failure *failure);

// The old files of removed targets removed, and that made lasting. They go
// before the journal does: without a journal, an old file aside beside an
// absent target is put back.
bool removeRemovedFiles(const QVector<Move> &moves, files::Failure *failure);

// Flushes every folder the moves changed (the target's and its scratch
// folder), so that the moves outlast a power cut on every drive. False with
// the folder that could not be flushed.
bool makeLasting(const QVector<Move> &moves, files::Failure *failure, QString *folder);
