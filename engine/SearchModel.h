#pragma once
// The records one search builds and the rest of the program reads: directory
// names, files met by the scan, duplicate groups, clone sets, run groups and
// the result directory tree.

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace paradrex {

class BlockPool;

// One directory's name, in the name pool. A root carries its whole path.
struct [[gnu::packed]] NameRecord {
    const NameRecord* parent; // null for a root
    uint32_t length;
    char text[]; // length bytes and a NUL

    std::string_view name() const { return {text, length}; }
    static NameRecord* Create(BlockPool& pool, const NameRecord* parent, std::string_view name);
};

enum class FileState : int32_t { Unsettled = 0, Preserved = 1, Deleted = -1 };

// What tells that a file on disk is still the one the search compared: the
// file is its (device, inode); its size and modification time tell whether it
// changed.
struct [[gnu::packed]] FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint32_t modifiedNs = 0; // the nanoseconds of the modification time
};

// One file of the result, in the record pool.
struct [[gnu::packed]] FileRecord {
    const NameRecord* directory;
    const char* name; // current name; points at originName until renamed
    uint64_t size;
    int64_t modified; // last-write time, seconds since the epoch
    FileStamp stamp;  // as the search met the file; zero when built by hand
    FileState state;
    char originName[]; // the name the search found, never changed

    static FileRecord* Create(BlockPool& pool, const NameRecord* directory, std::string_view name,
                              uint64_t size, int64_t modified, const FileStamp& stamp = {});
};

// A file accepted by the scan, inside its DirNode. The phases write, one
// after the other: the size, the prefix sum, the link to the FileRecord.
struct FileEntry {
    enum : uint32_t {
        kSizeCandidate = 1u << 0,
        kCandidateMember = 1u << 1,
        kUnusable = 1u << 2,
    };
    uint32_t flags = 0; // bits 16..31: low 16 bits of the size when the prefix sum was taken
    uint32_t prefixSum = 0;
    uint64_t size = 0;
    const char* name = nullptr; // in the name pool
    FileRecord* record = nullptr;
};
// One per scanned file, so its size is most of the memory a search needs.
static_assert(sizeof(FileEntry) <= 32);

// One scanned directory; lives only while the worker runs.
struct DirNode {
    const NameRecord* name = nullptr; // null for the top node
    std::vector<FileEntry> files;     // listing order
    std::vector<std::unique_ptr<DirNode>> children;
    uint64_t device = 0; // identity of the directory the scan met
    uint64_t inode = 0;

    DirNode() = default;
    explicit DirNode(const NameRecord* n) : name(n) {}
    ~DirNode(); // frees the subtree without recursion
    DirNode(const DirNode&) = delete;
    DirNode& operator=(const DirNode&) = delete;
};

using DuplicateGroup = std::vector<FileRecord*>;

// The directories of a group's files, in group order.
using DirSignature = std::shared_ptr<const std::vector<const NameRecord*>>;

// Compares the signatures' bytes as unsigned bytes; a prefix comes first.
struct SignatureLess {
    bool operator()(const DirSignature& a, const DirSignature& b) const;
};

using CloneSet = std::vector<DuplicateGroup>;
using CloneSetMap = std::map<DirSignature, CloneSet, SignatureLess>;

struct Run {
    const NameRecord* directory;
    uint32_t first; // index of the run's first file in the group
    uint32_t count;
};

struct RunGroup {
    std::vector<Run> runs;
    DuplicateGroup group;
};

using RunGroupList = std::list<RunGroup>;

struct CloneRef {
    CloneSet* set;
    uint32_t position;
    bool operator==(const CloneRef&) const = default;
};

struct RunRef {
    RunGroup* group;
    uint32_t run;
    bool operator==(const RunRef&) const = default;
};

// A directory of the result tree: every directory that holds a grouped file,
// and their ancestors. The root has no name; its children are the roots.
struct ResultDir {
    const NameRecord* name = nullptr;
    ResultDir* parent = nullptr;
    std::map<const NameRecord*, std::unique_ptr<ResultDir>> children; // by record address
    std::vector<CloneRef> cloneRefs;
    std::vector<RunRef> runRefs;

    ResultDir() = default;
    ResultDir(const NameRecord* n, ResultDir* p) : name(n), parent(p) {}
    ~ResultDir(); // frees the subtree without recursion
    ResultDir(const ResultDir&) = delete;
    ResultDir& operator=(const ResultDir&) = delete;
};

// Full path of a directory: the root's path and every name below it, joined by
// single slashes.
std::string DirectoryPath(const NameRecord* dir);
void AppendDirectoryPath(std::string& out, const NameRecord* dir);
// Full path of a file: its directory's path, a slash and its current name.
std::string FilePath(const FileRecord& file);
void AppendFilePath(std::string& out, const NameRecord* dir, std::string_view name);

// Sets the state of every file in `dir` and below: children first (in child
// order), then the files of each clone reference, then those of each run.
void SetStateRecursive(ResultDir& dir, FileState state);

// The ResultDir of a directory path, or null. Root names are matched as a
// whole and must be followed by a slash or the end; below them one component
// at a time, byte for byte. A path ending in a slash is not found.
ResultDir* FindResultDir(ResultDir* root, std::string_view path);

} // namespace paradrex
