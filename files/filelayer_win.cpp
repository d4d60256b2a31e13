// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelayer_p.h"

#include "winpath.h"

#include <QDeadlineTimer>

#include <windows.h>

namespace {

// Virus scanners, the search indexer, cloud and backup tools open new and
// changed files for a moment. A call that meets such a hold is tried again,
// with growing waits, for this long in all before it counts as failed.
constexpr int briefHoldMs = 2000;

// How the system says that another program holds the file. A move or a
// removal of a file open elsewhere is refused as access denied, the answer
// also for a file the user may not change; the read-only attribute is
// cleared before a removal, so that one is left.
enum class Held { AsSharing, AsSharingOrAccess };

bool isHoldError(DWORD error, Held held)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION
        || (held == Held::AsSharingOrAccess && error == ERROR_ACCESS_DENIED);
}

template<typename Call> bool retriedWhileHeld(Call call, Held held = Held::AsSharing)
{
    const QDeadlineTimer deadline(briefHoldMs);
    DWORD waitMs = 10;
    while (!call()) {
        const DWORD error = GetLastError();
        if (!isHoldError(error, held) || deadline.hasExpired()) {
            SetLastError(error);
            return false;
        }
        Sleep(DWORD(qBound<qint64>(1, waitMs, deadline.remainingTime())));
        waitMs = qMin<DWORD>(waitMs * 2, 250);
    }
    return true;
}

DWORD attributesOf(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str());
}

// A link's attributes may be set through to what it points to: a link is
// never taken as read-only here.
bool isReadOnly(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)
        && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Packs copied from a disc, an old backup or some archive tools carry the
// read-only attribute, which the system's copy carries over and which
// stops a removal.
bool setAttributes(const std::wstring &path, DWORD attributes)
{
    return SetFileAttributesW(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

// Whether another program has the file open without letting it be moved or
// removed: the game, or a scanner that holds on.
bool isHeldOpen(const std::wstring &path)
{
    HANDLE handle
        = CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// The system's reason; a refusal over a file another program has open says
// so, whichever of its answers the system gave.
bool failed(files::Failure *failure, const std::wstring &path = std::wstring())
{
    const DWORD error = GetLastError();
    *failure = files::native::failureOf(int(error));
    failure->held
        = failure->held || (error == ERROR_ACCESS_DENIED && !path.empty() && isHeldOpen(path));
    return false;
}

DWORD CALLBACK reportCopied(LARGE_INTEGER, LARGE_INTEGER copied, LARGE_INTEGER, LARGE_INTEGER,
                            DWORD, DWORD, HANDLE, HANDLE, LPVOID progress)
{
    (*static_cast<const files::CopyProgress *>(progress))(copied.QuadPart);
    return PROGRESS_CONTINUE;
}

// Whether the drive has no flush for the call, as shared folders of virtual
// machines and some virtual drives have none.
bool cannotFlush(DWORD error)
{
    return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED;
}

// Flushes the file to disk. Some drives cannot (shared folders of virtual
// machines, some virtual drives): the data is then as safe as they keep it.
bool flushed(HANDLE handle, const QString &path)
{
    DWORD error = DWORD(files::injectedError(files::Operation::Flush, path));
    if (error == 0 && !FlushFileBuffers(handle))
        error = GetLastError();
    SetLastError(error);
    return error == 0 || cannotFlush(error);
}

// Others may read the file meanwhile, but not change it.
bool flush(const std::wstring &file, const QString &path)
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (!retriedWhileHeld([&] {
            handle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            return handle != INVALID_HANDLE_VALUE;
        }))
        return false;
    const bool done = flushed(handle, path);
    const DWORD error = GetLastError();
    CloseHandle(handle);
    SetLastError(error);
    return done;
}

// Removes what a failed copy or write left, keeping the reason.
bool removeFailed(const std::wstring &path, files::Failure *failure)
{
    failed(failure);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    return false;
}

// Makes a call that a read-only file at the path would stop, the attribute
// cleared for it and put back if the call fails; a file held for a moment is
// tried again. Where the call fails, whether the file it works on is held
// tells what stopped it.
template<typename Call>
bool whileWritable(const std::wstring &path, const std::wstring &workedOn, files::Failure *failure,
                   Call call)
{
    const DWORD attributes = attributesOf(path);
    if (isReadOnly(attributes) && !setAttributes(path, attributes & ~FILE_ATTRIBUTE_READONLY))
        return failed(failure, path);
    if (retriedWhileHeld(call, Held::AsSharingOrAccess))
        return true;
    failed(failure, workedOn);
    if (isReadOnly(attributes))
        setAttributes(path, attributes);
    return false;
}

} // namespace

namespace files {
const int driveFailed = ERROR_GEN_FAILURE;
const int notSupported = ERROR_INVALID_FUNCTION;
} // namespace files

namespace files::native {

Failure failureOf(int error)
{
    return {qt_error_string(error), isHoldError(DWORD(error), Held::AsSharing)};
}

// The system's copy carries the modification time over by itself.
bool copyFlushed(const QString &source, const QString &copy, const CopyProgress &progress,
                 Failure *failure)
{
    const std::wstring from = windowsPath(source);
    const std::wstring to = windowsPath(copy);
    if (!retriedWhileHeld([&] {
            return CopyFileExW(from.c_str(), to.c_str(), progress ? reportCopied : nullptr,
                               const_cast<CopyProgress *>(&progress), nullptr,
                               COPY_FILE_FAIL_IF_EXISTS);
        }))
        return failed(failure, from);
    const DWORD attributes = attributesOf(to);
    if (isReadOnly(attributes) && !setAttributes(to, attributes & ~FILE_ATTRIBUTE_READONLY))
        return removeFailed(to, failure);
    return flush(to, copy) || removeFailed(to, failure);
}

bool writeFlushed(const QString &path, const QByteArray &bytes, Failure *failure)
{
    const std::wstring file = windowsPath(path);
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return failed(failure);
    DWORD written = 0;
    const bool done = WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr)
        && written == DWORD(bytes.size()) && flushed(handle, path);
    const DWORD error = GetLastError();
    CloseHandle(handle);
    SetLastError(error);
    return done || removeFailed(file, failure);
}

// A file is renamed whatever its attributes; a read-only one in the way is
// replaced all the same.
bool move(const QString &from, const QString &to, Failure *failure)
{
    const std::wstring source = windowsPath(from);
    const std::wstring target = windowsPath(to);
    return whileWritable(target, source, failure, [&] {
        return MoveFileExW(source.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    });
}

bool link(const QString &file, const QString &secondName, Failure *failure)
{
    return CreateHardLinkW(windowsPath(secondName).c_str(), windowsPath(file).c_str(), nullptr)
        || failed(failure);
}

bool remove(const QString &path, Failure *failure)
{
    const std::wstring file = windowsPath(path);
    if (attributesOf(file) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || failed(failure);
    }
    return whileWritable(file, file, failure, [&] { return DeleteFileW(file.c_str()); });
}

bool makeFolder(const QString &path, Failure *failure)
{
    return CreateDirectoryW(windowsPath(path).c_str(), nullptr) || failed(failure);
}

bool removeFolder(const QString &path, Failure *failure)
{
    const std::wstring folder = windowsPath(path);
    return retriedWhileHeld([&] { return RemoveDirectoryW(folder.c_str()); }) || failed(failure);
}

// A hold of a moment is waited for, as by every other call here.
bool isHeld(const QString &path)
{
    const std::wstring file = windowsPath(path);
    return !retriedWhileHeld([&] { return !isHeldOpen(file); });
}

// NTFS flushes a folder opened for writing; where a drive or the system
// refuses that, a flush of each file moved in commits the volume's log of
// names, which holds the folder's renames too.
bool flushFolder(const QString &folder, const QStringList &movedIn, Failure *failure)
{
    DWORD error = DWORD(injectedError(Operation::FlushFolder, folder));
    if (error == 0) {
        HANDLE handle = CreateFileW(windowsPath(folder).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle))
            error = GetLastError();
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    if (error == 0)
        return true;
    if (!cannotFlush(error) && error != ERROR_ACCESS_DENIED && error != ERROR_INVALID_PARAMETER) {
        SetLastError(error);
        return failed(failure);
    }
    // One file whose flush commits the log is enough; a read-only one (an
    // old file kept aside) cannot be opened to be flushed.
    for (const QString &file : movedIn) {
        if (!flush(windowsPath(file), file) && GetLastError() != ERROR_ACCESS_DENIED)
            return failed(failure);
    }
    return true;
}

Entry entryAt(const QString &path)
{
    const DWORD attributes = attributesOf(windowsPath(path));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Entry::None
                                                                              : Entry::Other;
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return Entry::Other;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? Entry::Folder : Entry::File;
}

} // namespace files::native
