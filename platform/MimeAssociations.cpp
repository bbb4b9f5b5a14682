#include "platform/MimeAssociations.h"

#include "platform/FileIo.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <map>
#include <set>
#include <string_view>
#include <sys/stat.h>

namespace paradrex::platform {

namespace {

constexpr size_t kDesktopEntryLimit = 1024 * 1024;
// A mimeinfo.cache of a large desktop holds some hundred kilobytes.
constexpr size_t kListLimit = 16 * 1024 * 1024;
// Subfolders of an applications folder, as desktop ids name them with '-'.
constexpr int kEntryDepthLimit = 8;

constexpr std::string_view kDefaults = "Default Applications";
constexpr std::string_view kAdded = "Added Associations";
constexpr std::string_view kRemoved = "Removed Associations";
constexpr std::string_view kCache = "MIME Cache";

using Ids = std::vector<std::string>;
// Lower-case MIME type -> desktop ids, in file order.
using TypeMap = std::map<std::string, Ids, std::less<>>;

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

// MIME types compare without regard to ASCII case.
std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// An id is a file name: never a path that could leave the folders.
bool ValidId(std::string_view id) {
    return !id.empty() && id != "." && id != ".." && id.find('/') == std::string_view::npos;
}

// A ';'-separated list of ids; blanks around them and empty items dropped.
Ids SplitIds(std::string_view value) {
    Ids ids;
    while (!value.empty()) {
        size_t semi = value.find(';');
        std::string_view id = Trim(value.substr(0, semi));
        if (ValidId(id))
            ids.emplace_back(id);
        if (semi == std::string_view::npos)
            break;
        value.remove_prefix(semi + 1);
    }
    return ids;
}

// Calls `line(group, key, value)` for every "key=value" line of a key file
// (desktop entries, mimeapps.list, mimeinfo.cache): blanks around the key and
// the value are dropped, comments and lines without "=" skipped.
template <class F> void ForEachKey(std::string_view text, F line) {
    std::string_view group;
    while (!text.empty()) {
        size_t nl = text.find('\n');
        std::string_view l = Trim(text.substr(0, nl));
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (l.empty() || l.front() == '#')
            continue;
        if (l.front() == '[') {
            group = l.back() == ']' ? l.substr(1, l.size() - 2) : std::string_view();
            continue;
        }
        size_t eq = l.find('=');
        if (eq != std::string_view::npos)
            line(group, Trim(l.substr(0, eq)), Trim(l.substr(eq + 1)));
    }
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

// The groups of a mimeapps.list or mimeinfo.cache that the lookup uses.
struct AssociationList {
    TypeMap defaults, added, removed, cache;

    static AssociationList Parse(std::string_view text) {
        AssociationList list;
        ForEachKey(text, [&](std::string_view group, std::string_view key, std::string_view value) {
            TypeMap* map = group == kDefaults  ? &list.defaults
                           : group == kAdded   ? &list.added
                           : group == kRemoved ? &list.removed
                           : group == kCache   ? &list.cache
                                               : nullptr;
            if (!map || key.empty())
                return;
            Ids& ids = (*map)[Lower(key)];
            for (std::string& id : SplitIds(value))
                ids.push_back(std::move(id));
        });
        return list;
    }
};

const Ids& Find(const TypeMap& map, std::string_view type) {
    static const Ids kNone;
    auto it = map.find(type);
    return it == map.end() ? kNone : it->second;
}

std::optional<AssociationList> ReadList(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    auto text = ReadRegularFile(path, kListLimit);
    if (!text)
        return std::nullopt;
    return AssociationList::Parse(*text);
}

std::string WithoutTrailingSlash(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

// An absolute directory from the environment, or the fallback.
std::string HomeBased(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return WithoutTrailingSlash(value);
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return WithoutTrailingSlash(std::string(home) + underHome);
    return {};
}

// The absolute entries of a ':'-separated list (relative ones are invalid).
std::vector<std::string> DirList(const char* variable, std::string_view fallback) {
    const char* value = std::getenv(variable);
    std::string_view list = value && *value ? value : fallback;
    std::vector<std::string> dirs;
    while (!list.empty()) {
        size_t colon = list.find(':');
        std::string_view dir = list.substr(0, colon);
        if (!dir.empty() && dir.front() == '/')
            dirs.push_back(WithoutTrailingSlash(std::string(dir)));
        if (colon == std::string_view::npos)
            break;
        list.remove_prefix(colon + 1);
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
    if (depth > kEntryDepthLimit)
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

// The MimeType lines of the desktop entries in an applications folder and
// its subfolders, for a folder without mimeinfo.cache. Entries are taken in
// the order of their ids.
void CollectEntryTypes(const std::string& dir, const std::string& idPrefix, int depth,
                       std::map<std::string, std::string>& idToFile) {
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = dir + "/" + name;
        struct stat st;
        if (::stat(path.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode) && depth < kEntryDepthLimit)
            CollectEntryTypes(path, idPrefix + name + "-", depth + 1, idToFile);
        else if (S_ISREG(st.st_mode) && name.size() > 8 &&
                 name.compare(name.size() - 8, 8, ".desktop") == 0)
            idToFile.emplace(idPrefix + name, path);
    }
    ::closedir(d);
}

TypeMap TypesOfEntries(const std::string& applications) {
    std::map<std::string, std::string> idToFile;
    CollectEntryTypes(applications, "", 0, idToFile);
    TypeMap types;
    for (const auto& [id, file] : idToFile) {
        auto text = ReadRegularFile(file, kDesktopEntryLimit);
        if (!text)
            continue;
        ForEachKey(*text, [&](std::string_view group, std::string_view key, std::string_view v) {
            if (group != "Desktop Entry" || key != "MimeType")
                return;
            while (!v.empty()) {
                size_t semi = v.find(';');
                std::string_view type = Trim(v.substr(0, semi));
                if (!type.empty())
                    types[Lower(type)].push_back(id);
                if (semi == std::string_view::npos)
                    break;
                v.remove_prefix(semi + 1);
            }
        });
    }
    return types;
}

} // namespace

XdgLocations XdgLocations::FromEnvironment() {
    XdgLocations where;
    if (std::string home = HomeBased("XDG_CONFIG_HOME", "/.config"); !home.empty())
        where.configDirs.push_back(home);
    for (std::string& d : DirList("XDG_CONFIG_DIRS", "/etc/xdg"))
        where.configDirs.push_back(std::move(d));
    if (std::string home = HomeBased("XDG_DATA_HOME", "/.local/share"); !home.empty())
        where.dataDirs.push_back(home);
    for (std::string& d : DirList("XDG_DATA_DIRS", "/usr/local/share:/usr/share"))
        where.dataDirs.push_back(std::move(d));
    if (const char* desktop = std::getenv("XDG_CURRENT_DESKTOP")) {
        std::string_view names = desktop;
        while (!names.empty()) {
            size_t colon = names.find(':');
            std::string name = Lower(Trim(names.substr(0, colon)));
            if (!name.empty() && name.find('/') == std::string::npos)
                where.desktops.push_back(name);
            if (colon == std::string_view::npos)
                break;
            names.remove_prefix(colon + 1);
        }
    }
    return where;
}

// One folder of mimeapps.list files; for the data folders also the
// applications folder whose entries it associates.
struct MimeAssociations::Folder {
    std::vector<AssociationList> lists; // desktop-specific first, then the plain one
    std::string applications;           // empty for the configuration folders
    // The types of the applications folder's entries, read when first needed.
    mutable std::optional<TypeMap> entryTypes;

    const TypeMap& EntryTypes() const {
        if (!entryTypes) {
            if (auto cache = ReadList(applications + "/mimeinfo.cache"))
                entryTypes = std::move(cache->cache);
            else
                entryTypes = TypesOfEntries(applications);
        }
        return *entryTypes;
    }
};

MimeAssociations::MimeAssociations() : MimeAssociations(XdgLocations::FromEnvironment()) {}

MimeAssociations::MimeAssociations(XdgLocations where) : where_(std::move(where)) {}

MimeAssociations::MimeAssociations(XdgLocations where, bool enabled)
    : where_(std::move(where)), enabled_(enabled) {}

MimeAssociations::~MimeAssociations() = default;
MimeAssociations::MimeAssociations(MimeAssociations&&) noexcept = default;
MimeAssociations& MimeAssociations::operator=(MimeAssociations&&) noexcept = default;

MimeAssociations MimeAssociations::None() {
    return MimeAssociations(XdgLocations(), false);
}

const std::vector<MimeAssociations::Folder>& MimeAssociations::Folders() const {
    if (folders_)
        return *folders_;
    folders_ = std::make_unique<std::vector<Folder>>();
    auto addFolder = [&](const std::string& dir, std::string applications) {
        Folder folder;
        std::vector<std::string> names;
        for (const std::string& desktop : where_.desktops)
            names.push_back(desktop + "-mimeapps.list");
        names.push_back("mimeapps.list");
        for (const std::string& name : names)
            if (auto list = ReadList(dir + "/" + name))
                folder.lists.push_back(std::move(*list));
        folder.applications = std::move(applications);
        folders_->push_back(std::move(folder));
    };
    for (const std::string& dir : where_.configDirs)
        addFolder(dir, {});
    for (const std::string& dir : where_.dataDirs)
        addFolder(dir + "/applications", dir + "/applications");
    return *folders_;
}

bool MimeAssociations::Available() const {
    if (!enabled_)
        return false;
    return std::any_of(where_.dataDirs.begin(), where_.dataDirs.end(),
                       [](const std::string& d) { return IsDirectory(d + "/applications"); });
}

std::string MimeAssociations::DefaultDesktopEntry(const std::string& mimeType) const {
    if (!enabled_)
        return {};
    const std::string type = Lower(mimeType);
    auto installed = [&](const std::string& id) { return DesktopEntryExec(id).has_value(); };

    for (const Folder& folder : Folders())
        for (const AssociationList& list : folder.lists)
            for (const std::string& id : Find(list.defaults, type))
                if (installed(id))
                    return id;

    // A removal applies to the associations of its own folder and of the
    // less important ones.
    std::set<std::string, std::less<>> removed;
    auto usable = [&](const std::string& id) { return !removed.count(id) && installed(id); };
    for (const Folder& folder : Folders()) {
        for (const AssociationList& list : folder.lists)
            for (const std::string& id : Find(list.removed, type))
                removed.insert(id);
        for (const AssociationList& list : folder.lists)
            for (const std::string& id : Find(list.added, type))
                if (usable(id))
                    return id;
        if (folder.applications.empty())
            continue;
        for (const std::string& id : Find(folder.EntryTypes(), type))
            if (usable(id))
                return id;
    }
    return {};
}

std::optional<std::string> MimeAssociations::DefaultCommand(const std::string& mimeType) const {
    std::string id = DefaultDesktopEntry(mimeType);
    if (id.empty())
        return std::nullopt;
    return DesktopEntryExec(id);
}

std::optional<std::string> MimeAssociations::DesktopEntryExec(const std::string& desktopId) const {
    if (!enabled_ || !ValidId(desktopId))
        return std::nullopt;
    for (const std::string& dir : where_.dataDirs) {
        auto file = FindEntryFile(dir + "/applications", desktopId, 0);
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
    std::optional<std::string> exec;
    bool hidden = false;
    ForEachKey(text, [&](std::string_view group, std::string_view key, std::string_view value) {
        if (group != "Desktop Entry")
            return;
        if (key == "Exec" && !exec)
            exec = Unescape(value);
        else if (key == "Hidden")
            hidden = value == "true";
    });
    if (hidden || !exec || exec->empty())
        return std::nullopt;
    return exec;
}

} // namespace paradrex::platform
