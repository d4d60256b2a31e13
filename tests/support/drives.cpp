// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives.h"

#include <QDirIterator>

// Copies a folder's tree, empty folders too.
bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString copy = to + path.mid(from.size());
        if (!(it.fileInfo().isDir() ? QDir().mkpath(copy) : QFile::copy(path, copy)))
            return false;
    }
    return true;
}
