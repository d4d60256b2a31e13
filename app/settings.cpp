// SPDX-License-Identifier: GPL-3.0-or-later
#include "zolmlauncher.h"

#include "ui_zolmlauncher.h"

#include <QSettings>

void ZolmLauncher::saveSettings()
{
    QSettings settings(QStringLiteral("./zolm.ini"), QSettings::IniFormat);
    settings.setValue("UiSize", ui->ComboUI->currentIndex());
    settings.setValue("FactionTheme", ui->ComboTheme->currentIndex());
    settings.setValue("FreeCamera", ui->ChkFreecam->isChecked() ? "Y" : "N");
    // Complete on disk before the game is started and the launcher quits.
    settings.sync();
}
