// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "fileops.h"
#include "installation/roots.h"

FilePlan ZolmLauncher::setupCampaign(const QString &name, const PressChoices &choices,
                                     const ModListing &listing)
{
    const QString campaign = campaignRoot() + '/' + name + '/';
    const QString gameCampaign = gameDataRoot + QLatin1String("campaigns/mp_eur_napoleon/");
    const QString modCampaign = gameDataRoot + QLatin1String("campaigns/zolm/");

    FilePlan plan;
    plan << replaceBootPack();
    plan << replaceGameFile(campaign + "scripting.lua", gameCampaign + "scripting.lua");
    plan << replaceModFile(campaign + "startpos.esf", modCampaign + "startpos.esf");
    // The load list and text pack are the same for every campaign.
    if (!listing.scriptsFolderExists)
        plan << makeScriptsFolder();
    plan << installUserScript(campaignRoot());
    plan << installTextPack(campaignRoot());
    // Campaigns do not make the Temp folder; without it they start without
    // a theme pack.
    FilePlan theme = stageTheme(tempRoot, choices, listing);
    if (!listing.tempFolderExists)
        theme.removeFirst();
    return plan << theme;
}

namespace {

void startCampaign(ZolmLauncher *launcher, const QString &name)
{
    const PressChoices choices = launcher->readChoices();
    // Campaigns run with the game's own interface size and intro movies.
    launcher->runPress(
        [name, choices] {
            return ZolmLauncher::setupCampaign(name, choices, readModListing())
                << ZolmLauncher::applyPreferences(false, choices)
                << ZolmLauncher::removeUiAndWzPacks();
        },
        choices);
}

} // namespace

void ZolmLauncher::on_SPC1805_clicked()
{
    startCampaign(this, QStringLiteral("1805"));
}

void ZolmLauncher::on_SPCbava_clicked()
{
    startCampaign(this, QStringLiteral("Bavaria"));
}

void ZolmLauncher::on_SPCotto_clicked()
{
    startCampaign(this, QStringLiteral("Ottoman"));
}

void ZolmLauncher::on_SPCwurt_clicked()
{
    startCampaign(this, QStringLiteral("Wurttemberg"));
}
