#pragma once
// One setting of Setting.ini: a key ("window_x") with a typed value. Every
// key is a small class derived from _Ini_value<T> whose constructor sets the
// default and whose KeyName() answers the key (see SettingKeys.h); the other
// layers read and assign `value` directly.
//
// Value texts:
//   int            decimal, "-" when negative
//   unsigned int   decimal (also the colours, 32-bit 0x00BBGGRR values)
//   std::string    the characters as stored, up to a line end
// A number is read by decimal extraction (blanks skipped, optional sign); a
// text that is not a number in the type's range leaves the value unchanged,
// and the rest of the line (at most 128 characters) is skipped. A string is
// the rest of the line, cut to its first 511 characters.

#include <cstddef>
#include <cstdint>
#include <string>

namespace HV {

class _Ini_reader;

class _Ini_value_base {
public:
    // Appends the value's text (without the key and the line end).
    virtual void Write(std::string& out) const = 0;
    // Reads the value from a reader positioned just behind "key=".
    virtual void Read(_Ini_reader& in) = 0;
    // The key name, without "=".
    virtual const char* KeyName() const = 0;
    virtual ~_Ini_value_base() = default;

    // Position just behind the header line of the value's section in the
    // text being read; set by the section reader, used to look for the key
    // when it is not found where expected.
    size_t sectionStart = 0;
};

template <class T> class _Ini_value : public _Ini_value_base {
public:
    explicit _Ini_value(T initial) : value(std::move(initial)) {}

    _Ini_value& operator=(const T& v) {
        value = v;
        return *this;
    }
    operator const T&() const { return value; }
    bool operator==(const _Ini_value& other) const { return value == other.value; }

    void Write(std::string& out) const override;
    void Read(_Ini_reader& in) override;

    T value;
};

// unsigned int stands for both the 32-bit unsigned values and the colours.
static_assert(sizeof(unsigned int) == 4 && sizeof(int) == 4);

extern template class _Ini_value<int>;
extern template class _Ini_value<unsigned int>;
extern template class _Ini_value<std::string>;

// Limits of the text format.
inline constexpr size_t kIniStringLimit = 511; // characters kept of a string value
inline constexpr size_t kIniSkipLimit = 128;   // characters skipped after a number

} // namespace HV
