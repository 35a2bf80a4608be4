#include "platform/headless/window/HeadlessWindow.h"

namespace platform {

void HeadlessWindow::open(const StartOptions& options) {
    const WindowPlacement placement = app.start(*this, options);
    position = placement.outer;
    client = placement.client;
    opened = true;
    app.created(*this);
}

void HeadlessWindow::resizeClient(std::int32_t widthPx, std::int32_t heightPx) {
    client = {widthPx, heightPx};
    app.sized(*this);
}

void HeadlessWindow::invalidate(bool eraseBackground) {
    invalidated = true;
    erase = erase || eraseBackground;
}

void HeadlessWindow::paint(PaintTarget& target) {
    app.paint(target);
    invalidated = false;
    erase = false;
}

}  // namespace platform
