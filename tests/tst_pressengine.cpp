// SPDX-License-Identifier: GPL-3.0-or-later
// A press is all or nothing: every file operation of every button's press
// made to fail in turn, the folders' changes made lasting before the journal
// goes, a new file taken away before its move, and two presses at once on one
// installation.
#include "app/zolmlauncher.h"
#include "files/filelayer.h"
#include "press/executor.h"
#include "press/journal.h"
#include "press/pressrun.h"
#include "pressedinstallation.h"
#include "windowfixture.h"

#include <QtTest>

class tst_PressEngine : public QObject
{
    Q_OBJECT

private slots:
    void failedOperation_data();
    void failedOperation();
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
