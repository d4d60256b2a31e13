#include "executor.h"

#include "app/zolmlauncher.h"
#include "copyrecord.h"
#include "filelayer.h"
#include "staging/fileops.h"
#include "staging/roots.h"

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

// The system's reason, which on Windows is a sentence of its own.
QString withoutStop(QString reason)
{
    while (reason.endsWith('.'))
        reason.chop(1);
    return reason;
}

QString couldNotPut(const QString &target, const QString &reason)
{
    const Location at = locate(target);
    return QStringLiteral("%1 could not be put in %2: %3.")
        .arg(at.name, at.place, withoutStop(reason));
}

QString couldNotRemove(const QString &target, const QString &reason)
{
    const Location at = locate(target);
    return QStringLiteral("%1 could not be removed from %2: %3.")
        .arg(at.name, at.place, withoutStop(reason));
}

// The player's own files in the scripts folder keep their read-only
// protection, as when the load list is written; the mod's packs do not.
bool isProtected(const QString &target, QString *reason)
{
    const QFileInfo file(target);
    if (!target.startsWith(gameScriptsFolder()) || !file.isFile() || file.isWritable())
        return false;
    *reason = QStringLiteral("it is read-only");
    return true;
}

bool isCopy(const FileStep &step)
{
    return step.kind == FileStep::Replace || step.kind == FileStep::ReplaceGameFile;
}

// Copies left by a launcher that was stopped mid-copy, in any folder a press
// writes to, whatever this press stages. One that cannot be removed now is
// removed before its next copy.
void removeLeftoverCopies()
{
    for (const QString &folder : stagingFolders()) {
        const QDir dir(folder);
        const QStringList leftovers = dir.entryList({QLatin1Char('*') + temporarySuffix},
                                                    QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : leftovers)
            QFile::remove(dir.filePath(name));
    }
}

class Execution
{
public:
    Execution(const FilePlan &plan, PressObserver *observer)
        : m_observer(observer)
        , m_record(CopyRecord::load())
        , m_total(observer ? bytesToCopy(plan) : 0)
    {
    }

    // Runs one step; false when it failed and the press must stop there.
    bool apply(const FileStep &step);
    void saveRecord() { m_record.save(); }

    PressReport report;
    QStringList kept;

private:
    // The bytes of the copies a plan will make: those the record does not
    // hold, or whose target an earlier step of the plan touches.
    qint64 bytesToCopy(const FilePlan &plan) const;
    bool copy(const FileStep &step, QString *reason);
    bool remove(const QString &target, QString *reason);

    PressObserver *m_observer;
    CopyRecord m_record;
    const qint64 m_total;
    qint64 m_done = 0;
};

qint64 Execution::bytesToCopy(const FilePlan &plan) const
{
    qint64 total = 0;
    QSet<QString> touched;
    for (const FileStep &step : plan) {
        if (isCopy(step) && isExistingFile(step.source)
            && (touched.contains(step.target) || !m_record.holds(step.source, step.target)))
            total += QFileInfo(step.source).size();
        touched << step.target;
    }
    return total;
}

bool Execution::copy(const FileStep &step, QString *reason)
{
    if (m_record.holds(step.source, step.target))
        return true;
    if (isProtected(step.target, reason))
        return false;
    const QString name = locate(step.target).name;
    qint64 copied = 0;
    const auto progress = [&](qint64 bytes) {
        copied = bytes;
        if (m_observer)
            m_observer->copied(name, m_done + copied, qMax(m_total, m_done + copied));
    };
    progress(0);
    const auto source = stampOf(step.source);
    const bool done = replaceAtomically(step.source, step.target, reason, progress);
    // Also where the system's copy tells nothing as it goes (Wine's).
    if (done && source && copied < source->size)
        progress(source->size);
    m_done += copied;
    if (done)
        m_record.remember(step.source, source, step.target);
    else
        m_record.forget(step.target);
    return done;
}

bool Execution::remove(const QString &target, QString *reason)
{
    m_record.forget(target);
    return !isProtected(target, reason) && removeIfPresent(target, reason);
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
                             .arg(QDir::cleanPath(step.target), withoutStop(reason));
        return false;
    case FileStep::Remove:
        if (remove(step.target, &reason))
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
            if (remove(step.target, &reason))
                return true;
            report.errors << couldNotRemove(step.target, reason);
            return false;
        }
        // A game folder that is gone is not made anew for one file: the game
        // file stays absent, as when its replacement is missing.
        if (step.kind == FileStep::ReplaceGameFile && !QFileInfo(step.target).dir().exists()) {
            kept << QStringLiteral("%1 was left as it is: its folder is missing from %2.")
                        .arg(locate(step.target).name, locate(step.target).place);
            return true;
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

PressReport executePlan(const FilePlan &steps, PressObserver *observer)
{
    removeLeftoverCopies();
    const FilePlan plan = withoutUndoneCopies(steps);
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
    // What was put in place is known from now on, also when the press stopped.
    run.saveRecord();
    // The game files kept come before the failure that stopped the press.
    if (!run.kept.isEmpty())
        run.report.errors << run.kept.join('\n');
    if (!failure.isEmpty())
        run.report.errors << failure;
    return run.report;
}
