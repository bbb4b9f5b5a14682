#include "uimodel/PaneSettings.h"

#include "settings/SettingFile.h"

namespace paradrex {

ListStyle ListStyleOf(int listViewStyle) {
    return listViewStyle == 1 ? ListStyle::WindowsVista : ListStyle::WindowsDefault;
}

PaneSettings::PaneSettings() {
    const _Layout_section defaults;
    for (ListKind kind : kListKinds)
        columnWidths[static_cast<size_t>(kind)] = ColumnWidths(defaults, kind);
}

PaneSettings PaneSettingsOf(const _Setting_file& s) {
    PaneSettings p;
    p.colours = {s.color.clrTextBk1.value, s.color.clrTextBk2.value, s.color.clrTextBlock.value};
    p.listStyle = ListStyleOf(s.interfaceStyle.ListViewStyle.value);
    p.grid = s.layout.Grid.value == 1;
    for (ListKind kind : kListKinds)
        p.columnWidths[static_cast<size_t>(kind)] = ColumnWidths(s.layout, kind);
    return p;
}

void StorePaneLayout(_Layout_section& layout, const std::array<std::vector<int>, 3>& columnWidths,
                     bool grid) {
    for (ListKind kind : kListKinds)
        StoreColumnWidths(layout, kind, columnWidths[static_cast<size_t>(kind)]);
    layout.Grid = grid ? 1 : 0;
}

} // namespace paradrex
