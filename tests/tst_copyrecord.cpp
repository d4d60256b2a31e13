// SPDX-License-Identifier: GPL-3.0-or-later
// What presses copy and what they find already in place: presses in a row
// with other choices, the launcher's record of its copies lost or garbled,
// targets changed behind its back (also on a FAT drive, which keeps no change
// time), and a campaign that never copies the pack it removes again.
#include "app/zolmlauncher.h"
#include "drives.h"
#include "press/executor.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QDir>
#include <QSet>
#include <QtTest>

class tst_CopyRecord : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pressSequences_data();
    void pressSequences();
    void campaignCopiesOnlyWhatItKeeps();
};

void tst_CopyRecord::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_CopyRecord::pressSequences_data()
{
    // One line a step:
    //   size NAME, theme NAME, tint N     the next presses choose these (the Nth tint drawn)
    //   press BUTTON                      the button's plan carried out, as the window reads it
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

void tst_CopyRecord::pressSequences()
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
            choices.draws = {tint}; // the nth of the three tints; the theme is named
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
void tst_CopyRecord::campaignCopiesOnlyWhatItKeeps()
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

QTEST_MAIN(tst_CopyRecord)
#include "tst_copyrecord.moc"
