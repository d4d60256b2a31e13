// SPDX-License-Identifier: GPL-3.0-or-later
#include "executor.h"

#include "checks.h"
#include "copyrecord.h"
#include "lastpress.h"
#include "messages.h"
#include "prepare.h"
#include "putinplace.h"
#include "workout.h"

#include <QLockFile>

namespace {

// Long enough for a double start's second press to find the first done.
constexpr int lockWaitMs = 2000;
// A lock left by a launcher that ended is taken over at once where its
// process is known to have ended, and after this long otherwise (a lock file
// that a power cut left empty). A live launcher's lock is never taken.
constexpr int staleLockMs = 30000;

// In the mod's folder: every launcher of the installation uses the same.
QString lockPath()
{
    return QStringLiteral("../velmarch-press.lock");
}

bool takeLock(QLockFile *lock, int waitMs, QString *box)
{
    lock->setStaleLockTime(staleLockMs);
    if (lock->tryLock(waitMs))
        return true;
    *box = lock->error() == QLockFile::LockFailedError
        ? messages::anotherLauncher()
        : messages::couldNotPut(lockPath(), {QStringLiteral("it cannot be written"), false});
    return false;
}

void remember(CopyRecord *record, const PressWork &work)
{
    for (const Change &change : work.changes) {
        if (change.kind == Change::Copy)
            record->remember(change.source, change.sourceStamp, change.target);
        else
            record->forget(change.target);
    }
    record->save();
}

// The stages of a press, in order. False where it stopped, with every file as
// it was: the outcome then says why.
bool carryOut(const FilePlan &plan, const CopyRecord &record, PressObserver *observer,
              PressWork *work, PressOutcome *outcome)
{
    QString *box = &outcome->failure;
    if (!recoverInterruptedPress(box))
        return false;
    *work = workOut(plan, record);
    if (!checkPress(*work, box))
        return false;
    if (prepare(work, observer, box) && putInPlace(work, box))
        return true;
    if (!work->leftToJournal)
        discard(*work);
    outcome->stoppedByPlayer = box->isEmpty();
    return false;
}

PressReport stopped(const PressOutcome &outcome)
{
    PressReport report;
    report.stopped = true;
    if (!outcome.failure.isEmpty())
        report.errors << outcome.failure;
    return report;
}

} // namespace

PressReport executePlan(const FilePlan &plan, PressObserver *observer, const QString &button)
{
    PressOutcome outcome;
    outcome.button = button;
    QLockFile lock(lockPath());
    // The report of the last press is the lock holder's to write.
    if (!takeLock(&lock, lockWaitMs, &outcome.failure))
        return stopped(outcome);
    CopyRecord record = CopyRecord::load();
    PressWork work;
    const bool done = carryOut(plan, record, observer, &work, &outcome);
    writeLastPress(work, outcome);
    if (!done)
        return stopped(outcome);
    remember(&record, work);
    // The game files kept, in one box.
    PressReport report;
    if (!work.kept.isEmpty())
        report.errors << work.kept.join('\n');
    return report;
}

void finishInterruptedPress()
{
    if (!pressWasInterrupted())
        return;
    QLockFile lock(lockPath());
    QString ignored;
    // Another launcher's press has its files in hand.
    if (takeLock(&lock, 0, &ignored))
        recoverInterruptedPress(&ignored);
}
