// SPDX-License-Identifier: GPL-3.0-or-later
#include "scratch.h"

#include <QDir>
#include <QFile>
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

namespace {

// No press makes more than the scripts folder and the two that hold it.
constexpr int mostLevels = 3;

bool isEmptyFolder(const QString &folder)
{
    return QDir(folder)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
        .isEmpty();
}

} // namespace

bool markFolderMade(const QString &folder, int levels, files::Failure *failure)
{
    const QString mark = folderMadeMarkIn(folder);
    return (files::entryAt(QFileInfo(mark).path()) == files::Entry::Folder
            || files::makeFolder(QFileInfo(mark).path(), failure))
        && files::writeFlushed(mark, QByteArray::number(levels), failure);
}

void removeMadeFolder(const QString &folder)
{
    const QString mark = folderMadeMarkIn(folder);
    const QString scratch = QFileInfo(mark).path();
    QFile file(mark);
    if (files::entryAt(mark) != files::Entry::File || !file.open(QIODevice::ReadOnly)
        || QDir(scratch).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                   | QDir::NoDotAndDotDot)
            != QStringList(QFileInfo(mark).fileName()))
        return;
    // Read back from the disk: only what a press could have written counts.
    const int levels = qBound(1, file.read(8).toInt(), mostLevels);
    file.close();
    files::Failure ignored;
    if (!files::remove(mark, &ignored) || !files::removeFolder(scratch, &ignored))
        return;
    QString level = QDir::cleanPath(folder);
    for (int made = 0; made < levels; ++made, level = QFileInfo(level).path()) {
        if (files::removeFolder(level, &ignored))
            continue;
        if (made == 0 && isEmptyFolder(level))
            markFolderMade(folder, levels, &ignored);
        return;
    }
}
