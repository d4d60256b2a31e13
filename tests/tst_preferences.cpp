// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zolmlauncher.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QTextCodec>
#include <QtTest>

namespace {

QByteArray encoded(const char *codec, const QByteArray &mark, const QString &text)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return mark
        + QTextCodec::codecForName(codec)->fromUnicode(text.constData(), text.size(), &state);
}

} // namespace

class tst_Preferences : public QObject
{
    Q_OBJECT

private slots:
    void edits_data();
    void edits();
    void encodings_data();
    void encodings();
    void replace_data();
    void replace();
};

void tst_Preferences::edits_data()
{
    QTest::addColumn<bool>("freeCamera");
    QTest::addColumn<bool>("screenshots");
    QTest::addColumn<bool>("forced");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    const QString all = "default_camera_type %1;\r\nui_land_unit_ids %2;\r\nui_card_mode %3;\r\n"
                        "ui_order_button_mode %4;\r\n";
    QTest::newRow("free camera, battles")
        << true << false << false << all.arg(0).arg(2).arg(2).arg(2)
        << all.arg(2).arg(0).arg(0).arg(0);
    QTest::newRow("free camera from type 1")
        << true << false << false << all.arg(1).arg(0).arg(0).arg(0)
        << all.arg(2).arg(0).arg(0).arg(0);
    QTest::newRow("no free camera keeps type 1")
        << false << false << false << all.arg(1).arg(0).arg(0).arg(0)
        << all.arg(1).arg(0).arg(0).arg(0);
    QTest::newRow("no free camera turns type 2 to 0")
        << false << false << false << all.arg(2).arg(0).arg(0).arg(0)
        << all.arg(0).arg(0).arg(0).arg(0);
    QTest::newRow("hardcore forces land unit ids only")
        << true << false << true << all.arg(2).arg(0).arg(2).arg(2)
        << all.arg(2).arg(2).arg(0).arg(0);
    QTest::newRow("screenshot mode") << false << true << false << all.arg(0).arg(0).arg(0).arg(0)
                                     << all.arg(0).arg(2).arg(2).arg(2);
    QTest::newRow("screenshot mode in hardcore")
        << true << true << true << all.arg(0).arg(0).arg(0).arg(0)
        << all.arg(2).arg(2).arg(2).arg(2);
    QTest::newRow("every occurrence")
        << true << false << false
        << "default_camera_type 0;default_camera_type 1;default_camera_type 0;"
        << "default_camera_type 2;default_camera_type 2;default_camera_type 2;";
    QTest::newRow("a value of 20 matches as a substring")
        << true << false << false << "ui_land_unit_ids 20;"
        << "ui_land_unit_ids 00;";
    QTest::newRow("keys in other capitals untouched")
        << true << false << false << "Default_Camera_Type 0;\nUI_CARD_MODE 2;\n"
        << "Default_Camera_Type 0;\nUI_CARD_MODE 2;\n";
}

void tst_Preferences::edits()
{
    QFETCH(bool, freeCamera);
    QFETCH(bool, screenshots);
    QFETCH(bool, forced);
    QFETCH(QString, before);
    QFETCH(QString, after);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QString path = fixture.scripts("preferences.script.txt");
    QVERIFY(fixture.sample().writeFile(path, SampleInstallation::utf16le(before)));

    ZolmLauncher launcher;
    launcher.findChild<QCheckBox *>("ChkFreecam")->setChecked(freeCamera);
    launcher.findChild<QCheckBox *>("ChkNoUI")->setChecked(screenshots);
    MessageBoxCloser closer;
    applySteps(&launcher, {ZolmLauncher::applyPreferences(forced, launcher.readChoices())});

    QCOMPARE(closer.count(), 0);
    QCOMPARE(fixture.read(path), SampleInstallation::utf16le(after));
}

void tst_Preferences::encodings_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("freeCamera");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("boxes");

    const QString in = QString("ui_card_mode 2;\n") + QChar(0x00E9) + "\n";
    const QString out = QString("ui_card_mode 0;\n") + QChar(0x00E9) + "\n";
    QTest::newRow("UTF-16LE with mark")
        << true << true << SampleInstallation::utf16le(in) << SampleInstallation::utf16le(out) << 0;
    QTest::newRow("no mark gets one")
        << true << true << encoded("UTF-16LE", "", in) << SampleInstallation::utf16le(out) << 0;
    QTest::newRow("UTF-8 with mark stays UTF-8")
        << true << true << encoded("UTF-8", "\xEF\xBB\xBF", in)
        << encoded("UTF-8", "\xEF\xBB\xBF", out) << 0;
    QTest::newRow("UTF-16BE with mark stays UTF-16BE")
        << true << true << encoded("UTF-16BE", "\xFE\xFF", in)
        << encoded("UTF-16BE", "\xFE\xFF", out) << 0;
    // Found by fuzzing: the file was written anew with a mark it never had.
    const QByteArray noKey = encoded("UTF-16LE", "", "gfx_first_run false;\n");
    QTest::newRow("no mark and no key: left as it is") << true << true << noKey << noKey << 0;
    const QByteArray odd = SampleInstallation::utf16le(in) + 'x';
    QTest::newRow("odd length left alone") << true << true << odd << odd << 1;
    const QByteArray badUtf8 = QByteArray("\xEF\xBB\xBFui_card_mode 2;\xC3(\n");
    QTest::newRow("invalid UTF-8 left alone") << true << false << badUtf8 << badUtf8 << 1;
    QTest::newRow("missing file stays empty")
        << true << true << QByteArray() << QByteArray("") << 0;
    QTest::newRow("folder missing, free camera")
        << false << true << QByteArray() << QByteArray() << 1;
    QTest::newRow("folder missing, no free camera")
        << false << false << QByteArray() << QByteArray() << 1;
}

void tst_Preferences::encodings()
{
    QFETCH(bool, folder);
    QFETCH(bool, freeCamera);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(int, boxes);
    LauncherFixture fixture;
    QVERIFY(fixture.isValid());
    const QString path = fixture.scripts("preferences.script.txt");
    QVERIFY(QFile::remove(path));
    if (!folder)
        QVERIFY(fixture.removeTree(fixture.sample().scriptsFolder()));
    if (!before.isNull())
        QVERIFY(fixture.sample().writeFile(path, before));

    ZolmLauncher launcher;
    launcher.findChild<QCheckBox *>("ChkFreecam")->setChecked(freeCamera);
    MessageBoxCloser closer;
    applySteps(&launcher, {ZolmLauncher::applyPreferences(false, launcher.readChoices())});

    QCOMPARE(closer.count(), boxes);
    for (const auto &box : closer.boxes())
        QCOMPARE(box.text, QString("Preference file cannot be changed."));
    QCOMPARE(QFileInfo::exists(path), !after.isNull());
    QCOMPARE(fixture.read(path), after);
}

void tst_Preferences::replace_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shorter text leaves no tail") << "a long value"
                                                 << "v"
                                                 << "x a long value y"
                                                 << "x v y";
    QTest::newRow("longer text") << "v"
                                 << "a long value"
                                 << "v;v"
                                 << "a long value;a long value";
    QTest::newRow("replaced text is not scanned again") << "aa"
                                                        << "a"
                                                        << "aaaa"
                                                        << "aa";
}

void tst_Preferences::replace()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    const auto edited
        = ZolmLauncher::replaceInPreferences(SampleInstallation::utf16le(text), before, after);

    QCOMPARE(edited.value_or(QByteArray()), SampleInstallation::utf16le(expected));
}

QTEST_MAIN(tst_Preferences)
#include "tst_preferences.moc"
