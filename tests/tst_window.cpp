// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/screenfit.h"
#include "app/zolmlauncher.h"
#include "launcherfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QProcessEnvironment>
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
    void screenScale_data();
    void screenScale();
    void textFits_data();
    void textFits();
    void keyboard_data();
    void keyboard();
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

void tst_Window::screenScale_data()
{
    // The player's variables, the screen's name and place at start (-1 for
    // one plugged in later), the scale its DPI asks for, its work area less
    // the frame (Windows': 16 by 39 pixels at 100 %, 20 by 48 at 125 %, 24
    // by 59 at 150 %; a taskbar of 40 pixels at 100 %), the screen's scale
    // and the window's own shrinking.
    QTest::addColumn<QString>("variables");
    QTest::addColumn<int>("place");
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<QSize>("room");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<qreal>("shrink");
    const QSize fullHd(1896, 961);
    QTest::newRow("2560x1440 at 150 %: fits as it is")
        << "" << 0 << 1.5 << QSize(2536, 1321) << 1.5 << 1.0;
    QTest::newRow("1920x1080 at 150 %: the step of 1/8 that fits")
        << "" << 0 << 1.5 << fullHd << 1.25 << 1.0;
    QTest::newRow("1366x768 at 125 %: 100 %, the window a little smaller")
        << "" << 0 << 1.25 << QSize(1346, 680) << 1.0 << 0.971;
    QTest::newRow("1366x768 at 100 %: the window a little smaller")
        << "" << 0 << 1.0 << QSize(1350, 689) << 1.0 << 0.984;
    QTest::newRow("1280x1024 at 100 %: stays 100 %")
        << "" << 0 << 1.0 << QSize(1264, 945) << 1.0 << 1.0;
    QTest::newRow("DPI read 1.9 % over 96: 100 %") << "" << 0 << 1.019 << fullHd << 1.0 << 1.0;
    QTest::newRow("1024x600: the whole window, smaller")
        << "" << 0 << 1.0 << QSize(1008, 521) << 1.0 << 0.744;
    QTest::newRow("QT_SCALE_FACTOR kept where it fits")
        << "QT_SCALE_FACTOR=1.5" << 0 << 1.0 << QSize(2536, 1321) << 1.5 << 1.0;
    QTest::newRow("QT_SCALE_FACTOR under 1 taken with the DPI")
        << "QT_SCALE_FACTOR=0.75" << 0 << 1.5 << QSize(2536, 1321) << 1.125 << 1.0;
    QTest::newRow("QT_SCALE_FACTOR under 1: the window smaller, Qt at 100 %")
        << "QT_SCALE_FACTOR=0.75" << 0 << 1.0 << QSize(2536, 1321) << 1.0 << 0.75;
    QTest::newRow("QT_DEVICE_PIXEL_RATIO shrunk to fit")
        << "QT_DEVICE_PIXEL_RATIO=2 QT_AUTO_SCREEN_SCALE_FACTOR=0" << 0 << 1.5 << fullHd << 1.25
        << 1.0;
    QTest::newRow("Plasma 125 %, font DPI 120, on 1366x768")
        << "QT_AUTO_SCREEN_SCALE_FACTOR=0 QT_SCREEN_SCALE_FACTORS=eDP-1=1.25;" << 0 << 1.25
        << QSize(1358, 714) << 1.0 << 1.0;
    QTest::newRow("QT_SCREEN_SCALE_FACTORS by place")
        << "QT_SCREEN_SCALE_FACTORS=1;1.5" << 1 << 1.0 << QSize(2536, 1321) << 1.5 << 1.0;
    QTest::newRow("QT_SCREEN_SCALE_FACTORS by place: a screen plugged in later")
        << "QT_SCREEN_SCALE_FACTORS=1;1.5" << -1 << 1.25 << QSize(2536, 1321) << 1.25 << 1.0;
}

void tst_Window::screenScale()
{
    QFETCH(QString, variables);
    QFETCH(int, place);
    QFETCH(qreal, dpi);
    QFETCH(QSize, room);
    QFETCH(qreal, scale);
    QFETCH(qreal, shrink);
    QProcessEnvironment environment;
    for (const QString &variable : variables.split(' ', Qt::SkipEmptyParts))
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    const qreal own = PlayerScale::fromEnvironment(environment).of("eDP-1", place, dpi);
    const WindowScale fitted = fittedScale(own, room, QSize(700, 700));
    QCOMPARE(qRound(fitted.screen * 1000), qRound(scale * 1000));
    QCOMPARE(qRound(fitted.window * 1000), qRound(shrink * 1000));
}

void tst_Window::textFits_data()
{
    QTest::addColumn<qreal>("shrink");
    QTest::newRow("as designed") << 1.0;
    QTest::newRow("1366x768 at 100 % with Windows' taskbar") << 0.984;
    QTest::newRow("1024x600") << 0.744;
}

// The window takes the size asked for, and every button and check box gets
// at least the room its text asks for, frame and padding included. (The
// lists are narrower than their longest entry by design, at any size.)
void tst_Window::textFits()
{
    QFETCH(qreal, shrink);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    ZolmLauncher window;
    window.fitToScreen(shrink);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), (QSizeF(700, 700) * shrink).toSize());
    for (QAbstractButton *control : window.findChildren<QAbstractButton *>()) {
        const QSize needed = control->sizeHint();
        if (control->isVisible())
            QVERIFY2(control->width() >= needed.width() && control->height() >= needed.height()
                         && window.rect().contains(control->geometry()),
                     qPrintable(control->objectName()));
    }
}

void tst_Window::keyboard_data()
{
    QTest::addColumn<QString>("keys"); // from the window's first focus
    QTest::addColumn<QString>("control"); // where they lead
    QTest::addColumn<QString>("press");
    QTest::newRow("Classic battles") << "Right"
                                     << "ButtonClassic"
                                     << "Return";
    QTest::newRow("Hardcore battles") << "Right, Down"
                                      << "ButtonHardcore"
                                      << "Enter";
    QTest::newRow("1805 campaign") << "Down, Down, Down, Down"
                                   << "SPC1805"
                                   << "Space";
    QTest::newRow("Bavaria campaign") << "Down, Down, Down, Down, Right"
                                      << "SPCbava"
                                      << "Return";
    QTest::newRow("Ottoman campaign") << "Down, Down, Down, Down, Right, Right"
                                      << "SPCotto"
                                      << "Return";
    QTest::newRow("Wurttemberg campaign") << "Right, Down, Down, Right, Right"
                                          << "SPCwurt"
                                          << "Return";
    QTest::newRow("Restore vanilla") << "Down, Down, Down, Down, Down, Down"
                                     << "ButtonVanilla"
                                     << "Return";
    QTest::newRow("Classic battles by Tab") << "Tab, Tab, Tab, Tab"
                                            << "ButtonClassic"
                                            << "Return";
    QTest::newRow("Free camera cleared") << ""
                                         << "ChkFreecam"
                                         << "Return";
    QTest::newRow("screenshot mode ticked") << "Up, Left, Down, Down, Down"
                                            << "ChkNoUI"
                                            << "Space";
    QTest::newRow("the second theme chosen") << "Down, Down"
                                             << "ComboTheme"
                                             << "Return, Down, Return";
    QTest::newRow("Escape closes the window") << ""
                                              << "ChkFreecam"
                                              << "Escape";
}

// Keys as Steam's controller layouts send them: the D-pad's arrows, A's
// Enter, B's Escape.
void tst_Window::keyboard()
{
    QFETCH(QString, keys);
    QFETCH(QString, control);
    QFETCH(QString, press);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    ZolmLauncher window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto type = [](const QString &sequence) {
        for (const QString &key : sequence.split(", ", Qt::SkipEmptyParts)) {
            QWidget *to = QApplication::activePopupWidget()
                ? QApplication::activePopupWidget()->focusWidget()
                : QApplication::focusWidget();
            QTest::keyClick(to, Qt::Key(QKeySequence(key)[0]));
        }
    };
    type(keys);
    QCOMPARE(QApplication::focusWidget()->objectName(), control);
    auto *box = window.findChild<QCheckBox *>(control);
    auto *list = window.findChild<QComboBox *>(control);
    const bool ticked = box && box->isChecked();
    const int chosen = list ? list->currentIndex() : 0;
    if (press == "Escape" || box || list) {
        type(press);
        QCOMPARE(window.isVisible(), press != "Escape");
        if (box && press != "Escape")
            QTRY_COMPARE(box->isChecked(), !ticked);
        QCOMPARE(list ? list->currentIndex() : 0, list ? chosen + 1 : 0);
        return;
    }
    QSignalSpy pressed(QApplication::focusWidget(), SIGNAL(clicked()));
    QVERIFY(quitsApplication([&] { type(press); }));
    QCOMPARE(pressed.count(), 1);
    QTRY_VERIFY(QFileInfo::exists(fixture.sample().gameStartRecord()));
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
