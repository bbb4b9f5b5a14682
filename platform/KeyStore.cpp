#include "platform/KeyStore.h"

#include "platform/FileIo.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>

namespace paradrex::platform {

namespace {

using KeyMap = std::map<std::string, KeyValues>;

// The key store is a few lines; more than this is not read.
constexpr size_t kReadLimit = 1u << 20;

// The file's text; a file that does not exist yet holds no keys.
Result<std::string> ReadWhole(const std::string& path) {
    Result<std::string> text = ReadRegularFile(path, kReadLimit);
    if (!text && text.code() == ENOENT)
        return std::string();
    return text;
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

// Holds the advisory lock on "<path>.lock" while it lives.
class FileLock {
public:
    FileLock(const std::string& path, bool exclusive) {
        Result<File> file = File::Open(path + ".lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (!file) {
            status_ = file.error();
            return;
        }
        while (::flock(file->fd(), exclusive ? LOCK_EX : LOCK_SH) != 0) {
            if (errno != EINTR) {
                status_ = Error::FromErrno("flock", file->path());
                return;
            }
        }
        file_.emplace(std::move(*file));
    }
    const Result<void>& status() const { return status_; }

private:
    std::optional<File> file_;
    Result<void> status_;
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

Result<void> KeyStore::CreateKey(const std::string& key) {
    const size_t slash = path_.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        if (Result<void> dirs = MakeDirectories(path_.substr(0, slash), 0700); !dirs)
            return dirs;
    }
    FileLock lock(path_, true);
    if (!lock.status())
        return lock.status();
    Result<std::string> text = ReadWhole(path_);
    if (!text)
        return text.error();
    KeyMap keys = Parse(*text);
    if (keys.count(key))
        return {};
    keys[key];
    return ReplaceFileAtomically(path_, Serialize(keys));
}

bool KeyStore::KeyExists(const std::string& key) const {
    FileLock lock(path_, false);
    Result<std::string> text = ReadWhole(path_);
    return text && Parse(*text).count(key) != 0;
}

Result<KeyValue> KeyStore::Read(const std::string& key, const std::string& name) const {
    FileLock lock(path_, false);
    Result<std::string> text = ReadWhole(path_);
    if (!text)
        return text.error();
    KeyMap keys = Parse(*text);
    auto k = keys.find(key);
    if (k == keys.end())
        return Error{ENOENT, "open key " + key, path_, {}};
    auto v = k->second.find(name);
    if (v == k->second.end())
        return Error{ENOENT, "read value " + key + '\\' + name, path_, {}};
    return v->second;
}

Result<void> KeyStore::Update(const std::string& key,
                              const std::function<bool(KeyValues&)>& change) {
    FileLock lock(path_, true);
    if (!lock.status())
        return lock.status();
    Result<std::string> text = ReadWhole(path_);
    if (!text)
        return text.error();
    KeyMap keys = Parse(*text);
    auto k = keys.find(key);
    if (k == keys.end())
        return Error{ENOENT, "open key " + key, path_, {}};
    if (!change(k->second))
        return {};
    return ReplaceFileAtomically(path_, Serialize(keys));
}

} // namespace paradrex::platform
