#include "app/x11/WindowNames.h"

#include <X11/Xutil.h>

#include <string>

namespace shell {

void nameWindow(Display* display, Window window, std::string_view title) {
    std::string ascii;
    for (const char c : title) {
        // One '?' for each character outside ASCII: UTF-8's continuation bytes add none.
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) {
            ascii += byte < 0x80 ? c : '?';
        }
    }
    XStoreName(display, window, ascii.c_str());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
    XClassHint classHint{};
    char className[] = "Horavel";
    char instanceName[] = "horavel";
    classHint.res_name = instanceName;
    classHint.res_class = className;
    XSetClassHint(display, window, &classHint);
}

}  // namespace shell
