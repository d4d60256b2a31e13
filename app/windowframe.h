// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

class QScreen;

// The room the frame takes that the system or the window manager draws
// around the window on this screen (title bar and borders), in the screen's
// pixels; nothing where no one draws a frame.
QSize windowFramePixels(QScreen *screen);
