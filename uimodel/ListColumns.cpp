#include "uimodel/ListColumns.h"

#include "settings/SettingKeys.h"

namespace paradrex {

namespace {

using C = ListColumn;
constexpr ListColumn kFileColumns[] = {C::State, C::Name, C::Size, C::Type, C::Modified};
constexpr ListColumn kCloneColumns[] = {C::State, C::Name, C::Directory, C::Modified};
constexpr ListColumn kOneColumns[] = {C::State, C::Name, C::Directory,
                                      C::Size,  C::Type, C::Modified};

// The settings holding the widths of a list's data columns, in display order.
template <class Layout> auto WidthSettings(Layout& l, ListKind kind) {
    using Value = decltype(&l.LVFile_name.value);
    std::vector<Value> out;
    switch (kind) {
    case ListKind::FileList:
        out = {&l.LVFile_name.value, &l.LVFile_size.value, &l.LVFile_type.value,
               &l.LVFile_modified.value};
        break;
    case ListKind::CloneList:
        out = {&l.LVSame_name.value, &l.LVSame_directory.value, &l.LVSame_modified.value};
        break;
    case ListKind::OneList:
        out = {&l.LVOne_name.value, &l.LVOne_directory.value, &l.LVOne_size.value,
               &l.LVOne_type.value, &l.LVOne_modified.value};
        break;
    }
    return out;
}

} // namespace

std::span<const ListColumn> Columns(ListKind kind) {
    switch (kind) {
    case ListKind::FileList:
        return kFileColumns;
    case ListKind::CloneList:
        return kCloneColumns;
    case ListKind::OneList:
        return kOneColumns;
    }
    return {};
}

const char* ColumnTitle(ListColumn column) {
    switch (column) {
    case ListColumn::State:
        return "";
    case ListColumn::Name:
        return "Name";
    case ListColumn::Directory:
        return "Directory";
    case ListColumn::Size:
        return "Size";
    case ListColumn::Type:
        return "Type";
    case ListColumn::Modified:
        return "Modified";
    }
    return "";
}

bool IsRightAligned(ListColumn column) {
    return column == ListColumn::Size;
}

std::vector<int> ColumnWidths(const _Layout_section& layout, ListKind kind) {
    std::vector<int> widths;
    for (const int* w : WidthSettings(layout, kind))
        widths.push_back(*w);
    return widths;
}

void StoreColumnWidths(_Layout_section& layout, ListKind kind, std::span<const int> widths) {
    auto settings = WidthSettings(layout, kind);
    for (size_t i = 0; i < settings.size() && i < widths.size(); ++i)
        *settings[i] = widths[i];
}

} // namespace paradrex
