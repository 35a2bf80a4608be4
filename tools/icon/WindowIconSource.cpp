#include "WindowIconSource.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

void putCardinal(std::string& out, std::uint32_t value, std::size_t& onLine) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X,", static_cast<unsigned>(value));
    out += onLine == 0 ? "    " : " ";
    out += text;
    if (++onLine == 8) {
        out += '\n';
        onLine = 0;
    }
}

}  // namespace

std::string windowIconSource(std::span<const BgraPicture> pictures) {
    std::string out =
        "// Made by horavel-icon while building: the program's icon for the X11 window.\n"
        "#include \"app/x11/WindowIcon.h\"\n"
        "\n"
        "namespace shell {\n"
        "\n"
        "namespace {\n"
        "\n"
        "constexpr std::uint32_t cardinals[] = {\n";
    std::size_t onLine = 0;
    for (const BgraPicture& picture : pictures) {
        const auto side = static_cast<std::uint32_t>(picture.sizePx);
        putCardinal(out, side, onLine);
        putCardinal(out, side, onLine);
        for (std::size_t i = 0; i + 3 < picture.pixels.size(); i += 4) {
            const std::uint8_t* bgra = &picture.pixels[i];
            putCardinal(out,
                        static_cast<std::uint32_t>(bgra[3]) << 24 | static_cast<std::uint32_t>(bgra[2]) << 16 |
                            static_cast<std::uint32_t>(bgra[1]) << 8 | bgra[0],
                        onLine);
        }
    }
    if (onLine != 0) {
        out += '\n';
    }
    out +=
        "};\n"
        "\n"
        "}  // namespace\n"
        "\n"
        "std::span<const std::uint32_t> windowIconCardinals() { return cardinals; }\n"
        "\n"
        "}  // namespace shell\n";
    return out;
}
