// horavel-snapshot: the clock's pictures and their geometry for any moment,
// drawn by the clock's own code with a fixed clock and no window.

#include "GlobeDescription.h"
#include "PngOutput.h"
#include "SnapshotOptions.h"
#include "TextureSearch.h"
#include "WindowPicture.h"

#include "app/SurfaceRebuild.h"
#include "astro/TimeScale.h"
#include "clockface/FaceState.h"
#include "platform/Clock.h"
#include "platform/Messages.h"

#include <cstdio>
#include <string>

namespace {

constexpr int exitFailure = 1;
constexpr int exitBadArguments = 2;

bool written(bool succeeded, const std::filesystem::path& path) {
    if (!succeeded) {
        std::fprintf(stderr, "horavel-snapshot: cannot write %s\n", platform::utf8FromPath(path).c_str());
    }
    return succeeded;
}

// Draws everything the window draws, as a start of the clock at this moment
// does, and writes the pictures asked for.
bool writePictures(const SnapshotOptions& options, const platform::Clock& clock) {
    FaceState face;
    face.setUnit(options.unit);
    loadTexture(face.earthTexture, options.earthTexture, "Earth.png");
    loadTexture(face.moonTexture, options.moonTexture, "Moon.png");
    if (rebuildSurfaces(face, clock) != 1) {
        std::fprintf(stderr, "horavel-snapshot: no memory for the pictures of unit %d\n", options.unit);
        return false;
    }
    bool succeeded = true;
    if (options.earthOut) {
        succeeded = written(writeImagePng(face.globes.earthGlobe.get(), *options.earthOut), *options.earthOut) && succeeded;
    }
    if (options.moonOut) {
        succeeded = written(writeImagePng(face.globes.moonGlobe.get(), *options.moonOut), *options.moonOut) && succeeded;
    }
    if (options.windowOut) {
        succeeded = written(writeWindowPicture(face, *options.windowOut), *options.windowOut) && succeeded;
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

    const platform::FileTime utc = options.atUtc ? *options.atUtc : platform::SystemClock().utcNow();
    const platform::FixedClock clock(utc, platform::localFromUtc(utc));

    bool succeeded = true;
    if (options.wantsPictures()) {
        succeeded = writePictures(options, clock);
    }
    if (options.describe) {
        std::printf("%s\n", describeGlobes(globeGeometry(currentJulianDayUtc(clock))).c_str());
    }
    return succeeded ? 0 : exitFailure;
}
