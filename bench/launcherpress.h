// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Where one press spends its time, in the order it goes, in milliseconds.
enum class Phase {
    Checks, // the lock, a killed press's recovery, the plan worked out and checked
    Copies, // the new files copied or written beside their targets
    FileFlushes, // of each of those
    Journal, // written and its folder flushed, and removed again
    Burst, // the moves
    FolderFlushes,
    OldFiles, // removed before the journal goes (files the press removes)
    Report, // of the last press
    GameStart, // the window: the settings saved and the game started
    Record, // of the copies, while the game starts
    OldFilesAfter, // the old files replaced, and the scratch folders
};
QString phaseName(Phase phase);
constexpr int phaseCount = int(Phase::OldFilesAfter) + 1;

struct Press
{
    double ms = 0; // from the click until the game has been started
    double finishedMs = 0; // until the press has also deleted the old files
    double longestStallMs = 0; // longest gap between the ticks of a 10 ms timer
    QMap<Phase, double> phases;
    // What the press did to the files, as its file layer was asked:
    int flushes = 0; // of the new files and the journal
    int folderFlushes = 0; // of the folders the burst changed, and the journal's
    qint64 bytesWritten = 0;
    QStringList copied; // the targets of the copies
    int moves = 0;
    double burstMs = 0; // from the first move to the journal's removal
    qint64 peakBytes = 0; // of new files on disk beside the old ones, at once
    qint64 largestFile = 0; // the peak of a press that put each file in place before the next
};

// A press as the player makes it, from the window's own event loop, with the
// big theme and the given interface size.
Press launcherPress(const QString &button, const QString &theme, int uiSize = 1);
