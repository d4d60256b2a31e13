// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Where the player asked Qt programs for a platform this program does not
// carry (QT_QPA_PLATFORM=wayland, say, where the bundle carries X11's, which
// Wayland desktops serve too), Qt falls back to the program's own instead of
// ending without a window. Returns the player's setting, which
// restorePlatformChoice puts back once the application is made, so that the
// game and Steam's command see it unchanged.
QByteArray addOwnPlatformAsFallback();
void restorePlatformChoice(const QByteArray &choice);
