#include "filelayer_p.h"

#include <QFileInfo>

namespace files {

namespace {

Watcher watcher;

// Asks the watcher, if any, whether the operation may go ahead.
bool allowed(Operation::Kind kind, const QString &path, qint64 bytes, Failure *failure)
{
    if (!watcher || watcher({kind, path, bytes}))
        return true;
    *failure = {QStringLiteral("the operation was made to fail"), false};
    return false;
}

} // namespace

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
    return allowed(Operation::Move, to, 0, failure) && native::move(from, to, failure);
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

bool isHeld(const QString &path)
{
    return native::isHeld(path);
}

void watch(const Watcher &newWatcher)
{
    watcher = newWatcher;
}

} // namespace files
