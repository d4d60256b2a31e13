// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "installation/keyvalues.h"
#include "installation/roots.h"
#include "installation/steamlibrary.h"
#include "windowfixture.h"

#include <QDir>
#include <QScopeGuard>
#include <QSettings>
#include <QtTest>

namespace {

const QString steamGameFolder = "steamapps/common/Napoleon Total War";

QByteArray manifest(const QByteArray &installDir)
{
    return "\"AppState\"\n{\n\t\"appid\"\t\t\"34030\"\n\t\"name\"\t\t\"Napoleon\"\n"
           "\t\"installdir\"\t\t\""
        + installDir + "\"\n\t\"UserConfig\"\n\t{\n\t\t\"language\"\t\t\"english\"\n\t}\n}\n";
}

} // namespace

class tst_Steam : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void library_data();
    void library();
    void manifestValue_data();
    void manifestValue();
    void wrongFolder_data();
    void wrongFolder();
};

void tst_Steam::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_Steam::library_data()
{
    QTest::addColumn<QString>("gameFolder");
    QTest::addColumn<QStringList>("manifests"); // file name, install folder, ...
    QTest::addColumn<bool>("prefix");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("link"); // the game folder as the player reaches it, when a link

    QTest::newRow("manifest and prefix")
        << steamGameFolder << QStringList {"appmanifest_34030.acf", "Napoleon Total War"} << true
        << "34030" << QString();
    QTest::newRow("manifest names another folder")
        << steamGameFolder << QStringList {"appmanifest_34030.acf", "Empire Total War"} << true
        << QString() << QString();
    QTest::newRow("several manifests")
        << steamGameFolder
        << QStringList {"appmanifest_10.acf", "Half", "appmanifest_34030.acf", "Napoleon Total War",
                        "appmanifest_99.acf", "Other"}
        << true << "34030" << QString();
    QTest::newRow("prefix not made yet")
        << steamGameFolder << QStringList {"appmanifest_34030.acf", "Napoleon Total War"} << false
        << "34030" << QString();
    QTest::newRow("malformed manifest")
        << steamGameFolder << QStringList {"appmanifest_34030.acf", "Napoleon Total War\" {"}
        << true << QString() << QString();
    QTest::newRow("manifest without an id")
        << steamGameFolder << QStringList {"appmanifest_.acf", "Napoleon Total War"} << true
        << QString() << QString();
    QTest::newRow("no steamapps") << "games/Napoleon Total War"
                                  << QStringList {"appmanifest_34030.acf", "Napoleon Total War"}
                                  << true << QString() << QString();
    QTest::newRow("older library folder SteamApps")
        << "SteamApps/common/Napoleon Total War"
        << QStringList {"appmanifest_34030.acf", "Napoleon Total War"} << true << "34030"
        << QString();
    QTest::newRow("game folder linked under common")
        << "games/Napoleon" << QStringList {"appmanifest_34030.acf", "Napoleon Total War"} << true
        << "34030" << steamGameFolder;
}

void tst_Steam::library()
{
    QFETCH(QString, gameFolder);
    QFETCH(QStringList, manifests);
    QFETCH(bool, prefix);
    QFETCH(QString, id);
    QFETCH(QString, link);
#ifdef Q_OS_WIN
    QSKIP("On Windows the game is started and its scripts folder found as they always were");
#endif
    LauncherFixture fixture(gameFolder);
    QVERIFY(fixture.isValid());
    const QString linked = fixture.sample().root() + '/' + link;
    if (!link.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(linked).path()));
        QVERIFY(QFile::link(fixture.sample().gameFolder(), linked));
    }
    // As a shell that changed into the launcher's folder through the link.
    const QByteArray previousPwd = qgetenv("PWD");
    qputenv(
        "PWD",
        QFile::encodeName(link.isEmpty() ? QDir::currentPath() : linked + "/data/ZOLM/Launcher"));
    const auto restorePwd = qScopeGuard([&] { qputenv("PWD", previousPwd); });
    const QString steamapps
        = QFileInfo((link.isEmpty() ? fixture.sample().gameFolder() : linked) + "/../..")
              .absoluteFilePath();
    for (int i = 0; i < manifests.size(); i += 2)
        QVERIFY(fixture.sample().writeFile(steamapps + '/' + manifests[i],
                                           manifest(manifests[i + 1].toUtf8())));
    const QString roaming = steamapps + "/compatdata/" + (id.isEmpty() ? "34030" : id)
        + "/pfx/drive_c/users/steamuser/AppData/Roaming";
    if (prefix)
        QVERIFY(QDir().mkpath(roaming + "/The Creative Assembly/Napoleon/scripts"));

    const QString expectedScripts = !id.isEmpty()
        ? QString(roaming + "/The Creative Assembly/Napoleon/scripts/")
        : QString(fixture.sample().scriptsFolder() + '/');
    QCOMPARE(gameScriptsFolder(), QDir::cleanPath(expectedScripts) + '/');

    // A press killed before the prefix was made left its scratch folder in the roaming one.
    const QString leftover = fixture.sample().scriptsFolder() + "/.velmarch-press";
    QVERIFY(fixture.sample().writeFile(leftover + "/new.user.script.txt", "left"));

    UrlRecorder steam("steam");
    ZolmLauncher window;
    MessageBoxCloser closer;
    applySteps(&window,
               ZolmLauncher::setupBattle("Classic", window.readChoices(), readModListing()));
    QVERIFY(!QFileInfo::exists(leftover));
    // A press never makes the game's prefix: Steam does, at the game's first start.
    if (!id.isEmpty() && !prefix) {
        QCOMPARE(closer.count(), 1);
        QCOMPARE(closer.boxes()[0].wayOut,
                 QString("Start the game once from Steam, so that it "
                         "makes its folders, then press again."));
        QVERIFY(!QFileInfo::exists(QFileInfo(roaming).path()));
        return;
    }
    QCOMPARE(closer.count(), 0);
    QVERIFY(quitsApplication([&] { window.launchGame(); }));

    QVERIFY(QFileInfo::exists(expectedScripts + "user.script.txt"));
    QVERIFY(QFileInfo::exists("zolm.ini"));
    if (id.isEmpty()) {
        QVERIFY(steam.opened.isEmpty());
        QTRY_VERIFY(QFileInfo::exists(fixture.sample().gameStartRecord()));
    } else {
        QCOMPARE(steam.opened, QList<QUrl> {QUrl("steam://rungameid/" + id)});
        QTest::qWait(200);
        QVERIFY(!QFileInfo::exists(fixture.sample().gameStartRecord()));
    }
}

void tst_Steam::manifestValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("value");
    QTest::newRow("Steam's own layout") << manifest("Napoleon Total War") << "Napoleon Total War";
    QTest::newRow("key in other capitals, comment, escaped quote")
        << QByteArray("// made by hand\n\"AppState\" { \"InstallDir\" \"Say \\\"hi\\\"\" }")
        << "Say \"hi\"";
    QTest::newRow("only in a nested block")
        << QByteArray("\"AppState\" { \"x\" { \"installdir\" \"a\" } }") << QString();
    QTest::newRow("unterminated string")
        << QByteArray("\"AppState\" { \"installdir\" \"a") << QString();
    QTest::newRow("unbalanced braces")
        << QByteArray("\"AppState\" { \"installdir\" \"a\"") << QString();
    QTest::newRow("key without value")
        << QByteArray("\"AppState\" { \"installdir\" }") << QString();
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("binary") << QByteArray("\x00\xFF{}}\"", 6) << QString();
}

void tst_Steam::manifestValue()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, value);
    QCOMPARE(::manifestValue(text, "installdir"), value);
}

// A launcher unpacked where no game is around it finds the games with the
// mod in Steam's libraries, and its box names the folder it belongs in.
void tst_Steam::wrongFolder_data()
{
    QTest::addColumn<QString>("steam"); // Steam's folder below the home folder; empty for none
    QTest::addColumn<QString>("libraries"); // its libraryfolders.vdf, %1 the second library
    QTest::addColumn<bool>("inSecond"); // the game lies in the second library
    QTest::addColumn<bool>("withMod");
    QTest::addColumn<bool>("found");

    const QString steam = ".local/share/Steam";
    const QString list = R"("libraryfolders" { "0" { "path" "%2" "apps" { "34030" "1" } } )"
                         R"("1" { "path" "%1" "label" "" } })";
    QTest::newRow("two libraries, the game in the second") << steam << list << true << true << true;
    QTest::newRow("Steam's older list of numbered paths")
        << steam << R"("LibraryFolders" { "TimeNextStatsReport" "1" "1" "%1" })" << true << true
        << true;
    QTest::newRow("malformed list: the second library is not read")
        << steam << R"("libraryfolders" { "1" { "path" "%1" } )" << true << true << false;
    QTest::newRow("no list: Steam's own library") << steam << QString() << false << true << true;
    QTest::newRow("the game without the mod") << steam << list << true << false << false;
    QTest::newRow("no Steam at all") << QString() << QString() << false << true << false;
#ifdef Q_OS_WIN
    // Named by the machine's key alone, as an installer for all users leaves it.
    QTest::newRow("the machine's Steam")
        << "Program Files (x86)/Steam" << list << true << true << true;
#else
    QTest::newRow("Flatpak's Steam")
        << ".var/app/com.valvesoftware.Steam/.local/share/Steam" << list << true << true << true;
#endif
}

void tst_Steam::wrongFolder()
{
    QFETCH(QString, steam);
    QFETCH(QString, libraries);
    QFETCH(bool, inSecond);
    QFETCH(bool, withMod);
    QFETCH(bool, found);
    const QTemporaryDir home;
    const QString steamFolder = home.path() + '/' + steam;
    const QString second = home.path() + "/SD card/SteamLibrary";
    const QString game = (inSecond ? second : steamFolder) + "/steamapps/common/Napoleon Total War";
    const QString escaped = QDir::toNativeSeparators(second).replace('\\', "\\\\");
    QVERIFY(QDir().mkpath(second + "/steamapps/common") && QDir().mkpath(game + "/data"));
    QVERIFY(!withMod || QDir().mkpath(game + "/data/ZOLM/Launcher"));
    SampleInstallation files(home.path());
    QVERIFY(files.writeFile(game + "/Napoleon.exe", "game"));
    QVERIFY(steam.isEmpty()
            || files.writeFile(
                steamFolder + "/steamapps/libraryfolders.vdf",
                QString(libraries).replace("%1", escaped).replace("%2", steamFolder).toUtf8()));
    if (libraries.isEmpty() && !steam.isEmpty())
        QVERIFY(QFile::remove(steamFolder + "/steamapps/libraryfolders.vdf"));
#ifdef Q_OS_WIN
    const bool machine = steam.startsWith("Program Files");
    QSettings user("HKEY_CURRENT_USER\\Software\\Valve\\Steam", QSettings::NativeFormat);
    QSettings all("HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Valve\\Steam",
                  QSettings::NativeFormat);
    const QVariant before[] = {user.value("SteamPath"), all.value("InstallPath")};
    user.setValue("SteamPath", steam.isEmpty() || machine ? QString() : steamFolder);
    all.setValue("InstallPath", machine ? QDir::toNativeSeparators(steamFolder) : QString());
    const auto restore = qScopeGuard([&] {
        user.setValue("SteamPath", before[0]);
        all.setValue("InstallPath", before[1]);
    });
#else
    // As Steam leaves it: reached by a link too, and each library named once.
    QVERIFY(!steam.startsWith(".local") || QDir().mkpath(home.path() + "/.steam"));
    QVERIFY(!steam.startsWith(".local") || QFile::link(steamFolder, home.path() + "/.steam/steam"));
    const QByteArray before = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const auto restore = qScopeGuard([&] { qputenv("HOME", before); });
#endif
    LauncherFixture fixture;
    QVERIFY(fixture.isValid() && QFile::remove(fixture.sample().gameFolder() + "/Napoleon.exe"));

    ZolmLauncher window;
    MessageBoxCloser closer;
    QTRY_COMPARE(closer.count(), 1);
    const QString move = "Move the folder Launcher into ";
    const QString there = ", then start the launcher from there.";
    QCOMPARE(closer.boxes()[0].wayOut,
             found ? QString(move + QDir::toNativeSeparators(game + "/data/ZOLM/") + there)
                   : move + QDir::toNativeSeparators("data/ZOLM/")
                     + " in the game's folder (the folder that holds Napoleon.exe)" + there);
    QCOMPARE(closer.boxes()[0].text.contains(QDir::toNativeSeparators(QDir::currentPath())),
             !found);
    QTest::qWait(100);
    QCOMPARE(closer.count(), 1);
}

QTEST_MAIN(tst_Steam)
#include "tst_steam.moc"
