// SPDX-License-Identifier: GPL-3.0-or-later
#include "theme.h"
#include "app/zolmlauncher.h"
#include "fileops.h"
#include "installation/roots.h"

namespace {

const QLatin1String defaultTheme("_Default (no theme)");

QString themeFile(const QString &theme, const char *name)
{
    return themeRoot + '/' + theme + '/' + QLatin1String(name);
}

// The theme staged: the default one when the selector is hidden, otherwise
// the picked name or a random draw that never takes the first folder (the
// default theme).
QString chosenTheme(const PressChoices &choices, const QStringList &themes)
{
    if (!choices.themeSelectorShown)
        return defaultTheme;
    if (choices.themeIndex != 0)
        return choices.themeName;
    // Folders may have gone since the window was built, and a draw needs at
    // least one folder after the first.
    if (themes.size() < 2)
        return defaultTheme;
    return themes.at(1 + choices.nextDraw() % (themes.size() - 1));
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

FilePlan ZolmLauncher::stageTheme(const QString &targetFolder, const PressChoices &choices,
                                  const ModListing &listing)
{
    const QString theme = chosenTheme(choices, listing.themes);
    const QString movies = listing.themesWithMovies.contains(theme) ? theme : lenderOf(theme);
    return {replaceModFile(themeFile(theme, "mus.pack"), targetFolder + "theme.pack"),
            replaceModFile(themeFile(movies, "mov.pack"),
                           gameDataRoot + QLatin1String("ZOLM_wz.pack"))};
}

QString stagedTheme(const FilePlan &plan)
{
    const QString prefix = themeRoot + '/';
    const QLatin1String music("/mus.pack");
    for (const FileStep &step : plan) {
        if (step.kind == FileStep::Replace && step.target == tempRoot + QLatin1String("theme.pack")
            && step.source.startsWith(prefix) && step.source.endsWith(music))
            return step.source.mid(prefix.size(),
                                   step.source.size() - prefix.size() - music.size());
    }
    return QString();
}
