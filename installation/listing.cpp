// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing.h"

#include <QDir>
#include <QFileInfo>

bool isExistingFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QStringList listFiles(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
}

QStringList listSubfolders(const QString &folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
}
