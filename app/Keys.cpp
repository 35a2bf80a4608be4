#include "app/Keys.h"

#include "clockface/FaceGrid.h"

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
