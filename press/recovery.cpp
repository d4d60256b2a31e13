// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery.h"

#include "installation/playernames.h"
#include "journal.h"
#include "messages.h"
#include "scratch.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool isThere(const QString &path)
{
    return files::entryAt(path) != files::Entry::None;
}

bool isFile(const QString &path)
{
    return files::entryAt(path) == files::Entry::File;
}

// Without a journal to trust, what the disk shows of a burst is taken back:
// a target with its old file aside gets it back. An added file cannot be told
// from the player's own and stays; so every file ends old or new.
QVector<Move> takenBackByDisk()
{
    QVector<Move> moves;
    for (const PressFolder &folder : pressFolders()) {
        if (files::entryAt(folder.path + scratchFolderName) != files::Entry::Folder)
            continue;
        for (const QString &name : folder.names) {
            const QString target = folder.path + name;
            const Move move {target, Move::Replace};
            files::Failure ignored;
            if (isFile(asideOf(target)) && back(move, &ignored))
                moves << move;
        }
    }
    return moves;
}

// What presses left in one folder's scratch folder. A prepared file is
// removed; a kept-aside one where its target is whole, and otherwise put
// back. Only the names a press makes are touched.
void sweep(const PressFolder &folder)
{
    files::Failure ignored;
    for (const QString &name : folder.names) {
        // Launchers before the scratch folders prepared a copy beside its target.
        if (isFile(folder.path + name + QStringLiteral(".velmarch-new")))
            files::remove(folder.path + name + QStringLiteral(".velmarch-new"), &ignored);
    }
    const QString scratch = folder.path + scratchFolderName;
    if (files::entryAt(scratch) != files::Entry::Folder)
        return;
    for (const QString &name : folder.names) {
        const QString target = folder.path + name;
        if (isFile(freshOf(target)))
            files::remove(freshOf(target), &ignored);
        if (!isFile(asideOf(target)))
            continue;
        const files::Entry whole = files::entryAt(target);
        if (whole == files::Entry::None)
            files::move(asideOf(target), target, &ignored);
        else if (whole != files::Entry::Folder)
            files::remove(asideOf(target), &ignored);
    }
    removeMadeFolder(folder.path);
    files::removeFolder(scratch, &ignored);
}

// Another account's press, stopped in its burst, stays for its launcher to
// end, but leaves no file of the game's or the mod's folders absent: a
// half-made move there is put back to not begun, a state its journal still
// allows. Its scripts folder is not this account's to touch.
Recovery leftToOtherAccount(const Journal &journal)
{
    QVector<Move> putBack;
    for (const Move &move : journal.moves) {
        files::Failure ignored;
        const auto target = pressTargetAt(move.target);
        if (target && target->root != PressRoot::Scripts && stageOf(move) == Stage::Half
            && back(move, &ignored))
            putBack << move;
    }
    files::Failure ignored;
    QString folder;
    makeLasting(putBack, &ignored, &folder);
    Recovery recovery;
    recovery.outcome = Recovery::OtherAccount;
    recovery.box = messages::otherAccountsPress(journal.account, journal.scripts);
    return recovery;
}

Recovery held(const Box &box)
{
    Recovery recovery;
    recovery.outcome = Recovery::Held;
    recovery.box = box;
    return recovery;
}

// The burst finished from where it stands, or, where a move cannot be made,
// every move taken back.
Recovery followJournal(const Journal &journal)
{
    const QVector<Move> &moves = journal.moves;
    const int before = movesBeforeLast(moves);
    files::Failure failure;
    int done = journal.done;
    while (done < before && forward(moves[done], &failure))
        ++done;
    const bool finished = done >= before;
    QString folder;
    if (!finished && !takeBack(moves, moves.size() - 1, &failure))
        return held(messages::couldNotPut(moves[done].target, failure));
    // The preferences never take a press back: new, or as they were.
    QStringList kept;
    for (int last = qMax(done, before); finished && last < moves.size(); ++last) {
        if (!forward(moves[last], &failure))
            kept << playerNames::inPlace(moves[last].target) + QStringLiteral(": ")
                    + messages::preferencesKept(failure).wayOut;
    }
    if (!makeLasting(moves, &failure, &folder))
        return held(messages::notLasting(folder, failure));
    if ((finished && !removeRemovedFiles(moves, &failure)) || !removeJournal(&failure))
        return held(messages::couldNotRemove(journalPath(), failure));
    Recovery recovery;
    recovery.outcome = finished ? Recovery::Finished : Recovery::TakenBack;
    recovery.keptAsTheyWere = kept;
    return recovery;
}

} // namespace

QString keptJournalPath()
{
    return QStringLiteral("../velmarch-press-journal.untrusted.json");
}

Recovery recoverInterruptedPress()
{
    Recovery recovery;
    const Journal journal = readJournal();
    if (journal.state == Journal::OtherAccount)
        return leftToOtherAccount(journal);
    if (journal.state == Journal::Trusted) {
        recovery = followJournal(journal);
        if (recovery.outcome == Recovery::Held)
            return recovery;
    } else if (journal.state == Journal::Untrusted) {
        files::Failure ignored;
        QString folder;
        makeLasting(takenBackByDisk(), &ignored, &folder);
        files::move(journalPath(), keptJournalPath(), &ignored);
        recovery.outcome = Recovery::Untrusted;
        recovery.box = messages::untrustedJournal(journalPath(), keptJournalPath());
    }
    QVector<PressFolder> folders = pressFolders();
    // A scripts folder found again by its place, which the game's own may
    // not be now (Steam rewriting the game's manifest).
    if (journal.state == Journal::Trusted && !journal.scriptsHere.isEmpty()
        && std::none_of(folders.begin(), folders.end(), [&](const PressFolder &folder) {
               return folder.path == journal.scriptsHere;
           }))
        folders << PressFolder {journal.scriptsHere, scriptsFileNames()};
    for (const PressFolder &folder : qAsConst(folders))
        sweep(folder);
    return recovery;
}

bool pressWasInterrupted()
{
    if (isThere(journalPath()))
        return true;
    for (const PressFolder &folder : pressFolders()) {
        if (isThere(folder.path + scratchFolderName))
            return true;
    }
    return false;
}
