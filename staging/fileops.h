// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filestep.h"

#include <QStringList>

// True only for an existing regular file; a folder of that name is not one.
bool isExistingFile(const QString &path);

// Names (not paths) of a folder's files or subfolders, ordered by name ignoring
// case. A missing folder gives an empty list.
QStringList listFiles(const QString &folder);
QStringList listSubfolders(const QString &folder);

// Battles and campaigns both start with the mod's boot pack, one of the
// game's own files.
FileStep replaceBootPack();
// A player who never started the game has no scripts folder yet: a press
// makes it where the folder that holds it is there.
FileStep makeScriptsFolder();
