#include "launcherfixture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>

LauncherFixture::LauncherFixture(const QString &gameFolder)
    : m_sample(m_dir.path(), gameFolder)
    , m_previousDir(QDir::currentPath())
    , m_previousDataHome(qgetenv("XDG_DATA_HOME"))
{
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
        files.insert(root.relativeFilePath(path), read(path));
    }
    return files;
}

QByteArray LauncherFixture::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool LauncherFixture::removeTree(const QString &path)
{
    return QDir(path).removeRecursively();
}

MessageBoxCloser::MessageBoxCloser()
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxCloser::closeActiveBox);
    m_timer.start();
}

void MessageBoxCloser::closeActiveBox()
{
    m_fired = true;
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
        return;
    m_boxes.append({box->windowTitle(), box->text(), box->icon()});
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->reject();
}

UrlRecorder::UrlRecorder(const QString &scheme)
    : m_scheme(scheme)
{
    QDesktopServices::setUrlHandler(m_scheme, this, "open");
}

UrlRecorder::~UrlRecorder()
{
    QDesktopServices::unsetUrlHandler(m_scheme);
}

bool quitsApplication(const std::function<void()> &action, int timeoutMs)
{
    // Outside an event loop quit() has nothing to end, so the action runs
    // inside one: exec() returns 0 on quit and 1 when the guard fires.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(timeoutMs);
    QTimer::singleShot(0, action);
    return QApplication::exec() == 0;
}
