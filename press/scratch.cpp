// SPDX-License-Identifier: GPL-3.0-or-later
#include "scratch.h"

#include <QFileInfo>

const QLatin1String scratchFolderName(".velmarch-press");

QString scratchFolderOf(const QString &target)
{
    return QFileInfo(target).path() + '/' + scratchFolderName;
}

QString asideOf(const QString &target)
{
    return scratchFolderOf(target) + QStringLiteral("/old.") + QFileInfo(target).fileName();
}

QString freshOf(const QString &target)
{
    return scratchFolderOf(target) + QStringLiteral("/new.") + QFileInfo(target).fileName();
}

QString folderMadeMarkIn(const QString &folder)
{
    return scratchFolderOf(folder + (folder.endsWith('/') ? "x" : "/x"))
        + QStringLiteral("/folder-made");
}
