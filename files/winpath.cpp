// SPDX-License-Identifier: GPL-3.0-or-later
#include "winpath.h"

#include <QDir>
#include <QFileInfo>

namespace {

// MAX_PATH less room for the file name's terminating zero; folders are
// limited a little more by the system, which the long form also lifts.
constexpr int longestPlainPath = 247;

} // namespace

std::wstring windowsPath(const QString &path)
{
    QString native = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (native.size() > longestPlainPath && !native.startsWith(QLatin1String("\\\\?\\"))) {
        if (native.startsWith(QLatin1String("\\\\"))) // \\server\share
            native = QLatin1String("\\\\?\\UNC\\") + native.mid(2);
        else
            native = QLatin1String("\\\\?\\") + native;
    }
    return native.toStdWString();
}
