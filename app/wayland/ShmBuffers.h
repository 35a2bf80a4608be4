#pragma once

#include "app/BufferDamage.h"
#include "app/wayland/Owned.h"
#include "raster/PaintTarget.h"

#include <wayland-client.h>

#include <array>
#include <cstdint>
#include <memory>

namespace shell {

// One picture in memory shared with the compositor: 32 bits a pixel (x, red,
// green, blue), top row first. Canvases paint into it as into a window.
class ShmBuffer final : public PaintTarget {
public:
    // Null when the memory or the buffer could not be made.
    static std::unique_ptr<ShmBuffer> create(wl_shm* shm, PixelSize sizePx);
    ~ShmBuffer() override;
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    void paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint8_t* rows, const PixelRect& area) override;

    wl_buffer* handle() const { return buffer.get(); }
    PixelSize size() const { return sizePx; }
    // The compositor holds the buffer from its commit until it releases it.
    bool busy() const { return held; }
    void lend() { held = true; }

private:
    ShmBuffer(PixelSize size, std::uint32_t* memory, std::size_t bytes);
    static void onRelease(void* data, wl_buffer* buffer);

    PixelSize sizePx;
    std::uint32_t* pixels;
    std::size_t byteCount;
    Owned<wl_buffer> buffer;
    bool held = false;
};

// The buffers of one surface, two of them, taken in turn as the compositor
// hands them back; each is brought up to date by painting what it lacks.
class ShmBuffers {
public:
    static constexpr std::size_t count = 2;

    explicit ShmBuffers(wl_shm* sharedMemory) : shm(sharedMemory) {}

    // A buffer of this size that the compositor does not hold, made anew when
    // the size changed; null while both are held or when none can be made.
    // index tells which of them it is.
    ShmBuffer* take(PixelSize sizePx, std::size_t& index);
    BufferDamage& damage() { return lacking; }

private:
    wl_shm* shm;
    std::array<std::unique_ptr<ShmBuffer>, count> buffers;
    BufferDamage lacking{count};
};

}  // namespace shell
