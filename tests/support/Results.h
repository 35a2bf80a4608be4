#pragma once

#include "platform/Result.h"

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// An assertion that result succeeded, whose message is its reason when it did
// not.
template <typename T>
::testing::AssertionResult succeeded(const Result<T>& result) {
    if (result) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << result.error();
}

// Why result failed; empty when it succeeded.
template <typename T>
std::string reasonOf(const Result<T>& result) {
    return result ? std::string() : result.error();
}

}  // namespace testsupport
