// SPDX-License-Identifier: GPL-3.0-or-later
#include "launcherpress.h"

#include "app/zolmlauncher.h"
#include "files/filelayer.h"
#include "measuring.h"
#include "press/phases.h"
#include "press/pressrun.h"
#include "staging/pseudorandom.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

#include <mutex>

QString phaseName(Phase phase)
{
    static const char *const names[phaseCount] = {
        "checks (lock, recovery, work out)",
        "copies",
        "file flushes",
        "journal: write, flush, remove",
        "burst: the moves",
        "folder flushes",
        "removed files deleted",
        "report of the last press",
        "settings saved, game started",
        "record of copies (after the start)",
        "old files deleted (after the start)",
    };
    return names[int(phase)];
}

namespace {

// Times the phases of one press as the press's thread and its file layer
// tell them; the game's start is told on the window's thread.
class PhaseClock
{
public:
    explicit PhaseClock(const QElapsedTimer &clock)
        : m_clock(clock)
    {
    }

    void enter(PressPhase phase)
    {
        switch (phase) {
        case PressPhase::Checks:
            return switchTo(Phase::Checks);
        case PressPhase::Prepare:
            return switchTo(Phase::Copies);
        case PressPhase::Journal:
            return switchTo(Phase::Journal);
        case PressPhase::Burst:
            return switchTo(Phase::Burst);
        case PressPhase::FolderFlushes:
            return switchTo(Phase::FolderFlushes);
        case PressPhase::OldFiles:
            return switchTo(m_current == Phase::Record ? Phase::OldFilesAfter : Phase::OldFiles);
        case PressPhase::Report:
            return switchTo(Phase::Report);
        case PressPhase::Record:
            // The window starts the game from here on, on its own thread.
            switchTo(Phase::Record);
            m_endedAt = elapsedMs(m_clock);
            return;
        case PressPhase::Done:
            return stop();
        }
    }
    // Within the preparation, a new file's flush follows its copy.
    void fileOperation(files::Operation::Kind kind)
    {
        if (m_current != Phase::Copies && m_current != Phase::FileFlushes)
            return;
        if (kind == files::Operation::Flush)
            switchTo(Phase::FileFlushes);
        else if (kind == files::Operation::Copy || kind == files::Operation::Write)
            switchTo(Phase::Copies);
    }
    void gameStarted(double at)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_gameStartedAt = at;
    }
    QMap<Phase, double> phases() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        QMap<Phase, double> phases = m_phases;
        if (m_gameStartedAt > m_endedAt && m_endedAt > 0)
            phases[Phase::GameStart] = m_gameStartedAt - m_endedAt;
        return phases;
    }

private:
    void switchTo(Phase phase)
    {
        stop();
        m_current = phase;
        m_running = true;
    }
    void stop()
    {
        const double now = elapsedMs(m_clock);
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_running)
            m_phases[m_current] += now - m_since;
        m_since = now;
        m_running = false;
    }

    const QElapsedTimer &m_clock;
    mutable std::mutex m_mutex;
    QMap<Phase, double> m_phases;
    Phase m_current = Phase::Checks;
    bool m_running = false;
    double m_since = 0;
    double m_endedAt = 0;
    double m_gameStartedAt = 0;
};

// Tells the press what its file layer is asked to do while it runs.
void watchFiles(Press *press, PhaseClock *phases, const QElapsedTimer &clock)
{
    files::watch([press, phases, &clock](const files::Operation &operation) {
        phases->fileOperation(operation.kind);
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
    watchPhases([phases](PressPhase phase) { phases->enter(phase); });
}

} // namespace

Press launcherPress(const QString &button, const QString &theme, int uiSize)
{
    ZolmLauncher window;
    // Every press draws the same tint: a repeat press with another tint
    // copies that one pack (4 MB) again.
    seedPseudoRandom(84);
    window.findChild<QComboBox *>("ComboUI")->setCurrentIndex(uiSize);
    window.findChild<QComboBox *>("ComboTheme")->setCurrentText(theme);
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
    PhaseClock phases(timer);
    watchFiles(&press, &phases, timer);
    window.findChild<QPushButton *>(button)->click();
    // After the window's own handler, which starts the game.
    if (auto *run = window.findChild<PressRun *>()) {
        QObject::connect(run, &PressRun::ended, &window, [&] {
            press.ms = elapsedMs(timer);
            phases.gameStarted(press.ms);
        });
    }
    // The launch quits the application, which ends any event loop at once:
    // events are handled here instead.
    while (window.pressRunning())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    press.finishedMs = elapsedMs(timer);
    if (press.ms == 0)
        press.ms = press.finishedMs;
    files::watch({});
    watchPhases({});
    press.phases = phases.phases();
    press.longestStallMs = qMax(press.longestStallMs, elapsedMs(sinceTick));
    return press;
}
