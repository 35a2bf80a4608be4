#pragma once

#include "app/ClockApp.h"
#include "app/PaintQueue.h"
#include "app/TrackedWindowHost.h"

#include <string>
#include <vector>

namespace shell {

// The clock without a window system: a window that is only a place and a client
// area, with no frame, painted into memory by whoever holds it. It answers a
// resize at once with a size event, as Windows does, so the clock meets the
// same order of calls it meets on screen. Tests and horavel-snapshot run the
// clock through it, with a fixed clock and messages on standard error.
class HeadlessWindow final : public TrackedWindowHost {
public:
    // screens: the outer rectangles a placement is checked against, the primary
    // one first; none means every place is kept. dpi: the screens' resolution.
    explicit HeadlessWindow(ClockApp& clockApp, std::vector<PixelRect> screenRects = {},
                            std::int32_t screenDpi = baseDpi)
        : TrackedWindowHost(screenDpi), app(clockApp), screenList(std::move(screenRects)) {}

    // Starts the clock and creates the window where the clock chose.
    void open(const StartOptions& options = {});
    // The user moves the window; the clock hears nothing of it, as on Windows.
    void moveTo(PixelPoint corner) { outer = corner; }
    // The window moves to a screen of another resolution: as Windows does, the
    // clock is told, with the window's rectangle scaled by the two resolutions.
    void moveToScreenOfDpi(std::int32_t screenDpi);

    std::vector<PixelRect> screens() const override { return screenList; }
    PixelSize frameSize() const override { return {}; }
    void moveOuter(const PixelRect& outerRect) override;
    void resizeClient(std::int32_t widthPx, std::int32_t heightPx) override;
    void invalidate(bool eraseBackground) override;
    void invalidateArea(const PixelRect& area) override;
    void setAlwaysOnTop(bool on) override { onTop = on; }
    void setTitle(std::string_view text) override { windowTitle = text; }
    void destroy() override { destroyed = true; }

    // Paints what waits to be painted into the target, as a paint event does:
    // the whole client area after invalidate, else the areas invalidated since.
    void paint(PaintTarget& target);

    bool isOpen() const { return opened && !destroyed; }
    // The window's title, as the clock named it at the start or since.
    const std::string& title() const { return windowTitle; }
    // Whether the window stays above the others, as the clock asked at the
    // start or since.
    bool alwaysOnTop() const { return onTop; }
    // Whether something waits to be painted since the last paint, and whether
    // the background is to be erased first.
    bool paintPending() const { return waiting.pending(); }
    bool erasePending() const { return erase; }

private:
    ClockApp& app;
    std::vector<PixelRect> screenList;
    bool opened = false;
    bool onTop = false;
    bool destroyed = false;
    bool erase = false;
    std::string windowTitle;
    PaintQueue waiting;
};

}  // namespace shell
