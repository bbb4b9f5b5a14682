#include "platform/Paths.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace paradrex::platform {

std::string AbsoluteNormalPath(std::string_view path) {
    std::string full(path);
    if (full.empty() || full[0] != '/') {
        char cwd[PATH_MAX];
        std::string base = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
        full = base + "/" + full;
    }

    // Lexical normalisation: no empty or "." components, ".." removes one.
    std::vector<std::string_view> parts;
    std::string_view rest = full;
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        std::string_view comp = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (comp.empty() || comp == ".")
            continue;
        if (comp == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(comp);
    }
    if (parts.empty())
        return "/";
    std::string out;
    for (std::string_view p : parts) {
        out += '/';
        out += p;
    }
    return out;
}

std::string StateDirectory() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/Paradrex";
    if (std::optional<std::string> home = HomeDirectory())
        return *home + "/.local/state/Paradrex";
    return {};
}

std::optional<std::string> HomeDirectory(std::string_view user) {
    if (user.empty()) {
        const char* home = std::getenv("HOME");
        if (home && *home)
            return std::string(home);
        const passwd* pw = ::getpwuid(::getuid());
        if (pw && pw->pw_dir)
            return std::string(pw->pw_dir);
        return std::nullopt;
    }
    const passwd* pw = ::getpwnam(std::string(user).c_str());
    if (pw && pw->pw_dir)
        return std::string(pw->pw_dir);
    return std::nullopt;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string FileUrl(std::string_view absolutePath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (char c : absolutePath) {
        const auto b = static_cast<unsigned char>(c);
        const bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
                           (b >= '0' && b <= '9') || b == '-' || b == '.' || b == '_' || b == '~' ||
                           b == '/';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[b >> 4];
            url += kHex[b & 0xF];
        }
    }
    return url;
}

} // namespace paradrex::platform
