#include "platform/Lock.h"

#include <mutex>
#include <new>

namespace platform {

static_assert(sizeof(std::recursive_mutex) <= 64, "the native lock must fit its storage");

namespace {
std::recursive_mutex& native(unsigned char* storage) {
    return *std::launder(reinterpret_cast<std::recursive_mutex*>(storage));
}
}  // namespace

Lock::Lock() { new (storage) std::recursive_mutex(); }
Lock::~Lock() { native(storage).~recursive_mutex(); }
void Lock::lock() { native(storage).lock(); }
void Lock::unlock() { native(storage).unlock(); }

}  // namespace platform
