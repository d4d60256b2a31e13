// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal.h"

#include "account.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace {

// The older format named the scripts folder by its path alone.
constexpr int format = 3;
constexpr int olderFormat = 2;
// A press's journal names at most every press target: a few kilobytes.
constexpr qint64 largestJournal = 64 << 10;

const QMap<PressRoot, QString> rootNames {{PressRoot::GameData, QStringLiteral("game data")},
                                          {PressRoot::Mod, QStringLiteral("mod")},
                                          {PressRoot::Scripts, QStringLiteral("scripts")}};
const QMap<Move::Kind, QString> kindNames {{Move::Replace, QStringLiteral("replace")},
                                           {Move::Add, QStringLiteral("add")},
                                           {Move::Remove, QStringLiteral("remove")},
                                           {Move::Last, QStringLiteral("replace last")}};

// Only the player's preferences are put in place last: the one file of the
// scripts folder that is only ever replaced.
bool mayBe(Move::Kind kind, const PressTarget &target)
{
    if (kind == Move::Last)
        return target.root == PressRoot::Scripts && !target.removable;
    return kind != Move::Remove || target.removable;
}

std::optional<Move> moveOf(const QJsonObject &entry, const QString &scripts)
{
    const QString root = entry.value("root").toString();
    const QString name = entry.value("file").toString();
    const QString kind = entry.value("kind").toString();
    if (entry.size() != 3 || !kindNames.values().contains(kind))
        return std::nullopt;
    const Move::Kind asKind = kindNames.key(kind);
    for (const PressTarget &target : pressTargets()) {
        if (rootNames.value(target.root) != root || target.name != name || !mayBe(asKind, target))
            continue;
        return Move {target.root == PressRoot::Scripts ? scripts + target.name : target.path(),
                     asKind};
    }
    return std::nullopt;
}

// Whether the moves stand as a burst leaves them at some moment: done, then
// at most one half made, then not begun, the last ones after every other.
// The first not done, if so.
std::optional<int> burstPoint(const QVector<Move> &moves)
{
    const int last = movesBeforeLast(moves);
    for (int i = 0; i < last; ++i) {
        if (moves[i].kind == Move::Last)
            return std::nullopt;
    }
    int done = 0;
    while (done < moves.size() && stageOf(moves[done]) == Stage::Done)
        ++done;
    for (int i = done; i < moves.size(); ++i) {
        const Stage stage = stageOf(moves[i]);
        if (stage != Stage::NotBegun && !(i == done && i < last && stage == Stage::Half))
            return std::nullopt;
    }
    return done;
}

// Where the system does not say, no account is taken for this one.
QString accountOfJournal()
{
    const QString id = account::currentId();
    return id.isEmpty() ? QStringLiteral("unknown") : id;
}

bool stopped(files::Failure *failure, const files::Failure &why)
{
    *failure = why;
    return false;
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
            return stopped(failure,
                           {QStringLiteral("the launcher never changes that file"), false});
        entries.append(QJsonObject {{"root", rootNames.value(file->root)},
                                    {"file", QString(file->name)},
                                    {"kind", kindNames.value(move.kind)}});
    }
    const QJsonObject root {{"format", format},
                            {"account", accountOfJournal()},
                            {"scripts folder", gameScriptsFolder()},
                            {"scripts place", scriptsPlace()},
                            {"moves", entries}};
    // The journal's own name must last too before the first move is made.
    return files::writeFlushed(journalPath(), QJsonDocument(root).toJson(), failure)
        && files::flushFolder(QFileInfo(journalPath()).path(), {journalPath()}, failure);
}

namespace {

// The scripts folder a journal's moves into it are followed in: found again
// by its place (the Proton prefix in the game's library, or this account's
// roaming folder, wherever they are now), or the folder it names where that
// is one of this account's, as the system resolves both. Empty where it
// cannot be checked: another account's.
QString scriptsFolderOf(const QJsonObject &root)
{
    const QString named = root.value("scripts folder").toString();
    if (root.value("format") == format) {
        const QString place = root.value("scripts place").toString();
        const bool ours = !account::currentId().isEmpty()
            && root.value("account").toString() == account::currentId();
        if (place.startsWith(QLatin1String("proton "))
            || (ours && place == QLatin1String("roaming"))) {
            const QString found = scriptsFolderAt(place);
            if (!found.isEmpty())
                return found;
        }
    }
    for (const QString &folder : scriptsFolders()) {
        if (account::samePlace(folder, named))
            return folder;
    }
    return QString();
}

bool wellFormed(const QJsonObject &root)
{
    static const QRegularExpression place(QStringLiteral("^(roaming|proton [0-9]{1,12})$"));
    const QJsonValue version = root.value("format");
    const QStringList keys = version == format
        ? QStringList {"account", "format", "moves", "scripts folder", "scripts place"}
        : QStringList {"format", "moves", "scripts folder"};
    return (version == format || version == olderFormat) && root.keys() == keys
        && root.value("scripts folder").toString().endsWith('/')
        && !root.value("moves").toArray().isEmpty()
        && (version == olderFormat
            || (!root.value("account").toString().isEmpty()
                && place.match(root.value("scripts place").toString()).hasMatch()));
}

} // namespace

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
    if (!wellFormed(root))
        return journal;
    const QJsonArray entries = root.value("moves").toArray();
    bool intoScripts = false;
    for (const QJsonValue &value : entries)
        intoScripts
            = intoScripts || value.toObject().value("root") == rootNames[PressRoot::Scripts];
    // Where no move goes into the scripts folder, whose it is does not matter.
    const QString scripts = intoScripts ? scriptsFolderOf(root) : gameScriptsFolder();
    journal.scripts = root.value("scripts folder").toString();
    journal.account = root.value("account").toString();
    QVector<Move> moves;
    QSet<QString> named;
    for (const QJsonValue &value : entries) {
        const auto move = moveOf(value.toObject(), scripts.isEmpty() ? journal.scripts : scripts);
        if (!move || named.contains(move->target))
            return journal;
        named.insert(move->target);
        moves << *move;
    }
    journal.moves = moves;
    journal.scriptsHere = intoScripts ? scripts : QString();
    // This account's own journal names a scripts folder it can always find
    // again; one it cannot is not what its press wrote.
    if (scripts.isEmpty()) {
        if (journal.account != accountOfJournal())
            journal.state = Journal::OtherAccount;
        return journal;
    }
    const auto point = burstPoint(moves);
    if (!point)
        return journal;
    journal.state = Journal::Trusted;
    journal.done = *point;
    return journal;
}

bool removeJournal(files::Failure *failure)
{
    return files::remove(journalPath(), failure)
        && files::flushFolder(QFileInfo(journalPath()).path(), {}, failure);
}
