// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamecommand.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace {

const char separator[] = "--";

#ifdef Q_OS_WIN
// The C runtime's arguments are in the system's code page; the command's are
// taken from the command line itself, so that no character is lost.
QStringList wideArgumentsAfterSeparator()
{
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    QStringList arguments;
    bool after = false;
    for (int i = 1; i < count; ++i) {
        const QString argument = QString::fromWCharArray(wide[i]);
        if (after)
            arguments << argument;
        else
            after = argument == QLatin1String(separator);
    }
    LocalFree(wide);
    return arguments;
}
#endif

} // namespace

GameCommand::GameCommand(int &argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], separator) != 0)
            continue;
        m_argv = argv + i + 1;
        m_folder = QDir::currentPath();
#ifdef Q_OS_WIN
        m_arguments = wideArgumentsAfterSeparator();
#else
        for (int j = i + 1; j < argc; ++j)
            m_arguments << QString::fromLocal8Bit(argv[j]);
#endif
        argc = i;
        return;
    }
}

bool GameCommand::programFound() const
{
    if (m_arguments.isEmpty())
        return false;
    const QString program = m_arguments.first();
    if (program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\'))) {
        const QFileInfo file(QDir(m_folder), program);
        return file.isFile() && file.isExecutable();
    }
    return !QStandardPaths::findExecutable(program).isEmpty();
}

int GameCommand::runInPlace() const
{
    if (m_arguments.isEmpty())
        return 0;
    // The launcher may have moved to its own folder.
    QDir::setCurrent(m_folder);
#ifdef Q_OS_WIN
    QProcess game;
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start(m_arguments.first(), m_arguments.mid(1));
    if (!game.waitForStarted(-1)) {
        std::fprintf(stderr, "velmarch: %s\n", qPrintable(game.errorString()));
        return 127;
    }
    game.waitForFinished(-1);
    return game.exitCode();
#else
    execvp(m_argv[0], m_argv);
    std::fprintf(stderr, "velmarch: %s: %s\n", m_argv[0], std::strerror(errno));
    return 127;
#endif
}
