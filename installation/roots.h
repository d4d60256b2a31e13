// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// A constant Latin-1 text. Qt 5's constructor from a pointer measures the text
// with strlen, which only some compilers evaluate at compile time; the length
// of a literal is known.
template<int size> constexpr QLatin1String latin1(const char (&text)[size])
{
    return QLatin1String(text, size - 1);
}

// Every path the launcher uses is relative to its own folder, which lies in
// the mod's folder, which lies in the game's data folder. Paths are joined by
// plain concatenation and never normalised.
constexpr QLatin1String gameDataRoot = latin1("../../");
constexpr QLatin1String uiRoot = latin1("../UI/");
constexpr QLatin1String version80Root = latin1("../Version80/");
constexpr QLatin1String version84Root = latin1("../Version84/");
constexpr QLatin1String standardRoot = latin1("../Standard/");
constexpr QLatin1String tempRoot = latin1("../Temp/");
constexpr QLatin1String backupRoot = latin1("../Backup");
constexpr QLatin1String themeRoot = latin1("../UI/Theme");
// The game, in the folder that holds the game's data folder.
constexpr QLatin1String gameExecutable = latin1("../../../Napoleon.exe");

QString campaignRoot();

// The game's per-user scripts folder, ending in "/". It is a sibling of the
// launcher's own application-data folder, which need not exist, so the ".."
// is resolved on the text rather than through the file system. Outside
// Windows, a game in a Steam library keeps it in its Proton prefix instead,
// whether or not Steam has made that prefix yet.
QString gameScriptsFolder();
// The folder that holds the game's scripts folder, ending in "/": the
// player's roaming application data; under Proton the one in the game's
// prefix, which Steam makes at the game's first start, whether or not it is
// there yet.
QString gameUserFolder();
// Whether the game runs under Proton: outside Windows, from a Steam library.
bool gameRunsUnderProton();
// Where the game's scripts folder lies, so that it is found again wherever
// the installation went and however it is reached: "proton <id>", the
// Proton prefix of the game of that id beside the game's folder in its Steam
// library, or "roaming", this account's roaming folder.
QString scriptsPlace();
// The scripts folder such a place names now, ending in "/"; empty where it
// names none (a Proton prefix, where the game lies in no Steam library).
QString scriptsFolderAt(const QString &place);

// The folders a press changes files in, as its journal names them.
enum class PressRoot { GameData, Mod, Scripts };

// A file that a press may change: what one of the buttons' plans puts in
// place or removes. No press, and no recovery of one, moves or removes any
// other file.
struct PressTarget
{
    PressRoot root;
    QLatin1String name; // below the root, with "/" between folders
    bool removable; // the game's own files and the preferences are only ever replaced

    QString path() const;
};
const QVector<PressTarget> &pressTargets();
// The press target a path names, if it names one.
std::optional<PressTarget> pressTargetAt(const QString &path);

// A folder a press puts files in, and the names of the files it may change
// there: the game's data folder and its campaign folders, the mod's Temp
// folder, and every scripts folder the game may use (under Proton the one in
// the game's prefix and the one used before that prefix was made).
struct PressFolder
{
    QString path; // ending in "/"
    QStringList names;
};
QVector<PressFolder> pressFolders();
// The names of the files a press may change in a scripts folder.
QStringList scriptsFileNames();
// The scripts folders the game may use, each ending in "/": its own, and
// under Proton the one used before the game's prefix was made.
QStringList scriptsFolders();
