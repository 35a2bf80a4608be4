#include "app/win32/Win32Window.h"

#include "app/Keys.h"
#include "app/win32/GdiPaintTarget.h"
#include "app/win32/NativeMenu.h"
#include "app/win32/WideText.h"
#include "app/win32/ZoneDialog.h"

namespace shell {

namespace {

const wchar_t className[] = L"HoravelWindow";
// A caption with the system menu and a sizing frame; no minimise or maximise box.
constexpr DWORD windowStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr UINT_PTR tickTimer = 1;

// The outer size of a window of this style whose client area has the given
// size, with the frame drawn at the resolution dpi.
SIZE outerSizeFor(std::int32_t clientWidthPx, std::int32_t clientHeightPx, DWORD style, UINT dpi) {
    RECT rect{0, 0, clientWidthPx, clientHeightPx};
    AdjustWindowRectExForDpi(&rect, style, FALSE, 0, dpi);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        auto& screens = *reinterpret_cast<std::vector<PixelRect>*>(data);
        const PixelRect screen{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                                info.rcMonitor.bottom};
        if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
            screens.insert(screens.begin(), screen);
        } else {
            screens.push_back(screen);
        }
    }
    return TRUE;
}

// The keysym of a virtual key, for the keys the clock reads: a letter key's
// virtual key is its capital's ASCII code, which is also that capital's keysym.
// Other virtual keys reuse those codes (0x73, 's', is F4) and have none here.
std::uint32_t keysymOf(WPARAM virtualKey) {
    return virtualKey >= 'A' && virtualKey <= 'Z' ? static_cast<std::uint32_t>(virtualKey) : 0;
}

}  // namespace

bool Win32Window::registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    // The program's own icon, resource 1, in the sizes the system asks for.
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // Black shows wherever the client area is larger than the two canvases.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0;
}

bool Win32Window::open(HINSTANCE instance, int showCommand, const StartOptions& options) {
    const WindowPlacement placement = app.start(*this, options);
    const SIZE size = outerSizeFor(placement.client.width, placement.client.height, windowStyle,
                                   static_cast<UINT>(dpi()));
    // WM_CREATE arrives inside this call: the clock builds its surfaces then.
    // A window kept on top is made so, before it shows.
    const DWORD extendedStyle = placement.alwaysOnTop ? WS_EX_TOPMOST : 0;
    if (CreateWindowExW(extendedStyle, className, wideFromUtf8(app.title()).c_str(), windowStyle, placement.outer.x, placement.outer.y,
                        size.cx, size.cy, nullptr, nullptr, instance, this) == nullptr) {
        return false;
    }
    ShowWindow(handle, showCommand);
    return true;
}

int Win32Window::runMessages() {
    MSG message{};
    for (;;) {
        // Timers and paints count as waiting messages too, so idle work never
        // holds them back by more than a slice.
        if (handle != nullptr && app.hasIdleWork() && PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) == 0) {
            app.idle(*this);
            continue;
        }
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            return static_cast<int>(message.wParam);
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::vector<PixelRect> Win32Window::screens() const {
    std::vector<PixelRect> screens;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&screens));
    return screens;
}

PixelSize Win32Window::frameSize() const {
    if (handle == nullptr) {
        const SIZE frame = outerSizeFor(0, 0, windowStyle, static_cast<UINT>(dpi()));
        return {frame.cx, frame.cy};
    }
    RECT outer{};
    RECT client{};
    GetWindowRect(handle, &outer);
    GetClientRect(handle, &client);
    return {(outer.right - outer.left) - (client.right - client.left),
            (outer.bottom - outer.top) - (client.bottom - client.top)};
}

PixelSize Win32Window::clientSize() const {
    RECT client{};
    GetClientRect(handle, &client);
    return {client.right - client.left, client.bottom - client.top};
}

PixelPoint Win32Window::outerPosition() const {
    RECT outer{};
    GetWindowRect(handle, &outer);
    return {outer.left, outer.top};
}

std::int32_t Win32Window::dpi() const {
    return static_cast<std::int32_t>(handle != nullptr ? GetDpiForWindow(handle) : GetDpiForSystem());
}

void Win32Window::moveOuter(const PixelRect& outer) {
    // Delivers WM_SIZE before it returns.
    SetWindowPos(handle, nullptr, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::resizeClient(std::int32_t widthPx, std::int32_t heightPx) {
    const PixelPoint outer = outerPosition();
    const SIZE size = outerSizeFor(widthPx, heightPx, static_cast<DWORD>(GetWindowLongW(handle, GWL_STYLE)),
                                   GetDpiForWindow(handle));
    // Delivers WM_SIZE before it returns.
    MoveWindow(handle, outer.x, outer.y, size.cx, size.cy, FALSE);
}

void Win32Window::invalidate(bool eraseBackground) {
    InvalidateRect(handle, nullptr, eraseBackground ? TRUE : FALSE);
}

void Win32Window::invalidateArea(const PixelRect& area) {
    const RECT rect{area.left, area.top, area.right, area.bottom};
    InvalidateRect(handle, &rect, FALSE);
}

void Win32Window::setTitle(std::string_view title) {
    SetWindowTextW(handle, wideFromUtf8(title).c_str());
}

void Win32Window::setAlwaysOnTop(bool on) {
    SetWindowPos(handle, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Window::destroy() {
    DestroyWindow(handle);
}

void Win32Window::paint() {
    // Begin and end painting even when there is nothing to show: that validates
    // the client area, so WM_PAINT is not sent again at once, over and over.
    PAINTSTRUCT paintInfo{};
    HDC dc = BeginPaint(handle, &paintInfo);
    if (dc != nullptr) {
        GdiPaintTarget target(dc);
        app.paint(target, {paintInfo.rcPaint.left, paintInfo.rcPaint.top, paintInfo.rcPaint.right,
                           paintInfo.rcPaint.bottom});
    }
    EndPaint(handle, &paintInfo);
}

LRESULT CALLBACK Win32Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Window*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->handle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->onMessage(message, wParam, lParam);
}

void Win32Window::menuChosen(const MenuItem& item) {
    if (item.kind != MenuItemKind::Entry) {
        app.menuChosen(*this, item.command, item.zone);
        return;
    }
    if (const std::string zone = askForZone(handle); !zone.empty()) {
        app.menuChosen(*this, MenuCommand::ChooseZone, zone);
    }
}

LRESULT Win32Window::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        app.created(*this);
        refreshSystemMenu(handle, app.menu());
        SetTimer(handle, tickTimer, tickPeriodMs, nullptr);
        return 0;
    case WM_SIZING: {
        RECT& proposed = *reinterpret_cast<RECT*>(lParam);
        PixelRect rect{proposed.left, proposed.top, proposed.right, proposed.bottom};
        app.sizing(static_cast<std::int32_t>(wParam), rect);
        proposed = {rect.left, rect.top, rect.right, rect.bottom};
        return TRUE;
    }
    case WM_GETMINMAXINFO: {
        // The largest client area the clock takes, with the frame around it.
        const PixelSize frame = frameSize();
        MINMAXINFO& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
        limits.ptMaxTrackSize = {gridColumns * largestWindowUnit + frame.width,
                                 gridRows * largestWindowUnit + frame.height};
        return 0;
    }
    case WM_SIZE:
        app.sized(*this);
        break;
    case WM_EXITSIZEMOVE:
        app.placeSettled(*this);
        break;
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        app.dpiChanged(*this, HIWORD(wParam), {suggested.left, suggested.top, suggested.right, suggested.bottom});
        return 0;
    }
    case WM_KEYDOWN:
        app.key(*this, letterOfKeysym(keysymOf(wParam)));
        break;
    case WM_TIMER:
        app.tick(*this);
        return 0;
    case WM_CONTEXTMENU: {
        // A right-click in the client area, Shift+F10 or the Menu key (at -1, -1:
        // the menu then opens at the client area's corner). On the frame and the
        // title bar the system shows its own menu.
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (lParam == -1) {
            at = {0, 0};
            ClientToScreen(handle, &at);
        } else if (DefWindowProcW(handle, WM_NCHITTEST, 0, lParam) != HTCLIENT) {
            break;
        }
        menuChosen(trackPopupMenu(handle, app.menu(), at));
        return 0;
    }
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam) != FALSE) {
            refreshSystemMenu(handle, app.menu());
        }
        break;
    case WM_SYSCOMMAND:
        if (!isClockCommand(wParam)) {
            break;
        }
        if (const MenuItem item = systemMenuItem(app.menu(), wParam); item.command != MenuCommand::Nothing) {
            menuChosen(item);
            return 0;
        }
        break;
    case WM_COMMAND:
        // From a menu: no control's handle, and 0 in the high word.
        if (lParam == 0 && HIWORD(wParam) == 0 && isClockCommand(LOWORD(wParam))) {
            if (const MenuItem item = systemMenuItem(app.menu(), LOWORD(wParam));
                item.command != MenuCommand::Nothing) {
                menuChosen(item);
                return 0;
            }
        }
        break;
    case WM_PAINT:
        paint();
        return 0;
    case WM_CLOSE:
        app.closeRequested(*this);
        return 0;
    case WM_ENDSESSION:
        // wParam is FALSE when the session goes on after all.
        if (wParam != FALSE) {
            app.sessionEnding(*this);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace shell
