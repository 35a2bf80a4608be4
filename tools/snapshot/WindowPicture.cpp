#include "WindowPicture.h"

#include "clockface/FaceState.h"
#include "platform/ImageEncoder.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

// Copies a canvas's display, bottom-up, into rows [top, top + its height) of a
// top-down picture, cut to the picture's width as the window's client area cuts it.
void copyDisplay(const Canvas& canvas, std::vector<std::uint8_t>& picture, std::int32_t pictureWidth,
                 std::int32_t top) {
    const std::int32_t width = canvas.displayWidth();
    const std::int32_t height = canvas.displayHeight();
    const auto rowBytes = static_cast<std::size_t>(3 * pictureWidth);
    for (std::int32_t i = 0; i < height; ++i) {
        const std::uint8_t* source = canvas.display.get() + static_cast<std::size_t>(3 * width) * (height - 1 - i);
        std::memcpy(picture.data() + rowBytes * static_cast<std::size_t>(top + i), source, rowBytes);
    }
}

}  // namespace

bool writeWindowPicture(const FaceState& face, const std::filesystem::path& path) {
    if (!face.clockCanvas || !face.calendarCanvas || !face.clockCanvas->display ||
        !face.calendarCanvas->display) {
        return false;
    }
    const std::int32_t width = face.clientWidth;
    const std::int32_t height = 2 * face.halfHeight;
    std::vector<std::uint8_t> picture(static_cast<std::size_t>(3 * width) * static_cast<std::size_t>(height));
    copyDisplay(*face.clockCanvas, picture, width, 0);
    copyDisplay(*face.calendarCanvas, picture, width, face.halfHeight);
    return platform::writePngBgr(path, width, height, 3 * width, picture.data()) == 1;
}
