// SPDX-License-Identifier: GPL-3.0-or-later
// The steps a plan is made of, carried out on real files: a pack replaced by
// its copy (with what may stand in its way), a copy over a file that only
// looks like it, the load list's and text pack's installs, and the packs a
// campaign removes.
#include "app/zolmlauncher.h"
#include "files/filelayer.h"
#include "installation/roots.h"
#include "press/executor.h"
#include "staging/fileops.h"
#include "windowfixture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QtTest>

class tst_FileOps : public QObject
{
    Q_OBJECT

private slots:
    void replaceByCopy_data();
    void replaceByCopy();
    void copyOverLookalike_data();
    void copyOverLookalike();
    void installOperations_data();
    void installOperations();
    void removeUiAndWzPacks();
};

void tst_FileOps::replaceByCopy_data()
{
    QTest::addColumn<bool>("gameFile");
    QTest::addColumn<bool>("sourcePresent");
    QTest::addColumn<bool>("targetIsFolder");
    QTest::addColumn<bool>("targetHeldOpen");
    QTest::addColumn<int>("flushError"); // the system's answer to the copy's flush
    QTest::addColumn<QString>("outcome"); // new, old, absent or stopped
    QTest::addColumn<QString>("error");

    QTest::newRow("target replaced") << false << true << false << false << 0 << "new" << QString();
    // Shared folders of virtual machines, some virtual drives.
    QTest::newRow("a drive that cannot flush: replaced all the same")
        << false << true << false << false << files::notSupported << "new" << QString();
    QTest::newRow("a flush that fails stops the press")
        << false << true << false << false << files::driveFailed << "stopped"
        << "boot.pack could not be put in the game's data folder: ";
    QTest::newRow("missing source leaves a mod file absent")
        << false << false << false << false << 0 << "absent" << QString();
    QTest::newRow("missing source keeps a game file")
        << true << false << false << false << 0 << "old"
        << "boot.pack was left as it is: ZOLM/Standard/boot.pack is missing.";
    QTest::newRow("a folder in the way stops the press")
        << true << true << true << false << 0 << "stopped"
        << "boot.pack could not be put in the game's data folder: ";
    // Windows refuses to replace a file that a program (the game, a virus
    // scanner) holds open; elsewhere the name moves on and the reader keeps
    // the old bytes.
#ifdef Q_OS_WIN
    QTest::newRow("target held open stops the press")
        << true << true << false << true << 0 << "stopped"
        << "boot.pack is in use by another program. Close the game, then press again.";
#else
    QTest::newRow("target held open is replaced")
        << true << true << false << true << 0 << "new" << QString();
#endif
}

void tst_FileOps::replaceByCopy()
{
    QFETCH(bool, gameFile);
    QFETCH(bool, sourcePresent);
    QFETCH(bool, targetIsFolder);
    QFETCH(bool, targetHeldOpen);
    QFETCH(int, flushError);
    QFETCH(QString, outcome);
    QFETCH(QString, error);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());

    const QString source = "../Standard/boot.pack";
    const QString target = "../../boot.pack";
    const QByteArray sourceBytes = fixture.read(source);
    const QByteArray targetBytes = fixture.read(target);
    if (!sourcePresent)
        QVERIFY(QFile::remove(source));
    if (targetIsFolder) {
        QVERIFY(QFile::remove(target));
        QVERIFY(QDir().mkpath(target + "/inside"));
    }
    QFile reader(target);
    if (targetHeldOpen)
        QVERIFY(reader.open(QIODevice::ReadOnly));

    files::watch([&](const files::Operation &operation) {
        return operation.kind == files::Operation::Flush ? flushError : 0;
    });
    const PressReport report = executePlan(
        {gameFile ? replaceGameFile(source, target) : replaceModFile(source, target)});
    files::watch({});
    reader.close();

    QCOMPARE(report.stopped, outcome == "stopped");
    QCOMPARE(report.errors.size(), error.isEmpty() ? 0 : 1);
    if (!error.isEmpty())
        QVERIFY2(report.errors[0].inOneLine().startsWith(error),
                 qPrintable(report.errors[0].inOneLine()));
    if (targetIsFolder)
        QVERIFY(QDir(target + "/inside").exists());
    else if (outcome == "new")
        QCOMPARE(fixture.read(target), sourceBytes);
    else if (outcome == "absent")
        QVERIFY(!QFileInfo::exists(target));
    else
        QCOMPARE(fixture.read(target), targetBytes);
    // Nothing of the copy is left beside the target.
    QCOMPARE(QDir("../..").entryList({"boot.pack?*"}, QDir::AllEntries | QDir::Hidden),
             QStringList());
}

namespace {

QDateTime modificationTime(const QString &path)
{
    return QFileInfo(path).lastModified();
}

} // namespace

void tst_FileOps::copyOverLookalike_data()
{
    QTest::addColumn<QString>("target"); // what is at the target before the press
    QTest::addColumn<QString>("outcome"); // copied or stopped

    // Another pack of the same size and time is still another pack.
    QTest::newRow("same size and time, no record of the copy: copied") << "same size and time"
                                                                       << "copied";
    QTest::newRow("size differs: copied") << "other size"
                                          << "copied";
    QTest::newRow("time differs: copied") << "other time"
                                          << "copied";
    QTest::newRow("target missing: copied") << "missing"
                                            << "copied";
    QTest::newRow("target a folder of the source's size and time: stopped") << "folder"
                                                                            << "stopped";
}

void tst_FileOps::copyOverLookalike()
{
    QFETCH(QString, target);
    QFETCH(QString, outcome);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());

    const QString from = "../UI/Tint/amber.pack";
    const QString to = "../Temp/tint.pack";
    QVERIFY(fixture.sample().writeSizedFile(fixture.mod("UI/Tint/amber.pack"), 3 << 20));
    const QDateTime sourceTime = QDateTime::currentDateTime().addDays(-3);
    QVERIFY(LauncherFixture::setModificationTime(from, sourceTime));
    const QByteArray sourceBytes = fixture.read(from);
    // A copy that looks in place but holds other bytes shows whether it was skipped.
    QByteArray targetBytes(sourceBytes.size(), 'x');
    QDateTime targetTime = sourceTime;
    QVERIFY(QDir().mkpath("../Temp"));
    QFile::remove(to);
    if (target == "other size")
        targetBytes.chop(1);
    if (target == "other time")
        targetTime = sourceTime.addSecs(-3600);
    if (target == "folder") {
        QVERIFY(QDir().mkpath(to + "/inside"));
        QVERIFY(fixture.sample().writeSizedFile(fixture.mod("UI/Tint/amber.pack"),
                                                QFileInfo(to).size()));
        QVERIFY(LauncherFixture::setModificationTime(from, modificationTime(to)));
    } else if (target != "missing") {
        QVERIFY(fixture.sample().writeFile(fixture.mod("Temp/tint.pack"), targetBytes));
        QVERIFY(LauncherFixture::setModificationTime(to, targetTime));
    }

    const PressReport report = executePlan({replaceModFile(from, to)});

    QCOMPARE(report.stopped, outcome == "stopped");
    if (outcome == "stopped") {
        QVERIFY(QDir(to + "/inside").exists());
        return;
    }
    QCOMPARE(report.errors, Boxes());
    QCOMPARE(fixture.read(to), sourceBytes);
    // A copy carries its source's time, so that the next press can skip it.
    QCOMPARE(modificationTime(to), sourceTime);
    QCOMPARE(modificationTime(from), sourceTime);
}

void tst_FileOps::installOperations_data()
{
    QTest::addColumn<bool>("userScript");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");

    QTest::newRow("text pack for battles") << false << "../Version84/Classic"
                                           << "Version84/Classic/txt.pack"
                                           << "ZOLM_txt.pack";
    QTest::newRow("text pack from the campaign root, doubled separator")
        << false << campaignRoot() << "Version80/Campaign/txt.pack"
        << "ZOLM_txt.pack";
    QTest::newRow("campaign load list")
        << true << campaignRoot() << "Version80/Campaign/user.script.txt"
        << "user.script.txt";
}

void tst_FileOps::installOperations()
{
    QFETCH(bool, userScript);
    QFETCH(QString, folder);
    QFETCH(QString, source);
    QFETCH(QString, target);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QString targetPath = userScript ? fixture.scripts(target) : fixture.data(target);
    QVERIFY(fixture.sample().writeFile(targetPath, "an older, longer copy of the file\n"));

    const auto install = [&] {
        return executePlan({userScript ? ZolmLauncher::installUserScript(folder)
                                       : ZolmLauncher::installTextPack(folder)});
    };
    QVERIFY(!install().stopped);
    QCOMPARE(fixture.read(targetPath), fixture.read(fixture.mod(source)));

    // Without the scripts folder nothing is created.
    if (userScript) {
        QVERIFY(fixture.removeTree(fixture.sample().scriptsFolder()));
        QVERIFY(install().stopped);
        QVERIFY(!QFileInfo::exists(fixture.sample().scriptsFolder()));
    }
}

void tst_FileOps::removeUiAndWzPacks()
{
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    for (const char *name : {"ZOLM_ui.pack", "ZOLM_wz.pack", "ZOLM_txt.pack"})
        QVERIFY(fixture.sample().writeSampleFile(fixture.data(name)));

    QVERIFY(!executePlan(ZolmLauncher::removeUiAndWzPacks()).stopped);

    QVERIFY(!QFileInfo::exists(fixture.data("ZOLM_ui.pack")));
    QVERIFY(!QFileInfo::exists(fixture.data("ZOLM_wz.pack")));
    QVERIFY(QFileInfo::exists(fixture.data("ZOLM_txt.pack")));
}

QTEST_MAIN(tst_FileOps)
#include "tst_fileops.moc"
