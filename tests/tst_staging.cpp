// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "launcherfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTextCodec>
#include <QtTest>

namespace {

const QStringList tints = {"UI/Tint/amber.pack", "UI/Tint/dusk.pack", "UI/Tint/frost.pack"};

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

class tst_Staging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void battle_data();
    void battle();
    void tint_data();
    void tint();
    void theme_data();
    void theme();
    void randomTheme();
    void campaign_data();
    void campaign();
    void restoreVanilla();
    void gameMissing_data();
    void gameMissing();
};

void tst_Staging::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_Staging::battle_data()
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

void tst_Staging::battle()
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

void tst_Staging::tint_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("staleTemp");
    QTest::newRow("one file") << QStringList {tints[1]} << false;
    QTest::newRow("several files, stale Temp packs") << tints << true;
    QTest::newRow("empty folder") << QStringList {} << true;
}

void tst_Staging::tint()
{
    QFETCH(QStringList, files);
    QFETCH(bool, staleTemp);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    for (const QString &tint : tints) {
        if (!files.contains(tint))
            QVERIFY(QFile::remove(fixture.mod(tint)));
    }
    if (staleTemp) {
        for (const char *stale : {"Temp/tint.pack", "Temp/cardgroups.pack", "Temp/theme.pack"})
            QVERIFY(fixture.sample().writeFile(fixture.mod(stale), "stale"));
    }

    ZolmLauncher window;
    applySteps(&window,
               ZolmLauncher::setupBattle("Classic", window.readChoices(), readModListing()));

    const QByteArray tint = fixture.read(fixture.mod("Temp/tint.pack"));
    QCOMPARE(QFileInfo::exists(fixture.mod("Temp/tint.pack")), !files.isEmpty());
    bool fromFolder = files.isEmpty();
    for (const QString &file : files)
        fromFolder = fromFolder || tint == fixture.read(fixture.mod(file));
    QVERIFY(fromFolder);
    // The rest of the setup goes on without a tint.
    QCOMPARE(fixture.read(fixture.mod("Temp/cardgroups.pack")),
             fixture.read(fixture.mod("UI/Luac/groups.pack")));
    QVERIFY(fixture.read(fixture.mod("Temp/theme.pack")).startsWith("sample "));
}

void tst_Staging::theme_data()
{
    QTest::addColumn<QStringList>("add");
    QTest::addColumn<QStringList>("remove");
    QTest::addColumn<QString>("select");
    QTest::addColumn<QString>("music");
    QTest::addColumn<QString>("movies");

    const QString france = "France 1798-1801 (Orient)";
    const QString usa = "United States of America";
    const QString standard = "_Default (no theme)";
    QTest::newRow("selector hidden stages the default")
        << QStringList {} << QStringList {"Austria", "Prussia", "Mamelukes", usa} << QString()
        << standard << standard;
    QTest::newRow("own movies") << QStringList {} << QStringList {} << "Prussia"
                                << "Prussia"
                                << "Prussia";
    QTest::newRow("default by name")
        << QStringList {} << QStringList {} << standard << standard << standard;
    QTest::newRow("Mamelukes borrow from France") << QStringList {} << QStringList {} << "Mamelukes"
                                                  << "Mamelukes" << france;
    QTest::newRow("Egypt borrows from France")
        << QStringList {} << QStringList {} << "United Kingdom 1801 (Egypt)"
        << "United Kingdom 1801 (Egypt)" << france;
    QTest::newRow("Canada borrows from the United States")
        << QStringList {} << QStringList {} << "United Kingdom 1812 and Canada"
        << "United Kingdom 1812 and Canada" << usa;
    QTest::newRow("others borrow from the default") << QStringList {} << QStringList {} << "Austria"
                                                    << "Austria" << standard;
    QTest::newRow("Mamelukes with movies of their own")
        << QStringList {"Mamelukes/mov.pack"} << QStringList {} << "Mamelukes"
        << "Mamelukes"
        << "Mamelukes";
    // Renamed, not added beside: Windows keeps one folder for both spellings.
    QTest::newRow("mamelukes in other capitals borrow from the default")
        << QStringList {"mamelukes/mus.pack"} << QStringList {"Mamelukes"} << "mamelukes"
        << "mamelukes" << standard;
    QTest::newRow("lender without movies stages none")
        << QStringList {} << QStringList {france + "/mov.pack"} << "Mamelukes"
        << "Mamelukes" << QString();
}

void tst_Staging::theme()
{
    QFETCH(QStringList, add);
    QFETCH(QStringList, remove);
    QFETCH(QString, select);
    QFETCH(QString, music);
    QFETCH(QString, movies);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QString themes = fixture.mod("UI/Theme/");
    for (const QString &path : remove) {
        const QString gone = themes + path;
        QVERIFY(QFileInfo(gone).isDir() ? fixture.removeTree(gone) : QFile::remove(gone));
    }
    for (const QString &file : add)
        QVERIFY(fixture.sample().writeSampleFile(themes + file));
    QVERIFY(fixture.sample().writeFile("Napoleon/data/ZOLM/Launcher/zolm.ini",
                                       "[General]\nFactionTheme=3\n"));
    QVERIFY(QDir().mkdir("../Temp"));

    ZolmLauncher window;
    auto *selector = window.findChild<QComboBox *>("ComboTheme");
    QCOMPARE(selector->isHidden(), select.isNull());
    if (!select.isNull())
        selector->setCurrentText(select);
    applySteps(&window,
               ZolmLauncher::stageTheme("../Temp/", window.readChoices(), readModListing()));

    QCOMPARE(fixture.read("../Temp/theme.pack"), fixture.read(themes + music + "/mus.pack"));
    QCOMPARE(QFileInfo::exists(fixture.data("ZOLM_wz.pack")), !movies.isNull());
    if (!movies.isNull())
        QCOMPARE(fixture.read(fixture.data("ZOLM_wz.pack")),
                 fixture.read(themes + movies + "/mov.pack"));
}

void tst_Staging::randomTheme()
{
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QString themes = fixture.mod("UI/Theme/");
    for (const char *gone : {"Austria", "Prussia", "United Kingdom 1801 (Egypt)"})
        QVERIFY(fixture.removeTree(themes + gone));
    QVERIFY(QDir().mkdir("../Temp"));
    const QStringList five = QDir(themes).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(five.size(), 5);

    ZolmLauncher window;
    QCOMPARE(window.findChild<QComboBox *>("ComboTheme")->currentIndex(), 0);
    QSet<QString> drawn;
    for (int i = 0; i < 200; ++i) {
        applySteps(&window,
                   ZolmLauncher::stageTheme("../Temp/", window.readChoices(), readModListing()));
        const QByteArray music = fixture.read("../Temp/theme.pack");
        for (const QString &theme : five) {
            if (music == fixture.read(themes + theme + "/mus.pack"))
                drawn.insert(theme);
        }
    }
    QCOMPARE(drawn, (QSet<QString> {five[1], five[2], five[3], five[4]}));

    // Folders gone while the window is open: the default theme, then nothing.
    for (int i = 1; i < 5; ++i)
        QVERIFY(fixture.removeTree(themes + five[i]));
    applySteps(&window,
               ZolmLauncher::stageTheme("../Temp/", window.readChoices(), readModListing()));
    QCOMPARE(fixture.read("../Temp/theme.pack"), fixture.read(themes + five[0] + "/mus.pack"));
    QVERIFY(fixture.removeTree(themes));
    applySteps(&window,
               ZolmLauncher::stageTheme("../Temp/", window.readChoices(), readModListing()));
    QVERIFY(!QFileInfo::exists("../Temp/theme.pack"));
}

void tst_Staging::campaign_data()
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

void tst_Staging::campaign()
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

void tst_Staging::restoreVanilla()
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
void tst_Staging::gameMissing_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("battle") << "ButtonClassic";
    QTest::newRow("campaign") << "SPCotto";
    QTest::newRow("restore") << "ButtonVanilla";
}

void tst_Staging::gameMissing()
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

QTEST_MAIN(tst_Staging)
#include "tst_staging.moc"
