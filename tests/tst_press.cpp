// SPDX-License-Identifier: GPL-3.0-or-later
// What a press does as a whole: the game's own files kept when their
// replacement is missing, and a press on large packs as the window runs it,
// with its progress, and closed halfway.
#include "app/zolmlauncher.h"
#include "staging/pseudorandom.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

namespace {

const QString lastPressPath = "Napoleon/data/ZOLM/Launcher/velmarch-last-press.txt";
// The game's own files that the mod replaces, below its data folder.
const QStringList gameFiles {
    "boot.pack", "campaigns/spa_napoleon/scripting.lua", "campaigns/spa_napoleon/startpos.esf",
    "campaigns/mp_eur_napoleon/scripting.lua", "campaigns/mp_eur_napoleon/startpos.esf"};

} // namespace

class tst_Press : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void keptGameFiles_data();
    void keptGameFiles();
    void pressInEventLoop_data();
    void pressInEventLoop();
};

void tst_Press::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_Press::keptGameFiles_data()
{
    QTest::addColumn<QString>("button");
    // Files or folders below the game's data folder, or "scripts/" for the scripts folder.
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<QStringList>("kept"); // the same
    QTest::addColumn<QString>("preferences"); // what is odd about them
    QTest::addColumn<Box>("box");

    QTest::newRow("Standard boot pack missing")
        << "ButtonClassic" << QStringList {"ZOLM/Standard/boot.pack"} << QStringList {"boot.pack"}
        << "" << Box {"boot.pack was left as it is: ZOLM/Standard/boot.pack is missing.", ""};
    const QStringList campaignFiles = gameFiles.mid(1);
    QTest::newRow("empty Backup folder")
        << "ButtonVanilla"
        << QStringList {"ZOLM/Backup/boot.pack", "ZOLM/Backup/scripting.lua",
                        "ZOLM/Backup/startpos.esf"}
        << QStringList {"boot.pack"} + campaignFiles << ""
        << Box {
               "boot.pack was left as it is: ZOLM/Backup/boot.pack is missing.\n"
               "campaigns/spa_napoleon/scripting.lua was left as it is: ZOLM/Backup/scripting.lua "
               "is "
               "missing.\n"
               "campaigns/spa_napoleon/startpos.esf was left as it is: ZOLM/Backup/startpos.esf is "
               "missing.\n"
               "campaigns/mp_eur_napoleon/scripting.lua was left as it is: "
               "ZOLM/Backup/scripting.lua "
               "is missing.\n"
               "campaigns/mp_eur_napoleon/startpos.esf was left as it is: ZOLM/Backup/startpos.esf "
               "is "
               "missing.",
               ""};
    QTest::newRow("Backup without startpos.esf")
        << "ButtonVanilla" << QStringList {"ZOLM/Backup/startpos.esf"}
        << QStringList {campaignFiles[1], campaignFiles[3]} << ""
        << Box {"campaigns/spa_napoleon/startpos.esf was left as it is: ZOLM/Backup/startpos.esf "
                "is missing.\n"
                "campaigns/mp_eur_napoleon/startpos.esf was left as it is: "
                "ZOLM/Backup/startpos.esf is missing.",
                ""};
    QTest::newRow("campaign without its scripting.lua")
        << "SPCbava" << QStringList {"ZOLM/Version80/Campaign/Bavaria/scripting.lua"}
        << QStringList {campaignFiles[2]} << ""
        << Box {"campaigns/mp_eur_napoleon/scripting.lua was left as it is: "
                "ZOLM/Version80/Campaign/Bavaria/scripting.lua is missing.",
                ""};
    // Not made anew: the rest is restored and the game started.
    QTest::newRow("restore without the game's spa_napoleon folder")
        << "ButtonVanilla" << QStringList {"campaigns/spa_napoleon"}
        << QStringList {campaignFiles[0], campaignFiles[1]} << ""
        << Box {"campaigns/spa_napoleon/scripting.lua was left as it is: its folder is missing "
                "from the game's data folder.\n"
                "campaigns/spa_napoleon/startpos.esf was left as it is: its folder is missing from "
                "the game's data folder.",
                ""};
    // The player's own files: a game never started, and preferences that
    // cannot be edited, which stay as they are while the game starts.
    QTest::newRow("game never started: its folders made, no box")
        << "ButtonClassic" << QStringList {"scripts/../.."} << QStringList() << "" << Box();
    const QStringList preferences {"scripts/preferences.script.txt"};
    // A read-only mark on Windows, permissions elsewhere.
#ifdef Q_OS_WIN
    const QString readOnlyWayOut
        = "clear the file's read-only mark in its Properties, then press again.";
#else
    const QString readOnlyWayOut = "give yourself permission to change the file (in its "
                                   "Properties, Permissions), then press again.";
#endif
    const Box kept {"Preference file cannot be changed.",
                    "The game starts with your preferences as they are."};
    for (const char *odd : {"of an odd length", "not UTF-8 though marked so"})
        QTest::newRow(qPrintable(QString("preferences %1: kept").arg(odd)))
            << "SPCbava" << QStringList() << preferences << odd << kept;
    QTest::newRow("preferences read-only: kept")
        << "ButtonHardcore" << QStringList() << preferences << "read-only"
        << Box {kept.what, kept.wayOut + " To have them changed, " + readOnlyWayOut};
    QTest::newRow("preferences held by another program: kept")
        << "ButtonClassic" << QStringList() << preferences << "held"
        << Box {kept.what,
                kept.wayOut + " To have them changed, close the game, then press again."};
}

void tst_Press::keptGameFiles()
{
    QFETCH(QString, button);
    QFETCH(QStringList, missing);
    QFETCH(QStringList, kept);
    QFETCH(QString, preferences);
    QFETCH(Box, box);
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
        QCOMPARE((Box {closer.boxes()[0].text, closer.boxes()[0].wayOut}), box);
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

QTEST_MAIN(tst_Press)
#include "tst_press.moc"
