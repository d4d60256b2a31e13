// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QPushButton>
#include <QResource>
#include <QtTest>

namespace {

const QStringList allControls = {
    "ChkFreecam",     "ComboUI",       "ComboTheme",    "ChkWindowed",   "ChkNoUI", "ButtonClassic",
    "ButtonHardcore", "SPC1805",       "SPCbava",       "SPCotto",       "SPCwurt", "ButtonForum",
    "ButtonGuide",    "ButtonDiscord", "ButtonVanilla", "ButtonPatreon",
};

const QStringList alwaysShown
    = {"ChkFreecam", "ButtonForum", "ButtonGuide", "ButtonDiscord", "ButtonPatreon"};

QStringList shownControls(const QWidget &window)
{
    QStringList shown;
    for (const QString &name : allControls) {
        if (!window.findChild<QWidget *>(name)->isHidden())
            shown << name;
    }
    return shown;
}

QStringList itemTexts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QVariantList itemData(const QComboBox *box)
{
    QVariantList data;
    for (int i = 0; i < box->count(); ++i)
        data << box->itemData(i);
    return data;
}

bool writeSettings(const LauncherFixture &fixture, const QByteArray &ini)
{
    return ini.isNull()
        || fixture.sample().writeFile(fixture.sample().launcherFolder() + "/zolm.ini", ini);
}

// Replaces the theme folder by `count` themes named A, B, C, ...
bool makeThemes(const LauncherFixture &fixture, int count)
{
    if (!fixture.removeTree(fixture.mod("UI/Theme")))
        return false;
    for (int i = 0; i < count; ++i) {
        if (!fixture.sample().writeSampleFile(
                fixture.mod(QString("UI/Theme/%1/mus.pack").arg(QChar('A' + i)))))
            return false;
    }
    return true;
}

} // namespace

class tst_Window : public QObject
{
    Q_OBJECT

private slots:
    void looks();
    void visibility_data();
    void visibility();
    void uiSizes_data();
    void uiSizes();
    void themes_data();
    void themes();
    void freeCamera_data();
    void freeCamera();
    void readability();
};

void tst_Window::looks()
{
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    ZolmLauncher window;

    QCOMPARE(window.windowTitle(), QString("Velmarch v8.4"));
    QCOMPARE(window.size(), QSize(700, 700));
    QCOMPARE(window.maximumSize(), QSize(700, 700));
    QVERIFY(window.styleSheet().startsWith(
        QString("QPushButton { padding:10px; border:4px solid transparent; "
                "background-color: transparent; color:rgb(170,170,40); border-radius:25px; "
                "}QPushButton:hover { border-color:rgb(255,255,190); color:rgb(255,255,190); "
                "} QCheckBox { color:rgb(170,170,40); }QComboBox { "
                "background-color:rgb(170,170,40); color:rgb(255,255,190); }")));
    QCOMPARE(window.findChild<QPushButton *>("SPCwurt")->text(), QString("Wurttemberg\ncampaign"));
    QCOMPARE(window.findChild<QPushButton *>("ButtonPatreon")->text(),
             QString("Support ZOLM\non Patreon"));

    // The background is the compiled-in picture scaled to the window's
    // pixels, which on a scaled screen (the tst_window_scaled run) are more
    // than its 700 by 700 points.
    const qreal scale = qApp->devicePixelRatio();
    const QPixmap background = window.palette().brush(QPalette::Active, QPalette::Window).texture();
    QCOMPARE(background.size(), QSize(700, 700) * scale);
    QCOMPARE(background.devicePixelRatio(), scale);
    QCOMPARE(QResource(":/bg.jpg").compressionAlgorithm(), QResource::NoCompression);
    QCOMPARE(QResource(":/font.ttf").compressionAlgorithm(), QResource::NoCompression);
    QVERIFY(QFontDatabase().families().contains("JSL Ancient"));
    const QFont battles = window.findChild<QWidget *>("ButtonClassic")->font();
    QCOMPARE(battles.family(), QString("JSL Ancient"));
    QCOMPARE(battles.pixelSize(), 37); // 28 points at 96 dpi, whatever the desktop's DPI
    QCOMPARE(battles.letterSpacing(), 110.0);
    QCOMPARE(window.findChild<QWidget *>("ButtonPatreon")->font().weight(), int(QFont::Bold));

    // The slots keep their indexes: one per button, in this order.
    const QMetaObject *meta = window.metaObject();
    QStringList names;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        names << meta->method(i).name();
    QCOMPARE(names,
             (QStringList {"on_ButtonClassic_clicked", "on_ButtonHardcore_clicked",
                           "on_ButtonVanilla_clicked", "on_SPC1805_clicked", "on_SPCbava_clicked",
                           "on_SPCotto_clicked", "on_SPCwurt_clicked", "on_ButtonPatreon_clicked",
                           "on_ButtonDiscord_clicked", "on_ButtonForum_clicked",
                           "on_ButtonGuide_clicked"}));
}

void tst_Window::visibility_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("no mod folder") << QStringList {} << QStringList {};
    QTest::newRow("classic") << QStringList {"Version84/Classic"} << QStringList {"ButtonClassic"};
    QTest::newRow("hardcore") << QStringList {"Version84/Hardcore"}
                              << QStringList {"ButtonHardcore"};
    QTest::newRow("screenshot mode") << QStringList {"UI/Remove"} << QStringList {"ChkNoUI"};
    QTest::newRow("interface sizes") << QStringList {"UI/Resize"} << QStringList {"ComboUI"};
    QTest::newRow("four themes") << QStringList {"UI/Theme/a", "UI/Theme/b", "UI/Theme/c",
                                                 "UI/Theme/d"}
                                 << QStringList {};
    QTest::newRow("five themes") << QStringList {"UI/Theme/a", "UI/Theme/b", "UI/Theme/c",
                                                 "UI/Theme/d", "UI/Theme/e"}
                                 << QStringList {"ComboTheme"};
    QTest::newRow("1805") << QStringList {"Version80/Campaign/1805"} << QStringList {"SPC1805"};
    QTest::newRow("bavaria") << QStringList {"Version80/Campaign/Bavaria"}
                             << QStringList {"SPCbava"};
    QTest::newRow("ottoman") << QStringList {"Version80/Campaign/Ottoman"}
                             << QStringList {"SPCotto"};
    QTest::newRow("wurttemberg") << QStringList {"Version80/Campaign/Wurttemberg"}
                                 << QStringList {"SPCwurt"};
    QTest::newRow("campaign folder without campaigns")
        << QStringList {"Version80/Campaign"} << QStringList {};
    QTest::newRow("backup") << QStringList {"Backup"} << QStringList {"ButtonVanilla"};
}

void tst_Window::visibility()
{
    QFETCH(QStringList, folders);
    QFETCH(QStringList, shown);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    for (const char *folder : {"Version84", "Version80", "UI", "Backup"})
        QVERIFY(fixture.removeTree(fixture.mod(folder)));
    for (const QString &folder : folders)
        QVERIFY(QDir().mkpath(fixture.mod(folder)));

    ZolmLauncher window;

    QStringList expected = alwaysShown + shown;
    QStringList actual = shownControls(window);
    expected.sort();
    actual.sort();
    QCOMPARE(actual, expected);
}

void tst_Window::uiSizes_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QVariantList>("data");
    QTest::addColumn<int>("current");

    const QString times = QString(' ') + QChar(0x00D7) + " ....";
    const QStringList mixed = {"a.pack", "B.pack", "c.PACK", "notes.txt", "x.pack/inner.pack"};
    const QStringList mixedTexts = {"No custom UI", "a" + times, "B" + times};
    const QVariantList mixedData = {QVariant(), "a", "B"};

    QTest::newRow("first start selects the first pack")
        << mixed << QByteArray() << mixedTexts << mixedData << 1;
    QTest::newRow("saved index") << mixed << QByteArray("[General]\nUiSize=2\n") << mixedTexts
                                 << mixedData << 2;
    QTest::newRow("saved -1 leaves no current item")
        << mixed << QByteArray("[General]\nUiSize=-1\n") << mixedTexts << mixedData << -1;
    QTest::newRow("past the end is not clamped")
        << mixed << QByteArray("[General]\nUiSize=3\n") << mixedTexts << mixedData << -1;
    QTest::newRow("not a number selects no custom UI")
        << mixed << QByteArray("[General]\nUiSize=big\n") << mixedTexts << mixedData << 0;
    QTest::newRow("no pack, first start")
        << QStringList {} << QByteArray() << QStringList {"No custom UI"}
        << QVariantList {QVariant()} << -1;
}

void tst_Window::uiSizes()
{
    QFETCH(QStringList, files);
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, texts);
    QFETCH(QVariantList, data);
    QFETCH(int, current);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    QVERIFY(fixture.removeTree(fixture.mod("UI/Resize")));
    for (const QString &file : files)
        QVERIFY(fixture.sample().writeSampleFile(fixture.mod("UI/Resize/" + file)));
    QVERIFY(writeSettings(fixture, ini));

    ZolmLauncher window;

    const auto *box = window.findChild<QComboBox *>("ComboUI");
    QCOMPARE(itemTexts(box), texts);
    QCOMPARE(itemData(box), data);
    QCOMPARE(box->currentIndex(), current);
}

void tst_Window::themes_data()
{
    QTest::addColumn<int>("folders");
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("current");

    const QStringList five = {">>> Random theme", "A", "B", "C", "D", "E"};
    QTest::newRow("four folders hide the box")
        << 4 << QByteArray("[General]\nFactionTheme=2\n") << QStringList {} << -1;
    QTest::newRow("five folders, first start is random") << 5 << QByteArray() << five << 0;
    QTest::newRow("saved theme") << 5 << QByteArray("[General]\nFactionTheme=3\n") << five << 3;
    QTest::newRow("saved -1 becomes random")
        << 5 << QByteArray("[General]\nFactionTheme=-1\n") << five << 0;
    QTest::newRow("past the end (a folder gone since) becomes random")
        << 5 << QByteArray("[General]\nFactionTheme=6\n") << five << 0;
}

void tst_Window::themes()
{
    QFETCH(int, folders);
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, items);
    QFETCH(int, current);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    QVERIFY(makeThemes(fixture, folders));
    QVERIFY(writeSettings(fixture, ini));

    ZolmLauncher window;

    const auto *box = window.findChild<QComboBox *>("ComboTheme");
    QCOMPARE(box->isHidden(), items.isEmpty());
    QCOMPARE(itemTexts(box), items);
    QCOMPARE(box->currentIndex(), current);
}

void tst_Window::freeCamera_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("checked");
    QTest::newRow("first start") << QByteArray() << true;
    QTest::newRow("Y") << QByteArray("[General]\nFreeCamera=Y\n") << true;
    QTest::newRow("N") << QByteArray("[General]\nFreeCamera=N\n") << false;
    QTest::newRow("n") << QByteArray("[General]\nFreeCamera=n\n") << true;
    QTest::newRow("No") << QByteArray("[General]\nFreeCamera=No\n") << true;
    QTest::newRow("empty") << QByteArray("[General]\nFreeCamera=\n") << true;
}

void tst_Window::freeCamera()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, checked);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    QVERIFY(writeSettings(fixture, ini));
    const QByteArray before = fixture.read("zolm.ini");

    ZolmLauncher window;

    QCOMPARE(window.findChild<QCheckBox *>("ChkFreecam")->isChecked(), checked);
    // Start-up only reads the settings.
    QCOMPARE(fixture.read("zolm.ini"), before);
    QCOMPARE(QFileInfo::exists("zolm.ini"), !ini.isNull());
}

// Every text keeps a contrast of 4.5:1 (as the web's accessibility guidelines
// measure it) against the lightest pixel of the picture behind its control;
// the lists' text against their own ground.
void tst_Window::readability()
{
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    ZolmLauncher window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage picture
        = window.palette().brush(QPalette::Active, QPalette::Window).texture().toImage();
    for (QWidget *control : window.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const bool list = qobject_cast<QComboBox *>(control);
        if (!control->isVisible() || (!list && !control->property("text").isValid()))
            continue;
        const QRect rect(control->mapTo(&window, QPoint()), control->size());
        double ground = list ? relativeLuminance(control->palette().color(QPalette::Button)) : 0;
        for (int y = rect.top(); !list && y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x)
                ground = std::max(
                    ground,
                    relativeLuminance(picture.pixelColor(x * picture.width() / window.width(),
                                                         y * picture.height() / window.height())));
        }
        const double text = relativeLuminance(
            control->palette().color(list ? QPalette::Text : QPalette::ButtonText));
        const double contrast = (std::max(text, ground) + 0.05) / (std::min(text, ground) + 0.05);
        qInfo("%s: %.2f", qPrintable(control->objectName()), contrast);
        QVERIFY2(contrast >= 4.5, qPrintable(control->objectName()));
        // During a press it looks disabled: its text, or a list's ground, far dimmer.
        const QPalette::ColorRole role = list ? QPalette::Button : QPalette::ButtonText;
        QVERIFY2(relativeLuminance(control->palette().color(QPalette::Active, role))
                     > 2 * relativeLuminance(control->palette().color(QPalette::Disabled, role)),
                 qPrintable(control->objectName()));
    }
}

QTEST_MAIN(tst_Window)
#include "tst_window.moc"
