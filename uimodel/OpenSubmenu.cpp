#include "uimodel/OpenSubmenu.h"

#include "platform/ExecLine.h"
#include "platform/FileSystem.h"
#include "uimodel/CommandIds.h"
#include "uimodel/ContextMenuTable.h"

namespace paradrex {

namespace {

// A caption as it reads: the access key markers dropped, "&&" kept as "&".
std::string PlainCaption(std::string_view caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

// The program as the user wrote it, for the status bar.
std::string ProgramName(std::string_view command, std::string_view caption) {
    if (std::optional<std::string> program = platform::CommandProgram(command))
        return *program;
    const size_t first = command.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return PlainCaption(caption);
    return std::string(command.substr(first, command.find_last_not_of(' ') + 1 - first));
}

} // namespace

std::vector<OpenSubmenuItem> OpenSubmenuItems(const _File_context_menu_section& menu) {
    std::vector<OpenSubmenuItem> items{{cmd::OpenFile, res::kOpenFileText}};
    for (size_t i = 0; i < menu.rows.size(); ++i)
        if (menu.rows[i].Visible.value == 1)
            items.push_back({cmd::OpenWithFirst + static_cast<int>(i), menu.rows[i].Menu.value});
    return items;
}

bool IsOpenWithCommand(int id) {
    return id >= cmd::OpenWithFirst && id <= cmd::OpenWithLast;
}

std::string CantStartText(std::string_view program) {
    return "Can't start " + std::string(program);
}

OpenWithLaunch PrepareOpenWith(const _File_context_menu_section& menu, int id,
                               const std::string& filePath) {
    if (!IsOpenWithCommand(id))
        return {{}, CantStartText({})};
    const _File_context_menu_row& row = menu.rows[static_cast<size_t>(id - cmd::OpenWithFirst)];
    const std::string& command = row.Command.value;
    OpenWithLaunch launch{{}, CantStartText(ProgramName(command, row.Menu.value))};

    auto file = platform::StatusOf(filePath);
    if (!file || !file->IsRegular())
        return launch;
    platform::ExecArgv args = platform::CommandArgv(command, filePath);
    if (!args.ok())
        return launch;
    std::optional<std::string> program = platform::FindProgram(args.argv.front());
    if (!program)
        return launch;
    args.argv.front() = *program;
    launch.argv = std::move(args.argv);
    return launch;
}

} // namespace paradrex
