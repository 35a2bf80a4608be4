// horavel-icon: draws the program's icon with the clock's own code, for the
// build: PNG pictures for the icon theme and a Windows icon file.
//   horavel-icon FOLDER
// writes FOLDER/share/icons/hicolor/NxN/apps/com.brantolm.Horavel.png for N from
// 16 to 512 and FOLDER/horavel.ico (16 to 256). The Earth and Moon maps are
// found as the clock finds them.

#include "IconFile.h"
#include "IconPicture.h"

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

bool writePicture(const BgraPicture& picture, const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    return platform::writePngBgra(path, picture.sizePx, picture.sizePx, 4 * picture.sizePx,
                                  picture.pixels.data()) == 1;
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
    std::ofstream file(folder / "horavel.ico", std::ios::binary);
    file.write(reinterpret_cast<const char*>(icon.data()), static_cast<std::streamsize>(icon.size()));
    file.close();
    written = written && static_cast<bool>(file);
    if (!written) {
        std::fprintf(stderr, "horavel-icon: cannot write the icons into %s\n", platform::utf8FromPath(folder).c_str());
        return 1;
    }
    return 0;
}
