// SPDX-License-Identifier: GPL-3.0-or-later
// A press that did not end is set right by the next launcher: one killed
// before each move of the burst that puts the files in place, and after its
// last, also where the game's folder was reached another way since; and
// journals that no press of the launcher could have written, which are not
// followed.
#include "app/zolmlauncher.h"
#include "files/filelayer.h"
#include "press/account.h"
#include "press/executor.h"
#include "press/phases.h"
#include "pressedinstallation.h"
#include "windowfixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include <cstdlib>

namespace {

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

class tst_Recovery : public QObject
{
    Q_OBJECT

private slots:
    void killedBurst_data();
    void killedBurst();
    void killedBurstChild();
    void plantedJournal_data();
    void plantedJournal();
};

// Between them, every kind of move: files replaced, made and removed; and
// what may befall the installation before its next start.
void tst_Recovery::killedBurst_data()
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

void tst_Recovery::killedBurstChild()
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
void tst_Recovery::killedBurst()
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
void tst_Recovery::plantedJournal_data()
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

void tst_Recovery::plantedJournal()
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

QTEST_MAIN(tst_Recovery)
#include "tst_recovery.moc"
