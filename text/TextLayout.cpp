#include "text/TextLayout.h"

#include "text/RunGeometry.h"

#include <cstddef>
#include <vector>

namespace {

// A position saved by markupPush.
struct SavedPosition {
    std::int32_t penXPx = 0;
    std::int16_t level = 0;
};

bool isMarkup(char16_t c) {
    return c == markupRaise || c == markupLower || c == markupPush || c == markupPop ||
           c == markupEnd;
}

}  // namespace

void layOutText(std::u16string_view text, std::int32_t heightPx, const RunLayer& layRun) {
    std::int32_t penXPx = 0;
    std::int16_t level = 0;
    std::vector<SavedPosition> saved;
    std::size_t runStart = 0;
    std::size_t runLength = 0;

    const auto finishRun = [&] {
        if (runLength == 0) {
            return;
        }
        const RunGeometry geometry = runGeometry(heightPx, level);
        // A run too small to read is neither measured nor drawn, and takes no room.
        if (geometry.fontHeightPx > 1) {
            LaidRun run;
            run.text = text.substr(runStart, runLength);
            run.fontHeightPx = geometry.fontHeightPx;
            run.offsetPx = geometry.offsetPx;
            run.penXPx = penXPx;
            penXPx += layRun(run);
        }
        runLength = 0;
    };

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (!isMarkup(c)) {
            ++runLength;
            continue;
        }
        finishRun();
        runStart = i + 1;
        if (c == markupEnd) {
            return;
        }
        if (c == markupRaise) {
            ++level;
        } else if (c == markupLower) {
            --level;
        } else if (c == markupPush) {
            saved.push_back({penXPx, level});
        } else if (!saved.empty()) {
            penXPx = saved.back().penXPx;
            level = saved.back().level;
            saved.pop_back();
        }
    }
    finishRun();
}
