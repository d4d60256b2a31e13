#include "app/zolmlauncher.h"

void ZolmLauncher::on_ButtonClassic_clicked() { }

void ZolmLauncher::on_ButtonHardcore_clicked() { }
