// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "launch/steamlibrary.h"
#include "launcherfixture.h"
#include "staging/roots.h"

#include <QDir>
#include <QScopeGuard>
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
};

void tst_Steam::initTestCase()
{
#ifdef Q_OS_WIN
    QSKIP("On Windows the game is started and found as it always was");
#endif
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

QTEST_MAIN(tst_Steam)
#include "tst_steam.moc"
