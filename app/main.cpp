// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "launch/gamecommand.h"
#include "screenfit.h"
#include "startfolder.h"
#include "zolmlauncher.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The window is drawn for 700 by 700 pixels at 100 %; on a scaled screen
    // Qt scales it, its background and its fonts by the screen's own factor
    // (150 % stays 150 %) instead of leaving it small, unless the window
    // would not fit on that screen at that scale.
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#if QT_VERSION >= QT_VERSION_CHECK(5, 14, 0)
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
    // Neither Qt nor the launcher reads Steam's command after "--".
    const GameCommand gameCommand(argc, argv);
    int status = 0;
    bool runGameCommand = false;
    {
        QApplication app(argc, argv);
        const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments());
        if (commandLine.done) {
            printCommandLineAnswer(commandLine);
            return commandLine.status;
        }
        workFromOwnFolder();
        fitScreens(QSize(700, 700));
        ZolmLauncher launcher;
        keepDesignedSizeOnEveryScreen(&launcher, QSize(700, 700));
        launcher.setGameCommand(gameCommand);
        if (!commandLine.startButton.isEmpty())
            launcher.pressOnStart(commandLine.startButton);
        launcher.show();
        status = app.exec();
        runGameCommand = launcher.gameCommandDue();
    }
    // The window and Qt are gone: the game's command takes the launcher's place.
    return runGameCommand ? gameCommand.runInPlace() : status;
}
