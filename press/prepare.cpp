// SPDX-License-Identifier: GPL-3.0-or-later
#include "prepare.h"

#include "installation/playernames.h"
#include "messages.h"
#include "putinplace.h"
#include "scratch.h"

#include <QDir>
#include <QFileInfo>

namespace {

class Preparation
{
public:
    Preparation(PressWork *work, PressObserver *observer)
        : m_work(*work)
        , m_observer(observer)
    {
        for (const Change &change : work->changes) {
            if (change.kind == Change::Copy)
                m_total += QFileInfo(change.source).size();
        }
        m_together = putInOneBurst(work->changes);
    }

    bool makeFolders(Box *box);
    bool prepare(Change *change, files::Failure *failure);

private:
    bool makeWorkFolder(const QString &folder, files::Failure *failure);
    bool copy(Change *change, files::Failure *failure);

    PressWork &m_work;
    PressObserver *m_observer;
    qint64 m_total = 0;
    qint64 m_done = 0;
    bool m_together = false; // several files, each put in place with its old one kept aside
};

// Each folder missing between the one to make and its holder is made,
// outermost first, and the folder marked as made by the press.
bool Preparation::makeFolders(Box *box)
{
    for (const FolderToMake &toMake : qAsConst(m_work.foldersToMake)) {
        const QString folder = QDir::cleanPath(toMake.folder);
        const QString holder
            = toMake.holder.isEmpty() ? QFileInfo(folder).path() : QDir::cleanPath(toMake.holder);
        QStringList missing;
        for (QString level = folder; level != holder && !QDir(level).exists();
             level = QFileInfo(level).path()) {
            if (QFileInfo(level).path() == level) // a drive's root
                break;
            missing.prepend(level);
        }
        if (missing.isEmpty())
            continue;
        // The holder went since the press was worked out (Steam cleared the
        // game's prefix): the press makes none.
        if (!QDir(QFileInfo(missing.first()).path()).exists()) {
            *box = toMake.holder.isEmpty()
                ? messages::folderNotMade(folder, {QStringLiteral("its folder is missing"), false})
                : messages::noFolderForScripts(toMake.holder);
            return false;
        }
        files::Failure failure;
        for (int made = 0; made < missing.size(); ++made) {
            if (files::makeFolder(missing[made], &failure))
                continue;
            for (--made; made >= 0; --made)
                files::removeFolder(missing[made], &failure);
            *box = messages::folderNotMade(missing.last(), failure);
            return false;
        }
        // A launcher killed from here on leaves the mark for the next to
        // find, and that one removes the folders again.
        if (!markFolderMade(folder, missing.size(), &failure)) {
            files::Failure ignored;
            files::removeFolder(QFileInfo(folderMadeMarkIn(folder)).path(), &ignored);
            for (auto level = missing.crbegin(); level != missing.crend(); ++level)
                files::removeFolder(*level, &ignored);
            *box = messages::folderNotMade(folder, failure);
            return false;
        }
        m_work.foldersMade << folder;
        m_work.workFolders << QFileInfo(folderMadeMarkIn(folder)).path();
    }
    return true;
}

// A scratch folder left with files the launcher did not make is used as it
// is; one that is a link is never entered (the checks stop the press first).
bool Preparation::makeWorkFolder(const QString &folder, files::Failure *failure)
{
    if (m_work.workFolders.contains(folder))
        return true;
    if (files::entryAt(folder) != files::Entry::Folder && !files::makeFolder(folder, failure))
        return false;
    m_work.workFolders << folder;
    return true;
}

bool Preparation::copy(Change *change, files::Failure *failure)
{
    const QString name = playerNames::locate(change->target).name;
    qint64 copied = 0;
    const auto progress = [&](qint64 bytes) {
        copied = bytes;
        if (m_observer)
            m_observer->copied(name, m_done + copied, qMax(m_total, m_done + copied));
    };
    progress(0);
    change->sourceStamp = stampOf(change->source);
    const bool done = files::copyFlushed(change->source, change->fresh, progress, failure);
    // Also where the system's copy tells nothing as it goes (Wine's).
    const qint64 size = change->sourceStamp ? change->sourceStamp->size : copied;
    if (done && copied < size)
        progress(size);
    m_done += copied;
    return done;
}

bool Preparation::prepare(Change *change, files::Failure *failure)
{
    if (!makeWorkFolder(scratchFolderOf(change->target), failure))
        return false;
    // A file alone, and the player's preferences, are put in place by one
    // move over the old file.
    if (m_together && !change->optional && files::entryAt(change->target) != files::Entry::None)
        change->aside = asideOf(change->target);
    if (change->kind == Change::Remove)
        return true;
    change->fresh = freshOf(change->target);
    const bool made = change->kind == Change::Copy
        ? copy(change, failure)
        : files::writeFlushed(change->fresh, change->bytes, failure);
    change->freshStamp = stampOf(change->fresh);
    return made;
}

} // namespace

bool prepare(PressWork *work, PressObserver *observer, Box *box)
{
    Preparation preparation(work, observer);
    if (!preparation.makeFolders(box))
        return false;
    for (int i = 0; i < work->changes.size(); ++i) {
        if (observer && observer->stopRequested())
            return false;
        Change &change = work->changes[i];
        files::Failure failure;
        if (preparation.prepare(&change, &failure))
            continue;
        if (!change.optional) {
            *box = messages::cannotChange(change, failure);
            return false;
        }
        work->notices << messages::preferencesKept(failure);
        work->changes.remove(i--);
    }
    return !(observer && observer->stopRequested());
}

void discard(const PressWork &work)
{
    files::Failure ignored;
    for (const Change &change : work.changes) {
        if (!change.fresh.isEmpty())
            files::remove(change.fresh, &ignored);
    }
    for (const QString &folder : work.foldersMade)
        removeMadeFolder(folder);
    for (const QString &folder : work.workFolders)
        files::removeFolder(folder, &ignored);
}
