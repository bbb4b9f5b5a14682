#pragma once
// How a file-operation worker talks to whoever runs it. Workers never see a
// widget: they append log text, ask about emptied directories and read the
// stop request through these, all on the thread that runs the worker.
//
// The desktop program runs a worker on a std::thread inside its log dialog:
// `append` hands the text to the dialog, which takes it into the log in
// batches, `askEmptyDirectory` makes a blocking call into the UI
// thread that shows CDelEmptyDirDlg and answers the pressed button (its id
// minus 1007), and `stop` is the dialog's flag that Stop, Close, Escape and
// the close box set. paradrex-cli runs the same worker synchronously, with
// `append` writing to standard output and the stop flag set by SIGINT.

#include "fileops/EmptyDirectoryCheck.h"
#include "fileops/FileOutcome.h"

#include <atomic>
#include <functional>
#include <string_view>

namespace paradrex {

struct OperationCallbacks {
    // Log text, appended as each file is done: whole lines ending in "\n",
    // and at the end the summary, whose last line has no line end.
    std::function<void(std::string_view text)> append;
    // The emptied-directory question of the delete operation; without it
    // every emptied directory is kept. The name operations ask nothing.
    AskEmptyDirectory askEmptyDirectory;
    // Read before each unit of work: a file of the delete operation, a
    // CloneRef of the name operations (NameOperations.h). Once set, the
    // worker ends before the next one, without summary (the delete
    // operation also without touching the result).
    const std::atomic<bool>* stop = nullptr;
    // Optional: each file's outcome as a value, just before its log line.
    std::function<void(const FileOutcome&)> fileDone;
};

} // namespace paradrex
