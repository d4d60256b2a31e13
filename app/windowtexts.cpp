// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowtexts.h"

#include <QDir>
#include <QFileInfo>

namespace windowTexts {

Box gameNotFound(const QString &launcherFolder, const QStringList &modFolders)
{
    const QString what = QStringLiteral("Napoleon.exe cannot be found.\nZOLM is not installed in "
                                        "the correct folder.");
    const QString name = QFileInfo(launcherFolder).fileName();
    if (!modFolders.isEmpty())
        return Box {
            what,
            QStringLiteral("Move the folder %1 into %2, then start the launcher from there.")
                .arg(name, modFolders.join(QStringLiteral(" or into ")))};
    return Box {what
                    + QStringLiteral("\nThe launcher looks for it three folders above its own "
                                     "folder, %1, and found no game with ZOLM in Steam's "
                                     "libraries either.")
                          .arg(QDir::toNativeSeparators(launcherFolder)),
                QStringLiteral("Move the folder %1 into %2 in the game's folder (the folder that "
                               "holds Napoleon.exe), then start the launcher from there.")
                    .arg(name, QDir::toNativeSeparators(QStringLiteral("data/ZOLM/")))};
}

Box noSuchButton(QString caption)
{
    return Box {QStringLiteral("This copy of ZOLM has no \"%1\" button.")
                    .arg(caption.replace(QLatin1Char('\n'), QLatin1Char(' '))),
                QStringLiteral("Change the game's launch option in Steam to a button the "
                               "launcher's window shows, or start the launcher without --start "
                               "and pick one.")};
}

Box gameCommandNotFound(const QString &program)
{
    return Box {QStringLiteral("Steam's command for the game cannot be run: %1 is not there. No "
                               "file was changed.")
                    .arg(QDir::toNativeSeparators(program)),
                QStringLiteral("Check the game's launch option in Steam: it ends in "
                               "\"-- %command%\", as the launcher's README shows.")};
}

} // namespace windowTexts
