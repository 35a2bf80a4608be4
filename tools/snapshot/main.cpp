// horavel-snapshot: the clock's pictures and their geometry for any moment,
// drawn by the clock's own code through its headless window, with a fixed
// clock.

#include "GlobeDescription.h"
#include "HoravelVersion.h"
#include "PipedMaps.h"
#include "PngOutput.h"
#include "SnapshotOptions.h"

#include "app/ClockApp.h"
#include "app/MenuPicture.h"
#include "app/SurfaceRebuild.h"
#include "astro/TimeScale.h"
#include "platform/Clock.h"
#include "platform/ImageEncoder.h"
#include "platform/Messages.h"
#include "astro/TimeZone.h"
#include "app/headless/BufferPaintTarget.h"
#include "app/headless/HeadlessWindow.h"

#include <cstdio>
#include <string>
#include <utility>

namespace {

constexpr int exitFailure = 1;
constexpr int exitBadArguments = 2;

bool written(const Result<>& writing, const std::filesystem::path& path) {
    if (!writing) {
        std::fprintf(stderr, "horavel-snapshot: cannot write %s: %s\n", platform::utf8FromPath(path).c_str(),
                     writing.error().c_str());
    }
    return writing.has_value();
}

void warnIfMissing(const Image& texture, const std::optional<std::filesystem::path>& given,
                   const char* fileName) {
    if (texture.valid == 1) {
        return;
    }
    const std::string where = given ? platform::utf8FromPath(*given) : std::string(fileName);
    std::fprintf(stderr, "horavel-snapshot: warning: cannot read the texture %s; that body is drawn black\n",
                 where.c_str());
}

// Starts the clock at this moment in a window of its own that no screen shows,
// as the clock program starts, and writes the pictures asked for.
bool writePictures(const SnapshotOptions& options, const std::optional<NamedZone>& zone,
                   const platform::Clock& clock) {
    ClockApp app(clock);
    shell::HeadlessWindow window(app);
    StartOptions start = toolStartOptions(options.unit);
    start.earthTexture = options.earthTexture;
    start.moonTexture = options.moonTexture;
    start.faceOptions = options.faceOptions;
    start.zone = zone;
    window.open(start);
    const FaceState& face = app.state().face;
    warnIfMissing(face.earthTexture, options.earthTexture, "Earth.png");
    warnIfMissing(face.moonTexture, options.moonTexture, "Moon.png");
    if (!surfacesReady(face)) {
        std::fprintf(stderr, "horavel-snapshot: no memory for the pictures of unit %d\n", options.unit);
        return false;
    }
    bool succeeded = true;
    if (options.earthOut) {
        succeeded = written(writeImagePng(face.globes.earthGlobe.get(), *options.earthOut), *options.earthOut) &&
                    succeeded;
    }
    if (options.moonOut) {
        succeeded = written(writeImagePng(face.globes.moonGlobe.get(), *options.moonOut), *options.moonOut) &&
                    succeeded;
    }
    if (options.windowOut) {
        const PixelSize client = window.clientSize();
        shell::BufferPaintTarget picture(client.width, client.height);
        window.paint(picture);
        succeeded = written(platform::writePngBgr(*options.windowOut, picture.width(), picture.height(),
                                                  picture.stride(), picture.pixels()),
                            *options.windowOut) &&
                    succeeded;
    }
    if (options.menuOut) {
        const MenuPicture menu(app.menu(), baseDpi);
        const Canvas* canvas = menu.picture();
        Result<> encoded = failure("there is no menu picture to write");
        if (canvas != nullptr) {
            shell::BufferPaintTarget picture(canvas->displayWidth(), canvas->displayHeight());
            menu.paint(picture, {0, 0, canvas->displayWidth(), canvas->displayHeight()});
            encoded = platform::writePngBgr(*options.menuOut, picture.width(), picture.height(), picture.stride(),
                                            picture.pixels());
        }
        succeeded = written(encoded, *options.menuOut) && succeeded;
    }
    return succeeded;
}

}  // namespace

int main(int argc, char** argv) {
    SnapshotOptions options;
    std::string error;
    if (!parseSnapshotOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "horavel-snapshot: %s\n%s", error.c_str(), snapshotUsage().c_str());
        return exitBadArguments;
    }
    if (options.help) {
        std::fputs(snapshotUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("horavel-snapshot %s\n", horavelVersion);
        return 0;
    }

    std::optional<NamedZone> zone;
    if (!options.zone.empty()) {
        Result<TimeZone> rules = loadTimeZone(options.zone);
        if (!rules) {
            std::fprintf(stderr, "horavel-snapshot: unknown time zone '%s': %s\n", options.zone.c_str(),
                         rules.error().c_str());
            return exitBadArguments;
        }
        zone = NamedZone{options.zone, std::move(*rules)};
    }
    const platform::FileTime utc = options.atUtc ? *options.atUtc : platform::SystemClock().utcNow();
    const platform::FixedClock clock(utc, platform::localFromUtc(utc));

    // Maps from pipes are read before anything is drawn; their copies go when
    // the pictures are written.
    PipedMaps pipedMaps;
    Result<> piped = pipedMaps.take(options.earthTexture, "--earth-texture");
    if (piped) {
        piped = pipedMaps.take(options.moonTexture, "--moon-texture");
    }
    if (!piped) {
        std::fprintf(stderr, "horavel-snapshot: %s\n", piped.error().c_str());
        return exitBadArguments;
    }
    bool succeeded = true;
    if (options.wantsPictures()) {
        succeeded = writePictures(options, zone, clock);
    }
    if (options.describe) {
        std::printf("%s\n", describeGlobes(globeGeometry(currentJulianDayUtc(clock))).c_str());
    }
    return succeeded ? 0 : exitFailure;
}
