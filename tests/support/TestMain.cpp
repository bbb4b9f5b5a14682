// Test entry: every test process gets a fresh HOME and XDG folders of its own,
// so no test reads or writes the real home of the user running it.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    std::string tmpl = "/tmp/paradrex-home-XXXXXX";
    if (::mkdtemp(tmpl.data()) != nullptr) {
        ::setenv("HOME", tmpl.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (tmpl + "/.config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (tmpl + "/.local/share").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (tmpl + "/.cache").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (tmpl + "/run").c_str(), 1);
        std::filesystem::create_directories(tmpl + "/run");
        ::chmod((tmpl + "/run").c_str(), 0700);
    }
    testing::InitGoogleTest(&argc, argv);
    int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(tmpl, ec);
    return rc;
}
