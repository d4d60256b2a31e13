#include "app/zolmlauncher.h"

void ZolmLauncher::on_ButtonClassic_clicked()
{
    launchGame();
}

void ZolmLauncher::on_ButtonHardcore_clicked()
{
    launchGame();
}
