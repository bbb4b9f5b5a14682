#include "support/Json.h"

#include <cstdlib>

namespace paradrex::test {

class JsonParser {
public:
    explicit JsonParser(std::string_view t) : t_(t) {}

    Json ParseDocument() {
        Json v = Value();
        Ws();
        if (i_ != t_.size())
            Fail("trailing text");
        return v;
    }

private:
    [[noreturn]] void Fail(const char* what) {
        throw std::runtime_error(std::string("JSON: ") + what + " at " + std::to_string(i_));
    }
    void Ws() {
        while (i_ < t_.size() &&
               (t_[i_] == ' ' || t_[i_] == '\n' || t_[i_] == '\r' || t_[i_] == '\t'))
            ++i_;
    }
    char Peek() {
        Ws();
        if (i_ >= t_.size())
            Fail("unexpected end");
        return t_[i_];
    }
    void Expect(char c) {
        if (Peek() != c)
            Fail("unexpected character");
        ++i_;
    }
    bool Literal(std::string_view word) {
        if (t_.substr(i_, word.size()) == word) {
            i_ += word.size();
            return true;
        }
        return false;
    }
    unsigned Hex4() {
        if (i_ + 4 > t_.size())
            Fail("short \\u escape");
        unsigned v = 0;
        for (int k = 0; k < 4; ++k) {
            char c = t_[i_++];
            v <<= 4;
            if (c >= '0' && c <= '9')
                v |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                v |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                v |= static_cast<unsigned>(c - 'A' + 10);
            else
                Fail("bad hex digit");
        }
        return v;
    }
    static void PutUtf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    std::string String() {
        Expect('"');
        std::string out;
        for (;;) {
            if (i_ >= t_.size())
                Fail("unterminated string");
            char c = t_[i_++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                Fail("control character in string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i_ >= t_.size())
                Fail("bad escape");
            char e = t_[i_++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned cp = Hex4();
                if (cp >= 0xDC80 && cp <= 0xDCFF) {
                    out += static_cast<char>(cp - 0xDC00); // one raw byte
                } else if (cp >= 0xD800 && cp <= 0xDBFF && t_.substr(i_, 2) == "\\u") {
                    i_ += 2;
                    unsigned lo = Hex4();
                    PutUtf8(out, 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00));
                } else {
                    PutUtf8(out, cp);
                }
                break;
            }
            default:
                Fail("bad escape");
            }
        }
    }
    Json Value() {
        Json v;
        char c = Peek();
        if (c == '{') {
            ++i_;
            v.type_ = Json::Type::Object;
            if (Peek() == '}') {
                ++i_;
                return v;
            }
            for (;;) {
                std::string key = String();
                Expect(':');
                v.object_[key] = Value();
                if (Peek() == ',') {
                    ++i_;
                    continue;
                }
                Expect('}');
                return v;
            }
        }
        if (c == '[') {
            ++i_;
            v.type_ = Json::Type::Array;
            if (Peek() == ']') {
                ++i_;
                return v;
            }
            for (;;) {
                v.array_.push_back(Value());
                if (Peek() == ',') {
                    ++i_;
                    continue;
                }
                Expect(']');
                return v;
            }
        }
        if (c == '"') {
            v.type_ = Json::Type::String;
            v.string_ = String();
            return v;
        }
        if (Literal("true")) {
            v.type_ = Json::Type::Bool;
            v.bool_ = true;
            return v;
        }
        if (Literal("false")) {
            v.type_ = Json::Type::Bool;
            return v;
        }
        if (Literal("null"))
            return v;
        const char* begin = t_.data() + i_;
        char* end = nullptr;
        std::string copy(t_.substr(i_, 64));
        double d = std::strtod(copy.c_str(), &end);
        if (end == copy.c_str())
            Fail("bad value");
        i_ += static_cast<size_t>(end - copy.c_str());
        (void)begin;
        v.type_ = Json::Type::Number;
        v.number_ = d;
        return v;
    }

    std::string_view t_;
    size_t i_ = 0;
};

Json Json::Parse(std::string_view text) {
    return JsonParser(text).ParseDocument();
}

double Json::number() const {
    if (type_ != Type::Number)
        throw std::runtime_error("JSON: not a number");
    return number_;
}
bool Json::boolean() const {
    if (type_ != Type::Bool)
        throw std::runtime_error("JSON: not a boolean");
    return bool_;
}
const std::string& Json::str() const {
    if (type_ != Type::String)
        throw std::runtime_error("JSON: not a string");
    return string_;
}
const std::vector<Json>& Json::array() const {
    if (type_ != Type::Array)
        throw std::runtime_error("JSON: not an array");
    return array_;
}
const std::map<std::string, Json>& Json::object() const {
    if (type_ != Type::Object)
        throw std::runtime_error("JSON: not an object");
    return object_;
}
const Json& Json::operator[](const std::string& key) const {
    auto it = object().find(key);
    if (it == object_.end())
        throw std::runtime_error("JSON: no key " + key);
    return it->second;
}
size_t Json::size() const {
    return type_ == Type::Array ? array_.size() : type_ == Type::Object ? object_.size() : 0;
}
bool Json::has(const std::string& key) const {
    return object().count(key) != 0;
}

} // namespace paradrex::test
