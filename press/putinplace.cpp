// SPDX-License-Identifier: GPL-3.0-or-later
#include "putinplace.h"

#include "journal.h"
#include "messages.h"
#include "scratch.h"

#include <QFileInfo>

namespace {

Move moveOf(const Change &change)
{
    const Move::Kind kind = change.fresh.isEmpty() ? Move::Remove
        : change.aside.isEmpty()                   ? Move::Add
                                                   : Move::Replace;
    return {change.target, kind};
}

// A file alone is whole at every moment of its one move over the old one, or
// its removal: it needs no journal.
bool putAlone(const Change &change, files::Failure *failure)
{
    *failure = messages::freshCopyGone();
    bool done = false;
    if (change.fresh.isEmpty())
        done = files::remove(change.target, failure);
    else if (files::entryAt(change.fresh) == files::Entry::File)
        done = files::move(change.fresh, change.target, failure);
    // The file is in place, old or new whatever befalls the drive.
    if (done)
        files::flushFolder(QFileInfo(change.target).path(), {change.target}, failure);
    return done;
}

// Every file back where it was, the last moved first, made lasting, and the
// journal gone. False where a file could not be taken back now: the next
// launcher takes it back, as the journal says.
bool takenBack(const QVector<Move> &moves, int moved)
{
    files::Failure ignored;
    QString folder;
    if (!takeBack(moves, moved, &ignored) || !makeLasting(moves, &ignored, &folder))
        return false;
    // A journal that outlived its press finds its new files gone, and takes
    // nothing anywhere.
    removeJournal(&ignored);
    return true;
}

// Several files: a journal names their moves first.
bool putTogether(const QVector<Change> &changes, bool *leftToJournal, QString *box)
{
    QVector<Move> moves;
    for (const Change &change : changes)
        moves << moveOf(change);
    files::Failure failure;
    if (!writeJournal(moves, &failure)) {
        files::Failure ignored;
        files::remove(journalPath(), &ignored);
        *box = messages::couldNotPut(journalPath(), failure);
        return false;
    }
    int moved = 0;
    while (moved < moves.size() && forward(moves[moved], &failure, true))
        ++moved;
    QString folder;
    if (moved < moves.size())
        *box = messages::cannotChange(changes[moved], failure);
    else if (!makeLasting(moves, &failure, &folder))
        *box = messages::notLasting(folder, failure);
    if (!box->isEmpty()) {
        *leftToJournal = !takenBack(moves, moved);
        return false;
    }
    // Every file is new and will stay so. Where the rest cannot be done now,
    // the journal stays for the next start to end the press with.
    if (removeRemovedFiles(moves, &failure) && removeJournal(&failure)) {
        for (const Move &move : qAsConst(moves)) {
            if (move.kind == Move::Replace)
                files::remove(asideOf(move.target), &failure);
        }
    }
    return true;
}

} // namespace

bool putInPlace(PressWork *work, QString *box)
{
    QVector<Change> together;
    for (const Change &change : qAsConst(work->changes)) {
        if (!change.optional)
            together << change;
    }
    files::Failure failure;
    if (together.size() == 1 && together[0].aside.isEmpty()) {
        if (!putAlone(together[0], &failure)) {
            *box = messages::cannotChange(together[0], failure);
            return false;
        }
    } else if (!together.isEmpty() && !putTogether(together, &work->leftToJournal, box)) {
        return false;
    }
    // The player's preferences, whole in their new state or in their old.
    for (int i = work->changes.size() - 1; i >= 0; --i) {
        const Change &change = work->changes[i];
        if (!change.optional || putAlone(change, &failure))
            continue;
        work->notices << messages::preferencesKept(failure);
        files::remove(change.fresh, &failure);
        work->changes.remove(i);
    }
    files::Failure ignored;
    for (const QString &folder : qAsConst(work->foldersMade))
        files::remove(folderMadeMarkIn(folder), &ignored);
    for (const QString &folder : qAsConst(work->workFolders))
        files::removeFolder(folder, &ignored);
    return true;
}
