#include "engine/PrefixPass.h"

#include "engine/DirChain.h"
#include "engine/OrderedParallel.h"
#include "engine/SearchState.h"
#include "platform/DirectoryIo.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex {

namespace {

constexpr size_t kPrefixBytes = 500;

// A file that vanished or was replaced by a link since the scan is simply
// gone; any other failure to open it is worth a log line.
bool Vanished(int err) {
    return err == ENOENT || err == ELOOP || err == ENOTDIR;
}

// Reads up to n bytes at offset 0; the count read, or -1 on an error.
ssize_t ReadPrefix(int fd, unsigned char* buf, size_t n) {
    size_t done = 0;
    while (done < n) {
        ssize_t r = ::pread(fd, buf + done, n - done, static_cast<off_t>(done));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (r == 0)
            break;
        done += static_cast<size_t>(r);
    }
    return static_cast<ssize_t>(done);
}

} // namespace

uint32_t PrefixSum(std::span<const unsigned char> bytes) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        sum += static_cast<uint32_t>(bytes[i]) | static_cast<uint32_t>(bytes[i + 1]) << 8 |
               static_cast<uint32_t>(bytes[i + 2]) << 16 |
               static_cast<uint32_t>(bytes[i + 3]) << 24;
    }
    return sum;
}

void MarkSizeCandidates(SearchState& state) {
    state.sizeMap.Seal();
    state.sizeMap.ForEachSize([](uint64_t size, std::span<FileEntry* const> entries) {
        if (size < 4 || entries.size() < 2)
            return;
        for (FileEntry* e : entries)
            e->flags = FileEntry::kSizeCandidate;
    });
}

namespace {

// The directories holding entries with `flag`, in the order the phases visit
// them: the roots in order, each directory before its subdirectories, the
// subdirectories from the last to the first.
std::vector<DirNode*> DirectoriesWith(SearchState& state, uint32_t flag) {
    std::vector<DirNode*> out;
    if (!state.dirTree)
        return out;
    std::vector<DirNode*> stack;
    const auto& roots = state.dirTree->children;
    for (auto r = roots.rbegin(); r != roots.rend(); ++r)
        stack.push_back(r->get());
    while (!stack.empty()) {
        DirNode* node = stack.back();
        stack.pop_back();
        for (const FileEntry& e : node->files) {
            if (e.flags & flag) {
                out.push_back(node);
                break;
            }
        }
        for (auto& child : node->children)
            stack.push_back(child.get());
    }
    return out;
}

void ValidateDirectory(SearchState& state, DirNode& node, DirChain& chain, const ErrorSink& log) {
    unsigned char buf[kPrefixBytes + 8];
    for (FileEntry& e : node.files) {
        if (!(e.flags & FileEntry::kSizeCandidate))
            continue;
        const int dirFd = chain.Fd();
        platform::Fd fd(dirFd >= 0 ? platform::OpenFileForReading(dirFd, e.name) : -1);
        if (!fd.valid()) {
            e.flags |= FileEntry::kUnusable;
            if (dirFd >= 0 && !Vanished(errno)) {
                state.counters.validated.fetch_add(1, std::memory_order_relaxed);
                LogFileError(log, node.name, e.name, " can't open!");
            }
            continue;
        }
        struct stat st;
        if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
            e.flags |= FileEntry::kUnusable;
            continue;
        }
        state.counters.validated.fetch_add(1, std::memory_order_relaxed);
        if (static_cast<uint64_t>(st.st_size) != e.size) {
            e.flags |= FileEntry::kUnusable; // changed since the scan
            continue;
        }
        const size_t want =
            e.size < kPrefixBytes ? static_cast<size_t>(e.size) & ~size_t{3} : kPrefixBytes;
        const ssize_t got = ReadPrefix(fd.get(), buf, want);
        if (got < 0) {
            e.flags |= FileEntry::kUnusable;
            LogFileError(log, node.name, e.name, " read error!");
            continue;
        }
        if (static_cast<size_t>(got) != want) {
            e.flags |= FileEntry::kUnusable; // shrank meanwhile
            continue;
        }
        e.prefixSum = PrefixSum({buf, want});
        e.flags |= static_cast<uint32_t>(e.size & 0xFFFFu) << 16;
    }
}

} // namespace

void ValidatePrefixes(SearchState& state, const ErrorSink& log, unsigned threads) {
    std::vector<DirNode*> dirs = DirectoriesWith(state, FileEntry::kSizeCandidate);
    threads = std::max(threads, 1u);
    std::vector<DirChain> chains(threads);
    std::mutex logMutex;
    const ErrorSink sink = SerializedSink(log, logMutex);
    OrderedParallel<char>(
        state, dirs.size(), threads,
        [&](size_t i, unsigned worker) {
            DirChain& chain = chains[worker];
            chain.MoveTo(dirs[i]->name);
            ValidateDirectory(state, *dirs[i], chain, sink);
            return char{0};
        },
        [](size_t, char) {});
}

void BuildCandidateSets(SearchState& state) {
    std::vector<FileEntry*> usable;
    state.sizeMap.ForEachSize([&](uint64_t size, std::span<FileEntry* const> entries) {
        if (entries.size() < 2)
            return;
        if (size < 4) {
            // Never validated: every repeated size below 4 bytes is compared.
            for (FileEntry* e : entries)
                e->flags |= FileEntry::kCandidateMember;
            state.candidateSets.Append(entries);
            return;
        }
        usable.clear();
        for (FileEntry* e : entries)
            if (!(e->flags & FileEntry::kUnusable))
                usable.push_back(e);
        std::stable_sort(usable.begin(), usable.end(), [](const FileEntry* a, const FileEntry* b) {
            return a->prefixSum < b->prefixSum;
        });
        for (size_t i = 0; i < usable.size();) {
            size_t j = i + 1;
            while (j < usable.size() && usable[j]->prefixSum == usable[i]->prefixSum)
                ++j;
            if (j - i >= 2) {
                for (size_t k = i; k < j; ++k)
                    usable[k]->flags |= FileEntry::kCandidateMember;
                state.candidateSets.Append({usable.data() + i, j - i});
            }
            i = j;
        }
    });
}

void CreateRecords(SearchState& state, unsigned threads) {
    std::vector<DirNode*> dirs = DirectoriesWith(state, FileEntry::kCandidateMember);
    threads = std::max(threads, 1u);
    std::vector<DirChain> chains(threads);
    // What the one fstatat per file tells, kept for the file operations to
    // recognise the file later; a file that is gone has no record.
    struct Seen {
        int64_t modified;
        FileStamp stamp;
    };
    constexpr int64_t kGone = INT64_MIN;
    // Workers look at the files; the records are allocated here, in order.
    OrderedParallel<std::vector<Seen>>(
        state, dirs.size(), threads,
        [&](size_t i, unsigned worker) {
            DirChain& chain = chains[worker];
            chain.MoveTo(dirs[i]->name);
            std::vector<Seen> seen;
            for (FileEntry& e : dirs[i]->files) {
                if (!(e.flags & FileEntry::kCandidateMember))
                    continue;
                const int dirFd = chain.Fd();
                struct stat st;
                // Still the same file: a regular file of the size the scan saw.
                if (dirFd < 0 || ::fstatat(dirFd, e.name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
                    !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) != e.size)
                    seen.push_back({kGone, {}});
                else
                    seen.push_back(
                        {static_cast<int64_t>(st.st_mtim.tv_sec),
                         {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                          static_cast<uint32_t>(st.st_mtim.tv_nsec)}});
            }
            return seen;
        },
        [&](size_t i, std::vector<Seen> seen) {
            size_t k = 0;
            DirNode& node = *dirs[i];
            for (FileEntry& e : node.files) {
                if (!(e.flags & FileEntry::kCandidateMember))
                    continue;
                const Seen& s = seen[k++];
                e.record = s.modified == kGone
                               ? nullptr
                               : FileRecord::Create(state.recordPool, node.name, e.name, e.size,
                                                    s.modified, s.stamp);
            }
        });
}

} // namespace paradrex
