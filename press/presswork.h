// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "box.h"
#include "files/filestamp.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// What a press does to one file, worked out from the plan's steps: the file
// is put in place from a copy of a source or from bytes, or removed.
struct Change
{
    enum Kind { Copy, Write, Remove };
    Kind kind = Remove;
    QString target; // as the plan names it
    QString source; // of a copy
    QByteArray bytes; // of a write
    // The file's own box for when it cannot be changed (the load list's);
    // empty where the box names the file and why.
    QString refusal;
    // The player's preferences, which never stop a press: put in place alone
    // once the others are, or left whole as they are, with a box.
    bool optional = false;

    // Filled in as the new file is prepared beside the target:
    QString fresh; // the new file, until it is put in place
    QString aside; // where the old file is kept until the press has ended; empty without one
    std::optional<FileStamp> sourceStamp; // the source's, before it was copied
    std::optional<FileStamp> freshStamp; // the new file's, once prepared
};

// One press on its way: the changes still to make, and what it tells the
// player and the report of the last press.
struct FolderToMake
{
    QString folder;
    // Where given, it must be there, and the folders between it and the
    // folder are made too; otherwise the folder's own parent must be there.
    QString holder;
};

struct PressWork
{
    QVector<Change> changes;
    QVector<FolderToMake> foldersToMake;
    QStringList foldersMade; // by this press (each with those made to hold it), so removed again
                             // when it stops
    QStringList workFolders; // scratch folders: new files prepared, old ones kept aside
    QStringList oldFiles; // kept aside, no longer needed once the journal has gone
    bool leftToJournal = false; // a burst that failed and could not be taken back whole

    Box refused; // the box of a file that cannot be changed as it is
    QStringList kept; // the game's files left as they are, and why
    Boxes notices; // boxes of what the press left as it is and went on without
    QStringList inPlace; // report lines: what needed no change
};
