#pragma once
// A small JSON reader for tests. Strings are decoded to UTF-8 bytes, except
// the escapes U+DC80..U+DCFF, which stand for the single raw bytes 0x80..0xFF.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace paradrex::test {

class Json {
public:
    enum class Type { Null, Bool, Number, String, Array, Object };

    static Json Parse(std::string_view text); // throws std::runtime_error

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }
    double number() const;
    bool boolean() const;
    const std::string& str() const;
    const std::vector<Json>& array() const;
    const std::map<std::string, Json>& object() const;
    const Json& operator[](const std::string& key) const;
    const Json& operator[](size_t i) const { return array().at(i); }
    size_t size() const;
    bool has(const std::string& key) const;

private:
    Type type_ = Type::Null;
    bool bool_ = false;
    double number_ = 0;
    std::string string_;
    std::vector<Json> array_;
    std::map<std::string, Json> object_;
    friend class JsonParser;
};

} // namespace paradrex::test
