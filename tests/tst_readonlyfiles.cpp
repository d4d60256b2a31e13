// SPDX-License-Identifier: GPL-3.0-or-later
// Read-only packs and the player's read-only script files: what a press does
// with them, and the box it shows where it cannot change one.
#include "app/zolmlauncher.h"
#include "installation/roots.h"
#include "press/executor.h"
#include "staging/fileops.h"
#include "windowfixture.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

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

class tst_ReadOnlyFiles : public QObject
{
    Q_OBJECT

private slots:
    void readOnlyFiles_data();
    void readOnlyFiles();
    void readOnlyPlayerFiles_data();
    void readOnlyPlayerFiles();
};

// Packs copied from a disc, an old backup or some archive tools are
// read-only. Windows copies the attribute and refuses to move over or remove
// such a file; elsewhere the same steps run on read-only permissions.
void tst_ReadOnlyFiles::readOnlyFiles_data()
{
    QTest::addColumn<QString>("readOnly"); // source, target or leftover (a copy left beside it)
    QTest::addColumn<bool>("removal"); // the step removes the target

    QTest::newRow("read-only source: its copy is not read-only") << "source" << false;
    QTest::newRow("read-only target: replaced") << "target" << false;
    QTest::newRow("read-only leftover copy: cleared, the copy made") << "leftover" << false;
    QTest::newRow("read-only target: removed") << "target" << true;
}

void tst_ReadOnlyFiles::readOnlyFiles()
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
void tst_ReadOnlyFiles::readOnlyPlayerFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("step");
    QTest::addColumn<Box>("error");

    // A read-only mark on Windows, permissions elsewhere.
#ifdef Q_OS_WIN
    const QString clear = "Clear its read-only mark in its Properties, then press again.";
    const QString prefs = "clear the file's read-only mark in its Properties";
#else
    const QString clear = "Give yourself permission to change it (in its Properties, "
                          "Permissions), then press again.";
    const QString prefs
        = "give yourself permission to change the file (in its Properties, Permissions)";
#endif
    QTest::newRow("load list written for a battle")
        << "user.script.txt"
        << "write" << Box {"User script file cannot be changed.", clear};
    QTest::newRow("load list copied for a campaign")
        << "user.script.txt"
        << "copy"
        << Box {"user.script.txt could not be put in the game's scripts folder: it is read-only.",
                clear};
    QTest::newRow("load list removed by restore")
        << "user.script.txt"
        << "remove"
        << Box {"user.script.txt could not be removed from the game's scripts folder: it is "
                "read-only.",
                clear};
    // These never stop a press: the game starts with them as they are.
    QTest::newRow("preferences edited")
        << "preferences.script.txt"
        << "edit"
        << Box {"Preference file cannot be changed.",
                "The game starts with your preferences as they are. To have them changed, " + prefs
                    + ", then press again."};
}

void tst_ReadOnlyFiles::readOnlyPlayerFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, step);
    QFETCH(Box, error);
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
    QCOMPARE(report.errors.value(0), error);
    QCOMPARE(fixture.read(path), bytes);
}

QTEST_MAIN(tst_ReadOnlyFiles)
#include "tst_readonlyfiles.moc"
