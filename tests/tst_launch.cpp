// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "launch/links.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

namespace {

const char missingGame[]
    = "Napoleon.exe cannot be found.\nZOLM is not installed in the correct folder.";

} // namespace

class tst_Launch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void launch_data();
    void launch();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void links_data();
    void links();
};

void tst_Launch::initTestCase()
{
    // A closed message box must not end the event loop the cases run in.
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_Launch::launch_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("game");
    QTest::addColumn<QString>("box"); // how the box starts; empty where the game starts
    const QString notStarted = "Napoleon.exe could not be started: ";
    QTest::newRow("game present") << "ButtonClassic"
                                  << "present" << QString();
    QTest::newRow("game missing") << "ButtonHardcore"
                                  << "missing" << missingGame;
    QTest::newRow("game path is a folder") << "SPCbava"
                                           << "folder" << missingGame;
#ifdef Q_OS_WIN
    QTest::newRow("game not a program") << "ButtonClassic"
                                        << "text" << notStarted;
#else
    QTest::newRow("game may not be run")
        << "ButtonClassic"
        << "not executable" << notStarted + "it may not be run as a program.";
    QTest::newRow("game in Steam, whose addresses no program takes")
        << "ButtonClassic"
        << "steam" << notStarted + "no program here takes Steam's steam:// addresses";
#endif
}

void tst_Launch::launch()
{
    QFETCH(QString, button);
    QFETCH(QString, game);
    QFETCH(QString, box);
    LauncherFixture fixture(game == "steam" ? "steamapps/common/Napoleon" : "Napoleon");
    QVERIFY(fixture.isValid());
    const QString executable = fixture.sample().gameFolder() + "/Napoleon.exe";
    if (game != "present" && game != "not executable" && game != "steam")
        QVERIFY(QFile::remove(executable));
    if (game == "folder")
        QVERIFY(QDir().mkpath(executable));
    if (game == "text")
        QVERIFY(fixture.sample().writeFile(executable, "not a program\n"));
    if (game == "not executable")
        QVERIFY(QFile::setPermissions(executable, QFile::ReadOwner | QFile::WriteOwner));
    const QString steamapps = fixture.sample().root() + "/steamapps";
    if (game == "steam")
        QVERIFY(fixture.sample().writeFile(steamapps + "/appmanifest_34030.acf",
                                           "\"AppState\" { \"installdir\" \"Napoleon\" }")
                && QDir().mkpath(steamapps
                                 + "/compatdata/34030/pfx/drive_c/users/steamuser/"
                                   "AppData/Roaming/The Creative Assembly/Napoleon/scripts"));
    const auto before = fixture.snapshot();

    ZolmLauncher window;
    MessageBoxCloser closer;
    // The status says whether the game was started.
    QCOMPARE(loopStatusOf([&] { window.findChild<QPushButton *>(button)->click(); }),
             box.isEmpty() ? 0 : 1);

    if (box.isEmpty()) {
        QCOMPARE(closer.count(), 0);
        QTRY_VERIFY(QFileInfo::exists(fixture.sample().gameStartRecord()));
        QTRY_COMPARE(fixture.read(fixture.sample().gameStartRecord()),
                     "cwd=" + fixture.sample().launcherFolder().toUtf8() + "\nzolm.ini=present\n");
    } else {
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.boxes()[0].title, QString("Error"));
        QVERIFY2(closer.boxes()[0].text.startsWith(box), qPrintable(closer.boxes()[0].text));
        QCOMPARE(closer.boxes()[0].icon, QMessageBox::Critical);
        // The platform's own look in the window's font, not the window's gold.
        QCOMPARE(closer.boxes()[0].fontFamily, QString("JSL Ancient"));
        QVERIFY2(closer.boxes()[0].okContrast >= 4.5,
                 qPrintable(QString::number(closer.boxes()[0].okContrast)));
        QVERIFY(closer.boxes()[0].wayOut.endsWith("then start the launcher again.")
                || closer.boxes()[0].wayOut.endsWith("then start the launcher from there."));
    }
    // Outside the game's folders a press changes nothing, the settings included.
    if (box == missingGame) {
        QCOMPARE(fixture.snapshot(), before);
        return;
    }
    QVERIFY(QFileInfo::exists("zolm.ini"));
    QVERIFY(!QFileInfo::exists(fixture.sample().gameStartRecord()) || box.isEmpty());

    // The report names the choices, the theme drawn for the random one, the
    // scripts folder, and last how the game was started.
    // Written as text: Windows ends its lines with \r\n.
    const QStringList report = QString::fromUtf8(fixture.read("velmarch-last-press.txt"))
                                   .remove('\r')
                                   .split('\n', Qt::SkipEmptyParts);
    // Every sample file holds its own path: the theme pack, its theme's folder.
    const QString drawn
        = QString(fixture.read(fixture.mod("Temp/theme.pack"))).section('/', -2, -2);
    const QString scripts = game == "steam"
        ? QString(steamapps
                  + "/compatdata/34030/pfx/drive_c/users/steamuser/AppData/Roaming/"
                    "The Creative Assembly/Napoleon/scripts/")
        : QString(fixture.sample().scriptsFolder() + '/');
    QCOMPARE(report.mid(1, 6),
             (QStringList {"Chosen in the window:", "  Interface size: 1.25",
                           "  Theme: >>> Random theme, drawn: " + drawn, "  Free camera: on",
                           "  Screenshot mode: off",
                           "The game's scripts folder: " + QDir::toNativeSeparators(scripts)}));
    QVERIFY(!drawn.isEmpty() && drawn != "_Default (no theme)");
    QVERIFY2(report.last().startsWith(box.isEmpty() ? QString("The game was started.")
                                                    : "The game was not started: "
                                              + box.mid(box.indexOf(": ") + 2)),
             qPrintable(report.last()));
}

void tst_Launch::settingsRoundTrip_data()
{
    QTest::addColumn<int>("themes");
    QTest::addColumn<bool>("sizePacks");
    QTest::addColumn<int>("uiSize");
    QTest::addColumn<int>("theme");
    QTest::addColumn<bool>("freeCamera");
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<int>("uiSizeAfter");
    QTest::addColumn<int>("themeAfter");

    QTest::newRow("chosen items kept")
        << 8 << true << 2 << 3 << true << QStringList {"FactionTheme=3", "FreeCamera=Y", "UiSize=2"}
        << 2 << 3;
    QTest::newRow("hidden theme box saved as -1, read back as random")
        << 4 << true << 0 << -1 << false
        << QStringList {"FactionTheme=-1", "FreeCamera=N", "UiSize=0"} << 0 << 0;
    QTest::newRow("no size pack saved as -1 and kept")
        << 8 << false << -1 << 1 << true
        << QStringList {"FactionTheme=1", "FreeCamera=Y", "UiSize=-1"} << -1 << 1;
}

void tst_Launch::settingsRoundTrip()
{
    QFETCH(int, themes);
    QFETCH(bool, sizePacks);
    QFETCH(int, uiSize);
    QFETCH(int, theme);
    QFETCH(bool, freeCamera);
    QFETCH(QStringList, saved);
    QFETCH(int, uiSizeAfter);
    QFETCH(int, themeAfter);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QStringList themeFolders
        = QDir(fixture.mod("UI/Theme")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (int i = themes; i < themeFolders.size(); ++i)
        QVERIFY(fixture.removeTree(fixture.mod("UI/Theme/" + themeFolders[i])));
    if (!sizePacks)
        QVERIFY(fixture.removeTree(fixture.mod("UI/Resize")));

    {
        ZolmLauncher window;
        window.findChild<QComboBox *>("ComboUI")->setCurrentIndex(uiSize);
        window.findChild<QComboBox *>("ComboTheme")->setCurrentIndex(theme);
        window.findChild<QCheckBox *>("ChkFreecam")->setChecked(freeCamera);
        QVERIFY(
            quitsApplication([&] { window.findChild<QPushButton *>("ButtonVanilla")->click(); }));
    }
    // QSettings ends its lines as the platform does.
#ifdef Q_OS_WIN
    const QString lineEnd = "\r\n";
#else
    const QString lineEnd = "\n";
#endif
    QStringList lines
        = QString::fromUtf8(fixture.read("zolm.ini")).split(lineEnd, Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(), QString("[General]"));
    // Each platform's QSettings orders the keys its own way.
    lines.sort();
    QCOMPARE(lines, saved);

    // The theme box is filled at the next start even if it was hidden before.
    for (int i = themes; i < 5; ++i)
        QVERIFY(fixture.sample().writeSampleFile(
            fixture.mod(QString("UI/Theme/new%1/mus.pack").arg(i))));
    ZolmLauncher next;
    QCOMPARE(next.findChild<QComboBox *>("ComboUI")->currentIndex(), uiSizeAfter);
    QCOMPARE(next.findChild<QComboBox *>("ComboTheme")->currentIndex(), themeAfter);
    QCOMPARE(next.findChild<QCheckBox *>("ChkFreecam")->isChecked(), freeCamera);
}

void tst_Launch::links_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("crowdfunding") << "ButtonPatreon" << QUrl(CommunityLinks::crowdfunding);
    QTest::newRow("chat invitation") << "ButtonDiscord" << QUrl(CommunityLinks::chatInvite);
    QTest::newRow("forum") << "ButtonForum" << QUrl(CommunityLinks::forum);
    QTest::newRow("guide") << "ButtonGuide" << QUrl(CommunityLinks::guide);
}

void tst_Launch::links()
{
    QFETCH(QString, button);
    QFETCH(QUrl, url);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    UrlRecorder browser("https");
    const auto before = fixture.snapshot();

    ZolmLauncher window;
    auto *link = window.findChild<QPushButton *>(button);
    QVERIFY(!quitsApplication(
        [&] {
            link->click();
            link->click();
        },
        300));

    QCOMPARE(browser.opened, (QList<QUrl> {url, url}));
    QCOMPARE(url.scheme(), QString("https"));
    QVERIFY(url.query().isEmpty() && url.fragment().isEmpty());
    QCOMPARE(fixture.snapshot(), before);
}

QTEST_MAIN(tst_Launch)
#include "tst_launch.moc"
