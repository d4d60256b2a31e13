// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The file operations a press makes, in the platform's own calls
// (filelayer_unix.cpp, filelayer_win.cpp; the lock in filelock_*.cpp), so
// that each either does all it says or nothing, and says why it failed in
// the system's words.
namespace files {

struct Failure
{
    Failure() = default;
    Failure(const QString &reason, bool held, const QString &wayOut = QString())
        : reason(reason)
        , held(held)
        , wayOut(wayOut)
    {
    }

    QString reason; // the system's words
    bool held = false; // another program holds the file: the game, a scanner
    QString wayOut; // what the player can do, where more is known than the system says
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
// Gives a file a second name on its volume, which keeps the file and its
// space when the first name is moved over; fails where the drive keeps one
// name a file (FAT32, exFAT) or the second name is taken.
bool link(const QString &file, const QString &secondName, Failure *failure);
// Removes a file, also a read-only one; a missing one is not an error.
bool remove(const QString &path, Failure *failure);
bool makeFolder(const QString &path, Failure *failure);
// Removes an empty folder.
bool removeFolder(const QString &path, Failure *failure);
// Makes the renames into and out of a folder last through a power cut: on
// Linux the folder itself is flushed; on Windows too where the drive lets it,
// otherwise the files moved into it are (NTFS keeps its names in a log that
// a file's flush commits). A drive that cannot flush is no failure.
bool flushFolder(const QString &folder, const QStringList &movedIn, Failure *failure);

// What is at a path, the link itself where there is one: a symbolic link, a
// junction or another reparse point is Other, which a press never enters,
// moves or empties.
enum class Entry { None, File, Folder, Other };
Entry entryAt(const QString &path);
// True when another program holds the file so that it can be neither moved
// nor removed, as the running game holds its packs on Windows. Elsewhere a
// file can always be moved, and this is false.
bool isHeld(const QString &path);

// An exclusive lock on a file, which the system releases when its holder
// ends, however it ends: a killed launcher leaves no lock behind, whichever
// account it ran as. The file itself stays.
class FileLock
{
public:
    explicit FileLock(const QString &path);
    ~FileLock();
    // False with failure->held where another holder has it.
    bool tryLock(Failure *failure);

private:
    Q_DISABLE_COPY(FileLock)
    QString m_path;
    qintptr m_handle = -1;
};

// Every operation above but isHeld, entryAt and the lock, as a watcher is
// told of it before it is made; a Flush is that of the file a copy or a write
// has just made.
struct Operation
{
    enum Kind { Copy, Write, Flush, Move, Remove, MakeFolder, RemoveFolder, FlushFolder, Link };
    Kind kind;
    QString path; // the file or folder made, flushed, moved or linked (its new name), removed
    qint64 bytes; // written by a copy or a write
    QString from; // the old name of a moved file, the first of a linked one
};

// For tests and the benchmark: the watcher answers 0 for the operation to go
// ahead, or a system error number (errno; on Windows a GetLastError() code)
// for it to fail as the system would with it. One at a time; an empty one
// ends the watching. Set it while no press runs.
using Watcher = std::function<int(const Operation &)>;
void watch(const Watcher &watcher);

// System error numbers for a watcher's answers: a drive that failed, and one
// that does not support the operation.
extern const int driveFailed;
extern const int notSupported;

} // namespace files
