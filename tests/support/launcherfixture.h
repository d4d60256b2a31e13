// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "press/box.h"
#include "sampleinstallation.h"

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QTemporaryDir>

// A fresh sample installation in a temporary folder, with the launcher's folder
// as the working directory and the per-user data folder inside the tree. Both
// are put back when the fixture goes.
class LauncherFixture
{
public:
    explicit LauncherFixture(const QString &gameFolder = "Napoleon");
    ~LauncherFixture();

    bool isValid() const { return m_valid; }
    const SampleInstallation &sample() const { return m_sample; }

    // Paths below the game's data folder, the mod's folder and the scripts folder.
    QString data(const QString &path) const;
    QString mod(const QString &path) const;
    QString scripts(const QString &path) const;

    // Every file below the root with its bytes, keyed by path below the root,
    // but for the launchers' lock.
    QMap<QString, QByteArray> snapshot() const;

    static QByteArray read(const QString &path);
    // Sets a file's modification time, leaving its bytes alone.
    static bool setModificationTime(const QString &path, const QDateTime &time);
    static bool removeTree(const QString &path);

private:
    void removeGameUserFolder() const;

    QTemporaryDir m_dir;
    SampleInstallation m_sample;
    QString m_previousDir;
    QByteArray m_previousDataHome;
    bool m_valid = false;
};

// A box as a failed comparison prints it: its text, then its way out.
char *toString(const Box &box);
