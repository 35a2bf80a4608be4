#pragma once

#include "platform/Lock.h"
#include "raster/CanvasFormat.h"
#include "raster/Color.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class PaintTarget;
struct PixelRect;

// A rectangle of a canvas's pixel store: columns left … right − 1 and rows
// bottom … top − 1, y upward as everywhere on a canvas. Empty when either
// extent is not positive.
struct StoreRect {
    std::int32_t left = 0;
    std::int32_t bottom = 0;
    std::int32_t right = 0;
    std::int32_t top = 0;

    bool empty() const { return right <= left || top <= bottom; }
    bool intersects(const StoreRect& other) const {
        return !empty() && !other.empty() && left < other.right && other.left < right &&
               bottom < other.top && other.bottom < top;
    }
    // The smallest rectangle holding both; an empty one holds nothing.
    StoreRect unite(const StoreRect& other) const;
    // Widened to whole blocks of scale × scale store pixels: left and bottom
    // down to a multiple of scale, right and top up to one.
    StoreRect wholeBlocks(std::int32_t scale) const;
    friend bool operator==(const StoreRect&, const StoreRect&) = default;
};

// How writePixel treats the depth plane.
enum DepthMode : std::int16_t {
    DepthOff = 0,       // no test, the plane untouched
    DepthTest = 1,      // test; depth written when the test passes (any other value but those below)
    DepthTestOnly = 2,  // test; depth not written
    DepthForce = -1,    // bit 15 set: no test, depth written
};

// The shape that limits drawing when clipping is enabled.
enum ClipShape : std::int16_t {
    ClipNone = 0,
    ClipRectangle = 1,
    ClipEllipse = 2,
    ClipRotatedRectangle = 3,
    ClipRotatedEllipse = 4,
};

// The drawing surface. Drawing happens in a pixel store of scale × scale store
// pixels per displayed pixel; present() averages each block into a 24-bit
// bottom-up display buffer that blit() copies to the screen. x grows to the
// right and y upward: row 0 is the bottom row.
//
// The owner sets pixelFormat and depthFormat, then calls create(). The fields are
// open for reading by the primitives and the camera; only the operations below
// change the buffers. A clip shape is set by writing the clip fields directly
// (clipShape, its centre, half extents and angle); clipEnabled switches it.
//
// A byte depth plane holds depths 0 (nearest) to 255 (farthest); writePixel
// clamps a depth outside that range into it, and takes a NaN as 255.
class Canvas {
public:
    Canvas() = default;
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // (Re)allocates the stores for a logical size; scale 0 keeps the current
    // factor. 1 on success; 0 when a store would exceed 2147483647 bytes, for a
    // negative size or factor, or when memory runs out. A canvas left without
    // buffers skips every drawing, present and blit until a create succeeds.
    [[nodiscard]] std::int32_t create(std::int32_t logicalWidth, std::int32_t logicalHeight,
                                      std::int16_t scaleFactor);
    void clear();       // every pixel black, then clearDepth()
    void clearDepth();  // every depth element the farthest value
    void release();     // frees all three buffers

    // Depth test, depth write and colour blend of one pixel, without a bounds
    // check: 1, or -1 when the depth test fails.
    std::int32_t writePixel(std::int32_t x, std::int32_t y, const Color& color,
                            std::int16_t depthMode, double depthValue);
    // 1 inside the clip shape, -1 outside.
    std::int32_t clipTest(std::int32_t x, std::int32_t y) const;
    // Bounds check, clip check, then writePixel.
    void plot(std::int32_t x, std::int32_t y, const Color& color, std::int16_t depthMode,
              double depthValue);
    // plot for count pixels of row y, pixel i at column columns[i] in colors[i],
    // with the lock taken once for the whole run instead of once per pixel.
    void plotRow(std::int32_t y, const std::int32_t* columns, const Color* colors, std::size_t count,
                 std::int16_t depthMode, double depthValue);
    // plotRow for byte colours given as four bytes each, red, green, blue and
    // transparency in rgbt[4i] … rgbt[4i + 3]: the pixels plotRow draws with
    // Color::bytes of those bytes, without a Color for each.
    void plotRowBytes(std::int32_t y, const std::int32_t* columns, const std::uint8_t* rgbt, std::size_t count,
                      std::int16_t depthMode, double depthValue);
    // plot for columns x0 … x1 of row y in one colour, the lock taken once.
    void plotSpan(std::int32_t x0, std::int32_t x1, std::int32_t y, const Color& color,
                  std::int16_t depthMode, double depthValue);
    // Rebuilds the display buffer from the pixel store. A float store is scaled
    // by 255.5/peak (255.5 while peak is 0), clamped to 0…255 and truncated; its
    // display rows are packed like those of a byte store, 3·displayWidth bytes.
    void present();
    // The same for the displayed pixels that cover area alone (a byte store):
    // area is widened to whole scale × scale blocks and cut to the canvas; the
    // rest of the display stays as it was. Returns the area so widened.
    StoreRect present(const StoreRect& area);
    // Copies the display buffer to the target at (0, y), one target pixel per
    // displayed pixel, within area of the target alone. Does nothing before the
    // first present().
    void blit(PaintTarget& target, std::int32_t y, const PixelRect& area);

    // A copy of the pixel store as it stands (width × height × bytesPerPixel
    // bytes, bottom row first), taken under pixelLock; empty without a store.
    std::vector<std::uint8_t> copyStore() const;
    // The same into copy, whose memory is reused when it is large enough: a
    // copy taken again and again allocates only once.
    void copyStore(std::vector<std::uint8_t>& copy) const;
    // Puts a copy from copyStore() back into the pixel store under pixelLock: 1,
    // or 0 with the store unchanged when there is none or the copy's size is not
    // the store's (the canvas was created anew since). The depth plane and the
    // display buffer stay as they are.
    [[nodiscard]] std::int32_t restoreStore(const std::vector<std::uint8_t>& copy);
    // The same for the pixels of area alone (cut to the store).
    [[nodiscard]] std::int32_t restoreStore(const std::vector<std::uint8_t>& copy, const StoreRect& area);

    // True when create() succeeded and the canvas can be drawn on.
    bool hasPixels() const { return pixels != nullptr; }
    // Width and height of the display buffer, in displayed pixels.
    std::int32_t displayWidth() const { return width / scale; }
    std::int32_t displayHeight() const { return height / scale; }

    std::unique_ptr<std::uint8_t[]> pixels;   // width × height × bytesPerPixel, bottom row first
    std::unique_ptr<std::uint8_t[]> depth;    // width × height × bytesPerDepth; absent without a plane
    std::unique_ptr<std::uint8_t[]> display;  // (width/scale) × (height/scale) × 3 bytes blue, green, red, bottom row first (4 bytes per pixel allocated)
    mutable platform::Lock pixelLock;         // guards pixels, depth, peak
    mutable platform::Lock displayLock;       // guards display; taken before pixelLock
    double peak = 0.0;                        // largest float channel written so far
    double clipAngle = 0.0;                   // rotation of the clip shape, radians
    std::int32_t clipCenterX = 0;
    std::int32_t clipHalfWidth = 0;
    std::int32_t clipCenterY = 0;
    std::int32_t clipHalfHeight = 0;
    std::int32_t width = 0;   // pixel-store width: scale × logical width, pixels
    std::int32_t height = 0;  // pixel-store height: scale × logical height, pixels
    std::int16_t clipShape = ClipNone;
    std::int16_t clipEnabled = 1;
    std::int16_t scale = 1;  // supersampling factor, ≥ 1
    std::int16_t peakFrozen = 0;
    std::int16_t bytesPerPixel = 0;  // 3 or 12 from pixelFormat, 0 without a store
    std::int16_t bytesPerDepth = 0;  // 1, 4 or 8 from depthFormat, 0 without a plane
    std::int32_t pixelFormat = PixelFormatNone;  // a PixelFormat
    std::int32_t depthFormat = DepthFormatNone;  // a DepthFormat

    // The farthest depth, held by a cleared float or double plane.
    static constexpr double farthestDepth = 1.0e30;

private:
    // plotRow for the colour colorAt(i) of each pixel i.
    template <typename ColorAt>
    void plotRowOf(std::int32_t y, const std::int32_t* columns, std::size_t count, std::int16_t depthMode,
                   double depthValue, const ColorAt& colorAt);
    // writePixel with pixelLock already held.
    std::int32_t writeHeldPixel(std::int32_t x, std::int32_t y, const Color& color, std::int16_t depthMode,
                                double depthValue);
};

// A canvas of this pixel format without a depth plane, its stores made: width and
// height in displayed pixels, scale store pixels to each. Null when the stores
// cannot be had.
std::unique_ptr<Canvas> makeFlatCanvas(std::int32_t widthPx, std::int32_t heightPx, std::int16_t scale,
                                       PixelFormat pixelFormat);
