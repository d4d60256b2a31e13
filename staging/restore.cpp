// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "installation/roots.h"

FilePlan ZolmLauncher::restoreVanilla()
{
    FilePlan plan;
    for (const char *staged : {"ZOLM_txt.pack", "ZOLM_ui.pack", "ZOLM_wz.pack"})
        plan << removeFile(gameDataRoot + QLatin1String(staged));
    plan << removeFile(gameScriptsFolder() + "user.script.txt");

    // The backup holds one copy of each campaign file, for both campaigns.
    // Each replaces the mod's file in one move, so a game file is never gone.
    const struct
    {
        const char *backup;
        const char *target;
    } copies[] = {
        {"boot.pack", "boot.pack"},
        {"scripting.lua", "campaigns/spa_napoleon/scripting.lua"},
        {"startpos.esf", "campaigns/spa_napoleon/startpos.esf"},
        {"scripting.lua", "campaigns/mp_eur_napoleon/scripting.lua"},
        {"startpos.esf", "campaigns/mp_eur_napoleon/startpos.esf"},
    };
    for (const auto &copy : copies)
        plan << replaceGameFile(backupRoot + '/' + QLatin1String(copy.backup),
                                gameDataRoot + QLatin1String(copy.target));
    return plan;
}

void ZolmLauncher::on_ButtonVanilla_clicked()
{
    // The choices are not used, but the report names them as the window had them.
    runPress(&restoreVanilla, readChoices());
}
