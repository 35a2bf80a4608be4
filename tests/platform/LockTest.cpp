#include "platform/Lock.h"

#include <gtest/gtest.h>

#include <mutex>

// The text renderer takes its lock again inside calls that already hold it.
TEST(Lock, HolderMayTakeItAgain) {
    platform::Lock lock;
    std::lock_guard outer(lock);
    std::lock_guard inner(lock);
    SUCCEED();
}
