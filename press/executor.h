#pragma once

#include "staging/filestep.h"

#include <QStringList>

struct PressReport
{
    QStringList errors; // the texts of the "Error" boxes to show, in order
    bool stopped = false; // a step failed and the steps after it were not taken
};

// What a press tells while it runs, and asks before each step. Called on the
// thread that runs the press.
class PressObserver
{
public:
    virtual ~PressObserver() = default;
    // Bytes copied so far of all the press copies, and the file being copied
    // as the player would name it.
    virtual void copied(const QString &file, qint64 done, qint64 total) = 0;
    // True ends the press before the next step.
    virtual bool stopRequested() = 0;
};

// Applies a press's steps in order; the one place where a press changes files.
// A copy whose target is already in place is skipped. A file that cannot be
// put in place or removed stops the press. The game's own files are never
// removed without their replacement: where its source is missing, the file is
// kept and the report says so in one box.
PressReport executePlan(const FilePlan &plan, PressObserver *observer = nullptr);
