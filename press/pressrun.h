#pragma once

#include "executor.h"

#include <QElapsedTimer>
#include <QObject>

#include <atomic>

class QThread;

// Runs a press's steps on a thread of their own, so that the window keeps
// painting and answering while packs are copied, and tells the object's own
// thread how far it got and when it ended.
class PressRun : public QObject, private PressObserver
{
    Q_OBJECT

public:
    explicit PressRun(const FilePlan &plan, QObject *parent = nullptr);
    // Lets the step being taken end and takes no further one.
    ~PressRun() override;

    void start();
    // The step being taken still finishes or rolls back; the press then ends
    // as stopped.
    void requestStop();
    // Whole once finished() has been emitted.
    const PressReport &report() const { return m_report; }

signals:
    // At most every few milliseconds, and whenever another file starts.
    void progress(const QString &file, qint64 done, qint64 total);
    void finished();

private:
    void copied(const QString &file, qint64 done, qint64 total) override;
    bool stopRequested() override;

    const FilePlan m_plan;
    PressReport m_report;
    QThread *m_thread;
    std::atomic_bool m_stop {false};
    // Used on the press's thread only.
    QString m_lastFile;
    QElapsedTimer m_sinceProgress;
};
