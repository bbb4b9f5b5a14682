#pragma once
// The per-user key store: a small typed key-value file standing in for the
// registry, $XDG_CONFIG_HOME/Paradrex/registry.ini (default
// ~/.config/Paradrex/registry.ini).
//
//   [Software\Paradrex]
//   Count=qword:1234
//   Size=qword:56789
//
// Every change is a read-modify-write under an advisory lock on a lock file
// beside it, and the file is replaced atomically (temporary file + rename), so
// two running instances never lose an update and a crash never leaves a
// truncated file.

#include "platform/Result.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace paradrex::platform {

enum class KeyValueType { Dword, Qword, String };

struct KeyValue {
    KeyValueType type = KeyValueType::Qword;
    uint64_t number = 0;
    std::string text;

    static KeyValue Qword(uint64_t v) { return {KeyValueType::Qword, v, {}}; }
    static KeyValue Dword(uint32_t v) { return {KeyValueType::Dword, v, {}}; }
    static KeyValue String(std::string s) { return {KeyValueType::String, 0, std::move(s)}; }
    bool operator==(const KeyValue&) const = default;
};

using KeyValues = std::map<std::string, KeyValue>;

class KeyStore {
public:
    // The file under $XDG_CONFIG_HOME (or ~/.config) for this user.
    static std::string DefaultPath();

    explicit KeyStore(std::string path = DefaultPath());

    const std::string& path() const { return path_; }

    // Creates the key (and the folder and file) when it does not exist yet.
    // Fails when the key cannot be made to exist; a file that exists but
    // cannot be read is never rewritten.
    Result<void> CreateKey(const std::string& key);
    bool KeyExists(const std::string& key) const;
    // The value; fails with ENOENT when the key or the value is missing, or
    // with the error of reading the file.
    Result<KeyValue> Read(const std::string& key, const std::string& name) const;
    // Opens an existing key (never creates it) and lets `change` edit its
    // values under the lock; when `change` returns true the file is rewritten.
    // Fails with ENOENT when the key does not exist, or with the error of
    // locking, reading or writing the file.
    Result<void> Update(const std::string& key, const std::function<bool(KeyValues&)>& change);

private:
    std::string path_;
};

} // namespace paradrex::platform
