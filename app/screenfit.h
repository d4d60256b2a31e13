#pragma once

#include <QSize>

class QScreen;

// Sets the scale the window opens at on the screen: the screen's own, or, where
// the window with its frame would not fit into the screen's available area
// (the work area without the taskbar), the largest scale that fits; never
// below 100 %. Called once, before the window is made, so that its background
// and text are drawn for that scale.
void fitScaleToScreen(QScreen *screen, const QSize &designed);
