#include "settings/DefaultFileContextMenu.h"

#include "platform/MimeAssociations.h"

#include <cctype>
#include <optional>

namespace paradrex {

std::string ProgramPathFromCommand(std::string_view command) {
    if (!command.empty() && command.front() == '"') {
        size_t close = command.find('"', 1);
        return std::string(command.substr(1, close == std::string_view::npos ? close : close - 1));
    }
    if (command.size() > 1 && command[1] == '%')
        return {};
    size_t percent = command.find('%', 2);
    if (percent == std::string_view::npos)
        return std::string(command);
    return std::string(command.substr(0, percent - 1));
}

std::string DefaultRowProgram(std::string_view command) {
    static constexpr std::string_view kRundll = "rundll";
    if (command.size() >= kRundll.size()) {
        bool rundll = true;
        for (size_t i = 0; i < kRundll.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(command[i])) != kRundll[i])
                rundll = false;
        }
        if (rundll)
            return {};
    }
    return ProgramPathFromCommand(command);
}

void ComputeDefaultFileContextMenu(_File_context_menu_section& menu,
                                   const platform::MimeAssociations& associations) {
    struct Row {
        const char* caption;
        const char* mimeTypes[2];
    };
    static constexpr Row kRows[4] = {
        {"Open as &Text", {"text/plain", nullptr}},
        {"Open as &Image", {"image/bmp", nullptr}},
        {"Open as &Audio", {"audio/x-wav", "audio/wav"}},
        {"Open as &Video", {"video/x-msvideo", nullptr}},
    };
    for (size_t i = 0; i < 4; ++i)
        menu.rows[i].Menu = kRows[i].caption;
    if (!associations.Available())
        return;
    for (size_t i = 1; i < 4; ++i)
        menu.rows[i].Visible = 1;
    for (size_t i = 0; i < 4; ++i) {
        std::optional<std::string> command;
        for (const char* type : kRows[i].mimeTypes) {
            if (type && !command)
                command = associations.DefaultCommand(type);
        }
        if (!command)
            continue;
        std::string program = DefaultRowProgram(*command);
        // A program the file could not hold whole is left out.
        if (program.empty() || program.size() > HV::kIniStringLimit ||
            program.find('\n') != std::string::npos)
            continue;
        menu.rows[i].Command = program;
        menu.rows[i].Visible = 1;
    }
}

} // namespace paradrex
