#pragma once

#include <cstddef>

namespace platform {

// A lock that the thread holding it may take again. On Windows a critical section
// with a spin count of 8192, elsewhere a recursive mutex. It meets the standard
// BasicLockable requirements, so std::lock_guard and std::scoped_lock work with it.
class Lock {
public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void lock();
    void unlock();

private:
    // Room for the native object, so that this header needs no system header.
    static constexpr std::size_t storageBytes = 64;
    alignas(16) unsigned char storage[storageBytes];
};

}  // namespace platform
