// SPDX-License-Identifier: GPL-3.0-or-later
// The window driven by keys alone, as a controller drives it.
#include "app/zolmlauncher.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QtTest>

class tst_KeyboardFocus : public QObject
{
    Q_OBJECT

private slots:
    void keyboard_data();
    void keyboard();
};

void tst_KeyboardFocus::keyboard_data()
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
void tst_KeyboardFocus::keyboard()
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

QTEST_MAIN(tst_KeyboardFocus)
#include "tst_keyboardfocus.moc"
