// The clock program on an X11 display.
#include "app/ClockApp.h"
#include "app/x11/MessageWindow.h"
#include "app/x11/X11Window.h"
#include "platform/Clock.h"
#include "platform/Messages.h"

#include <cstdio>

int main() {
    platform::setMessageSink(shell::dialogMessageSink);
    const platform::SystemClock clock;
    ClockApp app(clock);
    shell::X11Window window(app);
    if (!window.open()) {
        std::fputs("Horavel: no X display could be opened (is DISPLAY set?)\n", stderr);
        return 1;
    }
    return window.run();
}
