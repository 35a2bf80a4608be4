// The FITS card scan over arbitrary bytes. libFuzzer's buffer is exactly the
// input's size, so AddressSanitizer sees any read past the end of the "file".
#include "image/FitsHeader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FitsHeader header;
    const FitsHeaderScan result = scanFitsHeader(data, size, header);
    // Only whole cards inside the input are read.
    if (header.cardCount < 0 || static_cast<std::uint64_t>(header.cardCount) * 80 > size ||
        (result == FitsHeaderComplete && header.cardCount == 0)) {
        std::abort();
    }
    return 0;
}
