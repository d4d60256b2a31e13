#include "fileops.h"

#include "app/zolmlauncher.h"
#include "roots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool isExistingFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QStringList listFiles(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
}

QStringList listSubfolders(const QString &folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
}

void replaceByCopy(const QString &source, const QString &target)
{
    QFile::remove(target);
    QFile::copy(source, target);
}

void replaceBootPack()
{
    replaceByCopy(standardRoot + QLatin1String("boot.pack"),
                  gameDataRoot + QLatin1String("boot.pack"));
}

void ZolmLauncher::installUserScript(const QString &folder)
{
    replaceByCopy(folder + "/user.script.txt", gameScriptsFolder() + "user.script.txt");
}

void ZolmLauncher::installTextPack(const QString &folder)
{
    replaceByCopy(folder + "/txt.pack", gameDataRoot + QLatin1String("ZOLM_txt.pack"));
}

void ZolmLauncher::removeUiAndWzPacks()
{
    QFile::remove(gameDataRoot + QLatin1String("ZOLM_ui.pack"));
    QFile::remove(gameDataRoot + QLatin1String("ZOLM_wz.pack"));
}
