#pragma once
// Path text as the program keeps it: absolute, lexically normal, '/' as the
// separator, no trailing slash except for the file-system root.

#include <optional>
#include <string>
#include <string_view>

namespace paradrex::platform {

// A path made absolute against the working directory and lexically normal
// ("." and empty components dropped, ".." removing one), without a trailing
// slash except for "/". Nothing is trimmed or expanded.
std::string AbsoluteNormalPath(std::string_view path);

// The home directory of a user ("" means the current user: $HOME, then the
// password database); nothing when it is unknown.
std::optional<std::string> HomeDirectory(std::string_view user = {});

// Where the program keeps what outlives a session (the operation record, the
// last result): $XDG_STATE_HOME/Paradrex when XDG_STATE_HOME is absolute,
// else ~/.local/state/Paradrex; empty when there is no home.
std::string StateDirectory();

// True when the path names a directory (a link to one counts).
bool IsDirectory(const std::string& path);

// The file:// URL of an absolute path: every byte but the letters, digits,
// "-", ".", "_", "~" and "/" is percent-encoded, so any name (blanks, "#",
// "%", bytes that are not UTF-8) survives the trip.
std::string FileUrl(std::string_view absolutePath);

} // namespace paradrex::platform
