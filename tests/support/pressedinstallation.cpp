// SPDX-License-Identifier: GPL-3.0-or-later
#include "pressedinstallation.h"

#include "press/executor.h"

#include <QDir>
#include <QDirIterator>

FilePlan planFor(const QString &button, bool before, bool sizeOnly)
{
    const bool others = before || sizeOnly;
    PressChoices choices;
    choices.uiSize = before ? 1 : 3;
    choices.uiSizePack = before ? "1.25" : "2";
    choices.freeCamera = others;
    choices.themeSelectorShown = true;
    choices.themeIndex = 1;
    choices.themeName = others ? "Mamelukes" : "Prussia";
    choices.draws = {others ? 0 : 1}; // another tint; the theme is named, so none is drawn
    return planOf(button, choices, readModListing());
}

const QString preferencesPath
    = "AppData/The Creative Assembly/Napoleon/scripts/preferences.script.txt";

bool isAside(const QString &path)
{
    return (path.contains(".velmarch-") || path.contains("velmarch-press"))
        && !path.endsWith("velmarch-press.lock");
}

QMap<QString, QByteArray> filesOf(const LauncherFixture &fixture)
{
    QMap<QString, QByteArray> files = fixture.snapshot();
    for (const QString &path : files.keys()) {
        if (path.contains("/Launcher/") || path.endsWith("game-started.txt") || isAside(path))
            files.remove(path);
    }
    return files;
}

QString leftAside(const LauncherFixture &fixture)
{
    QStringList aside;
    QDirIterator it(fixture.sample().root(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (isAside(it.next()))
            aside << it.filePath();
    }
    return aside.join(", ");
}

const QString steamGame = "Library/steamapps/common/Napoleon";
const QString manifestPath = "Library/steamapps/appmanifest_34030.acf";
const QString prefixScripts = "Library/steamapps/compatdata/34030/pfx/drive_c/users/steamuser/"
                              "AppData/Roaming/The Creative Assembly/Napoleon/scripts";

std::unique_ptr<LauncherFixture> pressedBefore(const QString &button, qint64 bootPackSize,
                                               const QString &gameFolder)
{
    auto fixture = std::make_unique<LauncherFixture>(gameFolder);
    const SampleInstallation &sample = fixture->sample();
    if (gameFolder == steamGame
        && !(sample.writeFile(manifestPath, R"("AppState" { "installdir" "Napoleon" })")
             && QDir().mkpath(sample.root() + '/' + prefixScripts)))
        qFatal("no Steam library");
    if (!fixture->isValid() || (!button.isEmpty() && executePlan(planFor(button, true)).stopped)
        || (bootPackSize
            && !fixture->sample().writeSizedFile(fixture->mod("Standard/boot.pack"), bootPackSize)))
        qFatal("the press before did not complete");
    return fixture;
}

QMap<QString, QByteArray> pressAlone(const QString &button, QVector<files::Operation> *operations,
                                     qint64 bootPackSize, const QString &before,
                                     const QString &gameFolder, bool sizeOnly)
{
    const auto fixture = pressedBefore(before, bootPackSize, gameFolder);
    files::watch([&](const files::Operation &operation) {
        *operations << operation;
        return 0;
    });
    const bool done = !executePlan(planFor(button, false, sizeOnly)).stopped;
    files::watch({});
    return done ? filesOf(*fixture) : QMap<QString, QByteArray>();
}
