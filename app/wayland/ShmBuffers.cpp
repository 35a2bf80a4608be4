#include "app/wayland/ShmBuffers.h"

#include "app/linux/XrgbRows.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace shell {

namespace {

constexpr std::int32_t bytesPerPixel = 4;

}  // namespace

std::unique_ptr<ShmBuffer> ShmBuffer::create(wl_shm* shm, PixelSize sizePx) {
    if (sizePx.width < 1 || sizePx.height < 1) {
        return nullptr;
    }
    const std::size_t bytes = static_cast<std::size_t>(sizePx.width) * bytesPerPixel * sizePx.height;
    const int file = memfd_create("horavel-picture", MFD_CLOEXEC);
    if (file < 0) {
        return nullptr;
    }
    if (ftruncate(file, static_cast<off_t>(bytes)) != 0) {
        close(file);
        return nullptr;
    }
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    if (memory == MAP_FAILED) {
        close(file);
        return nullptr;
    }
    std::unique_ptr<ShmBuffer> result(new ShmBuffer(sizePx, static_cast<std::uint32_t*>(memory), bytes));
    {
        // The buffer keeps the memory; the pool that made it can go at once.
        const Owned<wl_shm_pool> pool(wl_shm_create_pool(shm, file, static_cast<std::int32_t>(bytes)));
        result->buffer.reset(wl_shm_pool_create_buffer(pool.get(), 0, sizePx.width, sizePx.height,
                                                       sizePx.width * bytesPerPixel, WL_SHM_FORMAT_XRGB8888));
    }
    close(file);
    static const wl_buffer_listener listener{onRelease};
    wl_buffer_add_listener(result->buffer.get(), &listener, result.get());
    return result;
}

ShmBuffer::ShmBuffer(PixelSize size, std::uint32_t* memory, std::size_t bytes)
    : sizePx(size), pixels(memory), byteCount(bytes) {
    // Black until painted, as a new window's background.
    std::memset(pixels, 0, byteCount);
}

ShmBuffer::~ShmBuffer() {
    buffer.reset();
    munmap(pixels, byteCount);
}

void ShmBuffer::onRelease(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->held = false; }

void ShmBuffer::paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                 const std::uint8_t* rows, const PixelRect& area) {
    if (rows == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const PixelRect picture{x, y, x + width, y + height};
    const PixelRect painted = area.intersect({0, 0, sizePx.width, sizePx.height}).intersect(picture);
    if (painted.empty()) {
        return;
    }
    convertToXrgb(rows, picture, painted, pixels, static_cast<std::size_t>(sizePx.width));
}

ShmBuffer* ShmBuffers::take(PixelSize sizePx, std::size_t& index) {
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_ptr<ShmBuffer>& buffer = buffers[i];
        if (buffer && buffer->busy()) {
            continue;
        }
        if (!buffer || buffer->size() != sizePx) {
            // A buffer of the old size is dropped once the compositor lets it go.
            buffer = ShmBuffer::create(shm, sizePx);
            lacking.forgetAll();
            if (!buffer) {
                return nullptr;
            }
        }
        index = i;
        return buffer.get();
    }
    return nullptr;
}

}  // namespace shell
