#include "fileops/JsonReader.h"

#include <charconv>
#include <cstdio>

namespace paradrex {

namespace {

bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// What a value starting with `c` is, for messages.
std::string Describe(int c) {
    switch (c) {
    case '{':
        return "an object";
    case '[':
        return "an array";
    case '"':
        return "a string";
    case 't':
    case 'f':
        return "true or false";
    case 'n':
        return "null";
    case '}':
        return "the end of an object";
    case ']':
        return "the end of an array";
    default:
        break;
    }
    if (c == '-' || IsDigit(c))
        return "a number";
    if (c > 0x20 && c < 0x7F)
        return std::string("'") + static_cast<char>(c) + "'";
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02x", static_cast<unsigned>(c));
    return std::string("the byte ") + hex;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
bool WellFormedNumber(std::string_view s, bool& whole) {
    size_t i = 0;
    auto digits = [&] {
        size_t start = i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
        return i > start;
    };
    if (i < s.size() && s[i] == '-')
        ++i;
    if (i < s.size() && s[i] == '0')
        ++i;
    else if (!digits())
        return false;
    whole = true;
    if (i < s.size() && s[i] == '.') {
        ++i;
        whole = false;
        if (!digits())
            return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        whole = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (!digits())
            return false;
    }
    return i == s.size();
}

} // namespace

JsonReader::JsonReader(Source source, size_t bufferSize)
    : source_(std::move(source)), buffer_(bufferSize) {}

void JsonReader::Fail(std::string what) const {
    throw Failure{std::move(what), offset(), false};
}

void JsonReader::FailAtEnd() const {
    throw Failure{"the text ends too early", offset(), true};
}

void JsonReader::FailFound(const char* what) {
    const int c = PeekNonSpace();
    if (c < 0)
        FailAtEnd();
    Fail(std::string("expected ") + what + ", found " + Describe(c));
}

bool JsonReader::Refill() {
    if (atEnd_)
        return false;
    consumed_ += end_;
    pos_ = end_ = 0;
    const size_t n = source_(buffer_.data(), buffer_.size());
    if (n == 0) {
        atEnd_ = true;
        return false;
    }
    end_ = n;
    return true;
}

int JsonReader::Peek() {
    if (pos_ == end_ && !Refill())
        return -1;
    return static_cast<unsigned char>(buffer_[pos_]);
}

char JsonReader::Take() {
    const int c = Peek();
    if (c < 0)
        FailAtEnd();
    ++pos_;
    return static_cast<char>(c);
}

int JsonReader::PeekNonSpace() {
    for (;;) {
        const int c = Peek();
        if (!IsSpace(c))
            return c;
        ++pos_;
    }
}

void JsonReader::Expect(char c, const char* what) {
    const int got = PeekNonSpace();
    if (got != c)
        FailFound(what);
    ++pos_;
}

void JsonReader::BeginObject() {
    Expect('{', "an object");
    first_.push_back(true);
}

bool JsonReader::NextKey(std::string& key) {
    int c = PeekNonSpace();
    if (c == '}') {
        ++pos_;
        first_.pop_back();
        return false;
    }
    if (!first_.back()) {
        if (c != ',')
            FailFound("',' or the end of the object");
        ++pos_;
        c = PeekNonSpace();
    }
    if (c != '"')
        FailFound("a field name");
    ReadString(key, "field name");
    Expect(':', "':'");
    first_.back() = false;
    return true;
}

void JsonReader::BeginArray() {
    Expect('[', "an array");
    first_.push_back(true);
}

bool JsonReader::NextElement() {
    const int c = PeekNonSpace();
    if (c == ']') {
        ++pos_;
        first_.pop_back();
        return false;
    }
    if (!first_.back()) {
        if (c != ',')
            FailFound("',' or the end of the array");
        ++pos_;
    }
    first_.back() = false;
    return true;
}

unsigned JsonReader::ReadHex4() {
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = Take();
        v <<= 4;
        if (c >= '0' && c <= '9')
            v |= static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            v |= static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            v |= static_cast<unsigned>(c - 'A' + 10);
        else
            Fail("a \\u escape needs four hexadecimal digits");
    }
    return v;
}

void JsonReader::ReadString(std::string& out, const char* what) {
    if (PeekNonSpace() != '"') {
        if (PeekNonSpace() < 0)
            FailAtEnd();
        Fail(std::string("\"") + what + "\" should be a string, not " + Describe(PeekNonSpace()));
    }
    ++pos_;
    out.clear();
    for (;;) {
        if (pos_ == end_ && !Refill())
            FailAtEnd();
        // The plain bytes up to the next quote, backslash or control byte.
        const char* p = buffer_.data() + pos_;
        const char* e = buffer_.data() + end_;
        const char* q = p;
        while (q < e && *q != '"' && *q != '\\' && static_cast<unsigned char>(*q) >= 0x20)
            ++q;
        out.append(p, q);
        pos_ += static_cast<size_t>(q - p);
        if (q == e)
            continue;
        const char c = Take();
        if (c == '"')
            return;
        if (c != '\\')
            Fail("a control byte inside a string");
        const char esc = Take();
        switch (esc) {
        case '"':
        case '\\':
        case '/':
            out += esc;
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
            uint32_t cp = ReadHex4();
            if (cp >= 0xD800 && cp <= 0xDBFF) {
                if (Take() != '\\' || Take() != 'u')
                    Fail("a broken surrogate pair");
                const uint32_t low = ReadHex4();
                if (low < 0xDC00 || low > 0xDFFF)
                    Fail("a broken surrogate pair");
                AppendUtf8(out, 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00));
            } else if (cp >= 0xDC80 && cp <= 0xDCFF) {
                out += static_cast<char>(cp - 0xDC00); // one byte that is not UTF-8
            } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                Fail("a lone surrogate escape");
            } else {
                AppendUtf8(out, cp);
            }
            break;
        }
        default:
            Fail("an unknown escape in a string");
        }
    }
}

void JsonReader::ReadNumberText(const char* what) {
    const int c = PeekNonSpace();
    if (c < 0)
        FailAtEnd();
    if (c != '-' && !IsDigit(c))
        Fail(std::string("\"") + what + "\" should be a number, not " + Describe(c));
    number_.clear();
    for (;;) {
        const int d = Peek();
        if (!(IsDigit(d) || d == '-' || d == '+' || d == '.' || d == 'e' || d == 'E'))
            break;
        if (number_.size() >= 64)
            Fail(std::string("\"") + what + "\" has too many digits");
        number_ += static_cast<char>(d);
        ++pos_;
    }
}

uint64_t JsonReader::ReadUnsigned(const char* what, uint64_t max) {
    ReadNumberText(what);
    bool whole = false;
    if (!WellFormedNumber(number_, whole))
        Fail("a malformed number");
    uint64_t v = 0;
    const char* b = number_.data();
    const char* e = b + number_.size();
    if (!whole || number_[0] == '-' || std::from_chars(b, e, v).ec != std::errc{} || v > max)
        Fail(std::string("\"") + what + "\" should be a whole number from 0 to " +
             std::to_string(max) + ", not " + number_);
    return v;
}

int64_t JsonReader::ReadSigned(const char* what, int64_t min, int64_t max) {
    ReadNumberText(what);
    bool whole = false;
    if (!WellFormedNumber(number_, whole))
        Fail("a malformed number");
    int64_t v = 0;
    const char* b = number_.data();
    const char* e = b + number_.size();
    if (!whole || std::from_chars(b, e, v).ec != std::errc{} || v < min || v > max)
        Fail(std::string("\"") + what + "\" should be a whole number from " + std::to_string(min) +
             " to " + std::to_string(max) + ", not " + number_);
    return v;
}

double JsonReader::ReadDouble(const char* what) {
    ReadNumberText(what);
    bool whole = false;
    if (!WellFormedNumber(number_, whole))
        Fail("a malformed number");
    double v = 0;
    const char* b = number_.data();
    const char* e = b + number_.size();
    if (std::from_chars(b, e, v).ec != std::errc{})
        Fail(std::string("\"") + what + "\" is out of range: " + number_);
    return v;
}

bool JsonReader::ReadBool(const char* what) {
    const int c = PeekNonSpace();
    if (c < 0)
        FailAtEnd();
    if (c != 't' && c != 'f')
        Fail(std::string("\"") + what + "\" should be true or false, not " + Describe(c));
    const char* word = c == 't' ? "true" : "false";
    for (const char* w = word; *w; ++w)
        if (Take() != *w)
            Fail("a malformed literal");
    return c == 't';
}

void JsonReader::End() {
    if (PeekNonSpace() >= 0)
        Fail("more text after the end of the value");
}

} // namespace paradrex
