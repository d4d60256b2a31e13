// SPDX-License-Identifier: GPL-3.0-or-later
#include "pressinputs.h"

#include "fileops.h"
#include "installation/listing.h"
#include "installation/roots.h"
#include "pseudorandom.h"

#include <QDir>

int PressChoices::nextDraw() const
{
    return draws.isEmpty() ? drawPseudoRandom() : draws.first();
}

int PressChoices::takeDraw()
{
    return draws.isEmpty() ? drawPseudoRandom() : draws.takeFirst();
}

ModListing readModListing()
{
    ModListing listing;
    listing.tempFolderExists = QDir(tempRoot).exists();
    listing.oldHardcoreTextIsFile
        = isExistingFile(gameDataRoot + QLatin1String("ZOLM_txt_hb.pack"));
    listing.scriptsFolderExists = QDir(gameScriptsFolder()).exists();
    listing.tints = listFiles(uiRoot + QLatin1String("Tint"));
    listing.themes = listSubfolders(themeRoot);
    for (const QString &theme : listing.themes) {
        if (isExistingFile(themeRoot + '/' + theme + "/mov.pack"))
            listing.themesWithMovies << theme;
    }
    return listing;
}
