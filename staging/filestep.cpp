#include "filestep.h"

#include <QDir>

bool FileStep::operator==(const FileStep &other) const
{
    return kind == other.kind && source == other.source && target == other.target
        && replacements == other.replacements;
}

QString FileStep::describe() const
{
    switch (kind) {
    case MakeFolder:
        return "make folder " + target;
    case Remove:
        return "remove " + target;
    case Replace:
        return "replace " + target + " from " + source;
    case ReplaceGameFile:
        return "replace game file " + target + " from " + source;
    case WriteLoadList:
        return "write load list " + source;
    case EditPreferences: {
        QStringList edits;
        for (const auto &edit : replacements)
            edits << edit.first + " -> " + edit.second;
        return "edit preferences: " + edits.join(", ");
    }
    }
    return QString();
}

FileStep makeFolder(const QString &folder)
{
    return {FileStep::MakeFolder, QString(), folder, {}};
}

FileStep removeFile(const QString &target)
{
    return {FileStep::Remove, QString(), target, {}};
}

FileStep replaceModFile(const QString &source, const QString &target)
{
    return {FileStep::Replace, source, target, {}};
}

FileStep replaceGameFile(const QString &source, const QString &target)
{
    return {FileStep::ReplaceGameFile, source, target, {}};
}

FileStep writeLoadList(const QString &mode)
{
    return {FileStep::WriteLoadList, mode, QString(), {}};
}

QStringList describe(const FilePlan &plan)
{
    QStringList lines;
    for (const FileStep &step : plan)
        lines << step.describe();
    return lines;
}

FilePlan withoutUndoneCopies(const FilePlan &plan)
{
    const auto isUndone = [&](int copy) {
        const QString target = QDir::cleanPath(plan[copy].target);
        for (int later = copy + 1; later < plan.size(); ++later) {
            const FileStep &step = plan[later];
            if (QDir::cleanPath(step.source) == target)
                return false;
            if (QDir::cleanPath(step.target) == target)
                return step.kind == FileStep::Remove;
        }
        return false;
    };
    FilePlan kept;
    for (int i = 0; i < plan.size(); ++i) {
        if (plan[i].kind != FileStep::Replace || !isUndone(i))
            kept << plan[i];
    }
    return kept;
}
