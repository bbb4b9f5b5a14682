#pragma once
// The operation log window: runs one file operation (deleting the files
// marked cross, renaming, restoring names) on a worker thread and shows its
// log as files are done. "S&top" asks the worker to end before its next unit
// of work; Close, Escape and the close box do the same while it runs. When
// the worker has ended, "&Save..." and "&Close" (the default button) are
// enabled, and the log is added to the lasting record of operations
// (fileops/LogFiles.h) under the window's caption.
//
// Use: construct it with the caption and the worker, exec() it, then look
// at started() (false: no thread could be started, an "Error" box said so
// and nothing ran) and at what the worker itself reported.
//
// The worker gets the callbacks of fileops/OperationCallbacks.h: `append`
// hands text to the window (taken every 50 ms, shown in bounded pieces),
// `askEmptyDirectory` asks CDelEmptyDirDlg on the user-interface thread and
// waits for the answer, `stop` is the stop request. It never touches a
// widget.

#include "fileops/OperationCallbacks.h"
#include "gui/dialogs/CLogDialog.h"
#include "gui/dialogs/WorkerThread.h"

#include <QTimer>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class CProcessDlg : public CLogDialog {
    Q_OBJECT
public:
    static constexpr int kStopId = 1017;

    // The operation, run on the worker thread with the window's callbacks.
    // Answers true when it ended on the stop request, before its end.
    using Worker = std::function<bool(const paradrex::OperationCallbacks& callbacks)>;
    // The worker starts when the window is first shown.
    CProcessDlg(QWidget* parent, const QString& caption, Worker worker, WorkerStarter starter = {});
    // Waits for a worker still running (asking it to stop first).
    ~CProcessDlg() override;

    QPushButton* stopButton() const { return stop_; }

    bool started() const { return started_; }
    // The worker has ended and the window has heard of it.
    bool finished() const { return finished_; }
    bool stopRequested() const { return stopFlag_.load(std::memory_order_relaxed); }
    // The worker ended on the stop request (its own answer).
    bool stopped() const { return stopped_.load(); }

    // Returns once the worker has ended (the window closed after it, or the
    // event loop was left: then the worker is stopped and waited for).
    int exec() override;
    // Closes the window only once the worker has ended; before, a close
    // asks it to stop.
    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Start();
    void Stop();
    void TakeLog();
    void OnFinished();
    paradrex::EmptyDirAnswer AskEmptyDirectory(const std::string& path);
    // Waits for the worker, keeping the event loop running: the worker may
    // wait for a question on this thread.
    void WaitForWorker();

    QString caption_;
    Worker worker_;
    WorkerStarter starter_;
    QPushButton* stop_ = nullptr;
    QTimer takeTimer_;

    std::mutex pendingMutex_;
    std::string pending_; // appended by the worker, taken by the timer
    std::atomic<bool> stopFlag_{false};
    std::atomic<bool> stopped_{false};
    std::atomic<bool> workerEnded_{false};
    std::thread thread_;
    bool initialised_ = false;
    bool started_ = false;
    bool finished_ = false;
    // Set when the window goes away under a running worker: its questions
    // are answered "No to All" without asking.
    bool abandoned_ = false;
};
