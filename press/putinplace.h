// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presswork.h"

// The fourth stage of a press: every prepared file put in place and every old
// one moved aside, one move each in one short burst, after a journal names
// them all. A move that fails takes every file back to what it was before
// the press: false, with the box to show. Once all are in place, the old
// files are deleted.
bool putInPlace(PressWork *work, QString *box);

// Finishes a burst that a killed launcher left half done, or takes it back
// where it cannot be finished, so that every file is whole and all of one
// press; then removes what presses left aside or half prepared. False, with
// the box to show, when files are held and it must be tried again; what
// presses left is then kept for that.
bool recoverInterruptedPress(QString *box);
// Whether there is anything for recoverInterruptedPress to do.
bool pressWasInterrupted();
