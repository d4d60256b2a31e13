// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "gamestart.h"
#include "press/messages.h"
#include "staging/fileops.h"
#include "staging/roots.h"

#include <QCoreApplication>

void ZolmLauncher::launchGame()
{
    if (!isExistingFile(gameExecutable)) {
        showError(messages::gameNotFound());
        // The game did not start: a script or Steam that started the launcher
        // learns so from its status.
        QCoreApplication::exit(1);
        return;
    }
    saveSettings();
    // Steam's command is run once the window has gone (app/main.cpp).
    if (m_gameCommand.isEmpty())
        startGame(gameExecutable);
    else
        m_gameCommandDue = true;
    QCoreApplication::quit();
}
