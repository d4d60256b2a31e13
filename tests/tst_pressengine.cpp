// SPDX-License-Identifier: GPL-3.0-or-later
// A press is all or nothing: every file operation of every button's press
// made to fail in turn, a launcher killed after each move of the burst that
// puts the files in place, and two presses at once on one installation.
#include "app/zolmlauncher.h"
#include "files/filelayer.h"
#include "launcherfixture.h"
#include "press/account.h"
#include "press/executor.h"
#include "press/journal.h"
#include "press/phases.h"
#include "press/pressrun.h"
#include "staging/pseudorandom.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include <cstdlib>

namespace {

// The press after another one: another size, theme, tint and camera, or
// another size only.
FilePlan planFor(const QString &button, bool before = false, bool sizeOnly = false)
{
    const bool others = before || sizeOnly;
    PressChoices choices;
    choices.uiSize = before ? 1 : 3;
    choices.uiSizePack = before ? "1.25" : "2";
    choices.freeCamera = others;
    choices.themeSelectorShown = true;
    choices.themeIndex = 1;
    choices.themeName = others ? "Mamelukes" : "Prussia";
    seedPseudoRandom(others ? 1 : 2);
    return planOf(button, choices, readModListing());
}

const QString lastPressPath = "Napoleon/data/ZOLM/Launcher/velmarch-last-press.txt";
const QString preferencesPath
    = "AppData/The Creative Assembly/Napoleon/scripts/preferences.script.txt";

bool isAside(const QString &path)
{
    return (path.contains(".velmarch-") || path.contains("velmarch-press"))
        && !path.endsWith("velmarch-press.lock");
}

// The files a press may change, without the launcher's own.
QMap<QString, QByteArray> filesOf(const LauncherFixture &fixture)
{
    QMap<QString, QByteArray> files = fixture.snapshot();
    for (const QString &path : files.keys()) {
        if (path.contains("/Launcher/") || path.endsWith("game-started.txt") || isAside(path))
            files.remove(path);
    }
    return files;
}

// What presses leave aside or half made, none of which must outlast a press.
QString leftAside(const LauncherFixture &fixture)
{
    QStringList aside;
    QDirIterator it(fixture.sample().root(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (isAside(it.next()))
            aside << it.filePath();
    }
    return aside.join(", ");
}

// A launcher that had pressed first (none for no button): the state a press finds.
// A game in a Steam library, run with Proton: its manifest, and the prefix
// Steam made at its first start.
const QString steamGame = "Library/steamapps/common/Napoleon";
const QString manifestPath = "Library/steamapps/appmanifest_34030.acf";
const QString prefixScripts = "Library/steamapps/compatdata/34030/pfx/drive_c/users/steamuser/"
                              "AppData/Roaming/The Creative Assembly/Napoleon/scripts";

std::unique_ptr<LauncherFixture> pressedBefore(const QString &button = "ButtonHardcore",
                                               qint64 bootPackSize = 0,
                                               const QString &gameFolder = "Napoleon")
{
    auto fixture = std::make_unique<LauncherFixture>(gameFolder);
    const SampleInstallation &sample = fixture->sample();
    if (gameFolder == steamGame
        && !(sample.writeFile(manifestPath, R"("AppState" { "installdir" "Napoleon" })")
             && QDir().mkpath(sample.root() + '/' + prefixScripts)))
        qFatal("no Steam library");
    if (!fixture->isValid() || (!button.isEmpty() && executePlan(planFor(button, true)).stopped)
        || (bootPackSize
            && !fixture->sample().writeSizedFile(fixture->mod("Standard/boot.pack"), bootPackSize)))
        qFatal("the press before did not complete");
    return fixture;
}

// The files after the press alone, and the operations it asked for.
QMap<QString, QByteArray> pressAlone(const QString &button, QVector<files::Operation> *operations,
                                     qint64 bootPackSize = 0,
                                     const QString &before = "ButtonHardcore",
                                     const QString &gameFolder = "Napoleon", bool sizeOnly = false)
{
    const auto fixture = pressedBefore(before, bootPackSize, gameFolder);
    files::watch([&](const files::Operation &operation) {
        *operations << operation;
        return 0;
    });
    const bool done = !executePlan(planFor(button, false, sizeOnly)).stopped;
    files::watch({});
    return done ? filesOf(*fixture) : QMap<QString, QByteArray>();
}

// Another account's press, killed in its burst, is that account's to end: the
// next start gives each file of the game's and the mod's folders its old
// file back where it was half moved, leaves the rest as the kill did, and
// says so at start and at every press, which changes nothing.
void otherAccountsPressLeft(const LauncherFixture &fixture, const QMap<QString, QByteArray> &killed,
                            const QMap<QString, QByteArray> &old,
                            const QMap<QString, QByteArray> &done)
{
    const QMap<QString, QByteArray> after = fixture.snapshot();
    for (auto it = killed.cbegin(); it != killed.cend(); ++it) {
        const QString &path = it.key();
        if (path.startsWith("AppData/") || path.endsWith("journal.json"))
            QVERIFY2(after.value(path) == it.value(), qPrintable(path + " changed"));
        else if (!isAside(path) && !path.contains("/Launcher/")
                 && (old.contains(path) || done.contains(path)))
            QVERIFY2(after.value(path) == old.value(path) || after.value(path) == done.value(path),
                     qPrintable(path + " neither old nor new"));
    }
    for (const QString &path : old.keys())
        QVERIFY2(after.contains(path) || path.startsWith("AppData/"), qPrintable(path + " absent"));
    QVERIFY(
        fixture.read("velmarch-last-press.txt").contains("A launcher started by another account"));
    const PressReport report = executePlan(planFor("ButtonClassic"));
    QVERIFY(report.stopped
            && report.errors.value(0).what.startsWith("A launcher started by another account"));
    QVERIFY(!fixture.read("velmarch-last-press.txt").contains("every file is as it was"));
}

} // namespace

class tst_PressEngine : public QObject
{
    Q_OBJECT

private slots:
    void failedOperation_data();
    void failedOperation();
    void killedBurst_data();
    void killedBurst();
    void killedBurstChild();
    void plantedJournal_data();
    void plantedJournal();
    void flushedBeforeJournalGoes_data();
    void flushedBeforeJournalGoes();
    void preparedFileGone();
    void twoPressesAtOnce();
};

void tst_PressEngine::failedOperation_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("sizeOnly"); // after the same button with another size: one file
    for (const char *button : {"ButtonClassic", "ButtonHardcore", "SPCbava", "ButtonVanilla"})
        QTest::newRow(button) << button << false;
    QTest::newRow("ButtonClassic, only another size") << "ButtonClassic" << true;
}

// Each file operation of the press fails in turn: the press either stops
// with every file as it was and one box, or, where the failure only kept it
// from deleting what it had kept aside, ends with every file new, and the
// next start of the launcher deletes the rest. The player's preferences never
// stop it: they end new, or as they were with their box.
void tst_PressEngine::failedOperation()
{
    QFETCH(QString, button);
    QFETCH(bool, sizeOnly);
    const QString first = sizeOnly ? button : "ButtonHardcore";
    QVector<files::Operation> all;
    const QMap<QString, QByteArray> done = pressAlone(button, &all, 0, first, "Napoleon", sizeOnly);
    QVERIFY(!done.isEmpty());
    QCOMPARE(std::count_if(
                 all.begin(), all.end(),
                 [](const auto &operation) { return operation.kind == files::Operation::Copy; })
                 == 1,
             sizeOnly);
    const int operations = all.size();
    int stopped = 0;
    for (int failing = 1; failing <= operations; ++failing) {
        const auto fixture = pressedBefore(first);
        const QMap<QString, QByteArray> before = filesOf(*fixture);
        int operation = 0;
        files::watch([&](const files::Operation &) {
            return ++operation == failing ? files::driveFailed : 0;
        });
        const PressReport report = executePlan(planFor(button, false, sizeOnly));
        files::watch({});
        const QString at = QString("operation %1 of %2").arg(failing).arg(operations);
        const QMap<QString, QByteArray> after = filesOf(*fixture);
        // Where the drive cannot keep the old file by a second name, it goes
        // at once.
        QVERIFY2(all[failing - 1].kind != files::Operation::Link || !report.stopped,
                 qPrintable(at + ": stopped for a second name"));
        if (report.stopped) {
            ++stopped;
            QVERIFY2(report.errors.size() == 1, qPrintable(at));
            QVERIFY2(after == before, qPrintable(at + ": files changed"));
            QVERIFY2(leftAside(*fixture).isEmpty(), qPrintable(at + ": left aside"));
            continue;
        }
        QMap<QString, QByteArray> expected = done;
        if (report.errors.value(0).what == "Preference file cannot be changed."
            && before.contains(preferencesPath))
            expected[preferencesPath] = before[preferencesPath];
        QVERIFY2(after == expected, qPrintable(at + ": files changed"));
        {
            const ZolmLauncher nextStart;
        }
        QVERIFY2(leftAside(*fixture).isEmpty(), qPrintable(at + ": " + leftAside(*fixture)));
    }
    // Every operation up to the last move of the burst stops the press; one
    // file is put in place by its one move, and the rest is cleaning up.
    QVERIFY2(stopped > operations / (sizeOnly ? 3 : 2), qPrintable(QString::number(stopped)));
}

// Between them, every kind of move: files replaced, made and removed; and
// what may befall the installation before its next start.
void tst_PressEngine::killedBurst_data()
{
    QTest::addColumn<QString>("before"); // the press before, if any
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("then");

    for (const QString then : {"started as it is", "moved", "journal cut in half"}) {
        QTest::newRow(qPrintable("Classic after a campaign, " + then)) << "SPCbava"
                                                                       << "ButtonClassic" << then;
        QTest::newRow(qPrintable("restore after a battle, " + then)) << "ButtonHardcore"
                                                                     << "ButtonVanilla" << then;
    }
    QTest::newRow("first battle, killed while it made the Temp folder's files")
        << ""
        << "ButtonClassic"
        << "started as it is";
    // Its press sets the killed one right first, which takes the Temp folder away.
    QTest::newRow("first battle, killed while it made the Temp folder's files, pressed again")
        << ""
        << "ButtonClassic"
        << "pressed again";
    // The scripts folder the journal names, reached anew.
    QTest::newRow("Classic after a campaign, the roaming folder renamed")
        << "SPCbava"
        << "ButtonClassic"
        << "roaming folder renamed";
    QTest::newRow("Classic after a campaign, another account's press") << "SPCbava"
                                                                       << "ButtonClassic"
                                                                       << "another account's";
    for (const QString then :
         {"through a link to the library", "library moved with its prefix", "manifest missing"})
        QTest::newRow(qPrintable("Classic after a campaign in Steam, " + then))
            << "SPCbava"
            << "ButtonClassic" << then;
}

// The child: presses, and ends its own process before the given move of the
// burst (0: its first copy; the mark for after the burst: once the press has
// ended, before it keeps its record and deletes the old files), as a kill or
// a power cut would.
constexpr int afterTheBurst = -1;

void tst_PressEngine::killedBurstChild()
{
    const int killAt = qEnvironmentVariableIntValue("VELMARCH_KILL_AT_MOVE");
    if (!qEnvironmentVariableIsSet("VELMARCH_KILL_AT_MOVE"))
        QSKIP("run by killedBurst");
#ifdef Q_OS_WIN
    QStandardPaths::setTestModeEnabled(true); // where the parent's fixture keeps the scripts folder
#endif
    QVERIFY(QDir::setCurrent(qEnvironmentVariable("VELMARCH_LAUNCHER_FOLDER")));
    int moves = 0;
    watchPhases([&](PressPhase phase) {
        if (killAt == afterTheBurst && phase == PressPhase::Record)
            std::_Exit(3);
    });
    files::watch([&](const files::Operation &operation) {
        const bool burstEnded = operation.kind == files::Operation::Remove
            && operation.path.endsWith("velmarch-press-journal.json");
        if (killAt == afterTheBurst)
            return 0;
        if ((operation.kind == files::Operation::Move && ++moves == killAt) || burstEnded
            || (killAt == 0 && operation.kind == files::Operation::Copy))
            std::_Exit(3);
        return 0;
    });
    executePlan(planFor(qEnvironmentVariable("VELMARCH_BUTTON")));
    QFAIL("the press ended");
}

// A launcher killed before each move of the burst, and after its last: the
// next launcher finds every file whole and all of the press or none of it,
// also where the game's folder was moved meanwhile. A journal cut in half is
// not followed: each file is then old or new, and none is absent.
void tst_PressEngine::killedBurst()
{
    QFETCH(QString, before);
    QFETCH(QString, button);
    QFETCH(QString, then);
    const bool steam = then.contains("library") || then.contains("manifest");
#ifdef Q_OS_WIN
    if (steam || then.contains("renamed"))
        QSKIP("Proton and a roaming folder that moves are Linux's: on Windows only the code "
              "finds the roaming folder anew");
#endif
    const QString gameFolder = steam ? steamGame : "Napoleon";
    QVector<files::Operation> operations;
    const QMap<QString, QByteArray> done = pressAlone(button, &operations, 0, before, gameFolder);
    const int moves = before.isEmpty()
        ? 0
        : std::count_if(operations.begin(), operations.end(), [](const auto &operation) {
              return operation.kind == files::Operation::Move;
          });
    QVector<int> killPoints;
    for (int killAt = before.isEmpty() ? 0 : 1; killAt <= moves + !before.isEmpty(); ++killAt)
        killPoints << killAt;
    // Every old file aside, and no journal: the press's own files are whole.
    if (!before.isEmpty() && then != "journal cut in half")
        killPoints << afterTheBurst;
    for (const int killAt : qAsConst(killPoints)) {
        const auto fixture = pressedBefore(before, 0, gameFolder);
        const QMap<QString, QByteArray> old = filesOf(*fixture);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VELMARCH_KILL_AT_MOVE", QString::number(killAt));
        environment.insert("VELMARCH_LAUNCHER_FOLDER", QDir::currentPath());
        environment.insert("VELMARCH_BUTTON", button);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"killedBurstChild"});
        QVERIFY(child.waitForFinished(30000));
        QVERIFY2(child.exitCode() == 3, child.readAll().constData());

        QFile journal(fixture->mod("velmarch-press-journal.json"));
        if (then == "journal cut in half")
            QVERIFY(journal.resize(journal.size() / 2));
        if (then == "another account's" && journal.exists())
            QVERIFY(fixture->sample().writeFile(
                journal.fileName(),
                QString(fixture->read(journal.fileName()))
                    .replace(QRegularExpression("\"account\": \"[^\"]*\""),
                             "\"account\": \"4000000001\"")
                    .replace(QRegularExpression("\"scripts folder\": \"[^\"]*\""),
                             "\"scripts folder\": \"/home/other/scripts/\"")
                    .toUtf8()));
        const QMap<QString, QByteArray> killed = fixture->snapshot();
        const QString root = fixture->sample().root();
        const QString game = fixture->sample().gameFolder();
        const QString launcher = QDir::currentPath().mid(game.size());
        const QString library = root + "/Library";
        const QString linked = QString(game).replace(library, root + "/Link") + launcher;
        const QString dataHome = fixture->sample().userDataHome();
        // Out of the folder first: Windows renames no folder a program works in.
        if (then == "moved")
            QVERIFY(QDir::setCurrent(root) && QDir().rename(game, game + " moved")
                    && QDir::setCurrent(game + " moved" + launcher));
        if (then == "library moved with its prefix")
            QVERIFY(
                QDir::setCurrent(root) && QDir().rename(library, library + " moved")
                && QDir::setCurrent(QString(game).replace(library, library + " moved") + launcher));
        // A shell keeps the way it came in its PWD.
        const QByteArray pwd = qgetenv("PWD");
        if (then == "through a link to the library")
            QVERIFY(QFile::link(library, root + "/Link")
                    && qputenv("PWD", QFile::encodeName(linked)));
        if (then == "roaming folder renamed")
            QVERIFY(QDir().rename(dataHome, dataHome + " renamed")
                    && qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome + " renamed")));
        if (then == "manifest missing")
            QVERIFY(QFile::remove(root + '/' + manifestPath));
        if (then == "pressed again")
            QVERIFY(!executePress({[&] { return planFor(button); }, button, {}}).stopped);
        else
            const ZolmLauncher nextStart;
        if (then == "moved")
            QVERIFY(QDir::setCurrent(fixture->sample().root())
                    && QDir().rename(game + " moved", game) && QDir::setCurrent(game + launcher));
        if (then == "library moved with its prefix")
            QVERIFY(QDir::setCurrent(root) && QDir().rename(library + " moved", library)
                    && QDir::setCurrent(game + launcher));
        qputenv("PWD", pwd);
        QVERIFY(then != "through a link to the library" || QFile::remove(root + "/Link"));
        if (then == "roaming folder renamed")
            QVERIFY(QDir().rename(dataHome + " renamed", dataHome)
                    && qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome)));
        if (then == "manifest missing")
            QVERIFY(fixture->sample().writeFile(manifestPath, killed.value(manifestPath)));
        if (then == "another account's" && journal.exists()) {
            otherAccountsPressLeft(*fixture, killed, old, done);
            continue;
        }
        const QMap<QString, QByteArray> after = filesOf(*fixture);
        const QString at = killAt == afterTheBurst
            ? QString("killed once the press had ended")
            : QString("killed at move %1 of %2").arg(killAt).arg(moves);
        for (const QString &path : old.keys() + done.keys()) {
            const auto state = [&](const QMap<QString, QByteArray> &files) {
                return files.contains(path) ? files[path] : QByteArray("absent");
            };
            QVERIFY2(state(after) == state(old) || state(after) == state(done),
                     qPrintable(at + ": " + path + " neither old nor new"));
        }
        // The preferences too, moved last and alone, are of the press its
        // start finished, or as they were before the press it took back.
        QVERIFY2(after == done || after == old || then == "journal cut in half",
                 qPrintable(at + ": a mix"));
        QVERIFY2(killAt != afterTheBurst || after == done, qPrintable(at + ": not all new"));
        QCOMPARE(QFile::remove(fixture->mod("velmarch-press-journal.untrusted.json")),
                 then == "journal cut in half");
        QVERIFY2(leftAside(*fixture).isEmpty(), qPrintable(at + ": " + leftAside(*fixture)));
        const QByteArray report = fixture->read("velmarch-last-press.txt");
        QVERIFY2(before.isEmpty()
                     || report.contains(then == "journal cut in half" ? "The mod's folder held"
                                            : killAt == afterTheBurst
                                            ? "Every file above is in place."
                                            : after == done && after != old
                                            ? "This start finished that press: every file is "
                                              "of that press."
                                            : "This start"),
                 report.constData());
        if (before.isEmpty())
            QVERIFY2(QFileInfo::exists("../Temp") == (then == "pressed again"),
                     "the Temp folder the killed press made is left");
    }
}

// Journals and links a launcher never makes, planted in an installation
// whose files all stand as the press before left them. Nothing outside the
// installation changes, and no file of it; a journal that cannot be trusted
// is kept aside, with a box at the start.
void tst_PressEngine::plantedJournal_data()
{
    QTest::addColumn<QString>("journal"); // %1: the folder outside, %2: the scripts folder
    QTest::addColumn<bool>("linkedScratch"); // the data folder's scratch folder is a link to it
    QTest::addColumn<bool>("kept"); // aside, as untrusted
    QTest::addColumn<bool>(
        "inSteam"); // the game in a Steam library, another game's prefix beside it

    const QString head = R"({"format": 2, "scripts folder": "%2/", "moves": [)";
    QTest::newRow("the earlier format's absolute paths: a removal and a move over a file")
        << R"({"format": 1, "moves": [{"file": "%1/victim.txt", "aside": "", "new": ""},
              {"file": "%1/bashrc", "aside": "", "new": "%1/new.boot.pack"}]})"
        << false << true << false;
    QTest::newRow("a path outside the roots")
        << head + R"({"root": "game data", "file": "%1/victim.txt", "kind": "remove"}]})" << false
        << true << false;
    QTest::newRow("'..' inside a root")
        << head + R"({"root": "game data", "file": "boot.pack", "kind": "replace"},
              {"root": "game data", "file": "../../outside/victim.txt", "kind": "remove"}]})"
        << false << true << false;
    QTest::newRow("the removal of files that are only ever replaced") << head
            + R"({"root": "game data", "file": "campaigns/spa_napoleon/startpos.esf",
              "kind": "remove"}, {"root": "scripts", "file": "preferences.script.txt",
              "kind": "remove"}]})" << false << true << false;
    QTest::newRow("left from a press that ended")
        << head + R"({"root": "game data", "file": "boot.pack", "kind": "replace"},
              {"root": "game data", "file": "ZOLM_ui.pack", "kind": "add"}]})"
        << false << true << false;
    QTest::newRow("a scratch folder that is a link, named by a journal")
        << head + R"({"root": "game data", "file": "ZOLM_ui.pack", "kind": "remove"}]})" << true
        << true << false;
    QTest::newRow("a scratch folder that is a link, no journal") << "" << true << false << false;
    const QString other = R"({"format": 3, "account": "4000000001", "scripts folder":
        "%1/scripts/", "scripts place": "%3", "moves": [{"root": "scripts",
        "file": "user.script.txt", "kind": "remove"}]})";
    // Only the game's own prefix, whatever the place says.
    QTest::newRow("another game's Proton prefix")
        << QString(other).replace("4000000001", "%4").replace("%3", "proton 570") << false << true
        << true;
    QTest::newRow("a scripts place no press names")
        << QString(other).replace("%3", "proton 1/../..") << false << true << false;
    QTest::newRow("another file than the preferences put in place last")
        << head + R"({"root": "scripts", "file": "user.script.txt", "kind": "replace last"}]})"
        << false << true << false;
    // Left for that account's launcher, with a box at the start.
    QTest::newRow("another account's press, in the earlier format")
        << R"({"format": 2, "scripts folder": "%1/scripts/", "moves": [{"root": "scripts",
              "file": "user.script.txt", "kind": "remove"}]})"
        << false << false << false;
    QTest::newRow("another account's press")
        << QString(other).replace("%3", "roaming") << false << false << false;
}

void tst_PressEngine::plantedJournal()
{
    QFETCH(QString, journal);
    QFETCH(bool, linkedScratch);
    QFETCH(bool, kept);
    QFETCH(bool, inSteam);
    const auto fixture = pressedBefore("ButtonHardcore", 0, inSteam ? steamGame : "Napoleon");
    const QString outside = fixture->sample().root() + "/outside";
    const QString otherGame = fixture->sample().root()
        + "/Library/steamapps/compatdata/570/pfx/drive_c/users/steamuser/AppData/Roaming/"
          "The Creative Assembly/Napoleon/scripts";
    QVERIFY(!inSteam
            || (fixture->sample().writeFile(otherGame + "/user.script.txt", "another game's")
                && QDir().mkpath(otherGame + "/.velmarch-press")));
    for (const char *file : {"victim.txt", "bashrc", "new.boot.pack", "scripts/user.script.txt"})
        QVERIFY(fixture->sample().writeFile(outside + '/' + file, file));
#ifdef Q_OS_WIN
    if (linkedScratch)
        QSKIP("Wine makes no symbolic link or junction for a test to plant: only the code guards "
              "against them here");
#endif
    QVERIFY(!linkedScratch || QFile::link(outside, fixture->data(".velmarch-press")));
    const QDir root(fixture->sample().root());
    const QString planted = root.relativeFilePath(fixture->mod("velmarch-press-journal.json"));
    if (!journal.isEmpty())
        QVERIFY(fixture->sample().writeFile(planted,
                                            journal.replace("%1", outside)
                                                .replace("%2", fixture->sample().scriptsFolder())
                                                .replace("%4", account::currentId())
                                                .toUtf8()));
    QMap<QString, QByteArray> before = fixture->snapshot();

    ZolmLauncher nextStart;
    MessageBoxCloser closer;
    QTest::qWait(200);

    QMap<QString, QByteArray> after = fixture->snapshot();
    QCOMPARE(closer.count(), kept || !journal.isEmpty() ? 1 : 0);
    if (kept) {
        QVERIFY2(closer.boxes()[0].text.startsWith(
                     "The mod's folder held velmarch-press-journal.json, which names files as "
                     "no press of this launcher could have"),
                 qPrintable(closer.boxes()[0].text));
        QCOMPARE(after.take(
                     root.relativeFilePath(fixture->mod("velmarch-press-journal.untrusted.json"))),
                 before.take(planted));
    } else if (!journal.isEmpty()) {
        // A way out the player can follow, also where that account is gone.
        QVERIFY(closer.boxes()[0].text.startsWith("A launcher started by another account"));
        QVERIFY(closer.boxes()[0].wayOut.contains("remove velmarch-press-journal.json"));
        QVERIFY(executePlan(planFor("ButtonClassic"))
                    .errors.value(0)
                    .what.startsWith("A launcher started by another account was stopped"));
    }
    const QString report
        = root.relativeFilePath(QDir::current().absoluteFilePath("velmarch-last-press.txt"));
    before.remove(report);
    after.remove(report);
    QCOMPARE(after.keys(), before.keys());
    QVERIFY(after == before);
}

void tst_PressEngine::flushedBeforeJournalGoes_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("button");
    QTest::newRow("Classic after a campaign") << "SPCbava"
                                              << "ButtonClassic";
    QTest::newRow("restore after a battle, with removals") << "ButtonHardcore"
                                                           << "ButtonVanilla";
}

// A power cut after the journal's removal finds every move on every drive:
// each folder a rename left or entered, or whose kept-aside file of a removed
// target went, is flushed after its last change and before the journal goes,
// and the journal's own folder before the first move.
void tst_PressEngine::flushedBeforeJournalGoes()
{
    QFETCH(QString, before);
    QFETCH(QString, button);
    QVector<files::Operation> operations;
    QVERIFY(!pressAlone(button, &operations, 0, before).isEmpty());
    const auto folderOf
        = [](const QString &path) { return QDir::cleanPath(QFileInfo(path).path()); };
    QMap<QString, int> changed; // the last change of each folder
    QMultiMap<QString, int> flushed;
    for (int i = 0; i < operations.size(); ++i) {
        const files::Operation &operation = operations[i];
        const bool journal = operation.path.endsWith("velmarch-press-journal.json");
        if (operation.kind == files::Operation::FlushFolder)
            flushed.insert(QDir::cleanPath(operation.path), i);
        if (operation.kind == files::Operation::Move && changed.isEmpty())
            QVERIFY2(flushed.contains(folderOf(journalPath())), "the journal may not last");
        if (operation.kind == files::Operation::Move)
            changed[folderOf(operation.path)] = changed[folderOf(operation.from)] = i;
        if (operation.kind == files::Operation::Remove && journal) {
            QVERIFY(!changed.isEmpty());
            for (auto it = changed.cbegin(); it != changed.cend(); ++it) {
                const QList<int> flushes = flushed.values(it.key());
                QVERIFY2(std::any_of(flushes.begin(), flushes.end(),
                                     [&](int flush) { return flush > it.value(); }),
                         qPrintable(it.key() + " not flushed after its last change"));
            }
            return;
        }
        if (operation.kind == files::Operation::Remove && !changed.isEmpty())
            changed[folderOf(operation.path)] = i;
    }
    QFAIL("the journal was never removed");
}

// A virus scanner or a cleaner takes a prepared pack away before the burst:
// the press stops with every file as it was, and the next one copies the pack.
void tst_PressEngine::preparedFileGone()
{
    const auto fixture = pressedBefore();
    const QMap<QString, QByteArray> before = filesOf(*fixture);
    files::watch([&](const files::Operation &operation) {
        if (operation.kind == files::Operation::Write && operation.path.endsWith("journal.json"))
            QFile::remove(fixture->data(".velmarch-press/new.ZOLM_ui.pack"));
        return 0;
    });
    const PressReport report = executePlan(planFor("ButtonClassic"));
    files::watch({});

    QVERIFY(report.stopped);
    QCOMPARE(report.errors,
             (Boxes {{"ZOLM_ui.pack could not be put in the game's data folder: the new copy made "
                      "for it was removed by another program, such as a virus scanner.",
                      "Press again."}}));
    QVERIFY(filesOf(*fixture) == before);
    QCOMPARE(leftAside(*fixture), QString());
    QVERIFY(!executePlan(planFor("ButtonClassic")).stopped);
    QCOMPARE(fixture->read(fixture->data("ZOLM_ui.pack")),
             fixture->read(fixture->mod("UI/Resize/2.pack")));
}

// A double start: two launchers press at once. The second waits for the
// first or is told that another launcher is at work; no file is torn.
void tst_PressEngine::twoPressesAtOnce()
{
    const QStringList buttons {"ButtonClassic", "ButtonHardcore"};
    QVector<files::Operation> operations;
    const QMap<QString, QByteArray> alone[2] = {pressAlone(buttons[0], &operations, 64 << 20),
                                                pressAlone(buttons[1], &operations, 64 << 20)};
    const auto fixture = pressedBefore("ButtonHardcore", 64 << 20);
    const FilePlan plans[2] = {planFor(buttons[0]), planFor(buttons[1])};
    PressRun first({[&] { return plans[0]; }, buttons[0], {}});
    PressRun second({[&] { return plans[1]; }, buttons[1], {}});
    QSignalSpy firstDone(&first, &PressRun::finished);
    QSignalSpy secondDone(&second, &PressRun::finished);
    first.start();
    second.start();
    QTRY_VERIFY_WITH_TIMEOUT(firstDone.count() == 1 && secondDone.count() == 1, 30000);

    const QMap<QString, QByteArray> after = filesOf(*fixture);
    QCOMPARE(leftAside(*fixture), QString());
    QVERIFY2(after == alone[0] || after == alone[1], "a file is torn or of two presses");
    for (const PressRun *press : {&first, &second}) {
        if (press->report().stopped)
            QCOMPARE(press->report().errors,
                     (Boxes {{"Another launcher is putting files in place.",
                              "Wait until it has started the game, then press again."}}));
    }
    QVERIFY(!(first.report().stopped && second.report().stopped));
}

QTEST_MAIN(tst_PressEngine)
#include "tst_pressengine.moc"
