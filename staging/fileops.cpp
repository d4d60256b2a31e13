// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops.h"

#include "app/zolmlauncher.h"
#include "installation/roots.h"

#include <QDir>
#include <QFileInfo>

FileStep replaceBootPack()
{
    return replaceGameFile(standardRoot + QLatin1String("boot.pack"),
                           gameDataRoot + QLatin1String("boot.pack"));
}

FileStep makeScriptsFolder()
{
    FileStep step = makeFolder(gameScriptsFolder());
    step.source = gameUserFolder();
    return step;
}

FileStep ZolmLauncher::installUserScript(const QString &folder)
{
    return replaceModFile(folder + "/user.script.txt", gameScriptsFolder() + "user.script.txt");
}

FileStep ZolmLauncher::installTextPack(const QString &folder)
{
    return replaceModFile(folder + "/txt.pack", gameDataRoot + QLatin1String("ZOLM_txt.pack"));
}

FilePlan ZolmLauncher::removeUiAndWzPacks()
{
    return {removeFile(gameDataRoot + QLatin1String("ZOLM_ui.pack")),
            removeFile(gameDataRoot + QLatin1String("ZOLM_wz.pack"))};
}
