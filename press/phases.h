// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// The stages of a press in the order it goes through them, as the benchmark
// times them: each lasts until the next is entered. A stage may be entered
// again (the journal, written and later removed).
enum class PressPhase {
    Checks, // the lock, a killed press's recovery, the plan worked out and checked
    Prepare, // the new files copied or written and flushed beside their targets
    Journal, // written and its folder flushed; later removed
    Burst, // the moves into place
    FolderFlushes, // of the folders the moves changed
    OldFiles, // the old files kept aside removed, and the scratch folders
    Report, // of the last press
    Record, // of the copies
    Done,
};

// For the benchmark: told on the press's own thread as each stage begins.
// Set it while no press runs; an empty one ends the watching.
using PhaseWatcher = std::function<void(PressPhase)>;
void watchPhases(const PhaseWatcher &watcher);
void enterPhase(PressPhase phase);
