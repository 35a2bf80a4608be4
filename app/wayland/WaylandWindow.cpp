#include "app/wayland/WaylandWindow.h"

#include <algorithm>

namespace shell {

namespace {

// Rectangles waiting to be painted beyond this count are painted as the whole
// area: a window the compositor does not show gets no frame callbacks and
// would otherwise pile them up tick after tick.
constexpr std::int32_t areasWaitingLimit = 64;
}  // namespace

WaylandWindow::WaylandWindow(ClockApp& clockApp, Owned<wl_display> compositor)
    : TrackedWindowHost(baseDpi), app(clockApp), connection(std::move(compositor)), display(connection.get()) {}

WaylandWindow::~WaylandWindow() {
    // Messages shown from now on go to standard error.
    loop.reset();
}

bool WaylandWindow::open(const StartOptions& options) {
    if (!globals.bind(display)) {
        std::fputs("Horavel: the Wayland compositor closed the connection at once\n", stderr);
        return false;
    }
    if (globals.compositor == nullptr || globals.shm == nullptr || globals.wmBase == nullptr) {
        std::fputs("Horavel: the Wayland compositor offers no windows (wl_compositor, wl_shm, xdg_wm_base)\n",
                   stderr);
        return false;
    }
    loop = std::make_unique<ShellLoop>();
    buffers = std::make_unique<ShmBuffers>(globals.shm.get());
    Seat::Owner& owner = *this;
    seat = std::make_unique<Seat>(globals, owner);
    // Until the surface enters an output, the largest scale is the likeliest.
    scale120 = scaleDenominator * globals.largestScale();
    resolution = dpiForScale(scale120);
    const WindowPlacement placement = app.start(*this, options);
    // The place stays as the settings hold it: the compositor places the window.
    outer = placement.outer;
    client = placement.client;
    if (globals.layerShell != nullptr && placement.desktop.corner != ScreenCorner::None) {
        desktop = placement.desktop;
        createLayerSurface();
    } else {
        createToplevel();
    }
    app.created(*this);
    return true;
}

SurfaceScaling WaylandWindow::scaling() const {
    return surfaceScaling(client, scale120, shown.viewport != nullptr);
}

PixelSize WaylandWindow::configure(PixelSize proposedLogical, bool imposedNow) {
    isConfigured = true;
    inConfigure = true;
    const bool sized = proposedLogical.width > 0 && proposedLogical.height > 0;
    if (imposedNow && sized) {
        // The clock draws inside the size it is given, and keeps its own.
        imposed = true;
        const PixelSize given = bufferSize(proposedLogical, scale120);
        resizeClient(given.width, given.height);
        app.sizeImposed(*this, given);
    } else if (imposed && !imposedNow) {
        imposed = false;
        app.sizeFreed(*this);
    } else if (sized) {
        // The size the compositor proposes is the window's from now on; the
        // clock snaps it to the grid, asking for another when it is off it.
        const PixelSize proposed = bufferSize(proposedLogical, scale120);
        resizeClient(proposed.width, proposed.height);
        app.sizeReported(*this, proposed);
        app.placeChanged(*this);
    }
    inConfigure = false;
    waiting.addAll();
    return scaling().logical;
}

std::int32_t WaylandWindow::enteredScale120() const {
    if (fractionalScale120 > 0) {
        return fractionalScale120;
    }
    std::int32_t scale = 0;
    for (const wl_output* handle : entered) {
        if (const Output* output = globals.output(handle)) {
            scale = std::max(scale, output->scale);
        }
    }
    return scale > 0 ? scale * scaleDenominator : scale120;
}

void WaylandWindow::scaleChanged(std::int32_t newScale120) {
    if (newScale120 == scale120) {
        return;
    }
    const std::int32_t oldScale120 = scale120;
    scale120 = newScale120;
    limitSize();
    // The window keeps its logical size: its pixels follow the new scale.
    const PixelSize logical = logicalSize(client, oldScale120);
    const PixelSize pixels = bufferSize(logical, scale120);
    app.dpiChanged(*this, dpiForScale(scale120), {0, 0, pixels.width, pixels.height});
}

void WaylandWindow::moveOuter(const PixelRect& outerRect) {
    // Only the size counts: the compositor places the window. It answers at
    // once, as a size event would.
    app.sizeReported(*this, {outerRect.right - outerRect.left, outerRect.bottom - outerRect.top});
}

void WaylandWindow::resizeClient(std::int32_t widthPx, std::int32_t heightPx) {
    if (widthPx < 1 || heightPx < 1) {
        return;
    }
    client = {widthPx, heightPx};
    addAllWaiting();
    if (shown.toplevel && isConfigured && !inConfigure) {
        // The frame drawn around the window follows a size the clock chose;
        // one the compositor proposed it is told of as its configure ends.
        shown.toplevel->sizeChosen(scaling().logical);
    }
}

void WaylandWindow::addAllWaiting() {
    waiting.addAll();
    areasWaiting = 0;
}

void WaylandWindow::invalidate(bool eraseBackground) {
    addAllWaiting();
    if (eraseBackground && buffers) {
        buffers->damage().forgetAll();
    }
}

void WaylandWindow::invalidateArea(const PixelRect& area) {
    if (++areasWaiting > areasWaitingLimit) {
        addAllWaiting();
        return;
    }
    waiting.add(area);
}

void WaylandWindow::paint() {
    wl_surface* surface = shown.surface.get();
    if (!isConfigured || shown.frameCallback || !waiting.pending() || surface == nullptr) {
        return;
    }
    std::size_t index = 0;
    ShmBuffer* buffer = buffers->take(client, index);
    if (buffer == nullptr) {
        // Both are on the screen: a release comes, and the paint waits for it.
        return;
    }
    const PixelRect whole = app.clientArea();
    const bool sameSize = buffer->size() == PixelSize{whole.right, whole.bottom};
    std::vector<PixelRect> changed = waiting.take(whole);
    areasWaiting = 0;
    for (const PixelRect& area : buffers->damage().paintInto(index, changed, whole)) {
        app.paint(*buffer, area);
    }
    const SurfaceScaling scaling = this->scaling();
    wl_surface_set_buffer_scale(surface, scaling.bufferScale);
    if (shown.viewport) {
        wp_viewport_set_destination(shown.viewport.get(), scaling.viewport ? scaling.logical.width : -1,
                                    scaling.viewport ? scaling.logical.height : -1);
    }
    if (shown.layer && scaling.logical != layerSize) {
        placeLayer();
    }
    wl_surface_attach(surface, buffer->handle(), 0, 0);
    for (const PixelRect& area : sameSize ? changed : std::vector<PixelRect>{whole}) {
        wl_surface_damage_buffer(surface, area.left, area.top, area.right - area.left, area.bottom - area.top);
    }
    buffer->lend();
    shown.frameCallback.reset(wl_surface_frame(surface));
    static const wl_callback_listener frameListener{
        [](void* data, wl_callback*, std::uint32_t) {
            static_cast<WaylandWindow*>(data)->shown.frameCallback.reset();
        }};
    wl_callback_add_listener(shown.frameCallback.get(), &frameListener, this);
    wl_surface_commit(surface);
}

bool WaylandWindow::showMessage(std::string_view caption, std::string_view text) {
    auto message = std::make_unique<MessageToplevel>(globals, shown.decorContext.get(), shown.toplevel.get(), caption,
                                                     text, scale120);
    if (!message->isOpen()) {
        return false;
    }
    messages.push_back(std::move(message));
    return true;
}

void WaylandWindow::closeAskedMessages() {
    for (auto message = messages.begin(); message != messages.end();) {
        if ((*message)->askedToClose()) {
            closeMessage(message);
            message = messages.begin();
        } else {
            ++message;
        }
    }
}

void WaylandWindow::closeMessage(std::vector<std::unique_ptr<MessageToplevel>>::iterator message) {
    seat->forget((*message)->handle());
    messages.erase(message);
}

std::vector<std::unique_ptr<MessageToplevel>>::iterator WaylandWindow::messageOf(const wl_surface* over) {
    return std::find_if(messages.begin(), messages.end(),
                        [over](const std::unique_ptr<MessageToplevel>& message) { return message->owns(over); });
}

}  // namespace shell
