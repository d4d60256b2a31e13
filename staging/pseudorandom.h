// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The tint and the random theme are drawn from Qt's process-wide generator,
// seeded once when the window is built. qsrand and qrand are deprecated in
// newer Qt; the launcher keeps them so that both draws share one sequence.
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

inline void seedPseudoRandom(uint seed)
{
    qsrand(seed);
}

inline int drawPseudoRandom()
{
    return qrand();
}

QT_WARNING_POP
