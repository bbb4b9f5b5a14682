#include "uimodel/OptionFileContextMenuPage.h"

#include "platform/ExecLine.h"
#include "settings/SettingFile.h"

#include <utility>

namespace paradrex {

bool OptionFileContextMenuPage::CanStartProgram(const std::string& program) {
    return platform::CanStartCommand(program);
}

OptionFileContextMenuPage::OptionFileContextMenuPage(ProgramTest canStart)
    : canStart_(canStart ? std::move(canStart) : CanStartProgram) {}

void OptionFileContextMenuPage::Load(const _Setting_file& settings) {
    for (size_t i = 0; i < kRows; ++i) {
        const _File_context_menu_row& stored = settings.fileContextMenu.rows[i];
        rows_[i] = {stored.Visible.value == 1, stored.Menu.value, stored.Command.value};
    }
}

void OptionFileContextMenuPage::Store(_Setting_file& settings) const {
    for (size_t i = 0; i < kRows; ++i) {
        _File_context_menu_row& stored = settings.fileContextMenu.rows[i];
        stored.Visible = rows_[i].visible ? 1 : 0;
        stored.Menu = rows_[i].caption;
        stored.Command = rows_[i].program;
    }
}

std::optional<std::string> OptionFileContextMenuPage::LeaveRefusal() const {
    for (size_t i = 0; i < kRows; ++i) {
        const Row& row = rows_[i];
        if (!row.visible)
            continue;
        const std::string line = "Line " + std::to_string(i + 1);
        if (row.caption.empty())
            return line + std::string(kCaptionMessage);
        if (!canStart_(row.program))
            return line + std::string(kProgramMessage);
    }
    return std::nullopt;
}

} // namespace paradrex
