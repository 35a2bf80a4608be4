#include "platform/common/MappedViews.h"

#include <array>
#include <atomic>

namespace platform::views {
namespace {

struct Slot {
    std::atomic<std::uintptr_t> begin{0};  // 0 while the slot is free or being filled
    std::atomic<std::size_t> bytes{0};
    std::atomic<bool> damaged{false};
    std::atomic<bool> taken{false};
};

std::array<Slot, slotCount> slots;

bool valid(std::int32_t slot) { return slot >= 0 && slot < slotCount; }

}  // namespace

std::int32_t enroll(const void* begin, std::size_t bytes) {
    for (std::int32_t i = 0; i < slotCount; ++i) {
        bool expected = false;
        if (slots[i].taken.compare_exchange_strong(expected, true)) {
            slots[i].damaged.store(false);
            slots[i].bytes.store(bytes);
            slots[i].begin.store(reinterpret_cast<std::uintptr_t>(begin));
            return i;
        }
    }
    return -1;
}

void withdraw(std::int32_t slot) {
    if (!valid(slot)) {
        return;
    }
    slots[slot].begin.store(0);
    slots[slot].bytes.store(0);
    slots[slot].damaged.store(false);
    slots[slot].taken.store(false);
}

std::int32_t viewAt(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    for (std::int32_t i = 0; i < slotCount; ++i) {
        const std::uintptr_t first = slots[i].begin.load();
        if (first != 0 && at >= first && at - first < slots[i].bytes.load()) {
            return i;
        }
    }
    return -1;
}

const void* begin(std::int32_t slot) {
    return valid(slot) ? reinterpret_cast<const void*>(slots[slot].begin.load()) : nullptr;
}

std::size_t bytes(std::int32_t slot) { return valid(slot) ? slots[slot].bytes.load() : 0; }

void markDamaged(std::int32_t slot) {
    if (valid(slot)) {
        slots[slot].damaged.store(true);
    }
}

bool damaged(std::int32_t slot) { return valid(slot) && slots[slot].damaged.load(); }

}  // namespace platform::views
