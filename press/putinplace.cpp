// SPDX-License-Identifier: GPL-3.0-or-later
#include "putinplace.h"

#include "installation/roots.h"
#include "journal.h"
#include "messages.h"
#include "phases.h"
#include "scratch.h"

#include <QFileInfo>

namespace {

// Only the game's folders are sure to be swept at the next start: the scripts
// folder a start finds may be another one (a Steam game's prefix, while
// Steam has no manifest for it). Its files are small; theirs go at once.
bool oldFileCanWait(const QString &target)
{
    const auto place = pressTargetAt(target);
    return place && place->root != PressRoot::Scripts;
}

Move moveOf(const Change &change)
{
    const Move::Kind kind = change.optional ? Move::Last
        : change.fresh.isEmpty()            ? Move::Remove
        : change.aside.isEmpty()            ? Move::Add
                                            : Move::Replace;
    return {change.target, kind};
}

// A file alone is whole at every moment of its one move over the old one, or
// its removal: it needs no journal. Where the drive lets the old file keep a
// second name beside it, the move frees none of the old file's space, which
// takes a while for a large pack: that is done once the game has started.
bool putAlone(const Change &change, QStringList *oldFiles, files::Failure *failure)
{
    *failure = messages::freshCopyGone();
    bool done = false;
    enterPhase(PressPhase::Burst);
    if (change.fresh.isEmpty()) {
        done = files::remove(change.target, failure);
    } else if (files::entryAt(change.fresh) == files::Entry::File) {
        files::Failure ignored;
        const QString old = asideOf(change.target);
        const bool kept = oldFileCanWait(change.target)
            && files::entryAt(change.target) == files::Entry::File
            && files::link(change.target, old, &ignored);
        done = files::move(change.fresh, change.target, failure);
        if (done && kept)
            *oldFiles << old;
        else if (kept)
            files::remove(old, &ignored);
    }
    // The file is in place, old or new whatever befalls the drive.
    enterPhase(PressPhase::FolderFlushes);
    if (done)
        files::flushFolder(QFileInfo(change.target).path(), {change.target}, failure);
    return done;
}

// The scratch folders of the press, but those where old files wait.
void removeWorkFolders(const PressWork &work, bool keepWhereOldFilesWait)
{
    files::Failure ignored;
    for (const QString &folder : work.workFolders) {
        const bool waits
            = std::any_of(work.oldFiles.begin(), work.oldFiles.end(),
                          [&](const QString &old) { return old.startsWith(folder + '/'); });
        if (!(waits && keepWhereOldFilesWait))
            files::removeFolder(folder, &ignored);
    }
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
bool putTogether(PressWork *work, Box *box)
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
    enterPhase(PressPhase::Journal);
    if (!writeJournal(moves, &failure)) {
        files::Failure ignored;
        files::remove(journalPath(), &ignored);
        *box = messages::couldNotPut(journalPath(), failure);
        return false;
    }
    enterPhase(PressPhase::Burst);
    int moved = 0;
    while (moved < before && forward(moves[moved], &failure, true))
        ++moved;
    QString folder;
    enterPhase(PressPhase::FolderFlushes);
    if (moved < before)
        *box = messages::cannotChange(changes[moved], failure);
    else if (!makeLasting(moves, &failure, &folder))
        *box = messages::notLasting(folder, failure);
    if (!box->isEmpty()) {
        work->leftToJournal = !takenBack(moves, moved);
        return false;
    }
    enterPhase(PressPhase::Burst);
    for (int last = before; last < moves.size(); ++last) {
        if (!forward(moves[last], &failure))
            keepPreferences(work, moves[last].target, failure);
    }
    // Every file is new and will stay so. Where the rest cannot be done now,
    // the journal stays for the next start to end the press with.
    enterPhase(PressPhase::FolderFlushes);
    if (!makeLasting(moves.mid(before), &failure, &folder))
        return true;
    enterPhase(PressPhase::OldFiles);
    if (!removeRemovedFiles(moves, &failure))
        return true;
    enterPhase(PressPhase::Journal);
    if (!removeJournal(&failure))
        return true;
    // The old files the new ones replaced are of no use now: they go once
    // the game has been started, or at the next start, whichever comes first.
    for (const Move &move : qAsConst(moves)) {
        if (move.kind != Move::Replace)
            continue;
        if (oldFileCanWait(move.target))
            work->oldFiles << asideOf(move.target);
        else
            files::remove(asideOf(move.target), &failure);
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

bool putInPlace(PressWork *work, Box *box)
{
    if (putInOneBurst(work->changes)) {
        if (!putTogether(work, box))
            return false;
    } else {
        files::Failure failure;
        for (const Change &change : qAsConst(work->changes)) {
            if (!change.optional && !putAlone(change, &work->oldFiles, &failure)) {
                *box = messages::cannotChange(change, failure);
                return false;
            }
        }
        for (const Change &change : QVector<Change>(work->changes)) {
            if (change.optional && !putAlone(change, &work->oldFiles, &failure))
                keepPreferences(work, change.target, failure);
        }
    }
    // The scratch folders no old file waits in go now.
    files::Failure ignored;
    for (const QString &folder : qAsConst(work->foldersMade))
        files::remove(folderMadeMarkIn(folder), &ignored);
    removeWorkFolders(*work, true);
    return true;
}

void removeOldFiles(const PressWork &work)
{
    files::Failure ignored;
    for (const QString &old : work.oldFiles)
        files::remove(old, &ignored);
    removeWorkFolders(work, false);
}
