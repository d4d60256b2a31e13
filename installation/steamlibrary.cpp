// SPDX-License-Identifier: GPL-3.0-or-later
#include "steamlibrary.h"

#include "keyvalues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

// The working directory as the player reached it. A game folder that is a
// link under "common/" is resolved away in the system's answer, but a shell
// keeps the path through the link in PWD.
QString workingDirectory()
{
    const QString logical = qEnvironmentVariable("PWD");
    if (QDir::isAbsolutePath(logical)
        && QFileInfo(logical).canonicalFilePath() == QDir::current().canonicalPath())
        return logical;
    return QDir::currentPath();
}

} // namespace

QString gameSteamapps()
{
    QDir common(QDir::cleanPath(workingDirectory() + "/../../.."));
    if (!common.cdUp() || common.dirName() != QLatin1String("common"))
        return QString();
    // Older libraries call it "SteamApps".
    QDir steamapps = common;
    if (!steamapps.cdUp()
        || steamapps.dirName().compare(QLatin1String("steamapps"), Qt::CaseInsensitive) != 0)
        return QString();
    return steamapps.path();
}

SteamGame findSteamGame()
{
    const QString gameFolder = QDir::cleanPath(workingDirectory() + "/../../..");
    const QString library = gameSteamapps();
    if (library.isEmpty())
        return {};
    const QDir steamapps(library);

    const QString installDir = QDir(gameFolder).dirName();
    const QRegularExpression manifestName("^appmanifest_([0-9]+)\\.acf$");
    const QStringList manifests
        = steamapps.entryList({"appmanifest_*.acf"}, QDir::Files, QDir::Name);
    for (const QString &name : manifests) {
        const QRegularExpressionMatch match = manifestName.match(name);
        QFile manifest(steamapps.filePath(name));
        if (!match.hasMatch() || !manifest.open(QIODevice::ReadOnly))
            continue;
        if (manifestValue(manifest.readAll(), "installdir") == installDir)
            return {match.captured(1), steamapps.path()};
    }
    return {};
}

QString protonUserFolder(const SteamGame &game)
{
    if (!game.isRecognised())
        return QString();
    return game.steamapps + "/compatdata/" + game.id
        + "/pfx/drive_c/users/steamuser/AppData/Roaming/";
}

QString protonUserFolder(const QString &id)
{
    const QString steamapps = gameSteamapps();
    return steamapps.isEmpty() ? QString() : protonUserFolder(SteamGame {id, steamapps});
}
