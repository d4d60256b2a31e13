#include "pressexecutor.h"

#include "app/zolmlauncher.h"
#include "atomicreplace.h"
#include "fileops.h"
#include "roots.h"

#include <QDir>

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

// Runs one step; false when it failed and the press must stop there.
bool apply(const FileStep &step, PressReport *report, QStringList *kept)
{
    QString reason;
    switch (step.kind) {
    case FileStep::MakeFolder:
        if (QDir(step.target).exists() || QDir().mkdir(step.target))
            return true;
        reason = qt_error_string();
        report->errors << QStringLiteral("The folder %1 could not be made: %2.")
                              .arg(QDir::cleanPath(step.target), reason);
        return false;
    case FileStep::Remove:
        if (removeIfPresent(step.target, &reason))
            return true;
        report->errors << couldNotRemove(step.target, reason);
        return false;
    case FileStep::Replace:
    case FileStep::ReplaceGameFile:
        if (!isExistingFile(step.source)) {
            if (step.kind == FileStep::ReplaceGameFile) {
                *kept << QStringLiteral("%1 was left as it is: %2 is missing.")
                             .arg(locate(step.target).name, QDir::cleanPath(step.source));
                return true;
            }
            if (removeIfPresent(step.target, &reason))
                return true;
            report->errors << couldNotRemove(step.target, reason);
            return false;
        }
        if (replaceAtomically(step.source, step.target, &reason))
            return true;
        report->errors << couldNotPut(step.target, reason);
        return false;
    case FileStep::WriteLoadList:
        if (!ZolmLauncher::writeUserScript(step.source))
            report->errors << QStringLiteral("User script file cannot be changed.");
        return true;
    case FileStep::EditPreferences:
        for (const auto &edit : step.replacements) {
            if (!ZolmLauncher::replaceInPreferences(edit.first, edit.second))
                report->errors << QStringLiteral("Preference file cannot be changed.");
        }
        return true;
    }
    return true;
}

} // namespace

PressReport executePlan(const FilePlan &plan)
{
    PressReport report;
    QStringList kept;
    QString failure;
    for (const FileStep &step : plan) {
        if (!apply(step, &report, &kept)) {
            report.stopped = true;
            failure = report.errors.takeLast();
            break;
        }
    }
    // The game files kept come before the failure that stopped the press.
    if (!kept.isEmpty())
        report.errors << kept.join('\n');
    if (report.stopped)
        report.errors << failure;
    return report;
}
