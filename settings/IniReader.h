#pragma once
// The input side of Setting.ini: the file's bytes in memory with an explicit
// read position. Line ends are CR LF on disk; a bare LF (a file edited on
// Linux) reads the same, so the text is kept with every CR LF turned into LF
// and a position counts bytes of that text. Every operation stops at the end
// of the text and reports it; none can read out of bounds or stand still
// without consuming input, so no input makes the reader loop forever.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace HV {

class _Ini_reader {
public:
    explicit _Ini_reader(std::string_view fileBytes);

    size_t Position() const { return pos_; }
    void Seek(size_t pos) { pos_ = pos < text_.size() ? pos : text_.size(); }
    bool AtEnd() const { return pos_ >= text_.size(); }
    // True when the next character is a line end.
    bool AtLineEnd() const { return !AtEnd() && text_[pos_] == '\n'; }
    const std::string& Text() const { return text_; }

    // Reads one whole line and consumes its line end; keeps at most `limit`
    // characters of it. False (and nothing read) at the end of the text.
    bool ReadLine(std::string& line, size_t limit);
    // Skips lines up to and including the next empty line, or to the end.
    void SkipPastEmptyLine();
    // Reads a key: the characters up to "=", at most `limit` of them, never
    // past the line end. True when the key ended at "=", which is consumed.
    bool ReadKey(std::string& key, size_t limit);
    // Discards characters up to and including the next line end, at most
    // `limit` of them.
    void SkipRestOfLine(size_t limit);
    // Reads the rest of the line, keeping at most `limit` characters; the
    // whole line, line end included, is consumed.
    void ReadRestOfLine(std::string& value, size_t limit);
    // Skips up to and including "=" when it lies within the next `limit`
    // characters of the line; otherwise consumes nothing and returns false.
    bool SkipPastEquals(size_t limit);
    // Decimal extraction: blanks skipped, an optional sign, then digits. The
    // characters looked at are consumed; nothing when no digit follows.
    // Values far out of any 32-bit range are clamped, so the caller's range
    // check rejects them.
    std::optional<int64_t> ReadDecimal();

private:
    std::string text_;
    size_t pos_ = 0;
};

} // namespace HV
