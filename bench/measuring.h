// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sampleinstallation.h"
#include "timings.h"

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

// What every part of the benchmark shares: the installations it measures in,
// and its table, one row a figure, on standard output.
extern QTextStream out;

// A sample installation at root, its per-user folder never the real one.
SampleInstallation layOut(const QString &root);

[[noreturn]] void fail(const QString &what);
double elapsedMs(const QElapsedTimer &timer);

void row(const QString &figure, const QString &median, const QString &spread, const QString &goal);
QString ms(double value);
void timingsRow(const QString &figure, const Timings &t, const QString &goal);
void ratioRow(const QString &figure, const Timings &ratios, const QString &goal);
