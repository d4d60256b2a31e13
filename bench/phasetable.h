// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "launcherpress.h"

#include <QVector>

// A press slower than this against its paired copy is a slow one.
constexpr double slowRatio = 1.15;

// The median time of each phase of the presses, and where some were slow
// against their paired copies (ratios, in the same order; empty for none),
// the slow ones' apart from the fast ones', and what grew between them.
void phaseTable(const QString &title, const QVector<Press> &presses,
                const QVector<double> &ratios = {});
