#pragma once
// The "Open" submenu of the popups about one file: "&Open" (the desktop's
// default application), then the visible rows of the settings' file context
// menu, each starting its configured program on the file. Built at start and
// again when the options change the rows.

#include "settings/SettingKeys.h"

#include <string>
#include <string_view>
#include <vector>

namespace paradrex {

struct OpenSubmenuItem {
    int id;           // cmd::OpenFile, or cmd::OpenWithFirst + the row's index
    std::string text; // with "&" before the access key
    bool operator==(const OpenSubmenuItem&) const = default;
};

// "&Open", then each row whose Visible is 1, in row order, with its caption as
// stored; a row keeps its id wherever it lands in the submenu.
std::vector<OpenSubmenuItem> OpenSubmenuItems(const _File_context_menu_section& menu);

// Commands 51 to 60.
bool IsOpenWithCommand(int id);

// The status bar text when the program of a row cannot be started.
std::string CantStartText(std::string_view program);

// What choosing a row of the submenu starts for a file (absolute path).
struct OpenWithLaunch {
    // The program as an executable file's path, then its arguments; empty
    // when nothing can be started: the Command is empty, cannot be split, its
    // program is not found or not executable, or the file is gone.
    std::vector<std::string> argv;
    // "Can't start " + the program (its Command's program, or the Command,
    // or the row's caption when the Command is empty): shown when argv is
    // empty, or when starting it fails.
    std::string failureText;

    bool ok() const { return !argv.empty(); }
};
OpenWithLaunch PrepareOpenWith(const _File_context_menu_section& menu, int id,
                               const std::string& filePath);

} // namespace paradrex
