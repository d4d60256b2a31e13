// SPDX-License-Identifier: GPL-3.0-or-later
#include "roots.h"

#include "launch/steamlibrary.h"

#include <QDir>
#include <QStandardPaths>

QString campaignRoot()
{
    return version80Root + QLatin1String("Campaign/");
}

QString gameScriptsFolder()
{
#ifndef Q_OS_WIN
    // Under Proton the game keeps its per-user files in its own prefix.
    const QString proton = protonScriptsFolder(findSteamGame());
    if (!proton.isEmpty())
        return proton;
#endif
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir::cleanPath(appData + "/../The Creative Assembly/Napoleon/scripts/") + '/';
}

QStringList stagingFolders()
{
    const QString campaigns = gameDataRoot + QLatin1String("campaigns/");
    return {gameDataRoot,
            campaigns + QLatin1String("mp_eur_napoleon/"),
            campaigns + QLatin1String("spa_napoleon/"),
            campaigns + QLatin1String("zolm/"),
            tempRoot,
            gameScriptsFolder()};
}
