// The clock program on Linux: on a Wayland compositor when one answers, on an
// X11 display otherwise.
#include "app/ClockApp.h"
#include "app/CommandLine.h"
#include "app/x11/X11Window.h"
#include "platform/Clock.h"
#include "platform/SessionSignals.h"

#ifdef HORAVEL_WITH_WAYLAND
#include "app/wayland/WaylandWindow.h"
#endif

#include <cstdio>
#include <string>
#include <vector>

namespace {

#ifdef HORAVEL_WITH_WAYLAND
// The clock on the compositor that answers; none when none does, or when it
// offers no windows.
std::optional<int> runOnWayland(ClockApp& app, const StartOptions& options) {
    shell::Owned<wl_display> connection = shell::connectToCompositor();
    if (!connection) {
        return std::nullopt;
    }
    shell::WaylandWindow window(app, std::move(connection));
    if (!window.open(options)) {
        return std::nullopt;
    }
    return window.run();
}

constexpr char noDisplay[] = "Horavel: neither a Wayland compositor nor an X display could be reached (are "
                             "WAYLAND_DISPLAY and DISPLAY set?); horavel-snapshot draws the clock without one\n";
#else
constexpr char noDisplay[] =
    "Horavel: no X display could be opened (is DISPLAY set?); horavel-snapshot draws the clock without one\n";
#endif

}  // namespace

int main(int argc, char** argv) {
    // --help, --version and a refused command line are answered before any
    // display is reached, so they work without one.
    CommandLineAnswer answer = readCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    const StartOptions options = clockStartOptions(answer);
    if (!answer.runsClock) {
        std::fputs(answer.text.c_str(), answer.isError ? stderr : stdout);
        return answer.exitCode;
    }
    // From the clock's first moment on, a signal that ends the session waits
    // for the clock's loop, which saves the settings and ends with 0; nothing
    // before it (the maps, a message) can make the clock miss it.
    platform::sessionSignals();
    const platform::SystemClock clock;
    ClockApp app(clock);
#ifdef HORAVEL_WITH_WAYLAND
    if (const std::optional<int> exitCode = runOnWayland(app, options)) {
        return *exitCode;
    }
#endif
    shell::X11Window window(app);
    if (!window.open(options)) {
        std::fputs(noDisplay, stderr);
        return 1;
    }
    return window.run();
}
