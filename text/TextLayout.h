#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

// The markup characters of a text. Each ends the run in progress and is never drawn.
inline constexpr char16_t markupRaise = u'\uE000';  // one level up (superscript)
inline constexpr char16_t markupLower = u'\uE001';  // one level down (subscript)
inline constexpr char16_t markupPush = u'\uE002';   // save the pen x and the level
inline constexpr char16_t markupPop = u'\uE003';    // restore the last saved pen x and level
inline constexpr char16_t markupEnd = u'\0';        // end of text

// One run of a text, placed by the layout pass.
struct LaidRun {
    std::u16string_view text;       // the run's characters, no markup among them
    std::int16_t fontHeightPx = 0;  // cell height of the run's font, at least 2
    std::int32_t offsetPx = 0;      // downward shift from the text's top, pixels
    std::int32_t penXPx = 0;        // left edge of the run, pixels
};

// Lays a run out and returns how far the pen moves after it, pixels.
using RunLayer = std::function<std::int32_t(const LaidRun&)>;

// Walks a marked-up text of heightPx pixels run by run, keeping the pen x, the
// level and the stack of saved positions, and hands every run that is big enough
// to be drawn to layRun. The text ends at U+0000 or at the end of the view.
void layOutText(std::u16string_view text, std::int32_t heightPx, const RunLayer& layRun);
