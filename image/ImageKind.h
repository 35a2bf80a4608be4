#pragma once

#include <cstdint>

// Where an image's pixels live.
enum ImageKind : std::int32_t {
    ImagePixels = 1,  // decoded pixels in memory
    ImageFits = 4,    // a FITS file read in place
    ImagePdsImg = 5,  // a PDS IMG file read in place
};
