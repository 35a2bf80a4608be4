#include "app/wayland/WaylandWindow.h"

#include <cstdio>
#include <cstdlib>
#include <string>

// The roles the window's surface takes: a toplevel window framed by the
// compositor or by libdecor, or a layer of the desktop.
namespace shell {

void WaylandWindow::createLayerSurface() {
    createSurface();
    zwlr_layer_surface_v1* layer = zwlr_layer_shell_v1_get_layer_surface(
        globals.layerShell.get(), shown.surface.get(), nullptr, ZWLR_LAYER_SHELL_V1_LAYER_BOTTOM, "desktop");
    shown.layer.reset(layer);
    static const zwlr_layer_surface_v1_listener layerListener{
        [](void* data, zwlr_layer_surface_v1* self, std::uint32_t serial, std::uint32_t width, std::uint32_t height) {
            zwlr_layer_surface_v1_ack_configure(self, serial);
            static_cast<WaylandWindow*>(data)->configure(
                {static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)}, false);
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
    keepDesktopPlaceOnScreen();
    placeLayer();
    wl_surface_commit(shown.surface.get());
}

void WaylandWindow::placeLayer() {
    zwlr_layer_surface_v1* layer = shown.layer.get();
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
    // Messages go with the window they belong to (and the libdecor context
    // their frames live in); a size the compositor held goes too.
    messages.clear();
    seat->forgetAll();
    if (imposed) {
        imposed = false;
        app.sizeFreed(*this);
    }
    destroySurface();
    buffers = std::make_unique<ShmBuffers>(globals.shm.get());
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
    // Before the surface enters one (and a surface placed off every output
    // enters none), the first output the compositor told of.
    for (const std::unique_ptr<Output>& output : globals.outputs) {
        if (output->widthPx > 0) {
            return {output->widthPx, output->heightPx};
        }
    }
    return {};
}

void WaylandWindow::dragDesktopBy(PixelPoint deltaLogical) {
    const PixelSize screen = outputSizePx();
    if (screen.width <= 0 || !shown.layer) {
        return;
    }
    const PixelSize delta = bufferSize({std::abs(deltaLogical.x), std::abs(deltaLogical.y)}, scale120);
    const PixelRect now = rectangleAt(desktop, client, screen);
    const std::int32_t dx = deltaLogical.x < 0 ? -delta.width : delta.width;
    const std::int32_t dy = deltaLogical.y < 0 ? -delta.height : delta.height;
    desktop = nearestCorner({now.left + dx, now.top + dy, now.right + dx, now.bottom + dy}, screen);
    placeLayer();
    wl_surface_commit(shown.surface.get());
    app.placeChanged(*this);
}

bool WaylandWindow::keepDesktopPlaceOnScreen() {
    const PixelSize screen = outputSizePx();
    if (screen.width <= 0) {
        return false;
    }
    const PixelRect at = rectangleAt(desktop, client, screen);
    if (at.left >= 0 && at.top >= 0 && at.right <= screen.width && at.bottom <= screen.height) {
        return false;
    }
    desktop = nearestCorner(at, screen);
    return true;
}

void WaylandWindow::createSurface() {
    wl_surface* surface = wl_compositor_create_surface(globals.compositor.get());
    shown.surface.reset(surface);
    static const wl_surface_listener surfaceListener{
        [](void* data, wl_surface*, wl_output* output) {
            auto* window = static_cast<WaylandWindow*>(data);
            window->entered.push_back(output);
            window->scaleChanged(window->enteredScale120());
            if (window->shown.layer && window->keepDesktopPlaceOnScreen()) {
                window->placeLayer();
                wl_surface_commit(window->shown.surface.get());
                window->app.placeChanged(*window);
            }
        },
        [](void* data, wl_surface*, wl_output* output) {
            auto* window = static_cast<WaylandWindow*>(data);
            std::erase(window->entered, output);
            window->scaleChanged(window->enteredScale120());
        }};
    wl_surface_add_listener(surface, &surfaceListener, this);
    if (globals.viewporter) {
        shown.viewport.reset(wp_viewporter_get_viewport(globals.viewporter.get(), surface));
    }
    if (globals.fractionalScale && globals.viewporter) {
        shown.fractional.reset(
            wp_fractional_scale_manager_v1_get_fractional_scale(globals.fractionalScale.get(), surface));
        static const wp_fractional_scale_v1_listener fractionalListener{
            [](void* data, wp_fractional_scale_v1*, std::uint32_t scale) {
                auto* window = static_cast<WaylandWindow*>(data);
                window->fractionalScale120 = static_cast<std::int32_t>(scale);
                window->scaleChanged(window->enteredScale120());
            }};
        wp_fractional_scale_v1_add_listener(shown.fractional.get(), &fractionalListener, this);
    }
}

void WaylandWindow::createToplevel() {
    createSurface();
    if (!globals.decorations) {
        // The compositor draws no frames: libdecor draws them.
        static libdecor_interface decorInterface{
            [](libdecor*, libdecor_error, const char* message) {
                std::fprintf(stderr, "Horavel: the window's decorations failed: %s\n", message);
            },
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
        shown.decorContext.reset(libdecor_new(display, &decorInterface));
    }
    Toplevel::Owner& owner = *this;
    shown.toplevel =
        std::make_unique<Toplevel>(globals, shown.decorContext.get(), shown.surface.get(), nullptr, app.title(), owner);
    limitSize();
    shown.toplevel->map();
}

void WaylandWindow::limitSize() {
    if (shown.toplevel) {
        shown.toplevel->limitSize(
            logicalSize({gridColumns * smallestWindowUnit, gridRows * smallestWindowUnit}, scale120),
            logicalSize({gridColumns * largestWindowUnit, gridRows * largestWindowUnit}, scale120));
    }
}

void WaylandWindow::destroySurface() {
    // Taken out whole, the objects go in the order their declaration gives them.
    [[maybe_unused]] const SurfaceObjects gone = std::move(shown);
    isConfigured = false;
    entered.clear();
}

void WaylandWindow::setTitle(std::string_view title) {
    if (shown.toplevel) {
        shown.toplevel->setTitle(std::string(title));
    }
}

}  // namespace shell
