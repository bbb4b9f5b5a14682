#include "fileops/EmptyDirectoryCheck.h"

#include "platform/FileSystem.h"

namespace paradrex {

std::string EmptyDirectoryQuestion(std::string_view path) {
    std::string text(path);
    text += " is empty. Do you want to remove it?";
    return text;
}

EmptyDirectoryCheck::EmptyDirectoryCheck(AskEmptyDirectory ask) : ask_(std::move(ask)) {
    if (!ask_)
        answer_ = EmptyDirAnswer::NoToAll;
}

void EmptyDirectoryCheck::Check(const std::string& path) {
    platform::Result<bool> empty = platform::IsDirectoryEmpty(path);
    if (!empty || !*empty)
        return;
    if (answer_ == EmptyDirAnswer::NoToAll)
        return;
    if (answer_ != EmptyDirAnswer::YesToAll)
        answer_ = ask_(path);
    if (answer_ == EmptyDirAnswer::Yes || answer_ == EmptyDirAnswer::YesToAll)
        (void)platform::RemoveDirectory(path);
}

} // namespace paradrex
