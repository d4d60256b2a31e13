// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "fileops.h"
#include "installation/roots.h"

FilePlan ZolmLauncher::setupBattle(const QString &mode, const PressChoices &choices,
                                   const ModListing &listing)
{
    FilePlan plan;
    if (!listing.tempFolderExists)
        plan << makeFolder(tempRoot);

    // Both modes use the Classic text pack; an older mod version's Hardcore
    // text pack must not shadow it.
    if (listing.oldHardcoreTextIsFile)
        plan << removeFile(gameDataRoot + QLatin1String("ZOLM_txt_hb.pack"));
    plan << installTextPack(version84Root + QLatin1String("Classic"));
    plan << replaceBootPack();

    const QString uiPack = gameDataRoot + QLatin1String("ZOLM_ui.pack");
    if (choices.uiSize > 0)
        plan << replaceModFile(uiRoot + QLatin1String("Resize/") + choices.uiSizePack + ".pack",
                               uiPack);
    else
        plan << removeFile(uiPack);

    if (!listing.scriptsFolderExists)
        plan << makeScriptsFolder();
    plan << writeUserScript(choices.screenshotMode ? QStringLiteral("RemoveUI") : mode);

    // -1 (no size chosen) takes the card groups of the resized interfaces.
    const QLatin1String cardGroups(choices.uiSize != 0 ? "Luac/groups.pack"
                                                       : "Luac/groups_no.pack");
    plan << replaceModFile(uiRoot + cardGroups, tempRoot + QLatin1String("cardgroups.pack"));

    const QString tintPack = tempRoot + QLatin1String("tint.pack");
    PressChoices theRest = choices;
    if (listing.tints.isEmpty()) {
        plan << removeFile(tintPack);
    } else {
        const QString tint = listing.tints.at(theRest.takeDraw() % listing.tints.size());
        plan << replaceModFile(uiRoot + QLatin1String("Tint/") + tint, tintPack);
    }

    return plan << stageTheme(tempRoot, theRest, listing);
}

void ZolmLauncher::on_ButtonClassic_clicked()
{
    const PressChoices choices = readChoices();
    runPress(
        [choices] {
            return setupBattle(QStringLiteral("Classic"), choices, readModListing())
                << applyPreferences(false, choices);
        },
        choices);
}

void ZolmLauncher::on_ButtonHardcore_clicked()
{
    const PressChoices choices = readChoices();
    runPress(
        [choices] {
            return setupBattle(QStringLiteral("Hardcore"), choices, readModListing())
                << applyPreferences(true, choices);
        },
        choices);
}
