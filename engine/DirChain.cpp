#include "engine/DirChain.h"

#include <unistd.h>

namespace paradrex {

void DirChain::Push(const NameRecord* dir, int openFd) {
    frames_.push_back({dir, openFd});
    if (openFd >= 0 && ++open_ > kMaxOpen)
        CloseOldest();
}

void DirChain::MoveTo(const NameRecord* dir) {
    scratch_.clear();
    for (const NameRecord* r = dir; r; r = r->parent)
        scratch_.push_back(r); // leaf first
    const size_t n = scratch_.size();
    size_t keep = 0;
    while (keep < frames_.size() && keep < n && frames_[keep].dir == scratch_[n - 1 - keep])
        ++keep;
    Truncate(keep);
    for (size_t d = keep; d < n; ++d)
        Push(scratch_[n - 1 - d]);
}

void DirChain::Truncate(size_t d) {
    while (frames_.size() > d) {
        if (frames_.back().fd >= 0) {
            ::close(frames_.back().fd);
            --open_;
        }
        frames_.pop_back();
    }
}

void DirChain::CloseOldest() {
    // Keep the last few frames open: they are the ones in use.
    for (size_t i = 0; i + 2 < frames_.size() && open_ > kMaxOpen; ++i) {
        if (frames_[i].fd >= 0) {
            ::close(frames_[i].fd);
            frames_[i].fd = -1;
            --open_;
        }
    }
}

int DirChain::Fd() {
    if (frames_.empty())
        return -1;
    if (frames_.back().fd >= 0)
        return frames_.back().fd;
    size_t j = frames_.size() - 1;
    while (j > 0 && frames_[j - 1].fd < 0)
        --j;
    // frames_[j..] are closed; frames_[j-1] (if any) is open.
    for (size_t i = j; i < frames_.size(); ++i) {
        int fd;
        if (i == 0) {
            std::string path = DirectoryPath(frames_[0].dir);
            fd = platform::OpenRootDirectory(path.c_str());
        } else {
            fd = platform::OpenDirectoryAt(frames_[i - 1].fd, frames_[i].dir->text);
        }
        if (fd < 0)
            return -1;
        frames_[i].fd = fd;
        ++open_;
    }
    if (open_ > kMaxOpen)
        CloseOldest();
    return frames_.back().fd;
}

} // namespace paradrex
