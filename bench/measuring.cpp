// SPDX-License-Identifier: GPL-3.0-or-later
#include "measuring.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

QTextStream out(stdout);

SampleInstallation layOut(const QString &root)
{
    SampleInstallation sample(root);
    if (!QDir().mkpath(root) || !sample.create())
        fail("cannot lay out a sample installation in " + root);
    qputenv("XDG_DATA_HOME", QFile::encodeName(sample.userDataHome()));
    return sample;
}

void fail(const QString &what)
{
    QTextStream(stderr) << "velmarch_bench: " << what << '\n';
    std::exit(1);
}

double elapsedMs(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void row(const QString &figure, const QString &median, const QString &spread, const QString &goal)
{
    out << figure.leftJustified(54) << median.rightJustified(12) << "  " << spread.leftJustified(22)
        << goal << '\n';
}

QString ms(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1) + " ms";
}

void timingsRow(const QString &figure, const Timings &t, const QString &goal)
{
    row(figure, ms(t.median()), ms(t.min()) + " .. " + ms(t.max()), goal);
}

void ratioRow(const QString &figure, const Timings &ratios, const QString &goal)
{
    const auto ratio = [](double value) { return QString::number(value, 'f', 3); };
    if (ratios.ms.isEmpty())
        row(figure, "n/a", "", goal);
    else
        row(figure, ratio(ratios.median()), ratio(ratios.min()) + " .. " + ratio(ratios.max()),
            goal);
}
