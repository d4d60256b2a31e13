// SPDX-License-Identifier: GPL-3.0-or-later
#include "zolmlauncher.h"

#include "installation/listing.h"
#include "installation/roots.h"
#include "ui_zolmlauncher.h"

#include <QSettings>

namespace {

// In the launcher's folder, beside the program.
const QString settingsFile = QStringLiteral("./zolm.ini");

void fillUiSizes(Ui_ZolmLauncher *ui, const QSettings &settings)
{
    const QLatin1String suffix(".pack");
    ui->ComboUI->addItem(QStringLiteral("No custom UI"), QVariant());
    for (const QString &name : listFiles(uiRoot + QLatin1String("Resize"))) {
        if (!name.endsWith(suffix, Qt::CaseSensitive))
            continue;
        const QString base = name.chopped(suffix.size());
        ui->ComboUI->addItem(base + ' ' + QChar(0x00D7) + " ....", base);
    }
    ui->ComboUI->setCurrentIndex(settings.value("UiSize", "1").toInt());
}

void fillThemes(Ui_ZolmLauncher *ui, const QSettings &settings)
{
    const QStringList themes = listSubfolders(themeRoot);
    if (themes.size() <= 4) {
        ui->ComboTheme->hide();
        return;
    }
    ui->ComboTheme->addItem(QStringLiteral(">>> Random theme"));
    for (const QString &theme : themes)
        ui->ComboTheme->addItem(theme);
    // A theme saved past the end of the list (its folder gone since) is no
    // choice at all: a press would stage a theme without a name. It becomes
    // the random theme, as a negative one does.
    const int theme = settings.value("FactionTheme", "0").toInt();
    ui->ComboTheme->setCurrentIndex(theme > 0 && theme < ui->ComboTheme->count() ? theme : 0);
}

void restoreFreeCamera(Ui_ZolmLauncher *ui, const QSettings &settings)
{
    if (settings.value("FreeCamera", "Y").toString() == QLatin1String("N"))
        ui->ChkFreecam->setCheckState(Qt::Unchecked);
}

} // namespace

void ZolmLauncher::restoreSettings()
{
    const QSettings settings(settingsFile, QSettings::IniFormat);
    fillUiSizes(ui, settings);
    fillThemes(ui, settings);
    restoreFreeCamera(ui, settings);
}

void ZolmLauncher::saveSettings()
{
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.setValue("UiSize", ui->ComboUI->currentIndex());
    settings.setValue("FactionTheme", ui->ComboTheme->currentIndex());
    settings.setValue("FreeCamera", ui->ChkFreecam->isChecked() ? "Y" : "N");
    // Complete on disk before the game is started and the launcher quits.
    settings.sync();
}
