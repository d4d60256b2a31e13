// SPDX-License-Identifier: GPL-3.0-or-later
#include "filestep.h"

bool FileStep::operator==(const FileStep &other) const
{
    return kind == other.kind && source == other.source && target == other.target
        && replacements == other.replacements && bytes == other.bytes;
}

QString FileStep::describe() const
{
    switch (kind) {
    case MakeFolder:
        return "make folder " + target + (source.isEmpty() ? QString() : " in " + source);
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
    return {FileStep::MakeFolder, QString(), folder, {}, {}};
}

FileStep removeFile(const QString &target)
{
    return {FileStep::Remove, QString(), target, {}, {}};
}

FileStep replaceModFile(const QString &source, const QString &target)
{
    return {FileStep::Replace, source, target, {}, {}};
}

FileStep replaceGameFile(const QString &source, const QString &target)
{
    return {FileStep::ReplaceGameFile, source, target, {}, {}};
}

QStringList describe(const FilePlan &plan)
{
    QStringList lines;
    for (const FileStep &step : plan)
        lines << step.describe();
    return lines;
}
