#pragma once
// The columns of the three result lists: an untitled state column of fixed
// width shown first, then the data columns, whose widths live in the
// "[layout]" section of Setting.ini.

#include "app/IniValue.h"

#include <cstddef>
#include <span>

namespace paradrex {

class _Layout_section;

enum class ListKind { FileList, CloneList, OneList };

struct ListColumn {
    const char* title;
    bool rightAligned;
};

// Width in pixels of the state column; fixed, never stored.
inline constexpr int kStateColumnWidth = 21;

// The data columns of a list in display order (after the state column).
std::span<const ListColumn> DataColumns(ListKind kind);
// The setting that holds the width of a list's data column.
HV::_Ini_value<int>& ColumnWidthSetting(_Layout_section& layout, ListKind kind, size_t column);

} // namespace paradrex
