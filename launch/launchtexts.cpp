// SPDX-License-Identifier: GPL-3.0-or-later
#include "launchtexts.h"

namespace launchTexts {

Box gameNotStarted(const QString &reason, bool throughSteam)
{
#ifdef Q_OS_WIN
    const QString ownWayOut = QStringLiteral(
        "Check the game's files (Steam: the game's Properties, Installed Files, Verify integrity "
        "of game files), then start the launcher again.");
#else
    const QString ownWayOut = QStringLiteral(
        "Allow Napoleon.exe to run as a program (in its Properties, Permissions), or install the "
        "game in Steam, then start the launcher again.");
#endif
    return Box {QStringLiteral("Napoleon.exe could not be started: %1.").arg(reason),
                throughSteam ? QStringLiteral("Check that Steam is installed for this account and "
                                              "starts, then start the launcher again.")
                             : ownWayOut};
}

} // namespace launchTexts
