// SPDX-License-Identifier: GPL-3.0-or-later
#include "account.h"

#include <QDir>

namespace account {

bool samePlace(const QString &one, const QString &other)
{
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity names = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity names = Qt::CaseSensitive;
#endif
    const QString a = resolvedPath(one);
    const QString b = resolvedPath(other);
    if (!a.isEmpty() && !b.isEmpty())
        return a.compare(b, names) == 0;
    return QDir::cleanPath(QDir::current().absoluteFilePath(one))
               .compare(QDir::cleanPath(QDir::current().absoluteFilePath(other)), names)
        == 0;
}

} // namespace account
