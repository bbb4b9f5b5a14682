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
#include <fcntl.h>
#include <map>
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

// Reader threads that list directories ahead of the scan, in the order the
// scan will need them. Listing a directory creates one request per
// subdirectory it holds; a request's key is the path of child indexes from
// the root, so the queue ordered by key is the depth-first order of the scan,
// and the readers always work on the next directories the scan will reach.
// The scan takes each listing when it gets there; a directory no reader has
// started yet the scan lists itself, so it never waits for idle readers.
class Prefetcher {
public:
    struct Request {
        std::string key;     // child indexes from the root, 4 bytes each, big-endian
        std::string relPath; // below the root; empty for the root
        enum State { Queued, Reading, Done } state = Queued;
        bool cancelled = false;
        Listing listing;
        std::vector<Request*> children; // one per directory of the listing, in order
    };

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
        for (Request* r : live_)
            delete r;
    }

    bool active() const { return !threads_.empty(); }

    // The root whose directories are queued next; every request of the
    // previous root has been taken by then. The caller owns the descriptor.
    void SetRoot(int fd) {
        std::lock_guard lock(mutex_);
        rootFd_ = fd;
    }

    // Queues a request for every directory of `listing` (listed by the scan
    // itself) and returns them in order; none when no reader runs.
    std::vector<Request*> QueueChildren(const std::string& key, const std::string& relPath,
                                        const Listing& listing) {
        std::vector<Request*> children;
        if (!active())
            return children;
        MakeChildren(key, relPath, listing, children);
        bool wake;
        {
            std::lock_guard lock(mutex_);
            Adopt(children);
            wake = idleReaders_ > 0 && !children.empty();
        }
        if (wake)
            work_.notify_all();
        return children;
    }

    // The listing of request `r` into `out`, waiting while a reader lists
    // it; false when no reader has started it (the scan lists it itself).
    // Either way `r` is gone afterwards; its children (when listed) are in
    // `children`.
    bool Take(Request* r, Listing& out, std::vector<Request*>& children) {
        std::unique_lock lock(mutex_);
        if (r->state == Request::Queued) {
            queue_.erase(r->key);
            Delete(r);
            return false;
        }
        if (r->state != Request::Done) {
            waitingFor_ = r;
            done_.wait(lock, [&] { return r->state == Request::Done; });
            waitingFor_ = nullptr;
        }
        std::swap(out, r->listing);
        children = std::move(r->children);
        const bool wasFull = ready_-- == kMaxReady;
        Delete(r);
        lock.unlock();
        if (wasFull)
            work_.notify_all();
        return true;
    }

    // Drops a request the scan will not use, with everything queued below it.
    void Cancel(Request* r) {
        std::lock_guard lock(mutex_);
        CancelLocked(r);
    }
    void Cancel(const std::vector<Request*>& rs) {
        std::lock_guard lock(mutex_);
        for (Request* r : rs)
            CancelLocked(r);
    }

private:
    static constexpr size_t kMaxReady = 256; // listings waiting to be taken

    static void MakeChildren(const std::string& key, const std::string& relPath,
                             const Listing& listing, std::vector<Request*>& out) {
        uint32_t index = 0;
        for (const Listing::Entry& e : listing.entries) {
            if (!e.directory)
                continue;
            auto* c = new Request;
            c->key = key;
            for (int shift = 24; shift >= 0; shift -= 8)
                c->key += static_cast<char>((index >> shift) & 0xFF);
            ++index;
            c->relPath = relPath;
            if (!c->relPath.empty())
                c->relPath += '/';
            c->relPath += listing.Name(e);
            out.push_back(c);
        }
    }

    void Adopt(const std::vector<Request*>& rs) {
        for (Request* r : rs) {
            live_.insert(r);
            queue_.emplace(r->key, r);
        }
    }

    void Delete(Request* r) {
        live_.erase(r);
        delete r;
    }

    void CancelLocked(Request* r) {
        switch (r->state) {
        case Request::Queued:
            queue_.erase(r->key);
            Delete(r);
            break;
        case Request::Reading:
            r->cancelled = true; // its reader deletes it
            break;
        case Request::Done:
            for (Request* c : r->children)
                CancelLocked(c);
            --ready_;
            Delete(r);
            break;
        }
    }

    void Work() {
        std::vector<Request*> children;
        for (;;) {
            Request* r;
            int rootFd;
            {
                std::unique_lock lock(mutex_);
                ++idleReaders_;
                work_.wait(lock,
                           [&] { return shutdown_ || (!queue_.empty() && ready_ < kMaxReady); });
                --idleReaders_;
                if (shutdown_)
                    return;
                r = queue_.begin()->second;
                queue_.erase(queue_.begin());
                r->state = Request::Reading;
                rootFd = rootFd_;
            }
            state_.WaitWhilePaused();
            children.clear();
            // Opened relative to the root, so the system walks only the
            // components below it. Paths beyond the limit are left to the
            // scan's own chain of descriptors (the listing then reports not
            // listed, and the scan lists it itself).
            if (!state_.stopRequested.load(std::memory_order_relaxed) &&
                r->relPath.size() < PATH_MAX) {
                platform::Fd fd(platform::OpenDirectoryAt(rootFd, r->relPath.c_str()));
                if (fd.valid()) {
                    filters_.List(fd.get(), r->listing);
                    MakeChildren(r->key, r->relPath, r->listing, children);
                }
            }
            bool wakeScan = false, wakeReaders = false;
            {
                std::lock_guard lock(mutex_);
                if (r->cancelled) {
                    for (Request* c : children)
                        delete c;
                    Delete(r);
                } else {
                    r->children = children;
                    Adopt(children);
                    r->state = Request::Done;
                    ++ready_;
                    wakeScan = waitingFor_ == r;
                    wakeReaders = idleReaders_ > 0 && !children.empty();
                }
            }
            if (wakeScan)
                done_.notify_one();
            if (wakeReaders)
                work_.notify_all();
        }
    }

    SearchState& state_;
    const Filters& filters_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable work_;          // readers wait here
    std::condition_variable done_;          // the scan waits here for one listing
    std::map<std::string, Request*> queue_; // by key: depth-first order
    std::unordered_set<Request*> live_;     // every request not yet deleted
    size_t ready_ = 0;
    size_t idleReaders_ = 0;
    Request* waitingFor_ = nullptr;
    int rootFd_ = -1;
    bool shutdown_ = false;
};

class Scan {
public:
    Scan(SearchState& state, unsigned readers)
        : state_(state), filters_(state.job), prefetcher_(state, filters_, readers) {}

    void Run();

private:
    using Request = Prefetcher::Request;
    struct Frame {
        explicit Frame(DirNode* n) : node(n) {}
        DirNode* node;
        size_t nextChild = 0;
        std::string key, relPath;            // of this directory, for its requests
        std::vector<Request*> childRequests; // aligned with node->children
    };

    void ListDirectory(Frame& frame, Request* request);
    void Accept(Frame& frame, const Listing& listing, const std::vector<Request*>& requests);
    void ShowStatus(const NameRecord* dir, bool force);

    SearchState& state_;
    Filters filters_;
    Prefetcher prefetcher_;
    DirChain chain_;
    Listing listing_;
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
// listed it (and it is still the directory its parent listed), else here.
void Scan::ListDirectory(Frame& frame, Request* request) {
    DirNode* node = frame.node;
    Checkpoint(state_);
    ShowStatus(node->name, false);
    std::vector<Request*> children;
    if (request) {
        const bool taken = prefetcher_.Take(request, listing_, children);
        if (taken && listing_.listed && listing_.dev == node->device &&
            listing_.ino == node->inode) {
            Accept(frame, listing_, children);
            return;
        }
        prefetcher_.Cancel(children); // listed under another identity
        children.clear();
    }
    const int fd = chain_.Fd();
    if (fd >= 0)
        filters_.List(fd, listing_);
    else
        listing_.Clear(); // cannot be listed: counted, but no entries
    Accept(frame, listing_, prefetcher_.QueueChildren(frame.key, frame.relPath, listing_));
}

void Scan::Accept(Frame& frame, const Listing& listing, const std::vector<Request*>& requests) {
    DirNode* node = frame.node;
    auto& counters = state_.counters;
    size_t dirIndex = 0;
    for (const Listing::Entry& e : listing.entries) {
        const std::string_view name = listing.Name(e);
        if (e.directory) {
            Request* request = dirIndex < requests.size() ? requests[dirIndex] : nullptr;
            ++dirIndex;
            if (!dirsSeen_.insert({e.dev, e.ino}).second) {
                if (request)
                    prefetcher_.Cancel(request);
                continue; // met before (bind mount, loop): never listed twice
            }
            counters.directoryCount.fetch_add(1, std::memory_order_relaxed);
            const NameRecord* rec = NameRecord::Create(state_.namePool, node->name, name);
            node->children.push_back(std::make_unique<DirNode>(rec));
            DirNode* child = node->children.back().get();
            child->device = e.dev;
            child->inode = e.ino;
            frame.childRequests.push_back(request);
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
            fe.size = e.size;
            fe.name = stored;
            node->files.push_back(fe);
        }
    }
}

void Scan::Run() {
    state_.dirTree = std::make_unique<DirNode>();
    DirNode* top = state_.dirTree.get();
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
        frames.emplace_back(rootNode);
        ListDirectory(frames.back(), nullptr);
        while (!frames.empty()) {
            Frame& f = frames.back();
            if (f.nextChild < f.node->children.size()) {
                const size_t i = f.nextChild++;
                DirNode* child = f.node->children[i].get();
                Request* request = f.childRequests[i];
                Frame next(child);
                if (request) {
                    next.key = request->key;
                    next.relPath = request->relPath;
                }
                chain_.Push(child->name);
                frames.push_back(std::move(next));
                ListDirectory(frames.back(), request);
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
