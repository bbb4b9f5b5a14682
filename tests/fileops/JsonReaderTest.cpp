// The JSON text of the result file: path bytes written and read back byte
// for byte through any buffer size, and text that does not fit refused with
// its place.

#include "fileops/JsonReader.h"
#include "fileops/JsonText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace paradrex {
namespace {

// A reader of `text` that hands it out `piece` bytes at a time.
JsonReader ReaderOf(const std::string& text, size_t piece = 1u << 16) {
    auto pos = std::make_shared<size_t>(0);
    return JsonReader(
        [text, pos](char* buffer, size_t capacity) {
            const size_t n = std::min(capacity, text.size() - *pos);
            std::memcpy(buffer, text.data() + *pos, n);
            *pos += n;
            return n;
        },
        piece);
}

TEST(JsonText, PathBytesComeBackByteForByteThroughAnyBufferSize) {
    std::string every;
    for (int b = 1; b < 256; ++b)
        every += static_cast<char>(b);
    const std::vector<std::string> cases = {
        "",
        "plain name.txt",
        "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80",       // valid UTF-8, kept as it is
        "latin1 \xe9t\xe9",                                // not UTF-8: escaped bytes
        "\xed\xb2\x80 a surrogate's UTF-8 form",           // not valid UTF-8 either
        "\xc3",                                            // a sequence cut short
        "quote\" backslash\\ slash/ tab\t newline\n cr\r", // escaped characters
        std::string("nul\0byte and \x01\x1f\x7f", 16),     // control bytes
        "$(rm -rf ~) -leading dash",
        every,
    };
    for (const std::string& bytes : cases) {
        std::string text;
        AppendJsonString(text, bytes);
        for (size_t piece : {1u, 2u, 3u, 7u, 4096u}) {
            SCOPED_TRACE(text + " in pieces of " + std::to_string(piece));
            JsonReader in = ReaderOf(text, piece);
            std::string back;
            in.ReadString(back, "name");
            EXPECT_EQ(back, bytes);
            in.End();
        }
    }
}

TEST(JsonText, ReadsStandardEscapesAsUtf8) {
    JsonReader in = ReaderOf(R"(["\u00e9\u20ac\ud83d\ude00", "a\/b\b\f"])");
    std::string s;
    in.BeginArray();
    ASSERT_TRUE(in.NextElement());
    in.ReadString(s, "x");
    EXPECT_EQ(s, "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
    ASSERT_TRUE(in.NextElement());
    in.ReadString(s, "x");
    EXPECT_EQ(s, "a/b\b\f");
    EXPECT_FALSE(in.NextElement());
    in.End();
}

TEST(JsonText, NumbersAndStatesKeepTheirValues) {
    std::string text = "[";
    AppendJsonNumber(text, UINT64_MAX);
    text += ',';
    AppendJsonNumber(text, INT64_MIN);
    text += ',';
    AppendJsonNumber(text, 0.1 + 0.2);
    text += ',';
    AppendJsonNumber(text, 1.0 / 0.0); // not finite: 0, so the text stays JSON
    text += ']';
    JsonReader in = ReaderOf(text);
    in.BeginArray();
    ASSERT_TRUE(in.NextElement());
    EXPECT_EQ(in.ReadUnsigned("a"), UINT64_MAX);
    ASSERT_TRUE(in.NextElement());
    EXPECT_EQ(in.ReadSigned("b"), INT64_MIN);
    ASSERT_TRUE(in.NextElement());
    EXPECT_EQ(in.ReadDouble("c"), 0.1 + 0.2);
    ASSERT_TRUE(in.NextElement());
    EXPECT_EQ(in.ReadDouble("d"), 0.0);
    EXPECT_FALSE(in.NextElement());

    for (FileState s : {FileState::Unsettled, FileState::Preserved, FileState::Deleted})
        EXPECT_EQ(JsonState(JsonStateName(s)), s);
    EXPECT_EQ(JsonState("deleted"), std::nullopt);
}

// Reads {"k":<value>} expecting one kind of value.
enum class Want { String, Unsigned, Signed, Double, Bool };

void ReadOne(JsonReader& in, Want want) {
    std::string key, s;
    in.BeginObject();
    if (!in.NextKey(key))
        return;
    switch (want) {
    case Want::String:
        in.ReadString(s, "k");
        break;
    case Want::Unsigned:
        (void)in.ReadUnsigned("k", 1000);
        break;
    case Want::Signed:
        (void)in.ReadSigned("k", -5, 5);
        break;
    case Want::Double:
        (void)in.ReadDouble("k");
        break;
    case Want::Bool:
        (void)in.ReadBool("k");
        break;
    }
    while (in.NextKey(key))
        in.ReadString(s, "k");
    in.End();
}

TEST(JsonText, TextThatDoesNotFitIsRefusedWithItsPlace) {
    struct Case {
        const char* text;
        Want want;
        const char* message; // a part of it
        uint64_t offset;
        bool truncated = false;
    } cases[] = {
        {R"({"k":"a\ud800"})", Want::String, "broken surrogate pair", 14},
        {R"({"k":"a\udc00"})", Want::String, "lone surrogate", 13},
        {R"({"k":"\u12g4"})", Want::String, "four hexadecimal digits", 11},
        {R"({"k":"\x"})", Want::String, "unknown escape", 8},
        {"{\"k\":\"a\tb\"}", Want::String, "control byte", 8},
        {R"({"k":5})", Want::String, "\"k\" should be a string, not a number", 5},
        {R"({"k":"5"})", Want::Unsigned, "\"k\" should be a number, not a string", 5},
        {R"({"k":01})", Want::Unsigned, "malformed number", 7},
        {R"({"k":1.})", Want::Unsigned, "malformed number", 7},
        {R"({"k":+1})", Want::Unsigned, "should be a number, not '+'", 5},
        {R"({"k":-1})", Want::Unsigned, "from 0 to 1000, not -1", 7},
        {R"({"k":1001})", Want::Unsigned, "from 0 to 1000, not 1001", 9},
        {R"({"k":1e2})", Want::Unsigned, "from 0 to 1000, not 1e2", 8},
        {R"({"k":99999999999999999999999})", Want::Unsigned, "not 99999999999999999999999", 28},
        {R"({"k":-6})", Want::Signed, "from -5 to 5, not -6", 7},
        {R"({"k":1e999})", Want::Double, "out of range", 10},
        {R"({"k":tru})", Want::Bool, "malformed literal", 9},
        {R"({"k":null})", Want::Bool, "should be true or false, not null", 5},
        {R"({"k":"a",})", Want::String, "expected a field name, found the end of an object", 9},
        {R"({"k" "a"})", Want::String, "expected ':', found a string", 5},
        {R"({"k":"a" "b":"c"})", Want::String, "expected ',' or the end of the object", 9},
        {R"({"k":"a"} x)", Want::String, "more text after the end", 10},
        {R"([])", Want::String, "expected an object, found an array", 0},
        {R"({"k":"abc)", Want::String, "ends too early", 9, true},
        {R"({"k":)", Want::String, "ends too early", 5, true},
        {"", Want::String, "ends too early", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        for (size_t piece : {1u, 4096u}) {
            JsonReader in = ReaderOf(c.text, piece);
            try {
                ReadOne(in, c.want);
                ADD_FAILURE() << "accepted";
            } catch (const JsonReader::Failure& f) {
                EXPECT_NE(f.what.find(c.message), std::string::npos) << f.what;
                EXPECT_EQ(f.offset, c.offset);
                EXPECT_EQ(f.truncated, c.truncated);
            }
        }
    }
}

} // namespace
} // namespace paradrex
