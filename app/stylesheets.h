// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The window's look in its gold and brown over the picture: its buttons,
// boxes and lists, where the keyboard is, and the controls a press disables,
// with the design's lengths for a window shrunk by `shrink`.
QString windowStyleSheet(qreal shrink);
// The progress of a long press, over the picture above the options.
QString pressPanelStyleSheet();
