// SPDX-License-Identifier: GPL-3.0-or-later
#include "presses.h"

#include "baselinecopy.h"
#include "launcherpress.h"
#include "measuring.h"
#include "phasetable.h"

#include <QDir>
#include <QFile>

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

// The system's durable copy of one pack beside its target, removed again.
double copiedAside(const SampleInstallation &sample, const Pack &pack)
{
    const QString copy = targetPath(sample, pack) + ".copy";
    QElapsedTimer timer;
    timer.start();
    const bool copied = baselineCopy(sample.modFolder() + '/' + pack.source, copy);
    const double ms = elapsedMs(timer);
    QFile::remove(copy);
    return copied ? ms : -1;
}

struct Pairs
{
    QVector<Press> presses;
    Timings baseline;
    Timings ratios; // press / baseline, a pair each
};

// The disk's speed drifts over a run of the benchmark, so each press is
// paired with a baseline copy made right before or after it (alternately),
// and the figure is the median of the pairs' ratios. Both halves of a pair
// begin alike: what the press's further presses leave behind (the game they
// start, the memory their windows used) comes after the pair, before the
// next one's first half, whichever kind that is.
template<typename FollowUp>
Pairs pairedRatios(const SampleInstallation &sample, const QList<Pack> &packs, int runs,
                   const QString &button, FollowUp followUp)
{
    // The first copies after the sample's packs were written are slow for
    // either kind, as the memory the system hands out settles: one pair that
    // is not counted.
    prepareRun(sample, packs);
    launcherPress(button, bigTheme);
    prepareRun(sample, packs);
    baselinePress(sample, packs);
    Pairs pairs;
    for (int run = 0; run < runs; ++run) {
        double baselineMs = 0;
        for (int half = 0; half < 2; ++half) {
            prepareRun(sample, packs);
            if ((half == 0) == (run % 2 == 0))
                pairs.presses << launcherPress(button, bigTheme);
            else
                baselineMs = baselinePress(sample, packs);
        }
        if (baselineMs <= 0)
            return Pairs();
        pairs.baseline.ms << baselineMs;
        pairs.ratios.ms << pairs.presses.last().ms / baselineMs;
        prepareRun(sample, packs);
        followUp();
    }
    return pairs;
}

Timings timingsOf(const QVector<Press> &presses, double Press::*figure)
{
    Timings timings;
    for (const Press &press : presses)
        timings.ms << press.*figure;
    return timings;
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

    Timings repeat, repeatRatio, sizeRatio, sizeCopyRatio;
    Press again, otherSize;
    QVector<Press> otherSizes;
    const auto followUp = [&] {
        const Press before = launcherPress("ButtonClassic", bigTheme);
        // The same choices again, as the player who starts the game anew.
        again = launcherPress("ButtonClassic", bigTheme);
        repeat.ms << again.ms;
        repeatRatio.ms << again.ms / before.ms;
        // Only another interface size: only that pack is copied.
        cacheSources(sample, {otherSizePack}); // as the first press's sources are
        // Paired, as the first press is, with the system's copy of its bytes.
        const bool copyFirst = sizeCopyRatio.ms.size() % 2 == 1;
        const double copyBefore = copyFirst ? copiedAside(sample, otherSizePack) : 0;
        otherSize = launcherPress("ButtonClassic", bigTheme, 2);
        const double copyMs = copyFirst ? copyBefore : copiedAside(sample, otherSizePack);
        sizeRatio.ms << otherSize.ms / before.ms;
        sizeCopyRatio.ms << otherSize.ms / copyMs;
        otherSizes << otherSize;
    };
    const Pairs pairs = pairedRatios(sample, battlePacks, runs, "ButtonClassic", followUp);
    if (pairs.presses.isEmpty())
        fail("cannot copy the packs with the system's calls");
    const Press &first = pairs.presses.last();

    const qint64 total = totalSize(battlePacks);
    const QString size = QString::number(total / MB) + " MB";
    timingsRow(QString("Classic press, %1, until the game starts (%2 runs)").arg(size).arg(runs),
               timingsOf(pairs.presses, &Press::ms), "");
    timingsRow("the same, until the old files are deleted too",
               timingsOf(pairs.presses, &Press::finishedMs), "");
    timingsRow("longest GUI stall", timingsOf(pairs.presses, &Press::longestStallMs), "< 50 ms");
    timingsRow(QString("burst: first move to the journal's removal (%1 moves)").arg(first.moves),
               timingsOf(pairs.presses, &Press::burstMs), "");
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
    ratioRow("press with another size / copy of its pack (paired)", sizeCopyRatio, "");
    row("press with another size: packs copied", QString::number(otherSize.copied.size()),
        otherSize.copied.join(", "), "");
    timingsRow("baseline: copy_file_range + fdatasync", pairs.baseline, "");
    ratioRow("press / baseline (paired)", pairs.ratios, "<= 1.10");
    phaseTable("Phases of the first Classic press", pairs.presses, pairs.ratios.ms);
    phaseTable("Phases of the press with another size", otherSizes);
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

    Timings repeatRatio;
    qint64 repeatBytes = 0;
    const auto followUp = [&] {
        const double ms = launcherPress("SPCbava", bigTheme).ms;
        const Press again = launcherPress("SPCbava", bigTheme);
        repeatRatio.ms << again.ms / ms;
        repeatBytes = qMax(repeatBytes, again.bytesWritten);
    };
    const Pairs pairs = pairedRatios(sample, packs, runs, "SPCbava", followUp);
    if (pairs.presses.isEmpty())
        fail("cannot copy the packs with the system's calls");

    const QString size = QString::number(totalSize(packs) / MB) + " MB";
    out << '\n';
    row("figure", "median", "spread (min .. max)", "goal");
    timingsRow(
        QString("campaign press, %1 kept, to the game's start (%2 runs)").arg(size).arg(runs),
        timingsOf(pairs.presses, &Press::ms), "");
    ratioRow("repeat campaign press / first campaign press", repeatRatio, "<= 0.05");
    row("repeat campaign press: bytes written", QString("%1 B").arg(repeatBytes), "", "no pack");
    timingsRow("baseline: the kept packs, copied the same way", pairs.baseline, "");
    ratioRow("campaign press / baseline (paired)", pairs.ratios, "<= 1.10");
    phaseTable("Phases of the first campaign press", pairs.presses, pairs.ratios.ms);
}
