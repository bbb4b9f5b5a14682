#pragma once
// A temporary directory tree for one test: files and folders are created
// under it with exact bytes and times, and the whole tree is removed at the end
// (permissions are restored first, so read-only folders do not stay behind).

#include <cstdint>
#include <ctime>
#include <initializer_list>
#include <string>
#include <string_view>

namespace paradrex::test {

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& root() const { return root_; }
    // Absolute path of a path relative to the root.
    std::string path(std::string_view rel) const;
    // Creates the file (and its missing parent folders) with the given content.
    std::string createFile(std::string_view rel, std::string_view bytes, time_t mtime = 0);
    // Creates a file of the given size filled from a seed (deterministic).
    std::string createPatternFile(std::string_view rel, uint64_t size, uint32_t seed,
                                  time_t mtime = 0);
    // Creates a sparse file of the given size that holds zeros except for the
    // given bytes at their offsets: huge files that take almost no disk.
    struct Patch {
        uint64_t offset;
        std::string_view bytes;
    };
    std::string createSparseFile(std::string_view rel, uint64_t size,
                                 std::initializer_list<Patch> patches = {});
    std::string createDir(std::string_view rel);
    void createSymlink(std::string_view target, std::string_view rel);
    void createHardLink(std::string_view existingRel, std::string_view rel);
    void chmod(std::string_view rel, unsigned mode);
    void remove(std::string_view rel);
    std::string readFile(std::string_view rel) const;
    bool exists(std::string_view rel) const;

private:
    std::string root_;
};

// Deterministic bytes for pattern files.
std::string PatternBytes(uint64_t size, uint32_t seed);

} // namespace paradrex::test
