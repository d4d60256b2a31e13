// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presswork.h"

// The fourth stage of a press: every prepared file put in place and every old
// one moved aside, one move each in one short burst, after a journal names
// them all; the moves are made lasting on every drive before the journal
// goes. A move that fails, or a prepared file that is gone, takes every file
// back to what it was before the press: false, with the box to show. Once
// all are in place, the player's preferences are put in place alone, or left
// as they are with a box, and the old files are deleted.
bool putInPlace(PressWork *work, QString *box);
// Whether the changes are put in place in one burst, each old file kept
// aside until all are done; otherwise the one file is put in place alone.
bool putInOneBurst(const QVector<Change> &changes);
