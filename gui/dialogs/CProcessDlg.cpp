#include "gui/dialogs/CProcessDlg.h"

#include "fileops/LogFiles.h"
#include "gui/dialogs/CDelEmptyDirDlg.h"
#include "platform/ErrorRecord.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>

#include <chrono>
#include <ctime>
#include <system_error>

using paradrex::EmptyDirAnswer;

namespace {

// How often the worker's log text is taken into the window.
constexpr int kTakeIntervalMs = 50;

} // namespace

CProcessDlg::CProcessDlg(QWidget* parent, const QString& caption, Worker worker,
                         WorkerStarter starter)
    : CLogDialog(parent, 321, 241), caption_(caption), worker_(std::move(worker)),
      starter_(OrPlainThread(std::move(starter))) {
    setWindowTitle(caption_);
    setObjectName(QStringLiteral("id215"));
    stop_ = new QPushButton(QStringLiteral("S&top"), this);
    stop_->setObjectName(QStringLiteral("id%1").arg(kStopId));
    stop_->setFixedSize(saveButton()->size());
    stop_->setAutoDefault(false);
    InsertButton(stop_);
    saveButton()->setEnabled(false);
    closeButton()->setEnabled(false);
    connect(stop_, &QPushButton::clicked, this, &CProcessDlg::Stop);
    takeTimer_.setInterval(kTakeIntervalMs);
    connect(&takeTimer_, &QTimer::timeout, this, &CProcessDlg::TakeLog);
}

CProcessDlg::~CProcessDlg() {
    if (thread_.joinable())
        WaitForWorker();
}

void CProcessDlg::showEvent(QShowEvent* event) {
    CLogDialog::showEvent(event);
    if (!initialised_) {
        initialised_ = true;
        Start();
    }
}

void CProcessDlg::Start() {
    paradrex::OperationCallbacks callbacks;
    callbacks.append = [this](std::string_view text) {
        const std::lock_guard lock(pendingMutex_);
        pending_.append(text);
    };
    callbacks.askEmptyDirectory = [this](const std::string& path) {
        // Unanswered (the window went away first): keep the directory.
        EmptyDirAnswer answer = EmptyDirAnswer::NoToAll;
        QMetaObject::invokeMethod(
            this, [&] { answer = AskEmptyDirectory(path); }, Qt::BlockingQueuedConnection);
        return answer;
    };
    callbacks.stop = &stopFlag_;

    takeTimer_.start();
    try {
        thread_ = starter_([this, callbacks = std::move(callbacks)] {
            stopped_ = worker_(callbacks);
            // The notice goes out before the end is marked: once the window
            // sees the end it may go away.
            QMetaObject::invokeMethod(this, &CProcessDlg::OnFinished, Qt::QueuedConnection);
            workerEnded_ = true;
        });
        started_ = true;
    } catch (const std::system_error&) {
        // Nothing ran; the caller finds its data as it was.
        takeTimer_.stop();
        RefuseWorkerStart(this);
    }
}

void CProcessDlg::Stop() {
    stopFlag_.store(true, std::memory_order_relaxed);
    if (stop_->hasFocus())
        logView()->setFocus();
    stop_->setEnabled(false);
}

void CProcessDlg::TakeLog() {
    std::string taken;
    {
        const std::lock_guard lock(pendingMutex_);
        taken.swap(pending_);
    }
    AddLog(taken);
}

void CProcessDlg::OnFinished() {
    if (finished_)
        return;
    takeTimer_.stop();
    if (thread_.joinable())
        thread_.join();
    TakeLog();
    finished_ = true;
    const bool focusLost = !focusWidget() || focusWidget() == stop_;
    stop_->setEnabled(false);
    saveButton()->setEnabled(true);
    closeButton()->setEnabled(true);
    if (focusLost)
        closeButton()->setFocus();

    const std::string record = paradrex::OperationRecordPath();
    if (record.empty())
        return;
    if (auto kept = paradrex::AppendOperationRecord(record, caption_.toStdString(), logText(),
                                                    stopped(), std::time(nullptr));
        !kept)
        paradrex::_Error_record("The operation was not recorded: " + kept.error().Message())
            .Write();
}

EmptyDirAnswer CProcessDlg::AskEmptyDirectory(const std::string& path) {
    if (abandoned_)
        return EmptyDirAnswer::NoToAll;
    // The question comes with the log up to the files before it.
    TakeLog();
    CDelEmptyDirDlg question(this, path);
    question.exec();
    return question.answer();
}

void CProcessDlg::done(int result) {
    if (started_ && !finished_) {
        Stop();
        return;
    }
    CLogDialog::done(result);
}

void CProcessDlg::reject() {
    if (started_ && !finished_) {
        Stop();
        return;
    }
    CLogDialog::reject();
}

int CProcessDlg::exec() {
    const int result = CLogDialog::exec();
    // The event loop may have been left under a running worker (the
    // application quits).
    if (thread_.joinable() && !finished_)
        WaitForWorker();
    return result;
}

void CProcessDlg::WaitForWorker() {
    abandoned_ = true;
    stopFlag_ = true;
    while (!workerEnded_) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (thread_.joinable())
        thread_.join();
}
