#pragma once
// The record getdents64(2) fills its buffer with, read by the directory
// reader of the search and by the empty-directory test.

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace paradrex::platform {

struct Dirent64 {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

inline const Dirent64* RecordAt(const char* buffer, size_t pos) {
    return reinterpret_cast<const Dirent64*>(buffer + pos);
}

// "." and "..", which listings leave out.
inline bool IsSelfOrParent(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace paradrex::platform
