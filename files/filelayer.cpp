// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelayer_p.h"

#include <QFileInfo>

namespace files {

namespace {

Watcher watcher;

bool allowed(Operation::Kind kind, const QString &path, qint64 bytes, Failure *failure,
             const QString &from = QString())
{
    const int error = injectedError(kind, path, bytes, from);
    if (error != 0)
        *failure = native::failureOf(error);
    return error == 0;
}

} // namespace

int injectedError(Operation::Kind kind, const QString &path, qint64 bytes, const QString &from)
{
    return watcher ? watcher({kind, path, bytes, from}) : 0;
}

bool copyFlushed(const QString &source, const QString &copy, const CopyProgress &progress,
                 Failure *failure)
{
    return allowed(Operation::Copy, copy, QFileInfo(source).size(), failure)
        && native::copyFlushed(source, copy, progress, failure);
}

bool writeFlushed(const QString &path, const QByteArray &bytes, Failure *failure)
{
    return allowed(Operation::Write, path, bytes.size(), failure)
        && native::writeFlushed(path, bytes, failure);
}

bool move(const QString &from, const QString &to, Failure *failure)
{
    return allowed(Operation::Move, to, 0, failure, from) && native::move(from, to, failure);
}

bool link(const QString &file, const QString &secondName, Failure *failure)
{
    return allowed(Operation::Link, secondName, 0, failure, file)
        && native::link(file, secondName, failure);
}

bool remove(const QString &path, Failure *failure)
{
    return allowed(Operation::Remove, path, 0, failure) && native::remove(path, failure);
}

bool makeFolder(const QString &path, Failure *failure)
{
    return allowed(Operation::MakeFolder, path, 0, failure) && native::makeFolder(path, failure);
}

bool removeFolder(const QString &path, Failure *failure)
{
    return allowed(Operation::RemoveFolder, path, 0, failure)
        && native::removeFolder(path, failure);
}

// Its watcher is asked by the platform's code, which tells a drive that
// cannot flush from one that failed.
bool flushFolder(const QString &folder, const QStringList &movedIn, Failure *failure)
{
    return native::flushFolder(folder, movedIn, failure);
}

bool isHeld(const QString &path)
{
    return native::isHeld(path);
}

Entry entryAt(const QString &path)
{
    return native::entryAt(path);
}

void watch(const Watcher &newWatcher)
{
    watcher = newWatcher;
}

} // namespace files
