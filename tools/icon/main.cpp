// horavel-icon: draws the program's icon with the clock's own code, for the
// build: PNG pictures for the icon theme, a Windows icon file and the icon the
// X11 program carries inside.
//   horavel-icon FOLDER
// writes FOLDER/share/icons/hicolor/NxN/apps/com.brantolm.Horavel.png for N from
// 16 to 512, FOLDER/horavel.ico (16 to 256) and FOLDER/WindowIcon.cpp (16 to
// 128). The Earth and Moon maps are found as the clock finds them.

#include "IconFile.h"
#include "IconPicture.h"
#include "WindowIconSource.h"

#include "app/Textures.h"
#include "clockface/FaceState.h"
#include "platform/ImageEncoder.h"
#include "platform/Messages.h"
#include "platform/ProgramDirectory.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr std::int32_t themeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};
constexpr std::int32_t windowsSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr std::int32_t x11Sizes[] = {16, 32, 48, 64, 128};

bool writeFile(const std::filesystem::path& path, const void* bytes, std::size_t size) {
    std::ofstream file(path, std::ios::binary);
    file.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    file.close();
    return static_cast<bool>(file);
}

bool writePicture(const BgraPicture& picture, const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    return platform::writePngBgra(path, picture.sizePx, picture.sizePx, 4 * picture.sizePx, picture.pixels.data())
        .has_value();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: horavel-icon FOLDER\n", stderr);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    FaceState face;
    loadTextures(face, {}, {}, platform::programDirectory(), {});
    if (face.earthTexture.valid != 1) {
        std::fputs("horavel-icon: cannot read Earth.png\n", stderr);
        return 1;
    }
    const BgraPicture master = drawIconMaster(face.earthTexture, face.moonTexture);
    bool written = master.sizePx > 0;
    for (const std::int32_t size : themeSizes) {
        const std::string side = std::to_string(size);
        const std::filesystem::path path =
            folder / "share" / "icons" / "hicolor" / (side + "x" + side) / "apps" / "com.brantolm.Horavel.png";
        written = written && writePicture(reduce(master, size), path);
    }
    std::vector<BgraPicture> windowsPictures;
    for (const std::int32_t size : windowsSizes) {
        windowsPictures.push_back(reduce(master, size));
    }
    const std::vector<std::uint8_t> icon = iconFile(windowsPictures);
    written = written && writeFile(folder / "horavel.ico", icon.data(), icon.size());
    std::vector<BgraPicture> x11Pictures;
    for (const std::int32_t size : x11Sizes) {
        x11Pictures.push_back(reduce(master, size));
    }
    const std::string source = windowIconSource(x11Pictures);
    written = written && writeFile(folder / "WindowIcon.cpp", source.data(), source.size());
    if (!written) {
        std::fprintf(stderr, "horavel-icon: cannot write the icons into %s\n", platform::utf8FromPath(folder).c_str());
        return 1;
    }
    return 0;
}
