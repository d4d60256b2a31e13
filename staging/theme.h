// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "press/filestep.h"

// The theme whose music a plan stages as the Temp folder's theme pack: the
// one picked, or the one drawn for the random theme. Empty where the plan
// stages none.
QString stagedTheme(const FilePlan &plan);
