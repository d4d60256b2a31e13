// SPDX-License-Identifier: GPL-3.0-or-later
#include "filestamp.h"

#include "winpath.h"

#include <windows.h>

namespace {

qint64 ticks(DWORD high, DWORD low)
{
    return qint64((quint64(high) << 32) | low);
}

} // namespace

std::optional<FileStamp> stampOf(const QString &path)
{
    // Opened for its attributes only, so that no other program is in the way.
    HANDLE handle = CreateFileW(windowsPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information;
    FILE_BASIC_INFO basic;
    const bool known = GetFileInformationByHandle(handle, &information)
        && GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic);
    CloseHandle(handle);
    if (!known || (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    FileStamp stamp;
    stamp.size = ticks(information.nFileSizeHigh, information.nFileSizeLow);
    stamp.modified = ticks(information.ftLastWriteTime.dwHighDateTime,
                           information.ftLastWriteTime.dwLowDateTime);
    stamp.changed = basic.ChangeTime.QuadPart;
    stamp.volume = information.dwVolumeSerialNumber;
    stamp.index = quint64(ticks(information.nFileIndexHigh, information.nFileIndexLow));
    return stamp;
}

QString whyStampsMislead(const QString &path)
{
    wchar_t root[MAX_PATH + 1];
    wchar_t system[MAX_PATH + 1];
    if (!GetVolumePathNameW(windowsPath(path).c_str(), root, MAX_PATH + 1)
        || !GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, system,
                                  MAX_PATH + 1))
        return QStringLiteral("the launcher cannot tell what its drive keeps");
    const QString name = QString::fromWCharArray(system);
    if (name == QLatin1String("NTFS") || name == QLatin1String("ReFS"))
        return QString();
    if (name.contains(QLatin1String("FAT"), Qt::CaseInsensitive))
        return QStringLiteral("its drive is %1, which keeps no change time and gives a file "
                              "made anew the identity of the one it replaced")
            .arg(name);
    return QStringLiteral("the launcher cannot tell whether its drive's file system (%1) keeps a "
                          "change time and a lasting identity for each file")
        .arg(name);
}
