#pragma once
// The keys and sections of Setting.ini, one class per key named after it, in
// file order. Each key class carries its default; the sections hold their
// keys as members named like the keys in the file, so other layers write
// `settings.layout.window_x.value` or `settings.color.clrTextBk1.value`.
// Colours are 32-bit values 0x00BBGGRR.

#include "settings/IniSection.h"
#include "settings/IniValue.h"

#include <array>
#include <string>
#include <vector>

namespace paradrex {

#define PARADREX_INI_KEY(Class, Type, Key, Default)                                                \
    class Class : public HV::_Ini_value<Type> {                                                    \
    public:                                                                                        \
        Class() : HV::_Ini_value<Type>(Default) {}                                                 \
        using HV::_Ini_value<Type>::operator=;                                                     \
        const char* KeyName() const override { return Key; }                                       \
    };

// [version]
PARADREX_INI_KEY(_Version, unsigned int, "Version", 20)
// [layout]: the main window's show command (1 normal, 3 maximised) and its
// normal rectangle in screen pixels, the column widths of the file list, the
// clone list and the one list, and whether the lists draw grid lines.
PARADREX_INI_KEY(_Window_ShowCmd, unsigned int, "window_showcmd", 1)
PARADREX_INI_KEY(_Window_x, int, "window_x", 0)
PARADREX_INI_KEY(_Window_y, int, "window_y", 0)
PARADREX_INI_KEY(_Window_width, int, "window_width", 800)
PARADREX_INI_KEY(_Window_height, int, "window_height", 600)
PARADREX_INI_KEY(_LVFile_name, int, "LVFile_name", 300)
PARADREX_INI_KEY(_LVFile_size, int, "LVFile_size", 100)
PARADREX_INI_KEY(_LVFile_type, int, "LVFile_type", 120)
PARADREX_INI_KEY(_LVFile_modified, int, "LVFile_modified", 120)
PARADREX_INI_KEY(_LVSame_name, int, "LVSame_name", 200)
PARADREX_INI_KEY(_LVSame_directory, int, "LVSame_directory", 300)
PARADREX_INI_KEY(_LVSame_modified, int, "LVSame_modified", 120)
PARADREX_INI_KEY(_LVOne_name, int, "LVOne_name", 200)
PARADREX_INI_KEY(_LVOne_directory, int, "LVOne_directory", 300)
PARADREX_INI_KEY(_LVOne_size, int, "LVOne_size", 100)
PARADREX_INI_KEY(_LVOne_type, int, "LVOne_type", 120)
PARADREX_INI_KEY(_LVOne_modified, int, "LVOne_modified", 120)
PARADREX_INI_KEY(_Grid, int, "Grid", 0)
// [color]: interval background (odd blocks and groups), classified file rows
// (even clone-set blocks and even groups of the one list), duplicate file rows
// (even run blocks).
PARADREX_INI_KEY(_ClrTextBk1, unsigned int, "clrTextBk1", 0xFFFFFF)
PARADREX_INI_KEY(_ClrTextBk2, unsigned int, "clrTextBk2", 0xFFF1F1)
PARADREX_INI_KEY(_ClrTextBlock, unsigned int, "clrTextBlock", 0xF1F1FF)
// [Interface]: 0 "Windows Default", 1 "OfficeXP Style" / "Windows Vista Style".
PARADREX_INI_KEY(_MenuStyle, int, "MenuStyle", 1)
PARADREX_INI_KEY(_ListViewStyle, int, "ListViewStyle", 1)
// [Delete Option]: 0 to the trash, 1 delete directly, 2 move to MoveDirectory.
PARADREX_INI_KEY(_DeleteOption, int, "DeleteOption", 0)
PARADREX_INI_KEY(_MoveDirectory, std::string, "MoveDirectory", std::string())
// [File Context Menu]: per row, 1 shows it; its caption ("&" marks the access
// key); the program started with the file.
PARADREX_INI_KEY(_FileContextMenuVisible, int, "Visible", 0)
PARADREX_INI_KEY(_FileContextMenu, std::string, "Menu", std::string())
PARADREX_INI_KEY(_FileContextMenuCommand, std::string, "Command", std::string())

#undef PARADREX_INI_KEY

class _Version_section : public HV::_Ini_section {
public:
    const char* Header() const override { return "[version]"; }
    std::vector<HV::_Ini_value_base*> Values() override { return {&Version}; }
    using HV::_Ini_section::Values;
    bool operator==(const _Version_section&) const = default;

    _Version Version;
};

class _Layout_section : public HV::_Ini_section {
public:
    const char* Header() const override { return "[layout]"; }
    std::vector<HV::_Ini_value_base*> Values() override {
        return {&window_showcmd,   &window_x,        &window_y,    &window_width,    &window_height,
                &LVFile_name,      &LVFile_size,     &LVFile_type, &LVFile_modified, &LVSame_name,
                &LVSame_directory, &LVSame_modified, &LVOne_name,  &LVOne_directory, &LVOne_size,
                &LVOne_type,       &LVOne_modified,  &Grid};
    }
    using HV::_Ini_section::Values;
    bool operator==(const _Layout_section&) const = default;

    _Window_ShowCmd window_showcmd;
    _Window_x window_x;
    _Window_y window_y;
    _Window_width window_width;
    _Window_height window_height;
    _LVFile_name LVFile_name;
    _LVFile_size LVFile_size;
    _LVFile_type LVFile_type;
    _LVFile_modified LVFile_modified;
    _LVSame_name LVSame_name;
    _LVSame_directory LVSame_directory;
    _LVSame_modified LVSame_modified;
    _LVOne_name LVOne_name;
    _LVOne_directory LVOne_directory;
    _LVOne_size LVOne_size;
    _LVOne_type LVOne_type;
    _LVOne_modified LVOne_modified;
    _Grid Grid;
};

class _Color_section : public HV::_Ini_section {
public:
    const char* Header() const override { return "[color]"; }
    std::vector<HV::_Ini_value_base*> Values() override {
        return {&clrTextBk1, &clrTextBk2, &clrTextBlock};
    }
    using HV::_Ini_section::Values;
    bool operator==(const _Color_section&) const = default;

    _ClrTextBk1 clrTextBk1;
    _ClrTextBk2 clrTextBk2;
    _ClrTextBlock clrTextBlock;
};

class _Interface_section : public HV::_Ini_section {
public:
    const char* Header() const override { return "[Interface]"; }
    std::vector<HV::_Ini_value_base*> Values() override { return {&MenuStyle, &ListViewStyle}; }
    using HV::_Ini_section::Values;
    bool operator==(const _Interface_section&) const = default;

    _MenuStyle MenuStyle;
    _ListViewStyle ListViewStyle;
};

class _Delete_option_section : public HV::_Ini_section {
public:
    const char* Header() const override { return "[Delete Option]"; }
    std::vector<HV::_Ini_value_base*> Values() override { return {&DeleteOption, &MoveDirectory}; }
    using HV::_Ini_section::Values;
    bool operator==(const _Delete_option_section&) const = default;

    _DeleteOption DeleteOption;
    _MoveDirectory MoveDirectory;
};

// One user row of the file context menu.
struct _File_context_menu_row {
    bool operator==(const _File_context_menu_row&) const = default;

    _FileContextMenuVisible Visible;
    _FileContextMenu Menu;
    _FileContextMenuCommand Command;
};

// The ten rows repeat the same three keys, so rows are matched by position;
// a line missing there is filled from the first line of its key in the
// section.
class _File_context_menu_section : public HV::_Ini_section {
public:
    static constexpr size_t kRows = 10;

    const char* Header() const override { return "[File Context Menu]"; }
    std::vector<HV::_Ini_value_base*> Values() override {
        std::vector<HV::_Ini_value_base*> values;
        for (_File_context_menu_row& row : rows) {
            values.push_back(&row.Visible);
            values.push_back(&row.Menu);
            values.push_back(&row.Command);
        }
        return values;
    }
    using HV::_Ini_section::Values;
    bool operator==(const _File_context_menu_section&) const = default;

    std::array<_File_context_menu_row, kRows> rows;
};

} // namespace paradrex
