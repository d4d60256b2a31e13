// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

class QWidget;

// Gives every screen the scale at which the window, frame included, fits the
// screen's work area (the screen without its taskbar): the screen's own where
// it fits, else the largest that fits, never below 100 % where 100 % fits and
// never below 85 %. Each screen keeps a scale of its own, so the window takes
// the right one on whichever screen it opens on or is moved to; a screen
// plugged in later gets its scale as it comes. Call after the application is
// made and before the window is, so that its background and text are drawn
// for that scale.
void fitScreens(const QSize &designed);

// The scale for a window of `designed` pixels at 100 % on a screen of scale
// `own` whose work area leaves `room` of its pixels beside the frame.
qreal fittedScale(qreal own, const QSize &room, const QSize &designed);

// Keeps the window at its designed size in the scale of whichever screen it is
// moved to: left alone, Windows and X11 carry its pixels over, which squeezes
// or spreads out its layout on a screen of another scale.
void keepDesignedSizeOnEveryScreen(QWidget *window, const QSize &designed);
