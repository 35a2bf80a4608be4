// The clock program on Windows.
#include "app/ClockApp.h"
#include "app/win32/MessageBox.h"
#include "app/win32/Win32Window.h"
#include "platform/Clock.h"
#include "platform/Messages.h"

#include <objbase.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    platform::setMessageSink(shell::dialogMessageSink);
    // The image decoder works in the multithreaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    int exitCode = 0;
    {
        const platform::SystemClock clock;
        ClockApp app(clock);
        shell::Win32Window window(app);
        if (shell::Win32Window::registerClass(instance) && window.open(instance, showCommand)) {
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
