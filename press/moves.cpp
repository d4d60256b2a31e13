// SPDX-License-Identifier: GPL-3.0-or-later
#include "moves.h"

#include "messages.h"
#include "scratch.h"

#include <QFileInfo>
#include <QMap>

namespace {

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
    case Move::Last:
        // Done also where it was left as it was: a new player's, which the
        // game has not written yet, may then be absent.
        return f.old ? Stage::Foreign : f.made ? Stage::NotBegun : Stage::Done;
    }
    return Stage::Foreign;
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
    if (stage == Stage::NotBegun && move.kind != Move::Add && move.kind != Move::Last
        && !files::move(move.target, asideOf(move.target), failure))
        return false;
    return move.kind == Move::Remove || files::move(freshOf(move.target), move.target, failure);
}

bool back(const Move &move, files::Failure *failure)
{
    // Made only once nothing is taken back any more.
    if (move.kind == Move::Last)
        return true;
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

int movesBeforeLast(const QVector<Move> &moves)
{
    int before = moves.size();
    while (before > 0 && moves[before - 1].kind == Move::Last)
        --before;
    return before;
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
        if (files::entryAt(it.key()) == files::Entry::None)
            continue;
        if (!files::flushFolder(it.key(), it.value(), failure)) {
            *folder = it.key();
            return false;
        }
    }
    return true;
}
