// SPDX-License-Identifier: GPL-3.0-or-later
#include "executor.h"

#include "checks.h"
#include "copyrecord.h"
#include "lastpress.h"
#include "messages.h"
#include "phases.h"
#include "prepare.h"
#include "putinplace.h"
#include "recovery.h"
#include "workout.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {

// Long enough for a double start's second press to find the first done.
constexpr int lockWaitMs = 2000;

// In the mod's folder: every launcher of the installation uses the same. The
// system lets it go when its launcher ends, however it ends.
QString lockPath()
{
    return QStringLiteral("../velmarch-press.lock");
}

bool takeLock(files::FileLock *lock, int waitMs, Box *box)
{
    const QDeadlineTimer deadline(waitMs);
    files::Failure failure;
    while (!lock->tryLock(&failure)) {
        if (!failure.held) {
            *box = messages::couldNotPut(lockPath(), failure);
            return false;
        }
        if (deadline.hasExpired()) {
            *box = messages::anotherLauncher();
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

void remember(CopyRecord *record, const PressWork &work)
{
    for (const Change &change : work.changes) {
        if (change.kind == Change::Copy)
            record->remember(change.source, change.sourceStamp, change.target, change.freshStamp);
        else
            record->forget(change.target);
    }
    record->save();
}

// The stages of a press, in order. False where it stopped, with every file as
// it was: the outcome then says why.
bool carryOut(const PressRequest &request, const CopyRecord &record, PressObserver *observer,
              PressWork *work, PressOutcome *outcome)
{
    Box *box = &outcome->failure;
    const Recovery recovery = recoverInterruptedPress();
    if (recovery.outcome == Recovery::Held || recovery.outcome == Recovery::OtherAccount) {
        *box = recovery.box;
        outcome->leftToOtherAccount = recovery.outcome == Recovery::OtherAccount;
        return false;
    }
    if (recovery.outcome == Recovery::Untrusted)
        outcome->notices << recovery.box;
    const FilePlan plan = request.plan();
    if (request.describe)
        outcome->description.choices = request.describe(plan);
    *work = workOut(plan, record);
    if (!checkPress(work, box))
        return false;
    enterPhase(PressPhase::Prepare);
    if (prepare(work, observer, box) && putInPlace(work, box))
        return true;
    if (!work->leftToJournal)
        discard(*work);
    outcome->stoppedByPlayer = box->isEmpty();
    return false;
}

PressReport stopped(const PressOutcome &outcome, PressObserver *observer)
{
    PressReport report;
    report.stopped = true;
    report.errors = outcome.notices;
    if (!outcome.failure.isEmpty())
        report.errors << outcome.failure;
    if (observer)
        observer->pressEnded(report);
    enterPhase(PressPhase::Done);
    return report;
}

} // namespace

PressReport executePlan(const FilePlan &plan, PressObserver *observer,
                        const PressDescription &description)
{
    return executePress({[plan] { return plan; }, description.button,
                         [description](const FilePlan &) { return description.choices; }},
                        observer);
}

PressReport executePress(const PressRequest &request, PressObserver *observer)
{
    enterPhase(PressPhase::Checks);
    PressOutcome outcome;
    outcome.description.button = request.button;
    files::FileLock lock(lockPath());
    // The report of the last press is the lock holder's to write.
    if (!takeLock(&lock, lockWaitMs, &outcome.failure))
        return stopped(outcome, observer);
    CopyRecord record = CopyRecord::load();
    PressWork work;
    const bool done = carryOut(request, record, observer, &work, &outcome);
    enterPhase(PressPhase::Report);
    writeLastPress(work, outcome);
    if (!done)
        return stopped(outcome, observer);
    // The game files kept, in one box.
    PressReport report;
    report.errors = outcome.notices + work.notices;
    if (!work.kept.isEmpty())
        report.errors << Box {work.kept.join('\n'), QString()};
    // While the game starts; still under the lock, which keeps the next
    // press from preparing where these files go.
    enterPhase(PressPhase::Record);
    if (observer)
        observer->pressEnded(report);
    remember(&record, work);
    enterPhase(PressPhase::OldFiles);
    removeOldFiles(work);
    enterPhase(PressPhase::Done);
    return report;
}

Box finishInterruptedPress()
{
    if (!pressWasInterrupted())
        return Box();
    files::FileLock lock(lockPath());
    Box ignored;
    // Another launcher's press has its files in hand.
    if (!takeLock(&lock, 0, &ignored))
        return Box();
    const Recovery recovery = recoverInterruptedPress();
    if (recovery.outcome != Recovery::Nothing && recovery.outcome != Recovery::Held)
        writeRecoveredPress(recovery);
    return recovery.outcome == Recovery::Untrusted || recovery.outcome == Recovery::OtherAccount
        ? recovery.box
        : Box();
}
