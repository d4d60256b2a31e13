#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>

// Every path the launcher uses is relative to its own folder, which lies in
// the mod's folder, which lies in the game's data folder. Paths are joined by
// plain concatenation and never normalised.
constexpr QLatin1String gameDataRoot("../../");
constexpr QLatin1String uiRoot("../UI/");
constexpr QLatin1String version80Root("../Version80/");
constexpr QLatin1String version84Root("../Version84/");
constexpr QLatin1String standardRoot("../Standard/");
constexpr QLatin1String tempRoot("../Temp/");
constexpr QLatin1String backupRoot("../Backup");
constexpr QLatin1String themeRoot("../UI/Theme");

QString campaignRoot();

// The game's per-user scripts folder, ending in "/". It is a sibling of the
// launcher's own application-data folder, which need not exist, so the ".."
// is resolved on the text rather than through the file system. Outside
// Windows, a game in a Steam library keeps it in its Proton prefix instead,
// once that prefix exists.
QString gameScriptsFolder();

// Every folder a press puts files in: the game's data folder and its campaign
// folders, the mod's Temp folder and the game's scripts folder.
QStringList stagingFolders();
