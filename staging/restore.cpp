#include "app/zolmlauncher.h"

void ZolmLauncher::on_ButtonVanilla_clicked()
{
    launchGame();
}
