#pragma once
// The two kinds of block in Setting.ini.
//
// A key section is a header line ("[layout]"), one "key=value" line per value
// in a fixed order, and an empty line. Reading is forgiving: the header is
// looked for where the previous section ended and, failing that, from the
// start of the text; each key is looked for on the next line and, failing
// that, by scanning its section from the top (up to the next "[" line); a key
// never found keeps its default.
//
// A directory list is a header line, one "dirN=path" line per entry (N counts
// from 0 and carries no meaning on reading), and an empty line.

#include "settings/IniValue.h"

#include <string>
#include <vector>

namespace HV {

class _Ini_reader;

class _Ini_section {
public:
    virtual ~_Ini_section() = default;
    bool operator==(const _Ini_section&) const { return true; }

    // The header line, for example "[layout]".
    virtual const char* Header() const = 0;
    // The values in the order of their lines in the file.
    virtual std::vector<_Ini_value_base*> Values() = 0;
    std::vector<const _Ini_value_base*> Values() const;

    // Reads the section, starting at the reader's position.
    void Read(_Ini_reader& in);
    // Appends the header, the value lines and the closing empty line, each
    // ending with "\n".
    void Write(std::string& out) const;
};

class _Ini_dir_list {
public:
    explicit _Ini_dir_list(const char* header) : header_(header) {}
    bool operator==(const _Ini_dir_list& other) const { return dirs == other.dirs; }

    const char* Header() const { return header_; }

    // Reads the list, starting at the reader's position; the list is emptied
    // first.
    void Read(_Ini_reader& in);
    // Appends the header, the entry lines and the closing empty line.
    void Write(std::string& out) const;

    std::vector<std::string> dirs;

private:
    const char* header_;
};

} // namespace HV
