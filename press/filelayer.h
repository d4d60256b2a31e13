#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The file operations a press makes, in the platform's own calls (one file
// per platform: filelayer_unix.cpp, filelayer_win.cpp), so that each either
// does all it says or nothing, and says why it failed in the system's words.
namespace files {

struct Failure
{
    QString reason; // the system's words
    bool held = false; // another program holds the file: the game, a scanner
};

// Told the bytes of the source copied so far, as the copy goes.
using CopyProgress = std::function<void(qint64 copied)>;

// Copies the source to a new file and flushes it to disk. The copy carries
// its source's modification time and is never read-only. On failure nothing
// of the copy is left.
bool copyFlushed(const QString &source, const QString &copy, const CopyProgress &progress,
                 Failure *failure);
// Writes the bytes to a new file and flushes it to disk; on failure nothing
// of it is left.
bool writeFlushed(const QString &path, const QByteArray &bytes, Failure *failure);
// Renames a file within its volume; a file at the new name is replaced.
bool move(const QString &from, const QString &to, Failure *failure);
// Removes a file, also a read-only one; a missing one is not an error.
bool remove(const QString &path, Failure *failure);
bool makeFolder(const QString &path, Failure *failure);
// Removes an empty folder.
bool removeFolder(const QString &path, Failure *failure);
// True when another program holds the file so that it can be neither moved
// nor removed, as the running game holds its packs on Windows. Elsewhere a
// file can always be moved, and this is false.
bool isHeld(const QString &path);

// Every operation above but isHeld, as a watcher is told of it before it is
// made.
struct Operation
{
    enum Kind { Copy, Write, Move, Remove, MakeFolder, RemoveFolder };
    Kind kind;
    QString path; // the file or folder made, moved, removed
    qint64 bytes; // written by a copy or a write
};

// For tests and the benchmark: a watcher that answers false makes the
// operation fail as if the system had refused it. One at a time; an empty
// one ends the watching. Set it while no press runs.
using Watcher = std::function<bool(const Operation &)>;
void watch(const Watcher &watcher);

} // namespace files
