#pragma once
// How the result panes are drawn as Setting.ini describes them: row
// colours, list style, grid lines and the widths of the lists' data columns;
// and what the main window stores back of them when it closes.

#include "review/Colour.h"
#include "uimodel/ListColumns.h"

#include <array>
#include <vector>

namespace paradrex {

class _Layout_section;
class _Setting_file;

// "ListViewStyle": 0 "Windows Default", 1 "Windows Vista Style".
enum class ListStyle { WindowsDefault = 0, WindowsVista = 1 };
// Only 1 draws the themed lists and tree; every other value the plain ones.
ListStyle ListStyleOf(int listViewStyle);

struct PaneSettings {
    // Those of a new Setting.ini.
    PaneSettings();
    RowColours colours;
    ListStyle listStyle = ListStyle::WindowsVista;
    bool grid = false; // grid lines in all three lists at creation
    // Widths of the data columns of the file, clone and one list (by
    // ListKind), in display order, the fixed state column not included.
    std::array<std::vector<int>, 3> columnWidths;
};

// The panes as the settings describe them; "Grid" shows grid lines only
// when it is 1.
PaneSettings PaneSettingsOf(const _Setting_file& settings);

// At close: the widths of the data columns of each list (by ListKind) and
// whether the file list shows grid lines ("Grid" 1 or 0).
void StorePaneLayout(_Layout_section& layout, const std::array<std::vector<int>, 3>& columnWidths,
                     bool grid);

} // namespace paradrex
