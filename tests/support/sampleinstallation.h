// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Lays out a small installation of the game with the mod and its launcher:
//
//   <root>/Napoleon/Napoleon.exe              a stub game that records how it was started
//                                             (a shell script, or on Windows the
//                                             velmarch_stub_game.exe built beside
//                                             the running program)
//   <root>/Napoleon/data/                     the game's data folder
//   <root>/Napoleon/data/ZOLM/                the mod's folder
//   <root>/Napoleon/data/ZOLM/Launcher/       the launcher's folder, its working directory
//   <root>/AppData/The Creative Assembly/Napoleon/scripts/
//                                             the per-user scripts folder when
//                                             XDG_DATA_HOME is <root>/AppData
//                                             (or below another per-user folder,
//                                             where one is given)
//
// Every generated file holds its own path, so any two files differ and a copy
// can be traced back to its source.
class SampleInstallation
{
public:
    // The game's folder lies at gameFolder below the root ("Napoleon" unless a
    // case needs it elsewhere, such as in a Steam library). The per-user folder
    // is <root>/AppData unless given.
    explicit SampleInstallation(const QString &root, const QString &gameFolder = "Napoleon",
                                const QString &userDataHome = QString());

    bool create() const;

    // More theme folders (each with its two packs) and interface sizes, named
    // so that they sort after the standard ones.
    bool addThemes(int count) const;
    bool addInterfaceSizes(int count) const;

    QString root() const { return m_root; }
    QString gameFolder() const;
    QString dataFolder() const;
    QString modFolder() const;
    QString launcherFolder() const;
    QString userDataHome() const;
    QString scriptsFolder() const;
    // Written by the stub game when it starts: its working directory and
    // whether the launcher's settings file was already there.
    QString gameStartRecord() const;

    // The content every generated file has: its path below the root.
    QByteArray contentOf(const QString &path) const;

    // Writes a file below the root, making its folders; a relative path is taken
    // from the root.
    bool writeFile(const QString &path, const QByteArray &content) const;
    bool writeSampleFile(const QString &path) const;
    // A file of the given size that starts with its own path.
    bool writeSizedFile(const QString &path, qint64 size) const;

    static QByteArray utf16le(const QString &text);

private:
    QString absolute(const QString &path) const;
    bool writeStubGame() const;

    QString m_root;
    QString m_gameFolder;
    QString m_userDataHome;
};
