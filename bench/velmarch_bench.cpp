// Measures what a player waits for: the window's start-up, a "Classic battles"
// press on packs of realistic size against the platform's own durable copy
// (how long the window went without handling an event meanwhile, and the
// same press again with its packs in place), and one preferences edit.
//
// Usage: velmarch_bench [folder on the disk to measure] [battle runs, default 5]
#include "app/zolmlauncher.h"
#include "baselinecopy.h"
#include "sampleinstallation.h"
#include "staging/pressexecutor.h"
#include "staging/pseudorandom.h"
#include "timings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QStorageInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <unistd.h>

namespace {

constexpr qint64 MB = 1 << 20;
const QString bigTheme = QStringLiteral("Grande Armee");

QTextStream out(stdout);

struct Pack
{
    QString source; // below the mod's folder
    QString target; // below the mod's folder
    qint64 size;
};

// What one "Classic battles" press copies, with the first interface size, the
// big theme and any tint (all tints have one size).
const QList<Pack> battlePacks = {
    {"Version84/Classic/txt.pack", "../ZOLM_txt.pack", 20 * MB},
    {"Standard/boot.pack", "../boot.pack", 1 * MB},
    {"UI/Resize/1.25.pack", "../ZOLM_ui.pack", 30 * MB},
    {"UI/Luac/groups.pack", "Temp/cardgroups.pack", 3 * MB},
    {"UI/Tint/amber.pack", "Temp/tint.pack", 4 * MB},
    {"UI/Theme/" + bigTheme + "/mus.pack", "Temp/theme.pack", 150 * MB},
    {"UI/Theme/" + bigTheme + "/mov.pack", "../ZOLM_wz.pack", 250 * MB},
};

void fail(const QString &what)
{
    QTextStream(stderr) << "velmarch_bench: " << what << '\n';
    ::exit(1);
}

double elapsedMs(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void row(const QString &figure, const QString &median, const QString &spread, const QString &goal)
{
    out << figure.leftJustified(46) << median.rightJustified(12) << "  " << spread.leftJustified(22)
        << goal << '\n';
}

QString ms(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1) + " ms";
}

void timingsRow(const QString &figure, const Timings &t, const QString &goal)
{
    row(figure, ms(t.median()), ms(t.min()) + " .. " + ms(t.max()), goal);
}

SampleInstallation layOut(const QString &root)
{
    SampleInstallation sample(root);
    if (!QDir().mkpath(root) || !sample.create())
        fail("cannot lay out a sample installation in " + root);
    return sample;
}

void startUp(const QString &root)
{
    const SampleInstallation sample = layOut(root);
    // 40 theme folders and 20 interface sizes in all.
    if (!sample.addThemes(32) || !sample.addInterfaceSizes(17))
        fail("cannot add themes and sizes");
    QDir::setCurrent(sample.launcherFolder());

    Timings construct, constructAndShow;
    for (int run = 0; run < 20; ++run) {
        QElapsedTimer timer;
        timer.start();
        ZolmLauncher window;
        construct.ms << elapsedMs(timer);
        window.show();
        QApplication::processEvents();
        constructAndShow.ms << elapsedMs(timer);
    }
    timingsRow("start-up: constructor (20 runs)", construct, "< 30 ms");
    timingsRow("start-up: constructor, show, first paint", constructAndShow, "");
}

// Every target gone, everything earlier on disk, every source in the page
// cache: both kinds of run start from the same state.
void prepareRun(const SampleInstallation &sample)
{
    const QString mod = sample.modFolder() + '/';
    for (const Pack &pack : battlePacks)
        QFile::remove(mod + pack.target);
    ::sync();
    QByteArray block(int(MB), Qt::Uninitialized);
    for (const Pack &pack : battlePacks) {
        QFile source(mod + pack.source);
        if (!source.open(QIODevice::ReadOnly))
            fail("cannot read " + source.fileName());
        while (source.read(block.data(), block.size()) > 0) { }
    }
}

struct Press
{
    double ms = 0;
    double longestStallMs = 0; // longest gap between the ticks of a 10 ms timer
};

// A press as the player makes it, from the window's own event loop.
Press launcherPress()
{
    ZolmLauncher window;
    // Every press draws the same tint: a repeat press with another tint
    // copies that one pack (4 MB) again.
    seedPseudoRandom(84);
    window.findChild<QComboBox *>("ComboUI")->setCurrentIndex(1);
    window.findChild<QComboBox *>("ComboTheme")->setCurrentText(bigTheme);
    window.findChild<QCheckBox *>("ChkFreecam")->setChecked(true);
    window.show();
    QApplication::processEvents();

    Press press;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        press.longestStallMs = qMax(press.longestStallMs, elapsedMs(sinceTick));
        sinceTick.start();
    });
    ticker.start(10);
    QElapsedTimer timer;
    timer.start();
    sinceTick.start();
    window.findChild<QPushButton *>("ButtonClassic")->click();
    // The launch quits the application, which ends any event loop at once:
    // events are handled here instead.
    while (window.pressRunning())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    press.ms = elapsedMs(timer);
    press.longestStallMs = qMax(press.longestStallMs, elapsedMs(sinceTick));
    return press;
}

double baselinePress(const SampleInstallation &sample)
{
    const QString mod = sample.modFolder() + '/';
    QElapsedTimer timer;
    timer.start();
    for (const Pack &pack : battlePacks) {
        if (!baselineCopy(mod + pack.source, mod + pack.target))
            return -1;
    }
    return elapsedMs(timer);
}

void battlePress(const QString &root, int runs)
{
    const SampleInstallation sample = layOut(root);
    const QString mod = sample.modFolder() + '/';
    for (const QString tint : {"amber", "dusk", "frost"}) {
        if (!sample.writeSizedFile(mod + "UI/Tint/" + tint + ".pack", 4 * MB))
            fail("cannot write the tints");
    }
    for (const Pack &pack : battlePacks) {
        if (!sample.writeSizedFile(mod + pack.source, pack.size))
            fail("cannot write " + pack.source);
    }
    QDir().mkpath(mod + "Temp");
    QDir::setCurrent(sample.launcherFolder());

    Timings launcher, repeat, stall, baseline;
    const auto pressTwice = [&] {
        prepareRun(sample);
        const Press first = launcherPress();
        launcher.ms << first.ms;
        stall.ms << first.longestStallMs;
        // The same choices again, as the player who starts the game anew.
        repeat.ms << launcherPress().ms;
    };
    for (int run = 0; run < runs; ++run) {
        // Alternate which goes first, so neither always follows the other.
        if (run % 2 == 0)
            pressTwice();
        prepareRun(sample);
        baseline.ms << baselinePress(sample);
        if (run % 2 == 1)
            pressTwice();
    }
    qint64 total = 0;
    for (const Pack &pack : battlePacks)
        total += pack.size;
    const QString size = QString::number(total / MB) + " MB";
    timingsRow(QString("Classic press, %1 staged (%2 runs)").arg(size).arg(runs), launcher, "");
    timingsRow("longest GUI stall", stall, "< 50 ms");
    timingsRow("repeat press, packs in place", repeat, "");
    row("repeat press / first press", QString::number(repeat.median() / launcher.median(), 'f', 3),
        "", "<= 0.05");
    if (baseline.min() < 0) {
        row("baseline copy", "n/a", "", "");
        return;
    }
    timingsRow("baseline: copy_file_range + fdatasync", baseline, "");
    row("ratio, press / baseline (medians)",
        QString::number(launcher.median() / baseline.median(), 'f', 3), "", "<= 1.10");
}

void preferencesEdit(const QString &root)
{
    const SampleInstallation sample = layOut(root);
    QString text;
    for (int i = 0; text.size() < 32 * 1024 - 200; ++i)
        text += QString("setting_%1 %2;\r\n").arg(i).arg(i % 7);
    text += "default_camera_type 0;\r\nui_land_unit_ids 2;\r\nui_card_mode 2;\r\n"
            "ui_order_button_mode 2;\r\n";
    const QByteArray bytes = SampleInstallation::utf16le(text).leftJustified(64 * 1024, ' ', true);
    if (!sample.writeFile(sample.scriptsFolder() + "/preferences.script.txt", bytes))
        fail("cannot write the preferences");
    qputenv("XDG_DATA_HOME", QFile::encodeName(sample.userDataHome()));
    QDir::setCurrent(sample.launcherFolder());

    ZolmLauncher window;
    auto *freeCamera = window.findChild<QCheckBox *>("ChkFreecam");
    Timings edits;
    for (int run = 0; run < 50; ++run) {
        // Every run changes the camera type, so that every run writes the file.
        freeCamera->setChecked(run % 2 == 0);
        QElapsedTimer timer;
        timer.start();
        executePlan({ZolmLauncher::applyPreferences(false, window.readChoices())});
        edits.ms << elapsedMs(timer);
    }
    timingsRow("preferences edit, 64 KB file (50 runs)", edits, "< 5 ms");
}

QString cpuModel()
{
    QFile cpuinfo("/proc/cpuinfo");
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QSysInfo::currentCpuArchitecture();
}

} // namespace

// The offscreen platform warns about every shown window; nothing to act on.
void quietOffscreen(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (!message.contains("propagateSizeHints"))
        QTextStream(stderr) << (type == QtDebugMsg ? "" : "warning: ") << message << '\n';
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    const QString base = app.arguments().value(1, QDir::currentPath());
    const int runs = qMax(1, app.arguments().value(2, "5").toInt());
    QTemporaryDir dir(base + "/velmarch-bench-XXXXXX");
    if (!dir.isValid())
        fail("cannot make a folder in " + base);
    const QStorageInfo disk(dir.path());

    out << "machine: " << cpuModel() << ", " << QThread::idealThreadCount() << " cores; "
        << QSysInfo::prettyProductName() << ", kernel " << QSysInfo::kernelVersion() << "; Qt "
        << qVersion() << '\n'
        << "disk: " << disk.device() << " (" << disk.fileSystemType() << ") at " << dir.path()
        << "\n\n";
    row("figure", "median", "spread (min .. max)", "goal");
    out.flush();

    startUp(dir.filePath("start-up"));
    preferencesEdit(dir.filePath("preferences"));
    out.flush();
    battlePress(dir.filePath("battle"), runs);
    return 0;
}
