#pragma once
// The desktop's default programs by MIME type: `xdg-mime query default TYPE`
// names a desktop entry, and the entry's Exec line (found in
// $XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS/applications) says
// how the program is started. The association service counts as available
// when the query tool can be run.

#include <chrono>
#include <optional>
#include <string>

namespace paradrex::platform {

class MimeAssociations {
public:
    // `tool` is the query program, looked up on PATH when it holds no '/';
    // empty means no association service.
    explicit MimeAssociations(std::string tool = "xdg-mime",
                              std::chrono::milliseconds timeout = std::chrono::seconds(5));

    // True when the query tool runs ("xdg-mime --version" exits with 0).
    bool Available() const;
    // The desktop entry id the desktop opens the type with ("gedit.desktop"),
    // or empty when there is none or the tool failed.
    std::string DefaultDesktopEntry(const std::string& mimeType) const;
    // The Exec text of the default desktop entry of the type, with the
    // desktop-entry string escapes resolved; nothing when there is none.
    std::optional<std::string> DefaultCommand(const std::string& mimeType) const;

    // The Exec text of a desktop entry found in the XDG data directories.
    static std::optional<std::string> DesktopEntryExec(const std::string& desktopId);
    // The Exec value of the "[Desktop Entry]" group of a desktop entry's text.
    static std::optional<std::string> ExecFromDesktopEntry(const std::string& text);

private:
    std::string tool_;
    std::chrono::milliseconds timeout_;
};

} // namespace paradrex::platform
