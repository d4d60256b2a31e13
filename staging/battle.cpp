#include "app/zolmlauncher.h"
#include "fileops.h"
#include "pseudorandom.h"
#include "roots.h"
#include "ui_zolmlauncher.h"

#include <QDir>
#include <QFile>

void ZolmLauncher::setupBattle(const QString &mode)
{
    const int uiSize = ui->ComboUI->currentIndex();
    if (!QDir(tempRoot).exists())
        QDir().mkdir(tempRoot);

    // Both modes use the Classic text pack; an older mod version's Hardcore
    // text pack must not shadow it.
    const QString oldHardcoreText = gameDataRoot + QLatin1String("ZOLM_txt_hb.pack");
    if (isExistingFile(oldHardcoreText))
        QFile::remove(oldHardcoreText);
    installTextPack(version84Root + QLatin1String("Classic"));

    replaceBootPack();

    const QString uiPack = gameDataRoot + QLatin1String("ZOLM_ui.pack");
    QFile::remove(uiPack);
    if (uiSize > 0) {
        const QString size = ui->ComboUI->itemData(uiSize, Qt::UserRole).toString();
        QFile::copy(uiRoot + QLatin1String("Resize/") + size + ".pack", uiPack);
    }

    writeUserScript(ui->ChkNoUI->isChecked() ? QStringLiteral("RemoveUI") : mode);

    // -1 (no size chosen) takes the card groups of the resized interfaces.
    const QLatin1String cardGroups(uiSize != 0 ? "Luac/groups.pack" : "Luac/groups_no.pack");
    replaceByCopy(uiRoot + cardGroups, tempRoot + QLatin1String("cardgroups.pack"));

    const QString tintPack = tempRoot + QLatin1String("tint.pack");
    QFile::remove(tintPack);
    const QStringList tints = listFiles(uiRoot + QLatin1String("Tint"));
    if (!tints.isEmpty()) {
        const QString tint = tints.at(drawPseudoRandom() % tints.size());
        QFile::copy(uiRoot + QLatin1String("Tint/") + tint, tintPack);
    }

    stageTheme(tempRoot);
}

void ZolmLauncher::on_ButtonClassic_clicked()
{
    setupBattle(QStringLiteral("Classic"));
    applyPreferences(false);
    launchGame();
}

void ZolmLauncher::on_ButtonHardcore_clicked()
{
    setupBattle(QStringLiteral("Hardcore"));
    applyPreferences(true);
    launchGame();
}
