#include "app/headless/HeadlessWindow.h"

namespace shell {

void HeadlessWindow::open(const StartOptions& options) {
    const WindowPlacement placement = app.start(*this, options);
    outer = placement.outer;
    client = placement.client;
    onTop = placement.alwaysOnTop;
    windowTitle = app.title();
    opened = true;
    app.created(*this);
}

void HeadlessWindow::resizeClient(std::int32_t widthPx, std::int32_t heightPx) {
    client = {widthPx, heightPx};
    app.sized(*this);
}

void HeadlessWindow::moveOuter(const PixelRect& outerRect) {
    outer = {outerRect.left, outerRect.top};
    resizeClient(outerRect.right - outerRect.left, outerRect.bottom - outerRect.top);
}

void HeadlessWindow::moveToScreenOfDpi(std::int32_t screenDpi) {
    const std::int32_t from = resolution;
    resolution = screenDpi;
    const auto scaled = [&](std::int32_t length) {
        return static_cast<std::int32_t>(std::int64_t{length} * screenDpi / from);
    };
    app.dpiChanged(*this, screenDpi,
                   {outer.x, outer.y, outer.x + scaled(client.width), outer.y + scaled(client.height)});
}

void HeadlessWindow::invalidate(bool eraseBackground) {
    waiting.addAll();
    erase = erase || eraseBackground;
}

void HeadlessWindow::invalidateArea(const PixelRect& area) { waiting.add(area); }

void HeadlessWindow::paint(PaintTarget& target) {
    for (const PixelRect& area : waiting.take(app.clientArea())) {
        app.paint(target, area);
    }
    erase = false;
}

}  // namespace shell
