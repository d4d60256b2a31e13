// SPDX-License-Identifier: GPL-3.0-or-later
// Where things are, as the launcher finds them from its own folder: the
// files it takes for existing, the mod's folders as it lists them, and the
// game's scripts folder.
#include "installation/listing.h"
#include "installation/roots.h"
#include "launcherfixture.h"

#include <QDir>
#include <QStandardPaths>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class tst_Installation : public QObject
{
    Q_OBJECT

private slots:
    void isExistingFile_data();
    void isExistingFile();
    void listing_data();
    void listing();
    void gameScriptsFolder();
};

void tst_Installation::isExistingFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("expected");
    QTest::newRow("regular file") << "../Standard/boot.pack" << true;
    QTest::newRow("folder") << "../Standard" << false;
    QTest::newRow("missing") << "../Standard/none.pack" << false;
    QTest::newRow("game from the launcher's folder") << "../../../Napoleon.exe" << true;
}

void tst_Installation::isExistingFile()
{
    QFETCH(QString, path);
    QFETCH(bool, expected);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    QCOMPARE(::isExistingFile(path), expected);
}

void tst_Installation::listing_data()
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

void tst_Installation::listing()
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

void tst_Installation::gameScriptsFolder()
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

QTEST_MAIN(tst_Installation)
#include "tst_installation.moc"
