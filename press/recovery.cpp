// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery.h"

#include "journal.h"
#include "messages.h"
#include "scratch.h"

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
    const QString mark = folderMadeMarkIn(folder.path);
    const bool made = isFile(mark) && files::remove(mark, &ignored);
    if (files::removeFolder(scratch, &ignored) && made)
        files::removeFolder(folder.path, &ignored);
}

Recovery followJournal(const QVector<Move> &moves)
{
    Recovery recovery;
    files::Failure failure;
    int done = 0;
    while (done < moves.size() && forward(moves[done], &failure))
        ++done;
    const bool finished = done == moves.size();
    QString folder;
    if (!finished && !takeBack(moves, moves.size() - 1, &failure)) {
        recovery.outcome = Recovery::Held;
        recovery.box = messages::couldNotPut(moves[done].target, failure);
        return recovery;
    }
    if (!makeLasting(moves, &failure, &folder)) {
        recovery.outcome = Recovery::Held;
        recovery.box = messages::notLasting(folder, failure);
        return recovery;
    }
    if ((finished && !removeRemovedFiles(moves, &failure))
        || !files::remove(journalPath(), &failure)) {
        recovery.outcome = Recovery::Held;
        recovery.box = messages::couldNotRemove(journalPath(), failure);
        return recovery;
    }
    // A journal back after a power cut would put that press's files in place again.
    if (!finished)
        files::flushFolder(QFileInfo(journalPath()).path(), {}, &failure);
    recovery.outcome = finished ? Recovery::Finished : Recovery::TakenBack;
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
    if (journal.state == Journal::Trusted) {
        recovery = followJournal(journal.moves);
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
    for (const PressFolder &folder : pressFolders())
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
