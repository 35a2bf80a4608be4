#include "app/Keys.h"

#include "clockface/FaceGrid.h"

char32_t letterOfKeysym(std::uint32_t symbol) {
    if (symbol >= U'a' && symbol <= U'z') {
        return static_cast<char32_t>(U'A' + (symbol - U'a'));
    }
    if (symbol >= U'A' && symbol <= U'Z') {
        return static_cast<char32_t>(symbol);
    }
    return 0;
}

std::int32_t unitForKey(char32_t upperCaseKey) {
    switch (upperCaseKey) {
    case U'S':
        return 20;
    case U'M':
        return defaultUnit;
    case U'L':
        return 40;
    default:
        return 0;
    }
}
