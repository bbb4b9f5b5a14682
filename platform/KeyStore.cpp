#include "platform/KeyStore.h"

#include "platform/FileIo.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex::platform {

namespace {

using KeyMap = std::map<std::string, KeyValues>;

// The key store is a few lines; more than this is not read.
constexpr size_t kReadLimit = 1u << 20;

std::string ReadWhole(const std::string& path) {
    return ReadRegularFile(path, kReadLimit).value_or(std::string());
}

KeyMap Parse(const std::string& text) {
    KeyMap keys;
    KeyValues* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            current = &keys[std::string(line.substr(1, line.size() - 2))];
            continue;
        }
        size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos)
            continue;
        std::string name(line.substr(0, eq));
        std::string_view rest = line.substr(eq + 1);
        size_t colon = rest.find(':');
        if (colon == std::string_view::npos)
            continue;
        std::string_view type = rest.substr(0, colon);
        std::string_view data = rest.substr(colon + 1);
        KeyValue v;
        if (type == "string") {
            v = KeyValue::String(std::string(data));
        } else if (type == "qword" || type == "dword") {
            uint64_t n = 0;
            auto r = std::from_chars(data.data(), data.data() + data.size(), n);
            if (r.ec != std::errc() || r.ptr != data.data() + data.size())
                continue;
            if (type == "dword" && n > 0xFFFFFFFFull)
                continue;
            v = type == "qword" ? KeyValue::Qword(n) : KeyValue::Dword(static_cast<uint32_t>(n));
        } else {
            continue;
        }
        (*current)[name] = v;
    }
    return keys;
}

std::string Serialize(const KeyMap& keys) {
    std::string out = "; Paradrex per-user key store\n";
    for (const auto& [key, values] : keys) {
        out += '[' + key + "]\n";
        for (const auto& [name, v] : values) {
            out += name + '=';
            switch (v.type) {
            case KeyValueType::Dword:
                out += "dword:" + std::to_string(v.number);
                break;
            case KeyValueType::Qword:
                out += "qword:" + std::to_string(v.number);
                break;
            case KeyValueType::String:
                out += "string:" + v.text;
                break;
            }
            out += '\n';
        }
    }
    return out;
}

bool MakeParents(const std::string& path) {
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] != '/')
            continue;
        std::string dir = path.substr(0, i);
        if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

// Holds the advisory lock on "<path>.lock" for its lifetime.
class FileLock {
public:
    FileLock(const std::string& path, bool exclusive) {
        fd_ = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0)
            return;
        while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0) {
            if (errno != EINTR) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace

std::string KeyStore::DefaultPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.config";
    }
    return base + "/Paradrex/registry.ini";
}

KeyStore::KeyStore(std::string path) : path_(std::move(path)) {}

bool KeyStore::CreateKey(const std::string& key) {
    if (!MakeParents(path_))
        return false;
    FileLock lock(path_, true);
    if (!lock.held())
        return false;
    KeyMap keys = Parse(ReadWhole(path_));
    if (keys.count(key))
        return true;
    keys[key];
    return ReplaceFileAtomically(path_, Serialize(keys));
}

bool KeyStore::KeyExists(const std::string& key) const {
    FileLock lock(path_, false);
    return Parse(ReadWhole(path_)).count(key) != 0;
}

std::optional<KeyValue> KeyStore::Read(const std::string& key, const std::string& name) const {
    FileLock lock(path_, false);
    KeyMap keys = Parse(ReadWhole(path_));
    auto k = keys.find(key);
    if (k == keys.end())
        return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end())
        return std::nullopt;
    return v->second;
}

bool KeyStore::Update(const std::string& key, const std::function<bool(KeyValues&)>& change) {
    FileLock lock(path_, true);
    if (!lock.held())
        return false;
    KeyMap keys = Parse(ReadWhole(path_));
    auto k = keys.find(key);
    if (k == keys.end())
        return false;
    if (!change(k->second))
        return true;
    return ReplaceFileAtomically(path_, Serialize(keys));
}

} // namespace paradrex::platform
