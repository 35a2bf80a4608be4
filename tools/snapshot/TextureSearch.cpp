#include "TextureSearch.h"

#include "image/Image.h"
#include "platform/Messages.h"
#include "platform/ProgramDirectory.h"

#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

void loadTexture(Image& texture, const std::optional<std::filesystem::path>& given, const char* fileName) {
    std::vector<std::filesystem::path> candidates;
    if (given) {
        candidates.push_back(*given);
    } else {
        candidates.emplace_back(fileName);
        const std::filesystem::path programFolder = platform::programDirectory();
        if (!programFolder.empty()) {
            candidates.push_back(programFolder / fileName);
        }
    }
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        if (!given && !std::filesystem::is_regular_file(candidate, error)) {
            continue;  // the default places are tried in turn
        }
        if (texture.load(candidate) == 1) {
            return;
        }
    }
    const std::string where = given ? platform::utf8FromPath(*given) : std::string(fileName);
    std::fprintf(stderr, "horavel-snapshot: warning: cannot read the texture %s; that body is drawn black\n",
                 where.c_str());
}
