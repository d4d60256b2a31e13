// SPDX-License-Identifier: GPL-3.0-or-later
#include "phases.h"

namespace {

PhaseWatcher phaseWatcher;

} // namespace

void watchPhases(const PhaseWatcher &watcher)
{
    phaseWatcher = watcher;
}

void enterPhase(PressPhase phase)
{
    if (phaseWatcher)
        phaseWatcher(phase);
}
