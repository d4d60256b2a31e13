// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamestart.h"

#ifdef Q_OS_WIN
#include <cstdlib>
#else
#include "steamlibrary.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#endif

void startGame(const QString &executable)
{
#ifdef Q_OS_WIN
    // The command processor's start returns as soon as the game is running.
    const QByteArray command = QString("start " + executable).toUtf8();
    std::system(command.constData());
#else
    // A Windows game in a Steam library runs only through Steam (Proton).
    const SteamGame steam = findSteamGame();
    if (steam.isRecognised())
        QDesktopServices::openUrl(QUrl("steam://rungameid/" + steam.id));
    else
        QProcess::startDetached(executable, {});
#endif
}
