// SPDX-License-Identifier: GPL-3.0-or-later
#include "filestamp.h"

#include <QFile>

#include <sys/stat.h>
#include <sys/statfs.h>

namespace {

qint64 nanoseconds(const timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// The file systems that keep a change time and give a new file an identity
// of its own, by the number statfs() names them with.
bool keepsIdentities(__fsword_t type)
{
    switch (quint32(type)) {
    case 0xEF53: // ext2, ext3, ext4
    case 0x9123683E: // btrfs
    case 0x58465342: // xfs
    case 0xF2F52010: // f2fs
    case 0x2FC12FC1: // zfs
    case 0xCA451A4E: // bcachefs
    case 0x3153464A: // jfs
    case 0x52654973: // reiserfs
    case 0x7366746E: // ntfs3
    case 0x794C7630: // overlayfs over one of these
    case 0x01021994: // tmpfs
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<FileStamp> stampOf(const QString &path)
{
    struct stat status;
    if (stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    FileStamp stamp;
    stamp.size = status.st_size;
    stamp.modified = nanoseconds(status.st_mtim);
    stamp.changed = nanoseconds(status.st_ctim);
    stamp.volume = status.st_dev;
    stamp.index = status.st_ino;
    return stamp;
}

QString whyStampsMislead(const QString &path)
{
    struct statfs system;
    if (statfs(QFile::encodeName(path).constData(), &system) != 0)
        return QStringLiteral("the launcher cannot tell what its drive keeps");
    if (keepsIdentities(system.f_type))
        return QString();
    if (system.f_type == 0x4D44 || system.f_type == 0x2011BAB0) // FAT, exFAT
        return QStringLiteral("its drive is FAT32 or exFAT, which keeps no change time and "
                              "gives a file made anew the identity of the one it replaced");
    return QStringLiteral("the launcher cannot tell whether its drive's file system (%1) keeps a "
                          "change time and a lasting identity for each file")
        .arg(quint32(system.f_type), 0, 16);
}
