#include "app/ListColumns.h"

#include "app/SettingKeys.h"

#include <stdexcept>

namespace paradrex {

namespace {

constexpr ListColumn kFileColumns[] = {
    {"Name", false}, {"Size", true}, {"Type", false}, {"Modified", false}};
constexpr ListColumn kCloneColumns[] = {{"Name", false}, {"Directory", false}, {"Modified", false}};
constexpr ListColumn kOneColumns[] = {
    {"Name", false}, {"Directory", false}, {"Size", true}, {"Type", false}, {"Modified", false}};

} // namespace

std::span<const ListColumn> DataColumns(ListKind kind) {
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

HV::_Ini_value<int>& ColumnWidthSetting(_Layout_section& l, ListKind kind, size_t column) {
    HV::_Ini_value<int>* file[] = {&l.LVFile_name, &l.LVFile_size, &l.LVFile_type,
                                   &l.LVFile_modified};
    HV::_Ini_value<int>* clone[] = {&l.LVSame_name, &l.LVSame_directory, &l.LVSame_modified};
    HV::_Ini_value<int>* one[] = {&l.LVOne_name, &l.LVOne_directory, &l.LVOne_size, &l.LVOne_type,
                                  &l.LVOne_modified};
    std::span<HV::_Ini_value<int>*> widths;
    switch (kind) {
    case ListKind::FileList:
        widths = file;
        break;
    case ListKind::CloneList:
        widths = clone;
        break;
    case ListKind::OneList:
        widths = one;
        break;
    }
    if (column >= widths.size())
        throw std::out_of_range("no such list column");
    return *widths[column];
}

} // namespace paradrex
