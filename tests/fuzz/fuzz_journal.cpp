// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of a press's journal on any bytes, over an installation laid out
// as a killed burst leaves it: it never crashes, and a journal it follows
// names each file once, only files a press changes, the preferences' move
// last, and stands as a burst leaves them, its moves done before the first
// that is not. In the input,
// %SCRIPTS% stands for the game's scripts folder and %ACCOUNT% for this
// account's id, which differ from one machine to the next.
#include "fuzzcheck.h"
#include "fuzzinstallation.h"
#include "installation/roots.h"
#include "press/account.h"
#include "press/journal.h"
#include "press/scratch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>

#include <cstdint>

namespace {

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A battle's burst killed at its second move: boot.pack moved, ZOLM_ui.pack
// half moved, the scripts' load list and the preferences not begun.
bool layOutKilledBurst()
{
    const QString boot = gameDataRoot + QLatin1String("boot.pack");
    const QString ui = gameDataRoot + QLatin1String("ZOLM_ui.pack");
    const QString list = gameScriptsFolder() + QLatin1String("user.script.txt");
    const QString preferences = gameScriptsFolder() + QLatin1String("preferences.script.txt");
    for (const QString &target : {boot, ui, list}) {
        if (!QDir().mkpath(scratchFolderOf(target)))
            return false;
    }
    return QFile::rename(boot, asideOf(boot)) && write(boot, "new boot")
        && QFile::rename(ui, asideOf(ui)) && write(freshOf(ui), "new ui")
        && write(freshOf(list), "new list") && write(preferences, "old preferences")
        && write(freshOf(preferences), "new preferences");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    new QCoreApplication(*argc, *argv);
    fuzzInstallation();
    if (!write(gameDataRoot + QLatin1String("ZOLM_ui.pack"), "old ui")
        || !write(gameScriptsFolder() + QLatin1String("user.script.txt"), "old list")
        || !layOutKilledBurst())
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray text(reinterpret_cast<const char *>(data), int(size));
    text.replace("%SCRIPTS%", gameScriptsFolder().toUtf8())
        .replace("%ACCOUNT%", account::currentId().toUtf8());
    if (!write(journalPath(), text))
        std::abort();
    const Journal journal = readJournal();
    if (journal.state != Journal::Trusted)
        return 0;
    FUZZ_CHECK(!journal.moves.isEmpty(), "a journal followed moves files");
    FUZZ_CHECK(journal.done >= 0 && journal.done <= journal.moves.size(), "its point is a move");
    QSet<QString> named;
    for (int i = 0; i < journal.moves.size(); ++i) {
        const Move &move = journal.moves[i];
        FUZZ_CHECK(pressTargetAt(move.target).has_value(), "only files a press changes");
        FUZZ_CHECK(!named.contains(move.target), "each file once");
        named.insert(move.target);
        FUZZ_CHECK(i >= journal.done || stageOf(move) == Stage::Done, "done before its point");
        FUZZ_CHECK(move.kind != Move::Last || i + 1 == journal.moves.size()
                       || journal.moves[i + 1].kind == Move::Last,
                   "the preferences' move after every other");
    }
    return 0;
}
