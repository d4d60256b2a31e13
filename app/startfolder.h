// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Started from another folder (a desktop entry, Steam, a file manager), the
// launcher works from its own folder when that lies in the game's
// installation as a launcher's folder does; otherwise it stays where it was
// started, whose window then offers nothing to press.
void workFromOwnFolder();
