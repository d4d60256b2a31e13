// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "press/box.h"

#include <QString>
#include <QStringList>

// The boxes the window itself shows, each its text and its way out.
namespace windowTexts {

// The game is not where a launcher's folder has it: where the launcher's
// folder (its absolute path) should go, the mod's folders of the games found
// in Steam's libraries, or what it looked for where none was found.
Box gameNotFound(const QString &launcherFolder, const QStringList &modFolders);
// The command line named a start button that the window does not show.
Box noSuchButton(QString caption);
// The program of Steam's command for the game, given after "--", is not there.
Box gameCommandNotFound(const QString &program);

} // namespace windowTexts
