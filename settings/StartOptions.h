#pragma once
// Where the desktop program keeps Setting.ini and error.log, as its command
// line says:
//
//     paradrex                      the working directory at start-up
//     paradrex --settings-dir DIR   DIR (also --settings-dir=DIR)
//     paradrex --user-settings      the user's folder, $XDG_CONFIG_HOME/Paradrex
//                                   (default ~/.config/Paradrex)
//
// The folder is created when it is missing. Other arguments are left to the
// toolkit. The desktop entry starts the program with --user-settings: its
// Exec line can name neither the home folder nor a working directory.

#include <span>
#include <string>

namespace paradrex {

struct StartOptions {
    // Empty: the working directory.
    std::string settingsDir;
    // A usage error, to be shown before the program ends; empty when none.
    std::string error;
};

inline constexpr const char* kStartUsage = "usage: paradrex [--settings-dir DIR | --user-settings]";

// Reads the options from `args` (argv without the program name).
// `userFolder` is what --user-settings stands for.
StartOptions ParseStartOptions(std::span<const char* const> args, const std::string& userFolder);

// $XDG_CONFIG_HOME/Paradrex when that is an absolute path, else
// $HOME/.config/Paradrex: the folder of the per-user key store too.
std::string UserSettingsFolder();

// Creates the settings folder (and its parents) when it is missing; the
// message of what failed otherwise, empty on success.
std::string PrepareSettingsFolder(const std::string& dir);

} // namespace paradrex
