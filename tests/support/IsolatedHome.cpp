#include "support/IsolatedHome.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex::test {

IsolatedHome::IsolatedHome() {
    std::string tmpl = "/tmp/paradrex-home-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr)
        return;
    home_ = tmpl;
    ::setenv("HOME", home_.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home_ + "/.config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home_ + "/.local/share").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (home_ + "/.cache").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (home_ + "/run").c_str(), 1);
    std::filesystem::create_directories(home_ + "/run");
    ::chmod((home_ + "/run").c_str(), 0700);
}

IsolatedHome::~IsolatedHome() {
    if (home_.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
}

} // namespace paradrex::test
