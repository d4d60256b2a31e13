// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// What the mod's folders hold, as the plans and the window list it.

// True only for an existing regular file; a folder of that name is not one.
bool isExistingFile(const QString &path);

// Names (not paths) of a folder's files or subfolders, ordered by name ignoring
// case. A missing folder gives an empty list.
QStringList listFiles(const QString &folder);
QStringList listSubfolders(const QString &folder);
