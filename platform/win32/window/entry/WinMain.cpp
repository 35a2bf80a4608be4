// The clock program on Windows.
#include "app/ClockApp.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/win32/window/MainWindow.h"

#include <objbase.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    platform::setMessageSink(platform::dialogMessageSink);
    // The image decoder works in the multithreaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    int exitCode = 0;
    {
        const platform::SystemClock clock;
        ClockApp app(clock);
        platform::MainWindow window(app);
        if (platform::MainWindow::registerClass(instance) && window.open(instance, showCommand)) {
            MSG message{};
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            exitCode = static_cast<int>(message.wParam);
        } else {
            platform::showMessage("Horavel", "The window could not be opened.");
            exitCode = 1;
        }
        // The clock, its canvases and its textures go here, while COM still runs.
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return exitCode;
}
