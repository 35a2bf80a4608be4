#include "app/ClockApp.h"

#include "app/About.h"
#include "app/Keys.h"
#include "app/OffsetPaintTarget.h"
#include "app/ScreenPlacement.h"
#include "app/Settings.h"
#include "app/SurfaceRebuild.h"
#include "app/Textures.h"
#include "app/ZoneNames.h"
#include "clockface/ClockFace.h"
#include "platform/Autostart.h"
#include "platform/CacheFolder.h"
#include "platform/Messages.h"
#include "platform/ProgramDirectory.h"
#include "platform/SettingsFolder.h"
#include "astro/TimeZone.h"

#include <algorithm>

WindowPlacement ClockApp::start(const WindowHost& host, const StartOptions& options) {
    FaceState& face = appState.face;
    appState.tellLosses = options.tellLosses;
    const std::vector<std::string> losses =
        loadTextures(face, options.earthTexture, options.moonTexture, platform::programDirectory(),
                     options.mapCacheFolder ? *options.mapCacheFolder : platform::cacheFolder());
    for (const std::string& loss : appState.tellLosses ? losses : std::vector<std::string>{}) {
        platform::reportLoss("Horavel", loss);
    }
    // The user's folder is made when missing, so it is asked for only when used.
    userSettingsFolder = options.settingsFolder ? *options.settingsFolder : platform::settingsFolder();
    takeZone(options.zone);
    const Settings settings = appState.savedSettings.value_or(Settings{});
    appState.autostartFolder = options.autostartFolder ? *options.autostartFolder : platform::autostartFolder();
    appState.program = platform::runningProgram();
    appState.dpi = host.dpi();
    appState.alwaysOnTop = settings.alwaysOnTop;
    face.options = options.faceOptions.value_or(settings.options);
    face.setUnit(options.unit.value_or(boundedUnit(unitAtDpi(settings.unit, settings.dpi, appState.dpi))));

    WindowPlacement placement{{settings.left, settings.top},
                              {gridColumns * face.unit, gridRows * face.unit},
                              appState.alwaysOnTop,
                              settings.desktop()};
    const PixelSize frame = host.frameSize();
    bringOntoScreen(placement.outer.x, placement.outer.y, placement.client.width + frame.width,
                    placement.client.height + frame.height, host.screens());
    appState.clientSize = placement.client;
    return placement;
}

void ClockApp::created(WindowHost& host) {
    const std::int32_t dpi = host.dpi();
    if (dpi != appState.dpi) {
        appState.face.setUnit(boundedUnit(unitAtDpi(appState.face.unit, appState.dpi, dpi)));
        appState.dpi = dpi;
    }
    FaceState& face = appState.face;
    face.setUnit(face.unit);
    appState.clientSize = {gridColumns * face.unit, gridRows * face.unit};
    // A system that answers with a size event may already rebuild here, for
    // the height it really gave.
    host.resizeClient(appState.clientSize.width, appState.clientSize.height);
    const PixelSize frame = host.frameSize();
    appState.frameWidth = frame.width;
    appState.frameHeight = frame.height;
    const std::int32_t unit = unitFromClientHeight(host.clientSize().height);
    if (isUsableUnit(unit)) {
        face.setUnit(unit);
    }
    // One rebuild at start-up, unless the size event made the surfaces already.
    if (surfacesReady(face) && face.clockCanvas->displayHeight() == face.halfHeight) {
        host.invalidate(true);
    } else {
        rebuild(host, false);
    }
    appState.lastSeen = current(host);
    // Without a font the clock runs on without its numerals, date and day
    // numbers: said once, as a map that cannot be read is.
    if (appState.tellLosses && face.textRenderer) {
        std::int32_t widthPx = 0;
        std::int32_t heightPx = 0;
        face.textRenderer->measure(u"0", face.unit, widthPx, heightPx);
        if (widthPx == 0) {
            platform::reportLoss("Horavel", "No font could be found to draw the numerals, the date and the day "
                                            "numbers with; the clock runs without them.");
        }
    }
}

void ClockApp::sized(WindowHost& host) {
    const PixelSize client = host.clientSize();
    appState.clientSize = client;
    followClientHeight(host, client.height);
}

void ClockApp::sizeReported(WindowHost& host, PixelSize reported) {
    if (reported == appState.clientSize) {
        return;
    }
    const PixelSize snapped = snapClientSize(appState.clientSize, reported);
    appState.clientSize = snapped;
    if (snapped != reported) {
        host.resizeClient(snapped.width, snapped.height);
    }
    followClientHeight(host, snapped.height);
}

void ClockApp::sizeImposed(WindowHost& host, PixelSize imposed) {
    if (!appState.beforeImposed) {
        appState.beforeImposed = current(host);
    }
    appState.clientSize = imposed;
    FaceState& face = appState.face;
    const std::int32_t unit =
        std::clamp(std::min(imposed.width / gridColumns, imposed.height / gridRows), smallestWindowUnit,
                   largestWindowUnit);
    appState.faceOrigin = {std::max(0, (imposed.width - gridColumns * unit) / 2),
                           std::max(0, (imposed.height - gridRows * unit) / 2)};
    if (unit != face.unit || !surfacesReady(face)) {
        face.setUnit(unit);
        static_cast<void>(changeLayout(face, time()));
    }
    host.invalidate(true);
}

void ClockApp::sizeFreed(WindowHost& host) {
    if (!appState.beforeImposed) {
        return;
    }
    appState.face.setUnit(appState.beforeImposed->unit);
    appState.beforeImposed.reset();
    appState.faceOrigin = {};
    rebuild(host, true);
}

void ClockApp::sizing(std::int32_t edge, PixelRect& proposedOuter) const {
    constrainSizing(edge, proposedOuter, appState.frameWidth, appState.frameHeight);
}

void ClockApp::placeChanged(const WindowHost& host) {
    const Settings seen = current(host);
    if (seen == appState.lastSeen) {
        return;
    }
    appState.lastSeen = seen;
    appState.ticksUntilSave = ticksOfStillnessBeforeSaving;
}

void ClockApp::placeSettled(const WindowHost& host) {
    saveSettings(host);
}

void ClockApp::key(WindowHost& host, char32_t upperCaseKey) {
    if (upperCaseKey == alwaysOnTopKey) {
        setAlwaysOnTop(host, !appState.alwaysOnTop);
        return;
    }
    const std::int32_t unit = unitForKey(upperCaseKey);
    if (unit == 0) {
        return;
    }
    if (appState.beforeImposed) {
        // The window manager holds the size: the unit is the one the window
        // takes when it lets go, and is saved as such now.
        appState.beforeImposed->unit = boundedUnit(unitAtDpi(unit, baseDpi, appState.dpi));
        saveSettings(host);
        return;
    }
    appState.face.setUnit(boundedUnit(unitAtDpi(unit, baseDpi, appState.dpi)));
    rebuild(host, true);
    saveSettings(host);
}

std::vector<MenuItem> ClockApp::menu() const {
    MenuState state;
    // The user's unit, not one a size imposed by the window manager holds.
    const std::int32_t unit = appState.beforeImposed ? appState.beforeImposed->unit : appState.face.unit;
    for (const char32_t sizeKey : {U'S', U'M', U'L'}) {
        if (unit == unitAtDpi(unitForKey(sizeKey), baseDpi, appState.dpi)) {
            state.sizeKeyUnit = unitForKey(sizeKey);
        }
    }
    state.alwaysOnTop = appState.alwaysOnTop;
    state.startsAtLogin = !appState.autostartFolder.empty() &&
                          platform::autostartStarts(appState.autostartFolder, appState.program, appState.zone);
    state.weekStartsOnMonday = appState.face.options.firstWeekday == FirstWeekday::Monday;
    state.earthshine = appState.face.options.earthshine;
    state.zone = appState.zone;
    return menuItems(state);
}

void ClockApp::menuChosen(WindowHost& host, MenuCommand command, [[maybe_unused]] std::string_view zone) {
    switch (command) {
    case MenuCommand::Small:
        key(host, U'S');
        break;
    case MenuCommand::Medium:
        key(host, U'M');
        break;
    case MenuCommand::Large:
        key(host, U'L');
        break;
    case MenuCommand::AlwaysOnTop:
        setAlwaysOnTop(host, !appState.alwaysOnTop);
        break;
    case MenuCommand::StartAtLogin:
        setStartAtLogin(!platform::autostartStarts(appState.autostartFolder, appState.program, appState.zone));
        break;
    case MenuCommand::About:
        platform::showMessage("About Horavel", aboutText());
        break;
    case MenuCommand::Close:
        closeRequested(host);
        break;
    case MenuCommand::WeekStartsOnMonday: {
        FaceOptions options = appState.face.options;
        options.firstWeekday =
            options.firstWeekday == FirstWeekday::Monday ? FirstWeekday::Sunday : FirstWeekday::Monday;
        setFaceOptions(host, options);
        break;
    }
    case MenuCommand::Earthshine: {
        FaceOptions options = appState.face.options;
        options.earthshine = !options.earthshine;
        setFaceOptions(host, options);
        break;
    }
    case MenuCommand::ChooseZone:
        chooseZone(host, zone);
        break;
    case MenuCommand::OnTheDesktop:  // the shells that offer it do it themselves
    case MenuCommand::TimeZone:      // the shells open the choice of zones themselves
    case MenuCommand::Nothing:
        break;
    }
}

void ClockApp::setAlwaysOnTop(WindowHost& host, bool on) {
    appState.alwaysOnTop = on;
    host.setAlwaysOnTop(on);
    saveSettings(host);
}

void ClockApp::chooseZone(WindowHost& host, std::string_view name) {
    if (name == appState.zone) {
        return;
    }
    if (name.empty()) {
        showZone(host, std::nullopt);
        return;
    }
    Result<TimeZone> rules = loadTimeZone(name);
    if (!rules) {
        platform::showMessage("Horavel",
                              "Horavel knows no time zone '" + std::string(name) + "': " + rules.error() + ".");
        return;
    }
    showZone(host, NamedZone{std::string(name), std::move(*rules)});
}

void ClockApp::showZone(WindowHost& host, const std::optional<NamedZone>& zone) {
    // What the window was is kept as the clock it was; the zone's clock starts
    // from what the window is now.
    saveSettings(host);
    takeZone(zone);
    host.setTitle(title());
    rebuild(host, false);
    saveSettings(host);
}

void ClockApp::takeZone(const std::optional<NamedZone>& zone) {
    appState.zone = zone ? zone->name : std::string();
    if (zone) {
        zoneTime.emplace(systemTime, zone->rules);
    } else {
        zoneTime.reset();
    }
    appState.settingsFolder = zoneSettingsFolder(userSettingsFolder, appState.zone);
    appState.savedSettings = readSettingsFile(appState.settingsFolder, Settings{});
}

void ClockApp::setFaceOptions(WindowHost& host, const FaceOptions& options) {
    appState.face.options = options;
    // The calendar and the globes are drawn anew as after a change of size;
    // the window keeps its size.
    rebuild(host, false);
    saveSettings(host);
}

void ClockApp::setStartAtLogin(bool on) {
    const std::filesystem::path& folder = appState.autostartFolder;
    const std::string entry = platform::utf8FromPath(platform::autostartEntry(folder, appState.zone));
    if (folder.empty()) {
        platform::showMessage("Horavel", "This system names no folder of programs to start at login.");
        return;
    }
    const Result<> done = on ? platform::addAutostart(folder, appState.program, appState.zone)
                             : platform::removeAutostart(folder, appState.program, appState.zone);
    if (!done) {
        platform::showMessage("Horavel", std::string(on ? "Horavel could not be set to start at login: "
                                                        : "Horavel could not be kept from starting at login: ") +
                                             entry + ": " + done.error() + ".");
    }
}

void ClockApp::dpiChanged(WindowHost& host, std::int32_t dpi, const PixelRect& suggestedOuter) {
    appState.dpi = dpi;
    // The move answers with a size event, which takes the unit from the height.
    host.moveOuter(suggestedOuter);
    const PixelSize frame = host.frameSize();
    appState.frameWidth = frame.width;
    appState.frameHeight = frame.height;
    rebuild(host, true);
}

void ClockApp::tick(WindowHost& host) {
    FaceState& face = appState.face;
    if (surfacesReady(face)) {
        face.minuteWork.tick(face, time());
        drawFace(host);
    }
    if (appState.ticksUntilSave > 0 && --appState.ticksUntilSave == 0) {
        saveSettings(host);
    }
}

bool ClockApp::hasIdleWork() const {
    return surfacesReady(appState.face) && appState.face.minuteWork.hasSliceWork();
}

void ClockApp::idle(WindowHost& host) {
    FaceState& face = appState.face;
    if (!surfacesReady(face)) {
        return;
    }
    const std::uint64_t shownBefore = face.globes.earthGeneration + face.globes.moonGeneration;
    face.minuteWork.slice(face, time());
    // A globe of the new size took its place: it shows at once.
    if (face.globes.earthGeneration + face.globes.moonGeneration != shownBefore) {
        drawFace(host);
    }
}

void ClockApp::drawFace(WindowHost& host) {
    FaceState& face = appState.face;
    const FaceDamage damage = drawClockFace(face, time());
    const Canvas& clock = *face.clockCanvas;
    const PixelPoint o = appState.faceOrigin;
    for (const StoreRect& area : damage.clock) {
        host.invalidateArea({o.x + area.left / clock.scale, o.y + flipEdge(area.top / clock.scale, face.halfHeight),
                             o.x + area.right / clock.scale,
                             o.y + flipEdge(area.bottom / clock.scale, face.halfHeight)});
    }
    if (damage.calendar) {
        host.invalidateArea({o.x, o.y + face.halfHeight, o.x + face.clientWidth, o.y + 2 * face.halfHeight});
    }
}

void ClockApp::paint(PaintTarget& target, const PixelRect& area) const {
    const FaceState& face = appState.face;
    if (!surfacesReady(face)) {
        return;
    }
    if (appState.faceOrigin == PixelPoint{}) {
        face.clockCanvas->blit(target, 0, area);
        face.calendarCanvas->blit(target, face.halfHeight, area);
        return;
    }
    // Inside a size the window manager imposed the picture stands centred;
    // the rest of the client area stays the window's black background.
    OffsetPaintTarget centred(target, appState.faceOrigin);
    const PixelRect shifted = centred.toPicture(area);
    face.clockCanvas->blit(centred, 0, shifted);
    face.calendarCanvas->blit(centred, face.halfHeight, shifted);
}

PixelRect ClockApp::clientArea() const {
    return {0, 0, appState.clientSize.width, appState.clientSize.height};
}

std::string ClockApp::title() const {
    return clockTitle(appState.zone);
}

void ClockApp::closeRequested(WindowHost& host) {
    saveSettings(host);
    host.destroy();
}

void ClockApp::sessionEnding(const WindowHost& host) {
    saveSettings(host);
}

void ClockApp::rebuild(WindowHost& host, bool resizeWindow) {
    FaceState& face = appState.face;
    if (resizeWindow) {
        face.setUnit(face.unit);
        appState.clientSize = {gridColumns * face.unit, gridRows * face.unit};
        // The window may answer with a size event that rebuilds on its own; the
        // rebuild below then uses whatever unit that left.
        host.resizeClient(appState.clientSize.width, appState.clientSize.height);
    }
    static_cast<void>(changeLayout(face, time()));
    host.invalidate(true);
}

void ClockApp::followClientHeight(WindowHost& host, std::int32_t clientHeightPx) {
    const std::int32_t unit = unitFromClientHeight(clientHeightPx);
    if (!isUsableUnit(unit) || unit == appState.face.unit) {
        return;
    }
    // A size past the largest unit, which a window manager ignoring the
    // window's maximum size may give, snaps back to it. (A tool that opened
    // the clock at a larger unit of its own keeps it while its size stands.)
    const bool pastLargest = unit > largestWindowUnit;
    appState.face.setUnit(boundedUnit(unit));
    rebuild(host, pastLargest);
}

void ClockApp::saveSettings(const WindowHost& host) {
    appState.ticksUntilSave = 0;
    if (appState.settingsFolder.empty()) {
        return;
    }
    const Settings now = current(host);
    if (appState.savedSettings == now) {
        return;
    }
    // A failed write keeps the old file, and the next change tries again; the
    // first failure of a run is told. A zone's folder is made at its first save.
    if (!appState.zone.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(appState.settingsFolder, ignored);
    }
    const Result<> written = writeSettingsFile(appState.settingsFolder, now);
    if (written) {
        appState.savedSettings = now;
    } else if (appState.tellLosses && !appState.saveFailureTold) {
        appState.saveFailureTold = true;
        platform::reportLoss("Horavel", "The settings could not be saved to " +
                                            platform::utf8FromPath(settingsFilePath(appState.settingsFolder)) +
                                            ": " + written.error() + ".");
    }
}

Settings ClockApp::current(const WindowHost& host) const {
    const PixelPoint outer = host.outerPosition();
    Settings now;
    now.left = outer.x;
    now.top = outer.y;
    now.unit = appState.face.unit;
    now.dpi = appState.dpi;
    now.alwaysOnTop = appState.alwaysOnTop;
    now.options = appState.face.options;
    if (appState.beforeImposed) {
        // The place and the size the window manager imposed are not the user's.
        now.left = appState.beforeImposed->left;
        now.top = appState.beforeImposed->top;
        now.unit = appState.beforeImposed->unit;
        now.dpi = appState.beforeImposed->dpi;
    }
    const DesktopPlace kept = appState.savedSettings ? appState.savedSettings->desktop() : DesktopPlace{};
    now.setDesktop(host.desktopPlace().value_or(kept));
    return now;
}
