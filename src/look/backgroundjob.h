#pragma once

#include <QFutureWatcher>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>
#include <functional>
#include <memory>

class QProgressBar;
class QPushButton;
class QTimer;

// What a job running off the user-interface thread and the window that started it share: how
// far the job is, and whether it was asked to stop.
class JobState
{
public:
    static constexpr int Steps = 1000; // of the progress bar, for the whole job

    // Notes the share done (0 to 1); false once the job should stop.
    bool advance(double done)
    {
        m_done.store(int(done * Steps));
        return !m_cancelled.load();
    }
    int done() const { return m_done.load(); }
    void cancel() { m_cancelled.store(true); }
    bool cancelled() const { return m_cancelled.load(); }

private:
    std::atomic<int> m_done {0};
    std::atomic<bool> m_cancelled {false};
};

// A tool window's progress bar and "中止" button, one beside the other, shown only while a job
// runs. progressName is what a screen reader hears the bar as.
class JobControls : public QWidget
{
public:
    JobControls(const QString &progressName, QWidget *parent);

    std::shared_ptr<JobState> begin(); // a job starts: the controls show its progress
    void end(); // it ended: they hide
    bool running() const;
    void cancel(); // "中止": the job running is asked to stop
    bool cancelled() const; // the last job was asked to stop

private:
    std::shared_ptr<JobState> m_state;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_cancel = nullptr;
    QTimer *m_timer = nullptr;
};

// A job of a tool window, run off the user-interface thread with its controls showing; done gets
// its result on the user-interface thread, once the controls are hidden. A window closed while
// its job runs asks it to stop and waits for it.
template<class Result>
class BackgroundJob
{
public:
    BackgroundJob(JobControls *controls, std::function<void(Result)> done)
        : m_controls(controls)
    {
        QObject::connect(
            &m_watcher, &QFutureWatcherBase::finished, controls, [this, done = std::move(done)] {
                m_controls->end();
                done(m_watcher.result());
            });
    }
    ~BackgroundJob()
    {
        if (m_watcher.isRunning()) {
            m_controls->cancel();
            m_watcher.waitForFinished();
        }
    }
    BackgroundJob(const BackgroundJob &) = delete;
    BackgroundJob &operator=(const BackgroundJob &) = delete;

    // work(JobState &) returns the result, reporting its progress through the state.
    template<class Work>
    void start(Work work)
    {
        m_watcher.setFuture(QtConcurrent::run(
            [work = std::move(work), state = m_controls->begin()] { return work(*state); }));
    }
    bool running() const { return m_controls->running(); }
    void cancel() { m_controls->cancel(); }
    bool cancelled() const { return m_controls->cancelled(); }

private:
    JobControls *m_controls;
    QFutureWatcher<Result> m_watcher;
};
