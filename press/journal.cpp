// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int format = 1;

bool exists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

} // namespace

QString journalPath()
{
    return QStringLiteral("../velmarch-press-journal.json");
}

bool writeJournal(const QVector<Move> &moves, files::Failure *failure)
{
    QJsonArray entries;
    for (const Move &move : moves)
        entries.append(
            QJsonObject {{"file", move.target}, {"aside", move.aside}, {"new", move.fresh}});
    const QJsonObject root {{"format", format}, {"moves", entries}};
    return files::writeFlushed(journalPath(), QJsonDocument(root).toJson(), failure);
}

std::optional<QVector<Move>> readJournal()
{
    QFile file(journalPath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    if (root.value("format").toInt() != format)
        return std::nullopt;
    QVector<Move> moves;
    for (const QJsonValue &value : root.value("moves").toArray()) {
        const QJsonObject entry = value.toObject();
        moves << Move {entry.value("file").toString(), entry.value("aside").toString(),
                       entry.value("new").toString()};
    }
    return moves;
}

// The old file is still in place where it is not aside and the new one (if
// any) is still waiting; the new one is in place where it is no longer
// waiting and the old one (if any) is aside.
bool forward(const Move &move, files::Failure *failure)
{
    const bool oldInPlace = !move.aside.isEmpty() && !exists(move.aside) && exists(move.target)
        && (move.fresh.isEmpty() || exists(move.fresh));
    if (oldInPlace && !files::move(move.target, move.aside, failure))
        return false;
    // Without a place aside, the new file moves over the old one; a file to
    // remove is removed.
    if (move.aside.isEmpty() && move.fresh.isEmpty())
        return files::remove(move.target, failure);
    return !exists(move.fresh) || files::move(move.fresh, move.target, failure);
}

bool back(const Move &move, files::Failure *failure)
{
    const bool newInPlace = !move.fresh.isEmpty() && !exists(move.fresh) && exists(move.target)
        && (move.aside.isEmpty() || exists(move.aside));
    if (newInPlace && !files::move(move.target, move.fresh, failure))
        return false;
    return !exists(move.aside) || files::move(move.aside, move.target, failure);
}
