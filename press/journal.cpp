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

std::optional<Move> moveOf(const QJsonObject &entry, const QString &scripts)
{
    const QString root = entry.value("root").toString();
    const QString name = entry.value("file").toString();
    const QString kind = entry.value("kind").toString();
    if (entry.size() != 3 || !kindNames.values().contains(kind))
        return std::nullopt;
    const Move::Kind asKind = kindNames.key(kind);
    for (const PressTarget &target : pressTargets()) {
        if (rootNames.value(target.root) != root || target.name != name
            || (asKind == Move::Remove && !target.removable))
            continue;
        return Move {target.root == PressRoot::Scripts ? scripts + target.name : target.path(),
                     asKind};
    }
    return std::nullopt;
}

// Whether the moves stand as a burst leaves them at some moment: done, then
// at most one half made, then not begun. The first not done, if so.
std::optional<int> burstPoint(const QVector<Move> &moves)
{
    int done = 0;
    while (done < moves.size() && stageOf(moves[done]) == Stage::Done)
        ++done;
    for (int i = done; i < moves.size(); ++i) {
        const Stage stage = stageOf(moves[i]);
        if (stage != Stage::NotBegun && !(i == done && stage == Stage::Half))
            return std::nullopt;
    }
    return done;
}

// Where a move finds its three files: each there or not, or something in
// the way: a folder or a link at the target, or anything but a file where
// the launcher keeps its own (a scratch folder that is a link among them).
// What is in the way is never moved, entered or removed.
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
    const auto isThere = [&](const QString &path) {
        const files::Entry entry = files::entryAt(path);
        found.inTheWay
            = found.inTheWay || (entry != files::Entry::None && entry != files::Entry::File);
        return entry == files::Entry::File;
    };
    found.target = isThere(move.target);
    const files::Entry scratch = files::entryAt(scratchFolderOf(move.target));
    if (scratch == files::Entry::Folder) {
        found.old = isThere(asideOf(move.target));
        found.made = isThere(freshOf(move.target));
    }
    found.inTheWay
        = found.inTheWay || (scratch != files::Entry::None && scratch != files::Entry::Folder);
    return found;
}

bool stopped(files::Failure *failure, const files::Failure &why)
{
    *failure = why;
    return false;
}

} // namespace

Stage stageOf(const Move &move)
{
    const Found f = find(move);
    if (f.inTheWay)
        return Stage::Foreign;
    switch (move.kind) {
    case Move::Replace:
        return f.target && !f.old && f.made ? Stage::NotBegun
            : !f.target && f.old && f.made  ? Stage::Half
            : f.target && f.old && !f.made  ? Stage::Done
                                            : Stage::Foreign;
    case Move::Add:
        return !f.target && f.made ? Stage::NotBegun
            : f.target && !f.made  ? Stage::Done
                                   : Stage::Foreign;
    case Move::Remove:
        // Its old file goes before the journal does.
        return f.target && !f.old ? Stage::NotBegun : !f.target ? Stage::Done : Stage::Foreign;
    }
    return Stage::Foreign;
}

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
            return stopped(failure,
                           {QStringLiteral("the launcher never changes that file"), false});
        entries.append(QJsonObject {{"root", rootNames.value(file->root)},
                                    {"file", QString(file->name)},
                                    {"kind", kindNames.value(move.kind)}});
    }
    const QJsonObject root {
        {"format", format}, {"scripts folder", gameScriptsFolder()}, {"moves", entries}};
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
    const QString scripts = root.value("scripts folder").toString();
    if (root.size() != 3 || root.value("format") != format || entries.isEmpty()
        || !scripts.endsWith('/'))
        return journal;
    QVector<Move> moves;
    QSet<QString> named;
    for (const QJsonValue &value : entries) {
        const auto move = moveOf(value.toObject(), scripts);
        if (!move || named.contains(move->target))
            return journal;
        named.insert(move->target);
        moves << *move;
    }
    // Only a scripts folder this account's launcher could have used is
    // looked into: the game's, or the one used before the game's Proton
    // prefix was made.
    journal.scripts = scripts;
    if (!scriptsFolders().contains(scripts)) {
        journal.state = Journal::OtherAccount;
        return journal;
    }
    const auto point = burstPoint(moves);
    if (!point)
        return journal;
    journal.state = Journal::Trusted;
    journal.moves = moves;
    journal.done = *point;
    return journal;
}

bool forward(const Move &move, files::Failure *failure, bool fromStart)
{
    const Stage stage = stageOf(move);
    if (stage == Stage::Done && !fromStart)
        return true;
    if (stage == Stage::Foreign || stage == Stage::Done || (stage == Stage::Half && fromStart))
        return stopped(failure,
                       find(move).made || move.kind == Move::Remove
                           ? files::Failure {QStringLiteral("another program put a file "
                                                            "in its place meanwhile"),
                                             false}
                           : messages::freshCopyGone());
    if (stage == Stage::NotBegun && move.kind != Move::Add
        && !files::move(move.target, asideOf(move.target), failure))
        return false;
    return move.kind == Move::Remove || files::move(freshOf(move.target), move.target, failure);
}

bool back(const Move &move, files::Failure *failure)
{
    const Stage stage = stageOf(move);
    if (stage == Stage::Done && move.kind != Move::Remove
        && !files::move(move.target, freshOf(move.target), failure))
        return false;
    // The old file, where it is aside and its place is free.
    const bool oldAside = stage == Stage::Half || (stage == Stage::Done && move.kind != Move::Add);
    if (oldAside && files::entryAt(asideOf(move.target)) == files::Entry::File)
        return files::move(asideOf(move.target), move.target, failure);
    return true;
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

bool removeJournal(files::Failure *failure)
{
    return files::remove(journalPath(), failure)
        && files::flushFolder(QFileInfo(journalPath()).path(), {}, failure);
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
        if (files::entryAt(it.key()) == files::Entry::None)
            continue;
        if (!files::flushFolder(it.key(), it.value(), failure)) {
            *folder = it.key();
            return false;
        }
    }
    return true;
}
