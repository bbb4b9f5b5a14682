#pragma once
// The seam between the platform layer's file calls and the kernel. Every
// call the file operations and the small-file helpers make (FileIo.h,
// FileSystem.h, the key store) goes through the installed SystemCalls
// object; by default that is the real system. A test installs an object that
// fails a chosen call with a chosen errno and forwards the rest (see
// tests/support/FaultInjector.h), so each failure path can be run on a real
// temporary tree.
//
// Each method mirrors one system call and answers like it: -1 (or a negative
// count) with errno set on failure. The path of the file a descriptor belongs
// to comes along with descriptor calls, so a fault can be aimed at one file.
//
// The search does not use this seam: its scanner and comparer call the
// system directly on raw descriptors (DirectoryIo.h), so it costs nothing.

#include <cstddef>
#include <cstdint>
#include <sys/stat.h>
#include <sys/types.h>

namespace paradrex::platform {

// The calls a fault can be aimed at.
enum class Op : uint8_t {
    Open,
    Read,
    Write,
    Fsync,
    Close,
    Stat,  // lstat, stat and fstat
    Chmod, // chmod and fchmod
    Unlink,
    Rmdir,
    Mkdir,
    Rename, // renameat2, with or without RENAME_NOREPLACE
    Link,
    ReadDirectory, // getdents64
    Trash,
};
inline constexpr int kOpCount = static_cast<int>(Op::Trash) + 1;

// The call's name as error texts give it ("open", "rename", ...).
const char* OpName(Op op);

class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Read(const char* path, int fd, void* buffer, size_t size);
    virtual ssize_t Write(const char* path, int fd, const void* buffer, size_t size);
    virtual int Fsync(const char* path, int fd);
    // The descriptor is released even when this fails, as close(2) does.
    virtual int Close(const char* path, int fd);
    virtual int Stat(const char* path, struct stat* st, bool followLink);
    virtual int Fstat(const char* path, int fd, struct stat* st);
    virtual int Chmod(const char* path, mode_t mode);
    virtual int Fchmod(const char* path, int fd, mode_t mode);
    virtual int Unlink(const char* path);
    virtual int Rmdir(const char* path);
    virtual int Mkdir(const char* path, mode_t mode);
    // renameat2(2) relative to the working directory; `flags` 0 replaces an
    // existing target, RENAME_NOREPLACE fails with EEXIST instead.
    virtual int Rename(const char* from, const char* to, unsigned flags);
    virtual int Link(const char* from, const char* to);
    // getdents64(2): the byte count of the records read, 0 at the end.
    virtual long ReadDirectory(const char* path, int fd, void* buffer, size_t size);
    // Moves the file or directory to the user's trash, with the trash
    // installed by SetTrashImplementation. Without one the real call fails
    // with ENOTSUP, so nothing is ever deleted in place of being trashed.
    virtual int Trash(const char* path);
};

// The trash the real Trash call uses: 0 when the path went to the trash,
// else -1 with errno set and the file where it was. The desktop's trash
// lives in a library of its own (platform/trash/FreedesktopTrash.h), so only
// the programs that trash files link what it needs.
using TrashImplementation = int (*)(const char* path);
void SetTrashImplementation(TrashImplementation trash);

// The calls in use now.
SystemCalls& Sys();
// Installs `calls` (nullptr: the real system) and answers the previous
// object, for the caller to restore. Install before starting threads that
// use the seam; the object must outlive its use.
SystemCalls* InstallSystemCalls(SystemCalls* calls);

} // namespace paradrex::platform
