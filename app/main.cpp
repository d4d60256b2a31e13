// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "launch/gamecommand.h"
#include "platformfallback.h"
#include "screenfit.h"
#include "startfolder.h"
#include "zolmlauncher.h"

#include <QApplication>
#include <QWindow>

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
        const QByteArray platformChoice = addOwnPlatformAsFallback();
        QApplication app(argc, argv);
        restorePlatformChoice(platformChoice);
        const CommandLine commandLine = parseCommandLine(QCoreApplication::arguments());
        if (commandLine.done) {
            printCommandLineAnswer(commandLine);
            return commandLine.status;
        }
        workFromOwnFolder();
        const ScreenFit screenFit(ZolmLauncher::designedSize());
        ZolmLauncher launcher;
        // The window follows its screen's scale, on whichever screen it is.
        launcher.winId(); // makes the window's handle, which tells of screen changes
        QWindow *window = launcher.windowHandle();
        launcher.fitToScreen(screenFit.windowShrink(window->screen()));
        QObject::connect(window, &QWindow::screenChanged, &launcher, [&](QScreen *screen) {
            launcher.fitToScreen(screenFit.windowShrink(screen));
        });
        QObject::connect(&screenFit, &ScreenFit::refitted, &launcher, [&](QScreen *screen) {
            if (screen != window->screen())
                return;
            launcher.fitToScreen(screenFit.windowShrink(screen));
            launcher.keepOnWorkArea();
        });
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
