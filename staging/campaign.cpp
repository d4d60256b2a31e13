#include "app/zolmlauncher.h"

void ZolmLauncher::on_SPC1805_clicked() { }

void ZolmLauncher::on_SPCbava_clicked() { }

void ZolmLauncher::on_SPCotto_clicked() { }

void ZolmLauncher::on_SPCwurt_clicked() { }
