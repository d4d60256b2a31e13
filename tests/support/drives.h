// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Real drives for the cases: a file system mounted over a folder of the
// case's tree, a FAT drive, and a tree copied onto one.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A file system mounted over a folder of the case's tree for as long as the
// case runs; needs root where mounts are allowed.
class Mount
{
public:
    Mount(const QString &folder, const QStringList &arguments)
        : m_folder(folder)
    {
        QProcess mount;
        mount.start("mount", arguments + QStringList {folder});
        m_mounted = mount.waitForFinished() && mount.exitCode() == 0;
        m_error = QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
    }
    ~Mount()
    {
        if (m_mounted)
            QProcess::execute("umount", {m_folder});
    }
    bool isMounted() const { return m_mounted; }
    QString error() const { return m_error; }

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_error;
};

// A USB or external drive over a folder: a FAT32 image through a loop device
// where the kernel reads FAT, otherwise an exFAT image through FUSE. Needs
// root where mounts are allowed.
class FatDrive
{
public:
    explicit FatDrive(const QString &folder)
        : m_folder(folder)
    {
        const QString image = m_image.filePath("drive.img");
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(64 << 20))
            return;
        file.close();
        m_mounted
            = run("mkfs.vfat", {"-F", "32", image}) && run("mount", {"-o", "loop", image, folder});
        if (m_mounted || !run("mkfs.exfat", {image}) || !run("losetup", {"-f", "--show", image}))
            return;
        m_device = m_output;
        m_mounted = run("mount.exfat-fuse", {m_device, folder});
    }
    ~FatDrive()
    {
        QDir::setCurrent(m_image.path()); // out of the drive
        if (m_mounted)
            run("umount", {m_folder});
        if (!m_device.isEmpty())
            run("losetup", {"-d", m_device});
    }
    bool isMounted() const { return m_mounted; }
    QString error() const { return m_error; }

private:
    bool run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        const bool done = process.waitForFinished() && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0;
        m_output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
        if (!done)
            m_error += program + ": " + process.errorString() + ' '
                + QString::fromLocal8Bit(process.readAllStandardError()).trimmed() + "; ";
        return done;
    }

    QTemporaryDir m_image;
    QString m_folder;
    QString m_device;
    QString m_output;
    QString m_error;
    bool m_mounted = false;
};

// Copies a folder's tree, empty folders too.
bool copyTree(const QString &from, const QString &to);
