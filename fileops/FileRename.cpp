#include "fileops/FileRename.h"

#include "engine/BlockPool.h"
#include "platform/FileSystem.h"

#include <climits>
#include <cstring>

namespace paradrex {

bool IsOneFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.size() <= NAME_MAX &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

FileOutcome RenameFile(const FileRecord& file, std::string_view newName) {
    FileOutcome out;
    out.path = FilePath(file);
    out.target = newName;
    if (!IsOneFileName(newName)) {
        out.failure = FileFailure::BadName;
        return out;
    }
    if (newName == std::string_view(file.name))
        return out;

    platform::Result<platform::FileStatus> status = platform::StatusOf(out.path);
    if (!status) {
        out.failure = FileFailure::System;
        out.error = status.error();
        return out;
    }
    if (static_cast<uint64_t>(status->identity.device) != file.stamp.device ||
        static_cast<uint64_t>(status->identity.inode) != file.stamp.inode) {
        out.failure = FileFailure::Changed;
        return out;
    }
    std::string to;
    to.reserve(out.path.size() + newName.size());
    AppendFilePath(to, file.directory, newName);
    if (platform::Result<void> r = platform::RenameNoReplace(out.path, to); !r) {
        out.failure = FileFailure::System;
        out.error = r.error();
    }
    return out;
}

const char* CopyName(BlockPool& recordPool, std::string_view name) {
    char* copy = static_cast<char*>(recordPool.Allocate(name.size() + 1));
    std::memcpy(copy, name.data(), name.size());
    copy[name.size()] = '\0';
    return copy;
}

} // namespace paradrex
