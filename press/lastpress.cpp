// SPDX-License-Identifier: GPL-3.0-or-later
#include "lastpress.h"

#include "messages.h"

#include "installation/playernames.h"
#include "installation/roots.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

const QLatin1String lastPressFileName("velmarch-last-press.txt");

namespace {

QString listed(const QString &heading, const QStringList &lines)
{
    if (lines.isEmpty())
        return QString();
    return heading + QStringLiteral(":\n  ") + lines.join(QStringLiteral("\n  ")) + '\n';
}

QString whatWasDone(const PressWork &work)
{
    QStringList put;
    QStringList removed;
    for (const Change &change : work.changes) {
        const playerNames::Location at = playerNames::locate(change.target);
        if (change.kind == Change::Copy)
            put << playerNames::copiedFrom(change.target, change.source);
        else if (change.kind == Change::Write)
            put << playerNames::inPlace(change.target) + QStringLiteral(", written anew");
        else
            removed << at.name + QStringLiteral(" from ") + at.place;
    }
    return listed(QStringLiteral("Put in place"), put)
        + listed(QStringLiteral("Already in place, not copied or written again"), work.inPlace)
        + listed(QStringLiteral("Removed"), removed)
        + listed(QStringLiteral("Left as they were"), work.kept)
        + QStringLiteral("\nEvery file above is in place.\n");
}

QString whyItStopped(const PressWork &work, const PressOutcome &outcome)
{
    const QString why = outcome.stoppedByPlayer
        ? QStringLiteral("The press stopped when the window was closed.")
        : QStringLiteral("The press stopped: ") + outcome.failure.inOneLine();
    if (work.leftToJournal)
        return why
            + QStringLiteral("\nSome files could not be put back yet: the launcher puts them "
                             "back when it is started again.\n");
    if (outcome.leftToOtherAccount)
        return why
            + QStringLiteral("\nThis press changed nothing. The files of the game's and the mod's "
                             "folders are whole; those the other account's press moved in its "
                             "own scripts folder stay as it left them until its launcher ends "
                             "it.\n");
    return why
        + QStringLiteral("\nNothing was changed: every file is as it was before the press.\n");
}

// What a helper asks first: what was chosen, and where the game's per-user
// files are.
QString whatWasChosen(const PressDescription &description)
{
    const QString scripts = QDir::cleanPath(QDir::current().absoluteFilePath(gameScriptsFolder()));
    return listed(QStringLiteral("Chosen in the window"), description.choices)
        + QStringLiteral("The game's scripts folder: %1\n\n")
              .arg(QDir::toNativeSeparators(scripts + '/'));
}

// Only for the player to read: not worth a wait for the disk.
void writeReport(const QString &what, const QString &body)
{
    const QString text = QStringLiteral("Velmarch %1, %2, on %3.\n\n")
                             .arg(QStringLiteral(VELMARCH_VERSION), what,
                                  QDateTime::currentDateTime().toString(
                                      QStringLiteral("yyyy-MM-dd 'at' HH:mm:ss")))
        + body;
    QFile file(lastPressFileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        file.write(text.toUtf8());
}

} // namespace

void writeLastPress(const PressWork &work, const PressOutcome &outcome)
{
    const QString caption = outcome.description.button;
    const QString button = caption.isEmpty()
        ? QString()
        : QStringLiteral(" \"%1\"").arg(QString(caption).replace('\n', ' '));
    // What the press left out is told only where the press went on.
    const bool wentOn = outcome.failure.isEmpty() && !outcome.stoppedByPlayer;
    QStringList boxes;
    for (const Box &box : outcome.notices + (wentOn ? work.notices : Boxes()))
        boxes << box.inOneLine();
    writeReport(QStringLiteral("the last press") + button,
                whatWasChosen(outcome.description) + listed(QStringLiteral("Told in a box"), boxes)
                    + (wentOn ? whatWasDone(work)
                              : whyItStopped(work, outcome)
                               + QStringLiteral("The game was not started.\n")));
}

void addToLastPress(const QString &line)
{
    QFile file(lastPressFileName);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write(line.toUtf8() + '\n');
}

void writeRecoveredPress(const Recovery &recovery)
{
    const QString stopped = QStringLiteral(
        "A launcher before this one was stopped (killed, or the power failed) while it put the "
        "files of a press in place.\n");
    switch (recovery.outcome) {
    case Recovery::Finished:
        writeReport(QStringLiteral("at its start"),
                    stopped
                        + (recovery.keptAsTheyWere.isEmpty()
                               ? QStringLiteral("This start finished that press: every file is "
                                                "of that press.\n")
                               : QStringLiteral("This start finished that press: every file is "
                                                "of that press but these, left as they were:\n  ")
                                   + recovery.keptAsTheyWere.join(QStringLiteral("\n  ")) + '\n'));
        return;
    case Recovery::TakenBack:
        writeReport(QStringLiteral("at its start"),
                    stopped
                        + QStringLiteral("This start took that press back: every file is as it "
                                         "was before it.\n"));
        return;
    case Recovery::Untrusted:
    case Recovery::OtherAccount:
        writeReport(QStringLiteral("at its start"), recovery.box.inOneLine() + '\n');
        return;
    case Recovery::Nothing:
    case Recovery::Held:
        return;
    }
}
