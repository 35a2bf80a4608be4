#pragma once

#include <cstddef>
#include <cstdint>

// The views of mapped files that are open, so that a fault inside one can be
// told from any other. A file cut short while it is mapped makes every read of
// its lost pages fault (SIGBUS on POSIX systems, an in-page error on Windows);
// the platform's fault handler asks viewAt which view the address lies in,
// puts zero pages in the view's place and marks it damaged. The reading goes
// on with zeros, and the owner of the view learns from damaged() that what it
// read cannot be trusted.
//
// Every function here may be called from a signal or exception handler: no
// locks and no allocation, only atomic slots.
namespace platform::views {

inline constexpr std::int32_t slotCount = 64;

// A slot for the view of bytes bytes at begin, or -1 when every slot is taken
// (the view is then read unguarded, as before).
std::int32_t enroll(const void* begin, std::size_t bytes);
// Frees the slot; harmless for -1.
void withdraw(std::int32_t slot);
// The slot whose view holds address, or -1.
std::int32_t viewAt(const void* address);
// Where the slot's view begins and how many bytes it spans.
const void* begin(std::int32_t slot);
std::size_t bytes(std::int32_t slot);
void markDamaged(std::int32_t slot);
bool damaged(std::int32_t slot);

}  // namespace platform::views
