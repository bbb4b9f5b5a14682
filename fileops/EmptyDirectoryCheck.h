#pragma once
// Removing the directories a delete operation left empty. The worker checks
// every directory of the result tree below the roots after everything below
// it was handled (deepest first), so a chain of emptied directories goes
// from the bottom up. The roots are never offered, nor any directory that is
// not in the result tree. Nothing is logged or counted.

#include <functional>
#include <string>
#include <string_view>

namespace paradrex {

// The buttons of the question (CDelEmptyDirDlg), by value: "&Yes" 0 (the
// default button), "&No" 1, "Yes to All" 2, "No to All" 3.
enum class EmptyDirAnswer : int { Yes = 0, No = 1, YesToAll = 2, NoToAll = 3 };

// The question's text: the path, then " is empty. Do you want to remove it?".
std::string EmptyDirectoryQuestion(std::string_view path);

// Asks about one empty directory and waits for the answer. Called on the
// worker's thread.
using AskEmptyDirectory = std::function<EmptyDirAnswer(const std::string& path)>;

// The answers of one operation: after Yes to All the rest is removed without
// asking, after No to All kept without asking; after Yes or No the next
// directory is asked about again. A new operation starts asking again.
class EmptyDirectoryCheck {
public:
    // Without a way to ask, every empty directory is kept.
    explicit EmptyDirectoryCheck(AskEmptyDirectory ask);

    // When the directory is empty on disk: removes it or keeps it, as the
    // answer so far or the user's new answer says. A removal that fails (the
    // directory was refilled, access denied) is ignored.
    void Check(const std::string& path);

    EmptyDirAnswer answer() const { return answer_; }

private:
    AskEmptyDirectory ask_;
    EmptyDirAnswer answer_ = EmptyDirAnswer::Yes; // "no answer yet" asks, like Yes
};

} // namespace paradrex
