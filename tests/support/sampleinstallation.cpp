// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampleinstallation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextCodec>

namespace {

const QStringList themes = {
    "_Default (no theme)/mus.pack",
    "_Default (no theme)/mov.pack",
    "Austria/mus.pack",
    "France 1798-1801 (Orient)/mus.pack",
    "France 1798-1801 (Orient)/mov.pack",
    "Mamelukes/mus.pack",
    "Prussia/mus.pack",
    "Prussia/mov.pack",
    "United Kingdom 1801 (Egypt)/mus.pack",
    "United Kingdom 1812 and Canada/mus.pack",
    "United States of America/mus.pack",
    "United States of America/mov.pack",
};

const QStringList modFiles = {
    "UI/Resize/1.25.pack",
    "UI/Resize/1.5.pack",
    "UI/Resize/2.pack",
    "UI/Luac/groups.pack",
    "UI/Luac/groups_no.pack",
    "UI/Luac/luac.pack",
    "UI/Tint/amber.pack",
    "UI/Tint/dusk.pack",
    "UI/Tint/frost.pack",
    "UI/Remove/noui.pack",
    "UI/BloodSmoke/bsm.pack",
    "Version84/Classic/txt.pack",
    "Version84/Classic/db.pack",
    "Version84/Classic/sc.pack",
    "Version84/Classic/gfx4.pack",
    "Version84/Classic/variant4.pack",
    "Version84/Classic/mesh4.pack",
    "Version84/Hardcore/obfus.pack",
    "Version83/Classic/gfx3.pack",
    "Version83/Classic/atlas3.pack",
    "Version83/Classic/variant3.pack",
    "Version83/Classic/mesh3.pack",
    "Version83/Maps/mapdb.pack",
    "Standard/boot.pack",
    "Standard/fx1.pack",
    "Standard/fx2.pack",
    "Maps/a_f.pack",
    "Maps/g_z.pack",
    "Maps/hist.pack",
    "Maps/lmc.pack",
    "Maps/wa.pack",
    "Version80/Campaign/user.script.txt",
    "Version80/Campaign/txt.pack",
    "Backup/boot.pack",
    "Backup/scripting.lua",
    "Backup/startpos.esf",
};

const QStringList campaigns = {"1805", "Bavaria", "Ottoman", "Wurttemberg"};

const QStringList gameDataFiles = {
    "boot.pack",
    "campaigns/mp_eur_napoleon/scripting.lua",
    "campaigns/mp_eur_napoleon/startpos.esf",
    "campaigns/spa_napoleon/scripting.lua",
    "campaigns/spa_napoleon/startpos.esf",
};

#ifndef Q_OS_WIN
const char stubGame[] = "#!/bin/sh\n"
                        "# Stands in for the game: records how the launcher started it.\n"
                        "# The record is written aside and renamed, so it appears whole.\n"
                        "record=\"$(dirname \"$0\")/game-started.txt\"\n"
                        "{\n"
                        "  echo \"cwd=$(pwd)\"\n"
                        "  if [ -e zolm.ini ]; then echo \"zolm.ini=present\"; "
                        "else echo \"zolm.ini=missing\"; fi\n"
                        "} > \"$record.part\" && mv -f \"$record.part\" \"$record\"\n";
#endif

const char preferences[] = "default_camera_type 0;\r\n"
                           "ui_land_unit_ids 0;\r\n"
                           "ui_card_mode 0;\r\n"
                           "ui_order_button_mode 0;\r\n"
                           "gfx_first_run false;\r\n";

} // namespace

SampleInstallation::SampleInstallation(const QString &root, const QString &gameFolder,
                                       const QString &userDataHome)
    : m_root(QDir(root).absolutePath())
    , m_gameFolder(gameFolder)
    , m_userDataHome(userDataHome.isEmpty() ? m_root + "/AppData" : userDataHome)
{
}

QString SampleInstallation::gameFolder() const
{
    return m_root + '/' + m_gameFolder;
}

QString SampleInstallation::dataFolder() const
{
    return gameFolder() + "/data";
}

QString SampleInstallation::modFolder() const
{
    return dataFolder() + "/ZOLM";
}

QString SampleInstallation::launcherFolder() const
{
    return modFolder() + "/Launcher";
}

QString SampleInstallation::userDataHome() const
{
    return m_userDataHome;
}

QString SampleInstallation::scriptsFolder() const
{
    return userDataHome() + "/The Creative Assembly/Napoleon/scripts";
}

QString SampleInstallation::gameStartRecord() const
{
    return gameFolder() + "/game-started.txt";
}

QString SampleInstallation::absolute(const QString &path) const
{
    return QDir::isAbsolutePath(path) ? path : m_root + '/' + path;
}

QByteArray SampleInstallation::contentOf(const QString &path) const
{
    return "sample " + QDir(m_root).relativeFilePath(absolute(path)).toUtf8() + '\n';
}

QByteArray SampleInstallation::utf16le(const QString &text)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return QByteArray("\xFF\xFE", 2)
        + QTextCodec::codecForName("UTF-16LE")->fromUnicode(text.constData(), text.size(), &state);
}

bool SampleInstallation::writeFile(const QString &path, const QByteArray &content) const
{
    const QString target = absolute(path);
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return false;
    QFile file(target);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

bool SampleInstallation::writeSampleFile(const QString &path) const
{
    return writeFile(path, contentOf(path));
}

bool SampleInstallation::writeSizedFile(const QString &path, qint64 size) const
{
    const QString target = absolute(path);
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return false;
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block = contentOf(path);
    block = block.leftJustified(1 << 20, '.').left(int(qMin<qint64>(size, 1 << 20)));
    for (qint64 written = 0; written < size; written += block.size()) {
        const QByteArray part = block.left(int(qMin<qint64>(block.size(), size - written)));
        if (file.write(part) != part.size())
            return false;
    }
    return true;
}

bool SampleInstallation::addThemes(int count) const
{
    for (int i = 1; i <= count; ++i) {
        const QString folder
            = modFolder() + QString("/UI/Theme/Zone %1/").arg(i, 2, 10, QChar('0'));
        if (!writeSampleFile(folder + "mus.pack") || !writeSampleFile(folder + "mov.pack"))
            return false;
    }
    return true;
}

bool SampleInstallation::addInterfaceSizes(int count) const
{
    for (int i = 1; i <= count; ++i) {
        if (!writeSampleFile(modFolder()
                             + QString("/UI/Resize/x%1.pack").arg(i, 2, 10, QChar('0'))))
            return false;
    }
    return true;
}

bool SampleInstallation::writeStubGame() const
{
    const QString path = gameFolder() + "/Napoleon.exe";
#ifdef Q_OS_WIN
    return QFile::copy(QCoreApplication::applicationDirPath() + "/velmarch_stub_game.exe", path);
#else
    return writeFile(path, stubGame)
        && QFile::setPermissions(path,
                                 QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup
                                     | QFile::ExeOther);
#endif
}

bool SampleInstallation::create() const
{
    QStringList files;
    for (const QString &file : gameDataFiles)
        files << dataFolder() + '/' + file;
    for (const QString &file : modFiles)
        files << modFolder() + '/' + file;
    for (const QString &file : themes)
        files << modFolder() + "/UI/Theme/" + file;
    for (const QString &campaign : campaigns) {
        files << modFolder() + "/Version80/Campaign/" + campaign + "/scripting.lua";
        files << modFolder() + "/Version80/Campaign/" + campaign + "/startpos.esf";
    }
    for (const QString &file : files) {
        if (!writeSampleFile(file))
            return false;
    }
    return writeStubGame() && QDir().mkpath(launcherFolder())
        && QDir().mkpath(dataFolder() + "/campaigns/zolm")
        && writeFile(scriptsFolder() + "/preferences.script.txt",
                     utf16le(QString::fromLatin1(preferences)));
}
