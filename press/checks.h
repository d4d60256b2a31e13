// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presswork.h"

// The second stage of a press: what can be known before any file is touched.
// The player's own read-only script files, files another program holds, and
// the free space on each drive for every new file at once. False, with the
// box to show, when the press cannot be made. The player's preferences that
// cannot be changed are left out of the press, with a box.
bool checkPress(PressWork *work, Box *box);
