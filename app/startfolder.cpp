// SPDX-License-Identifier: GPL-3.0-or-later
#include "startfolder.h"

#include "installation/listing.h"
#include "installation/roots.h"

#include <QCoreApplication>
#include <QDir>

void workFromOwnFolder()
{
    const QString own = QCoreApplication::applicationDirPath();
    if (QDir(own) == QDir::current())
        return;
    if (isExistingFile(own + QLatin1Char('/') + gameExecutable))
        QDir::setCurrent(own);
}
