#include "scriptfile.h"

#include <QFile>
#include <QSaveFile>

bool writeScriptFile(const QString &path, const QByteArray &bytes)
{
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.size() == bytes.size()
        && current.readAll() == bytes)
        return true;
    current.close();

    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
