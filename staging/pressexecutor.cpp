#include "pressexecutor.h"

#include "app/zolmlauncher.h"
#include "atomicreplace.h"
#include "fileops.h"
#include "roots.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

struct Location
{
    QString name;
    QString place;
};

// A path as the player would name it: the file, and the folder it is in.
Location locate(const QString &path)
{
    const QString scripts = gameScriptsFolder();
    if (path.startsWith(scripts))
        return {path.mid(scripts.size()), QStringLiteral("the game's scripts folder")};
    if (path.startsWith(tempRoot))
        return {path.mid(tempRoot.size()), QStringLiteral("the mod's Temp folder")};
    if (path.startsWith(gameDataRoot))
        return {path.mid(gameDataRoot.size()), QStringLiteral("the game's data folder")};
    return {path, QStringLiteral("its folder")};
}

QString couldNotPut(const QString &target, const QString &reason)
{
    const Location at = locate(target);
    return QStringLiteral("%1 could not be put in %2: %3.").arg(at.name, at.place, reason);
}

QString couldNotRemove(const QString &target, const QString &reason)
{
    const Location at = locate(target);
    return QStringLiteral("%1 could not be removed from %2: %3.").arg(at.name, at.place, reason);
}

bool isCopy(const FileStep &step)
{
    return step.kind == FileStep::Replace || step.kind == FileStep::ReplaceGameFile;
}

// The bytes of the copies a plan will make: those whose target is not already
// in place, or is touched by an earlier step of the plan.
qint64 bytesToCopy(const FilePlan &plan)
{
    qint64 total = 0;
    QSet<QString> touched;
    for (const FileStep &step : plan) {
        if (isCopy(step) && isExistingFile(step.source)
            && (touched.contains(step.target) || !isAlreadyInPlace(step.source, step.target)))
            total += QFileInfo(step.source).size();
        touched << step.target;
    }
    return total;
}

class Execution
{
public:
    Execution(const FilePlan &plan, PressObserver *observer)
        : m_observer(observer)
        , m_total(observer ? bytesToCopy(plan) : 0)
    {
    }

    // Runs one step; false when it failed and the press must stop there.
    bool apply(const FileStep &step);
    bool copy(const FileStep &step, QString *reason);

    PressReport report;
    QStringList kept;

private:
    PressObserver *m_observer;
    const qint64 m_total;
    qint64 m_done = 0;
};

bool Execution::copy(const FileStep &step, QString *reason)
{
    if (isAlreadyInPlace(step.source, step.target))
        return true;
    const QString name = locate(step.target).name;
    qint64 copied = 0;
    const auto progress = [&](qint64 bytes) {
        copied = bytes;
        if (m_observer)
            m_observer->copied(name, m_done + copied, qMax(m_total, m_done + copied));
    };
    progress(0);
    const qint64 size = QFileInfo(step.source).size();
    const bool done = replaceAtomically(step.source, step.target, reason, progress);
    // Also where the system's copy tells nothing as it goes (Wine's).
    if (done && copied < size)
        progress(size);
    m_done += copied;
    return done;
}

bool Execution::apply(const FileStep &step)
{
    QString reason;
    switch (step.kind) {
    case FileStep::MakeFolder:
        if (QDir(step.target).exists() || QDir().mkdir(step.target))
            return true;
        reason = qt_error_string();
        report.errors << QStringLiteral("The folder %1 could not be made: %2.")
                             .arg(QDir::cleanPath(step.target), reason);
        return false;
    case FileStep::Remove:
        if (removeIfPresent(step.target, &reason))
            return true;
        report.errors << couldNotRemove(step.target, reason);
        return false;
    case FileStep::Replace:
    case FileStep::ReplaceGameFile:
        if (!isExistingFile(step.source)) {
            if (step.kind == FileStep::ReplaceGameFile) {
                kept << QStringLiteral("%1 was left as it is: %2 is missing.")
                            .arg(locate(step.target).name, QDir::cleanPath(step.source));
                return true;
            }
            if (removeIfPresent(step.target, &reason))
                return true;
            report.errors << couldNotRemove(step.target, reason);
            return false;
        }
        if (copy(step, &reason))
            return true;
        report.errors << couldNotPut(step.target, reason);
        return false;
    case FileStep::WriteLoadList:
        if (!ZolmLauncher::writeUserScript(step.source))
            report.errors << QStringLiteral("User script file cannot be changed.");
        return true;
    case FileStep::EditPreferences:
        for (const auto &edit : step.replacements) {
            if (!ZolmLauncher::replaceInPreferences(edit.first, edit.second))
                report.errors << QStringLiteral("Preference file cannot be changed.");
        }
        return true;
    }
    return true;
}

} // namespace

PressReport executePlan(const FilePlan &plan, PressObserver *observer)
{
    Execution run(plan, observer);
    QString failure;
    for (const FileStep &step : plan) {
        if (observer && observer->stopRequested()) {
            run.report.stopped = true;
            break;
        }
        if (!run.apply(step)) {
            run.report.stopped = true;
            failure = run.report.errors.takeLast();
            break;
        }
    }
    // The game files kept come before the failure that stopped the press.
    if (!run.kept.isEmpty())
        run.report.errors << run.kept.join('\n');
    if (!failure.isEmpty())
        run.report.errors << failure;
    return run.report;
}
