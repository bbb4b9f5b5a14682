#include "fileops/JsonText.h"

#include <charconv>
#include <cmath>

namespace paradrex {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0.
size_t Utf8Sequence(std::string_view s, size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t len;
    uint32_t cp;
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (size_t k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = cp << 6 | (c & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

void AppendHex4(std::string& out, unsigned v) {
    static const char* digits = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[(v >> shift) & 0xF];
}

template <class T> void AppendChars(std::string& out, T v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

} // namespace

void AppendJsonString(std::string& out, std::string_view bytes) {
    out += '"';
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80) {
            size_t len = Utf8Sequence(bytes, i);
            if (len == 0) {
                AppendHex4(out, 0xDC00u + b);
                ++i;
            } else {
                out.append(bytes.data() + i, len);
                i += len;
            }
            continue;
        }
        switch (b) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (b < 0x20 || b == 0x7F)
                AppendHex4(out, b);
            else
                out += static_cast<char>(b);
        }
        ++i;
    }
    out += '"';
}

const char* JsonStateName(FileState state) {
    switch (state) {
    case FileState::Preserved:
        return "Preserved";
    case FileState::Deleted:
        return "Deleted";
    case FileState::Unsettled:
        break;
    }
    return "Unsettled";
}

std::optional<FileState> JsonState(std::string_view name) {
    for (FileState s : {FileState::Unsettled, FileState::Preserved, FileState::Deleted})
        if (name == JsonStateName(s))
            return s;
    return std::nullopt;
}

void AppendJsonNumber(std::string& out, uint64_t value) {
    AppendChars(out, value);
}

void AppendJsonNumber(std::string& out, int64_t value) {
    AppendChars(out, value);
}

void AppendJsonNumber(std::string& out, double value) {
    AppendChars(out, std::isfinite(value) ? value : 0.0);
}

void AppendJsonCounters(std::string& out, const SearchCounters::Values& v) {
    auto field = [&](const char* name, auto value, bool first = false) {
        if (!first)
            out += ',';
        out += '"';
        out += name;
        out += "\":";
        AppendJsonNumber(out, value);
    };
    out += '{';
    field("totalSize", v.totalSize, true);
    field("averageBytesPerSecond", v.averageBytesPerSecond);
    field("fileCount", v.fileCount);
    field("averageFilesPerSecond", v.averageFilesPerSecond);
    field("duplicateCount", v.duplicateCount);
    field("duplicateSize", v.duplicateSize);
    field("directoryCount", v.directoryCount);
    field("validated", v.validated);
    field("findTime", v.findTime);
    field("buildTime", v.buildTime);
    field("pretreatTime", v.pretreatTime);
    out += '}';
}

} // namespace paradrex
