// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presswork.h"

// The fourth stage of a press: every prepared file put in place and every old
// one moved aside, one move each in one short burst, after a journal names
// them all; the moves are made lasting on every drive before the journal
// goes. A move that fails, or a prepared file that is gone, takes every file
// back to what it was before the press: false, with the box to show. Once
// all are in place, the player's preferences are put in place alone, or left
// as they are with a box; the old files are then of no more use.
bool putInPlace(PressWork *work, Box *box);
// Deletes the old files a press that ended put aside, and its scratch
// folders: what a start after a kill would sweep, done once nobody waits.
void removeOldFiles(const PressWork &work);
// Whether the changes are put in place in one burst, each old file kept
// aside until all are done; otherwise the one file is put in place alone.
bool putInOneBurst(const QVector<Change> &changes);
