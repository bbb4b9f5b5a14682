#pragma once
// The "File Context Menu" page of the options sheet without its widgets: the
// ten user rows of the "Open" submenu (shown or not, caption, program) and
// the check that every shown row has a caption and a program that can be
// started.

#include "settings/SettingKeys.h"
#include "uimodel/OptionPage.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace paradrex {

class OptionFileContextMenuPage : public OptionPage {
public:
    static constexpr size_t kRows = _File_context_menu_section::kRows;
    static constexpr std::string_view kCaptionHeading = "Menu Caption";
    static constexpr std::string_view kProgramHeading = "Associated Execute File";
    static constexpr std::string_view kChooseProgramText = "...";
    // Both messages follow "Line " and the row number (1 to 10).
    static constexpr std::string_view kCaptionMessage = ": You shall input a menu item name!";
    static constexpr std::string_view kProgramMessage =
        ": The file Don't exists, or it is not a executable file with postfix \"exe\"!";

    // Whether a row's program text names a program that can be started.
    using ProgramTest = std::function<bool(const std::string&)>;
    // An existing executable file, a program found on PATH, or a command line
    // (a desktop entry's Exec text) whose program is one of those: the same
    // test the "Open" submenu applies before it starts a row's program.
    static bool CanStartProgram(const std::string& program);

    struct Row {
        bool visible = false; // the check box: the row is in the "Open" submenu
        std::string caption;  // "&" marks the access key
        std::string program;
        bool operator==(const Row&) const = default;
    };

    // `canStart` decides about programs (CanStartProgram when empty).
    explicit OptionFileContextMenuPage(ProgramTest canStart = {});

    // A row is checked only when its "Visible" is 1.
    void Load(const _Setting_file& settings) override;
    // "Visible" 1 or 0, "Menu" and "Command" for all ten rows.
    void Store(_Setting_file& settings) const override;
    // The message of the first checked row, from the top, that has no
    // caption or whose program cannot be started. Unchecked rows may hold
    // anything.
    std::optional<std::string> LeaveRefusal() const override;

    // Rows 0 to 9 from the top (the messages count them from 1). The "..."
    // chooser's file replaces the row's program.
    const std::array<Row, kRows>& rows() const { return rows_; }
    void SetRow(size_t row, Row value) { rows_[row] = std::move(value); }

private:
    ProgramTest canStart_;
    std::array<Row, kRows> rows_;
};

} // namespace paradrex
