#include "app/zolmlauncher.h"
#include "fileops.h"
#include "roots.h"

void ZolmLauncher::setupCampaign(const QString &name)
{
    const QString campaign = campaignRoot() + '/' + name + '/';
    const QString gameCampaign = gameDataRoot + QLatin1String("campaigns/mp_eur_napoleon/");
    const QString modCampaign = gameDataRoot + QLatin1String("campaigns/zolm/");

    replaceBootPack();
    replaceByCopy(campaign + "scripting.lua", gameCampaign + "scripting.lua");
    replaceByCopy(campaign + "startpos.esf", modCampaign + "startpos.esf");
    // The load list and text pack are the same for every campaign.
    installUserScript(campaignRoot());
    installTextPack(campaignRoot());
    stageTheme(tempRoot);
}

namespace {

void startCampaign(ZolmLauncher *launcher, const QString &name)
{
    launcher->setupCampaign(name);
    launcher->applyPreferences(false);
    // Campaigns run with the game's own interface size and intro movies.
    launcher->removeUiAndWzPacks();
    launcher->launchGame();
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
