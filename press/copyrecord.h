// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/filestamp.h"

#include <QHash>
#include <QMap>
#include <QString>

// Which source the launcher copied to each target it put in place, with the
// stamps of both files right after the copy. A copy need not be made again
// only when the record names the same source and neither file has changed
// since: many targets are fed by several sources of one size and time (one
// pack per interface size, theme or tint), so size and time alone would keep
// the wrong pack.
//
// The record is the launcher's own, kept beside its settings. A record that
// is missing, unreadable or another launcher's is taken as empty: it only
// costs one full copy. On a drive whose stamps cannot tell files apart
// (FAT32, exFAT, one the launcher cannot name) nothing is taken as copied:
// the record says why, and every press copies there.
class CopyRecord
{
public:
    static const QLatin1String fileName;

    static CopyRecord load();
    // Written whole, so that a crash leaves the old record or the new one.
    // Does nothing when nothing changed since load().
    bool save();

    // True when target holds a copy of source that neither file has left.
    bool holds(const QString &source, const QString &target) const;
    // Called right after source was copied to target, with the source's
    // stamp from before the copy and the copy's before it was put in place: a
    // source that changed meanwhile, or a target that does not hold the copy,
    // is not taken as copied.
    void remember(const QString &source, const std::optional<FileStamp> &sourceBefore,
                  const QString &target, const std::optional<FileStamp> &copy);
    // Called when target was removed or may no longer be what was recorded.
    void forget(const QString &target);

private:
    struct Copy
    {
        QString source;
        FileStamp sourceStamp;
        FileStamp targetStamp;
    };

    // Why stamps cannot be trusted for the file, empty where they can; asked
    // once for each folder.
    QString whyUntrusted(const QString &path) const;

    QMap<QString, Copy> m_copies; // keyed by target
    QMap<QString, QString> m_copiedEveryTime; // why, by target
    mutable QHash<QString, QString> m_folderTrust;
    bool m_changed = false;
};
