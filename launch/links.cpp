#include "app/zolmlauncher.h"

void ZolmLauncher::on_ButtonPatreon_clicked() { }

void ZolmLauncher::on_ButtonDiscord_clicked() { }

void ZolmLauncher::on_ButtonForum_clicked() { }

void ZolmLauncher::on_ButtonGuide_clicked() { }
