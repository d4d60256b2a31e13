// SPDX-License-Identifier: GPL-3.0-or-later
#include "phasetable.h"

#include "measuring.h"

namespace {

Timings phaseOf(const QVector<Press> &presses, int phase)
{
    Timings timings;
    for (const Press &press : presses) {
        if (phase < phaseCount)
            timings.ms << press.phases.value(Phase(phase));
        else
            timings.ms << (phase == phaseCount ? press.ms : press.finishedMs);
    }
    return timings;
}

QString medianOf(const QVector<Press> &presses, int phase)
{
    return presses.isEmpty() ? QString() : ms(phaseOf(presses, phase).median());
}

} // namespace

void phaseTable(const QString &title, const QVector<Press> &presses, const QVector<double> &ratios)
{
    QVector<Press> fast, slow;
    for (int i = 0; i < presses.size(); ++i)
        (ratios.value(i) > slowRatio ? slow : fast) << presses[i];
    out << '\n'
        << title << " (" << presses.size() << " presses; slow: above " << slowRatio
        << " times their copy)\n";
    out << QString("phase").leftJustified(54) << QString("median").rightJustified(12)
        << QString("fast (%1)").arg(fast.size()).rightJustified(12)
        << QString("slow (%1)").arg(slow.size()).rightJustified(12)
        << QString("slow - fast").rightJustified(13) << '\n';
    for (int phase = 0; phase <= phaseCount + 1; ++phase) {
        const QString name = phase < phaseCount ? phaseName(Phase(phase))
            : phase == phaseCount               ? QString("until the game is started")
                                                : QString("until the press has finished");
        QString grew;
        if (!slow.isEmpty() && !fast.isEmpty())
            grew = ms(phaseOf(slow, phase).median() - phaseOf(fast, phase).median());
        out << name.leftJustified(54) << medianOf(presses, phase).rightJustified(12)
            << medianOf(fast, phase).rightJustified(12) << medianOf(slow, phase).rightJustified(12)
            << grew.rightJustified(13) << '\n';
    }
}
