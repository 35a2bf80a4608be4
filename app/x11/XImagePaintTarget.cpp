#include "app/x11/XImagePaintTarget.h"

#include "app/linux/XrgbRows.h"

#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>

namespace shell {

struct XImagePaintTarget::Picture {
    std::int32_t x = 0;
    std::int32_t y = 0;  // top edge, pixels down from the top of the window
    std::int32_t width = 0;
    std::int32_t height = 0;
    Display* display = nullptr;
    XImage* image = nullptr;
    XShmSegmentInfo segment{};  // attached when shared
    bool shared = false;
    std::vector<std::uint32_t> store;  // the image's pixels when not shared, in whole 32-bit words
    std::vector<PixelRect> pending;  // areas converted and not sent yet, the picture's coordinates

    ~Picture() {
        if (image == nullptr) {
            return;
        }
        if (shared) {
            if (display != nullptr) {
                XShmDetach(display, &segment);
                XSync(display, False);
            }
            shmdt(segment.shmaddr);
        }
        image->data = nullptr;  // the pixels belong to the segment or the vector
        XDestroyImage(image);
    }
};

namespace {

// The byte order of this machine's 32-bit numbers, as an image names it.
constexpr int nativeByteOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

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

// Set while attaching a segment: the server answers a segment it cannot reach
// (a server on another machine) with an error, which must not end the program.
bool attachFailed = false;
int noteAttachError(Display*, XErrorEvent*) {
    attachFailed = true;
    return 0;
}

// Creates a shared image and attaches its segment to the server; false, with
// nothing left behind, when any step fails.
bool createSharedImage(Display* display, Visual* visual, int depth, std::int32_t width, std::int32_t height,
                       XImage*& image, XShmSegmentInfo& segment) {
    image = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &segment,
                            static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (image == nullptr) {
        return false;
    }
    segment.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(height),
                           IPC_CREAT | 0600);
    if (segment.shmid < 0) {
        XDestroyImage(image);
        image = nullptr;
        return false;
    }
    segment.shmaddr = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    if (segment.shmaddr == reinterpret_cast<char*>(-1)) {
        shmctl(segment.shmid, IPC_RMID, nullptr);
        XDestroyImage(image);
        image = nullptr;
        return false;
    }
    image->data = segment.shmaddr;
    segment.readOnly = False;
    XSync(display, False);
    attachFailed = false;
    XErrorHandler previous = XSetErrorHandler(noteAttachError);
    const bool attached = XShmAttach(display, &segment) != 0;
    XSync(display, False);
    XSetErrorHandler(previous);
    // Marked for removal now: the system frees it once both sides detach, even
    // should the program end without a word.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (!attached || attachFailed) {
        shmdt(segment.shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
        image = nullptr;
        return false;
    }
    return true;
}

}  // namespace

XImagePaintTarget::XImagePaintTarget(Display* displayConnection, Visual* windowVisual, int windowDepth)
    : display(displayConnection),
      visual(windowVisual),
      depth(windowDepth),
      sharedMemory(XShmQueryExtension(displayConnection) == True) {}

XImagePaintTarget::~XImagePaintTarget() = default;

void XImagePaintTarget::forget() {
    pictures.clear();
}

void XImagePaintTarget::connectionGone() {
    for (const auto& picture : pictures) {
        picture->display = nullptr;
    }
}

XImagePaintTarget::Picture* XImagePaintTarget::pictureAt(std::int32_t x, std::int32_t y, std::int32_t width,
                                                         std::int32_t height) {
    for (auto& picture : pictures) {
        if (picture->x == x && picture->y == y && picture->width == width && picture->height == height) {
            return picture->image != nullptr ? picture.get() : nullptr;
        }
    }
    auto picture = std::make_unique<Picture>();
    picture->x = x;
    picture->y = y;
    picture->width = width;
    picture->height = height;
    picture->display = display;
    if (sharedMemory) {
        picture->shared = createSharedImage(display, visual, depth, width, height, picture->image, picture->segment);
        // A server that cannot reach this memory will not on the next try either.
        sharedMemory = picture->shared;
    }
    if (!picture->shared) {
        picture->image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                      static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
        if (picture->image != nullptr) {
            const std::size_t bytes =
                static_cast<std::size_t>(picture->image->bytes_per_line) * static_cast<std::size_t>(height);
            picture->store.resize((bytes + 3) / 4);
            picture->image->data = reinterpret_cast<char*>(picture->store.data());
        }
    }
    pictures.push_back(std::move(picture));
    return pictures.back()->image != nullptr ? pictures.back().get() : nullptr;
}

void XImagePaintTarget::paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                         const std::uint8_t* rows, const PixelRect& area) {
    const PixelRect painted = area.intersect({x, y, x + width, y + height});
    if (rows == nullptr || painted.empty()) {
        return;
    }
    Picture* picture = pictureAt(x, y, width, height);
    if (picture == nullptr) {
        return;
    }
    const PixelRect own{painted.left - x, painted.top - y, painted.right - x, painted.bottom - y};
    convert(*picture, rows, own);
    picture->pending.push_back(own);
}

void XImagePaintTarget::convert(Picture& picture, const std::uint8_t* rows, const PixelRect& painted) const {
    XImage& image = *picture.image;
    const bool xrgb = image.bits_per_pixel == 32 && image.red_mask == 0xFF0000 && image.green_mask == 0x00FF00 &&
                      image.blue_mask == 0x0000FF && image.byte_order == nativeByteOrder;
    if (xrgb) {
        convertToXrgb(rows, {0, 0, picture.width, picture.height}, painted,
                      reinterpret_cast<std::uint32_t*>(image.data), static_cast<std::size_t>(image.bytes_per_line) / 4);
        return;
    }
    // Any other format, pixel by pixel.
    const std::size_t sourceStride = static_cast<std::size_t>(picture.width) * 3;
    const ChannelPlacement red = placementOf(image.red_mask);
    const ChannelPlacement green = placementOf(image.green_mask);
    const ChannelPlacement blue = placementOf(image.blue_mask);
    for (std::int32_t row = painted.top; row < painted.bottom; ++row) {
        // The picture's first row is its bottom row; the image's is its top row.
        const std::uint8_t* source = rows + sourceStride * static_cast<std::size_t>(flipRow(row, picture.height)) +
                                     3 * static_cast<std::size_t>(painted.left);
        for (std::int32_t column = painted.left; column < painted.right; ++column, source += 3) {
            XPutPixel(&image, column, row,
                      placeChannel(source[2], red) | placeChannel(source[1], green) | placeChannel(source[0], blue));
        }
    }
}

void XImagePaintTarget::put(Window window, GC gc) {
    bool sentShared = false;
    for (auto& picture : pictures) {
        for (const PixelRect& area : picture->pending) {
            const auto width = static_cast<unsigned>(area.right - area.left);
            const auto height = static_cast<unsigned>(area.bottom - area.top);
            if (picture->shared) {
                XShmPutImage(display, window, gc, picture->image, area.left, area.top, picture->x + area.left,
                             picture->y + area.top, width, height, False);
                sentShared = true;
            } else {
                XPutImage(display, window, gc, picture->image, area.left, area.top, picture->x + area.left,
                          picture->y + area.top, width, height);
            }
        }
        picture->pending.clear();
    }
    if (sentShared) {
        XSync(display, False);
    }
}

}  // namespace shell
