// SPDX-License-Identifier: GPL-3.0-or-later
#include "pressrun.h"

#include <QThread>

namespace {

// Often enough for a smooth bar, rarely enough not to flood the window.
constexpr qint64 progressIntervalMs = 15;
// Long enough for the window to start the game, short enough that a window
// that never says so keeps no other launcher waiting long.
constexpr auto goOnAfter = std::chrono::seconds(1);

} // namespace

PressRun::PressRun(const PressRequest &request, QObject *parent)
    : QObject(parent)
    , m_request(request)
    , m_thread(QThread::create([this] { executePress(m_request, this); }))
{
    m_thread->setObjectName(QStringLiteral("press"));
    connect(m_thread, &QThread::finished, this, &PressRun::finished);
}

PressRun::~PressRun()
{
    requestStop();
    m_thread->wait();
    delete m_thread;
}

PressReport PressRun::report() const
{
    const std::lock_guard<std::mutex> lock(m_reportMutex);
    return m_report;
}

void PressRun::start()
{
    m_sinceProgress.start();
    m_thread->start();
}

void PressRun::requestStop()
{
    {
        const std::lock_guard<std::mutex> lock(m_goOnMutex);
        m_stop = true;
    }
    m_goOnSignal.notify_all();
}

void PressRun::goOn()
{
    {
        const std::lock_guard<std::mutex> lock(m_goOnMutex);
        m_goOn = true;
    }
    m_goOnSignal.notify_all();
}

void PressRun::copied(const QString &file, qint64 done, qint64 total)
{
    if (file == m_lastFile && done < total && m_sinceProgress.elapsed() < progressIntervalMs)
        return;
    m_lastFile = file;
    m_sinceProgress.restart();
    emit progress(file, done, total);
}

bool PressRun::stopRequested()
{
    return m_stop;
}

void PressRun::pressEnded(const PressReport &report)
{
    {
        const std::lock_guard<std::mutex> lock(m_reportMutex);
        m_report = report;
    }
    emit ended();
    if (report.stopped)
        return;
    std::unique_lock<std::mutex> lock(m_goOnMutex);
    m_goOnSignal.wait_for(lock, goOnAfter, [this] { return m_goOn || m_stop; });
}
