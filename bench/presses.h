// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A "Classic battles" and a "Bavaria" campaign press on packs of realistic
// size, each paired with the platform's own durable copy of the same packs;
// the same press again with its packs in place, and one with only another
// interface size. Rows of the benchmark's table.
void battlePress(const QString &root, int runs);
void campaignPress(const QString &root, int runs);
