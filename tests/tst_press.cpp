// SPDX-License-Identifier: GPL-3.0-or-later
// What a press does as a whole: the steps each button works out, the game's
// own files kept when their replacement is missing, a press stopped by a
// file that cannot be put in place, on real full and read-only file systems,
// and a press on large packs as the window runs it.
#include "app/zolmlauncher.h"
#include "drives.h"
#include "files/filelayer.h"
#include "installation/roots.h"
#include "launcherfixture.h"
#include "press/executor.h"
#include "staging/pseudorandom.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const QString nothing;
const QString recordPath = "Napoleon/data/ZOLM/Launcher/velmarch-copies.json";
const QString lastPressPath = "Napoleon/data/ZOLM/Launcher/velmarch-last-press.txt";
// The game's own files that the mod replaces, below its data folder.
const QStringList gameFiles {
    "boot.pack", "campaigns/spa_napoleon/scripting.lua", "campaigns/spa_napoleon/startpos.esf",
    "campaigns/mp_eur_napoleon/scripting.lua", "campaigns/mp_eur_napoleon/startpos.esf"};

PressChoices namedTheme()
{
    PressChoices choices;
    choices.uiSize = 2;
    choices.uiSizePack = "1.5";
    choices.themeSelectorShown = true;
    choices.themeIndex = 4;
    choices.themeName = "Mamelukes";
    return choices;
}

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

class tst_Press : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void plan_data();
    void plan();
    void keptGameFiles_data();
    void keptGameFiles();
    void stoppedPress_data();
    void stoppedPress();
    void pressInEventLoop_data();
    void pressInEventLoop();
    void pressSequences_data();
    void pressSequences();
    void campaignCopiesOnlyWhatItKeeps();
    void heldTarget_data();
    void heldTarget();
};

void tst_Press::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_Press::plan_data()
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

void tst_Press::plan()
{
    QFETCH(QString, button);
    QFETCH(PressChoices, choices);
    QFETCH(ModListing, listing);
    QFETCH(QStringList, steps);

    QCOMPARE(describe(planOf(button, choices, listing)), steps);
}

void tst_Press::keptGameFiles_data()
{
    QTest::addColumn<QString>("button");
    // Files or folders below the game's data folder, or "scripts/" for the scripts folder.
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<QStringList>("kept"); // the same
    QTest::addColumn<QString>("preferences"); // what is odd about them
    QTest::addColumn<QString>("box"); // and its way out after a blank line

    QTest::newRow("Standard boot pack missing")
        << "ButtonClassic" << QStringList {"ZOLM/Standard/boot.pack"} << QStringList {"boot.pack"}
        << ""
        << "boot.pack was left as it is: ZOLM/Standard/boot.pack is missing.";
    const QStringList campaignFiles = gameFiles.mid(1);
    QTest::newRow("empty Backup folder")
        << "ButtonVanilla"
        << QStringList {"ZOLM/Backup/boot.pack", "ZOLM/Backup/scripting.lua",
                        "ZOLM/Backup/startpos.esf"}
        << QStringList {"boot.pack"} + campaignFiles << ""
        << "boot.pack was left as it is: ZOLM/Backup/boot.pack is missing.\n"
           "campaigns/spa_napoleon/scripting.lua was left as it is: ZOLM/Backup/scripting.lua is "
           "missing.\n"
           "campaigns/spa_napoleon/startpos.esf was left as it is: ZOLM/Backup/startpos.esf is "
           "missing.\n"
           "campaigns/mp_eur_napoleon/scripting.lua was left as it is: ZOLM/Backup/scripting.lua "
           "is missing.\n"
           "campaigns/mp_eur_napoleon/startpos.esf was left as it is: ZOLM/Backup/startpos.esf is "
           "missing.";
    QTest::newRow("Backup without startpos.esf")
        << "ButtonVanilla" << QStringList {"ZOLM/Backup/startpos.esf"}
        << QStringList {campaignFiles[1], campaignFiles[3]} << ""
        << "campaigns/spa_napoleon/startpos.esf was left as it is: ZOLM/Backup/startpos.esf is "
           "missing.\n"
           "campaigns/mp_eur_napoleon/startpos.esf was left as it is: ZOLM/Backup/startpos.esf is "
           "missing.";
    QTest::newRow("campaign without its scripting.lua")
        << "SPCbava" << QStringList {"ZOLM/Version80/Campaign/Bavaria/scripting.lua"}
        << QStringList {campaignFiles[2]} << ""
        << "campaigns/mp_eur_napoleon/scripting.lua was left as it is: "
           "ZOLM/Version80/Campaign/Bavaria/scripting.lua is missing.";
    // Not made anew: the rest is restored and the game started.
    QTest::newRow("restore without the game's spa_napoleon folder")
        << "ButtonVanilla" << QStringList {"campaigns/spa_napoleon"}
        << QStringList {campaignFiles[0], campaignFiles[1]} << ""
        << "campaigns/spa_napoleon/scripting.lua was left as it is: its folder is missing from "
           "the game's data folder.\n"
           "campaigns/spa_napoleon/startpos.esf was left as it is: its folder is missing from "
           "the game's data folder.";
    // The player's own files: a game never started, and preferences that
    // cannot be edited, which stay as they are while the game starts.
    QTest::newRow("game never started: its folders made, no box")
        << "ButtonClassic" << QStringList {"scripts/../.."} << QStringList() << ""
        << "";
    const QStringList preferences {"scripts/preferences.script.txt"};
    const QString kept = "Preference file cannot be changed. The game starts with your "
                         "preferences as they are.";
    for (const char *odd : {"of an odd length", "not UTF-8 though marked so"})
        QTest::newRow(qPrintable(QString("preferences %1: kept").arg(odd)))
            << "SPCbava" << QStringList() << preferences << odd << kept;
    QTest::newRow("preferences read-only: kept")
        << "ButtonHardcore" << QStringList() << preferences << "read-only"
        << kept
            + " To have them changed, clear the file's read-only mark in its Properties, "
              "then press again.";
    QTest::newRow("preferences held by another program: kept")
        << "ButtonClassic" << QStringList() << preferences << "held"
        << kept + " To have them changed, close the game, then press again.";
}

void tst_Press::keptGameFiles()
{
    QFETCH(QString, button);
    QFETCH(QStringList, missing);
    QFETCH(QStringList, kept);
    QFETCH(QString, preferences);
    QFETCH(QString, box);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const auto place = [&](const QString &file) {
        return file.startsWith("scripts/") ? fixture.scripts(file.mid(8)) : fixture.data(file);
    };
    for (const QString &file : missing)
        QVERIFY(QFile::remove(place(file)) || fixture.removeTree(place(file)));
    const QString preferencesFile = fixture.scripts("preferences.script.txt");
    const QByteArray edited = SampleInstallation::utf16le("ui_card_mode 2;\r\n");
    const QMap<QString, QByteArray> odd {{"of an odd length", "ui_card_mode 2;\r\n"},
                                         {"not UTF-8 though marked so", "\xEF\xBB\xBFui\xFF 2"},
                                         {"read-only", edited},
                                         {"held", edited}};
    if (odd.contains(preferences))
        QVERIFY(fixture.sample().writeFile(preferencesFile, odd[preferences]));
    QMap<QString, QByteArray> before;
    for (const QString &file : kept)
        before[file] = fixture.read(place(file));
    if (preferences == "read-only"
        && (!QFile::setPermissions(preferencesFile, QFile::ReadOwner)
            || QFileInfo(preferencesFile).isWritable()))
        QSKIP("This user may change a read-only file (root): the system does not protect it");
    QProcess holder;
    if (preferences == "held") {
#ifndef Q_OS_WIN
        QSKIP("Only Windows keeps a file another program holds from being replaced");
#endif
        holder.start(QCoreApplication::applicationDirPath() + "/velmarch_hold_file.exe",
                     {QDir::toNativeSeparators(preferencesFile), "30000"});
        QVERIFY(holder.waitForReadyRead(10000));
    }

    ZolmLauncher window;
    MessageBoxCloser closer;
    // The rest of the press went on, and the game was started.
    QVERIFY(pressAndStart(fixture, window, button));
    holder.kill();
    holder.waitForFinished();

    QVERIFY(closer.fired());
    QCOMPARE(closer.count(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty()) {
        QCOMPARE(closer.boxes()[0].title, QString("Error"));
        QCOMPARE((Box {closer.boxes()[0].text, closer.boxes()[0].wayOut}.inOneLine()), box);
    }
    for (const QString &file : kept)
        QCOMPARE(fixture.read(place(file)), before[file]);
    for (const QString &file : missing)
        QCOMPARE(QFileInfo::exists(place(file)), file.startsWith("scripts/"));
    if (button != "ButtonVanilla") {
        QCOMPARE(fixture.read(fixture.data("ZOLM_txt.pack")),
                 fixture.read(fixture.mod(button == "SPCbava" ? "Version80/Campaign/txt.pack"
                                                              : "Version84/Classic/txt.pack")));
        QVERIFY(QFileInfo::exists(fixture.scripts("user.script.txt")));
        return;
    }
    // What has its backup and its folder is restored all the same.
    for (const QString &file : gameFiles) {
        const QString backup = fixture.mod("Backup/" + QFileInfo(file).fileName());
        if (!kept.contains(file))
            QCOMPARE(fixture.read(fixture.data(file)), fixture.read(backup));
    }
}

void tst_Press::stoppedPress_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("mountedFolder"); // below the game's data folder
    QTest::addColumn<QStringList>("mountOptions");
    QTest::addColumn<QString>("box");

    const QString drive = "Check that its drive is there and can be written to, then press again.";
    QTest::newRow("full disk: campaign")
        << "SPCbava"
        << "campaigns/zolm" << QStringList {"-t", "tmpfs", "-o", "size=64k", "tmpfs"}
        << "There is not enough free space for this press: 1 MB more are needed on the drive of "
           "the game's data folder. Free some space there, then press again.";
    QTest::newRow("read-only game folder: campaign")
        << "SPCbava"
        << "campaigns/zolm" << QStringList {"-o", "bind,ro"}
        << "campaigns/zolm/startpos.esf could not be put in the game's data folder: Read-only "
           "file system. "
            + drive;
    QTest::newRow("read-only Temp folder: battle")
        << "ButtonClassic"
        << "ZOLM/Temp" << QStringList {"-o", "bind,ro"}
        << "cardgroups.pack could not be put in the mod's Temp folder: Read-only file "
           "system. "
            + drive;
}

// A press that cannot finish changes nothing: not the files before the one
// that failed, not the settings, and the game is not started.
void tst_Press::stoppedPress()
{
#ifdef Q_OS_WIN
    QSKIP("A small or read-only file system is mounted with Linux's mount; on Windows "
          "tst_pressengine makes each file operation fail instead");
#endif
    QFETCH(QString, button);
    QFETCH(QString, mountedFolder);
    QFETCH(QStringList, mountOptions);
    QFETCH(QString, box);
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
    QCOMPARE((Box {closer.boxes()[0].text, closer.boxes()[0].wayOut}.inOneLine()), box);
    QMap<QString, QByteArray> after = fixture.snapshot();
    const QByteArray report = after.take(lastPressPath);
    QVERIFY2(report.contains("Nothing was changed"), report.constData());
    QCOMPARE(after.keys(), files.keys());
    QVERIFY(after == files);
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(fixture.sample().gameStartRecord()));
    QVERIFY(window.isEnabled());
}

void tst_Press::pressInEventLoop_data()
{
    QTest::addColumn<bool>("packsInPlace"); // a press with the same choices went before
    QTest::addColumn<bool>("closeWindow"); // as soon as the bar first moves

    QTest::newRow("first press copies, shows its progress, starts the game") << false << false;
    QTest::newRow("repeat press copies nothing and shows nothing") << true << false;
    QTest::newRow("window closed during the press: no file changed, no game") << false << true;
}

void tst_Press::pressInEventLoop()
{
    QFETCH(bool, packsInPlace);
    QFETCH(bool, closeWindow);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    for (const char *pack :
         {"Version84/Classic/txt.pack", "UI/Theme/Prussia/mus.pack", "UI/Theme/Prussia/mov.pack"})
        QVERIFY(fixture.sample().writeSizedFile(fixture.mod(pack), 16 << 20));
    const auto choose = [](ZolmLauncher &window) {
        window.findChild<QComboBox *>("ComboTheme")->setCurrentText("Prussia");
        seedPseudoRandom(84); // every press draws the same tint
    };
    const QString record = fixture.sample().gameStartRecord();
    if (packsInPlace) {
        ZolmLauncher first;
        choose(first);
        QVERIFY(pressAndStart(fixture, first, "ButtonClassic"));
        QVERIFY(QFile::remove(record));
    }
    QMap<QString, QByteArray> before = fixture.snapshot();
    before.remove(lastPressPath);

    ZolmLauncher window;
    choose(window);
    window.show();
    auto *classic = window.findChild<QPushButton *>("ButtonClassic");
    const QList<QWidget *> controls {classic,
                                     window.findChild<QWidget *>("ButtonVanilla"),
                                     window.findChild<QWidget *>("SPCbava"),
                                     window.findChild<QWidget *>("ButtonForum"),
                                     window.findChild<QWidget *>("ComboTheme"),
                                     window.findChild<QWidget *>("ChkFreecam")};
    auto *file = window.findChild<QLabel *>("PressFile");
    auto *bar = window.findChild<QProgressBar *>("PressBar");
    QStringList progress;
    connect(bar, &QProgressBar::valueChanged, [&](int value) {
        if (value <= 0) // the bar set back as the press starts
            return;
        progress << file->text() + ' ' + QString::number(value);
        if (closeWindow)
            window.close();
    });
    int ticks = 0;
    bool started = false;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] {
        if (window.pressRunning())
            ++ticks;
        else if (started)
            QCoreApplication::exit(0);
    });
    bool disabled = false;
    bool copiedLater = false;
    const auto press = [&] {
        ticker.start(10);
        classic->click();
        started = window.pressRunning();
        copiedLater = !QFileInfo::exists(fixture.data("ZOLM_wz.pack"));
        disabled = std::none_of(controls.begin(), controls.end(),
                                [](QWidget *control) { return control->isEnabled(); });
        QTest::mouseClick(classic, Qt::LeftButton); // ignored while the press runs
    };
    QVERIFY(quitsApplication(press, 30000));

    // The button returned at once, and the window went on handling events.
    QVERIFY(started);
    QVERIFY(disabled);
    QVERIFY(!window.pressRunning());
    QVERIFY(!window.findChild<QWidget *>("PressPanel")->isVisible());
    QMap<QString, QByteArray> after = fixture.snapshot();
    after.remove(lastPressPath);
    if (packsInPlace) {
        QCOMPARE(progress, QStringList());
        QCOMPARE(file->text(), QString());
        // Once the game has written its record (and nothing of it half done).
        QTRY_VERIFY(QFileInfo::exists(record));
        after = fixture.snapshot();
        after.remove("Napoleon/game-started.txt");
        after.remove(lastPressPath);
        QCOMPARE(after.keys(), before.keys());
        for (const QString &path : after.keys())
            QVERIFY2(after[path] == before[path], qPrintable(path + " changed"));
        return;
    }
    QVERIFY(copiedLater);
    QVERIFY(!progress.isEmpty());
    QVERIFY2(progress.first().startsWith("Copying "), qPrintable(progress.join(", ")));
    if (!closeWindow) {
        QVERIFY2(ticks > 0, "the timer never ticked during the press");
        QCOMPARE(progress.last(), QString("Copying ZOLM_wz.pack 1000"));
        QTRY_VERIFY(QFileInfo::exists(record));
        QCOMPARE(after.value("Napoleon/data/ZOLM_wz.pack"),
                 before.value("Napoleon/data/ZOLM/UI/Theme/Prussia/mov.pack"));
        QVERIFY(controls.first()->isEnabled());
        return;
    }

    // Closed: the press stopped before it put any file in place, and the game
    // was not started.
    QCOMPARE(after.keys(), before.keys());
    QVERIFY(after == before);
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(record));
}

void tst_Press::pressSequences_data()
{
    // One line a step:
    //   size NAME, theme NAME, tint N     the next presses choose these (the Nth tint drawn)
    //   press BUTTON                      a press, and the game started
    //   expect FILE = SOURCE, FILE absent what the last press left
    //   delete record, garble record      the launcher's record of its copies
    //   replace FILE, rewrite FILE        another program puts other bytes of the same size
    //                                     and time there: a new file, or the same one rewritten
    //   leftover FILE                     a copy left beside FILE by a launcher stopped mid-copy
    // FILE is below the game's data folder ("scripts/" for the scripts folder), SOURCE below
    // the mod's. Every source is a twin of the others: one size, one time, other bytes.
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("interface size switched") << QStringList {
        "size 1.25", "press ButtonClassic",  "expect ZOLM_ui.pack = UI/Resize/1.25.pack",
        "size 1.5",  "press ButtonClassic",  "expect ZOLM_ui.pack = UI/Resize/1.5.pack",
        "size 1.25", "press ButtonHardcore", "expect ZOLM_ui.pack = UI/Resize/1.25.pack"};
    QTest::newRow("theme switched")
        << QStringList {"theme Prussia",
                        "press ButtonClassic",
                        "expect ZOLM/Temp/theme.pack = UI/Theme/Prussia/mus.pack",
                        "expect ZOLM_wz.pack = UI/Theme/Prussia/mov.pack",
                        "theme Mamelukes",
                        "press ButtonClassic",
                        "expect ZOLM/Temp/theme.pack = UI/Theme/Mamelukes/mus.pack",
                        "expect ZOLM_wz.pack = UI/Theme/France 1798-1801 (Orient)/mov.pack"};
    QStringList tints;
    for (const int tint : {0, 1, 1, 2, 0, 2})
        tints << QString("tint %1").arg(tint) << "press ButtonClassic"
              << "expect ZOLM/Temp/tint.pack = UI/Tint/"
                + QStringList {"amber", "dusk", "frost"}[tint] + ".pack";
    QTest::newRow("six tints drawn") << tints;
    QTest::newRow("campaign after campaign") << QStringList {
        "press SPC1805",
        "expect campaigns/mp_eur_napoleon/scripting.lua = "
        "Version80/Campaign/1805/scripting.lua",
        "press SPCbava",
        "expect campaigns/mp_eur_napoleon/scripting.lua = "
        "Version80/Campaign/Bavaria/scripting.lua",
        "expect campaigns/zolm/startpos.esf = Version80/Campaign/Bavaria/startpos.esf",
        "expect ZOLM_wz.pack absent"};
    QTest::newRow("restore after campaign, battle after restore")
        << QStringList {"press SPCotto",
                        "press ButtonVanilla",
                        "expect campaigns/mp_eur_napoleon/scripting.lua = Backup/scripting.lua",
                        "expect boot.pack = Backup/boot.pack",
                        "press ButtonClassic",
                        "expect boot.pack = Standard/boot.pack"};
    for (const QString change : {"delete record", "garble record"})
        QTest::newRow(qPrintable("record lost: " + change)) << QStringList {
            "size 2",   "press ButtonClassic", change,
            "size 1.5", "press ButtonClassic", "expect ZOLM_ui.pack = UI/Resize/1.5.pack"};
    // A FAT32 or exFAT drive (USB, external) keeps no change time, and a file
    // made anew can get the old one's identity: there every press copies.
    for (const QString drive : {"", "on a FAT drive"}) {
        for (const QString change : {"replace", "rewrite"})
            QTest::newRow(qPrintable("target changed by another program: " + change
                                     + (drive.isEmpty() ? QString() : " " + drive)))
                << QStringList {drive,
                                "size 2",
                                "press ButtonClassic",
                                change + " ZOLM_ui.pack",
                                "press ButtonClassic",
                                "expect ZOLM_ui.pack = UI/Resize/2.pack"};
    }
    QTest::newRow("leftover copies removed by a press that stages elsewhere") << QStringList {
        "leftover campaigns/zolm/startpos.esf", "leftover ZOLM_wz.pack",
        "leftover ZOLM/Temp/theme.pack", "leftover scripts/user.script.txt", "press ButtonVanilla"};
}

void tst_Press::pressSequences()
{
    QFETCH(QStringList, steps);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    std::unique_ptr<FatDrive> drive;
    if (steps.first() == "on a FAT drive") {
        // The game's data folder, mod and launcher included, moves onto it.
        const QString data = fixture.sample().dataFolder();
        QVERIFY(QDir().rename(data, data + ".before") && QDir().mkdir(data));
        drive = std::make_unique<FatDrive>(data);
        if (!drive->isMounted())
            QSKIP(qPrintable("mounting a FAT or exFAT drive needs root where mounts are allowed: "
                             + drive->error()));
        QVERIFY(copyTree(data + ".before", data));
        QVERIFY(QDir::setCurrent(fixture.sample().launcherFolder()));
    }
    steps.removeAll(QString());
    steps.removeAll("on a FAT drive");
    const QDateTime time = QDateTime::currentDateTime().addDays(-30);
    const QDir mod(fixture.mod(""));
    for (const QString &path : fixture.snapshot().keys()) {
        const QString file = fixture.sample().root() + '/' + path;
        if (!path.startsWith("Napoleon/data/ZOLM/") || path.contains("/Launcher/"))
            continue;
        QVERIFY(fixture.sample().writeSizedFile(file, 4096));
        QVERIFY(LauncherFixture::setModificationTime(file, time));
    }
    const auto place = [&](const QString &file) {
        return file.startsWith("scripts/") ? fixture.scripts(file.mid(8)) : fixture.data(file);
    };

    QString size = "1.25";
    QString theme = "Prussia";
    int tint = 0;
    for (const QString &step : steps) {
        const QString verb = step.section(' ', 0, 0);
        const QString rest = step.section(' ', 1);
        if (verb == "size") {
            size = rest;
        } else if (verb == "theme") {
            theme = rest;
        } else if (verb == "tint") {
            tint = rest.toInt();
        } else if (verb == "press") {
            ZolmLauncher window;
            auto *sizes = window.findChild<QComboBox *>("ComboUI");
            sizes->setCurrentIndex(sizes->findData(size));
            window.findChild<QComboBox *>("ComboTheme")->setCurrentText(theme);
            PressChoices choices = window.readChoices();
            choices.draws = {tint, 0}; // the nth of the three tints, then the random theme's
            const PressReport report = executePlan(planOf(rest, choices, readModListing()));
            QVERIFY2(!report.stopped && report.errors.isEmpty(), qPrintable(step));
            for (const QString &path : fixture.snapshot().keys())
                QVERIFY2(!path.endsWith(".velmarch-new") && !path.contains("/.velmarch-press/"),
                         qPrintable(path + " left"));
        } else if (verb == "expect" && rest.endsWith(" absent")) {
            QVERIFY2(!QFileInfo::exists(place(rest.chopped(7))), qPrintable(step));
        } else if (verb == "expect") {
            const QString file = rest.section(" = ", 0, 0);
            QVERIFY2(fixture.read(place(file)) == fixture.read(fixture.mod(rest.section(" = ", 1))),
                     qPrintable(step));
        } else if (step == "delete record") {
            QVERIFY(QFile::remove("velmarch-copies.json"));
        } else if (step == "garble record") {
            QVERIFY(fixture.sample().writeFile(fixture.mod("Launcher/velmarch-copies.json"),
                                               "{\"format\": 1, \"copies\": [{\"target\": 7"));
        } else if (verb == "replace" || verb == "rewrite") {
            const QString file = place(rest);
            const QDateTime modified = QFileInfo(file).lastModified();
            const QByteArray other(int(QFileInfo(file).size()), 'o');
            if (verb == "replace") {
                QVERIFY(fixture.sample().writeFile(file + ".other", other));
                QVERIFY(QFile::remove(file) && QFile::rename(file + ".other", file));
            } else {
                QVERIFY(fixture.sample().writeFile(file, other));
            }
            QVERIFY(LauncherFixture::setModificationTime(file, modified));
        } else if (verb == "leftover") {
            QVERIFY(fixture.sample().writeSizedFile(place(rest) + ".velmarch-new", 1000));
        } else {
            QFAIL(qPrintable("unknown step: " + step));
        }
    }
}

// The campaign's movie pack, which the press removes again at its end, is
// never copied: neither the work nor the disk space is spent on it.
void tst_Press::campaignCopiesOnlyWhatItKeeps()
{
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    QVERIFY(fixture.sample().writeSizedFile(fixture.mod("UI/Theme/Prussia/mov.pack"), 8 << 20));
    QVERIFY(QDir().mkpath("../Temp"));
    QVERIFY(fixture.sample().writeSampleFile(fixture.data("ZOLM_wz.pack")));

    struct Observer : PressObserver
    {
        void copied(const QString &file, qint64 done, qint64 total) override
        {
            files << file;
            this->done = done;
            this->total = total;
        }
        bool stopRequested() override { return false; }
        QSet<QString> files;
        qint64 done = 0;
        qint64 total = 0;
    } observer;
    PressChoices choices = namedTheme();
    choices.themeName = "Prussia";
    const FilePlan plan = ZolmLauncher::setupCampaign("Bavaria", choices, readModListing())
        << ZolmLauncher::applyPreferences(false, choices) << ZolmLauncher::removeUiAndWzPacks();
    const PressReport report = executePlan(plan, &observer);

    QCOMPARE(report.errors, Boxes());
    QVERIFY(!observer.files.contains("ZOLM_wz.pack"));
    QVERIFY(!QFileInfo::exists(fixture.data("ZOLM_wz.pack")));
    QCOMPARE(fixture.read("../Temp/theme.pack"),
             fixture.read(fixture.mod("UI/Theme/Prussia/mus.pack")));
    qint64 kept = 0;
    for (const char *source :
         {"Standard/boot.pack", "Version80/Campaign/Bavaria/scripting.lua",
          "Version80/Campaign/Bavaria/startpos.esf", "Version80/Campaign/user.script.txt",
          "Version80/Campaign/txt.pack", "UI/Theme/Prussia/mus.pack"})
        kept += QFileInfo(fixture.mod(source)).size();
    QCOMPARE(observer.total, kept);
    QCOMPARE(observer.done, kept);
}

// Virus scanners, indexers and backup tools hold a new or changed file for a
// moment; the running game holds its packs for as long as it runs.
void tst_Press::heldTarget_data()
{
    QTest::addColumn<int>("holdMs");
    QTest::addColumn<bool>("completes");

    QTest::newRow("held for a moment: the press waits and completes") << 300 << true;
    QTest::newRow("held for long: the press stops after about two seconds") << 10000 << false;
    // By this process, as the game would, once every new file is ready.
    QTest::newRow("held from the burst on: the moves made are taken back") << -1 << false;
}

void tst_Press::heldTarget()
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

QTEST_MAIN(tst_Press)
#include "tst_press.moc"
