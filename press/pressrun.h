// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "executor.h"

#include <QElapsedTimer>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <mutex>

class QThread;

// Runs a press's steps on a thread of their own, so that the window keeps
// painting and answering while packs are copied, and tells the object's own
// thread how far it got and when it ended.
class PressRun : public QObject, private PressObserver
{
    Q_OBJECT

public:
    explicit PressRun(const PressRequest &request, QObject *parent = nullptr);
    // Waits for the press, which changes no file after a stop before the
    // burst that puts its files in place, and ends that burst if it began.
    ~PressRun() override;

    void start();
    // The file being copied is still copied; the press then ends as stopped,
    // with every file as it was, unless its files were being put in place.
    void requestStop();
    // Once it has ended, the press keeps its record and deletes the old
    // files when told that the game has been started (or after a moment),
    // so that the game's start does not wait for the drive meanwhile.
    void goOn();
    // Whole once ended() has been emitted.
    PressReport report() const;

signals:
    // At most every few milliseconds, and whenever another file starts.
    void progress(const QString &file, qint64 done, qint64 total);
    // Every file is as the press leaves it: the game may be started.
    void ended();
    // The press has also kept its record and deleted the old files.
    void finished();

private:
    void copied(const QString &file, qint64 done, qint64 total) override;
    bool stopRequested() override;
    void pressEnded(const PressReport &report) override;

    const PressRequest m_request;
    // Written on the press's thread, read on the object's own.
    mutable std::mutex m_reportMutex;
    PressReport m_report;
    QThread *m_thread;
    std::atomic_bool m_stop {false};
    std::mutex m_goOnMutex;
    std::condition_variable m_goOnSignal;
    bool m_goOn = false;
    // Used on the press's thread only.
    QString m_lastFile;
    QElapsedTimer m_sinceProgress;
};
