#include "uimodel/OptionInterfacePage.h"

#include "settings/SettingFile.h"

namespace paradrex {

namespace {

int Checked(int stored) {
    return stored == 0 || stored == 1 ? stored : OptionInterfacePage::kNoStyle;
}

} // namespace

void OptionInterfacePage::Load(const _Setting_file& settings) {
    menuStyle_ = Checked(settings.interfaceStyle.MenuStyle.value);
    listStyle_ = Checked(settings.interfaceStyle.ListViewStyle.value);
}

void OptionInterfacePage::Store(_Setting_file& settings) const {
    settings.interfaceStyle.MenuStyle = menuStyle_;
    settings.interfaceStyle.ListViewStyle = listStyle_;
}

} // namespace paradrex
