// libFuzzer target: any bytes as Setting.ini. The reader must not crash, hang
// or read out of bounds, and what it writes must read back to the same
// settings and the same text.

#include "settings/SettingFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using paradrex::_Setting_file;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const _Setting_file first = _Setting_file::FromText(bytes);
    const std::string text = first.Text();
    const _Setting_file second = _Setting_file::FromText(text);
    if (!second.SameValues(first) || second.Text() != text)
        std::abort();
    return 0;
}
