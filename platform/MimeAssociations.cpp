#include "platform/MimeAssociations.h"

#include "platform/Paths.h"

#include "platform/FileIo.h"

#include "platform/ChildProcess.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace paradrex::platform {

namespace {

constexpr size_t kDesktopEntryLimit = 1024 * 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r' || s.front() == '\n'))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// The applications folders in lookup order.
std::vector<std::string> ApplicationDirs() {
    std::vector<std::string> dirs;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') {
        dirs.push_back(dataHome);
    } else {
        const char* home = std::getenv("HOME");
        if (home && home[0] == '/')
            dirs.push_back(std::string(home) + "/.local/share");
    }
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::string_view list = dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share";
    while (!list.empty()) {
        size_t colon = list.find(':');
        std::string_view dir = list.substr(0, colon);
        if (!dir.empty() && dir.front() == '/') // relative entries are invalid
            dirs.emplace_back(dir);
        if (colon == std::string_view::npos)
            break;
        list.remove_prefix(colon + 1);
    }
    for (std::string& d : dirs) {
        while (d.size() > 1 && d.back() == '/')
            d.pop_back();
        d += "/applications";
    }
    return dirs;
}

// A desktop id names "<dir>/<id>", or, for each '-' in it, a subfolder:
// "kde-foo.desktop" may be "<dir>/kde/foo.desktop".
std::optional<std::string> FindEntryFile(const std::string& dir, std::string_view id, int depth) {
    std::string direct = dir + "/" + std::string(id);
    struct stat st;
    if (::stat(direct.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return direct;
    if (depth > 8)
        return std::nullopt;
    for (size_t dash = id.find('-'); dash != std::string_view::npos;
         dash = id.find('-', dash + 1)) {
        std::string sub = dir + "/" + std::string(id.substr(0, dash));
        if (dash == 0 || !IsDirectory(sub))
            continue;
        if (auto found = FindEntryFile(sub, id.substr(dash + 1), depth + 1))
            return found;
    }
    return std::nullopt;
}

// Resolves the escapes of a desktop-entry string value: \s \n \t \r \\.
std::string Unescape(std::string_view v) {
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\' || i + 1 == v.size()) {
            out += v[i];
            continue;
        }
        char c = v[++i];
        switch (c) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += c;
        }
    }
    return out;
}

} // namespace

MimeAssociations::MimeAssociations(std::string tool, std::chrono::milliseconds timeout)
    : tool_(std::move(tool)), timeout_(timeout) {}

bool MimeAssociations::Available() const {
    if (tool_.empty())
        return false;
    auto r = RunChild({tool_, "--version"}, timeout_);
    return r && r->exitCode == 0;
}

std::string MimeAssociations::DefaultDesktopEntry(const std::string& mimeType) const {
    if (tool_.empty())
        return {};
    auto r = RunChild({tool_, "query", "default", mimeType}, timeout_);
    if (!r || r->exitCode != 0)
        return {};
    // The first line; a list separated by ';' names the preferred entry first.
    std::string_view out = r->output;
    out = out.substr(0, out.find('\n'));
    out = out.substr(0, out.find(';'));
    out = Trim(out);
    // An id is a file name: never a path that could leave the folders.
    if (out.empty() || out.find('/') != std::string_view::npos || out == "." || out == "..")
        return {};
    return std::string(out);
}

std::optional<std::string> MimeAssociations::DefaultCommand(const std::string& mimeType) const {
    std::string id = DefaultDesktopEntry(mimeType);
    if (id.empty())
        return std::nullopt;
    return DesktopEntryExec(id);
}

std::optional<std::string> MimeAssociations::DesktopEntryExec(const std::string& desktopId) {
    if (desktopId.empty() || desktopId.find('/') != std::string::npos)
        return std::nullopt;
    for (const std::string& dir : ApplicationDirs()) {
        auto file = FindEntryFile(dir, desktopId, 0);
        if (!file)
            continue;
        // The first entry found hides those of later folders.
        auto text = ReadRegularFile(*file, kDesktopEntryLimit);
        if (!text)
            return std::nullopt;
        return ExecFromDesktopEntry(*text);
    }
    return std::nullopt;
}

std::optional<std::string> MimeAssociations::ExecFromDesktopEntry(const std::string& text) {
    std::string_view rest = text;
    bool inEntry = false;
    while (!rest.empty()) {
        size_t nl = rest.find('\n');
        std::string_view line = Trim(rest.substr(0, nl));
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry)
            continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos || Trim(line.substr(0, eq)) != "Exec")
            continue;
        std::string value = Unescape(Trim(line.substr(eq + 1)));
        if (value.empty())
            return std::nullopt;
        return value;
    }
    return std::nullopt;
}

} // namespace paradrex::platform
