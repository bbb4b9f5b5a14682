#include "settings/StartOptions.h"

#include "platform/FileSystem.h"
#include "platform/KeyStore.h"

#include <string_view>

namespace paradrex {

StartOptions ParseStartOptions(std::span<const char* const> args, const std::string& userFolder) {
    constexpr std::string_view kDir = "--settings-dir", kUser = "--user-settings";
    StartOptions options;
    int chosen = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i] ? args[i] : "";
        if (arg == kUser) {
            options.settingsDir = userFolder;
            ++chosen;
        } else if (arg == kDir || arg.starts_with(std::string(kDir) + "=")) {
            std::string_view dir;
            if (arg == kDir) {
                if (i + 1 == args.size() || !args[i + 1]) {
                    options.error = "paradrex: --settings-dir needs a folder";
                    return options;
                }
                dir = args[++i];
            } else {
                dir = arg.substr(kDir.size() + 1);
            }
            if (dir.empty()) {
                options.error = "paradrex: --settings-dir needs a folder";
                return options;
            }
            options.settingsDir = dir;
            ++chosen;
        }
    }
    if (chosen > 1) {
        options = {};
        options.error = "paradrex: give the settings folder once";
    }
    return options;
}

std::string UserSettingsFolder() {
    const std::string registry = platform::KeyStore::DefaultPath();
    return registry.substr(0, registry.rfind('/'));
}

std::string PrepareSettingsFolder(const std::string& dir) {
    if (dir.empty())
        return {};
    if (platform::Result<void> made = platform::MakeDirectories(dir, 0700); !made)
        return "paradrex: cannot use the settings folder: " + made.error().Message();
    return {};
}

} // namespace paradrex
