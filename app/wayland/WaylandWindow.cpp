#include "app/wayland/WaylandWindow.h"

#include "app/Keys.h"
#include "platform/SessionSignals.h"

#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace shell {

namespace {

// The name the desktop entry is installed under, which desktops match the
// window to for its icon and name.
constexpr const char* applicationId = "com.brantolm.Horavel";

// Rectangles waiting to be painted beyond this count are painted as the whole
// area: a window the compositor does not show gets no frame callbacks and
// would otherwise pile them up tick after tick.
constexpr std::int32_t areasWaitingLimit = 64;

// What the client library last said, which the clock says in its own line
// instead: a protocol error comes with its text there.
char libraryMessage[256] = "";

void keepLibraryMessage(const char* format, va_list arguments) {
    std::vsnprintf(libraryMessage, sizeof libraryMessage, format, arguments);
    // One line: the library ends its messages with a line end.
    libraryMessage[std::strcspn(libraryMessage, "\n")] = '\0';
}

int openTickTimer() {
    const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    if (timer < 0) {
        return -1;
    }
    itimerspec period{};
    period.it_interval.tv_nsec = static_cast<long>(tickPeriodMs) * 1000000L;
    period.it_value = period.it_interval;
    timerfd_settime(timer, 0, &period, nullptr);
    return timer;
}

}  // namespace

wl_display* connectToCompositor() {
    const char* named = std::getenv("WAYLAND_DISPLAY");
    const char* xDisplay = std::getenv("DISPLAY");
    // A session that names only an X display runs on X, even when a compositor
    // listens on the default socket.
    const bool isNamed = named != nullptr && *named != '\0';
    if (!isNamed && xDisplay != nullptr && *xDisplay != '\0') {
        return nullptr;
    }
    // The default socket lies in the session's runtime folder; without one
    // there is no session to ask, and the library would say so on its own.
    const char* runtimeFolder = std::getenv("XDG_RUNTIME_DIR");
    if (!isNamed && (runtimeFolder == nullptr || *runtimeFolder == '\0')) {
        return nullptr;
    }
    wl_log_set_handler_client(keepLibraryMessage);
    return wl_display_connect(nullptr);
}

WaylandWindow::WaylandWindow(ClockApp& clockApp, wl_display* display_)
    : TrackedWindowHost(baseDpi), app(clockApp), connection{display_}, display(display_) {}

WaylandWindow::~WaylandWindow() {
    menu.reset();
    destroySurface();
    if (pointer != nullptr) {
        wl_pointer_release(pointer);
    }
    if (keyboard != nullptr) {
        wl_keyboard_release(keyboard);
    }
    if (timer >= 0) {
        close(timer);
    }
    if (signals >= 0) {
        close(signals);
    }
}

bool WaylandWindow::open() {
    if (!globals.bind(display)) {
        std::fputs("Horavel: the Wayland compositor closed the connection at once\n", stderr);
        return false;
    }
    if (globals.compositor == nullptr || globals.shm == nullptr || globals.wmBase == nullptr) {
        std::fputs("Horavel: the Wayland compositor offers no windows (wl_compositor, wl_shm, xdg_wm_base)\n",
                   stderr);
        return false;
    }
    signals = platform::openSessionSignals();
    timer = openTickTimer();
    buffers = std::make_unique<ShmBuffers>(globals.shm);
    cursor = std::make_unique<PointerCursor>(globals.compositor, globals.shm);
    if (globals.seat != nullptr) {
        static const wl_seat_listener seatListener{onSeatCapabilities, [](void*, wl_seat*, const char*) {}};
        wl_seat_add_listener(globals.seat, &seatListener, this);
    }
    // Until the surface enters an output, the largest scale is the likeliest.
    scale120 = scaleDenominator * globals.largestScale();
    resolution = dpiForScale(scale120);
    StartOptions options;
    options.tellLosses = true;
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

void WaylandWindow::createLayerSurface() {
    createSurface();
    layer = zwlr_layer_shell_v1_get_layer_surface(globals.layerShell, surface, nullptr,
                                                  ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM, "desktop");
    static const zwlr_layer_surface_v1_listener layerListener{
        [](void* data, zwlr_layer_surface_v1* self, std::uint32_t serial, std::uint32_t width, std::uint32_t height) {
            zwlr_layer_surface_v1_ack_configure(self, serial);
            static_cast<WaylandWindow*>(data)->configured(static_cast<std::int32_t>(width),
                                                         static_cast<std::int32_t>(height));
        },
        [](void* data, zwlr_layer_surface_v1*) {
            // The compositor took the desktop away (its output went): the
            // clock becomes an ordinary window again.
            static_cast<WaylandWindow*>(data)->layerClosed = true;
        }};
    zwlr_layer_surface_v1_add_listener(layer, &layerListener, this);
    // Keys reach it once it is clicked, never by taking the focus itself.
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        layer, globals.layerShellVersion >= 4 ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_ON_DEMAND
                                              : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    placeLayer();
    wl_surface_commit(surface);
}

void WaylandWindow::placeLayer() {
    const SurfaceScaling scaling = this->scaling();
    layerSize = scaling.logical;
    zwlr_layer_surface_v1_set_size(layer, static_cast<std::uint32_t>(layerSize.width),
                                   static_cast<std::uint32_t>(layerSize.height));
    const bool right = desktop.corner == ScreenCorner::TopRight || desktop.corner == ScreenCorner::BottomRight;
    const bool bottom = desktop.corner == ScreenCorner::BottomLeft || desktop.corner == ScreenCorner::BottomRight;
    zwlr_layer_surface_v1_set_anchor(layer, (right ? ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT : ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT) |
                                                (bottom ? ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM : ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP));
    // The margins are kept in the output's pixels and given in logical ones.
    const PixelSize margins = logicalSize({desktop.marginXPx, desktop.marginYPx}, scale120);
    const std::int32_t x = desktop.marginXPx == 0 ? 0 : margins.width;
    const std::int32_t y = desktop.marginYPx == 0 ? 0 : margins.height;
    zwlr_layer_surface_v1_set_margin(layer, bottom ? 0 : y, right ? x : 0, bottom ? y : 0, right ? 0 : x);
}

void WaylandWindow::setOnDesktop(bool on) {
    menu.reset();
    destroySurface();
    buffers = std::make_unique<ShmBuffers>(globals.shm);
    if (on) {
        // Where it first lies: the top-right corner, a unit from its edges.
        const std::int32_t unit = app.state().face.unit;
        desktop = {ScreenCorner::TopRight, unit, unit};
        createLayerSurface();
    } else {
        desktop = {};
        createToplevel();
    }
    addAllWaiting();
    app.placeSettled(*this);
}

PixelSize WaylandWindow::outputSizePx() const {
    for (const wl_output* handle : entered) {
        if (const Output* output = globals.output(handle); output != nullptr && output->widthPx > 0) {
            return {output->widthPx, output->heightPx};
        }
    }
    return {};
}

void WaylandWindow::dragDesktopBy(PixelPoint deltaLogical) {
    const PixelSize screen = outputSizePx();
    if (screen.width <= 0 || layer == nullptr) {
        return;
    }
    const PixelSize delta = bufferSize({std::abs(deltaLogical.x), std::abs(deltaLogical.y)}, scale120);
    const PixelRect now = rectangleAt(desktop, client, screen);
    const std::int32_t dx = deltaLogical.x < 0 ? -delta.width : delta.width;
    const std::int32_t dy = deltaLogical.y < 0 ? -delta.height : delta.height;
    desktop = nearestCorner({now.left + dx, now.top + dy, now.right + dx, now.bottom + dy}, screen);
    placeLayer();
    wl_surface_commit(surface);
    app.placeChanged(*this);
}

void WaylandWindow::createSurface() {
    surface = wl_compositor_create_surface(globals.compositor);
    static const wl_surface_listener surfaceListener{
        [](void* data, wl_surface*, wl_output* output) {
            auto* window = static_cast<WaylandWindow*>(data);
            window->entered.push_back(output);
            window->scaleChanged(window->enteredScale120());
        },
        [](void* data, wl_surface*, wl_output* output) {
            auto* window = static_cast<WaylandWindow*>(data);
            std::erase(window->entered, output);
            window->scaleChanged(window->enteredScale120());
        }};
    wl_surface_add_listener(surface, &surfaceListener, this);
    if (globals.viewporter != nullptr) {
        viewport = wp_viewporter_get_viewport(globals.viewporter, surface);
    }
    if (globals.fractionalScale != nullptr && globals.viewporter != nullptr) {
        fractional = wp_fractional_scale_manager_v1_get_fractional_scale(globals.fractionalScale, surface);
        static const wp_fractional_scale_v1_listener fractionalListener{
            [](void* data, wp_fractional_scale_v1*, std::uint32_t scale) {
                auto* window = static_cast<WaylandWindow*>(data);
                window->fractionalScale120 = static_cast<std::int32_t>(scale);
                window->scaleChanged(window->enteredScale120());
            }};
        wp_fractional_scale_v1_add_listener(fractional, &fractionalListener, this);
    }
}

void WaylandWindow::createToplevel() {
    createSurface();
    const PixelSize smallest = logicalSize({gridColumns * smallestWindowUnit, gridRows * smallestWindowUnit}, scale120);
    const PixelSize largest = logicalSize({gridColumns * largestWindowUnit, gridRows * largestWindowUnit}, scale120);
    if (globals.decorations == nullptr) {
        createDecoratedToplevel(smallest, largest);
        return;
    }
    xdgSurface = xdg_wm_base_get_xdg_surface(globals.wmBase, surface);
    static const xdg_surface_listener xdgSurfaceListener{[](void* data, xdg_surface* self, std::uint32_t serial) {
        xdg_surface_ack_configure(self, serial);
        auto* window = static_cast<WaylandWindow*>(data);
        window->configured(window->pendingSize.width, window->pendingSize.height);
    }};
    xdg_surface_add_listener(xdgSurface, &xdgSurfaceListener, this);
    toplevel = xdg_surface_get_toplevel(xdgSurface);
    static const xdg_toplevel_listener toplevelListener{
        [](void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*) {
            static_cast<WaylandWindow*>(data)->pendingSize = {width, height};
        },
        [](void* data, xdg_toplevel*) {
            auto* window = static_cast<WaylandWindow*>(data);
            window->app.closeRequested(*window);
        },
        [](void*, xdg_toplevel*, std::int32_t, std::int32_t) {},
        [](void*, xdg_toplevel*, wl_array*) {}};
    xdg_toplevel_add_listener(toplevel, &toplevelListener, this);
    xdg_toplevel_set_title(toplevel, "Horavel");
    xdg_toplevel_set_app_id(toplevel, applicationId);
    xdg_toplevel_set_min_size(toplevel, smallest.width, smallest.height);
    xdg_toplevel_set_max_size(toplevel, largest.width, largest.height);
    decoration = zxdg_decoration_manager_v1_get_toplevel_decoration(globals.decorations, toplevel);
    zxdg_toplevel_decoration_v1_set_mode(decoration, ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE);
    // The first commit has no buffer: the compositor answers with a configure.
    wl_surface_commit(surface);
}

void WaylandWindow::createDecoratedToplevel(PixelSize smallest, PixelSize largest) {
    static libdecor_interface decorInterface{
        [](libdecor*, libdecor_error, const char* message) {
            std::fprintf(stderr, "Horavel: the window's decorations failed: %s\n", message);
        },
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    decorContext = libdecor_new(display, &decorInterface);
    static libdecor_frame_interface frameInterface{
        [](libdecor_frame* frame, libdecor_configuration* configuration, void* data) {
            auto* window = static_cast<WaylandWindow*>(data);
            int width = 0;
            int height = 0;
            if (!libdecor_configuration_get_content_size(configuration, frame, &width, &height)) {
                width = 0;
                height = 0;
            }
            window->configured(width, height);
            const SurfaceScaling scaling = window->scaling();
            libdecor_state* state = libdecor_state_new(scaling.logical.width, scaling.logical.height);
            libdecor_frame_commit(frame, state, configuration);
            libdecor_state_free(state);
        },
        [](libdecor_frame*, void* data) {
            auto* window = static_cast<WaylandWindow*>(data);
            window->app.closeRequested(*window);
        },
        [](libdecor_frame*, void* data) { static_cast<WaylandWindow*>(data)->waiting.addAll(); },
        [](libdecor_frame*, const char*, void*) {},
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    decorFrame = libdecor_decorate(decorContext, surface, &frameInterface, this);
    libdecor_frame_set_title(decorFrame, "Horavel");
    libdecor_frame_set_app_id(decorFrame, applicationId);
    libdecor_frame_set_min_content_size(decorFrame, smallest.width, smallest.height);
    libdecor_frame_set_max_content_size(decorFrame, largest.width, largest.height);
    libdecor_frame_map(decorFrame);
}

void WaylandWindow::destroySurface() {
    if (frameCallback != nullptr) {
        wl_callback_destroy(frameCallback);
        frameCallback = nullptr;
    }
    if (decoration != nullptr) {
        zxdg_toplevel_decoration_v1_destroy(decoration);
        decoration = nullptr;
    }
    if (decorFrame != nullptr) {
        libdecor_frame_unref(decorFrame);
        decorFrame = nullptr;
    }
    if (decorContext != nullptr) {
        libdecor_unref(decorContext);
        decorContext = nullptr;
    }
    if (toplevel != nullptr) {
        xdg_toplevel_destroy(toplevel);
        toplevel = nullptr;
    }
    if (layer != nullptr) {
        zwlr_layer_surface_v1_destroy(layer);
        layer = nullptr;
    }
    if (xdgSurface != nullptr) {
        xdg_surface_destroy(xdgSurface);
        xdgSurface = nullptr;
    }
    if (fractional != nullptr) {
        wp_fractional_scale_v1_destroy(fractional);
        fractional = nullptr;
    }
    if (viewport != nullptr) {
        wp_viewport_destroy(viewport);
        viewport = nullptr;
    }
    if (surface != nullptr) {
        wl_surface_destroy(surface);
        surface = nullptr;
    }
    isConfigured = false;
    entered.clear();
}

SurfaceScaling WaylandWindow::scaling() const {
    return surfaceScaling(client, scale120, viewport != nullptr);
}

void WaylandWindow::configured(std::int32_t widthLogical, std::int32_t heightLogical) {
    isConfigured = true;
    if (widthLogical > 0 && heightLogical > 0) {
        // The size the compositor proposes, snapped to the grid by the clock.
        app.sizeReported(*this, bufferSize({widthLogical, heightLogical}, scale120));
        app.placeChanged(*this);
    }
    waiting.addAll();
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
    if (!isConfigured || frameCallback != nullptr || !waiting.pending() || surface == nullptr) {
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
    if (viewport != nullptr) {
        wp_viewport_set_destination(viewport, scaling.viewport ? scaling.logical.width : -1,
                                    scaling.viewport ? scaling.logical.height : -1);
    }
    if (layer != nullptr && scaling.logical != layerSize) {
        placeLayer();
    }
    wl_surface_attach(surface, buffer->handle(), 0, 0);
    for (const PixelRect& area : sameSize ? changed : std::vector<PixelRect>{whole}) {
        wl_surface_damage_buffer(surface, area.left, area.top, area.right - area.left, area.bottom - area.top);
    }
    buffer->lend();
    frameCallback = wl_surface_frame(surface);
    static const wl_callback_listener frameListener{[](void* data, wl_callback* callback, std::uint32_t) {
        auto* window = static_cast<WaylandWindow*>(data);
        wl_callback_destroy(callback);
        window->frameCallback = nullptr;
    }};
    wl_callback_add_listener(frameCallback, &frameListener, this);
    wl_surface_commit(surface);
}

int WaylandWindow::run() {
    while (!closed) {
        if (wl_display_dispatch_pending(display) < 0) {
            return connectionFailed();
        }
        checkMenuDismissed();
        if (layerClosed) {
            layerClosed = false;
            setOnDesktop(false);
        }
        if (closed) {
            break;
        }
        paint();
        if (wl_display_prepare_read(display) != 0) {
            continue;
        }
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return connectionFailed();
        }
        pollfd descriptors[3] = {{wl_display_get_fd(display), POLLIN, 0}, {timer, POLLIN, 0}, {signals, POLLIN, 0}};
        const int result = poll(descriptors, 3, -1);
        if (result < 0 && errno != EINTR) {
            wl_display_cancel_read(display);
            return connectionFailed();
        }
        if (result > 0 && (descriptors[0].revents & POLLIN) != 0) {
            if (wl_display_read_events(display) < 0) {
                return connectionFailed();
            }
        } else {
            wl_display_cancel_read(display);
            if (result > 0 && (descriptors[0].revents & (POLLERR | POLLHUP)) != 0) {
                return connectionFailed();
            }
        }
        if (result > 0 && (descriptors[1].revents & POLLIN) != 0) {
            tickFromTimer();
        }
        if (result > 0 && (descriptors[2].revents & POLLIN) != 0 && platform::takeSessionSignal(signals)) {
            // Asked to end, as a session or service manager asks: save, then close.
            app.sessionEnding(*this);
            closed = true;
        }
    }
    wl_display_flush(display);
    return 0;
}

void WaylandWindow::tickFromTimer() {
    std::uint64_t expirations = 0;
    // After a stall several periods may have passed: the clock ticks once.
    if (read(timer, &expirations, sizeof expirations) == static_cast<ssize_t>(sizeof expirations)) {
        app.tick(*this);
    }
}

int WaylandWindow::connectionFailed() {
    closed = true;
    const int error = wl_display_get_error(display);
    app.sessionEnding(*this);
    if (error == EPROTO) {
        const wl_interface* interface = nullptr;
        std::uint32_t objectId = 0;
        const std::uint32_t code = wl_display_get_protocol_error(display, &interface, &objectId);
        std::fprintf(stderr,
                     "Horavel: the compositor ended the connection for a protocol error (%s %u, code %u: %s); "
                     "the settings are saved\n",
                     interface != nullptr ? interface->name : "unknown object", objectId, code, libraryMessage);
        return 1;
    }
    std::fputs("Horavel: the connection to the Wayland compositor was lost; the settings are saved and the clock ends\n",
               stderr);
    return 0;
}

// Input.

void WaylandWindow::onSeatCapabilities(void* data, wl_seat* seat, std::uint32_t capabilities) {
    auto* window = static_cast<WaylandWindow*>(data);
    const bool hasPointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (hasPointer && window->pointer == nullptr) {
        window->pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(window->pointer, &pointerListener, window);
    } else if (!hasPointer && window->pointer != nullptr) {
        wl_pointer_release(window->pointer);
        window->pointer = nullptr;
    }
    const bool hasKeyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (hasKeyboard && window->keyboard == nullptr) {
        window->keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(window->keyboard, &keyboardListener, window);
    } else if (!hasKeyboard && window->keyboard != nullptr) {
        wl_keyboard_release(window->keyboard);
        window->keyboard = nullptr;
    }
}

namespace {

WaylandWindow& windowOf(void* data) { return *static_cast<WaylandWindow*>(data); }

PixelPoint logicalPoint(wl_fixed_t x, wl_fixed_t y) { return {wl_fixed_to_int(x), wl_fixed_to_int(y)}; }

}  // namespace

const wl_pointer_listener WaylandWindow::pointerListener{
    [](void* data, wl_pointer* pointer, std::uint32_t serial, wl_surface* over, wl_fixed_t x, wl_fixed_t y) {
        WaylandWindow& window = windowOf(data);
        window.pointerSurface = over;
        // libdecor shows its own cursors over the frame it draws.
        if (over == window.surface || (window.menu && window.menu->owns(over))) {
            window.cursor->show(pointer, serial, (window.scale120 + scaleDenominator - 1) / scaleDenominator);
        }
        window.pointerMovedTo(logicalPoint(x, y));
    },
    [](void* data, wl_pointer*, std::uint32_t, wl_surface*) { windowOf(data).pointerSurface = nullptr; },
    [](void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
        windowOf(data).pointerMovedTo(logicalPoint(x, y));
    },
    [](void* data, wl_pointer*, std::uint32_t serial, std::uint32_t, std::uint32_t button, std::uint32_t state) {
        windowOf(data).onPointerButton(serial, button, state == WL_POINTER_BUTTON_STATE_PRESSED);
    },
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
    [](void*, wl_pointer*) {},
    [](void*, wl_pointer*, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
    nullptr};  // high-resolution wheel steps come from version 8 on, which is not bound

const wl_keyboard_listener WaylandWindow::keyboardListener{
    [](void* data, wl_keyboard*, std::uint32_t format, std::int32_t descriptor, std::uint32_t size) {
        if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
            windowOf(data).keys.setKeymap(descriptor, size);
        } else {
            close(descriptor);
        }
    },
    [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
    [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
    [](void* data, wl_keyboard*, std::uint32_t serial, std::uint32_t, std::uint32_t key, std::uint32_t state) {
        if (state == WL_KEYBOARD_KEY_STATE_PRESSED) {
            windowOf(data).onKey(serial, key);
        }
    },
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
       std::uint32_t locked, std::uint32_t group) { windowOf(data).keys.setModifiers(depressed, latched, locked, group); },
    [](void*, wl_keyboard*, std::int32_t, std::int32_t) {}};

void WaylandWindow::pointerMovedTo(PixelPoint atLogical) {
    if (dragging && pointerSurface == surface) {
        // The surface moves with the pointer, which stays where it grabbed it.
        dragDesktopBy({atLogical.x - pointerAt.x, atLogical.y - pointerAt.y});
        return;
    }
    pointerAt = atLogical;
    if (menu && menu->owns(pointerSurface)) {
        menu->pointerMoved(atLogical);
    }
}

void WaylandWindow::onPointerButton(std::uint32_t serial, std::uint32_t button, bool pressed) {
    if (menu) {
        if (!menu->owns(pointerSurface)) {
            return;
        }
        if (pressed) {
            menu->buttonPressed();
            return;
        }
        const MenuOutcome outcome = menu->buttonReleased();
        if (outcome.closes) {
            closeMenu(outcome.chosen);
        }
        return;
    }
    if (pressed && button == BTN_RIGHT && pointerSurface == surface && surface != nullptr) {
        openMenu(pointerAt, serial);
    } else if (button == BTN_LEFT && layer != nullptr) {
        // On the desktop the clock is moved by dragging it anywhere.
        dragging = pressed && pointerSurface == surface;
        if (!pressed) {
            app.placeSettled(*this);
        }
    }
}

void WaylandWindow::onKey(std::uint32_t serial, std::uint32_t key) {
    const PressedKey press = keys.read(key);
    if (menu) {
        const MenuOutcome outcome = menu->key(press);
        if (outcome.closes) {
            closeMenu(outcome.chosen);
        }
        return;
    }
    if (press.symbol == XKB_KEY_Menu || (press.symbol == XKB_KEY_F10 && press.shift)) {
        // From the keyboard the menu opens at the client area's corner.
        openMenu({0, 0}, serial);
    } else if (press.upperCaseLetter != alwaysOnTopKey) {
        // No window can ask a compositor to keep it above the others.
        app.key(*this, press.upperCaseLetter);
    }
}

void WaylandWindow::openMenu(PixelPoint atLogical, std::uint32_t serial) {
    std::vector<MenuItem> items = withoutItem(app.menu(), MenuCommand::AlwaysOnTop);
    if (globals.layerShell != nullptr) {
        items = withDesktopItem(std::move(items), layer != nullptr);
    }
    xdg_surface* parent = decorFrame != nullptr ? libdecor_frame_get_xdg_surface(decorFrame) : xdgSurface;
    menu = std::make_unique<MenuPopup>(globals, parent, layer, items, scale120, atLogical, serial);
    if (!menu->isOpen()) {
        menu.reset();
    }
}

void WaylandWindow::closeMenu(MenuCommand chosen) {
    menu.reset();
    if (chosen == MenuCommand::OnTheDesktop) {
        setOnDesktop(layer == nullptr);
        return;
    }
    app.menuChosen(*this, chosen);
}

void WaylandWindow::checkMenuDismissed() {
    if (menu && menu->dismissed()) {
        closeMenu(MenuCommand::Nothing);
    }
}

}  // namespace shell
