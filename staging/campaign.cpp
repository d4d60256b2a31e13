#include "app/zolmlauncher.h"

void ZolmLauncher::on_SPC1805_clicked()
{
    launchGame();
}

void ZolmLauncher::on_SPCbava_clicked()
{
    launchGame();
}

void ZolmLauncher::on_SPCotto_clicked()
{
    launchGame();
}

void ZolmLauncher::on_SPCwurt_clicked()
{
    launchGame();
}
