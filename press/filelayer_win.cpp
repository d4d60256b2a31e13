#include "filelayer_p.h"

#include "winpath.h"

#include <QDeadlineTimer>

#include <windows.h>

namespace {

// Virus scanners, the search indexer, cloud and backup tools open new and
// changed files for a moment. A call that meets such a hold is tried again,
// with growing waits, for this long in all before it counts as failed.
constexpr int briefHoldMs = 2000;

// How the system says that another program holds the file. A move over a
// file or a removal of one that is open elsewhere is refused as access
// denied, the answer also for a file the user may not change; the read-only
// attribute is cleared before those, so that one is left.
enum class Held { AsSharing, AsSharingOrAccess };

template<typename Call> bool retriedWhileHeld(Call call, Held held = Held::AsSharing)
{
    const QDeadlineTimer deadline(briefHoldMs);
    DWORD waitMs = 10;
    while (!call()) {
        const DWORD error = GetLastError();
        const bool isHeld = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION
            || (held == Held::AsSharingOrAccess && error == ERROR_ACCESS_DENIED);
        if (!isHeld || deadline.hasExpired()) {
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

bool isReadOnly(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// Packs copied from a disc, an old backup or some archive tools carry the
// read-only attribute, which the system's copy carries over and which
// stops a move over the file or its removal.
bool setAttributes(const std::wstring &path, DWORD attributes)
{
    return SetFileAttributesW(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

bool failed(QString *reason)
{
    *reason = qt_error_string(int(GetLastError()));
    return false;
}

DWORD CALLBACK reportCopied(LARGE_INTEGER, LARGE_INTEGER copied, LARGE_INTEGER, LARGE_INTEGER,
                            DWORD, DWORD, HANDLE, HANDLE, LPVOID progress)
{
    (*static_cast<const CopyProgress *>(progress))(copied.QuadPart);
    return PROGRESS_CONTINUE;
}

// Others may read the copy meanwhile, but not change it.
bool flush(const std::wstring &path)
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (!retriedWhileHeld([&] {
            handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            return handle != INVALID_HANDLE_VALUE;
        }))
        return false;
    const bool flushed = FlushFileBuffers(handle);
    const DWORD error = GetLastError();
    CloseHandle(handle);
    SetLastError(error);
    return flushed;
}

// A read-only target is replaced all the same; it keeps its attribute only
// when the move fails.
bool moveOver(const std::wstring &copy, const std::wstring &target)
{
    const DWORD attributes = attributesOf(target);
    if (isReadOnly(attributes) && !setAttributes(target, attributes & ~FILE_ATTRIBUTE_READONLY))
        return false;
    if (retriedWhileHeld(
            [&] {
                return MoveFileExW(copy.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            },
            Held::AsSharingOrAccess))
        return true;
    const DWORD error = GetLastError();
    if (isReadOnly(attributes))
        setAttributes(target, attributes);
    SetLastError(error);
    return false;
}

} // namespace

namespace platform {

// The system's copy carries the modification time over by itself.
bool copyFlushAndMove(const QString &source, const QString &temporary, const QString &target,
                      const CopyProgress &progress, QString *reason)
{
    const std::wstring from = windowsPath(source);
    const std::wstring copy = windowsPath(temporary);
    const std::wstring to = windowsPath(target);
    if (!retriedWhileHeld([&] {
            return CopyFileExW(from.c_str(), copy.c_str(), progress ? reportCopied : nullptr,
                               const_cast<CopyProgress *>(&progress), nullptr,
                               COPY_FILE_FAIL_IF_EXISTS);
        }))
        return failed(reason);
    const DWORD attributes = attributesOf(copy);
    if (isReadOnly(attributes) && !setAttributes(copy, attributes & ~FILE_ATTRIBUTE_READONLY))
        return failed(reason);
    if (!flush(copy) || !moveOver(copy, to))
        return failed(reason);
    return true;
}

bool removeFile(const QString &path, QString *reason)
{
    const std::wstring file = windowsPath(path);
    const DWORD attributes = attributesOf(file);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return true;
        return failed(reason);
    }
    if (isReadOnly(attributes) && !setAttributes(file, attributes & ~FILE_ATTRIBUTE_READONLY))
        return failed(reason);
    if (retriedWhileHeld([&] { return DeleteFileW(file.c_str()); }, Held::AsSharingOrAccess))
        return true;
    const DWORD error = GetLastError();
    if (isReadOnly(attributes))
        setAttributes(file, attributes);
    SetLastError(error);
    return failed(reason);
}

} // namespace platform
