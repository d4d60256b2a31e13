// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal.h"

#include "messages.h"
#include "scratch.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>

namespace {

constexpr int format = 2;
// A press's journal names at most every press target: a few kilobytes.
constexpr qint64 largestJournal = 64 << 10;

const QMap<PressRoot, QString> rootNames {{PressRoot::GameData, QStringLiteral("game data")},
                                          {PressRoot::Mod, QStringLiteral("mod")},
                                          {PressRoot::Scripts, QStringLiteral("scripts")}};
const QMap<Move::Kind, QString> kindNames {{Move::Replace, QStringLiteral("replace")},
                                           {Move::Add, QStringLiteral("add")},
                                           {Move::Remove, QStringLiteral("remove")}};

std::optional<Move> moveOf(const QJsonObject &entry)
{
    const QString root = entry.value("root").toString();
    const QString name = entry.value("file").toString();
    const QString kind = entry.value("kind").toString();
    if (entry.size() != 3 || !kindNames.values().contains(kind))
        return std::nullopt;
    for (const PressTarget &target : pressTargets()) {
        if (rootNames.value(target.root) == root && target.name == name)
            return Move {target.path(), kindNames.key(kind)};
    }
    return std::nullopt;
}

// Where a move finds its three files: each there or not. A folder at the
// target, or anything but a file where the launcher keeps its own (a link
// among them, or a scratch folder that is a link), is in the way: it is
// never moved, entered or removed.
struct Found
{
    bool inTheWay = false;
    bool target = false;
    bool old = false;
    bool made = false;
};

Found find(const Move &move)
{
    Found found;
    const auto isThere = [&](files::Entry entry) {
        found.inTheWay
            = found.inTheWay || entry == files::Entry::Folder || entry == files::Entry::Other;
        return entry == files::Entry::File;
    };
    // A link at the target is moved as a file: a rename moves the link itself.
    const files::Entry target = files::entryAt(move.target);
    found.target = target == files::Entry::File || target == files::Entry::Other;
    found.inTheWay = target == files::Entry::Folder;
    const files::Entry scratch = files::entryAt(scratchFolderOf(move.target));
    if (scratch == files::Entry::None)
        return found;
    if (scratch != files::Entry::Folder) {
        found.inTheWay = true;
        return found;
    }
    found.old = isThere(files::entryAt(asideOf(move.target)));
    found.made = isThere(files::entryAt(freshOf(move.target)));
    return found;
}

bool stopped(files::Failure *failure, const files::Failure &why)
{
    *failure = why;
    return false;
}

bool stopped(files::Failure *failure, const char *why)
{
    return stopped(failure, {QString::fromLatin1(why), false});
}

} // namespace

QString journalPath()
{
    return QStringLiteral("../velmarch-press-journal.json");
}

bool writeJournal(const QVector<Move> &moves, files::Failure *failure)
{
    QJsonArray entries;
    for (const Move &move : moves) {
        const auto file = pressTargetAt(move.target);
        if (!file)
            return stopped(failure, "the launcher never changes that file");
        entries.append(QJsonObject {{"root", rootNames.value(file->root)},
                                    {"file", QString(file->name)},
                                    {"kind", kindNames.value(move.kind)}});
    }
    const QJsonObject root {{"format", format}, {"moves", entries}};
    // The journal's own name must last too before the first move is made.
    return files::writeFlushed(journalPath(), QJsonDocument(root).toJson(), failure)
        && files::flushFolder(QFileInfo(journalPath()).path(), {journalPath()}, failure);
}

Journal readJournal()
{
    Journal journal;
    if (files::entryAt(journalPath()) == files::Entry::None)
        return journal;
    journal.state = Journal::Untrusted;
    QFile file(journalPath());
    if (files::entryAt(journalPath()) != files::Entry::File || file.size() > largestJournal
        || !file.open(QIODevice::ReadOnly))
        return journal;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonArray entries = root.value("moves").toArray();
    if (root.size() != 2 || root.value("format") != format || entries.isEmpty())
        return journal;
    QVector<Move> moves;
    QSet<QString> named;
    for (const QJsonValue &value : entries) {
        const auto move = moveOf(value.toObject());
        if (!move || named.contains(move->target))
            return journal;
        named.insert(move->target);
        moves << *move;
    }
    journal.state = Journal::Trusted;
    journal.moves = moves;
    return journal;
}

bool forward(const Move &move, files::Failure *failure)
{
    const Found found = find(move);
    if (found.inTheWay)
        return stopped(failure, "something else is in its place");
    const bool t = found.target;
    const bool o = found.old;
    const bool n = found.made;
    const QString aside = asideOf(move.target);
    const QString fresh = freshOf(move.target);
    const char *const changed = "another program put a file in its place during the press";
    switch (move.kind) {
    case Move::Replace:
        if (t && o && !n)
            return true;
        if (!n)
            return stopped(failure, messages::freshCopyGone());
        if (t && o)
            return stopped(failure, changed);
        if (t && !files::move(move.target, aside, failure))
            return false;
        return files::move(fresh, move.target, failure);
    case Move::Add:
        if (t && !n)
            return true;
        if (!n)
            return stopped(failure, messages::freshCopyGone());
        if (t)
            return stopped(failure, changed);
        return files::move(fresh, move.target, failure);
    case Move::Remove:
        if (!t)
            return true;
        if (o)
            return stopped(failure, changed);
        return files::move(move.target, aside, failure);
    }
    return false;
}

bool back(const Move &move, files::Failure *failure)
{
    const Found found = find(move);
    // What is not the launcher's own is left where it is.
    if (found.inTheWay)
        return true;
    const bool t = found.target;
    const bool o = found.old;
    const bool n = found.made;
    const QString aside = asideOf(move.target);
    const QString fresh = freshOf(move.target);
    switch (move.kind) {
    case Move::Replace:
        if (t && o && !n)
            return files::move(move.target, fresh, failure)
                && files::move(aside, move.target, failure);
        // A whole file is better than none, even the new one.
        if (!t && (o || n))
            return files::move(o ? aside : fresh, move.target, failure);
        return true;
    case Move::Add:
        return !(t && !n) || files::move(move.target, fresh, failure);
    case Move::Remove:
        return !(!t && o) || files::move(aside, move.target, failure);
    }
    return false;
}

bool takeBack(const QVector<Move> &moves, int last, files::Failure *failure)
{
    bool complete = true;
    for (int i = qMin(last, moves.size() - 1); i >= 0; --i)
        complete = back(moves[i], failure) && complete;
    return complete;
}

bool removeRemovedFiles(const QVector<Move> &moves, files::Failure *failure)
{
    QVector<Move> removals;
    for (const Move &move : moves) {
        if (move.kind != Move::Remove)
            continue;
        if (!files::remove(asideOf(move.target), failure))
            return false;
        removals << move;
    }
    QString folder;
    return makeLasting(removals, failure, &folder);
}

bool makeLasting(const QVector<Move> &moves, files::Failure *failure, QString *folder)
{
    QMap<QString, QStringList> movedIn;
    for (const Move &move : moves) {
        for (const QString &path : {move.target, asideOf(move.target), freshOf(move.target)}) {
            QStringList &files = movedIn[QFileInfo(path).path()];
            if (files::entryAt(path) == files::Entry::File)
                files << path;
        }
    }
    for (auto it = movedIn.cbegin(); it != movedIn.cend(); ++it) {
        // A scratch folder already removed has nothing left to keep.
        if (files::entryAt(it.key()) != files::Entry::Folder)
            continue;
        if (!files::flushFolder(it.key(), it.value(), failure)) {
            *folder = it.key();
            return false;
        }
    }
    return true;
}
