// SPDX-License-Identifier: GPL-3.0-or-later
// The scale the window takes on each kind of screen, from the player's
// variables and the screen's DPI and work area, and the window it gives.
#include "app/screenfit.h"
#include "app/zolmlauncher.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QProcessEnvironment>
#include <QtTest>

class tst_ScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void screenScale_data();
    void screenScale();
    void textFits_data();
    void textFits();
};

void tst_ScreenFit::screenScale_data()
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

void tst_ScreenFit::screenScale()
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

void tst_ScreenFit::textFits_data()
{
    QTest::addColumn<qreal>("shrink");
    QTest::newRow("as designed") << 1.0;
    QTest::newRow("1366x768 at 100 % with Windows' taskbar") << 0.984;
    QTest::newRow("1024x600") << 0.744;
}

// The window takes the size asked for, and every button and check box gets
// at least the room its text asks for, frame and padding included. (The
// lists are narrower than their longest entry by design, at any size.)
void tst_ScreenFit::textFits()
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

QTEST_MAIN(tst_ScreenFit)
#include "tst_screenfit.moc"
