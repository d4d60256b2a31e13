// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "files/filelayer.h"
#include "installation/listing.h"
#include "installation/roots.h"
#include "launcherfixture.h"
#include "press/executor.h"
#include "staging/fileops.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class tst_FileOps : public QObject
{
    Q_OBJECT

private slots:
    void isExistingFile_data();
    void isExistingFile();
    void listing_data();
    void listing();
    void replaceByCopy_data();
    void replaceByCopy();
    void copyOverLookalike_data();
    void copyOverLookalike();
    void readOnlyFiles_data();
    void readOnlyFiles();
    void readOnlyPlayerFiles_data();
    void readOnlyPlayerFiles();
    void installOperations_data();
    void installOperations();
    void removeUiAndWzPacks();
    void gameScriptsFolder();
};

void tst_FileOps::isExistingFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("expected");
    QTest::newRow("regular file") << "../Standard/boot.pack" << true;
    QTest::newRow("folder") << "../Standard" << false;
    QTest::newRow("missing") << "../Standard/none.pack" << false;
    QTest::newRow("game from the launcher's folder") << "../../../Napoleon.exe" << true;
}

void tst_FileOps::isExistingFile()
{
    QFETCH(QString, path);
    QFETCH(bool, expected);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    QCOMPARE(::isExistingFile(path), expected);
}

void tst_FileOps::listing_data()
{
    QTest::addColumn<bool>("folders");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("subfolders");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("theme names, underscore first")
        << true << QStringList {"notes.txt"}
        << QStringList {"Mamelukes", "_Default (no theme)", "France 1798-1801 (Orient)"}
        << QStringList {"_Default (no theme)", "France 1798-1801 (Orient)", "Mamelukes"};
    QTest::newRow("subfolders only")
        << true << QStringList {"a.pack"} << QStringList {"b"} << QStringList {"b"};
    QTest::newRow("files ignore case")
        << false << QStringList {"b.pack", "A.pack", "c.PACK"} << QStringList {"x.pack"}
        << QStringList {"A.pack", "b.pack", "c.PACK"};
    QTest::newRow("files skip hidden")
        << false << QStringList {".hidden", "shown"} << QStringList {} << QStringList {"shown"};
    QTest::newRow("missing folder") << false << QStringList {} << QStringList {} << QStringList {};
}

void tst_FileOps::listing()
{
    QFETCH(bool, folders);
    QFETCH(QStringList, files);
    QFETCH(QStringList, subfolders);
    QFETCH(QStringList, expected);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());

    const QString folder = "../Listed";
    for (const QString &name : files) {
        QVERIFY(fixture.sample().writeSampleFile(fixture.mod("Listed/" + name)));
#ifdef Q_OS_WIN
        // Hidden is an attribute on Windows, not a leading dot.
        if (name.startsWith('.'))
            QVERIFY(SetFileAttributesW(
                reinterpret_cast<LPCWSTR>(
                    QDir::toNativeSeparators(fixture.mod("Listed/" + name)).utf16()),
                FILE_ATTRIBUTE_HIDDEN));
#endif
    }
    for (const QString &name : subfolders)
        QVERIFY(QDir().mkpath(folder + '/' + name));

    QCOMPARE(folders ? listSubfolders(folder) : listFiles(folder), expected);
}

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

namespace {

// Qt sets and reads the read-only attribute on Windows, and write
// permission elsewhere.
bool setReadOnly(const QString &path, bool readOnly = true)
{
    return QFile::setPermissions(path,
                                 QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther
                                     | (readOnly ? QFile::Permissions() : QFile::WriteOwner));
}

bool isReadOnly(const QString &path)
{
    return !(QFile::permissions(path) & QFile::WriteOwner);
}

// What the system does with a read-only file, tried on a file of its own:
// empty where it refuses as Windows does, otherwise what it lets through.
QString unenforced(const QString &readOnly, bool moveOver, const QString &source)
{
#ifdef Q_OS_WIN
    const QString probe = "../Temp/probe.pack";
    const auto removeProbes = [&] {
        setReadOnly(probe, false);
        QFile::remove(probe);
        QFile::remove(probe + "2");
    };
    QString let;
    if (readOnly == "source") {
        if (!QFile::copy(source, probe) || !isReadOnly(probe))
            let = "Wine's copy does not carry the read-only attribute over";
    } else {
        QFile(probe).open(QIODevice::WriteOnly);
        QFile(probe + "2").open(QIODevice::WriteOnly);
        setReadOnly(probe);
        if (moveOver
            && MoveFileExW(L"..\\Temp\\probe.pack2", L"..\\Temp\\probe.pack",
                           MOVEFILE_REPLACE_EXISTING))
            let = "Wine moves a file over a read-only one";
        if (!moveOver && DeleteFileW(L"..\\Temp\\probe.pack"))
            let = "Wine removes a read-only file";
    }
    removeProbes();
    return let;
#else
    Q_UNUSED(readOnly)
    Q_UNUSED(moveOver)
    Q_UNUSED(source)
    return QString();
#endif
}

} // namespace

// Packs copied from a disc, an old backup or some archive tools are
// read-only. Windows copies the attribute and refuses to move over or remove
// such a file; elsewhere the same steps run on read-only permissions.
void tst_FileOps::readOnlyFiles_data()
{
    QTest::addColumn<QString>("readOnly"); // source, target or leftover (a copy left beside it)
    QTest::addColumn<bool>("removal"); // the step removes the target

    QTest::newRow("read-only source: its copy is not read-only") << "source" << false;
    QTest::newRow("read-only target: replaced") << "target" << false;
    QTest::newRow("read-only leftover copy: cleared, the copy made") << "leftover" << false;
    QTest::newRow("read-only target: removed") << "target" << true;
}

void tst_FileOps::readOnlyFiles()
{
    QFETCH(QString, readOnly);
    QFETCH(bool, removal);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QString source = "../UI/Tint/amber.pack";
    const QString target = "../Temp/tint.pack";
    QVERIFY(fixture.sample().writeSampleFile(fixture.mod("Temp/tint.pack")));
    QVERIFY(fixture.sample().writeSampleFile(fixture.mod("Temp/tint.pack.velmarch-new")));
    const QString why = unenforced(readOnly, readOnly == "target" && !removal, source);
    if (!why.isEmpty())
        QSKIP(qPrintable(why + ": only the code guards this case here"));
    const QMap<QString, QString> paths {
        {"source", source}, {"target", target}, {"leftover", target + ".velmarch-new"}};
    QVERIFY(setReadOnly(paths[readOnly]));

    const PressReport report
        = executePlan({removal ? removeFile(target) : replaceModFile(source, target)});

    QCOMPARE(report.errors, Boxes());
    QVERIFY(!report.stopped);
    if (removal) {
        QVERIFY(!QFileInfo::exists(target));
    } else {
        QCOMPARE(fixture.read(target), fixture.read(source));
        QVERIFY(!isReadOnly(target));
    }
    QCOMPARE(QDir("../Temp").entryList({"tint.pack?*"}, QDir::AllEntries | QDir::Hidden),
             QStringList());
    // The mod's own file is left as it came.
    QCOMPARE(isReadOnly(source), readOnly == "source");
}

// The player's own files in the scripts folder keep their protection: a
// press says it cannot change them.
void tst_FileOps::readOnlyPlayerFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("error");

    // A read-only mark on Windows, permissions elsewhere.
#ifdef Q_OS_WIN
    const QString clear = " Clear its read-only mark in its Properties, then press again.";
    const QString prefs = "clear the file's read-only mark in its Properties";
#else
    const QString clear = " Give yourself permission to change it (in its Properties, "
                          "Permissions), then press again.";
    const QString prefs
        = "give yourself permission to change the file (in its Properties, Permissions)";
#endif
    QTest::newRow("load list written for a battle")
        << "user.script.txt"
        << "write"
        << "User script file cannot be changed." + clear;
    QTest::newRow("load list copied for a campaign")
        << "user.script.txt"
        << "copy"
        << "user.script.txt could not be put in the game's scripts folder: it is read-only."
            + clear;
    QTest::newRow("load list removed by restore")
        << "user.script.txt"
        << "remove"
        << "user.script.txt could not be removed from the game's scripts folder: it is read-only."
            + clear;
    // These never stop a press: the game starts with them as they are.
    QTest::newRow("preferences edited")
        << "preferences.script.txt"
        << "edit"
        << "Preference file cannot be changed. The game starts with your preferences as they "
           "are. To have them changed, "
            + prefs + ", then press again.";
}

void tst_FileOps::readOnlyPlayerFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, step);
    QFETCH(QString, error);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QString path = fixture.scripts(file);
    // A file the edits would change, in the game's own encoding.
    const QByteArray bytes = SampleInstallation::utf16le("ui_card_mode 0;\r\n");
    QVERIFY(fixture.sample().writeFile(path, bytes));
    QVERIFY(setReadOnly(path));
    if (QFileInfo(path).isWritable())
        QSKIP("This user may change a read-only file (root): the system does not protect it");

    PressChoices choices;
    choices.screenshotMode = true;
    const FileStep steps[] = {ZolmLauncher::writeUserScript("Classic"),
                              ZolmLauncher::installUserScript(campaignRoot()), removeFile(path),
                              ZolmLauncher::applyPreferences(false, choices)};
    const int index = QStringList {"write", "copy", "remove", "edit"}.indexOf(step);
    const PressReport report = executePlan({steps[index]});

    QCOMPARE(report.stopped, file == "user.script.txt");
    QCOMPARE(report.errors.value(0).inOneLine(), error);
    QCOMPARE(fixture.read(path), bytes);
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

void tst_FileOps::gameScriptsFolder()
{
    // The launcher's own data folder does not exist; the path is still found.
#ifdef Q_OS_WIN
    // The roaming folder as the system gives it, with Qt's test folder.
    QStandardPaths::setTestModeEnabled(true);
    const QString roaming = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
    QVERIFY(!roaming.isEmpty());
    QCOMPARE(::gameScriptsFolder(), roaming + "/qttest/The Creative Assembly/Napoleon/scripts/");
#else
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/nonexistent/home/data");
    const QString folder = ::gameScriptsFolder();
    qputenv("XDG_DATA_HOME", previous);
    QCOMPARE(folder, QString("/nonexistent/home/data/The Creative Assembly/Napoleon/scripts/"));
#endif
}

QTEST_MAIN(tst_FileOps)
#include "tst_fileops.moc"
