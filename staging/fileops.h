#pragma once

#include <QStringList>

// True only for an existing regular file; a folder of that name is not one.
bool isExistingFile(const QString &path);

// Names (not paths) of a folder's files or subfolders, ordered by name ignoring
// case. A missing folder gives an empty list.
QStringList listFiles(const QString &folder);
QStringList listSubfolders(const QString &folder);

// A copy never overwrites, so a target is removed first. Neither result is
// looked at: a missing source leaves the target absent, and a target that
// cannot be removed keeps its old content.
void replaceByCopy(const QString &source, const QString &target);

// Battles and campaigns both start with the mod's boot pack.
void replaceBootPack();
