#include "zolmlauncher.h"

#include "staging/pressexecutor.h"
#include "ui_zolmlauncher.h"

#include <QMessageBox>

PressChoices ZolmLauncher::readChoices() const
{
    PressChoices choices;
    choices.uiSize = ui->ComboUI->currentIndex();
    if (choices.uiSize > 0)
        choices.uiSizePack = ui->ComboUI->itemData(choices.uiSize, Qt::UserRole).toString();
    choices.screenshotMode = ui->ChkNoUI->isChecked();
    choices.freeCamera = ui->ChkFreecam->isChecked();
    choices.themeSelectorShown = !ui->ComboTheme->isHidden();
    choices.themeIndex = ui->ComboTheme->currentIndex();
    choices.themeName = ui->ComboTheme->currentText();
    return choices;
}

void ZolmLauncher::runPress(const FilePlan &plan)
{
    const PressReport report = executePlan(plan);
    for (const QString &error : report.errors)
        QMessageBox::critical(this, QStringLiteral("Error"), error, QMessageBox::Ok,
                              QMessageBox::NoButton);
    // After a failed step the window stays open, so that the player can free
    // space or close the game and press again.
    if (!report.stopped)
        launchGame();
}
