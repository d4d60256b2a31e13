// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include <QCommandLineParser>

#include <cstdio>
#include <utility>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

// The names players type, with the buttons they press.
const std::pair<const char *, const char *> startButtons[] = {
    {"classic", "ButtonClassic"}, {"hardcore", "ButtonHardcore"}, {"1805", "SPC1805"},
    {"bavaria", "SPCbava"},       {"ottoman", "SPCotto"},         {"wurttemberg", "SPCwurt"},
    {"restore", "ButtonVanilla"},
};

const int usageStatus = 2;

} // namespace

QStringList startButtonNames()
{
    QStringList names;
    for (const auto &button : startButtons)
        names << QLatin1String(button.first);
    return names;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Starts the game with the ZOLM mod's battle and campaign settings.\n"
                       "As the game's launch option in Steam:\n"
                       "  /path/to/velmarch --start classic -- %command%"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption start(
        QStringLiteral("start"),
        QStringLiteral("Presses the button with the choices saved last time, starts the game "
                       "and ends. BUTTON is one of: %1.")
            .arg(startButtonNames().join(QStringLiteral(", "))),
        QStringLiteral("BUTTON"));
    parser.addOption(start);
    parser.addPositionalArgument(
        QStringLiteral("COMMAND"),
        QStringLiteral("Steam's command for the game (%command%), run in place of the "
                       "launcher's own start of the game."),
        QStringLiteral("[-- COMMAND...]"));

    CommandLine result;
    result.done = true;
    if (!parser.parse(arguments)) {
        result.status = usageStatus;
        result.error = parser.errorText() + QLatin1Char('\n') + parser.helpText();
        return result;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.output = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.output = QStringLiteral("Velmarch " VELMARCH_VERSION "\n");
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.status = usageStatus;
        result.error = QStringLiteral("Unexpected argument: %1 (Steam's command goes after --).\n")
                           .arg(parser.positionalArguments().first())
            + parser.helpText();
        return result;
    }
    result.done = false;
    if (!parser.isSet(start))
        return result;
    const QString name = parser.value(start).toLower();
    for (const auto &button : startButtons) {
        if (name == QLatin1String(button.first)) {
            result.startButton = QLatin1String(button.second);
            return result;
        }
    }
    result.done = true;
    result.status = usageStatus;
    result.error = QStringLiteral("Unknown button: %1. --start takes one of: %2.\n")
                       .arg(parser.value(start), startButtonNames().join(QStringLiteral(", ")));
    return result;
}

void printCommandLineAnswer(const CommandLine &commandLine)
{
#ifdef Q_OS_WIN
    // A program with a window has no console of its own; started from a
    // command prompt it writes to that one, unless its output goes elsewhere.
    if (!GetStdHandle(STD_OUTPUT_HANDLE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
#endif
    std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
    std::fputs(commandLine.error.toLocal8Bit().constData(), stderr);
    std::fflush(stdout);
    std::fflush(stderr);
}
