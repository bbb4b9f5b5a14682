#include "support/TempTree.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace paradrex::test {

namespace {
void Check(bool ok, const std::string& what) {
    if (!ok)
        throw std::runtime_error(what + ": " + std::strerror(errno));
}

void MakeWritable(const fs::path& p) {
    std::error_code ec;
    for (auto it =
             fs::recursive_directory_iterator(p, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            ::chmod(it->path().c_str(), 0755);
    }
}
} // namespace

std::string PatternBytes(uint64_t size, uint32_t seed) {
    std::string s(size, '\0');
    uint64_t x = seed * 0x9E3779B97F4A7C15ull + 0x1234567ull;
    for (uint64_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        s[i] = static_cast<char>(x & 0xFF);
    }
    return s;
}

TempTree::TempTree() {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/paradrex-test-XXXXXX";
    Check(::mkdtemp(tmpl.data()) != nullptr, "mkdtemp");
    root_ = tmpl;
}

TempTree::~TempTree() {
    ::chmod(root_.c_str(), 0755);
    MakeWritable(root_);
    std::error_code ec;
    fs::remove_all(root_, ec);
}

std::string TempTree::path(std::string_view rel) const {
    if (rel.empty())
        return root_;
    return root_ + "/" + std::string(rel);
}

std::string TempTree::createDir(std::string_view rel) {
    std::string p = path(rel);
    fs::create_directories(p);
    return p;
}

std::string TempTree::createFile(std::string_view rel, std::string_view bytes, time_t mtime) {
    std::string p = path(rel);
    fs::create_directories(fs::path(p).parent_path());
    int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Check(fd >= 0, "open " + p);
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        Check(n > 0, "write " + p);
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    if (mtime != 0) {
        struct timeval tv[2] = {{mtime, 0}, {mtime, 0}};
        Check(::utimes(p.c_str(), tv) == 0, "utimes " + p);
    }
    return p;
}

std::string TempTree::createPatternFile(std::string_view rel, uint64_t size, uint32_t seed,
                                        time_t mtime) {
    return createFile(rel, PatternBytes(size, seed), mtime);
}

std::string TempTree::createSparseFile(std::string_view rel, uint64_t size,
                                       std::initializer_list<Patch> patches) {
    std::string p = path(rel);
    fs::create_directories(fs::path(p).parent_path());
    int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Check(fd >= 0, "open " + p);
    Check(::ftruncate(fd, static_cast<off_t>(size)) == 0, "ftruncate " + p);
    for (const Patch& patch : patches) {
        Check(patch.offset + patch.bytes.size() <= size, "patch beyond the end of " + p);
        Check(::pwrite(fd, patch.bytes.data(), patch.bytes.size(),
                       static_cast<off_t>(patch.offset)) ==
                  static_cast<ssize_t>(patch.bytes.size()),
              "pwrite " + p);
    }
    ::close(fd);
    return p;
}

void TempTree::createSymlink(std::string_view target, std::string_view rel) {
    std::string p = path(rel);
    fs::create_directories(fs::path(p).parent_path());
    Check(::symlink(std::string(target).c_str(), p.c_str()) == 0, "symlink " + p);
}

void TempTree::createHardLink(std::string_view existingRel, std::string_view rel) {
    std::string p = path(rel);
    fs::create_directories(fs::path(p).parent_path());
    Check(::link(path(existingRel).c_str(), p.c_str()) == 0, "link " + p);
}

void TempTree::chmod(std::string_view rel, unsigned mode) {
    Check(::chmod(path(rel).c_str(), mode) == 0, "chmod");
}

void TempTree::remove(std::string_view rel) {
    std::error_code ec;
    fs::remove_all(path(rel), ec);
}

std::string TempTree::readFile(std::string_view rel) const {
    std::string p = path(rel);
    int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    Check(fd >= 0, "open " + p);
    std::string out;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return out;
}

bool TempTree::exists(std::string_view rel) const {
    struct stat st;
    return ::lstat(path(rel).c_str(), &st) == 0;
}

} // namespace paradrex::test
