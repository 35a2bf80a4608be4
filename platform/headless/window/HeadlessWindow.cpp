#include "platform/headless/window/HeadlessWindow.h"

namespace platform {

void HeadlessWindow::open(const StartOptions& options) {
    const WindowPlacement placement = app.start(*this, options);
    position = placement.outer;
    client = placement.client;
    onTop = placement.alwaysOnTop;
    opened = true;
    app.created(*this);
}

void HeadlessWindow::resizeClient(std::int32_t widthPx, std::int32_t heightPx) {
    client = {widthPx, heightPx};
    app.sized(*this);
}

void HeadlessWindow::moveOuter(const WindowRect& outer) {
    position = {outer.left, outer.top};
    resizeClient(outer.right - outer.left, outer.bottom - outer.top);
}

void HeadlessWindow::moveToScreenOfDpi(std::int32_t screenDpi) {
    const std::int32_t from = resolution;
    resolution = screenDpi;
    const auto scaled = [&](std::int32_t length) {
        return static_cast<std::int32_t>(std::int64_t{length} * screenDpi / from);
    };
    app.dpiChanged(*this, screenDpi,
                   {position.x, position.y, position.x + scaled(client.width), position.y + scaled(client.height)});
}

void HeadlessWindow::invalidate(bool eraseBackground) {
    invalidated = true;
    everything = true;
    erase = erase || eraseBackground;
}

void HeadlessWindow::invalidateArea(const PixelRect& area) {
    invalidated = true;
    areas.push_back(area);
}

void HeadlessWindow::paint(PaintTarget& target) {
    if (everything || !invalidated) {
        app.paint(target, app.clientArea());
    } else {
        for (const PixelRect& area : areas) {
            app.paint(target, area);
        }
    }
    invalidated = false;
    erase = false;
    everything = false;
    areas.clear();
}

}  // namespace platform
