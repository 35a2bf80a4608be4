#pragma once

#include "app/AppState.h"
#include "app/Layout.h"
#include "app/Menu.h"
#include "app/WindowHost.h"
#include "astro/TimeZone.h"
#include "astro/ZoneClock.h"
#include "clockface/FaceOptions.h"
#include "clockface/Timing.h"
#include "platform/Clock.h"
#include "raster/PaintTarget.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A zone a clock shows: its IANA name and its rules.
struct NamedZone {
    std::string name;
    TimeZone rules;
};

// What a start of the clock takes its textures, unit and settings from. The clock
// program takes the defaults; the snapshot tool names its own and keeps no
// settings.
struct StartOptions {
    std::optional<std::filesystem::path> earthTexture;  // none: Earth.png by the texture search
    std::optional<std::filesystem::path> moonTexture;   // none: Moon.png by the texture search
    std::optional<std::int32_t> unit;                   // none: the saved unit, else 28 at 100 % (pixels at the screen's resolution)
    // Where the place and the unit are read from at the start and saved to: none
    // for the user's own settings folder, an empty path for no settings at all.
    std::optional<std::filesystem::path> settingsFolder;
    // Where decoded maps are kept between starts: none for the user's own cache
    // folder, an empty path for maps decoded into memory at every start.
    std::optional<std::filesystem::path> mapCacheFolder;
    // Where the entry that starts the clock at login is kept: none for the
    // session's own autostart folder, an empty path for none at all.
    std::optional<std::filesystem::path> autostartFolder;
    // Whether the user is told, once a run, of work that would otherwise be lost
    // without a word: a map that cannot be read, settings that cannot be saved.
    // The clock program's windows tell; the tools and tests say it their own way.
    bool tellLosses = false;
    // What the pictures show: none for what the settings say (every option off
    // without settings).
    std::optional<FaceOptions> faceOptions;
    // The zone the clock shows, its settings kept apart from the local clock's
    // and from every other zone's; none for local time.
    std::optional<NamedZone> zone;
};

// What a tool starts the clock with: the maps found as the clock finds them,
// the unit given, and no settings, map cache or autostart entry of the user's.
inline StartOptions toolStartOptions(std::int32_t unit) {
    StartOptions options;
    options.unit = unit;
    options.settingsFolder = std::filesystem::path();
    options.mapCacheFolder = std::filesystem::path();
    options.autostartFolder = std::filesystem::path();
    return options;
}

// Where the window opens: the outer window's top-left corner on the screen and
// the size of its client area; and whether it stays above the others from the
// start, which a window system may have to know before it shows the window.
struct WindowPlacement {
    PixelPoint outer;
    PixelSize client;
    bool alwaysOnTop = false;
    DesktopPlace desktop;  // where it lies on the desktop, as saved; None for an ordinary window
};

// The clock's whole life, written once for every window system. A backend keeps
// only its native window: it turns each native event into one of these calls
// and does what only it can (frames, screens, painting pixels) through
// WindowHost. Every operation that draws reads the time from the clock given at
// construction.
class ClockApp {
public:
    explicit ClockApp(const platform::Clock& clock) : systemTime(clock) {}

    // Loads the textures and, when asked to, the saved settings; chooses the
    // first unit (the saved one, or 28 at 100 %, kept at its physical size on a
    // screen of another resolution); and says where the window opens: at the
    // saved place, unless that leaves it off every screen.
    WindowPlacement start(const WindowHost& host, const StartOptions& options = {});
    // The window exists: it is given the client area 7U × 16U (the unit first
    // rescaled when the window's screen has another resolution than the
    // system's), the frame the system gave it is measured, the unit follows the
    // client height it really got, and the surfaces are built once for that.
    void created(WindowHost& host);
    // The client area changed size and the window system keeps it to the grid
    // while the border is dragged: a new unit shows at once, its globes made
    // in the moments that follow, and work for a size left is dropped. A
    // height under one grid row (a minimised window) keeps the last unit.
    void sized(WindowHost& host);
    // A window system that reports a finished size change instead: the size is
    // first snapped to the 7:16 grid (the window resized when it was off it).
    void sizeReported(WindowHost& host, PixelSize reported);
    // The window manager imposes the client area's size (a maximised or full
    // screen window, a tile): the clock draws the largest unit that fits,
    // centred, without asking for another size, and the place and unit it had
    // stay the ones saved: the place is the outer position the host gives at
    // the first call, before it takes the one the window manager chose.
    void sizeImposed(WindowHost& host, PixelSize imposed);
    // The window manager lets go of the size: the window takes the unit it had
    // (or one chosen meanwhile by a key or the menu) again.
    void sizeFreed(WindowHost& host);
    // The border is being dragged: holds the proposed outer rectangle to the grid.
    void sizing(std::int32_t edge, PixelRect& proposedOuter) const;
    // The window may have moved or taken a new size, and may go on moving (a
    // window system that does not say when a drag ends): when its place or the
    // unit really changed, they are saved once the window has stood still for a
    // second.
    void placeChanged(const WindowHost& host);
    // A move or a size drag ended: the place is saved now when it changed.
    void placeSettled(const WindowHost& host);
    // A key went down, as an upper-case letter: S, M and L choose the unit 20,
    // 28 or 40 at 100 % (scaled to the screen's resolution), resize the window
    // and show it anew as a size event does, even when the unit stays the same;
    // the new unit is saved. T keeps the window above the others, or lets it
    // go, and saves that.
    void key(WindowHost& host, char32_t upperCaseKey);
    // The clock's menu with its marks as they are now: the size key of the
    // window's unit, whether it stays on top, and whether the session's
    // autostart folder holds an entry that starts this very program (read from
    // the disk at every call, so the mark never says what is not there).
    std::vector<MenuItem> menu() const;
    // An item of the menu was chosen: the sizes act as their keys, always on top
    // as T; start at login makes or removes the entry, and says in a message
    // when that failed; about shows the clock's version, licence and the maps'
    // credits in a message; close closes as the window's close button does.
    // ChooseZone makes this window the clock of the zone named (local time for
    // none).
    void menuChosen(WindowHost& host, MenuCommand command, std::string_view zone = {});
    // The window went to a screen of another resolution, or the resolution
    // changed: the window takes the rectangle the system suggests, held to the
    // 7:16 grid, and its new unit shows as after a size event.
    void dpiChanged(WindowHost& host, std::int32_t dpi, const PixelRect& suggestedOuter);
    // The 250 ms timer: a step of the globe pictures of a new size or of the
    // next minute is made (the plan moving with the time), the clock face is drawn again and the parts of the
    // window it changed invalidated; a place that has settled is saved.
    void tick(WindowHost& host);
    // Whether the clock has work for the moments the window system leaves
    // free: the globes of a new size, which then follow within the time their
    // work takes rather than a step a tick.
    bool hasIdleWork() const;
    // A slice of that work, about 15 ms of one core, for a shell with no event
    // waiting and no tick due; a globe it finishes shows at once.
    void idle(WindowHost& host);
    // Paints the clock face at the top of the client area and the calendar below
    // it, within area of the client area; nothing while the canvases are missing.
    void paint(PaintTarget& target, const PixelRect& area) const;
    // The whole client area, for a paint of everything.
    PixelRect clientArea() const;
    // The user or the window manager asks the window to close: the settings are
    // saved and the window destroyed.
    void closeRequested(WindowHost& host);
    // The session ends (logoff, shutdown, a signal to end, the display gone)
    // while the window is still open: the settings are saved, for the process
    // ends without a close.
    void sessionEnding(const WindowHost& host);

    const AppState& state() const { return appState; }
    // The window's title: "Horavel", or "Horavel — Tokyo" for a clock of a zone.
    std::string title() const;

private:
    // Makes the surfaces for the current unit and invalidates the window: at
    // the first start everything at once, later the first frame at once and
    // the globes in the moments that follow (changeLayout). With resizeWindow
    // the window first gets the client area 7U × 16U.
    void rebuild(WindowHost& host, bool resizeWindow);
    // Draws the clock face for the present moment and invalidates what changed.
    void drawFace(WindowHost& host);
    // The unit a client area of this height holds, and a rebuild when it is new.
    void followClientHeight(WindowHost& host, std::int32_t clientHeightPx);
    // Writes the window's place and the unit when they differ from what the
    // settings file holds (a missing file holds nothing), so a clock that stays
    // where it is never writes during a session.
    void saveSettings(const WindowHost& host);
    // The window's place and the unit now.
    Settings current(const WindowHost& host) const;
    void setAlwaysOnTop(WindowHost& host, bool on);
    void setStartAtLogin(bool on);
    // The pictures take these options at once, and they are saved.
    void setFaceOptions(WindowHost& host, const FaceOptions& options);
    // The menu chose a zone by its name (local time for none): a zone the
    // system does not know is said in a message and changes nothing.
    void chooseZone(WindowHost& host, std::string_view name);

    // The clock every drawing reads: the system's, or the zone's over it.
    const platform::Clock& time() const { return zoneTime ? *zoneTime : systemTime; }
    // This window becomes the clock of the zone (local time for none): its
    // title, hands and calendar follow it at once, and from now on it keeps
    // that zone's settings, starting from what the window is now.
    void showZone(WindowHost& host, const std::optional<NamedZone>& zone);
    // The clock shows the zone from now on, its settings in the zone's file.
    void takeZone(const std::optional<NamedZone>& zone);

    const platform::Clock& systemTime;
    std::optional<ZoneClock> zoneTime;
    std::filesystem::path userSettingsFolder;  // the local clock's settings folder; empty for none
    AppState appState;
};
