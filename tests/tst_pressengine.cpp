// SPDX-License-Identifier: GPL-3.0-or-later
// A press is all or nothing: every file operation of every button's press
// made to fail in turn, a launcher killed after each move of the burst that
// puts the files in place, and two presses at once on one installation.
#include "app/zolmlauncher.h"
#include "launcherfixture.h"
#include "press/executor.h"
#include "press/filelayer.h"
#include "press/pressrun.h"
#include "staging/pseudorandom.h"

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <cstdlib>

namespace {

// The press after another one: another size, theme, tint and camera.
FilePlan planFor(const QString &button, bool before = false)
{
    PressChoices choices;
    choices.uiSize = before ? 1 : 3;
    choices.uiSizePack = before ? "1.25" : "2";
    choices.freeCamera = before;
    choices.themeSelectorShown = true;
    choices.themeIndex = 1;
    choices.themeName = before ? "Mamelukes" : "Prussia";
    seedPseudoRandom(before ? 1 : 2);
    return planOf(button, choices, readModListing());
}

bool isAside(const QString &path)
{
    return path.contains(".velmarch-") || path.contains("velmarch-press");
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

// A launcher that had pressed first: the state a press finds.
std::unique_ptr<LauncherFixture> pressedBefore(qint64 bootPackSize = 0)
{
    auto fixture = std::make_unique<LauncherFixture>();
    if (!fixture->isValid() || executePlan(planFor("ButtonHardcore", true)).stopped
        || (bootPackSize
            && !fixture->sample().writeSizedFile(fixture->mod("Standard/boot.pack"), bootPackSize)))
        qFatal("the press before did not complete");
    return fixture;
}

// The files after the press alone, and the operations it asked for.
QMap<QString, QByteArray> pressAlone(const QString &button, QVector<files::Operation> *operations,
                                     qint64 bootPackSize = 0)
{
    const auto fixture = pressedBefore(bootPackSize);
    files::watch([&](const files::Operation &operation) {
        *operations << operation;
        return 0;
    });
    const bool done = !executePlan(planFor(button)).stopped;
    files::watch({});
    return done ? filesOf(*fixture) : QMap<QString, QByteArray>();
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
    void twoPressesAtOnce();
};

void tst_PressEngine::failedOperation_data()
{
    QTest::addColumn<QString>("button");
    for (const char *button : {"ButtonClassic", "ButtonHardcore", "SPCbava", "ButtonVanilla"})
        QTest::newRow(button) << button;
}

// Each file operation of the press fails in turn: the press either stops
// with every file as it was and one box, or, where the failure only kept it
// from deleting what it had kept aside, ends with every file new, and the
// next start of the launcher deletes the rest.
void tst_PressEngine::failedOperation()
{
    QFETCH(QString, button);
    QVector<files::Operation> all;
    const QMap<QString, QByteArray> done = pressAlone(button, &all);
    QVERIFY(!done.isEmpty());
    const int operations = all.size();
    int stopped = 0;
    for (int failing = 1; failing <= operations; ++failing) {
        const auto fixture = pressedBefore();
        const QMap<QString, QByteArray> before = filesOf(*fixture);
        int operation = 0;
        files::watch([&](const files::Operation &) {
            return ++operation == failing ? files::driveFailed : 0;
        });
        const PressReport report = executePlan(planFor(button));
        files::watch({});
        const QString at = QString("operation %1 of %2").arg(failing).arg(operations);
        const QMap<QString, QByteArray> after = filesOf(*fixture);
        if (report.stopped) {
            ++stopped;
            QVERIFY2(report.errors.size() == 1, qPrintable(at));
            QVERIFY2(after == before, qPrintable(at + ": files changed"));
            QVERIFY2(leftAside(*fixture).isEmpty(), qPrintable(at + ": left aside"));
            continue;
        }
        QVERIFY2(after == done, qPrintable(at + ": files changed"));
        {
            const ZolmLauncher nextStart;
        }
        QVERIFY2(leftAside(*fixture).isEmpty(), qPrintable(at + ": " + leftAside(*fixture)));
    }
    // Every operation up to the last move of the burst stops the press.
    QVERIFY2(stopped > operations / 2, qPrintable(QString::number(stopped)));
}

// Between them, every kind of move: files replaced, made and removed.
void tst_PressEngine::killedBurst_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("campaign after a battle") << "SPCbava";
    QTest::newRow("restore after a battle") << "ButtonVanilla";
}

// The child: presses, and ends its own process before the given move of the
// burst, as a kill or a power cut would.
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
    files::watch([&](const files::Operation &operation) {
        const bool burstEnded = operation.kind == files::Operation::Remove
            && operation.path.endsWith("velmarch-press-journal.json");
        if ((operation.kind == files::Operation::Move && ++moves == killAt) || burstEnded)
            std::_Exit(3);
        return 0;
    });
    executePlan(planFor(qEnvironmentVariable("VELMARCH_BUTTON")));
    QFAIL("the press ended");
}

// A launcher killed before each move of the burst, and after its last: the
// next launcher finds every file whole and all of the press or none of it.
void tst_PressEngine::killedBurst()
{
    QFETCH(QString, button);
    QVector<files::Operation> operations;
    const QMap<QString, QByteArray> done = pressAlone(button, &operations);
    const int moves
        = std::count_if(operations.begin(), operations.end(), [](const auto &operation) {
              return operation.kind == files::Operation::Move;
          });
    for (int killAt = 1; killAt <= moves + 1; ++killAt) {
        const auto fixture = pressedBefore();
        const QMap<QString, QByteArray> before = filesOf(*fixture);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VELMARCH_KILL_AT_MOVE", QString::number(killAt));
        environment.insert("VELMARCH_LAUNCHER_FOLDER", QDir::currentPath());
        environment.insert("VELMARCH_BUTTON", button);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"killedBurstChild"});
        QVERIFY(child.waitForFinished(30000));
        QVERIFY2(child.exitCode() == 3, child.readAll().constData());

        {
            const ZolmLauncher nextStart;
        }
        const QMap<QString, QByteArray> after = filesOf(*fixture);
        const QString at = QString("killed at move %1 of %2").arg(killAt).arg(moves);
        QVERIFY2(after == done || after == before, qPrintable(at + ": a mix"));
        QVERIFY2(leftAside(*fixture).isEmpty(), qPrintable(at + ": " + leftAside(*fixture)));
    }
}

// A double start: two launchers press at once. The second waits for the
// first or is told that another launcher is at work; no file is torn.
void tst_PressEngine::twoPressesAtOnce()
{
    const QStringList buttons {"ButtonClassic", "ButtonHardcore"};
    QVector<files::Operation> operations;
    const QMap<QString, QByteArray> alone[2] = {pressAlone(buttons[0], &operations, 64 << 20),
                                                pressAlone(buttons[1], &operations, 64 << 20)};
    const auto fixture = pressedBefore(64 << 20);
    PressRun first(planFor(buttons[0]), buttons[0]);
    PressRun second(planFor(buttons[1]), buttons[1]);
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
                     QStringList {"Another launcher is putting files in place. Wait until it "
                                  "has started the game, then press again."});
    }
    QVERIFY(!(first.report().stopped && second.report().stopped));
}

QTEST_MAIN(tst_PressEngine)
#include "tst_pressengine.moc"
