// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// Steam's command for the game, given after "--" on the launcher's command
// line ("velmarch --start classic -- %command%"). Run in place of the
// launcher's own start of the game, so that Steam sees the game it started
// running, counts its play time and keeps its controller layout.
class GameCommand
{
public:
    GameCommand() = default;
    // Takes the arguments after the first "--" of the process's own; argc is
    // cut to those before it, which are the launcher's and Qt's. The command
    // keeps the folder it was started in, where Steam starts the game.
    GameCommand(int &argc, char **argv);

    bool isEmpty() const { return m_arguments.isEmpty(); }
    const QStringList &arguments() const { return m_arguments; }
    // Whether its program is there to be run: a path to a file, or a name
    // found on the search path.
    bool programFound() const;

    // Runs the command in place of the launcher, with its arguments exactly as
    // given: on Linux the launcher's process becomes the command's; on Windows
    // it waits for the command and ends with its status. Returns only when the
    // command could not be run, with the status to end with.
    int runInPlace() const;

private:
    QStringList m_arguments;
    QString m_folder;
    char **m_argv = nullptr; // the bytes given, kept for Linux's exec
};
