#include "roots.h"

#include <QDir>
#include <QStandardPaths>

QString campaignRoot()
{
    return version80Root + QLatin1String("Campaign/");
}

QString gameScriptsFolder()
{
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir::cleanPath(appData + "/../The Creative Assembly/Napoleon/scripts/") + '/';
}
