#include "platform/FontRasterizer.h"

#include "platform/StoreSize.h"
#include "platform/common/Utf16.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

namespace {

// The FreeType library instance, shared by the faces opened from it.
struct Library {
    FT_Library handle = nullptr;
    Library() {
        if (FT_Init_FreeType(&handle) != 0) {
            handle = nullptr;
        }
    }
    ~Library() {
        if (handle != nullptr) {
            FT_Done_FreeType(handle);
        }
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

// One opened face file with the vertical metrics that define its text cell.
struct Face {
    std::shared_ptr<Library> library;  // outlives the face
    FT_Face handle = nullptr;
    double cellUnits = 0.0;    // usWinAscent + usWinDescent, font units
    double ascentUnits = 0.0;  // usWinAscent, font units
    double unitsPerEm = 0.0;

    ~Face() {
        if (handle != nullptr) {
            FT_Done_Face(handle);
        }
    }
};

// A rendered glyph: its coverage rows top row first, where it sits against the
// pen and the baseline, and how far it moves the pen.
struct Glyph {
    std::vector<std::uint8_t> coverage;  // widthPx × rowsPx bytes, top row first
    std::int32_t widthPx = 0;
    std::int32_t rowsPx = 0;
    std::int32_t leftPx = 0;     // left edge right of the pen
    std::int32_t topPx = 0;      // top row above the baseline
    std::int32_t advancePx = 0;  // rounded to whole pixels, as GDI sums its extents
};

class FreeTypeFont final : public EngineFont {
public:
    FreeTypeFont(std::shared_ptr<Face> fontFace, FT_Size fontSize)
        : face(std::move(fontFace)), size(fontSize) {}
    ~FreeTypeFont() override { FT_Done_Size(size); }

    // The glyph of a code point, rendered once and kept: the clock draws the
    // same few characters again and again.
    const Glyph& glyph(char32_t codePoint) {
        const auto found = glyphs.find(codePoint);
        if (found != glyphs.end()) {
            return found->second;
        }
        Glyph& made = glyphs[codePoint];
        FT_Activate_Size(size);
        const FT_UInt index = FT_Get_Char_Index(face->handle, codePoint);
        if (FT_Load_Glyph(face->handle, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) {
            return made;
        }
        FT_GlyphSlot slot = face->handle->glyph;
        made.advancePx = static_cast<std::int32_t>((slot->advance.x + 32) >> 6);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 ||
            slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
            return made;
        }
        const FT_Bitmap& bitmap = slot->bitmap;
        made.widthPx = static_cast<std::int32_t>(bitmap.width);
        made.rowsPx = static_cast<std::int32_t>(bitmap.rows);
        made.leftPx = slot->bitmap_left;
        made.topPx = slot->bitmap_top;
        made.coverage.resize(static_cast<std::size_t>(made.widthPx) * made.rowsPx);
        const std::size_t pitch = static_cast<std::size_t>(std::abs(bitmap.pitch));
        for (std::int32_t row = 0; row < made.rowsPx; ++row) {
            // A negative pitch stores the bottom row first.
            const std::int32_t sourceRow = bitmap.pitch >= 0 ? row : made.rowsPx - 1 - row;
            const unsigned char* source = bitmap.buffer + pitch * static_cast<std::size_t>(sourceRow);
            std::copy(source, source + made.widthPx,
                      made.coverage.begin() + static_cast<std::ptrdiff_t>(row) * made.widthPx);
        }
        return made;
    }

private:
    std::shared_ptr<Face> face;  // outlives the size
    FT_Size size;                // this font's scale on the shared face
    std::unordered_map<char32_t, Glyph> glyphs;
};

// A font file and the index of the face in it.
struct FontFile {
    std::string path;
    int index = 0;
};

// The file fontconfig picks for a family (UTF-8) at a weight and pitch, or
// none. Asked once per process: the configuration is loaded for the question
// and freed after it, for loading it takes longer than a whole tick and it
// holds memory the clock has no other use for.
std::optional<FontFile> fontFileFor(const std::string& family, std::int16_t weight, bool fixedPitch) {
    static std::mutex lock;
    static std::map<std::tuple<std::string, std::int16_t, bool>, std::optional<FontFile>> known;
    const std::lock_guard guard(lock);
    const auto key = std::make_tuple(family, weight, fixedPitch);
    if (const auto found = known.find(key); found != known.end()) {
        return found->second;
    }
    std::optional<FontFile> file;
    FcConfig* config = FcInitLoadConfigAndFonts();
    FcPattern* pattern = config != nullptr ? FcPatternCreate() : nullptr;
    if (pattern != nullptr) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
        FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
        if (fixedPitch) {
            FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
        }
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(config, pattern, &result);
        FcPatternDestroy(pattern);
        FcChar8* path = nullptr;
        int index = 0;
        if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
            FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) {
            file = FontFile{reinterpret_cast<const char*>(path), index};
        }
        if (match != nullptr) {
            FcPatternDestroy(match);
        }
    }
    if (config != nullptr) {
        FcConfigDestroy(config);
    }
    known[key] = file;
    return file;
}

class FreeTypeEngine final : public FontEngine {
public:
    explicit FreeTypeEngine(std::u16string_view faceName)
        : library(std::make_shared<Library>()), family(utf8FromUtf16(faceName)) {}
    ~FreeTypeEngine() override { faces.clear(); }

    bool ready() const { return library->handle != nullptr; }

    std::unique_ptr<EngineFont> createFont(std::int32_t cellHeightPx, std::int16_t weight,
                                           bool fixedPitch) override {
        if (cellHeightPx <= 0) {
            return nullptr;
        }
        std::shared_ptr<Face> face = faceFor(weight, fixedPitch);
        if (!face) {
            return nullptr;
        }
        FT_Size size = nullptr;
        if (FT_New_Size(face->handle, &size) != 0) {
            return nullptr;
        }
        FT_Activate_Size(size);
        // The cell (usWinAscent + usWinDescent) spans the requested height, so the
        // em is that height scaled by unitsPerEm / cell, in 1/64 pixels.
        const double emPx = cellHeightPx * face->unitsPerEm / face->cellUnits;
        FT_Size_RequestRec request{};
        request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
        request.height = static_cast<FT_Long>(std::lround(emPx * 64.0));
        if (request.height <= 0 || FT_Request_Size(face->handle, &request) != 0) {
            FT_Done_Size(size);
            return nullptr;
        }
        auto font = std::make_unique<FreeTypeFont>(face, size);
        // Whole pixels, the ascent rounded and the descent the rest of the cell.
        font->cellHeightPx = cellHeightPx;
        font->ascentPx = static_cast<std::int32_t>(
            std::lround(face->ascentUnits * cellHeightPx / face->cellUnits));
        font->descentPx = cellHeightPx - font->ascentPx;
        return font;
    }

    std::int32_t runWidth(EngineFont& font, std::u16string_view run) override {
        auto& freeTypeFont = static_cast<FreeTypeFont&>(font);
        std::int32_t widthPx = 0;
        forEachCodePoint(run, [&](char32_t c) { widthPx += freeTypeFont.glyph(c).advancePx; });
        return widthPx;
    }

    std::unique_ptr<TextBitmap> createBitmap(std::int32_t widthPx, std::int32_t heightPx) override {
        if (widthPx <= 0 || heightPx <= 0 || !storeBytes(3, widthPx, heightPx)) {
            return nullptr;
        }
        return std::make_unique<MemoryBitmap>(widthPx, heightPx);
    }

    void beginDrawing(TextBitmap& bitmap) override { target = &bitmap; }

    std::int32_t drawRun(EngineFont& font, std::int32_t penXPx, std::int32_t topYPx,
                         std::u16string_view run) override {
        auto& freeTypeFont = static_cast<FreeTypeFont&>(font);
        const std::int32_t baselineYPx = topYPx + font.ascentPx;  // counted down from the top row
        std::int32_t xPx = penXPx;
        forEachCodePoint(run, [&](char32_t c) {
            const Glyph& glyph = freeTypeFont.glyph(c);
            if (target != nullptr) {
                drawGlyph(glyph, xPx + glyph.leftPx, baselineYPx - glyph.topPx);
            }
            xPx += glyph.advancePx;
        });
        return xPx - penXPx;
    }

    void endDrawing() override { target = nullptr; }

private:
    // Lays white ink of the glyph's coverage over what the bitmap holds, with its
    // top-left pixel at (leftPx, topPx) counted from the bitmap's top-left.
    void drawGlyph(const Glyph& glyph, std::int32_t leftPx, std::int32_t topPx) {
        const std::size_t rowBytes = 3 * static_cast<std::size_t>(target->widthPx);
        for (std::int32_t row = 0; row < glyph.rowsPx; ++row) {
            const std::int32_t yPx = topPx + row;
            if (yPx < 0 || yPx >= target->heightPx) {
                continue;
            }
            // The bitmap is bottom-up: the top row is the last in memory.
            std::uint8_t* line =
                target->bits + rowBytes * static_cast<std::size_t>(target->heightPx - 1 - yPx);
            const std::uint8_t* coverage =
                glyph.coverage.data() + static_cast<std::size_t>(row) * glyph.widthPx;
            for (std::int32_t column = 0; column < glyph.widthPx; ++column) {
                const std::int32_t xPx = leftPx + column;
                const std::uint32_t ink = coverage[column];
                if (xPx < 0 || xPx >= target->widthPx || ink == 0) {
                    continue;
                }
                std::uint8_t* pixel = line + 3 * static_cast<std::size_t>(xPx);
                const std::uint32_t below = pixel[1];
                const auto value =
                    static_cast<std::uint8_t>(below + ((255 - below) * ink + 127) / 255);
                pixel[0] = value;
                pixel[1] = value;
                pixel[2] = value;
            }
        }
    }

    // The face fontconfig picks for the family at a weight and pitch, opened once.
    std::shared_ptr<Face> faceFor(std::int16_t weight, bool fixedPitch) {
        const std::pair<std::int16_t, bool> key{weight, fixedPitch};
        const auto found = faces.find(key);
        if (found != faces.end()) {
            return found->second;
        }
        std::shared_ptr<Face> face = openFace(weight, fixedPitch);
        faces[key] = face;
        return face;
    }

    std::shared_ptr<Face> openFace(std::int16_t weight, bool fixedPitch) {
        if (!ready()) {
            return nullptr;
        }
        const std::optional<FontFile> file = fontFileFor(family, weight, fixedPitch);
        if (!file) {
            return nullptr;
        }
        auto face = std::make_shared<Face>();
        face->library = library;
        if (FT_New_Face(library->handle, file->path.c_str(), file->index, &face->handle) != 0) {
            face->handle = nullptr;
            return nullptr;
        }
        if (!FT_IS_SCALABLE(face->handle)) {
            return nullptr;
        }
        face->unitsPerEm = face->handle->units_per_EM;
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face->handle, FT_SFNT_OS2));
        if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
            face->ascentUnits = os2->usWinAscent;
            face->cellUnits = os2->usWinAscent + os2->usWinDescent;
        } else {
            // Without the Windows metrics the horizontal header's line box is the cell.
            face->ascentUnits = face->handle->ascender;
            face->cellUnits = face->handle->ascender - face->handle->descender;
        }
        if (face->cellUnits <= 0.0 || face->unitsPerEm <= 0.0) {
            return nullptr;
        }
        return face;
    }

    std::shared_ptr<Library> library;
    std::string family;  // UTF-8
    std::map<std::pair<std::int16_t, bool>, std::shared_ptr<Face>> faces;
    TextBitmap* target = nullptr;  // the bitmap being drawn into, between begin and end
};

}  // namespace

std::unique_ptr<FontEngine> createFontEngine(std::u16string_view faceName) {
    auto engine = std::make_unique<FreeTypeEngine>(faceName);
    if (!engine->ready()) {
        return nullptr;
    }
    return engine;
}

}  // namespace platform
