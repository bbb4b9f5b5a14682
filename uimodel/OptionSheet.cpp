#include "uimodel/OptionSheet.h"

#include "settings/SettingFile.h"

namespace paradrex {

OptionSheet::OptionSheet(_Setting_file& settings, Environment environment)
    : settings_(settings),
      dirListPages_{
          OptionDirListPage(&_Setting_file::defaultSearchDirectory, environment.isDirectory),
          OptionDirListPage(&_Setting_file::defaultPreserveDirectory, environment.isDirectory),
          OptionDirListPage(&_Setting_file::defaultDeleteDirectory, environment.isDirectory)},
      deletePage_(environment.isDirectory), fileContextMenuPage_(environment.canStartProgram),
      pages_{&dirListPages_[0], &dirListPages_[1], &dirListPages_[2],    &deletePage_,
             &colorPage_,       &interfacePage_,   &fileContextMenuPage_} {
    Show(kSearchDirectories);
    fileContextMenuAtOpening_ = settings_.fileContextMenu;
    coloursAtOpening_ = settings_.color;
    stylesAtOpening_ = settings_.interfaceStyle;
}

void OptionSheet::Show(size_t page) {
    if (!shown_[page])
        pages_[page]->Load(settings_);
    shown_[page] = true;
    current_ = page;
}

std::optional<std::string> OptionSheet::SelectPage(size_t page) {
    if (page == current_)
        return std::nullopt;
    if (std::optional<std::string> refusal = pages_[current_]->LeaveRefusal())
        return refusal;
    Show(page);
    return std::nullopt;
}

std::optional<std::string> OptionSheet::Accept() {
    if (std::optional<std::string> refusal = pages_[current_]->LeaveRefusal())
        return refusal;
    for (size_t i = 0; i < kPageCount; ++i) {
        if (shown_[i])
            pages_[i]->Store(settings_);
    }
    changes_.fileContextMenu = !(settings_.fileContextMenu == fileContextMenuAtOpening_);
    changes_.colours = !(settings_.color == coloursAtOpening_);
    changes_.menuStyle =
        settings_.interfaceStyle.MenuStyle.value != stylesAtOpening_.MenuStyle.value;
    changes_.listStyle =
        settings_.interfaceStyle.ListViewStyle.value != stylesAtOpening_.ListViewStyle.value;
    return std::nullopt;
}

OptionDirListPage& OptionSheet::dirListPage(size_t index) {
    return dirListPages_[index];
}

} // namespace paradrex
