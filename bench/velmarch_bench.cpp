// Measures what a player waits for: the window's start-up, a "Classic battles"
// and a campaign press on packs of realistic size against the platform's own
// durable copy of the same packs (how long the window went without handling
// an event meanwhile, the same press again with its packs in place, and a
// press with only another interface size), and one preferences edit.
//
// Usage: velmarch_bench [folder on the disk to measure] [press runs, default 11]
#include "app/zolmlauncher.h"
#include "baselinecopy.h"
#include "press/executor.h"
#include "sampleinstallation.h"
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
    QString target; // below the mod's folder, or absolute
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
// The size a press after the first switches to: as large as the first.
const Pack otherSize = {"UI/Resize/1.5.pack", "../ZOLM_ui.pack", 30 * MB};

// What a "Bavaria" campaign press keeps, with the big theme: its movie pack
// is not copied, since the press removes it at its end. The load list goes
// to the scripts folder.
QList<Pack> campaignPacks(const SampleInstallation &sample)
{
    return {
        {"Standard/boot.pack", "../boot.pack", 1 * MB},
        {"Version80/Campaign/Bavaria/scripting.lua", "../campaigns/mp_eur_napoleon/scripting.lua",
         1 * MB},
        {"Version80/Campaign/Bavaria/startpos.esf", "../campaigns/zolm/startpos.esf", 40 * MB},
        {"Version80/Campaign/user.script.txt", sample.scriptsFolder() + "/user.script.txt", 4096},
        {"Version80/Campaign/txt.pack", "../ZOLM_txt.pack", 20 * MB},
        {"UI/Theme/" + bigTheme + "/mus.pack", "Temp/theme.pack", 150 * MB},
    };
}

qint64 totalSize(const QList<Pack> &packs)
{
    qint64 total = 0;
    for (const Pack &pack : packs)
        total += pack.size;
    return total;
}

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
    // Never the real per-user folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(sample.userDataHome()));
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

QString targetPath(const SampleInstallation &sample, const Pack &pack)
{
    return QDir::isAbsolutePath(pack.target) ? pack.target : sample.modFolder() + '/' + pack.target;
}

// Every target gone, everything earlier on disk, every source in the page
// cache: both kinds of run start from the same state.
void prepareRun(const SampleInstallation &sample, const QList<Pack> &packs)
{
    for (const Pack &pack : packs)
        QFile::remove(targetPath(sample, pack));
    ::sync();
    QByteArray block(int(MB), Qt::Uninitialized);
    for (const Pack &pack : packs) {
        QFile source(sample.modFolder() + '/' + pack.source);
        if (!source.open(QIODevice::ReadOnly))
            fail("cannot read " + source.fileName());
        while (source.read(block.data(), block.size()) > 0) { }
    }
}

void writePacks(const SampleInstallation &sample, const QList<Pack> &packs)
{
    for (const Pack &pack : packs) {
        if (!sample.writeSizedFile(sample.modFolder() + '/' + pack.source, pack.size))
            fail("cannot write " + pack.source);
    }
}

struct Press
{
    double ms = 0;
    double longestStallMs = 0; // longest gap between the ticks of a 10 ms timer
};

// A press as the player makes it, from the window's own event loop, with the
// big theme and the given interface size.
Press launcherPress(const QString &button, int uiSize = 1)
{
    ZolmLauncher window;
    // Every press draws the same tint: a repeat press with another tint
    // copies that one pack (4 MB) again.
    seedPseudoRandom(84);
    window.findChild<QComboBox *>("ComboUI")->setCurrentIndex(uiSize);
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
    window.findChild<QPushButton *>(button)->click();
    // The launch quits the application, which ends any event loop at once:
    // events are handled here instead.
    while (window.pressRunning())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    press.ms = elapsedMs(timer);
    press.longestStallMs = qMax(press.longestStallMs, elapsedMs(sinceTick));
    return press;
}

double baselinePress(const SampleInstallation &sample, const QList<Pack> &packs)
{
    QElapsedTimer timer;
    timer.start();
    for (const Pack &pack : packs) {
        if (!baselineCopy(sample.modFolder() + '/' + pack.source, targetPath(sample, pack)))
            return -1;
    }
    return elapsedMs(timer);
}

// The disk's speed drifts over a run of the benchmark, so each press is
// paired with a baseline copy made right before or after it (alternately),
// and the figure is the median of the pairs' ratios.
template<typename PressRun>
Timings pairedRatios(const SampleInstallation &sample, const QList<Pack> &packs, int runs,
                     PressRun press, Timings *baseline)
{
    Timings ratios;
    for (int run = 0; run < runs; ++run) {
        double pressMs = 0;
        double baselineMs = 0;
        for (int half = 0; half < 2; ++half) {
            prepareRun(sample, packs);
            if ((half == 0) == (run % 2 == 0))
                pressMs = press();
            else
                baselineMs = baselinePress(sample, packs);
        }
        if (baselineMs <= 0)
            return Timings();
        baseline->ms << baselineMs;
        ratios.ms << pressMs / baselineMs;
    }
    return ratios;
}

QString ratio(double value)
{
    return QString::number(value, 'f', 3);
}

void ratioRow(const QString &figure, const Timings &ratios, const QString &goal)
{
    if (ratios.ms.isEmpty())
        row(figure, "n/a", "", goal);
    else
        row(figure, ratio(ratios.median()), ratio(ratios.min()) + " .. " + ratio(ratios.max()),
            goal);
}

void battlePress(const QString &root, int runs)
{
    const SampleInstallation sample = layOut(root);
    const QString mod = sample.modFolder() + '/';
    for (const QString tint : {"amber", "dusk", "frost"}) {
        if (!sample.writeSizedFile(mod + "UI/Tint/" + tint + ".pack", 4 * MB))
            fail("cannot write the tints");
    }
    writePacks(sample, battlePacks + QList<Pack> {otherSize});
    QDir().mkpath(mod + "Temp");
    QDir::setCurrent(sample.launcherFolder());

    Timings launcher, repeat, stall, baseline, repeatRatio, sizeRatio;
    const auto press = [&] {
        const Press first = launcherPress("ButtonClassic");
        launcher.ms << first.ms;
        stall.ms << first.longestStallMs;
        // The same choices again, as the player who starts the game anew.
        const double again = launcherPress("ButtonClassic").ms;
        repeat.ms << again;
        repeatRatio.ms << again / first.ms;
        // Only another interface size: only that pack is copied. The next
        // run starts with the targets gone.
        sizeRatio.ms << launcherPress("ButtonClassic", 2).ms / first.ms;
        return first.ms;
    };
    const Timings ratios = pairedRatios(sample, battlePacks, runs, press, &baseline);

    const qint64 total = totalSize(battlePacks);
    const QString size = QString::number(total / MB) + " MB";
    timingsRow(QString("Classic press, %1 staged (%2 runs)").arg(size).arg(runs), launcher, "");
    timingsRow("longest GUI stall", stall, "< 50 ms");
    timingsRow("repeat press, packs in place", repeat, "");
    ratioRow("repeat press / first press", repeatRatio, "<= 0.05");
    const double sizeShare = double(otherSize.size) / total;
    ratioRow("press with another size / first press", sizeRatio,
             "<= " + QString::number(sizeShare + 0.05, 'f', 3));
    if (ratios.ms.isEmpty()) {
        row("baseline copy", "n/a", "", "");
        return;
    }
    timingsRow("baseline: copy_file_range + fdatasync", baseline, "");
    ratioRow("press / baseline (paired)", ratios, "<= 1.10");
}

void campaignPress(const QString &root, int runs)
{
    const SampleInstallation sample = layOut(root);
    const QList<Pack> packs = campaignPacks(sample);
    writePacks(sample, packs);
    // The movie pack the press does not copy, at its full size all the same.
    writePacks(sample, {battlePacks.last()});
    QDir().mkpath(sample.modFolder() + "/Temp");
    QDir::setCurrent(sample.launcherFolder());

    Timings first, repeatRatio, baseline;
    const auto press = [&] {
        const double ms = launcherPress("SPCbava").ms;
        first.ms << ms;
        repeatRatio.ms << launcherPress("SPCbava").ms / ms;
        return ms;
    };
    const Timings ratios = pairedRatios(sample, packs, runs, press, &baseline);

    const QString size = QString::number(totalSize(packs) / MB) + " MB";
    timingsRow(QString("campaign press, %1 kept (%2 runs)").arg(size).arg(runs), first, "");
    ratioRow("repeat campaign press / first campaign press", repeatRatio, "<= 0.05");
    if (!ratios.ms.isEmpty())
        timingsRow("baseline: the kept packs, copied the same way", baseline, "");
    ratioRow("campaign press / baseline (paired)", ratios, "<= 1.10");
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
    const int runs = qMax(1, app.arguments().value(2, "11").toInt());
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
    out.flush();
    campaignPress(dir.filePath("campaign"), runs);
    return 0;
}
