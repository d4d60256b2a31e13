// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "press/box.h"

#include <QString>

namespace launchTexts {

// The game was there, but the system or Steam did not start it.
Box gameNotStarted(const QString &reason, bool throughSteam);

} // namespace launchTexts
