// SPDX-License-Identifier: GPL-3.0-or-later
#include "filestamp.h"

#include <QStringList>
#include <QVector>

QString FileStamp::toText() const
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(size)
        .arg(modified)
        .arg(changed)
        .arg(volume)
        .arg(index);
}

std::optional<FileStamp> FileStamp::fromText(const QString &text)
{
    const QStringList fields = text.split(' ');
    if (fields.size() != 5)
        return std::nullopt;
    bool ok[5];
    FileStamp stamp;
    stamp.size = fields[0].toLongLong(&ok[0]);
    stamp.modified = fields[1].toLongLong(&ok[1]);
    stamp.changed = fields[2].toLongLong(&ok[2]);
    stamp.volume = fields[3].toULongLong(&ok[3]);
    stamp.index = fields[4].toULongLong(&ok[4]);
    if (!(ok[0] && ok[1] && ok[2] && ok[3] && ok[4]))
        return std::nullopt;
    return stamp;
}
