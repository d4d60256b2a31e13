// SPDX-License-Identifier: GPL-3.0-or-later
#include "presses.h"

#include "app/zolmlauncher.h"
#include "baselinecopy.h"
#include "measuring.h"
#include "press/filelayer.h"
#include "staging/pseudorandom.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

#include <unistd.h>

namespace {

constexpr qint64 MB = 1 << 20;
const QString bigTheme = QStringLiteral("Grande Armee");

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
const Pack otherSizePack = {"UI/Resize/1.5.pack", "../ZOLM_ui.pack", 30 * MB};

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

QString targetPath(const SampleInstallation &sample, const Pack &pack)
{
    return QDir::isAbsolutePath(pack.target) ? pack.target : sample.modFolder() + '/' + pack.target;
}

// Every target gone, everything earlier on disk, every source in the page
// cache: both kinds of run start from the same state.
void cacheSources(const SampleInstallation &sample, const QList<Pack> &packs)
{
    QByteArray block(int(MB), Qt::Uninitialized);
    for (const Pack &pack : packs) {
        QFile source(sample.modFolder() + '/' + pack.source);
        if (!source.open(QIODevice::ReadOnly))
            fail("cannot read " + source.fileName());
        while (source.read(block.data(), block.size()) > 0) { }
    }
}

void prepareRun(const SampleInstallation &sample, const QList<Pack> &packs)
{
    for (const Pack &pack : packs)
        QFile::remove(targetPath(sample, pack));
    ::sync();
    cacheSources(sample, packs);
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
    // What the press did to the files, as its file layer was asked:
    int flushes = 0; // of the new files and the journal
    int folderFlushes = 0; // of the folders the burst changed, and the journal's
    qint64 bytesWritten = 0;
    QStringList copied; // the targets of the copies
    int moves = 0;
    double burstMs = 0; // from the first move to the end of the last
    qint64 peakBytes = 0; // of new files on disk beside the old ones, at once
    qint64 largestFile = 0; // the peak of a press that put each file in place before the next
};

// Tells the press what its file layer is asked to do while it runs.
void watchFiles(Press *press, const QElapsedTimer &clock)
{
    files::watch([press, &clock](const files::Operation &operation) {
        const double now = elapsedMs(clock);
        switch (operation.kind) {
        case files::Operation::Copy:
            press->copied << QFileInfo(operation.path).fileName().mid(4); // "new." + target
            Q_FALLTHROUGH();
        case files::Operation::Write:
            press->bytesWritten += operation.bytes;
            press->peakBytes += operation.bytes;
            press->largestFile = qMax(press->largestFile, operation.bytes);
            break;
        case files::Operation::Flush:
            ++press->flushes;
            break;
        case files::Operation::FlushFolder:
            ++press->folderFlushes;
            break;
        case files::Operation::Move:
            if (press->moves++ == 0)
                press->burstMs = now;
            break;
        case files::Operation::Remove:
            if (operation.path.endsWith("journal.json"))
                press->burstMs = now - press->burstMs;
            break;
        default:
            break;
        }
        return 0;
    });
}

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
    watchFiles(&press, timer);
    window.findChild<QPushButton *>(button)->click();
    // The launch quits the application, which ends any event loop at once:
    // events are handled here instead.
    while (window.pressRunning())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    press.ms = elapsedMs(timer);
    files::watch({});
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

} // namespace

void battlePress(const QString &root, int runs)
{
    const SampleInstallation sample = layOut(root);
    const QString mod = sample.modFolder() + '/';
    for (const QString tint : {"amber", "dusk", "frost"}) {
        if (!sample.writeSizedFile(mod + "UI/Tint/" + tint + ".pack", 4 * MB))
            fail("cannot write the tints");
    }
    writePacks(sample, battlePacks + QList<Pack> {otherSizePack});
    QDir().mkpath(mod + "Temp");
    QDir::setCurrent(sample.launcherFolder());

    Timings launcher, repeat, stall, baseline, repeatRatio, sizeRatio, burst;
    Press first, again, otherSize;
    const auto press = [&] {
        first = launcherPress("ButtonClassic");
        launcher.ms << first.ms;
        stall.ms << first.longestStallMs;
        burst.ms << first.burstMs;
        // The same choices again, as the player who starts the game anew.
        again = launcherPress("ButtonClassic");
        repeat.ms << again.ms;
        repeatRatio.ms << again.ms / first.ms;
        // Only another interface size: only that pack is copied. The next
        // run starts with the targets gone.
        cacheSources(sample, {otherSizePack}); // as the first press's sources are
        otherSize = launcherPress("ButtonClassic", 2);
        sizeRatio.ms << otherSize.ms / first.ms;
        return first.ms;
    };
    const Timings ratios = pairedRatios(sample, battlePacks, runs, press, &baseline);

    const qint64 total = totalSize(battlePacks);
    const QString size = QString::number(total / MB) + " MB";
    timingsRow(QString("Classic press, %1 staged (%2 runs)").arg(size).arg(runs), launcher, "");
    timingsRow("longest GUI stall", stall, "< 50 ms");
    timingsRow(QString("burst: first move to the journal's removal (%1 moves)").arg(first.moves),
               burst, "");
    row("folders flushed: first press, repeat press",
        QString("%1, %2").arg(first.folderFlushes).arg(again.folderFlushes), "", "");
    row("peak extra disk space", QString::number(first.peakBytes / MB) + " MB",
        QString("one file at a time: %1 MB").arg(first.largestFile / MB), "");
    timingsRow("repeat press, packs in place", repeat, "");
    row("repeat press: files flushed, bytes written",
        QString("%1, %2 B").arg(again.flushes).arg(again.bytesWritten), "", "");
    ratioRow("repeat press / first press", repeatRatio, "<= 0.05");
    const double sizeShare = double(otherSizePack.size) / total;
    ratioRow("press with another size / first press", sizeRatio,
             "<= " + QString::number(sizeShare + 0.05, 'f', 3));
    row("press with another size: packs copied", QString::number(otherSize.copied.size()),
        otherSize.copied.join(", "), "");
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
    qint64 repeatBytes = 0;
    const auto press = [&] {
        const double ms = launcherPress("SPCbava").ms;
        first.ms << ms;
        const Press again = launcherPress("SPCbava");
        repeatRatio.ms << again.ms / ms;
        repeatBytes = qMax(repeatBytes, again.bytesWritten);
        return ms;
    };
    const Timings ratios = pairedRatios(sample, packs, runs, press, &baseline);

    const QString size = QString::number(totalSize(packs) / MB) + " MB";
    timingsRow(QString("campaign press, %1 kept (%2 runs)").arg(size).arg(runs), first, "");
    ratioRow("repeat campaign press / first campaign press", repeatRatio, "<= 0.05");
    row("repeat campaign press: bytes written", QString("%1 B").arg(repeatBytes), "", "no pack");
    if (!ratios.ms.isEmpty())
        timingsRow("baseline: the kept packs, copied the same way", baseline, "");
    ratioRow("campaign press / baseline (paired)", ratios, "<= 1.10");
}
