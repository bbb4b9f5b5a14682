#include "engine/ContentComparer.h"

#include "engine/Checkpoint.h"
#include "engine/SearchState.h"
#include "platform/DirectoryIo.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex {

namespace {

constexpr size_t kMinChunk = 16u << 10;
constexpr size_t kMaxChunk = 1u << 20;
constexpr size_t kMaxOpenPerSet = 256;
constexpr size_t kSampleKey = ContentComparer::kSampleBlocks * ContentComparer::kSampleBlockSize;

bool Vanished(int err) {
    return err == ENOENT || err == ELOOP || err == ENOTDIR;
}

enum class Phase : uint8_t { Sampled, Sequential };

} // namespace

struct ContentComparer::Pending {
    std::vector<uint32_t> members; // indexes into members_, ascending
    uint64_t offset;
    Phase phase;
};

uint64_t ContentComparer::SampleOffset(uint64_t size, size_t k) {
    // k * span / 63, without overflowing 64 bits for any size.
    const uint64_t span = size - kSampleBlockSize;
    const uint64_t last = kSampleBlocks - 1;
    return k * (span / last) + k * (span % last) / last;
}

int ContentComparer::OpenFile(const FileRecord& record) {
    // Opened relative to its root's descriptor: the system walks only the
    // components below the root, and paths of any depth work.
    chain_.clear();
    for (const NameRecord* r = record.directory; r; r = r->parent)
        chain_.push_back(r); // leaf first; the root last
    const NameRecord* root = chain_.back();
    int rootFd = -1;
    for (const auto& [rec, fd] : rootFds_)
        if (rec == root)
            rootFd = fd;
    if (rootFd < 0) {
        rootFd = platform::OpenRootDirectory(root->text);
        if (rootFd < 0)
            return -1;
        rootFds_.push_back({root, rootFd});
    }
    path_.clear();
    for (size_t i = chain_.size() - 1; i-- > 0;) {
        path_.append(chain_[i]->text, chain_[i]->length);
        path_ += '/';
    }
    path_ += record.name;
    if (path_.size() < PATH_MAX)
        return platform::OpenFileForReading(rootFd, path_.c_str());
    // Too long for one call: descend one directory at a time.
    platform::Fd dir;
    int at = rootFd;
    for (size_t i = chain_.size() - 1; i-- > 0;) {
        dir = platform::Fd(platform::OpenDirectoryAt(at, chain_[i]->text));
        if (!dir.valid())
            return -1;
        at = dir.get();
    }
    return platform::OpenFileForReading(at, record.name);
}

ContentComparer::ContentComparer(SearchState& state, const ErrorSink& log, size_t memoryBudget)
    : state_(state), log_(log), budget_(memoryBudget) {}

ContentComparer::~ContentComparer() {
    for (Member& m : members_)
        Close(m);
    for (const auto& [rec, fd] : rootFds_)
        ::close(fd);
}

void ContentComparer::Close(Member& m) {
    if (m.fd >= 0) {
        ::close(m.fd);
        m.fd = -1;
    }
}

size_t ContentComparer::ChunkFor(size_t members) const {
    size_t chunk = budget_ / std::max<size_t>(members, 1);
    return std::clamp(chunk, kMinChunk, kMaxChunk);
}

bool ContentComparer::FirstOpen(Member& m, bool sampled) {
    m.opened = true;
    m.fd = OpenFile(*m.record);
    if (m.fd < 0) {
        if (!Vanished(errno))
            LogFileError(log_, m.record->directory, m.record->name,
                         sampled ? " can't open!" : "  can't open!");
        return false;
    }
    struct stat st;
    if (::fstat(m.fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) != size_) {
        Close(m); // changed since the scan
        return false;
    }
    // The same file reached under two names is compared once only.
    std::pair<uint64_t, uint64_t> id{static_cast<uint64_t>(st.st_dev),
                                     static_cast<uint64_t>(st.st_ino)};
    if (std::find(identities_.begin(), identities_.end(), id) != identities_.end()) {
        Close(m);
        return false;
    }
    identities_.push_back(id);
    if (size_ > kMaxChunk)
        ::posix_fadvise(m.fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

bool ContentComparer::Read(Member& m, uint64_t offset, size_t len, bool sampled,
                           unsigned char* out) {
    if (!m.opened) {
        if (!FirstOpen(m, sampled))
            return false;
    } else if (m.fd < 0) {
        m.fd = OpenFile(*m.record);
        if (m.fd < 0)
            return false;
    }
    auto readAt = [&](unsigned char* dst, size_t n, uint64_t at) -> int {
        size_t done = 0;
        while (done < n) {
            ssize_t r = ::pread(m.fd, dst + done, n - done, static_cast<off_t>(at + done));
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                return -1;
            }
            if (r == 0)
                return 0; // shorter than it was
            done += static_cast<size_t>(r);
        }
        return 1;
    };
    int ok = 1;
    if (sampled) {
        for (size_t k = 0; k < kSampleBlocks && ok == 1; ++k)
            ok = readAt(out + k * kSampleBlockSize, kSampleBlockSize, SampleOffset(size_, k));
    } else {
        ok = readAt(out, len, offset);
    }
    if (ok < 0)
        LogFileError(log_, m.record->directory, m.record->name, " read error!");
    if (ok != 1 || !keepOpen_ || (!sampled && offset + len == size_))
        Close(m);
    return ok == 1;
}

void ContentComparer::Compare(std::span<FileRecord* const> records,
                              std::vector<DuplicateGroup>& groups) {
    for (Member& m : members_)
        Close(m);
    members_.clear();
    identities_.clear();
    if (records.size() < 2)
        return;
    size_ = records.front()->size;
    keepOpen_ = records.size() <= kMaxOpenPerSet;
    for (FileRecord* r : records)
        members_.push_back({r, -1, false, false});

    std::vector<Pending> stack;
    {
        Pending all{{}, 0, size_ >= kSampledFrom ? Phase::Sampled : Phase::Sequential};
        for (uint32_t i = 0; i < members_.size(); ++i)
            all.members.push_back(i);
        stack.push_back(std::move(all));
    }
    bool first = true; // the first round opens every file, even empty ones
    std::vector<uint32_t> alive;
    std::vector<uint32_t> order;
    while (!stack.empty()) {
        Pending c = std::move(stack.back());
        stack.pop_back();
        if (c.members.size() < 2) {
            for (uint32_t i : c.members)
                Close(members_[i]);
            continue;
        }
        if (!first && c.phase == Phase::Sequential && c.offset == size_) {
            DuplicateGroup g;
            g.reserve(c.members.size());
            for (uint32_t i : c.members) {
                Close(members_[i]);
                g.push_back(members_[i].record);
            }
            groups.push_back(std::move(g));
            continue;
        }
        Checkpoint(state_);
        const bool sampled = c.phase == Phase::Sampled;
        const size_t len = sampled ? kSampleKey
                                   : static_cast<size_t>(std::min<uint64_t>(
                                         size_ - c.offset, ChunkFor(c.members.size())));
        if (buffer_.size() < c.members.size() * len)
            buffer_.resize(c.members.size() * len);
        alive.clear();
        for (uint32_t i : c.members) {
            if (Read(members_[i], c.offset, len, sampled, buffer_.data() + alive.size() * len))
                alive.push_back(i);
        }
        first = false;
        const unsigned char* buf = buffer_.data();
        auto slot = [&](uint32_t k) { return buf + static_cast<size_t>(k) * len; };
        auto next = [&](std::vector<uint32_t> members) {
            return Pending{std::move(members), sampled ? 0 : c.offset + len, Phase::Sequential};
        };
        if (alive.size() < 2) {
            for (uint32_t i : alive)
                Close(members_[i]);
            continue;
        }
        bool allEqual = true; // always so for empty files
        for (size_t k = 1; len > 0 && k < alive.size() && allEqual; ++k)
            allEqual = std::memcmp(slot(0), slot(static_cast<uint32_t>(k)), len) == 0;
        if (allEqual) {
            stack.push_back(next(alive));
            continue;
        }
        order.resize(alive.size());
        for (uint32_t k = 0; k < order.size(); ++k)
            order[k] = k;
        // Stable: equal chunks keep set order.
        std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            return std::memcmp(slot(a), slot(b), len) < 0;
        });
        // Runs of equal chunks, pushed so that the smallest content is handled first.
        std::vector<Pending> runs;
        for (size_t i = 0; i < order.size();) {
            size_t j = i + 1;
            while (j < order.size() && std::memcmp(slot(order[i]), slot(order[j]), len) == 0)
                ++j;
            std::vector<uint32_t> run;
            for (size_t k = i; k < j; ++k)
                run.push_back(alive[order[k]]);
            runs.push_back(next(std::move(run)));
            i = j;
        }
        for (auto it = runs.rbegin(); it != runs.rend(); ++it)
            stack.push_back(std::move(*it));
    }
}

} // namespace paradrex
