#pragma once
// A pull reader of JSON text that reads its source in pieces, so a large
// file is never held whole: the caller asks for the value it expects next
// (an object, a key, a string, a number...) and the reader checks the text
// against it. Strings come back as bytes: the escapes \udc80 to \udcff alone
// stand for the single bytes 0x80 to 0xFF (JsonText.h writes them), any
// other escape is decoded to UTF-8. Whatever does not fit throws
// JsonReader::Failure with the byte offset where it was found; a text that
// ends before its value does says so (`truncated`).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace paradrex {

class JsonReader {
public:
    struct Failure {
        std::string what;
        uint64_t offset = 0;
        bool truncated = false;
    };

    // Fills `buffer` with up to `capacity` bytes and answers how many; 0 at
    // the end of the text. May throw (a read error).
    using Source = std::function<size_t(char* buffer, size_t capacity)>;

    explicit JsonReader(Source source, size_t bufferSize = 1u << 16);

    // Containers. BeginObject takes the "{"; NextKey then reads the next key
    // and its ":" into `key`, or takes the "}" and answers false. Arrays the
    // same with "[", NextElement and "]".
    void BeginObject();
    bool NextKey(std::string& key);
    void BeginArray();
    bool NextElement();

    // Values. A value of another type is a Failure naming `what`.
    void ReadString(std::string& out, const char* what);
    uint64_t ReadUnsigned(const char* what, uint64_t max = UINT64_MAX);
    int64_t ReadSigned(const char* what, int64_t min = INT64_MIN, int64_t max = INT64_MAX);
    double ReadDouble(const char* what);
    bool ReadBool(const char* what);

    // After the top-level value: nothing but white space may follow.
    void End();

    // Bytes consumed so far.
    uint64_t offset() const { return consumed_ + static_cast<uint64_t>(pos_); }

    [[noreturn]] void Fail(std::string what) const;

private:
    int Peek();  // the next byte, or -1 at the end
    char Take(); // the next byte; a Failure at the end
    int PeekNonSpace();
    void Expect(char c, const char* what);
    bool Refill();
    void ReadNumberText(const char* what);
    unsigned ReadHex4();
    [[noreturn]] void FailAtEnd() const;
    [[noreturn]] void FailFound(const char* what);

    Source source_;
    std::vector<char> buffer_;
    size_t pos_ = 0, end_ = 0;
    uint64_t consumed_ = 0; // bytes before buffer_[0]
    bool atEnd_ = false;
    std::vector<bool> first_; // per open container: no element yet
    std::string number_;
};

} // namespace paradrex
