// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Starts the game at the given path, relative to the working directory, as a
// process of its own that inherits that directory, or through Steam when the
// game lies in a Steam library outside Windows; does not wait for it.
void startGame(const QString &executable);
