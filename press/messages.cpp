// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages.h"

#include "account.h"
#include "installation/playernames.h"
#include "installation/roots.h"

#include <QDir>
#include <QFileInfo>

namespace messages {

namespace {

// The system's reason, which on Windows is a sentence of its own.
QString withoutStop(QString reason)
{
    while (reason.endsWith('.'))
        reason.chop(1);
    return reason;
}

QString wayOutOf(const files::Failure &failure)
{
    return failure.held ? closeTheGame : failure.wayOut.isEmpty() ? checkTheDrive : failure.wayOut;
}

// What could not be done to the file, and why; a file another program holds
// is the game itself more often than not.
Box refusal(const QString &target, const files::Failure &failure, const char *what)
{
    const playerNames::Location at = playerNames::locate(target);
    if (failure.held)
        return Box {QStringLiteral("%1 is in use by another program.").arg(at.name), closeTheGame};
    return Box {QString::fromLatin1(what).arg(at.name, at.place, withoutStop(failure.reason)),
                wayOutOf(failure)};
}

} // namespace

const QString closeTheGame = QStringLiteral("Close the game, then press again.");
// A file's read-only mark on Windows; its permissions elsewhere.
#ifdef Q_OS_WIN
const QString clearReadOnly
    = QStringLiteral("Clear its read-only mark in its Properties, then press again.");
#else
const QString clearReadOnly = QStringLiteral(
    "Give yourself permission to change it (in its Properties, Permissions), then press again.");
#endif
const QString checkTheDrive
    = QStringLiteral("Check that its drive is there and can be written to, then press again.");

Box couldNotPut(const QString &target, const files::Failure &failure)
{
    return refusal(target, failure, "%1 could not be put in %2: %3.");
}

Box couldNotRemove(const QString &target, const files::Failure &failure)
{
    return refusal(target, failure, "%1 could not be removed from %2: %3.");
}

Box cannotChange(const Change &change, const files::Failure &failure)
{
    // The file's own words where the file itself is at fault; what stands in
    // its way is named.
    const bool theFile = failure.wayOut.isEmpty() || failure.wayOut == clearReadOnly;
    if (!change.refusal.isEmpty() && !failure.held && theFile)
        return Box {change.refusal, wayOutOf(failure)};
    return change.kind == Change::Remove ? couldNotRemove(change.target, failure)
                                         : couldNotPut(change.target, failure);
}

Box folderNotMade(const QString &folder, const files::Failure &failure)
{
    return Box {
        QStringLiteral("The folder %1 could not be made: %2.")
            .arg(QDir::toNativeSeparators(QDir::cleanPath(folder)), withoutStop(failure.reason)),
        wayOutOf(failure)};
}

Box notEnoughSpace(qint64 bytesMissing, const QString &place)
{
    constexpr qint64 MB = 1 << 20;
    return Box {QStringLiteral("There is not enough free space for this press: %1 MB more are "
                               "needed on the drive of %2.")
                    .arg((bytesMissing + MB - 1) / MB)
                    .arg(place),
                QStringLiteral("Free some space there, then press again.")};
}

files::Failure freshCopyGone()
{
    return {QStringLiteral("the new copy made for it was removed by another program, such as a "
                           "virus scanner"),
            false, QStringLiteral("Press again.")};
}

Box notLasting(const QString &folder, const files::Failure &failure)
{
    return Box {QStringLiteral("The changes in %1 could not be written to its drive: %2. Every "
                               "file is as it was.")
                    .arg(playerNames::locate(folder + QStringLiteral("/x")).place,
                         withoutStop(failure.reason)),
                checkTheDrive};
}

Box noFolderForScripts(const QString &holder)
{
    if (gameRunsUnderProton())
        return Box {QStringLiteral("The game's scripts folder cannot be made yet: the game's "
                                   "Proton prefix is not there."),
                    QStringLiteral("Start the game once from Steam, so that it makes its "
                                   "folders, then press again.")};
    return Box {QStringLiteral("The game's scripts folder cannot be made: %1 is not there.")
                    .arg(QDir::toNativeSeparators(QDir::cleanPath(holder))),
                QStringLiteral("Start the game once, so that it makes its folders, then press "
                               "again.")};
}

Box preferencesKept(const files::Failure &failure)
{
    QString wayOut = QStringLiteral("The game starts with your preferences as they are.");
    if (failure.held)
        wayOut += QStringLiteral(" To have them changed, close the game, then press again.");
    else if (failure.wayOut == clearReadOnly)
#ifdef Q_OS_WIN
        wayOut += QStringLiteral(" To have them changed, clear the file's read-only mark in its "
                                 "Properties, then press again.");
#else
        wayOut += QStringLiteral(" To have them changed, give yourself permission to change the "
                                 "file (in its Properties, Permissions), then press again.");
#endif
    return Box {QStringLiteral("Preference file cannot be changed."), wayOut};
}

Box otherAccountsPress(const QString &accountId, const QString &scriptsFolder)
{
    const QString what
        = QStringLiteral("A launcher started by another account was stopped while it put files "
                         "in place (its scripts folder is %1). The files of the game's and the "
                         "mod's folders are whole; that press is left for that account's "
                         "launcher to end.")
              .arg(QDir::toNativeSeparators(QDir::cleanPath(scriptsFolder)));
    const QString name = account::nameOf(accountId);
    if (!name.isEmpty())
        return Box {what,
                    QStringLiteral("Start the launcher once in the account %1, so that it ends "
                                   "that press, then press again.")
                        .arg(name)};
    return Box {what,
                QStringLiteral("Start the launcher once in that account, so that it ends that "
                               "press, then press again. If that account is no longer on this "
                               "computer, remove velmarch-press-journal.json from the mod's "
                               "folder, then press again.")};
}

Box untrustedJournal(const QString &journal, const QString &keptAs)
{
    return Box {QStringLiteral("The mod's folder held %1, which names files as no press of this "
                               "launcher could have (it is damaged, or was put there by another "
                               "program or an archive). The launcher followed none of it: it "
                               "only made the files of its own presses whole, and kept it as %2.")
                    .arg(playerNames::locate(journal).name, playerNames::locate(keptAs).name),
                QStringLiteral("If you did not put it there, check where the mod's files came "
                               "from.")};
}

Box anotherLauncher()
{
    return Box {QStringLiteral("Another launcher is putting files in place."),
                QStringLiteral("Wait until it has started the game, then press again.")};
}
} // namespace messages
