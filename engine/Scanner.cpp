#include "engine/Scanner.h"

#include "engine/Checkpoint.h"
#include "engine/DirChain.h"
#include "engine/PathSet.h"
#include "platform/Clock.h"
#include "platform/DirectoryIo.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace paradrex {

namespace {

struct DevIno {
    uint64_t dev;
    uint64_t ino;
    bool operator==(const DevIno&) const = default;
};

struct DevInoHash {
    size_t operator()(const DevIno& d) const {
        return std::hash<uint64_t>()(d.ino * 0x9E3779B97F4A7C15ull ^ d.dev);
    }
};

// The accepted entries of one directory, in listing order, with what the
// scan needs of each. Filters that depend only on the entry itself are
// applied while listing; those that depend on what was met before are not.
struct Listing {
    struct Entry {
        uint32_t nameOffset;
        uint32_t nameLength;
        bool directory;
        uint64_t size;
        uint64_t dev;
        uint64_t ino;
        uint64_t nlink;
    };
    bool listed = false;       // false: the directory could not be opened or listed
    uint64_t dev = 0, ino = 0; // of the directory that was listed
    std::vector<Entry> entries;
    std::string names; // every name followed by a NUL

    std::string_view Name(const Entry& e) const {
        return {names.data() + e.nameOffset, e.nameLength};
    }
    void Clear() {
        listed = false;
        entries.clear();
        names.clear();
    }
};

class Filters {
public:
    Filters(const SearchJob& job) : job_(job) {}

    // Reads the open directory into `out`. `dirDev` is the device the
    // directory lies on, to notice the mount points below it.
    void List(int fd, Listing& out) const {
        out.Clear();
        struct stat st;
        if (::fstat(fd, &st) != 0)
            return;
        out.dev = st.st_dev;
        out.ino = st.st_ino;
        platform::DirectoryReader reader(fd);
        platform::DirectoryEntry entry;
        std::string lower;
        while (reader.Next(entry)) {
            if (entry.type == platform::EntryType::Other)
                continue; // links, FIFOs, sockets, devices
            const std::string_view name = entry.name;
            // Hidden: the name begins with a dot.
            if (!job_.includeHidden && name[0] == '.')
                continue;
            if (entry.type == platform::EntryType::File && !TypeAccepted(name, lower))
                continue;
            if (::fstatat(fd, name.data(), &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // vanished meanwhile
            // Read-only: the owner may not write. No POSIX file carries the
            // system attribute.
            if (!job_.includeReadOnly && !(st.st_mode & S_IWUSR))
                continue;
            Listing::Entry e{};
            if (S_ISDIR(st.st_mode)) {
                if (st.st_dev != out.dev) {
                    platform::Fd probe(platform::OpenDirectoryAt(fd, name.data()));
                    if (virtualFs_.Contains(st.st_dev, probe.get()))
                        continue;
                }
                e.directory = true;
            } else if (S_ISREG(st.st_mode)) {
                if (entry.type == platform::EntryType::Unknown && !TypeAccepted(name, lower))
                    continue;
                const auto size = static_cast<uint64_t>(st.st_size);
                if (size > 0xFFFFFFFFull)
                    continue; // beyond what the engine handles
                if (job_.minSizeEnabled && size < job_.minSize)
                    continue;
                if (job_.maxSizeEnabled && size > job_.maxSize)
                    continue;
                e.size = size;
            } else {
                continue;
            }
            e.nameOffset = static_cast<uint32_t>(out.names.size());
            e.nameLength = static_cast<uint32_t>(name.size());
            e.dev = st.st_dev;
            e.ino = st.st_ino;
            e.nlink = st.st_nlink;
            out.names.append(name);
            out.names.push_back('\0');
            out.entries.push_back(e);
        }
        out.listed = true;
    }

private:
    bool TypeAccepted(std::string_view name, std::string& lower) const {
        if (job_.typeList.empty())
            return true;
        lower.assign(FileExtension(name));
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return std::binary_search(job_.typeList.begin(), job_.typeList.end(), lower);
    }

    const SearchJob& job_;
    platform::VirtualFileSystems virtualFs_;
};

// The path of a directory below its root ("a/b" for <root>/a/b).
void AppendPathBelowRoot(std::string& out, const NameRecord* dir) {
    const size_t start = out.size();
    for (const NameRecord* r = dir; r && r->parent; r = r->parent) {
        out.insert(start, r->text, r->length);
        if (r->parent->parent)
            out.insert(start, 1, '/');
    }
}

// Reader threads that list directories ahead of the scan. The scan submits
// the subdirectories of each directory it has listed; readers take the
// oldest submitted first: those the depth-first scan reaches last, so the
// readers work on one part of the tree while the scan lists the directories
// it needs at once itself.
class Prefetcher {
public:
    Prefetcher(SearchState& state, const Filters& filters, unsigned readers)
        : state_(state), filters_(filters) {
        for (unsigned i = 0; i < readers; ++i)
            threads_.emplace_back([this] { Work(); });
    }
    ~Prefetcher() {
        {
            std::lock_guard lock(mutex_);
            shutdown_ = true;
        }
        work_.notify_all();
        for (std::thread& t : threads_)
            t.join();
        for (Request* r : cancelled_)
            delete r;
    }

    bool active() const { return !threads_.empty(); }

    // The root whose directories are submitted next; every directory of the
    // previous root has been taken by then. The descriptor stays owned by
    // the caller.
    void SetRoot(int fd) {
        std::lock_guard lock(mutex_);
        rootFd_ = fd;
    }

    // Queues the directories (given in listing order) for reading.
    void Submit(const std::vector<DirNode*>& dirs) {
        if (!active() || dirs.empty())
            return;
        bool wake;
        {
            std::lock_guard lock(mutex_);
            for (auto it = dirs.begin(); it != dirs.end(); ++it) {
                auto request = std::make_unique<Request>();
                request->node = *it;
                queue_.push_back(request.get());
                requests_.emplace(*it, std::move(request));
            }
            wake = idleReaders_ > 0;
        }
        if (wake)
            work_.notify_all();
    }

    // The listing of `node` when a reader has it (waiting while one reads
    // it); false when nobody took it up, so the caller lists it itself.
    bool Take(DirNode* node, Listing& out) {
        if (!active())
            return false;
        std::unique_lock lock(mutex_);
        auto it = requests_.find(node);
        if (it == requests_.end())
            return false;
        Request* r = it->second.get();
        if (r->state == Request::Queued) {
            r->state = Request::Cancelled; // a reader drops it from the queue
            r->node = nullptr;
            it->second.release(); // owned by cancelled_ until then
            requests_.erase(it);
            cancelled_.push_back(r);
            return false;
        }
        if (r->state != Request::Done) {
            waitingFor_ = r;
            done_.wait(lock, [&] { return r->state == Request::Done; });
            waitingFor_ = nullptr;
        }
        std::swap(out, r->listing);
        const bool wasFull = ready_-- == kMaxReady;
        requests_.erase(it);
        lock.unlock();
        if (wasFull)
            work_.notify_all();
        return true;
    }

private:
    struct Request {
        enum State { Queued, Reading, Done, Cancelled } state = Queued;
        DirNode* node = nullptr;
        Listing listing;
    };
    static constexpr size_t kMaxReady = 256; // listings waiting to be taken

    void Work() {
        std::string path;
        for (;;) {
            Request* r;
            int rootFd;
            {
                std::unique_lock lock(mutex_);
                ++idleReaders_;
                for (;;) {
                    work_.wait(
                        lock, [&] { return shutdown_ || (!queue_.empty() && ready_ < kMaxReady); });
                    if (shutdown_) {
                        --idleReaders_;
                        return;
                    }
                    r = queue_.front();
                    queue_.pop_front();
                    if (r->state != Request::Cancelled)
                        break;
                    std::erase(cancelled_, r);
                    delete r;
                }
                --idleReaders_;
                r->state = Request::Reading;
                rootFd = rootFd_;
            }
            state_.WaitWhilePaused();
            if (!state_.stopRequested.load(std::memory_order_relaxed)) {
                // Opened relative to the root, so the system walks only the
                // components below it. Paths beyond the limit are left to the
                // scan's own chain of descriptors (the listing then reports
                // not listed, and the scan lists it itself).
                path.clear();
                AppendPathBelowRoot(path, r->node->name);
                if (path.size() < PATH_MAX) {
                    platform::Fd fd(platform::OpenDirectoryAt(rootFd, path.c_str()));
                    if (fd.valid())
                        filters_.List(fd.get(), r->listing);
                }
            }
            bool wake;
            {
                std::lock_guard lock(mutex_);
                r->state = Request::Done;
                ++ready_;
                wake = waitingFor_ == r;
            }
            if (wake)
                done_.notify_one();
        }
    }

    SearchState& state_;
    const Filters& filters_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable work_; // readers wait here
    std::condition_variable done_; // the scan waits here for one listing
    std::deque<Request*> queue_;   // the front is read first
    std::unordered_map<DirNode*, std::unique_ptr<Request>> requests_;
    std::vector<Request*> cancelled_; // taken back by the scan, still queued
    size_t ready_ = 0;
    size_t idleReaders_ = 0;
    int rootFd_ = -1;
    Request* waitingFor_ = nullptr;
    bool shutdown_ = false;
};

class Scan {
public:
    Scan(SearchState& state, unsigned readers)
        : state_(state), filters_(state.job), prefetcher_(state, filters_, readers) {}

    void Run();

private:
    void ListDirectory(DirNode* node);
    void Accept(DirNode* node, const Listing& listing);
    void ShowStatus(const NameRecord* dir, bool force);

    SearchState& state_;
    Filters filters_;
    Prefetcher prefetcher_;
    DirChain chain_;
    Listing listing_;
    std::vector<DirNode*> newChildren_;
    std::unordered_set<DevIno, DevInoHash> dirsSeen_;
    std::unordered_set<DevIno, DevInoHash> linkedFilesSeen_;
    uint64_t lastStatus_ = 0;
};

void Scan::ShowStatus(const NameRecord* dir, bool force) {
    uint64_t now = platform::TickMs();
    if (!force && now - lastStatus_ < 100)
        return;
    lastStatus_ = now;
    std::string text = DirectoryPath(dir);
    text += text.empty() || text.back() != '/' ? "/..." : "...";
    state_.SetStatusText(std::move(text));
}

// Lists the directory at the end of the chain: from a reader when one has
// it (and it is still the directory its parent listed), else here.
void Scan::ListDirectory(DirNode* node) {
    Checkpoint(state_);
    ShowStatus(node->name, false);
    const bool prefetched = prefetcher_.Take(node, listing_);
    if (!prefetched || !listing_.listed || listing_.dev != node->device ||
        listing_.ino != node->inode) {
        const int fd = chain_.Fd();
        if (fd >= 0)
            filters_.List(fd, listing_);
        else
            listing_.Clear(); // cannot be listed: counted, but no entries
    }
    Accept(node, listing_);
}

void Scan::Accept(DirNode* node, const Listing& listing) {
    auto& counters = state_.counters;
    newChildren_.clear();
    for (const Listing::Entry& e : listing.entries) {
        const std::string_view name = listing.Name(e);
        if (e.directory) {
            if (!dirsSeen_.insert({e.dev, e.ino}).second)
                continue; // met before (bind mount, loop): never listed twice
            counters.directoryCount.fetch_add(1, std::memory_order_relaxed);
            const NameRecord* rec = NameRecord::Create(state_.namePool, node->name, name);
            node->children.push_back(std::make_unique<DirNode>(rec));
            DirNode* child = node->children.back().get();
            child->device = e.dev;
            child->inode = e.ino;
            newChildren_.push_back(child);
        } else {
            // A file met again under another name takes part only where it
            // was met first.
            if (e.nlink > 1 && !linkedFilesSeen_.insert({e.dev, e.ino}).second)
                continue;
            counters.fileCount.fetch_add(1, std::memory_order_relaxed);
            counters.totalSize.fetch_add(e.size, std::memory_order_relaxed);
            auto* stored = static_cast<char*>(state_.namePool.Allocate(name.size() + 1));
            std::memcpy(stored, name.data(), name.size() + 1);
            FileEntry fe;
            fe.size = static_cast<uint32_t>(e.size);
            fe.name = stored;
            node->files.push_back(fe);
        }
    }
    prefetcher_.Submit(newChildren_);
}

void Scan::Run() {
    state_.dirTree = std::make_unique<DirNode>();
    DirNode* top = state_.dirTree.get();
    struct Frame {
        DirNode* node;
        size_t nextChild;
    };
    std::vector<Frame> frames;
    for (const std::string& root : state_.job.roots) {
        state_.counters.directoryCount.fetch_add(1, std::memory_order_relaxed);
        const NameRecord* rec = NameRecord::Create(state_.namePool, nullptr, root);
        top->children.push_back(std::make_unique<DirNode>(rec));
        DirNode* rootNode = top->children.back().get();
        ShowStatus(rec, true);

        int fd = platform::OpenRootDirectory(root.c_str());
        struct stat st;
        if (fd >= 0 &&
            (::fstat(fd, &st) != 0 || !dirsSeen_.insert({st.st_dev, st.st_ino}).second)) {
            ::close(fd); // the same directory as one already scanned
            fd = -1;
        }
        if (fd < 0) {
            Checkpoint(state_);
            continue;
        }
        rootNode->device = st.st_dev;
        rootNode->inode = st.st_ino;
        chain_.Push(rec, fd);
        platform::Fd readersRoot(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
        prefetcher_.SetRoot(readersRoot.get());
        frames.push_back({rootNode, 0});
        ListDirectory(rootNode);
        while (!frames.empty()) {
            Frame& f = frames.back();
            if (f.nextChild < f.node->children.size()) {
                DirNode* child = f.node->children[f.nextChild++].get();
                chain_.Push(child->name);
                frames.push_back({child, 0});
                ListDirectory(child);
                continue;
            }
            // Post-order: a directory's files follow those of its subdirectories.
            for (FileEntry& fe : f.node->files)
                state_.sizeMap.Add(fe.size, &fe);
            frames.pop_back();
            chain_.Truncate(frames.size());
            if (!frames.empty())
                ShowStatus(frames.back().node->name, false);
        }
    }
    chain_.Truncate(0);
}

} // namespace

void ScanAllRoots(SearchState& state, unsigned readers) {
    Scan(state, readers).Run();
}

} // namespace paradrex
