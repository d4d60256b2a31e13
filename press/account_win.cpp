// SPDX-License-Identifier: GPL-3.0-or-later
#include "account.h"

#include "files/winpath.h"

#include <QDir>

#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

#include <vector>

namespace account {

QString currentId()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return QString();
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<char> buffer(size);
    QString id;
    wchar_t *text = nullptr;
    if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)
        && ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid, &text)) {
        id = QString::fromWCharArray(text);
        LocalFree(text);
    }
    CloseHandle(token);
    return id;
}

QString nameOf(const QString &id)
{
    PSID sid = nullptr;
    // Only a SID's text names an account; the older journal names none.
    if (!id.startsWith(QLatin1String("S-"))
        || !ConvertStringSidToSidW(reinterpret_cast<const wchar_t *>(id.utf16()), &sid))
        return QString();
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameSize = 256;
    DWORD domainSize = 256;
    SID_NAME_USE use;
    const bool found = LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use);
    LocalFree(sid);
    return found ? QString::fromWCharArray(name) : QString();
}

QString resolvedPath(const QString &path)
{
    // A folder opens only with backup semantics; nothing is read or written.
    const HANDLE handle = CreateFileW(windowsPath(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return QString();
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), DWORD(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetFinalPathNameByHandleW(handle, buffer.data(), DWORD(buffer.size()), 0);
    }
    CloseHandle(handle);
    if (length == 0 || length >= buffer.size())
        return QString();
    QString resolved = QString::fromWCharArray(buffer.data(), int(length));
    // The long form's prefix, which the same place may be named with or without.
    if (resolved.startsWith(QLatin1String("\\\\?\\UNC\\")))
        resolved = QLatin1String("\\\\") + resolved.mid(8);
    else if (resolved.startsWith(QLatin1String("\\\\?\\")))
        resolved = resolved.mid(4);
    return QDir::fromNativeSeparators(resolved);
}

} // namespace account
