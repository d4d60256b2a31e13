#include "app/zolmlauncher.h"
#include "fileops.h"
#include "pseudorandom.h"
#include "roots.h"
#include "ui_zolmlauncher.h"

#include <QFile>

namespace {

const QLatin1String defaultTheme("_Default (no theme)");

QString themeFile(const QString &theme, const char *name)
{
    return themeRoot + '/' + theme + '/' + QLatin1String(name);
}

// The theme staged when the player picked none: the default one when the
// selector is hidden, otherwise the picked name or a random draw that never
// takes the first folder (the default theme).
QString chosenTheme(const QComboBox *selector)
{
    if (selector->isHidden())
        return defaultTheme;
    if (selector->currentIndex() != 0)
        return selector->currentText();
    // Listed afresh: folders may have gone since the window was built, and a
    // draw needs at least one folder after the first.
    const QStringList themes = listSubfolders(themeRoot);
    if (themes.size() < 2)
        return defaultTheme;
    return themes.at(1 + drawPseudoRandom() % (themes.size() - 1));
}

// A theme without its own mov.pack borrows one.
QString lenderOf(const QString &theme)
{
    if (theme == QLatin1String("Mamelukes")
        || theme == QLatin1String("United Kingdom 1801 (Egypt)"))
        return QStringLiteral("France 1798-1801 (Orient)");
    if (theme == QLatin1String("United Kingdom 1812 and Canada"))
        return QStringLiteral("United States of America");
    return defaultTheme;
}

} // namespace

void ZolmLauncher::stageTheme(const QString &targetFolder)
{
    const QString themePack = targetFolder + "theme.pack";
    const QString moviePack = gameDataRoot + QLatin1String("ZOLM_wz.pack");
    QFile::remove(themePack);
    QFile::remove(moviePack);

    const QString theme = chosenTheme(ui->ComboTheme);
    QFile::copy(themeFile(theme, "mus.pack"), themePack);
    const QString ownMovies = themeFile(theme, "mov.pack");
    QFile::copy(isExistingFile(ownMovies) ? ownMovies : themeFile(lenderOf(theme), "mov.pack"),
                moviePack);
}
