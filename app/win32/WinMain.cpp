// The clock program on Windows.
#include "app/ClockApp.h"
#include "app/CommandLine.h"
#include "app/win32/MessageBox.h"
#include "app/win32/WideText.h"
#include "app/win32/Win32Window.h"
#include "platform/Clock.h"
#include "platform/Messages.h"

#include <objbase.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::string utf8FromWide(const wchar_t* text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();  // the terminating zero
    return utf8;
}

// The arguments after the program's name, as UTF-8.
std::vector<std::string> commandLineArguments() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; words != nullptr && i < count; ++i) {
        arguments.push_back(utf8FromWide(words[i]));
    }
    LocalFree(words);
    return arguments;
}

// Writes text to a console as wide characters, which keeps every character
// whatever the console's code page, or to a file or pipe as UTF-8. False when
// nothing could be written.
bool writeTo(HANDLE handle, const std::string& text) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = shell::wideFromUtf8(text);
        return WriteConsoleW(handle, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr) != 0;
    }
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0 &&
           written == text.size();
}

// A program of the windows subsystem gets standard streams only when its
// starter hands it some (a redirection, or Wine from a shell). Without them
// the text goes to the console the program was started from, and without one
// (started from the desktop) into a message box.
void tell(const CommandLineAnswer& answer) {
    if (writeTo(GetStdHandle(answer.isError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE), answer.text)) {
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
        const bool written = writeTo(console, answer.text);
        if (console != INVALID_HANDLE_VALUE) {
            CloseHandle(console);
        }
        if (written) {
            return;
        }
    }
    std::string text = answer.text;
    if (text.ends_with('\n')) {
        text.pop_back();
    }
    shell::dialogMessageSink("Horavel", text);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // --help, --version and a refused command line are answered before any
    // window is made.
    CommandLineAnswer answer = readCommandLine(commandLineArguments());
    const StartOptions options = clockStartOptions(answer);
    if (!answer.runsClock) {
        tell(answer);
        return answer.exitCode;
    }
    platform::setMessageSink(shell::dialogMessageSink);
    // The image decoder works in the multithreaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    int exitCode = 0;
    {
        const platform::SystemClock clock;
        ClockApp app(clock);
        shell::Win32Window window(app);
        if (shell::Win32Window::registerClass(instance) && window.open(instance, showCommand, options)) {
            exitCode = window.runMessages();
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
