#pragma once

#include "filestep.h"

#include <QStringList>

struct PressReport
{
    QStringList errors; // the texts of the "Error" boxes to show, in order
    bool stopped = false; // a step failed and the steps after it were not taken
};

// Applies a press's steps in order; the one place where a press changes files.
// A file that cannot be put in place or removed stops the press. The game's
// own files are never removed without their replacement: where its source is
// missing, the file is kept and the report says so in one box.
PressReport executePlan(const FilePlan &plan);
