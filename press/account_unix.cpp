// SPDX-License-Identifier: GPL-3.0-or-later
#include "account.h"

#include <QDir>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace account {

QString currentId()
{
    return QString::number(getuid());
}

QString nameOf(const QString &id)
{
    bool number = false;
    const uid_t uid = id.toUInt(&number);
    if (!number)
        return QString();
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd *found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return QString();
    return QString::fromLocal8Bit(found->pw_name);
}

QString resolvedPath(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

} // namespace account
