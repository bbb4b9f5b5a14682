#include "platform/Result.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace paradrex::platform {
namespace {

TEST(Error, MessageNamesTheCallThePathsAndTheReason) {
    EXPECT_EQ((Error{EEXIST, "rename", "/a b/x", "/c/x"}.Message()),
              "rename /a b/x -> /c/x: File exists");
    EXPECT_EQ((Error{ENOENT, "open", "/x", {}}.Message()), "open /x: No such file or directory");
    EXPECT_EQ((Error{ETIMEDOUT, "wait", "xdg-mime", {}}.Message()),
              "wait xdg-mime: Connection timed out");
}

TEST(Result, HoldsTheValueOrTheError) {
    Result<int> ok = 7;
    Result<int> failed = Error{EACCES, "open", "/x", {}};
    EXPECT_TRUE(ok);
    EXPECT_EQ(ok, 7);
    EXPECT_EQ(ok.code(), 0);
    EXPECT_FALSE(failed);
    EXPECT_FALSE(failed == 0);
    EXPECT_EQ(failed.code(), EACCES);
    EXPECT_EQ(failed.value_or(3), 3);
    Result<void> done;
    EXPECT_TRUE(done);
    EXPECT_EQ(Result<void>(Error{EIO, "read", "/y", {}}).code(), EIO);
}

} // namespace
} // namespace paradrex::platform
