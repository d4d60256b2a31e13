#include "zolmlauncher.h"

#include "ui_zolmlauncher.h"

#include <QSettings>

void ZolmLauncher::saveSettings()
{
    QSettings settings(QStringLiteral("./zolm.ini"), QSettings::IniFormat);
    settings.setValue("UiSize", ui->ComboUI->currentIndex());
    settings.setValue("FactionTheme", ui->ComboTheme->currentIndex());
    settings.setValue("FreeCamera", ui->ChkFreecam->isChecked() ? "Y" : "N");
    // On disk before the game starts and reads nothing of it, but before the
    // launcher quits and a crash could lose it.
    settings.sync();
}
