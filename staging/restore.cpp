#include "app/zolmlauncher.h"
#include "roots.h"

#include <QFile>

void ZolmLauncher::on_ButtonVanilla_clicked()
{
    // Everything goes first: a copy never overwrites what is still there.
    for (const char *staged :
         {"boot.pack", "ZOLM_txt.pack", "ZOLM_ui.pack", "ZOLM_wz.pack",
          "campaigns/spa_napoleon/scripting.lua", "campaigns/spa_napoleon/startpos.esf",
          "campaigns/mp_eur_napoleon/scripting.lua", "campaigns/mp_eur_napoleon/startpos.esf"})
        QFile::remove(gameDataRoot + QLatin1String(staged));
    QFile::remove(gameScriptsFolder() + "user.script.txt");

    // The backup holds one copy of each campaign file, for both campaigns.
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
        QFile::copy(backupRoot + '/' + QLatin1String(copy.backup),
                    gameDataRoot + QLatin1String(copy.target));

    launchGame();
}
