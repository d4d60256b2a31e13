// SPDX-License-Identifier: GPL-3.0-or-later
#include "launcherfixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

namespace {

// The folder that holds the game's per-user folder. Elsewhere XDG_DATA_HOME
// points the launcher into the case's own tree; Windows takes the roaming
// folder from the system, so there the cases run in Qt's test mode, which
// moves the launcher's folder to <roaming>/qttest.
QString userDataHomeFor(const QString &root)
{
#ifdef Q_OS_WIN
    Q_UNUSED(root)
    QStandardPaths::setTestModeEnabled(true);
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                           + "/..");
#else
    return root + "/AppData";
#endif
}

} // namespace

LauncherFixture::LauncherFixture(const QString &gameFolder)
    : m_sample(m_dir.path(), gameFolder, userDataHomeFor(m_dir.path()))
    , m_previousDir(QDir::currentPath())
    , m_previousDataHome(qgetenv("XDG_DATA_HOME"))
{
    removeGameUserFolder();
    m_valid = m_dir.isValid() && m_sample.create();
    if (m_valid) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_sample.userDataHome()));
        m_valid = QDir::setCurrent(m_sample.launcherFolder());
    }
}

LauncherFixture::~LauncherFixture()
{
    QDir::setCurrent(m_previousDir);
    qputenv("XDG_DATA_HOME", m_previousDataHome);
    removeGameUserFolder();
    // Windows keeps a running program's file and working folder: the stub
    // game may still be ending when the case is done with the tree.
    QDeadlineTimer deadline(5000);
    while (!QDir(m_dir.path()).removeRecursively() && !deadline.hasExpired())
        QThread::msleep(20);
}

void LauncherFixture::removeGameUserFolder() const
{
    // Outside the temporary folder on Windows, so it is cleared by hand.
    if (!m_sample.userDataHome().startsWith(m_sample.root() + '/'))
        removeTree(m_sample.userDataHome() + "/The Creative Assembly");
}

QString LauncherFixture::data(const QString &path) const
{
    return m_sample.dataFolder() + '/' + path;
}

QString LauncherFixture::mod(const QString &path) const
{
    return m_sample.modFolder() + '/' + path;
}

QString LauncherFixture::scripts(const QString &path) const
{
    return m_sample.scriptsFolder() + '/' + path;
}

QMap<QString, QByteArray> LauncherFixture::snapshot() const
{
    QMap<QString, QByteArray> files;
    const QDir root(m_sample.root());
    QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // Made by the first press and kept, empty, for every later one.
        if (!path.endsWith("/velmarch-press.lock"))
            files.insert(root.relativeFilePath(path), read(path));
    }
    return files;
}

QByteArray LauncherFixture::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool LauncherFixture::setModificationTime(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::Append) && file.setFileTime(time, QFile::FileModificationTime);
}

bool LauncherFixture::removeTree(const QString &path)
{
    return QDir(path).removeRecursively();
}

char *toString(const Box &box)
{
    return qstrdup(QString("\"%1\" / \"%2\"").arg(box.what, box.wayOut).toUtf8().constData());
}
