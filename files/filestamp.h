// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// What tells one state of a file from another without reading it: its size
// and modification time, and what a replacement or a rewrite by any program
// changes even when it sets the size and time back (the file's identity on
// its volume, and the time its metadata last changed).
struct FileStamp
{
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds (Windows: 100 ns units) since the system's epoch
    qint64 changed = 0; // the same units
    quint64 volume = 0;
    quint64 index = 0;

    bool operator==(const FileStamp &other) const
    {
        return size == other.size && modified == other.modified && changed == other.changed
            && volume == other.volume && index == other.index;
    }
    bool operator!=(const FileStamp &other) const { return !(*this == other); }
    // The same file, moved or renamed since (which changes its change time).
    bool isMovedFrom(const FileStamp &other) const
    {
        return size == other.size && modified == other.modified && volume == other.volume
            && index == other.index;
    }

    // One line of text, and back; nothing for a text that is not one.
    QString toText() const;
    static std::optional<FileStamp> fromText(const QString &text);
};

// The stamp of a regular file; nothing for anything else or nothing there.
std::optional<FileStamp> stampOf(const QString &path);

// Why stamps cannot tell one state of a file from another on the file system
// the path is on, in words a player understands; empty where they can: where
// the file system keeps a change time and a file made anew does not get back
// the identity of the one it replaced (NTFS, ReFS, ext4, btrfs, xfs and the
// like). FAT32 and exFAT keep neither; a file system the launcher cannot
// name is not trusted either.
QString whyStampsMislead(const QString &path);
