#pragma once
// The desktop's default programs by MIME type, read from the XDG MIME
// application associations; no program is run. The mimeapps.list files are
// consulted in this order of precedence, each folder's desktop-specific files
// ("<desktop>-mimeapps.list" for each name of $XDG_CURRENT_DESKTOP, lower
// case) before its plain one:
//
//     $XDG_CONFIG_HOME, each of $XDG_CONFIG_DIRS,
//     $XDG_DATA_HOME/applications, each of $XDG_DATA_DIRS/applications.
//
// The default of a type is the first installed entry named under
// [Default Applications] in the most important file that names one. Without
// one, it is the most preferred entry associated with the type: a folder's
// [Added Associations] in file order, then the entries of that applications
// folder that list the type (its mimeinfo.cache, or the MimeType lines of
// its desktop entries when it has no cache), folder by folder, leaving out
// what [Removed Associations] of the same or a more important folder removes.
// An entry is installed when the first file of its id in the applications
// folders has an Exec line and is not Hidden.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace paradrex::platform {

// Where the associations are looked for.
struct XdgLocations {
    std::vector<std::string> configDirs; // $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS
    std::vector<std::string> dataDirs;   // $XDG_DATA_HOME, then $XDG_DATA_DIRS
    std::vector<std::string> desktops;   // the names of $XDG_CURRENT_DESKTOP, lower case

    // From the environment, with the XDG base directory defaults; relative
    // entries are left out.
    static XdgLocations FromEnvironment();
};

class MimeAssociations {
public:
    // The locations the environment names.
    MimeAssociations();
    explicit MimeAssociations(XdgLocations where);
    ~MimeAssociations();
    MimeAssociations(MimeAssociations&&) noexcept;
    MimeAssociations& operator=(MimeAssociations&&) noexcept;

    // No association service: not available, no type has a default.
    static MimeAssociations None();

    // True when one of the applications folders exists.
    bool Available() const;
    // The desktop entry id the desktop opens the type with ("gedit.desktop"),
    // or empty when there is none.
    std::string DefaultDesktopEntry(const std::string& mimeType) const;
    // The Exec text of the default desktop entry of the type, with the
    // desktop-entry string escapes resolved; nothing when there is none.
    std::optional<std::string> DefaultCommand(const std::string& mimeType) const;
    // The Exec text of the installed desktop entry with this id.
    std::optional<std::string> DesktopEntryExec(const std::string& desktopId) const;

    // The Exec value of the "[Desktop Entry]" group of a desktop entry's
    // text; nothing when it has none or is marked Hidden.
    static std::optional<std::string> ExecFromDesktopEntry(const std::string& text);

private:
    struct Folder;
    MimeAssociations(XdgLocations where, bool enabled);
    // The folders in order of precedence, read at the first query.
    const std::vector<Folder>& Folders() const;

    XdgLocations where_;
    bool enabled_ = true;
    mutable std::unique_ptr<std::vector<Folder>> folders_;
};

} // namespace paradrex::platform
