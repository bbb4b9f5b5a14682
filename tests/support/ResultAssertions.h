#pragma once
// Assertions on platform results that print the error text on failure:
//
//     EXPECT_TRUE(Succeeded(platform::RenameNoReplace(a, b)));
//     EXPECT_TRUE(FailsWith(platform::RenameNoReplace(a, c), EEXIST));

#include "platform/Result.h"

#include <cstring>
#include <gtest/gtest.h>

namespace paradrex::test {

template <class T> testing::AssertionResult Succeeded(const platform::Result<T>& r) {
    if (r)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << r.error().Message();
}

template <class T> testing::AssertionResult FailsWith(const platform::Result<T>& r, int code) {
    if (r)
        return testing::AssertionFailure() << "succeeded, expected " << std::strerror(code);
    if (r.error().code != code)
        return testing::AssertionFailure()
               << r.error().Message() << ", expected " << std::strerror(code);
    return testing::AssertionSuccess();
}

} // namespace paradrex::test
