// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "executor.h"
#include "presswork.h"

// Where a press prepares the new files of a folder and keeps its old ones
// aside: a folder of that folder's own, so that putting a file in place is
// one move on one drive.
QString workFolderOf(const QString &target);
extern const QLatin1String workFolderName;

// The third stage of a press: every new file written whole and flushed in the
// work folder beside its target, and the folders the plan makes. False, with
// the box to show, when a file cannot be prepared, or none when the press is
// to stop; discard() then takes back what was prepared.
bool prepare(PressWork *work, PressObserver *observer, QString *box);

// Removes every file the press prepared or kept aside, its work folders and
// the folders it made. What cannot be removed now is removed by the next
// press or the next start of the launcher.
void discard(const PressWork &work);
