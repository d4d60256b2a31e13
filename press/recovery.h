// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "box.h"

#include <QString>
#include <QStringList>

// What the start of a launcher, or of a press, found of a press that did not
// end, and did with it.
struct Recovery
{
    enum Outcome {
        Nothing, // no burst was under way; leftovers were removed
        Finished, // the burst is done: every file of that press
        TakenBack, // every file as before that press
        Untrusted, // a journal the launcher could not have written, kept aside
        Held, // files are held and it must be tried again; the journal stays
        OtherAccount, // another account's to end: only its half-made moves outside its
                      // scripts folder were put back; the journal stays
    };
    Outcome outcome = Nothing;
    Box box; // what the player is told: for Untrusted, Held and OtherAccount
    QStringList keptAsTheyWere; // files of a finished press left as they were, and why
};

// Finishes a burst that a killed launcher left half done, or takes it back
// where it cannot be finished, as its journal says, so that every file is
// whole and all of one press. An untrusted journal is kept aside and only
// what the disk shows is taken back, within the press targets. Then removes
// what presses left in their scratch folders; a folder that is a link is
// never entered, and a target that is absent gets its kept-aside file back.
Recovery recoverInterruptedPress();
// Whether there is anything for recoverInterruptedPress to do.
bool pressWasInterrupted();
// Where an untrusted journal is kept for the player to look at.
QString keptJournalPath();
