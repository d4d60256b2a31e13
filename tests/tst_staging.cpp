// SPDX-License-Identifier: GPL-3.0-or-later
// What each button's plan is made of, from the window's choices and the mod's
// folders, and the theme and tint packs those plans stage on disk.
#include "app/zolmlauncher.h"
#include "installation/roots.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QDir>
#include <QtTest>

namespace {

const QStringList tints = {"UI/Tint/amber.pack", "UI/Tint/dusk.pack", "UI/Tint/frost.pack"};

ModListing sampleListing()
{
    ModListing listing;
    listing.tempFolderExists = true;
    listing.tints = QStringList {"amber.pack"};
    listing.themes = QStringList {"_Default (no theme)", "France 1798-1801 (Orient)", "Mamelukes",
                                  "Prussia", "Austria"};
    listing.themesWithMovies = QStringList {"_Default (no theme)", "France 1798-1801 (Orient)"};
    return listing;
}

} // namespace

class tst_Staging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void plan_data();
    void plan();
    void tint_data();
    void tint();
    void theme_data();
    void theme();
    void randomTheme();
};

void tst_Staging::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_Staging::plan_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<PressChoices>("choices");
    QTest::addColumn<ModListing>("listing");
    QTest::addColumn<QStringList>("steps");

    const QString scripts = gameScriptsFolder();
    const QString classicText = "replace ../../ZOLM_txt.pack from ../Version84/Classic/txt.pack";
    const QString standardBoot = "replace game file ../../boot.pack from ../Standard/boot.pack";
    const QString mamelukes[]
        = {"replace ../Temp/theme.pack from ../UI/Theme/Mamelukes/mus.pack",
           "replace ../../ZOLM_wz.pack from ../UI/Theme/France 1798-1801 (Orient)/mov.pack"};

    QTest::newRow("Classic with a size and a named theme")
        << "ButtonClassic" << namedTheme() << sampleListing()
        << QStringList {classicText,
                        standardBoot,
                        "replace ../../ZOLM_ui.pack from ../UI/Resize/1.5.pack",
                        "write load list Classic",
                        "replace ../Temp/cardgroups.pack from ../UI/Luac/groups.pack",
                        "replace ../Temp/tint.pack from ../UI/Tint/amber.pack",
                        mamelukes[0],
                        mamelukes[1],
                        "edit preferences: default_camera_type 0; -> default_camera_type 2;, "
                        "default_camera_type 1; -> default_camera_type 2;, ui_land_unit_ids 2 -> "
                        "ui_land_unit_ids 0, ui_card_mode 2 -> ui_card_mode 0, "
                        "ui_order_button_mode 2 -> ui_order_button_mode 0"};

    PressChoices screenshots;
    screenshots.uiSize = 0;
    screenshots.screenshotMode = true;
    screenshots.freeCamera = false;
    ModListing bare;
    bare.oldHardcoreTextIsFile = true;
    QTest::newRow("Hardcore screenshots, no custom UI, no Temp, no tints, selector hidden")
        << "ButtonHardcore" << screenshots << bare
        << QStringList {"make folder ../Temp/",
                        "remove ../../ZOLM_txt_hb.pack",
                        classicText,
                        standardBoot,
                        "remove ../../ZOLM_ui.pack",
                        "write load list RemoveUI",
                        "replace ../Temp/cardgroups.pack from ../UI/Luac/groups_no.pack",
                        "remove ../Temp/tint.pack",
                        "replace ../Temp/theme.pack from ../UI/Theme/_Default (no theme)/mus.pack",
                        "replace ../../ZOLM_wz.pack from ../UI/Theme/_Default (no theme)/mov.pack",
                        "edit preferences: default_camera_type 2; -> default_camera_type 0;, "
                        "ui_land_unit_ids 0 -> ui_land_unit_ids 2, ui_card_mode 0 -> "
                        "ui_card_mode 2, ui_order_button_mode 0 -> ui_order_button_mode 2"};

    ModListing noTemp = sampleListing();
    noTemp.tempFolderExists = false;
    const QString bavaria = "../Version80/Campaign//Bavaria/";
    const QStringList campaignFiles {
        standardBoot,
        "replace game file ../../campaigns/mp_eur_napoleon/scripting.lua from " + bavaria
            + "scripting.lua",
        "replace ../../campaigns/zolm/startpos.esf from " + bavaria + "startpos.esf",
        "replace " + scripts + "user.script.txt from ../Version80/Campaign//user.script.txt",
        "replace ../../ZOLM_txt.pack from ../Version80/Campaign//txt.pack"};
    const QStringList campaignEnd {
        "edit preferences: default_camera_type 0; -> default_camera_type 2;, "
        "default_camera_type 1; -> default_camera_type 2;, ui_land_unit_ids 2 -> "
        "ui_land_unit_ids 0, ui_card_mode 2 -> ui_card_mode 0, "
        "ui_order_button_mode 2 -> ui_order_button_mode 0",
        "remove ../../ZOLM_ui.pack", "remove ../../ZOLM_wz.pack"};
    QTest::newRow("Bavaria campaign")
        << "SPCbava" << namedTheme() << sampleListing()
        << campaignFiles + QStringList(mamelukes[0]) + QStringList(mamelukes[1]) + campaignEnd;
    QTest::newRow("campaign without Temp stages no theme pack")
        << "SPCbava" << namedTheme() << noTemp
        << campaignFiles + QStringList(mamelukes[1]) + campaignEnd;

    QStringList restore {"remove ../../ZOLM_txt.pack", "remove ../../ZOLM_ui.pack",
                         "remove ../../ZOLM_wz.pack", "remove " + scripts + "user.script.txt"};
    for (const char *campaign : {"spa_napoleon", "mp_eur_napoleon"}) {
        for (const char *file : {"scripting.lua", "startpos.esf"})
            restore << QString("replace game file ../../campaigns/%1/%2 from ../Backup/%2")
                           .arg(campaign, file);
    }
    restore.insert(4, "replace game file ../../boot.pack from ../Backup/boot.pack");
    QTest::newRow("restore vanilla never removes a game file first")
        << "ButtonVanilla" << PressChoices() << ModListing() << restore;
}

void tst_Staging::plan()
{
    QFETCH(QString, button);
    QFETCH(PressChoices, choices);
    QFETCH(ModListing, listing);
    QFETCH(QStringList, steps);

    QCOMPARE(describe(planOf(button, choices, listing)), steps);
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

QTEST_MAIN(tst_Staging)
#include "tst_staging.moc"
