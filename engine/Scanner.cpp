#include "engine/Scanner.h"

#include "engine/Checkpoint.h"
#include "engine/DirChain.h"
#include "engine/PathSet.h"
#include "platform/Clock.h"
#include "platform/DirectoryIo.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unordered_set>

namespace paradrex {

namespace {

struct DevIno {
    dev_t dev;
    ino_t ino;
    bool operator==(const DevIno&) const = default;
};

struct DevInoHash {
    size_t operator()(const DevIno& d) const {
        return std::hash<uint64_t>()(static_cast<uint64_t>(d.ino) * 0x9E3779B97F4A7C15ull ^
                                     static_cast<uint64_t>(d.dev));
    }
};

class Scan {
public:
    explicit Scan(SearchState& state) : state_(state), job_(state.job) {}

    void Run();

private:
    struct Frame {
        DirNode* node;
        dev_t dev;
        size_t nextChild;
    };

    bool TypeAccepted(std::string_view name) const;
    bool AttributesAccepted(std::string_view name, const struct stat& st) const;
    void ListTop();
    void ShowStatus(const NameRecord* dir, bool force);

    SearchState& state_;
    const SearchJob& job_;
    platform::VirtualFileSystems virtualFs_;
    DirChain chain_;
    std::vector<Frame> frames_;
    std::unordered_set<DevIno, DevInoHash> dirsSeen_;
    std::unordered_set<DevIno, DevInoHash> linkedFilesSeen_;
    mutable std::string extension_; // scratch for the lower-case extension
    uint64_t lastStatus_ = 0;
};

bool Scan::TypeAccepted(std::string_view name) const {
    if (job_.typeList.empty())
        return true;
    std::string_view ext = FileExtension(name);
    std::string& lower = extension_;
    lower.assign(ext);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return std::binary_search(job_.typeList.begin(), job_.typeList.end(), lower);
}

// Hidden: the name begins with a dot. Read-only: the owner may not write.
// No POSIX file carries the system attribute.
bool Scan::AttributesAccepted(std::string_view name, const struct stat& st) const {
    if (!job_.includeHidden && !name.empty() && name[0] == '.')
        return false;
    if (!job_.includeReadOnly && !(st.st_mode & S_IWUSR))
        return false;
    return true;
}

void Scan::ShowStatus(const NameRecord* dir, bool force) {
    uint64_t now = platform::TickMs();
    if (!force && now - lastStatus_ < 100)
        return;
    lastStatus_ = now;
    std::string text = DirectoryPath(dir);
    text += text.empty() || text.back() != '/' ? "/..." : "...";
    state_.SetStatusText(std::move(text));
}

void Scan::ListTop() {
    Frame& frame = frames_.back();
    DirNode* node = frame.node;
    Checkpoint(state_);
    ShowStatus(node->name, false);
    const int fd = chain_.Fd();
    if (fd < 0)
        return; // cannot be listed: counted, but no entries

    auto& counters = state_.counters;
    platform::DirectoryReader reader(fd);
    platform::DirectoryEntry entry;
    struct stat st;
    while (reader.Next(entry)) {
        if (entry.type == platform::EntryType::Other)
            continue; // links, FIFOs, sockets, devices
        const std::string_view name = entry.name;
        if (!job_.includeHidden && name[0] == '.')
            continue;
        if (entry.type == platform::EntryType::File && !TypeAccepted(name))
            continue;
        if (::fstatat(fd, name.data(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // vanished meanwhile
        if (S_ISDIR(st.st_mode)) {
            if (!AttributesAccepted(name, st))
                continue;
            if (st.st_dev != frame.dev) {
                platform::Fd probe(platform::OpenDirectoryAt(fd, name.data()));
                if (virtualFs_.Contains(st.st_dev, probe.get()))
                    continue;
            }
            if (!dirsSeen_.insert({st.st_dev, st.st_ino}).second)
                continue; // met before (bind mount): never listed twice
            counters.directoryCount.fetch_add(1, std::memory_order_relaxed);
            const NameRecord* rec = NameRecord::Create(state_.namePool, node->name, name);
            node->children.push_back(std::make_unique<DirNode>(rec));
            node->children.back()->device = st.st_dev;
        } else if (S_ISREG(st.st_mode)) {
            if (entry.type == platform::EntryType::Unknown && !TypeAccepted(name))
                continue;
            if (!AttributesAccepted(name, st))
                continue;
            const auto size = static_cast<uint64_t>(st.st_size);
            if (size > 0xFFFFFFFFull)
                continue;
            if (job_.minSizeEnabled && size < job_.minSize)
                continue;
            if (job_.maxSizeEnabled && size > job_.maxSize)
                continue;
            // A file met again under another name takes part only where it
            // was met first.
            if (st.st_nlink > 1 && !linkedFilesSeen_.insert({st.st_dev, st.st_ino}).second)
                continue;
            counters.fileCount.fetch_add(1, std::memory_order_relaxed);
            counters.totalSize.fetch_add(size, std::memory_order_relaxed);
            auto* stored = static_cast<char*>(state_.namePool.Allocate(name.size() + 1));
            std::memcpy(stored, name.data(), name.size() + 1);
            FileEntry fe;
            fe.size = static_cast<uint32_t>(size);
            fe.name = stored;
            node->files.push_back(fe);
        }
    }
}

void Scan::Run() {
    state_.dirTree = std::make_unique<DirNode>();
    DirNode* top = state_.dirTree.get();
    for (const std::string& root : job_.roots) {
        state_.counters.directoryCount.fetch_add(1, std::memory_order_relaxed);
        const NameRecord* rec = NameRecord::Create(state_.namePool, nullptr, root);
        top->children.push_back(std::make_unique<DirNode>(rec));
        DirNode* node = top->children.back().get();
        ShowStatus(rec, true);

        int fd = platform::OpenRootDirectory(root.c_str());
        struct stat st;
        if (fd >= 0 &&
            (::fstat(fd, &st) != 0 || !dirsSeen_.insert({st.st_dev, st.st_ino}).second)) {
            ::close(fd); // the same directory as one already scanned
            continue;
        }
        if (fd < 0) {
            Checkpoint(state_);
            continue;
        }
        chain_.Push(rec, fd);
        frames_.push_back({node, st.st_dev, 0});
        ListTop();
        while (!frames_.empty()) {
            Frame& f = frames_.back();
            if (f.nextChild < f.node->children.size()) {
                DirNode* child = f.node->children[f.nextChild++].get();
                chain_.Push(child->name);
                frames_.push_back({child, static_cast<dev_t>(child->device), 0});
                ListTop();
                continue;
            }
            // Post-order: a directory's files follow those of its subdirectories.
            for (FileEntry& fe : f.node->files)
                state_.sizeMap.Add(fe.size, &fe);
            if (f.node != node)
                ShowStatus(frames_[frames_.size() - 2].node->name, false);
            frames_.pop_back();
            chain_.Truncate(frames_.size());
        }
    }
    chain_.Truncate(0);
}

} // namespace

void ScanAllRoots(SearchState& state) {
    Scan(state).Run();
}

} // namespace paradrex
