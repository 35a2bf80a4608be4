// The clock program on Windows.
#include "app/AppState.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/win32/window/MainWindow.h"

#include <objbase.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    platform::setMessageSink(platform::dialogMessageSink);
    // The image decoder works in the multithreaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    static AppState state;
    static const platform::SystemClock clock;
    platform::MainWindowContext context{state, clock};
    int exitCode = 0;
    if (platform::registerMainWindowClass(instance) &&
        platform::createMainWindow(instance, showCommand, context) != nullptr) {
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        exitCode = static_cast<int>(message.wParam);
    }

    // The canvases first, then the textures, while COM still runs; the text
    // renderer and the globe pictures go with the process.
    state.face.globeCanvas.reset();
    state.face.calendarCanvas.reset();
    state.face.clockCanvas.reset();
    state.face.earthTexture.release();
    state.face.moonTexture.release();
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return exitCode;
}
