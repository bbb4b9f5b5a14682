#include "settings/IniSection.h"

#include "settings/IniReader.h"

#include <cstdint>

namespace HV {

namespace {

constexpr size_t kLineLimit = 639; // characters compared of a line read for a header
constexpr size_t kKeyLimit = 127;  // characters of a key
constexpr const char* kEntryKey = "dir";

enum class HeaderAt { InSequence, Searched, Missing };

// Looks for the header on the next line, then from the start of the text.
// Leaves the reader just behind the header line when found.
HeaderAt FindHeader(_Ini_reader& in, std::string_view header) {
    std::string line;
    if (in.ReadLine(line, kLineLimit) && line == header)
        return HeaderAt::InSequence;
    in.Seek(0);
    while (in.ReadLine(line, kLineLimit)) {
        if (line == header)
            return HeaderAt::Searched;
    }
    return HeaderAt::Missing;
}

void ReadValue(_Ini_value_base& value, _Ini_reader& in) {
    const std::string_view name = value.KeyName();
    const size_t resume = in.Position();
    std::string key;
    if (in.ReadKey(key, kKeyLimit) && key == name) {
        value.Read(in);
        return;
    }
    // Not on this line: scan the section from its top. The line that did not
    // match is then offered to the next value.
    in.Seek(value.sectionStart);
    while (!in.AtEnd()) {
        bool complete = in.ReadKey(key, kKeyLimit);
        if (!key.empty() && key.front() == '[')
            break;
        if (complete && key == name) {
            value.Read(in);
            break;
        }
        in.SkipRestOfLine(kIniSkipLimit);
    }
    in.Seek(resume);
}

} // namespace

std::vector<const _Ini_value_base*> _Ini_section::Values() const {
    std::vector<_Ini_value_base*> values = const_cast<_Ini_section*>(this)->Values();
    return {values.begin(), values.end()};
}

void _Ini_section::Read(_Ini_reader& in) {
    const size_t resume = in.Position();
    const HeaderAt at = FindHeader(in, Header());
    if (at == HeaderAt::Missing) {
        in.Seek(resume);
        return;
    }
    const size_t start = in.Position();
    std::vector<_Ini_value_base*> values = Values();
    for (_Ini_value_base* v : values)
        v->sectionStart = start;
    for (_Ini_value_base* v : values)
        ReadValue(*v, in);
    if (at == HeaderAt::InSequence)
        in.SkipPastEmptyLine();
    else
        in.Seek(resume); // the next section looks from the same place
}

void _Ini_section::Write(std::string& out) const {
    out += Header();
    out += '\n';
    for (const _Ini_value_base* v : Values()) {
        out += v->KeyName();
        out += '=';
        v->Write(out);
        out += '\n';
    }
    out += '\n';
}

void _Ini_dir_list::Read(_Ini_reader& in) {
    dirs.clear();
    const size_t resume = in.Position();
    const HeaderAt at = FindHeader(in, header_);
    if (at == HeaderAt::Missing) {
        in.Seek(resume);
        return;
    }
    // The list ends at an empty line, at the end of the text, or at a
    // section header: without that last stop, a list whose closing empty
    // line was lost would take in the entries of the next list (a Delete
    // list would swallow the Preserve list after it).
    std::string path;
    while (!in.AtEnd() && !in.AtLineEnd() && in.Text()[in.Position()] != '[') {
        if (!in.SkipPastEquals(kIniSkipLimit)) {
            in.SkipRestOfLine(SIZE_MAX); // no "dirN=": not an entry
            continue;
        }
        // A path is kept whole: a cut path would name another directory.
        in.ReadRestOfLine(path, SIZE_MAX);
        dirs.push_back(path);
    }
    if (at == HeaderAt::InSequence) {
        if (in.AtLineEnd())
            in.SkipRestOfLine(1);
    } else {
        in.Seek(resume);
    }
}

void _Ini_dir_list::Write(std::string& out) const {
    out += header_;
    out += '\n';
    size_t index = 0;
    for (const std::string& dir : dirs) {
        // A path with a line end cannot be stored in a line; writing it cut
        // would name another directory, so it is left out.
        if (dir.find('\n') != std::string::npos)
            continue;
        out += kEntryKey;
        out += std::to_string(index++);
        out += '=';
        out += dir;
        out += '\n';
    }
    out += '\n';
}

} // namespace HV
