// horavel-snapshot: the clock's globe pictures and their geometry for any moment,
// drawn by the clock's own code with a fixed clock and no window.

#include "GlobeDescription.h"
#include "PngOutput.h"
#include "SnapshotOptions.h"
#include "TextureSearch.h"

#include "astro/Globes.h"
#include "astro/TimeScale.h"
#include "image/Image.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "raster/Canvas.h"

#include <cstdio>
#include <string>

namespace {

constexpr int exitFailure = 1;
constexpr int exitBadArguments = 2;

bool writePicture(const Image* picture, const std::filesystem::path& path) {
    if (writeImagePng(picture, path)) {
        return true;
    }
    std::fprintf(stderr, "horavel-snapshot: cannot write %s\n", platform::utf8FromPath(path).c_str());
    return false;
}

// Draws both globes and writes the pictures asked for.
bool writeGlobes(const SnapshotOptions& options, const platform::Clock& clock) {
    const std::unique_ptr<Image> earthTexture = loadTexture(options.earthTexture, "Earth.png");
    const std::unique_ptr<Image> moonTexture = loadTexture(options.moonTexture, "Moon.png");
    Canvas globeCanvas;
    globeCanvas.pixelFormat = 1;
    globeCanvas.depthFormat = 0;
    if (globeCanvas.create(14 * options.unit, 14 * options.unit, 1) != 1) {
        std::fprintf(stderr, "horavel-snapshot: no memory for a %d-pixel globe\n", 14 * options.unit);
        return false;
    }
    GlobePictures pictures;
    renderGlobes(globeCanvas, options.unit, earthTexture.get(), moonTexture.get(), clock, pictures);
    bool written = true;
    if (options.earthOut) {
        written = writePicture(pictures.earthGlobe.get(), *options.earthOut) && written;
    }
    if (options.moonOut) {
        written = writePicture(pictures.moonGlobe.get(), *options.moonOut) && written;
    }
    return written;
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

    const platform::FileTime utc = options.atUtc ? *options.atUtc : platform::SystemClock().utcNow();
    const platform::FixedClock clock(utc, platform::localFromUtc(utc));

    bool succeeded = true;
    if (options.wantsGlobes()) {
        succeeded = writeGlobes(options, clock);
    }
    if (options.describe) {
        std::printf("%s\n", describeGlobes(currentJulianDayUtc(clock)).c_str());
    }
    return succeeded ? 0 : exitFailure;
}
