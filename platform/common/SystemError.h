#pragma once

#include <string>

namespace platform {

// The system's words for the failure that the system call just made by this
// thread reported (errno on POSIX systems, GetLastError on Windows), as the
// reason of a failed result. Called right after that call, before anything
// else can set another error.
std::string systemError();

}  // namespace platform
