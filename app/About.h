#pragma once

#include <string>

// What "About Horavel" says: the program and its version, its licence, and the
// credits the two maps' terms ask for.
std::string aboutText();
