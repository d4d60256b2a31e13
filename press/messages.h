// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "box.h"
#include "files/filelayer.h"
#include "presswork.h"

#include <QString>

// What a press tells the player, in words a player understands: what went
// wrong with a file, and what to do.
namespace messages {

// The ways out that boxes share.
extern const QString closeTheGame;
extern const QString clearReadOnly;
extern const QString checkTheDrive;

Box couldNotPut(const QString &target, const files::Failure &failure);
Box couldNotRemove(const QString &target, const files::Failure &failure);
// Why the change cannot be made, in the file's own words where it has them.
Box cannotChange(const Change &change, const files::Failure &failure);
Box folderNotMade(const QString &folder, const files::Failure &failure);
Box notEnoughSpace(qint64 bytesMissing, const QString &place);
// Why a file was not put in place when the new copy prepared for it is gone.
files::Failure freshCopyGone();
// A folder whose changes could not be written to the drive for good.
Box notLasting(const QString &folder, const files::Failure &failure);
// The game's scripts folder cannot be made where the folder that holds it is
// not there yet: the game makes that at its first start.
Box noFolderForScripts(const QString &holder);
// The player's preferences were left as they are, for the reason given.
Box preferencesKept(const files::Failure &failure);
// A journal that another account's launcher left (its id; empty where the
// journal does not say), for its scripts folder.
Box otherAccountsPress(const QString &accountId, const QString &scriptsFolder);
// A journal of a press that the launcher could not have written, kept aside.
Box untrustedJournal(const QString &journal, const QString &keptAs);
Box anotherLauncher();

} // namespace messages
