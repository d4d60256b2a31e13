// SPDX-License-Identifier: GPL-3.0-or-later
#include "putinplace.h"

#include "journal.h"
#include "messages.h"
#include "prepare.h"
#include "staging/roots.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString absolute(const QString &path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

// Every file back where it was, the last moved first.
bool takeBack(const QVector<Move> &moves, int moved)
{
    bool complete = true;
    for (int i = moved; i >= 0; --i) {
        files::Failure ignored;
        complete = back(moves[i], &ignored) && complete;
    }
    return complete;
}

// What a press left behind in one folder it writes to: its work folder, and
// the copies that launchers before this one left beside their targets.
void removeLeftoversIn(const QString &folder)
{
    files::Failure ignored;
    const QString work = folder + '/' + workFolderName;
    const QDir::Filters everyFile = QDir::Files | QDir::Hidden | QDir::System;
    for (const QString &name : QDir(work).entryList(everyFile))
        files::remove(work + '/' + name, &ignored);
    if (QFileInfo::exists(work))
        files::removeFolder(work, &ignored);
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.velmarch-new")}, everyFile))
        files::remove(dir.filePath(name), &ignored);
}

} // namespace

bool putInPlace(PressWork *work, QString *box)
{
    QVector<Move> moves;
    for (const Change &change : qAsConst(work->changes))
        moves << Move {absolute(change.target), absolute(change.aside), absolute(change.fresh)};
    files::Failure failure;
    // A file alone is whole at every moment of its one move or removal: it
    // needs no journal.
    if (moves.size() > 1 && !writeJournal(moves, &failure)) {
        *box = messages::couldNotPut(journalPath(), failure);
        return false;
    }
    int moved = 0;
    while (moved < moves.size() && forward(moves[moved], &failure))
        ++moved;
    if (moved < moves.size()) {
        *box = messages::cannotChange(work->changes[moved], failure);
        // A file that cannot be taken back now is taken back by the next
        // launcher, as the journal says, from the files kept for it.
        work->leftToJournal = !takeBack(moves, moved);
        if (work->leftToJournal)
            return false;
    }
    // The old files are kept for as long as the journal may need them.
    const bool journalGone = moves.size() < 2 || files::remove(journalPath(), &failure);
    if (moved < moves.size())
        return false;
    files::Failure ignored;
    for (const Change &change : qAsConst(work->changes)) {
        if (journalGone && !change.aside.isEmpty())
            files::remove(change.aside, &ignored);
    }
    for (const QString &folder : qAsConst(work->workFolders))
        files::removeFolder(folder, &ignored);
    return true;
}

bool pressWasInterrupted()
{
    if (QFileInfo::exists(journalPath()))
        return true;
    for (const QString &folder : stagingFolders()) {
        if (QFileInfo::exists(folder + '/' + workFolderName))
            return true;
    }
    return false;
}

bool recoverInterruptedPress(QString *box)
{
    if (const auto moves = readJournal()) {
        files::Failure failure;
        int done = 0;
        while (done < moves->size() && forward(moves->at(done), &failure))
            ++done;
        if (done < moves->size() && !takeBack(*moves, moves->size() - 1)) {
            *box = messages::couldNotPut(QDir::cleanPath(moves->at(done).target), failure);
            return false;
        }
    }
    files::Failure ignored;
    if (QFileInfo::exists(journalPath()))
        files::remove(journalPath(), &ignored);
    for (const QString &folder : stagingFolders())
        removeLeftoversIn(folder);
    return true;
}
