#pragma once

#include <QByteArray>
#include <QString>

// Puts the bytes in the file whole: written beside it and moved over it only
// when complete. A file that holds these bytes already is left alone, so a
// press that changes nothing waits for no disk.
bool writeScriptFile(const QString &path, const QByteArray &bytes);
