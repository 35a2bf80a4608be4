#pragma once

#include "app/ClockApp.h"
#include "app/WindowHost.h"

#include <windows.h>

namespace shell {

// The clock's one window on Windows, of the class "HoravelWindow", titled
// "Horavel". Its window procedure turns messages into calls of the clock and
// does what only Windows can: the window, its frame, the monitors, the timer
// and the pixels.
class Win32Window final : public WindowHost {
public:
    explicit Win32Window(ClockApp& clockApp) : app(clockApp) {}

    // Registers the window class: true on success.
    static bool registerClass(HINSTANCE instance);
    // Starts the clock, opens the window where the clock chose and shows it.
    // False when the window cannot be created.
    bool open(HINSTANCE instance, int showCommand, const StartOptions& options);
    // Dispatches the thread's messages until it is told to quit, and returns
    // the exit code it was given. While no message waits, the clock does its
    // idle work a slice at a time.
    int runMessages();

    // The clock's requests, as Windows answers them: each asks the window
    // system afresh, which keeps its own account of the window.
    std::vector<PixelRect> screens() const override;  // every monitor, the primary first
    PixelSize frameSize() const override;             // the window's rectangle less its client's
    PixelSize clientSize() const override;
    PixelPoint outerPosition() const override;
    std::int32_t dpi() const override;                // the window's, or the system's before it exists
    void moveOuter(const PixelRect& outer) override;
    void resizeClient(std::int32_t widthPx, std::int32_t heightPx) override;
    // Both add to the window's update region; WM_PAINT paints it.
    void invalidate(bool eraseBackground) override;
    void invalidateArea(const PixelRect& area) override;
    void setAlwaysOnTop(bool on) override;  // HWND_TOPMOST
    void setTitle(std::string_view title) override;
    void destroy() override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    // Does what an item of the menu chose; for the entry of the choice of
    // zones, a dialog asks for the zone's name first.
    void menuChosen(const MenuItem& item);

    ClockApp& app;
    HWND handle = nullptr;
};

}  // namespace shell
