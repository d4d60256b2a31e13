// SPDX-License-Identifier: GPL-3.0-or-later
#include "putinplace.h"

#include "journal.h"
#include "messages.h"
#include "scratch.h"

#include <QFileInfo>

namespace {

Move moveOf(const Change &change)
{
    const Move::Kind kind = change.optional ? Move::Last
        : change.fresh.isEmpty()            ? Move::Remove
        : change.aside.isEmpty()            ? Move::Add
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

// The player's preferences, whole in their new state or in their old: left
// as they were where their move fails.
void keepPreferences(PressWork *work, const QString &target, const files::Failure &failure)
{
    for (int i = work->changes.size() - 1; i >= 0; --i) {
        const Change &change = work->changes[i];
        if (!change.optional || change.target != target)
            continue;
        work->notices << messages::preferencesKept(failure);
        files::Failure ignored;
        files::remove(change.fresh, &ignored);
        work->changes.remove(i);
    }
}

// Several files: a journal names their moves first, the preferences' last,
// so that a start after a kill puts those in place too.
bool putTogether(PressWork *work, QString *box)
{
    QVector<Change> changes;
    for (const Change &change : qAsConst(work->changes)) {
        if (!change.optional)
            changes << change;
    }
    const int before = changes.size();
    for (const Change &change : qAsConst(work->changes)) {
        if (change.optional)
            changes << change;
    }
    QVector<Move> moves;
    for (const Change &change : qAsConst(changes))
        moves << moveOf(change);
    files::Failure failure;
    if (!writeJournal(moves, &failure)) {
        files::Failure ignored;
        files::remove(journalPath(), &ignored);
        *box = messages::couldNotPut(journalPath(), failure);
        return false;
    }
    int moved = 0;
    while (moved < before && forward(moves[moved], &failure, true))
        ++moved;
    QString folder;
    if (moved < before)
        *box = messages::cannotChange(changes[moved], failure);
    else if (!makeLasting(moves, &failure, &folder))
        *box = messages::notLasting(folder, failure);
    if (!box->isEmpty()) {
        work->leftToJournal = !takenBack(moves, moved);
        return false;
    }
    for (int last = before; last < moves.size(); ++last) {
        if (!forward(moves[last], &failure))
            keepPreferences(work, moves[last].target, failure);
    }
    // Every file is new and will stay so. Where the rest cannot be done now,
    // the journal stays for the next start to end the press with.
    if (makeLasting(moves.mid(before), &failure, &folder) && removeRemovedFiles(moves, &failure)
        && removeJournal(&failure)) {
        for (const Move &move : qAsConst(moves)) {
            if (move.kind == Move::Replace)
                files::remove(asideOf(move.target), &failure);
        }
    }
    return true;
}

} // namespace

bool putInOneBurst(const QVector<Change> &changes)
{
    int alone = 0;
    for (const Change &change : changes)
        alone += change.optional ? 0 : 1;
    return alone > 1 || (alone == 1 && alone < changes.size());
}

bool putInPlace(PressWork *work, QString *box)
{
    if (putInOneBurst(work->changes)) {
        if (!putTogether(work, box))
            return false;
    } else {
        files::Failure failure;
        for (const Change &change : qAsConst(work->changes)) {
            if (!change.optional && !putAlone(change, &failure)) {
                *box = messages::cannotChange(change, failure);
                return false;
            }
        }
        for (const Change &change : QVector<Change>(work->changes)) {
            if (change.optional && !putAlone(change, &failure))
                keepPreferences(work, change.target, failure);
        }
    }
    files::Failure ignored;
    for (const QString &folder : qAsConst(work->foldersMade))
        files::remove(folderMadeMarkIn(folder), &ignored);
    for (const QString &folder : qAsConst(work->workFolders))
        files::removeFolder(folder, &ignored);
    return true;
}
