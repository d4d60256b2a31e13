// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "windowfixture.h"

#include <QtTest>

class tst_LoadList : public QObject
{
    Q_OBJECT

private slots:
    void packList_data();
    void packList();
    void writtenBytes();
    void replacesLongerFile();
    void scriptsFolderMissing();
};

void tst_LoadList::packList_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("head");

    const QStringList plain = {"Temp/theme", "Temp/cardgroups", "UI/Luac/luac"};
    QTest::newRow("Classic") << "Classic" << 21 << plain;
    QTest::newRow("Hardcore") << "Hardcore" << 23
                              << QStringList {"Temp/theme", "Version84/Hardcore/obfus",
                                              "UI/BloodSmoke/bsm", "Temp/cardgroups"};
    QTest::newRow("RemoveUI") << "RemoveUI" << 22
                              << QStringList {"Temp/theme", "UI/Remove/noui", "Temp/cardgroups"};
    QTest::newRow("hardcore in other capitals is Classic") << "hardcore" << 21 << plain;
    QTest::newRow("removeui in other capitals is Classic") << "REMOVEUI" << 21 << plain;
    QTest::newRow("empty is Classic") << "" << 21 << plain;
}

void tst_LoadList::packList()
{
    QFETCH(QString, mode);
    QFETCH(int, count);
    QFETCH(QStringList, head);
    const QStringList packs = ZolmLauncher().userScriptPackList(mode);
    QCOMPARE(packs.size(), count);
    QCOMPARE(packs.mid(0, head.size()), head);
    QCOMPARE(packs.last(), QString("Temp/tint"));
}

void tst_LoadList::writtenBytes()
{
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    ZolmLauncher launcher;
    applySteps(&launcher, {ZolmLauncher::writeUserScript("RemoveUI")});

    const QString lines[] = {
        "Temp/theme",
        "UI/Remove/noui",
        "Temp/cardgroups",
        "UI/Luac/luac",
        "Version84/Classic/db",
        "Version84/Classic/sc",
        "Version84/Classic/gfx4",
        "Version83/Classic/gfx3",
        "Version83/Classic/atlas3",
        "Version84/Classic/variant4",
        "Version83/Classic/variant3",
        "Version84/Classic/mesh4",
        "Version83/Classic/mesh3",
        "Standard/fx1",
        "Standard/fx2",
        "Version83/Maps/mapdb",
        "Maps/a_f",
        "Maps/g_z",
        "Maps/hist",
        "Maps/lmc",
        "Maps/wa",
        "Temp/tint",
    };
    // Windows' line ends everywhere: under Proton the game is the Windows program.
    QString text;
    for (const QString &pack : lines)
        text += "mod \"ZOLM/" + pack + ".pack\";\r\n";
    QCOMPARE(fixture.read(fixture.scripts("user.script.txt")), SampleInstallation::utf16le(text));
}

void tst_LoadList::replacesLongerFile()
{
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QString path = fixture.scripts("user.script.txt");
    QVERIFY(fixture.sample().writeFile(path, QByteArray(8000, '#')));

    ZolmLauncher launcher;
    applySteps(&launcher, {ZolmLauncher::writeUserScript("Hardcore")});

    const QByteArray bytes = fixture.read(path);
    QVERIFY(bytes.startsWith("\xFF\xFE"));
    QVERIFY(!bytes.contains('#'));
    QCOMPARE(bytes.count(QByteArray("\n\0", 2)), 23);
}

void tst_LoadList::scriptsFolderMissing()
{
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    QVERIFY(fixture.removeTree(fixture.sample().scriptsFolder()));

    ZolmLauncher launcher;
    MessageBoxCloser closer;
    applySteps(&launcher, {ZolmLauncher::writeUserScript("Classic")});

    QVERIFY(closer.fired());
    QCOMPARE(closer.count(), 1);
    QCOMPARE(closer.boxes()[0].title, QString("Error"));
    QCOMPARE(closer.boxes()[0].text, QString("User script file cannot be changed."));
    QVERIFY(!QFileInfo::exists(fixture.sample().scriptsFolder()));
}

QTEST_MAIN(tst_LoadList)
#include "tst_loadlist.moc"
