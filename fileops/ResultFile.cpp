#include "fileops/ResultFile.h"

#include "engine/BlockPool.h"
#include "engine/ResultBuilder.h"
#include "engine/ResultGroups.h"
#include "engine/SearchState.h"
#include "fileops/JsonReader.h"
#include "fileops/JsonText.h"
#include "platform/FileIo.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <set>
#include <span>
#include <string_view>
#include <sys/stat.h>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace paradrex {

namespace {

constexpr const char* kFormatName = "paradrex-result";
// The pool carves its blocks one stride apart; a block's payload comes first.
constexpr uint64_t kBlockStride = 65536;
constexpr uint64_t kPayload = BlockPool::kPayload;

// Bytes a directory record of a name of `length` bytes takes in its pool.
uint64_t RecordBytes(size_t length) {
    return (offsetof(NameRecord, text) + length + 1 + 3) & ~uint64_t{3};
}

// One path component: not empty, not "." or "..", no slash and no NUL.
bool IsComponent(std::string_view s) {
    return !s.empty() && s != "." && s != ".." && s.find('/') == std::string_view::npos &&
           s.find('\0') == std::string_view::npos;
}

// ---- Writing ----

// The directories a result needs, in file order, each with its place.
struct DirectoryLayout {
    std::vector<const NameRecord*> order;
    std::vector<uint64_t> at;
    std::unordered_map<const NameRecord*, uint32_t> index;
};

DirectoryLayout LayOutDirectories(const SearchState& state) {
    DirectoryLayout d;
    std::unordered_set<const NameRecord*> seen;
    for (const DuplicateGroup& g : ResultGroups(state))
        for (const FileRecord* f : g)
            for (const NameRecord* r = f->directory; r && seen.insert(r).second; r = r->parent)
                d.order.push_back(r);

    // The places the records have in their pool: its blocks are carved in
    // order from one range aligned to 4 GiB, so the low four bytes of an
    // address are the place, and parents lie before their children.
    std::sort(d.order.begin(), d.order.end(), std::less<const NameRecord*>());
    auto indexAll = [&] {
        d.index.clear();
        for (uint32_t i = 0; i < d.order.size(); ++i)
            d.index[d.order[i]] = i;
    };
    indexAll();
    bool exact = true;
    uint64_t end = 0;
    const auto address = [](const NameRecord* r) { return reinterpret_cast<uintptr_t>(r); };
    for (uint32_t i = 0; i < d.order.size() && exact; ++i) {
        const NameRecord* r = d.order[i];
        const uint64_t at = address(r) & 0xFFFFFFFFu;
        const uint64_t bytes = RecordBytes(r->length);
        exact = (address(r) >> 32) == (address(d.order[0]) >> 32) && at % 4 == 0 &&
                at % kBlockStride + bytes <= kPayload && at >= end &&
                (!r->parent || d.index.at(r->parent) < i);
        end = at + bytes;
        d.at.push_back(at);
    }
    if (exact)
        return d;

    // A pool that had to take its blocks from the heap: no order by address
    // can be kept anyway; lay the records out afresh, parents first.
    auto depth = [](const NameRecord* r) {
        size_t n = 0;
        for (; r; r = r->parent)
            ++n;
        return n;
    };
    std::stable_sort(d.order.begin(), d.order.end(),
                     [&](const NameRecord* a, const NameRecord* b) { return depth(a) < depth(b); });
    indexAll();
    d.at.clear();
    uint64_t block = 0, used = 0;
    for (const NameRecord* r : d.order) {
        const uint64_t bytes = RecordBytes(r->length);
        if (used + bytes > kPayload) {
            ++block;
            used = 0;
        }
        d.at.push_back(block * kBlockStride + used);
        used += bytes;
    }
    return d;
}

void AppendMember(std::string& s, const char* name) {
    s += '"';
    s += name;
    s += "\":";
}

void AppendBool(std::string& s, bool value) {
    s += value ? "true" : "false";
}

void AppendJob(std::string& s, const SearchJob& job) {
    s += "\"job\":{\"roots\":[";
    bool first = true;
    for (const std::string& root : job.roots) {
        if (!first)
            s += ',';
        first = false;
        AppendJsonString(s, root);
    }
    s += "],";
    AppendMember(s, "minSizeEnabled");
    AppendBool(s, job.minSizeEnabled);
    s += ',';
    AppendMember(s, "minSize");
    AppendJsonNumber(s, job.minSize);
    s += ',';
    AppendMember(s, "maxSizeEnabled");
    AppendBool(s, job.maxSizeEnabled);
    s += ',';
    AppendMember(s, "maxSize");
    AppendJsonNumber(s, job.maxSize);
    s += ',';
    AppendMember(s, "includeReadOnly");
    AppendBool(s, job.includeReadOnly != 0);
    s += ',';
    AppendMember(s, "includeHidden");
    AppendBool(s, job.includeHidden != 0);
    s += ',';
    AppendMember(s, "includeSystem");
    AppendBool(s, job.includeSystem != 0);
    s += ",\"types\":[";
    for (size_t i = 0; i < job.typeList.size(); ++i) {
        if (i)
            s += ',';
        AppendJsonString(s, job.typeList[i]);
    }
    s += "]}";
}

void AppendCounters(std::string& s, const SearchCounters& counters) {
    s += "\"counters\":";
    AppendJsonCounters(s, counters.Snapshot());
}

void AppendGroup(std::string& s, const DuplicateGroup& group, const DirectoryLayout& dirs) {
    s += '[';
    for (size_t i = 0; i < group.size(); ++i) {
        const FileRecord& f = *group[i];
        if (i)
            s += ',';
        s += "{\"dir\":";
        AppendJsonNumber(s, dirs.index.at(f.directory));
        s += ",\"origin\":";
        AppendJsonString(s, f.originName);
        if (f.name != f.originName) { // renamed: by address, not by text
            s += ",\"name\":";
            AppendJsonString(s, f.name);
        }
        s += ",\"size\":";
        AppendJsonNumber(s, f.size);
        s += ",\"modified\":";
        AppendJsonNumber(s, f.modified);
        s += ",\"ns\":";
        AppendJsonNumber(s, f.stamp.modifiedNs);
        s += ",\"device\":";
        AppendJsonNumber(s, f.stamp.device);
        s += ",\"inode\":";
        AppendJsonNumber(s, f.stamp.inode);
        s += ",\"state\":\"";
        s += JsonStateName(f.state);
        s += "\"}";
    }
    s += ']';
}

// ---- Reading ----

struct NotAResult {};
struct NewerVersion {
    uint64_t version;
};

// The members one kind of small object has, each at most once; those in
// `optional` may be missing.
struct FieldSet {
    const char* thing; // "a file", for messages
    std::span<const char* const> names;
    uint32_t optional = 0;
};

// Moves a fresh pool's next allocation to a given place, so the record
// allocated next lies exactly where it lay in the pool it was saved from.
class PoolPlacer {
public:
    explicit PoolPlacer(BlockPool& pool) : pool_(pool) {}

    void MoveTo(JsonReader& in, uint64_t at, uint64_t bytes) {
        const uint64_t block = at / kBlockStride;
        const uint64_t offset = at % kBlockStride;
        if (at % 4 != 0 || offset + bytes > kPayload)
            in.Fail("a directory cannot lie at " + std::to_string(at));
        const size_t blocks = pool_.blockCount();
        if (blocks > 0 && at < (blocks - 1) * kBlockStride + pool_.used())
            in.Fail("the directories are not in the order of their places (\"at\")");
        if (blocks > 0 && block == blocks - 1) {
            if (offset > pool_.used())
                pool_.Allocate(offset - pool_.used());
            return;
        }
        if (blocks > 0 && pool_.used() < kPayload)
            pool_.Allocate(kPayload - pool_.used());
        while (pool_.blockCount() < block)
            pool_.Allocate(kPayload); // opens one block
        if (offset > 0)
            pool_.Allocate(offset); // opens the block, the record follows
    }

private:
    BlockPool& pool_;
};

class ResultReader {
public:
    ResultReader(JsonReader& in, SearchState& fresh)
        : in_(in), fresh_(fresh), placer_(fresh.namePool) {}

    void Read() {
        try {
            in_.BeginObject();
            if (!in_.NextKey(key_) || key_ != "format")
                throw NotAResult{};
            in_.ReadString(text_, "format");
            if (text_ != kFormatName)
                throw NotAResult{};
        } catch (const JsonReader::Failure& f) {
            if (f.truncated)
                throw;
            throw NotAResult{};
        }
        Member(1);
        const uint64_t version = in_.ReadUnsigned("version");
        if (version > kResultFileVersion)
            throw NewerVersion{version};
        if (version != kResultFileVersion)
            in_.Fail("there is no format version " + std::to_string(version));
        Member(2);
        ReadJob();
        Member(3);
        ReadCounters();
        Member(4);
        ReadDirectories();
        Member(5);
        ReadCloneSets();
        Member(6);
        ReadRunGroups();
        if (in_.NextKey(key_))
            UnexpectedMember(std::size(kTop));
        in_.End();
        CheckIdentities();
    }

private:
    static constexpr const char* kTop[] = {"format",      "version",   "job",      "counters",
                                           "directories", "cloneSets", "runGroups"};

    void Member(size_t i) {
        if (!in_.NextKey(key_))
            in_.Fail(std::string("the member \"") + kTop[i] + "\" is missing");
        if (key_ != kTop[i])
            UnexpectedMember(i);
    }

    [[noreturn]] void UnexpectedMember(size_t expected) {
        for (size_t j = 0; j < std::size(kTop); ++j) {
            if (key_ != kTop[j])
                continue;
            if (j < expected)
                in_.Fail("the member \"" + key_ + "\" appears twice");
            in_.Fail(std::string("the member \"") + kTop[expected] + "\" is missing");
        }
        in_.Fail("unknown member \"" + key_ + "\"");
    }

    // The index of the member `key_` in `set`; a member not in it, or seen
    // before, fails.
    size_t Field(const FieldSet& set, uint32_t& seen) {
        for (size_t i = 0; i < set.names.size(); ++i) {
            if (key_ != set.names[i])
                continue;
            if (seen & (1u << i))
                in_.Fail("\"" + key_ + "\" appears twice in " + set.thing);
            seen |= 1u << i;
            return i;
        }
        in_.Fail("unknown member \"" + key_ + "\" in " + set.thing);
    }

    void CheckFields(const FieldSet& set, uint32_t seen) {
        for (size_t i = 0; i < set.names.size(); ++i)
            if (!(seen & (1u << i)) && !(set.optional & (1u << i)))
                in_.Fail(std::string("\"") + set.names[i] + "\" is missing from " + set.thing);
    }

    void ReadJob() {
        static constexpr const char* names[] = {
            "roots",           "minSizeEnabled", "minSize",       "maxSizeEnabled", "maxSize",
            "includeReadOnly", "includeHidden",  "includeSystem", "types"};
        static const FieldSet set{"the job", names};
        SearchJob& job = fresh_.job;
        uint32_t seen = 0;
        in_.BeginObject();
        while (in_.NextKey(key_)) {
            switch (Field(set, seen)) {
            case 0:
                in_.BeginArray();
                while (in_.NextElement()) {
                    in_.ReadString(text_, "roots");
                    if (text_.empty() || text_[0] != '/' || text_.find('\0') != std::string::npos ||
                        platform::AbsoluteNormalPath(text_) != text_)
                        in_.Fail("the searched directory \"" + text_ +
                                 "\" is not an absolute, normal path");
                    if (PathSet::AddResult r = job.roots.Add(text_); !r.added)
                        in_.Fail("the searched directories \"" + text_ + "\" and \"" +
                                 r.coveringMember + "\" overlap");
                    roots_.insert(text_);
                }
                break;
            case 1:
                job.minSizeEnabled = in_.ReadBool("minSizeEnabled");
                break;
            case 2:
                job.minSize = in_.ReadUnsigned("minSize");
                break;
            case 3:
                job.maxSizeEnabled = in_.ReadBool("maxSizeEnabled");
                break;
            case 4:
                job.maxSize = in_.ReadUnsigned("maxSize");
                break;
            case 5:
                job.includeReadOnly = in_.ReadBool("includeReadOnly") ? 1 : 0;
                break;
            case 6:
                job.includeHidden = in_.ReadBool("includeHidden") ? 1 : 0;
                break;
            case 7:
                job.includeSystem = in_.ReadBool("includeSystem") ? 1 : 0;
                break;
            case 8:
                in_.BeginArray();
                while (in_.NextElement()) {
                    in_.ReadString(text_, "types");
                    if (!IsComponent(text_) || text_.find('.') != std::string::npos)
                        in_.Fail("\"" + text_ + "\" is not a file type");
                    job.typeList.push_back(text_);
                }
                // The scan looks types up by binary search.
                std::sort(job.typeList.begin(), job.typeList.end());
                job.typeList.erase(std::unique(job.typeList.begin(), job.typeList.end()),
                                   job.typeList.end());
                break;
            }
        }
        CheckFields(set, seen);
    }

    void ReadCounters() {
        static constexpr const char* names[] = {"totalSize",      "averageBytesPerSecond",
                                                "fileCount",      "averageFilesPerSecond",
                                                "duplicateCount", "duplicateSize",
                                                "directoryCount", "validated",
                                                "findTime",       "buildTime",
                                                "pretreatTime"};
        static const FieldSet set{"the counters", names};
        SearchCounters& c = fresh_.counters;
        constexpr auto r = std::memory_order_relaxed;
        uint32_t seen = 0;
        in_.BeginObject();
        while (in_.NextKey(key_)) {
            const size_t i = Field(set, seen);
            const char* name = names[i];
            switch (i) {
            case 0:
                c.totalSize.store(in_.ReadUnsigned(name), r);
                break;
            case 1:
                c.averageBytesPerSecond.store(in_.ReadUnsigned(name), r);
                break;
            case 2:
                c.fileCount.store(static_cast<uint32_t>(in_.ReadUnsigned(name, UINT32_MAX)), r);
                break;
            case 3:
                c.averageFilesPerSecond.store(
                    static_cast<uint32_t>(in_.ReadUnsigned(name, UINT32_MAX)), r);
                break;
            case 4:
                c.duplicateCount.store(static_cast<uint32_t>(in_.ReadUnsigned(name, UINT32_MAX)),
                                       r);
                break;
            case 5:
                c.duplicateSize.store(in_.ReadUnsigned(name), r);
                break;
            case 6:
                c.directoryCount.store(static_cast<uint32_t>(in_.ReadUnsigned(name, UINT32_MAX)),
                                       r);
                break;
            case 7:
                c.validated.store(static_cast<int32_t>(in_.ReadSigned(name, INT32_MIN, INT32_MAX)),
                                  r);
                break;
            case 8:
                c.findTime.store(in_.ReadDouble(name), r);
                break;
            case 9:
                c.buildTime.store(in_.ReadDouble(name), r);
                break;
            case 10:
                c.pretreatTime.store(in_.ReadDouble(name), r);
                break;
            }
        }
        CheckFields(set, seen);
    }

    void ReadDirectories() {
        static constexpr const char* names[] = {"at", "parent", "name"};
        static const FieldSet set{"a directory", names, 1u << 1};
        // (parent index + 1, name, index): a directory listed twice shows as a
        // repeated pair.
        std::vector<std::tuple<size_t, std::string_view, size_t>> siblings;
        in_.BeginArray();
        while (in_.NextElement()) {
            uint32_t seen = 0;
            uint64_t at = 0;
            std::optional<size_t> parent;
            in_.BeginObject();
            while (in_.NextKey(key_)) {
                switch (Field(set, seen)) {
                case 0:
                    at = in_.ReadUnsigned("at", UINT32_MAX);
                    break;
                case 1:
                    parent = in_.ReadUnsigned("parent", UINT32_MAX);
                    if (*parent >= dirs_.size())
                        in_.Fail("the parent " + std::to_string(*parent) +
                                 " is not an earlier directory");
                    break;
                case 2:
                    in_.ReadString(text_, "name");
                    break;
                }
            }
            CheckFields(set, seen);
            if (parent ? !IsComponent(text_) : roots_.count(text_) == 0)
                in_.Fail("the directory \"" + text_ +
                         (parent ? "\" is not one path component"
                                 : "\" is not one of the searched directories"));
            placer_.MoveTo(in_, at, RecordBytes(text_.size()));
            const NameRecord* rec =
                NameRecord::Create(fresh_.namePool, parent ? dirs_[*parent] : nullptr, text_);
            siblings.emplace_back(parent ? *parent + 1 : 0, rec->name(), dirs_.size());
            dirs_.push_back(rec);
        }
        std::sort(siblings.begin(), siblings.end());
        for (size_t i = 1; i < siblings.size(); ++i)
            if (std::get<0>(siblings[i]) == std::get<0>(siblings[i - 1]) &&
                std::get<1>(siblings[i]) == std::get<1>(siblings[i - 1]))
                in_.Fail("the directory " + DirectoryPath(dirs_[std::get<2>(siblings[i])]) +
                         " is listed twice");
    }

    FileRecord* ReadFile() {
        static constexpr const char* names[] = {"dir", "origin", "name",  "size", "modified",
                                                "ns",  "device", "inode", "state"};
        static const FieldSet set{"a file", names, 1u << 2};
        const uint64_t start = in_.offset();
        uint32_t seen = 0;
        uint64_t dir = 0, size = 0, device = 0, inode = 0, ns = 0;
        int64_t modified = 0;
        FileState state = FileState::Unsettled;
        in_.BeginObject();
        while (in_.NextKey(key_)) {
            switch (Field(set, seen)) {
            case 0:
                dir = in_.ReadUnsigned("dir", UINT32_MAX);
                if (dir >= dirs_.size())
                    in_.Fail("\"dir\" " + std::to_string(dir) + " is not a directory");
                break;
            case 1:
                in_.ReadString(origin_, "origin");
                break;
            case 2:
                in_.ReadString(name_, "name");
                break;
            case 3:
                size = in_.ReadUnsigned("size");
                break;
            case 4:
                modified = in_.ReadSigned("modified");
                break;
            case 5:
                ns = in_.ReadUnsigned("ns", 999'999'999);
                break;
            case 6:
                device = in_.ReadUnsigned("device");
                break;
            case 7:
                inode = in_.ReadUnsigned("inode");
                break;
            case 8:
                in_.ReadString(text_, "state");
                if (std::optional<FileState> s = JsonState(text_))
                    state = *s;
                else
                    in_.Fail("\"" + text_ + "\" is not a file state");
                break;
            }
        }
        CheckFields(set, seen);
        const bool renamed = (seen & (1u << 2)) != 0;
        if (!IsComponent(origin_) || (renamed && !IsComponent(name_)))
            in_.Fail("the file name \"" + (IsComponent(origin_) ? name_ : origin_) +
                     "\" is not one path component");
        FileRecord* f = FileRecord::Create(fresh_.recordPool, dirs_[dir], origin_, size, modified,
                                           FileStamp{device, inode, static_cast<uint32_t>(ns)});
        f->state = state;
        if (renamed) {
            // A name of its own in the record pool, as renaming gives one.
            auto* text = static_cast<char*>(fresh_.recordPool.Allocate(name_.size() + 1));
            std::memcpy(text, name_.data(), name_.size());
            text[name_.size()] = '\0';
            f->name = text;
        }
        identities_.push_back({device, inode, start, f});
        return f;
    }

    DuplicateGroup ReadGroup() {
        DuplicateGroup g;
        in_.BeginArray();
        while (in_.NextElement())
            g.push_back(ReadFile());
        if (g.size() < 2)
            in_.Fail("a group has fewer than two files");
        for (const FileRecord* f : g)
            if (f->size != g.front()->size)
                in_.Fail("the files of a group differ in size");
        return g;
    }

    void ReadCloneSets() {
        std::vector<const NameRecord*> signature;
        in_.BeginArray();
        while (in_.NextElement()) {
            size_t groups = 0;
            in_.BeginArray();
            while (in_.NextElement()) {
                DuplicateGroup g = ReadGroup();
                if (groups++ == 0) {
                    signature.clear();
                    for (const FileRecord* f : g)
                        signature.push_back(f->directory);
                    const size_t sets = fresh_.cloneSets.size();
                    const size_t runs = fresh_.runGroups.size();
                    StoreGroup(fresh_, std::move(g));
                    if (fresh_.runGroups.size() != runs)
                        in_.Fail("a clone set's group has four files in one directory in a row");
                    if (fresh_.cloneSets.size() == sets)
                        in_.Fail("two clone sets lie in the same directories");
                    continue;
                }
                bool same = g.size() == signature.size();
                for (size_t k = 0; same && k < g.size(); ++k)
                    same = g[k]->directory == signature[k];
                if (!same)
                    in_.Fail("the groups of a clone set lie in different directories");
                StoreGroup(fresh_, std::move(g));
            }
            if (groups == 0)
                in_.Fail("a clone set has no groups");
        }
    }

    void ReadRunGroups() {
        in_.BeginArray();
        while (in_.NextElement()) {
            const size_t runs = fresh_.runGroups.size();
            StoreGroup(fresh_, ReadGroup());
            if (fresh_.runGroups.size() == runs)
                in_.Fail("a run group has no four files in one directory in a row");
        }
    }

    // A file listed twice could be deleted as its own copy.
    void CheckIdentities() {
        std::sort(identities_.begin(), identities_.end(), [](const Identity& a, const Identity& b) {
            return std::tie(a.device, a.inode, a.offset) < std::tie(b.device, b.inode, b.offset);
        });
        for (size_t i = 1; i < identities_.size(); ++i) {
            const Identity& a = identities_[i - 1];
            const Identity& b = identities_[i];
            if (a.device == b.device && a.inode == b.inode)
                throw JsonReader::Failure{"the file " + FilePath(*b.file) +
                                              " is the same file (device and inode) as " +
                                              FilePath(*a.file),
                                          b.offset, false};
        }
    }

    struct Identity {
        uint64_t device, inode, offset;
        const FileRecord* file;
    };

    JsonReader& in_;
    SearchState& fresh_;
    PoolPlacer placer_;
    std::set<std::string> roots_;
    std::vector<const NameRecord*> dirs_;
    std::vector<Identity> identities_;
    std::string key_, text_, origin_, name_;
};

} // namespace

std::string ResultFileError::Message() const {
    switch (kind) {
    case Kind::Unreadable: {
        char buf[256];
        const int code = system ? system->code : EIO;
        return "The result file " + path +
               " could not be read: " + ::strerror_r(code, buf, sizeof buf) + ".";
    }
    case Kind::NotAResult:
        return path + " is not a Paradrex result file.";
    case Kind::NewerVersion:
        return "The result file " + path + " was written by a newer Paradrex (format version " +
               std::to_string(version) + "); this one reads format version " +
               std::to_string(kResultFileVersion) + ".";
    case Kind::Damaged:
        break;
    }
    if (truncated)
        return "The result file " + path + " is incomplete: it ends at byte " +
               std::to_string(offset.value_or(0)) + ", before the result does.";
    std::string text = "The result file " + path + " is damaged: " + detail;
    if (offset)
        text += " (at byte " + std::to_string(*offset) + ")";
    return text + ".";
}

platform::Result<void> SaveResultFile(const SearchState& state, const std::string& path) {
    platform::Result<platform::AtomicReplacement> out = platform::AtomicReplacement::Begin(path);
    if (!out)
        return out.error();
    const DirectoryLayout dirs = LayOutDirectories(state);

    std::string s;
    platform::Result<void> written;
    auto flush = [&](bool force) {
        if (written && (force || s.size() >= (1u << 20))) {
            written = out->Write(s);
            s.clear();
        }
    };
    s += "{\"format\":\"";
    s += kFormatName;
    s += "\",\"version\":";
    AppendJsonNumber(s, kResultFileVersion);
    s += ",\n";
    AppendJob(s, state.job);
    s += ",\n";
    AppendCounters(s, state.counters);
    s += ",\n\"directories\":[";
    for (uint32_t i = 0; i < dirs.order.size(); ++i) {
        const NameRecord* r = dirs.order[i];
        s += i ? ",\n{\"at\":" : "\n{\"at\":";
        AppendJsonNumber(s, dirs.at[i]);
        if (r->parent) {
            s += ",\"parent\":";
            AppendJsonNumber(s, dirs.index.at(r->parent));
        }
        s += ",\"name\":";
        AppendJsonString(s, r->name());
        s += '}';
        flush(false);
    }
    s += "],\n\"cloneSets\":[";
    bool firstSet = true;
    for (const auto& [signature, set] : state.cloneSets) {
        if (set.empty())
            continue;
        s += firstSet ? "\n[" : ",\n[";
        firstSet = false;
        for (size_t g = 0; g < set.size(); ++g) {
            s += g ? ",\n" : "\n";
            AppendGroup(s, set[g], dirs);
            flush(false);
        }
        s += "\n]";
    }
    s += "],\n\"runGroups\":[";
    bool firstRun = true;
    for (const RunGroup& rg : state.runGroups) {
        s += firstRun ? "\n" : ",\n";
        firstRun = false;
        AppendGroup(s, rg.group, dirs);
        flush(false);
    }
    s += "]}\n";
    flush(true);
    if (!written)
        return written;
    return out->Commit();
}

std::string WithResultSuffix(const std::string& path) {
    const std::string_view suffix = kResultFileSuffix;
    if (path.size() > suffix.size() && path.ends_with(suffix) &&
        path[path.size() - suffix.size() - 1] != '/')
        return path;
    return path + kResultFileSuffix;
}

std::string SaveResultFailureMessage(const std::string& path, const platform::Error& error) {
    char buf[256];
    return "The result could not be saved to " + path + ": " +
           ::strerror_r(error.code, buf, sizeof buf) + ".";
}

OpenOutcome OpenResultFile(SearchState& state, const std::string& path) {
    OpenOutcome out;
    ResultFileError error;
    error.path = path;
    auto unreadable = [&](platform::Error e) {
        error.kind = ResultFileError::Kind::Unreadable;
        error.system = std::move(e);
        out.error = error;
        return out;
    };
    platform::Result<platform::File> file =
        platform::File::Open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (!file)
        return unreadable(file.error());
    if (platform::Result<struct stat> st = file->Stat(); !st)
        return unreadable(st.error());
    else if (!S_ISREG(st->st_mode))
        return unreadable({S_ISDIR(st->st_mode) ? EISDIR : EINVAL, "read", path, {}});

    SearchState fresh;
    JsonReader in([&](char* buffer, size_t capacity) -> size_t {
        platform::Result<size_t> n = file->Read(buffer, capacity);
        if (!n)
            throw n.error();
        return *n;
    });
    try {
        ResultReader(in, fresh).Read();
    } catch (const platform::Error& e) {
        return unreadable(e);
    } catch (const NotAResult&) {
        error.kind = ResultFileError::Kind::NotAResult;
        out.error = error;
        return out;
    } catch (const NewerVersion& v) {
        error.kind = ResultFileError::Kind::NewerVersion;
        error.version = v.version;
        out.error = error;
        return out;
    } catch (const JsonReader::Failure& f) {
        error.kind = ResultFileError::Kind::Damaged;
        error.detail = f.what;
        error.offset = f.offset;
        error.truncated = f.truncated;
        out.error = error;
        return out;
    } catch (const std::bad_alloc&) {
        error.kind = ResultFileError::Kind::Damaged;
        error.detail = "it asks for more memory than there is";
        out.error = error;
        return out;
    }
    if (!ResultGroups(fresh).empty())
        BuildResultTree(fresh);
    out.dropped = CheckAgainstDisk(fresh);
    state.SwapResult(fresh);
    return out;
}

std::string LastResultPath() {
    const std::string dir = platform::StateDirectory();
    return dir.empty() ? dir : dir + "/last" + kResultFileSuffix;
}

bool IsLastResultFile(const std::string& path) {
    const platform::Result<platform::FileStatus> file = platform::StatusOf(path);
    const platform::Result<platform::FileStatus> last = platform::StatusOf(LastResultPath());
    return file && last && file->identity.device == last->identity.device &&
           file->identity.inode == last->identity.inode;
}

platform::Result<void> KeepLastResult(const SearchState& state) {
    const std::string dir = platform::StateDirectory();
    if (dir.empty())
        return platform::Error{ENOENT, "open", "~/.local/state/Paradrex", {}};
    if (platform::Result<void> made = platform::MakeDirectories(dir, 0700); !made)
        return made;
    return SaveResultFile(state, LastResultPath());
}

uint64_t ReviewFingerprint(const SearchState& state) {
    // FNV-1a over what the review changes, in result order.
    uint64_t h = 0xcbf29ce484222325u;
    auto mix = [&](const void* data, size_t n) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < n; ++i) {
            h ^= p[i];
            h *= 0x100000001b3u;
        }
    };
    for (const DuplicateGroup& g : ResultGroups(state)) {
        const uint64_t n = g.size();
        mix(&n, sizeof n);
        for (const FileRecord* f : g) {
            const int32_t s = static_cast<int32_t>(f->state);
            const bool own = f->name == f->originName;
            mix(&s, sizeof s);
            mix(&own, sizeof own);
            mix(f->name, std::strlen(f->name) + 1);
        }
    }
    return h;
}

} // namespace paradrex
