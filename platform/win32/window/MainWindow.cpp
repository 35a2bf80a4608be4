#include "platform/win32/window/MainWindow.h"

#include "app/Layout.h"
#include "app/ScreenPlacement.h"
#include "app/Settings.h"
#include "app/Textures.h"
#include "app/WindowEvents.h"
#include "app/WindowHost.h"
#include "platform/ProgramDirectory.h"
#include "platform/SettingsFolder.h"
#include "platform/win32/window/GdiPaintTarget.h"

#include <vector>

namespace platform {

namespace {

const wchar_t className[] = L"HoravelWindow";
const wchar_t windowTitle[] = L"Horavel";
// A caption with the system menu and a sizing frame; no minimise or maximise box.
constexpr DWORD windowStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr UINT_PTR tickTimer = 1;
constexpr UINT tickPeriodMs = 250;

// The outer size of a window of this style whose client area has the given size.
SIZE outerSizeFor(std::int32_t clientWidthPx, std::int32_t clientHeightPx, DWORD style) {
    RECT rect{0, 0, clientWidthPx, clientHeightPx};
    AdjustWindowRect(&rect, style, FALSE);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// The window as the application logic sees it.
class Win32WindowHost final : public WindowHost {
public:
    explicit Win32WindowHost(HWND handle) : window(handle) {}

    void resizeClient(std::int32_t widthPx, std::int32_t heightPx) override {
        RECT outer{};
        GetWindowRect(window, &outer);
        const SIZE size =
            outerSizeFor(widthPx, heightPx, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)));
        // Delivers WM_SIZE before it returns.
        MoveWindow(window, outer.left, outer.top, size.cx, size.cy, FALSE);
    }
    void invalidate(bool eraseBackground) override {
        InvalidateRect(window, nullptr, eraseBackground ? TRUE : FALSE);
    }

private:
    HWND window;
};

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        auto& screens = *reinterpret_cast<std::vector<WindowRect>*>(data);
        const WindowRect screen{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                                info.rcMonitor.bottom};
        if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
            screens.insert(screens.begin(), screen);
        } else {
            screens.push_back(screen);
        }
    }
    return TRUE;
}

// Every monitor's rectangle, the primary one first.
std::vector<WindowRect> screenRectangles() {
    std::vector<WindowRect> screens;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&screens));
    return screens;
}

std::int32_t clientHeightOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom - client.top;
}

LRESULT onCreate(HWND window, MainWindowContext& context) {
    AppState& state = context.state;
    Win32WindowHost host(window);
    rebuildWindow(state, host, context.clock, true);
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    state.frameWidth = (outer.right - outer.left) - (client.right - client.left);
    state.frameHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
    handleCreated(state, host, context.clock, client.bottom - client.top);
    SetTimer(window, tickTimer, tickPeriodMs, nullptr);
    return 0;
}

LRESULT onSizing(WPARAM edge, LPARAM lParam, const AppState& state) {
    RECT& proposed = *reinterpret_cast<RECT*>(lParam);
    WindowRect rect{proposed.left, proposed.top, proposed.right, proposed.bottom};
    constrainSizing(static_cast<std::int32_t>(edge), rect, state.frameWidth, state.frameHeight);
    proposed = {rect.left, rect.top, rect.right, rect.bottom};
    return TRUE;
}

void onPaint(HWND window, AppState& state) {
    // Begin and end painting even when there is nothing to show: that validates
    // the client area, so WM_PAINT is not sent again at once, over and over.
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    if (dc != nullptr) {
        GdiPaintTarget target(dc);
        paintWindow(state, target);
    }
    EndPaint(window, &paint);
}

void onClose(HWND window, const AppState& state) {
    RECT outer{};
    GetWindowRect(window, &outer);
    static_cast<void>(writeSettingsFile(state.settingsFolder, {outer.left, outer.top, state.face.unit}));
    DestroyWindow(window);
}

}  // namespace

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // Black shows wherever the client area is larger than the two canvases.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0;
}

HWND createMainWindow(HINSTANCE instance, int showCommand, MainWindowContext& context) {
    AppState& state = context.state;
    loadTextures(state.face, programDirectory());
    state.settingsFolder = settingsFolder();
    const Settings settings = readSettingsFile(state.settingsFolder, Settings{});
    state.windowLeft = settings.left;
    state.windowTop = settings.top;
    state.face.setUnit(settings.unit);

    const SIZE size = outerSizeFor(state.face.clientWidth, gridRows * state.face.unit, windowStyle);
    bringOntoScreen(state.windowLeft, state.windowTop, size.cx, size.cy, screenRectangles());
    HWND window = CreateWindowExW(0, className, windowTitle, windowStyle, state.windowLeft,
                                  state.windowTop, size.cx, size.cy, nullptr, nullptr, instance,
                                  &context);
    if (window == nullptr) {
        return nullptr;
    }
    ShowWindow(window, showCommand);
    return window;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* context = reinterpret_cast<MainWindowContext*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (context == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    AppState& state = context->state;
    Win32WindowHost host(window);
    switch (message) {
    case WM_CREATE:
        return onCreate(window, *context);
    case WM_SIZING:
        return onSizing(wParam, lParam, state);
    case WM_SIZE:
        handleSize(state, host, context->clock, clientHeightOf(window));
        break;
    case WM_KEYDOWN:
        if (wParam == 'L' || wParam == 'M' || wParam == 'S') {
            handleKey(state, host, context->clock, static_cast<char32_t>(wParam));
        }
        break;
    case WM_TIMER:
        handleTimer(state, host, context->clock);
        return 0;
    case WM_PAINT:
        onPaint(window, state);
        return 0;
    case WM_CLOSE:
        onClose(window, state);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace platform
