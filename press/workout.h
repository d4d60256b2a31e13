// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "copyrecord.h"
#include "filestep.h"
#include "presswork.h"

// The first stage of a press: what the plan's steps come to, file by file,
// against the files as they are now. The last step for a file decides what
// it becomes, so a campaign's movie pack, staged by the theme and removed at
// the end, is never copied. Files already as they would become are left out:
// a copy the record holds, a write of the bytes the file has, a removal of a
// file that is not there. A step never reads a file that another step
// writes: every new file is prepared before any is put in place.
PressWork workOut(const FilePlan &plan, const CopyRecord &record);
