// The clock program on an X11 display.
#include "app/AppState.h"
#include "app/Settings.h"
#include "app/Textures.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/ProgramDirectory.h"
#include "platform/SettingsFolder.h"
#include "platform/x11/X11Window.h"

#include <cstdio>

int main() {
    platform::setMessageSink(platform::dialogMessageSink);

    AppState state;
    loadTextures(state.face, platform::programDirectory());
    state.settingsFolder = platform::settingsFolder();
    const Settings settings = readSettingsFile(state.settingsFolder, Settings{});
    state.windowLeft = settings.left;
    state.windowTop = settings.top;
    state.face.setUnit(settings.unit);

    platform::SystemClock clock;
    platform::X11Window window(state, clock);
    if (!window.open()) {
        std::fputs("Horavel: no X display could be opened (is DISPLAY set?)\n", stderr);
        return 1;
    }
    return window.run();
}
