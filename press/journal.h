// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filelayer.h"
#include "staging/roots.h"

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

// The journal names every move of a burst before the first is made, written
// whole and made lasting, so that a launcher killed during the burst can be
// followed by one that finishes it. It lies in the mod's folder, where every
// launcher of the installation finds it, and names each file by its root and
// its name there, so that it still holds when the game's folder has moved;
// with the scripts folder the press used, which lies elsewhere.
QString journalPath();
bool writeJournal(const QVector<Move> &moves, files::Failure *failure);

// A journal is trusted only where it is exactly what a press of this
// launcher could have written: whole, naming each file once and only files
// a press changes in the ways a press changes them, and in a state the burst
// passes through: moves done, then one half made or none, then moves not
// begun. Any other (damaged, of another version, out of date, or made by
// someone else) is untrusted and followed in nothing. Its scripts folder is
// found again by its place (scriptsPlace()) wherever the installation went;
// one that another account's launcher wrote into a scripts folder this
// account cannot check is that account's to end.
struct Journal
{
    enum State { Missing, Trusted, Untrusted, OtherAccount };
    State state = Missing;
    QVector<Move> moves; // also another account's, its scripts folder's as it names them
    int done = 0; // the moves done before the first that is not
    QString scripts; // the scripts folder the press used, as it names it
    QString scriptsHere; // where its moves into that folder are followed; empty where not
    QString account; // the id of the account whose launcher wrote it; empty in the older format
};
Journal readJournal();

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
// The journal removed, and that made lasting, before the kept-aside files of
// replaced targets go: a journal back after a power cut would find them gone.
bool removeJournal(files::Failure *failure);

// Flushes every folder the moves changed (the target's and its scratch
// folder), so that the moves outlast a power cut on every drive. False with
// the folder that could not be flushed.
bool makeLasting(const QVector<Move> &moves, files::Failure *failure, QString *folder);
