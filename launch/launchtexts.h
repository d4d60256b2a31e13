// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace launchTexts {

// The game was there, but the system or Steam did not start it.
QString gameNotStarted(const QString &reason, bool throughSteam);

} // namespace launchTexts
