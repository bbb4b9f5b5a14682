#pragma once
// "Process...": the modal dialog that runs one search on a worker thread,
// shows its counters every 500 ms, pauses, continues and stops it, and shows
// the timings when it is done. It cannot be cancelled: exec() returns 1028
// after Done, 209 once a stopped worker has ended, and 0 when the worker
// could not be started (the search then counts as stopped).

#include "engine/SearchDriver.h"
#include "engine/SearchState.h"
#include "uimodel/RunProgress.h"

#include <QDialog>
#include <QTimer>

#include <atomic>
#include <functional>
#include <map>
#include <thread>

class QPushButton;

class CRunDialog : public QDialog {
    Q_OBJECT
public:
    // Starts a thread running `body`; throws std::system_error when it
    // cannot, as std::thread does.
    using WorkerStarter = std::function<std::thread(std::function<void()> body)>;

    CRunDialog(QWidget* parent, paradrex::SearchState& state, paradrex::SearchEnvironment env,
               WorkerStarter starter = {});
    // Runs `work` on the worker instead of a search, with the same stages:
    // it sets the state's scanFinished and done flags as a search does and
    // obeys its pause and stop flags.
    CRunDialog(QWidget* parent, paradrex::SearchState& state, WorkerStarter starter,
               std::function<void()> work);
    ~CRunDialog() override;

    // The control with a dialog id (1016 to 1048), for tests.
    QWidget* Control(int id) const;
    int stage() const { return progress_.stage(); }

    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Initialise();
    void OnTimer();
    void Apply(const paradrex::RunProgress::Changes& changes);
    void JoinWorker();
    void BuildControls();

    paradrex::SearchState& state_;
    std::function<void()> work_;
    WorkerStarter starter_;
    paradrex::RunProgress progress_;
    QTimer timer_;
    std::thread worker_;
    std::atomic<bool> workerEnded_{false};
    bool initialised_ = false;
    std::map<int, QWidget*> controls_;
    QPushButton* pause_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* done_ = nullptr;
};
