// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// Marks the scratch folder of a folder the press made (the mod's Temp
// folder): that folder goes again with the press's other leftovers when the
// press did not end, unless it holds files.
QString folderMadeMarkIn(const QString &folder);
