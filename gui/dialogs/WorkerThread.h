#pragma once
// Starting the worker thread of a dialog that runs a long job (the search,
// re-verifying, deleting, renaming). Tests hand in their own starter to
// hold a worker back or to make the start fail.

#include <functional>
#include <thread>

class QDialog;

// Starts `body` on a thread; throws std::system_error when no thread can be
// started.
using WorkerStarter = std::function<std::thread(std::function<void()> body)>;

// The starter given, or one that starts a plain std::thread.
WorkerStarter OrPlainThread(WorkerStarter starter);

// The answer to a worker that could not start: the "Error" box, then the
// dialog closes (queued, so that it may be called while the dialog opens).
void RefuseWorkerStart(QDialog* dialog);
