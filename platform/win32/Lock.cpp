#include "platform/Lock.h"

#include <windows.h>

#include <new>

namespace platform {

static_assert(sizeof(CRITICAL_SECTION) <= 64, "the critical section must fit its storage");

namespace {
constexpr DWORD spinCount = 8192;

CRITICAL_SECTION* native(unsigned char* storage) {
    return std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage));
}
}  // namespace

Lock::Lock() {
    new (storage) CRITICAL_SECTION();
    InitializeCriticalSectionAndSpinCount(native(storage), spinCount);
}
Lock::~Lock() { DeleteCriticalSection(native(storage)); }
void Lock::lock() { EnterCriticalSection(native(storage)); }
void Lock::unlock() { LeaveCriticalSection(native(storage)); }

}  // namespace platform
