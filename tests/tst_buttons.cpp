// SPDX-License-Identifier: GPL-3.0-or-later
// Each start button of the window, pressed as a player would: the files it
// leaves in the game's and the mod's folders, and nothing changed where the
// launcher is outside the game's folders.
#include "app/zolmlauncher.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTextCodec>
#include <QtTest>

namespace {

int loadListLines(const LauncherFixture &fixture)
{
    return fixture.read(fixture.scripts("user.script.txt")).count(QByteArray("\n\0", 2));
}

QString preferences(const LauncherFixture &fixture)
{
    return QTextCodec::codecForName("UTF-16LE")
        ->toUnicode(fixture.read(fixture.scripts("preferences.script.txt")));
}

} // namespace

class tst_Buttons : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void battle_data();
    void battle();
    void campaign_data();
    void campaign();
    void restoreVanilla();
    void gameMissing_data();
    void gameMissing();
};

void tst_Buttons::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_Buttons::battle_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("uiSize");
    QTest::addColumn<bool>("screenshots");
    QTest::addColumn<QString>("uiPack");
    QTest::addColumn<QString>("cardGroups");
    QTest::addColumn<int>("loadList");
    QTest::addColumn<QString>("landUnitIds");

    QTest::newRow("Classic, no custom UI")
        << "ButtonClassic" << 0 << false << QString() << "UI/Luac/groups_no.pack" << 21
        << "ui_land_unit_ids 0";
    QTest::newRow("Classic, second size") << "ButtonClassic" << 2 << false << "UI/Resize/1.5.pack"
                                          << "UI/Luac/groups.pack" << 21 << "ui_land_unit_ids 0";
    QTest::newRow("Classic, no size chosen") << "ButtonClassic" << -1 << false << QString()
                                             << "UI/Luac/groups.pack" << 21 << "ui_land_unit_ids 0";
    QTest::newRow("Hardcore") << "ButtonHardcore" << 1 << false << "UI/Resize/1.25.pack"
                              << "UI/Luac/groups.pack" << 23 << "ui_land_unit_ids 2";
    QTest::newRow("Hardcore in screenshot mode")
        << "ButtonHardcore" << 3 << true << "UI/Resize/2.pack"
        << "UI/Luac/groups.pack" << 22 << "ui_land_unit_ids 2";
}

void tst_Buttons::battle()
{
    QFETCH(QString, button);
    QFETCH(int, uiSize);
    QFETCH(bool, screenshots);
    QFETCH(QString, uiPack);
    QFETCH(QString, cardGroups);
    QFETCH(int, loadList);
    QFETCH(QString, landUnitIds);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    QVERIFY(!QFileInfo::exists("../Temp"));
    for (const char *stale : {"ZOLM_txt_hb.pack", "ZOLM_ui.pack", "ZOLM_txt.pack", "boot.pack"})
        QVERIFY(fixture.sample().writeFile(fixture.data(stale), "stale"));

    ZolmLauncher window;
    window.findChild<QComboBox *>("ComboUI")->setCurrentIndex(uiSize);
    window.findChild<QCheckBox *>("ChkNoUI")->setChecked(screenshots);
    QVERIFY(pressAndStart(fixture, window, button));

    QVERIFY(!QFileInfo::exists(fixture.data("ZOLM_txt_hb.pack")));
    QCOMPARE(fixture.read(fixture.data("ZOLM_txt.pack")),
             fixture.read(fixture.mod("Version84/Classic/txt.pack")));
    QCOMPARE(fixture.read(fixture.data("boot.pack")),
             fixture.read(fixture.mod("Standard/boot.pack")));
    QCOMPARE(QFileInfo::exists(fixture.data("ZOLM_ui.pack")), !uiPack.isNull());
    if (!uiPack.isNull())
        QCOMPARE(fixture.read(fixture.data("ZOLM_ui.pack")), fixture.read(fixture.mod(uiPack)));
    QCOMPARE(fixture.read(fixture.mod("Temp/cardgroups.pack")),
             fixture.read(fixture.mod(cardGroups)));
    QVERIFY(QFileInfo(fixture.mod("Temp/tint.pack")).isFile());
    QVERIFY(QFileInfo(fixture.mod("Temp/theme.pack")).isFile());
    QCOMPARE(loadListLines(fixture), loadList);
    QVERIFY(preferences(fixture).contains(landUnitIds));
    QCOMPARE(preferences(fixture).contains("ui_card_mode 2"), screenshots);
}

void tst_Buttons::campaign_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("campaign");
    QTest::addColumn<bool>("temp");
    QTest::newRow("1805") << "SPC1805"
                          << "1805" << false;
    QTest::newRow("Bavaria") << "SPCbava"
                             << "Bavaria" << true;
    QTest::newRow("Ottoman") << "SPCotto"
                             << "Ottoman" << false;
    QTest::newRow("Wurttemberg") << "SPCwurt"
                                 << "Wurttemberg" << true;
}

void tst_Buttons::campaign()
{
    QFETCH(QString, button);
    QFETCH(QString, campaign);
    QFETCH(bool, temp);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    for (const char *stale : {"ZOLM_ui.pack", "ZOLM_wz.pack", "ZOLM_txt_hb.pack"})
        QVERIFY(fixture.sample().writeFile(fixture.data(stale), "stale"));
    if (temp)
        QVERIFY(QDir().mkdir("../Temp"));
    const auto before = fixture.snapshot();

    ZolmLauncher window;
    QVERIFY(pressAndStart(fixture, window, button));

    const QString source = "Version80/Campaign/" + campaign + '/';
    QCOMPARE(fixture.read(fixture.data("campaigns/mp_eur_napoleon/scripting.lua")),
             fixture.read(fixture.mod(source + "scripting.lua")));
    QCOMPARE(fixture.read(fixture.data("campaigns/zolm/startpos.esf")),
             fixture.read(fixture.mod(source + "startpos.esf")));
    QCOMPARE(fixture.read(fixture.scripts("user.script.txt")),
             fixture.read(fixture.mod("Version80/Campaign/user.script.txt")));
    QCOMPARE(fixture.read(fixture.data("ZOLM_txt.pack")),
             fixture.read(fixture.mod("Version80/Campaign/txt.pack")));
    QCOMPARE(fixture.read(fixture.data("boot.pack")),
             fixture.read(fixture.mod("Standard/boot.pack")));
    QVERIFY(!QFileInfo::exists(fixture.data("ZOLM_ui.pack")));
    QVERIFY(!QFileInfo::exists(fixture.data("ZOLM_wz.pack")));
    QCOMPARE(fixture.read(fixture.data("ZOLM_txt_hb.pack")), QByteArray("stale"));
    QCOMPARE(QFileInfo::exists("../Temp"), temp);
    QCOMPARE(QFileInfo::exists("../Temp/theme.pack"), temp);

    // Nothing else in the game's campaigns changes.
    const auto after = fixture.snapshot();
    for (const char *untouched :
         {"campaigns/mp_eur_napoleon/startpos.esf", "campaigns/spa_napoleon/scripting.lua"}) {
        const QString path = "Napoleon/data/" + QString(untouched);
        QCOMPARE(after[path], before[path]);
    }
}

void tst_Buttons::restoreVanilla()
{
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    for (const char *staged :
         {"ZOLM_txt.pack", "ZOLM_ui.pack", "ZOLM_wz.pack", "ZOLM_other.pack", "patch.pack"})
        QVERIFY(fixture.sample().writeSampleFile(fixture.data(staged)));
    QVERIFY(fixture.sample().writeSampleFile(fixture.scripts("user.script.txt")));
    const QByteArray preferences = fixture.read(fixture.scripts("preferences.script.txt"));

    ZolmLauncher window;
    QVERIFY(pressAndStart(fixture, window, "ButtonVanilla"));

    for (const char *gone : {"ZOLM_txt.pack", "ZOLM_ui.pack", "ZOLM_wz.pack"})
        QVERIFY(!QFileInfo::exists(fixture.data(gone)));
    QVERIFY(!QFileInfo::exists(fixture.scripts("user.script.txt")));
    for (const char *kept : {"ZOLM_other.pack", "patch.pack"})
        QCOMPARE(fixture.read(fixture.data(kept)), fixture.sample().contentOf(fixture.data(kept)));
    QCOMPARE(fixture.read(fixture.data("boot.pack")),
             fixture.read(fixture.mod("Backup/boot.pack")));
    for (const char *campaign : {"spa_napoleon", "mp_eur_napoleon"}) {
        const QString folder = fixture.data("campaigns/" + QString(campaign) + '/');
        QCOMPARE(fixture.read(folder + "scripting.lua"),
                 fixture.read(fixture.mod("Backup/scripting.lua")));
        QCOMPARE(fixture.read(folder + "startpos.esf"),
                 fixture.read(fixture.mod("Backup/startpos.esf")));
    }
    QCOMPARE(fixture.read(fixture.scripts("preferences.script.txt")), preferences);
}

// A launcher outside the game's folders would change some other folder's
// files: the press changes none, and its box says where the launcher belongs.
void tst_Buttons::gameMissing_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("battle") << "ButtonClassic";
    QTest::newRow("campaign") << "SPCotto";
    QTest::newRow("restore") << "ButtonVanilla";
}

void tst_Buttons::gameMissing()
{
    QFETCH(QString, button);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    QVERIFY(QFile::remove(fixture.sample().gameFolder() + "/Napoleon.exe"));
    QVERIFY(fixture.sample().writeFile(fixture.data("boot.pack"), "stale"));
    const auto before = fixture.snapshot();

    ZolmLauncher window;
    MessageBoxCloser closer;
    QCOMPARE(loopStatusOf([&] { window.findChild<QPushButton *>(button)->click(); }), 1);

    QCOMPARE(closer.count(), 1);
    QVERIFY(closer.boxes()[0].text.startsWith("Napoleon.exe cannot be found."));
    QCOMPARE(fixture.snapshot(), before);
}

QTEST_MAIN(tst_Buttons)
#include "tst_buttons.moc"
