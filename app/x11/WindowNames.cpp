#include "app/x11/WindowNames.h"

#include <X11/Xutil.h>

#include <string>

namespace shell {

void nameWindow(Display* display, Window window, std::string_view title) {
    std::string ascii;
    for (const char c : title) {
        ascii += static_cast<unsigned char>(c) < 0x80 ? c : '?';
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
