// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "files/filelayer.h"
#include "windowfixture.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

namespace {

// The choices saved last time, and one tint, which a battle press otherwise
// draws at random.
bool writeChoices(const LauncherFixture &fixture)
{
    const QDir tints(fixture.mod("UI/Tint"));
    for (const QString &tint : tints.entryList(QDir::Files).mid(1)) {
        if (!QFile::remove(tints.filePath(tint)))
            return false;
    }
    return fixture.sample().writeFile(fixture.sample().launcherFolder() + "/zolm.ini",
                                      "[General]\nUiSize=2\nFactionTheme=3\nFreeCamera=N\n");
}

// The files a press changes, without what differs from one installation to
// the next: the report of the last press, the game's record of its start and
// the launcher copied into its folder.
QMap<QString, QByteArray> pressedFiles(const LauncherFixture &fixture)
{
    QMap<QString, QByteArray> files = fixture.snapshot();
    for (auto it = files.begin(); it != files.end();) {
        const bool ownFolder = it.key().startsWith("Napoleon/data/ZOLM/Launcher/")
            && !it.key().endsWith("/zolm.ini");
        it = ownFolder || it.key().contains("game-started.txt") ? files.erase(it) : it + 1;
    }
    return files;
}

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void start_data();
    void start();
    void stops_data();
    void stops();
};

void tst_CommandLine::start_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("wrapped"); // Steam's command given after "--"
    QTest::addColumn<QString>("button"); // the window's button that leaves the same files
    QTest::addColumn<int>("status");
    const QStringList names
        = {"classic", "hardcore", "1805", "bavaria", "ottoman", "wurttemberg", "restore"};
    const QStringList buttons = {"ButtonClassic", "ButtonHardcore", "SPC1805",      "SPCbava",
                                 "SPCotto",       "SPCwurt",        "ButtonVanilla"};
    for (int i = 0; i < names.size(); ++i)
        QTest::addRow("%s", qPrintable(names[i]))
            << QStringList {"--start", names[i]} << false << buttons[i] << 0;
    QTest::newRow("classic, then Steam's command")
        << QStringList {"--start", "Classic"} << true << "ButtonClassic" << 0;
    QTest::newRow("an unknown button") << QStringList {"--start", "skirmish"} << true << "" << 2;
    QTest::newRow("an unknown option") << QStringList {"--fullscreen"} << true << "" << 2;
    QTest::newRow("an argument before --") << QStringList {"classic"} << false << "" << 2;
}

// The launcher copied into a launcher's folder and started from elsewhere, as
// a desktop entry or Steam starts it.
void tst_CommandLine::start()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, wrapped);
    QFETCH(QString, button);
    QFETCH(int, status);
#ifdef Q_OS_WIN
    if (wrapped && !button.isEmpty())
        QSKIP("Steam's command after -- is checked on Linux, where Steam runs the game with "
              "Proton; on Windows only the code runs it and waits for it");
    const QString program = QCoreApplication::applicationDirPath() + "/" LAUNCHER_PROGRAM;
    const QString copy = "Velmarch.exe";
#else
    const QString program = LAUNCHER_PROGRAM;
    const QString copy = "velmarch";
#endif
    QMap<QString, QByteArray> expected;
    {
        LauncherFixture twin;
        QVERIFY(twin.isValid() && writeChoices(twin));
        ZolmLauncher window;
        if (!button.isEmpty())
            QVERIFY(pressAndStart(twin, window, button));
        expected = pressedFiles(twin);
    }
    LauncherFixture fixture;
    QVERIFY(fixture.isValid() && writeChoices(fixture));
    QVERIFY(QFile::copy(program, copy));
    const QTemporaryDir steam;
    const QString record = steam.filePath("command.txt");
    const QStringList steamCommand
        = {"/bin/sh", "-c",        "printf '%s\\n' \"$@\" >> \"$0\"; pwd >> \"$0\"",
           record,    "two words", "-platform",
           "--start", "restore",   "--"};
    QProcess launcher;
    launcher.setWorkingDirectory(fixture.sample().root());
#ifdef Q_OS_WIN
    // On Windows' own screen, as players see it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    launcher.setProcessEnvironment(environment);
#endif
    launcher.start(QDir::current().absoluteFilePath(copy),
                   wrapped ? arguments + QStringList("--") + steamCommand : arguments);
    QVERIFY(launcher.waitForFinished(30000));
    QCOMPARE(launcher.exitCode(), status);
    QCOMPARE(pressedFiles(fixture), expected);
    if (!button.isEmpty() && !wrapped)
        QTRY_VERIFY(QFileInfo::exists(fixture.sample().gameStartRecord()));
    else
        QVERIFY(!QFileInfo::exists(fixture.sample().gameStartRecord()));
    QCOMPARE(fixture.read(record),
             !button.isEmpty() && wrapped
                 ? (steamCommand.mid(4) << fixture.sample().root()).join('\n').toUtf8() + '\n'
                 : QByteArray());
    if (status != 0)
        QVERIFY(launcher.readAllStandardError().contains("wurttemberg"));
}

void tst_CommandLine::stops_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("fault"); // a file or folder removed below the game's folder
    QTest::addColumn<QString>("box");
    QTest::newRow("another launcher putting files in place")
        << "ButtonClassic"
        << ""
        << "Another launcher is putting files in place.";
    QTest::newRow("a button the mod lacks") << "ButtonHardcore"
                                            << "data/ZOLM/Version84/Hardcore"
                                            << "no \"Hardcore battles\" button";
    QTest::newRow("the game not there") << "SPCotto"
                                        << "Napoleon.exe"
                                        << "Napoleon.exe cannot be found";
    QTest::newRow("Steam's command not there") << "ButtonVanilla"
                                               << ""
                                               << "/no/steam/reaper is not there";
}

// Started for one press that cannot start the game: its box, then a status
// other than 0, and no file changed.
void tst_CommandLine::stops()
{
    QFETCH(QString, button);
    QFETCH(QString, fault);
    QFETCH(QString, box);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QString path = fixture.sample().gameFolder() + "/" + fault;
    QVERIFY(fault.isEmpty() || QFile::remove(path) || fixture.removeTree(path));
    const auto before = pressedFiles(fixture);
    ZolmLauncher window;
    files::FileLock otherLauncher("../velmarch-press.lock");
    files::Failure failure;
    char program[] = "velmarch", separator[] = "--", reaper[] = "/no/steam/reaper";
    char *arguments[] = {program, separator, reaper, nullptr};
    int count = 3;
    if (box.startsWith("Another"))
        QVERIFY(otherLauncher.tryLock(&failure));
#ifdef Q_OS_WIN
    else if (button == "ButtonVanilla")
        QSKIP("Steam's command after -- is checked on Linux, where Steam runs the game with "
              "Proton; on Windows only the code runs it and waits for it");
#endif
    else if (button == "ButtonVanilla")
        window.setGameCommand(GameCommand(count, arguments));
    window.pressOnStart(button);
    MessageBoxCloser closer;
    QCOMPARE(loopStatusOf([] {}, 15000), 1);
    QCOMPARE(closer.count(), 1);
    QVERIFY2(closer.boxes()[0].text.contains(box), qPrintable(closer.boxes()[0].text));
    QCOMPARE(pressedFiles(fixture), before);
    QVERIFY(!QFileInfo::exists(fixture.sample().gameStartRecord()) && !window.gameCommandDue());
}

QTEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
