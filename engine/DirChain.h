#pragma once
// The chain of directories from a root down to the one a phase is working
// in, with their descriptors opened lazily and relative to each other, so
// paths of any depth are reached without building path strings. Only a
// bounded number of descriptors stays open; a closed one is reopened from
// its nearest open ancestor when it is needed again.

#include "engine/SearchModel.h"
#include "platform/DirectoryIo.h"

#include <vector>

namespace paradrex {

class DirChain {
public:
    DirChain() = default;
    ~DirChain() { Truncate(0); }
    DirChain(const DirChain&) = delete;
    DirChain& operator=(const DirChain&) = delete;

    size_t depth() const { return frames_.size(); }
    // Appends a directory below the current last one (a root when the chain is empty).
    void Push(const NameRecord* dir, int openFd = -1);
    // Makes `dir` the last directory, keeping the frames it shares with the
    // current chain.
    void MoveTo(const NameRecord* dir);
    // Drops the frames at depth d and below.
    void Truncate(size_t d);
    // The descriptor of the last directory, opened on demand; -1 when it
    // cannot be opened.
    int Fd();

    static constexpr size_t kMaxOpen = 128;

private:
    struct Frame {
        const NameRecord* dir;
        int fd;
    };
    void CloseOldest();

    std::vector<Frame> frames_;
    std::vector<const NameRecord*> scratch_;
    size_t open_ = 0;
};

} // namespace paradrex
