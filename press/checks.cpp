// SPDX-License-Identifier: GPL-3.0-or-later
#include "checks.h"

#include "installation/playernames.h"
#include "installation/roots.h"
#include "messages.h"
#include "scratch.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QStorageInfo>

namespace {

// The player's own files in the scripts folder keep their read-only
// protection; the mod's packs do not.
bool isProtected(const QString &target)
{
    const QFileInfo file(target);
    return target.startsWith(gameScriptsFolder()) && file.isFile() && !file.isWritable();
}

// The nearest folder that is there: a file goes on its drive.
QString existingFolderOf(const QString &target)
{
    QDir folder = QFileInfo(target).absoluteDir();
    while (!folder.exists() && folder.cdUp()) { }
    return folder.absolutePath();
}

qint64 bytesOf(const Change &change)
{
    // A file takes whole blocks of its drive.
    constexpr qint64 block = 4 << 10;
    const qint64 size = change.kind == Change::Copy ? QFileInfo(change.source).size()
        : change.kind == Change::Write              ? change.bytes.size()
                                                    : 0;
    return (size + block - 1) / block * block;
}

// Every new file is written before any old one goes, so each drive needs room
// for all of its new files at once.
bool hasSpace(const PressWork &work, Box *box)
{
    // For the folders' own growth.
    constexpr qint64 slack = 64 << 10;
    struct Drive
    {
        QStorageInfo storage;
        QString place; // the first folder of the press on it
        qint64 needed = slack;
    };
    QMap<QString, Drive> drives;
    // Each reads the system's whole table of mounts: once a folder.
    QHash<QString, QStorageInfo> folders;
    for (const Change &change : work.changes) {
        const QString folder = existingFolderOf(change.target);
        auto found = folders.find(folder);
        if (found == folders.end())
            found = folders.insert(folder, QStorageInfo(folder));
        const QStorageInfo &storage = *found;
        // The preferences never stop a press: without room they are left as they are.
        if (change.kind == Change::Remove || change.optional || !storage.isValid())
            continue;
        Drive &drive = drives[storage.rootPath()];
        if (drive.place.isEmpty())
            drive = {storage, playerNames::locate(change.target).place};
        drive.needed += bytesOf(change);
    }
    for (const Drive &drive : qAsConst(drives)) {
        const qint64 available = drive.storage.bytesAvailable();
        if (available >= 0 && drive.needed > available) {
            *box = messages::notEnoughSpace(drive.needed - available, drive.place);
            return false;
        }
    }
    return true;
}

// Why the file cannot be changed, if it cannot.
std::optional<files::Failure> obstacleTo(const Change &change)
{
    if (!pressTargetAt(change.target))
        return files::Failure {QStringLiteral("the launcher never changes that file"), false};
    const files::Entry scratch = files::entryAt(scratchFolderOf(change.target));
    if (scratch != files::Entry::None && scratch != files::Entry::Folder)
        return files::Failure {
            QStringLiteral("%1 beside it is a link or a file, where the launcher makes a folder "
                           "of its own")
                .arg(scratchFolderName),
            false, QStringLiteral("Remove it, then press again.")};
    if (files::entryAt(change.target) == files::Entry::Other)
        return files::Failure {QStringLiteral("it is a link, and the launcher puts files in place, "
                                              "not links"),
                               false, QStringLiteral("Remove the link, then press again.")};
    if (QFileInfo(change.target).isDir())
        return files::Failure {QStringLiteral("a folder of that name is in the way"), false,
                               QStringLiteral("Move that folder elsewhere, then press again.")};
    if (isProtected(change.target))
        return files::Failure {QStringLiteral("it is read-only"), false, messages::clearReadOnly};
    if (files::isHeld(change.target))
        return files::Failure {QString(), true};
    return std::nullopt;
}

} // namespace

bool checkPress(PressWork *work, Box *box)
{
    *box = work->refused;
    for (int i = 0; i < work->changes.size() && box->isEmpty(); ++i) {
        const Change &change = work->changes[i];
        const auto obstacle = obstacleTo(change);
        if (obstacle && change.optional) {
            work->notices << messages::preferencesKept(*obstacle);
            work->changes.remove(i--);
        } else if (obstacle) {
            *box = messages::cannotChange(change, *obstacle);
        }
    }
    return box->isEmpty() && hasSpace(*work, box);
}
