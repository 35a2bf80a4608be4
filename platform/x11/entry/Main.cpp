// The clock program on an X11 display.
#include "app/ClockApp.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/x11/X11Window.h"

#include <cstdio>

int main() {
    platform::setMessageSink(platform::dialogMessageSink);
    const platform::SystemClock clock;
    ClockApp app(clock);
    platform::X11Window window(app);
    if (!window.open()) {
        std::fputs("Horavel: no X display could be opened (is DISPLAY set?)\n", stderr);
        return 1;
    }
    return window.run();
}
