// The PDS IMG label scan over arbitrary bytes. libFuzzer's buffer is exactly the
// input's size, so AddressSanitizer sees any read past the end of the "file".
#include "image/PdsImgLabel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PdsImgLabel label;
    const PdsImgLabelScan result = scanPdsImgLabel(data, size, label);
    // Every line read ends at a line feed or at the end of the input.
    std::size_t lineFeeds = 0;
    for (std::size_t i = 0; i < size; ++i) {
        lineFeeds += data[i] == '\n' ? 1 : 0;
    }
    if (static_cast<std::size_t>(label.lineCount) > lineFeeds + 1 ||
        (result != PdsImgLabelComplete && result != PdsImgLabelNotPds && result != PdsImgLabelNoEnd)) {
        std::abort();
    }
    return 0;
}
