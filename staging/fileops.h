// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "press/filestep.h"

// Battles and campaigns both start with the mod's boot pack, one of the
// game's own files.
FileStep replaceBootPack();
// A player who never started the game has no scripts folder yet: a press
// makes it where the folder that holds it is there.
FileStep makeScriptsFolder();
