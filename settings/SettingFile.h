#pragma once
// The settings store: every persistent setting of the program, mirrored from
// Setting.ini in the settings directory.
//
// The desktop program has exactly one instance, _Setting_file::Instance(),
// for the settings folder of its command line (the working directory at
// start-up unless told otherwise). Its entry routine reads the file first,
// before the error log and the window exist:
//
//     _Setting_file::SetInstanceDirectory(options.settingsDir);
//     _Setting_file& settings = _Setting_file::Instance();
//
// That instance writes the file when it is destroyed after the entry routine
// has returned. In between the other layers read and assign the typed members
// directly:
//
//     version                   .Version
//     layout                    .window_showcmd .window_x .window_y .window_width
//                               .window_height .LVFile_name ... .LVOne_modified .Grid
//     color                     .clrTextBk1 .clrTextBk2 .clrTextBlock
//     interfaceStyle            .MenuStyle .ListViewStyle            ("[Interface]")
//     deleteOption              .DeleteOption .MoveDirectory
//     fileContextMenu.rows[0..9] .Visible .Menu .Command
//     defaultSearchDirectory.dirs, defaultPreserveDirectory.dirs,
//     defaultDeleteDirectory.dirs, recentDirectory.dirs    (std::vector<std::string>)
//
// each value being `.value` (int, unsigned int or std::string).
//
// Other instances: _Setting_file::ReadOnly(dir) reads a Setting.ini and never
// writes it (the command-line front end takes the default Preserve and Delete
// lists from it); tests build their own instances on temporary folders.
//
// Writing builds the whole text and compares it with the file: an unchanged
// file is left alone (same content, same modification time). Otherwise the
// file is replaced atomically through a temporary file beside it, so a crash
// or a full disk never leaves a truncated Setting.ini. A failed write is not
// reported and leaves the old file whole. A file that exists but could not be
// read, or that the user may not write, is never replaced.

#include "settings/IniSection.h"
#include "settings/SettingKeys.h"

#include <string>
#include <string_view>

namespace paradrex {

class _Setting_file {
public:
    enum class Access {
        ReadWrite, // Save() writes; the destructor saves
        ReadOnly,  // never writes
    };
    struct Options {
        Access access = Access::ReadWrite;
        // Whether a first start takes the default file context menu rows
        // from the desktop's MIME associations (the XDG folders the
        // environment names); false: no association service.
        bool associations = true;
    };

    static constexpr const char* kFileName = "Setting.ini";
    static constexpr unsigned kVersion = 20;

    // Reads <directory>/Setting.ini; an empty directory means the working
    // directory (remembered as an absolute path).
    explicit _Setting_file(std::string directory);
    _Setting_file(std::string directory, Options options);
    // Saves when the instance is ReadWrite.
    ~_Setting_file();
    _Setting_file(const _Setting_file&) = delete;
    _Setting_file& operator=(const _Setting_file&) = delete;

    // The desktop program's one instance, for the folder set before its first
    // call (the working directory at that call when none was set). It lives
    // to the end of the process.
    static _Setting_file& Instance();
    // Where Instance() reads and writes; only before its first call.
    static void SetInstanceDirectory(std::string directory);
    // An instance that reads <directory>/Setting.ini when it exists (no
    // default file context menu rows otherwise) and never writes.
    static _Setting_file ReadOnly(std::string directory);
    // A read-only instance loaded from the given file content, as if
    // Setting.ini held these bytes.
    static _Setting_file FromText(std::string_view fileBytes);

    // Writes the file when its content differs from Text(). True when the
    // file holds Text() afterwards; false for a read-only instance and for
    // any failure (nothing is reported).
    bool Save();
    // The complete file text as it is written, with CR LF line ends.
    std::string Text() const;

    const std::string& directory() const { return directory_; }
    std::string path() const;
    // Whether Setting.ini existed when the store was built.
    bool fileExisted() const { return existed_; }

    // Compares the settings, not where they came from.
    bool SameValues(const _Setting_file& other) const;

    _Version_section version;
    _Layout_section layout;
    _Color_section color;
    _Interface_section interfaceStyle;
    _Delete_option_section deleteOption;
    _File_context_menu_section fileContextMenu;
    HV::_Ini_dir_list defaultSearchDirectory{"[Default Search Directory]"};
    HV::_Ini_dir_list defaultPreserveDirectory{"[Default Preserve Directory]"};
    HV::_Ini_dir_list defaultDeleteDirectory{"[Default Delete Directory]"};
    HV::_Ini_dir_list recentDirectory{"[Recent Directory]"};

private:
    struct InMemory {};
    _Setting_file(InMemory, std::string_view fileBytes);

    // Reads the settings from the content of an existing file.
    void Load(std::string_view fileBytes);
    // The text with "\n" line ends, as the reader sees a file.
    std::string TextLf() const;

    std::string directory_;
    Access access_ = Access::ReadOnly;
    bool existed_ = false;
    // The file existed but could not be read: it is never replaced.
    bool unreadable_ = false;
};

} // namespace paradrex
