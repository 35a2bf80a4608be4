#include "platform/FontRasterizer.h"

#include "platform/StoreSize.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace platform {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

const wchar_t* wide(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

class GdiFont final : public EngineFont {
public:
    explicit GdiFont(HFONT font) : handle(font) {}
    ~GdiFont() override { DeleteObject(handle); }

    HFONT handle;
};

// A device-independent bitmap section: GDI draws into it, and its bits are plain
// memory that the caller reads.
class DibSection final : public TextBitmap {
public:
    explicit DibSection(HBITMAP bitmap) : handle(bitmap) {}
    ~DibSection() override { DeleteObject(handle); }

    HBITMAP handle;
};

class GdiEngine final : public FontEngine {
public:
    explicit GdiEngine(std::u16string_view faceName)
        : dc(CreateCompatibleDC(nullptr)), face(wide(faceName), faceName.size()) {}
    ~GdiEngine() override {
        if (dc != nullptr) {
            DeleteDC(dc);
        }
    }

    bool ready() const { return dc != nullptr; }

    std::unique_ptr<EngineFont> createFont(std::int32_t cellHeightPx, std::int16_t weight,
                                           bool fixedPitch) override {
        // A positive height asks for the cell height, not the em size.
        HFONT font = CreateFontW(cellHeightPx, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                 OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                 fixedPitch ? FIXED_PITCH : DEFAULT_PITCH, face.c_str());
        if (font == nullptr) {
            return nullptr;
        }
        auto made = std::make_unique<GdiFont>(font);
        HGDIOBJ previous = SelectObject(dc, font);
        TEXTMETRICW metrics{};
        const BOOL measured = GetTextMetricsW(dc, &metrics);
        SelectObject(dc, previous);
        if (!measured) {
            return nullptr;
        }
        made->cellHeightPx = metrics.tmHeight;
        made->ascentPx = metrics.tmAscent;
        made->descentPx = metrics.tmDescent;
        return made;
    }

    std::int32_t runWidth(EngineFont& font, std::u16string_view run) override {
        HGDIOBJ previous = SelectObject(dc, static_cast<GdiFont&>(font).handle);
        const std::int32_t widthPx = extent(run);
        SelectObject(dc, previous);
        return widthPx;
    }

    std::unique_ptr<TextBitmap> createBitmap(std::int32_t widthPx, std::int32_t heightPx) override {
        const std::optional<std::int32_t> bytes = storeBytes(3, widthPx, heightPx);
        if (widthPx <= 0 || heightPx <= 0 || !bytes) {
            return nullptr;
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = widthPx;
        info.bmiHeader.biHeight = heightPx;  // positive: rows bottom-up
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap == nullptr || bits == nullptr) {
            if (bitmap != nullptr) {
                DeleteObject(bitmap);
            }
            return nullptr;
        }
        auto section = std::make_unique<DibSection>(bitmap);
        section->bits = static_cast<std::uint8_t*>(bits);
        section->widthPx = widthPx;
        section->heightPx = heightPx;
        std::memset(section->bits, 0, static_cast<std::size_t>(*bytes));
        return section;
    }

    void beginDrawing(TextBitmap& target) override {
        previousBitmap = SelectObject(dc, static_cast<DibSection&>(target).handle);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        SetBkColor(dc, RGB(0, 0, 0));
    }

    std::int32_t drawRun(EngineFont& font, std::int32_t penXPx, std::int32_t topYPx,
                         std::u16string_view run) override {
        HGDIOBJ previous = SelectObject(dc, static_cast<GdiFont&>(font).handle);
        const std::int32_t widthPx = extent(run);
        // The default alignment puts the top-left of the text cell at the point.
        TextOutW(dc, penXPx, topYPx, wide(run), static_cast<int>(run.size()));
        SelectObject(dc, previous);
        return widthPx;
    }

    void endDrawing() override {
        SelectObject(dc, previousBitmap);
        previousBitmap = nullptr;
        // The bits are read directly, so every pending drawing must have landed.
        GdiFlush();
    }

private:
    // The width of a run in the selected font, pixels.
    std::int32_t extent(std::u16string_view run) {
        SIZE size{};
        if (!GetTextExtentPoint32W(dc, wide(run), static_cast<int>(run.size()), &size)) {
            return 0;
        }
        return size.cx;
    }

    HDC dc;  // a memory context compatible with the screen
    std::wstring face;
    HGDIOBJ previousBitmap = nullptr;
};

}  // namespace

std::unique_ptr<FontEngine> createFontEngine(std::u16string_view faceName) {
    auto engine = std::make_unique<GdiEngine>(faceName);
    if (!engine->ready()) {
        return nullptr;
    }
    return engine;
}

}  // namespace platform
