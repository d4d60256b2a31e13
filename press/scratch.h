// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/filelayer.h"

#include <QLatin1String>
#include <QString>

// Where a press prepares the new file of a target and keeps its old one
// aside: a folder in the target's own folder, so that putting a file in place
// is one move on one drive. Every name here is worked out from the target,
// never read from a file.
extern const QLatin1String scratchFolderName;
QString scratchFolderOf(const QString &target);
QString asideOf(const QString &target); // the old file, while the press may need it back
QString freshOf(const QString &target); // the new file, until it is put in place

// A folder a press made (the mod's Temp folder, a new player's scripts
// folder) is marked in its scratch folder, with how many folders the press
// made: the folder and those that hold it. The mark goes once the press
// has ended; a press that did not end leaves it, and the folders go again
// with its other leftovers.
QString folderMadeMarkIn(const QString &folder);
bool markFolderMade(const QString &folder, int levels, files::Failure *failure);
// Removes a marked folder and the folders made with it, where nothing else is
// in them. Where the folder is empty but cannot be removed now (a scanner
// holds it), the mark stays for the next start.
void removeMadeFolder(const QString &folder);
