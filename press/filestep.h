// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// One change that a press makes to the files. A press works all of them out
// first, from the player's choices and the mod's listing, and only then has
// the executor carry them out. The last step for a file decides what it
// becomes, and no step reads a file another step writes.
struct FileStep
{
    enum Kind {
        MakeFolder, // target, with the folders between it and source where source is given
        Remove, // target, when it is there
        Replace, // the mod's file: source at target, or target removed when the source is missing
        ReplaceGameFile, // the game's own file: source at target, or target kept when it is missing
        WriteLoadList, // bytes at target: the mod load list for the mode keyword in source
        EditPreferences, // replacements in target, one after another
    };

    Kind kind;
    QString source;
    QString target;
    QVector<QPair<QString, QString>> replacements;
    QByteArray bytes;

    bool operator==(const FileStep &other) const;
    // One line that says what the step does, for logs and test failures.
    QString describe() const;
};

using FilePlan = QVector<FileStep>;

FileStep makeFolder(const QString &folder);
FileStep removeFile(const QString &target);
FileStep replaceModFile(const QString &source, const QString &target);
FileStep replaceGameFile(const QString &source, const QString &target);

QStringList describe(const FilePlan &plan);
