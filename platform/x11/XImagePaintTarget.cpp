#include "platform/x11/XImagePaintTarget.h"

#include <X11/Xutil.h>

#include <cstring>

namespace platform {

struct XImagePaintTarget::Region {
    std::int32_t x = 0;
    std::int32_t y = 0;  // top edge, pixels down from the top of the window
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<char> pixels;  // the image's store, in the visual's format
    XImage* image = nullptr;
    bool painted = false;  // holds a picture
    bool changed = false;  // differs from what was last sent

    ~Region() {
        if (image != nullptr) {
            image->data = nullptr;  // the store belongs to the vector
            XDestroyImage(image);
        }
    }
};

namespace {

// The shift that moves an 8-bit channel to the top of a mask, and the mask's width.
struct ChannelPlacement {
    int shift = 0;
    int bits = 0;
};

ChannelPlacement placementOf(unsigned long mask) {
    ChannelPlacement placement;
    if (mask == 0) {
        return placement;
    }
    while ((mask & 1UL) == 0) {
        mask >>= 1;
        ++placement.shift;
    }
    while ((mask & 1UL) != 0) {
        mask >>= 1;
        ++placement.bits;
    }
    return placement;
}

unsigned long placeChannel(std::uint8_t value, ChannelPlacement placement) {
    const unsigned long scaled = placement.bits >= 8 ? static_cast<unsigned long>(value)
                                                           << (placement.bits - 8)
                                                     : static_cast<unsigned long>(value) >>
                                                           (8 - placement.bits);
    return scaled << placement.shift;
}

}  // namespace

XImagePaintTarget::XImagePaintTarget(Display* displayConnection, Visual* windowVisual,
                                     int windowDepth)
    : display(displayConnection), visual(windowVisual), depth(windowDepth) {}

XImagePaintTarget::~XImagePaintTarget() = default;

void XImagePaintTarget::forget() {
    regions.clear();
}

XImagePaintTarget::Region& XImagePaintTarget::regionAt(std::int32_t x, std::int32_t y,
                                                       std::int32_t width, std::int32_t height) {
    for (auto& region : regions) {
        if (region->x == x && region->y == y && region->width == width &&
            region->height == height) {
            return *region;
        }
    }
    auto region = std::make_unique<Region>();
    region->x = x;
    region->y = y;
    region->width = width;
    region->height = height;
    region->image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                 nullptr, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 32, 0);
    if (region->image != nullptr) {
        region->pixels.resize(static_cast<std::size_t>(region->image->bytes_per_line) *
                              static_cast<std::size_t>(height));
        region->image->data = region->pixels.data();
    }
    regions.push_back(std::move(region));
    return *regions.back();
}

void XImagePaintTarget::paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width,
                                         std::int32_t height, const std::uint8_t* rows) {
    if (width <= 0 || height <= 0 || rows == nullptr) {
        return;
    }
    Region& region = regionAt(x, y, width, height);
    if (region.image == nullptr) {
        return;
    }
    if (convert(region, rows)) {
        region.changed = true;
    }
    region.painted = true;
}

bool XImagePaintTarget::convert(Region& region, const std::uint8_t* rows) const {
    // Each row is converted and compared with the row the image holds: an
    // unchanged picture (the calendar on most ticks) then changes nothing and is
    // not sent again, and needs no copy of its own.
    XImage& image = *region.image;
    const std::size_t sourceStride = static_cast<std::size_t>(region.width) * 3;
    const bool standard32 = image.bits_per_pixel == 32 && image.red_mask == 0xFF0000 &&
                            image.green_mask == 0x00FF00 && image.blue_mask == 0x0000FF;
    const bool leastFirst = image.byte_order == LSBFirst;
    const ChannelPlacement red = placementOf(image.red_mask);
    const ChannelPlacement green = placementOf(image.green_mask);
    const ChannelPlacement blue = placementOf(image.blue_mask);
    std::vector<std::uint8_t> scratch(standard32 ? static_cast<std::size_t>(region.width) * 4 : 0);
    bool changed = false;
    for (std::int32_t row = 0; row < region.height; ++row) {
        // The picture's first row is its bottom row; the image's is its top row.
        const std::uint8_t* source =
            rows + sourceStride * static_cast<std::size_t>(region.height - 1 - row);
        if (standard32) {
            auto* target = reinterpret_cast<std::uint8_t*>(image.data) +
                           static_cast<std::size_t>(image.bytes_per_line) * row;
            std::uint8_t* converted = scratch.data();
            // Blue, green, red, pad in memory for a least-significant-first
            // server; the reverse otherwise.
            const int blueAt = leastFirst ? 0 : 3;
            const int greenAt = leastFirst ? 1 : 2;
            const int redAt = leastFirst ? 2 : 1;
            const int padAt = leastFirst ? 3 : 0;
            for (std::int32_t column = 0; column < region.width; ++column, source += 3, converted += 4) {
                converted[blueAt] = source[0];
                converted[greenAt] = source[1];
                converted[redAt] = source[2];
                converted[padAt] = 0;
            }
            if (std::memcmp(target, scratch.data(), scratch.size()) != 0) {
                std::memcpy(target, scratch.data(), scratch.size());
                changed = true;
            }
            continue;
        }
        for (std::int32_t column = 0; column < region.width; ++column, source += 3) {
            const unsigned long pixel = placeChannel(source[2], red) |
                                        placeChannel(source[1], green) |
                                        placeChannel(source[0], blue);
            if (XGetPixel(&image, column, row) != pixel) {
                XPutPixel(&image, column, row, pixel);
                changed = true;
            }
        }
    }
    return changed;
}

void XImagePaintTarget::put(Window window, GC gc, bool everything) {
    for (auto& region : regions) {
        if (region->image == nullptr || !region->painted || !(everything || region->changed)) {
            continue;
        }
        XPutImage(display, window, gc, region->image, 0, 0, region->x, region->y,
                  static_cast<unsigned>(region->width), static_cast<unsigned>(region->height));
        region->changed = false;
    }
}

}  // namespace platform
