// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QVector>

#include <algorithm>

// Milliseconds of repeated runs of one thing.
struct Timings
{
    QVector<double> ms;

    double median() const
    {
        QVector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const int n = sorted.size();
        return n == 0 ? 0 : n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double min() const { return ms.isEmpty() ? 0 : *std::min_element(ms.begin(), ms.end()); }
    double max() const { return ms.isEmpty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};
