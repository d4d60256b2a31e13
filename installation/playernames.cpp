// SPDX-License-Identifier: GPL-3.0-or-later
#include "playernames.h"

#include "roots.h"

#include <QDir>

namespace playerNames {

Location locate(const QString &file)
{
    const QString scripts = gameScriptsFolder();
    // The journal names files by their absolute paths.
    const QString path = QDir::isAbsolutePath(file) && !file.startsWith(scripts)
        ? QDir::current().relativeFilePath(file)
        : file;
    if (path.startsWith(scripts))
        return {path.mid(scripts.size()), QStringLiteral("the game's scripts folder")};
    if (path.startsWith(tempRoot))
        return {path.mid(tempRoot.size()), QStringLiteral("the mod's Temp folder")};
    if (path.startsWith(gameDataRoot))
        return {path.mid(gameDataRoot.size()), QStringLiteral("the game's data folder")};
    if (path.startsWith(QLatin1String("../")))
        return {path.mid(3), QStringLiteral("the mod's folder")};
    return {path, QStringLiteral("its folder")};
}

QString inPlace(const QString &path)
{
    const Location at = locate(path);
    return at.name + QStringLiteral(" in ") + at.place;
}

QString fromDataFolder(const QString &path)
{
    return QDir(gameDataRoot).relativeFilePath(QDir(path).absolutePath());
}

QString copiedFrom(const QString &target, const QString &source)
{
    return inPlace(target) + QStringLiteral(", from ") + fromDataFolder(source);
}

} // namespace playerNames
