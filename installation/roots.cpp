// SPDX-License-Identifier: GPL-3.0-or-later
#include "roots.h"

#include "steamlibrary.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

QString campaignRoot()
{
    return version80Root + QLatin1String("Campaign/");
}

namespace {

const QLatin1String scriptsBelowUserFolder("The Creative Assembly/Napoleon/scripts/");

QString roamingUserFolder()
{
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir::cleanPath(appData + "/..") + '/';
}

QString roamingScriptsFolder()
{
    return roamingUserFolder() + scriptsBelowUserFolder;
}

// Only the game's own prefix: the id Steam's manifest gives the game, or,
// while there is no manifest to say (Steam rewriting it), the one prefix of
// the game's library that holds the game's scripts folder.
bool isGamesPrefix(const QString &id)
{
    const SteamGame steam = findSteamGame();
    if (steam.isRecognised())
        return steam.id == id;
    const QDir prefixes(gameSteamapps() + QStringLiteral("/compatdata"));
    QStringList withScripts;
    for (const QString &other : prefixes.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFileInfo(protonUserFolder(other) + scriptsBelowUserFolder).isDir())
            withScripts << other;
    }
    return withScripts == QStringList {id};
}

QString rootFolder(PressRoot root)
{
    switch (root) {
    case PressRoot::GameData:
        return gameDataRoot;
    case PressRoot::Mod:
        return QStringLiteral("../");
    case PressRoot::Scripts:
        break;
    }
    return gameScriptsFolder();
}

} // namespace

QString gameScriptsFolder()
{
    return gameUserFolder() + scriptsBelowUserFolder;
}

QString gameUserFolder()
{
#ifndef Q_OS_WIN
    // Under Proton the game keeps its per-user files in its own prefix.
    const QString proton = protonUserFolder(findSteamGame());
    if (!proton.isEmpty())
        return proton;
#endif
    return roamingUserFolder();
}

bool gameRunsUnderProton()
{
#ifdef Q_OS_WIN
    return false;
#else
    return findSteamGame().isRecognised();
#endif
}

QString scriptsPlace()
{
#ifndef Q_OS_WIN
    const SteamGame steam = findSteamGame();
    if (steam.isRecognised())
        return QStringLiteral("proton ") + steam.id;
#endif
    return QStringLiteral("roaming");
}

QString scriptsFolderAt(const QString &place)
{
    if (place == QLatin1String("roaming"))
        return roamingScriptsFolder();
#ifdef Q_OS_WIN
    // No Proton under Windows.
    return QString();
#endif
    static const QRegularExpression proton(QStringLiteral("^proton ([0-9]{1,12})$"));
    const QRegularExpressionMatch match = proton.match(place);
    const QString id = match.captured(1);
    const QString user = match.hasMatch() ? protonUserFolder(id) : QString();
    if (user.isEmpty() || !isGamesPrefix(id))
        return QString();
    return user + scriptsBelowUserFolder;
}

QString PressTarget::path() const
{
    return rootFolder(root) + name;
}

const QVector<PressTarget> &pressTargets()
{
    using R = PressRoot;
    static const QVector<PressTarget> targets {
        {R::GameData, latin1("boot.pack"), false},
        {R::GameData, latin1("ZOLM_txt.pack"), true},
        {R::GameData, latin1("ZOLM_txt_hb.pack"), true},
        {R::GameData, latin1("ZOLM_ui.pack"), true},
        {R::GameData, latin1("ZOLM_wz.pack"), true},
        {R::GameData, latin1("campaigns/mp_eur_napoleon/scripting.lua"), false},
        {R::GameData, latin1("campaigns/mp_eur_napoleon/startpos.esf"), false},
        {R::GameData, latin1("campaigns/spa_napoleon/scripting.lua"), false},
        {R::GameData, latin1("campaigns/spa_napoleon/startpos.esf"), false},
        {R::GameData, latin1("campaigns/zolm/startpos.esf"), true},
        {R::Mod, latin1("Temp/theme.pack"), true},
        {R::Mod, latin1("Temp/cardgroups.pack"), true},
        {R::Mod, latin1("Temp/tint.pack"), true},
        {R::Scripts, latin1("user.script.txt"), true},
        {R::Scripts, latin1("preferences.script.txt"), false},
    };
    return targets;
}

std::optional<PressTarget> pressTargetAt(const QString &path)
{
    const QString wanted = QFileInfo(path).absoluteFilePath();
    for (const PressTarget &target : pressTargets()) {
        if (QFileInfo(target.path()).absoluteFilePath() == wanted)
            return target;
    }
    return std::nullopt;
}

QVector<PressFolder> pressFolders()
{
    QVector<PressFolder> folders;
    for (const PressTarget &target : pressTargets()) {
        const QFileInfo file(target.path());
        const QString path = file.path() + '/';
        const auto known
            = std::find_if(folders.begin(), folders.end(),
                           [&](const PressFolder &folder) { return folder.path == path; });
        if (known == folders.end())
            folders << PressFolder {path, {file.fileName()}};
        else
            known->names << file.fileName();
    }
    // Leftovers of presses made before the game's Proton prefix existed.
    for (const QString &other : scriptsFolders().mid(1))
        folders << PressFolder {other, scriptsFileNames()};
    return folders;
}

QStringList scriptsFileNames()
{
    QStringList names;
    for (const PressTarget &target : pressTargets()) {
        if (target.root == PressRoot::Scripts)
            names << target.name;
    }
    return names;
}

QStringList scriptsFolders()
{
    QStringList folders {gameScriptsFolder()};
    if (!folders.contains(roamingScriptsFolder()))
        folders << roamingScriptsFolder();
    return folders;
}
