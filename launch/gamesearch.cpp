// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamesearch.h"

#include "installation/keyvalues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

// Libraries made by older Steam call it "SteamApps"; names are matched
// without regard to case.
QString steamappsOf(const QString &library)
{
    const QLatin1String usual("steamapps");
    const QStringList names = QDir(library).entryList({usual}, QDir::Dirs);
    if (names.isEmpty())
        return QString();
    return library + '/' + (names.contains(usual) ? QString(usual) : names.first());
}

void addOnce(QStringList *folders, QStringList *seen, const QString &folder)
{
    const QString real = QFileInfo(folder).canonicalFilePath();
    if (real.isEmpty() || seen->contains(real))
        return;
    *seen << real;
    *folders << QDir::cleanPath(folder);
}

} // namespace

QStringList steamFolders()
{
    QStringList candidates;
#ifdef Q_OS_WIN
    const QSettings user(QStringLiteral("HKEY_CURRENT_USER\\Software\\Valve\\Steam"),
                         QSettings::NativeFormat);
    const QSettings machine(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Valve\\Steam"),
        QSettings::NativeFormat);
    const QString named = user.value(QStringLiteral("SteamPath")).toString();
    candidates << (named.isEmpty() ? machine.value(QStringLiteral("InstallPath")).toString()
                                   : named);
#else
    const QString home = QDir::homePath();
    candidates << home + QStringLiteral("/.local/share/Steam")
               << home + QStringLiteral("/.steam/steam")
               << home + QStringLiteral("/.var/app/com.valvesoftware.Steam/.local/share/Steam");
#endif
    QStringList folders;
    QStringList seen;
    for (const QString &candidate : candidates) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isDir())
            addOnce(&folders, &seen, QDir::fromNativeSeparators(candidate));
    }
    return folders;
}

QStringList steamLibraries(const QString &steamFolder)
{
    QStringList libraries;
    QStringList seen;
    addOnce(&libraries, &seen, steamFolder);
    const QString steamapps = steamappsOf(steamFolder);
    QFile list(steamapps + QStringLiteral("/libraryfolders.vdf"));
    if (steamapps.isEmpty() || !list.open(QIODevice::ReadOnly))
        return libraries;
    // Only absolute paths: the list is Steam's, but anything could have
    // written it.
    for (const QString &library : libraryFolders(list.read(1 << 20))) {
        const QString path = QDir::fromNativeSeparators(library);
        if (QDir::isAbsolutePath(path))
            addOnce(&libraries, &seen, path);
    }
    return libraries;
}

QStringList modFoldersIn(const QStringList &libraries)
{
    QStringList modFolders;
    for (const QString &library : libraries) {
        const QString steamapps = steamappsOf(library);
        if (steamapps.isEmpty())
            continue;
        const QDir common(steamapps + QStringLiteral("/common"));
        for (const QString &game :
             common.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QString folder = common.filePath(game);
            if (QFileInfo(folder + QStringLiteral("/Napoleon.exe")).isFile()
                && QFileInfo(folder + QStringLiteral("/data/ZOLM")).isDir())
                modFolders << QDir::toNativeSeparators(folder + QStringLiteral("/data/ZOLM/"));
        }
    }
    return modFolders;
}

QStringList modFoldersInSteamLibraries()
{
    QStringList libraries;
    QStringList seen;
    for (const QString &steam : steamFolders()) {
        for (const QString &library : steamLibraries(steam))
            addOnce(&libraries, &seen, library);
    }
    return modFoldersIn(libraries);
}
