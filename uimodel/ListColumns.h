#pragma once
// The columns of the three result lists: an untitled state column of fixed
// width shown first, then the data columns, whose widths live in the
// "[layout]" section of Setting.ini.

#include "review/ListKind.h"

#include <cstddef>
#include <span>
#include <vector>

namespace paradrex {

class _Layout_section;

enum class ListColumn { State, Name, Directory, Size, Type, Modified };

// Width in pixels of the state column; fixed, never stored.
inline constexpr int kStateColumnWidth = 21;

// The columns of a list in display order: the state column, then the data
// columns.
std::span<const ListColumn> Columns(ListKind kind);
// The header text of a column; the state column has none.
const char* ColumnTitle(ListColumn column);
// Sizes are right-aligned, everything else left-aligned.
bool IsRightAligned(ListColumn column);

// The widths of a list's data columns in display order (the state column not
// included), as the settings hold them.
std::vector<int> ColumnWidths(const _Layout_section& layout, ListKind kind);
// Stores the widths of a list's data columns; widths beyond the list's
// columns are ignored, missing ones leave their setting alone.
void StoreColumnWidths(_Layout_section& layout, ListKind kind, std::span<const int> widths);

} // namespace paradrex
