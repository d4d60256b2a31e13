// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <qglobal.h>

class Ui_ZolmLauncher;

// The window's font, compiled in, registered once for the application.
void registerFont();
// Each control's font at the window's scale (1 for its 700 by 700 design).
void setControlFonts(Ui_ZolmLauncher *ui, qreal shrink);
