// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the launcher was asked on its command line, besides Qt's own options
// and Steam's command after "--" (launch/gamecommand.h).
struct CommandLine
{
    QString startButton; // the object name of the start button to press, or empty
    bool done = false; // help, version or a mistake: nothing else is done
    int status = 0; // the exit status when done
    QString output; // what to print to the standard output when done
    QString error; // what to print to the standard error when done
};

// The names --start takes, in the order the window shows their buttons.
QStringList startButtonNames();

// Reads the launcher's arguments, the program's name first.
CommandLine parseCommandLine(const QStringList &arguments);

// Prints what a finished command line says, on Windows also to the console
// of the command prompt the launcher was started from.
void printCommandLineAnswer(const CommandLine &commandLine);
