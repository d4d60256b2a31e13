// SPDX-License-Identifier: GPL-3.0-or-later
// A press that cannot finish: on a full drive, a read-only one, or with a
// file that another program holds, it leaves every file as it was and says
// why in one box.
#include "app/zolmlauncher.h"
#include "drives.h"
#include "files/filelayer.h"
#include "press/executor.h"
#include "windowfixture.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const QString lastPressPath = "Napoleon/data/ZOLM/Launcher/velmarch-last-press.txt";

} // namespace

class tst_StoppedPress : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void stoppedPress_data();
    void stoppedPress();
    void heldTarget_data();
    void heldTarget();
};

void tst_StoppedPress::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_StoppedPress::stoppedPress_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("mountedFolder"); // below the game's data folder
    QTest::addColumn<QStringList>("mountOptions");
    QTest::addColumn<Box>("box");

    const QString drive = "Check that its drive is there and can be written to, then press again.";
    QTest::newRow("full disk: campaign")
        << "SPCbava"
        << "campaigns/zolm" << QStringList {"-t", "tmpfs", "-o", "size=64k", "tmpfs"}
        << Box {"There is not enough free space for this press: 1 MB more are needed on the "
                "drive of the game's data folder.",
                "Free some space there, then press again."};
    QTest::newRow("read-only game folder: campaign")
        << "SPCbava"
        << "campaigns/zolm" << QStringList {"-o", "bind,ro"}
        << Box {"campaigns/zolm/startpos.esf could not be put in the game's data folder: "
                "Read-only file system.",
                drive};
    QTest::newRow("read-only Temp folder: battle")
        << "ButtonClassic"
        << "ZOLM/Temp" << QStringList {"-o", "bind,ro"}
        << Box {"cardgroups.pack could not be put in the mod's Temp folder: Read-only file system.",
                drive};
}

// A press that cannot finish changes nothing: not the files before the one
// that failed, not the settings, and the game is not started.
void tst_StoppedPress::stoppedPress()
{
#ifdef Q_OS_WIN
    QSKIP("A small or read-only file system is mounted with Linux's mount; on Windows "
          "tst_pressengine makes each file operation fail instead");
#endif
    QFETCH(QString, button);
    QFETCH(QString, mountedFolder);
    QFETCH(QStringList, mountOptions);
    QFETCH(Box, box);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QString folder = fixture.data(mountedFolder);
    // The campaign's start positions are larger than the small disk.
    QVERIFY(fixture.sample().writeSizedFile(fixture.mod("Version80/Campaign/Bavaria/startpos.esf"),
                                            256 * 1024));
    QVERIFY(fixture.sample().writeSampleFile(folder + "/startpos.esf"));
    QVERIFY(fixture.sample().writeSampleFile(fixture.scripts("user.script.txt")));
    const QMap<QString, QByteArray> files = fixture.snapshot();

    // A bind mount names its source before the folder.
    const QStringList arguments
        = mountOptions.contains("bind,ro") ? QStringList {"-o", "bind,ro", folder} : mountOptions;
    const Mount mount(folder, arguments);
    if (!mount.isMounted())
        QSKIP(qPrintable("mounting needs root where mounts are allowed: " + mount.error()));
    if (!mountOptions.contains("bind,ro")) // the new file system starts empty
        QVERIFY(fixture.sample().writeFile(
            folder + "/startpos.esf",
            files.value(QDir(fixture.sample().root()).relativeFilePath(folder + "/startpos.esf"))));

    ZolmLauncher window;
    MessageBoxCloser closer;
    window.findChild<QPushButton *>(button)->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.pressRunning(), 10000);

    QVERIFY(closer.fired());
    QCOMPARE(closer.count(), 1);
    QCOMPARE((Box {closer.boxes()[0].text, closer.boxes()[0].wayOut}), box);
    QMap<QString, QByteArray> after = fixture.snapshot();
    const QByteArray report = after.take(lastPressPath);
    QVERIFY2(report.contains("Nothing was changed"), report.constData());
    // The report gives the box on one line.
    QVERIFY2(report.contains(("The press stopped: " + box.what + ' ' + box.wayOut).toUtf8()),
             report.constData());
    QCOMPARE(after.keys(), files.keys());
    QVERIFY(after == files);
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(fixture.sample().gameStartRecord()));
    QVERIFY(window.isEnabled());
}

// Virus scanners, indexers and backup tools hold a new or changed file for a
// moment; the running game holds its packs for as long as it runs.
void tst_StoppedPress::heldTarget_data()
{
    QTest::addColumn<int>("holdMs");
    QTest::addColumn<bool>("completes");

    QTest::newRow("held for a moment: the press waits and completes") << 300 << true;
    QTest::newRow("held for long: the press stops after about two seconds") << 10000 << false;
    // By this process, as the game would, once every new file is ready.
    QTest::newRow("held from the burst on: the moves made are taken back") << -1 << false;
}

void tst_StoppedPress::heldTarget()
{
#ifndef Q_OS_WIN
    QSKIP("Only Windows refuses to replace a file that another program holds open");
#endif
    QFETCH(int, holdMs);
    QFETCH(bool, completes);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    QVERIFY(fixture.sample().writeSampleFile(fixture.data("ZOLM_txt.pack")));
    const QMap<QString, QByteArray> before = fixture.snapshot();
    const QString heldFile = holdMs < 0 ? "boot.pack" : "ZOLM_txt.pack";
    const QString heldPath = QDir::toNativeSeparators(fixture.data(heldFile));

    QProcess holder;
#ifdef Q_OS_WIN
    HANDLE heldHere = INVALID_HANDLE_VALUE;
    files::watch([&](const files::Operation &operation) {
        if (holdMs < 0 && operation.kind == files::Operation::Move
            && heldHere == INVALID_HANDLE_VALUE)
            heldHere = CreateFileW(reinterpret_cast<LPCWSTR>(heldPath.utf16()), GENERIC_READ, 0,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        return 0;
    });
    const auto releaseHold = [&] {
        files::watch({});
        CloseHandle(heldHere);
        heldHere = INVALID_HANDLE_VALUE;
    };
    const auto release = qScopeGuard(releaseHold);
#endif
    if (holdMs >= 0) {
        holder.start(QCoreApplication::applicationDirPath() + "/velmarch_hold_file.exe",
                     {heldPath, QString::number(holdMs)});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
    }
    QElapsedTimer held;
    held.start();
    ZolmLauncher window;
    MessageBoxCloser closer;
    if (completes) {
        QVERIFY(pressAndStart(fixture, window, "ButtonClassic"));
        QVERIFY2(held.elapsed() >= holdMs * 8 / 10, qPrintable(QString::number(held.elapsed())));
        QCOMPARE(closer.count(), 0);
        QCOMPARE(fixture.read(fixture.data("ZOLM_txt.pack")),
                 fixture.read(fixture.mod("Version84/Classic/txt.pack")));
        holder.waitForFinished(5000);
        return;
    }
    window.findChild<QPushButton *>("ButtonClassic")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.pressRunning(), 10000);
    const qint64 stoppedAfter = held.elapsed();
    holder.kill();
    holder.waitForFinished();
#ifdef Q_OS_WIN
    releaseHold();
#endif
    QVERIFY2(stoppedAfter >= 1800 && stoppedAfter < 6000,
             qPrintable(QString::number(stoppedAfter)));
    QVERIFY(closer.fired());
    QCOMPARE(closer.count(), 1);
    QCOMPARE(closer.boxes()[0].text, heldFile + " is in use by another program.");
    QCOMPARE(closer.boxes()[0].wayOut, QString("Close the game, then press again."));
    QMap<QString, QByteArray> after = fixture.snapshot();
    after.remove(lastPressPath);
    QVERIFY(after == before);
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(fixture.sample().gameStartRecord()));
}

QTEST_MAIN(tst_StoppedPress)
#include "tst_stoppedpress.moc"
