// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "executor.h"
#include "presswork.h"

// The third stage of a press: every new file written whole and flushed in the
// scratch folder beside its target (scratch.h), and the folders the plan
// makes, each marked as made by the press until the press has ended. False, with
// the box to show, when a file cannot be prepared, or none when the press is
// to stop; discard() then takes back what was prepared.
bool prepare(PressWork *work, PressObserver *observer, Box *box);

// Removes every file the press prepared or kept aside, its work folders and
// the folders it made. What cannot be removed now is removed by the next
// press or the next start of the launcher.
void discard(const PressWork &work);
