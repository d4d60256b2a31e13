// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "gamestart.h"
#include "installation/listing.h"
#include "installation/roots.h"
#include "launchtexts.h"
#include "press/lastpress.h"

#include <QCoreApplication>
#include <QDir>

void ZolmLauncher::launchGame()
{
    // The game did not start: a script or Steam that started the launcher
    // learns so from its status.
    if (!isExistingFile(gameExecutable)) {
        addToLastPress(QStringLiteral("The game was not started: Napoleon.exe is not there."));
        tellGameNotFound(true);
        return;
    }
    saveSettings();
    // Steam's command is run once the window has gone (app/main.cpp).
    if (!m_gameCommand.isEmpty()) {
        m_gameCommandDue = true;
        addToLastPress(
            QStringLiteral("Steam's command for the game runs in the launcher's place: %1")
                .arg(QDir::toNativeSeparators(m_gameCommand.arguments().first())));
        QCoreApplication::quit();
        return;
    }
    const GameStart start = startGame(gameExecutable);
    switch (start.how) {
    case GameStart::Started:
        addToLastPress(QStringLiteral("The game was started."));
        break;
    case GameStart::SteamAsked:
        addToLastPress(QStringLiteral("Steam was asked to start the game."));
        break;
    case GameStart::Failed:
        addToLastPress(QStringLiteral("The game was not started: %1.").arg(start.reason));
        showError(launchTexts::gameNotStarted(start.reason, start.throughSteam));
        QCoreApplication::exit(1);
        return;
    }
    QCoreApplication::quit();
}
