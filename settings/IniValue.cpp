#include "settings/IniValue.h"

#include "settings/IniReader.h"

#include <limits>
#include <type_traits>

namespace HV {

template <class T> void _Ini_value<T>::Write(std::string& out) const {
    if constexpr (std::is_same_v<T, std::string>) {
        // A line end inside the text would start a new line of the file and
        // shift every value after it; the text is written up to it.
        out.append(value, 0, value.find('\n'));
    } else {
        out += std::to_string(value);
    }
}

template <class T> void _Ini_value<T>::Read(_Ini_reader& in) {
    if constexpr (std::is_same_v<T, std::string>) {
        in.ReadRestOfLine(value, kIniStringLimit);
    } else {
        if (auto v = in.ReadDecimal()) {
            if (*v >= std::numeric_limits<T>::min() && *v <= std::numeric_limits<T>::max())
                value = static_cast<T>(*v);
        }
        in.SkipRestOfLine(kIniSkipLimit);
    }
}

template class _Ini_value<int>;
template class _Ini_value<unsigned int>;
template class _Ini_value<std::string>;

} // namespace HV
