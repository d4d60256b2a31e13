// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelayer_p.h"

#include "winpath.h"

#include <windows.h>

namespace files {

FileLock::FileLock(const QString &path)
    : m_path(path)
{
}

FileLock::~FileLock()
{
    if (m_handle != -1)
        CloseHandle(HANDLE(m_handle));
}

// Another account's lock file may be open to reading only; it is locked all
// the same.
bool FileLock::tryLock(Failure *failure)
{
    const std::wstring path = windowsPath(m_path);
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (lock == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        lock = CreateFileW(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (lock == INVALID_HANDLE_VALUE) {
        *failure = native::failureOf(int(GetLastError()));
        return false;
    }
    OVERLAPPED whole = {};
    if (!LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        *failure = native::failureOf(int(GetLastError()));
        failure->held = true;
        CloseHandle(lock);
        return false;
    }
    m_handle = qintptr(lock);
    return true;
}

} // namespace files
