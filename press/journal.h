// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "installation/roots.h"
#include "moves.h"

#include <QString>
#include <QVector>

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

// The journal removed, and that made lasting, before the kept-aside files of
// replaced targets go: a journal back after a power cut would find them gone.
bool removeJournal(files::Failure *failure);
