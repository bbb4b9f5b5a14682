#include "uimodel/OptionFileContextMenuPage.h"

#include "settings/SettingFile.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace paradrex {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// A path with a '/' is taken as it stands; a bare name is looked for in the
// directories of PATH, as starting it would.
bool IsStartable(const std::string& program) {
    if (program.empty())
        return false;
    if (program.find('/') != std::string::npos)
        return IsExecutableFile(program);
    const char* env = std::getenv("PATH");
    const std::string_view dirs = env ? env : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    for (;;) {
        const size_t colon = dirs.find(':', start);
        std::string dir(
            dirs.substr(start, colon == std::string_view::npos ? colon : colon - start));
        if (dir.empty())
            dir = "."; // an empty entry is the working directory
        if (IsExecutableFile(dir + "/" + program))
            return true;
        if (colon == std::string_view::npos)
            return false;
        start = colon + 1;
    }
}

// The first word of a command line as a desktop entry's Exec key splits it:
// blanks separate words; a double-quoted word may hold blanks, and a
// backslash in it takes the next character literally.
std::string FirstWord(std::string_view command) {
    size_t i = command.find_first_not_of(" \t");
    std::string word;
    if (i == std::string_view::npos)
        return word;
    if (command[i] == '"') {
        for (++i; i < command.size() && command[i] != '"'; ++i) {
            if (command[i] == '\\' && i + 1 < command.size())
                ++i;
            word += command[i];
        }
        return word;
    }
    const size_t end = command.find_first_of(" \t", i);
    return std::string(command.substr(i, end == std::string_view::npos ? end : end - i));
}

} // namespace

bool OptionFileContextMenuPage::CanStartProgram(const std::string& program) {
    // The whole text first: a program path may hold blanks.
    return IsStartable(program) || IsStartable(FirstWord(program));
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
