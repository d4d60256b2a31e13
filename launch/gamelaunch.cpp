// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "gamestart.h"
#include "staging/fileops.h"
#include "staging/roots.h"

#include <QCoreApplication>
#include <QMessageBox>

void ZolmLauncher::launchGame()
{
    const QString game = gameDataRoot + QLatin1String("../Napoleon.exe");
    if (isExistingFile(game)) {
        saveSettings();
        startGame(game);
    } else {
        QMessageBox::critical(
            this, QStringLiteral("Error"),
            QStringLiteral(
                "Napoleon.exe cannot be found.\nZOLM is not installed in the correct folder."),
            QMessageBox::Ok, QMessageBox::NoButton);
    }
    QCoreApplication::quit();
}
