// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filestep.h"
#include "lastpress.h"

#include <QStringList>

#include <functional>

struct PressReport
{
    Boxes errors; // the "Error" boxes to show, in order
    bool stopped = false; // nothing was changed: the game must not be started
};

// What a press tells while it runs, and asks as it goes. Called on the thread
// that runs the press.
class PressObserver
{
public:
    virtual ~PressObserver() = default;
    // Bytes copied so far of all the press copies, and the file being copied
    // as the player would name it.
    virtual void copied(const QString &file, qint64 done, qint64 total) = 0;
    // True ends the press before it changes any file.
    virtual bool stopRequested() = 0;
    // Once every file is as the press leaves it and the report of the last
    // press is written, so that the game may be started: the press then keeps
    // its record of copies and deletes the old files it replaced, which
    // nobody waits for.
    virtual void pressEnded(const PressReport &) { }
};

// Carries a press's plan out, the one place where a press changes files, one
// way: it works out what each file becomes, checks what it can, prepares every
// new file beside its target, puts them all in place in one burst, and then
// writes the report of the last press, keeps its record of copies and
// deletes the old files. Either every
// file ends as the plan says or, where the press stops, every file is as it
// was. The game's own files are never removed without their replacement:
// where its source is missing, the file is kept and one box says so. One
// press at a time for an installation: a second waits a moment for the first,
// then says that another launcher is at work.
PressReport executePlan(const FilePlan &plan, PressObserver *observer = nullptr,
                        const PressDescription &description = PressDescription());

// A press as a button asks for it. Its plan is worked out from the mod's
// folders as they are once the press has the installation to itself and a
// press that did not end has been set right, which may have changed them.
struct PressRequest
{
    std::function<FilePlan()> plan;
    QString button; // as its caption reads
    // The choices the plan was made from, a line each, as the report lists them.
    std::function<QStringList(const FilePlan &)> describe;
};
PressReport executePress(const PressRequest &request, PressObserver *observer = nullptr);

// At the launcher's start: finishes what a launcher killed during a press
// left, unless another launcher is pressing, and says so in the report of the
// last press. The box to show the player, if any: a journal found that the
// launcher could not have written, or another account's press.
Box finishInterruptedPress();
