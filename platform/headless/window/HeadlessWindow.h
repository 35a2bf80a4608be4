#pragma once

#include "app/ClockApp.h"
#include "app/WindowHost.h"

#include <vector>

namespace platform {

// The clock without a window system: a window that is only a place and a client
// area, with no frame, painted into memory by whoever holds it. It answers a
// resize at once with a size event, as Windows does, so the clock meets the
// same order of calls it meets on screen. Tests and horavel-snapshot run the
// clock through it, with a fixed clock and messages on standard error.
class HeadlessWindow final : public WindowHost {
public:
    // screens: the outer rectangles a placement is checked against, the primary
    // one first; none means every place is kept. dpi: the screens' resolution.
    explicit HeadlessWindow(ClockApp& clockApp, std::vector<WindowRect> screenRects = {},
                            std::int32_t screenDpi = 96)
        : app(clockApp), screenList(std::move(screenRects)), resolution(screenDpi) {}

    // Starts the clock and creates the window where the clock chose.
    void open(const StartOptions& options = {});
    // The user moves the window; the clock hears nothing of it, as on Windows.
    void moveTo(ScreenPoint outer) { position = outer; }
    // The window moves to a screen of another resolution: as Windows does, the
    // clock is told, with the window's rectangle scaled by the two resolutions.
    void moveToScreenOfDpi(std::int32_t screenDpi);

    std::vector<WindowRect> screens() const override { return screenList; }
    FrameSize frameSize() const override { return {}; }
    ClientSize clientSize() const override { return client; }
    ScreenPoint outerPosition() const override { return position; }
    std::int32_t dpi() const override { return resolution; }
    void moveOuter(const WindowRect& outer) override;
    void resizeClient(std::int32_t widthPx, std::int32_t heightPx) override;
    void invalidate(bool eraseBackground) override;
    void invalidateArea(const PixelRect& area) override;
    void setAlwaysOnTop(bool on) override { onTop = on; }
    void destroy() override { destroyed = true; }

    // Paints what waits to be painted into the target, as a paint event does:
    // the whole client area after invalidate, else the areas invalidated since.
    void paint(PaintTarget& target);

    bool isOpen() const { return opened && !destroyed; }
    // Whether the window stays above the others, as the clock asked at the
    // start or since.
    bool alwaysOnTop() const { return onTop; }
    // Whether something waits to be painted since the last paint, and whether
    // the background is to be erased first.
    bool paintPending() const { return invalidated; }
    bool erasePending() const { return erase; }

private:
    ClockApp& app;
    std::vector<WindowRect> screenList;
    std::int32_t resolution;
    ScreenPoint position;
    ClientSize client;
    bool opened = false;
    bool onTop = false;
    bool destroyed = false;
    bool invalidated = false;
    bool erase = false;
    bool everything = false;         // the whole client area waits, not just areas
    std::vector<PixelRect> areas;    // the parts that wait
};

}  // namespace platform
