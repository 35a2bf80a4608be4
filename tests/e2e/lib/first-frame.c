/* Starts a program and measures the time from its exec to its first painted
 * frame: the moment a window titled "Horavel" shows anything but its black
 * background. Prints the milliseconds. Usage: first-frame PROGRAM [ARGUMENT...] */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* Windows come and go while they are looked at: a stale one is no error. */
static int ignore(Display *d, XErrorEvent *e) {
    (void)d;
    (void)e;
    return 0;
}

/* A window named Horavel below root, or 0. */
static Window find(Display *d, Window w) {
    char *name = NULL;
    if (XFetchName(d, w, &name) && name) {
        int found = strcmp(name, "Horavel") == 0;
        XFree(name);
        if (found) return w;
    }
    Window root, parent, *children = NULL;
    unsigned int n = 0;
    Window result = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !result; ++i) result = find(d, children[i]);
        if (children) XFree(children);
    }
    return result;
}

/* Whether any pixel of the window's top half is not black. */
static int painted(Display *d, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable || a.width < 2 || a.height < 2) return 0;
    XImage *image = XGetImage(d, w, 0, 0, (unsigned)a.width, (unsigned)a.height / 2, AllPlanes, ZPixmap);
    if (!image) return 0;
    int any = 0;
    for (int y = 0; y < image->height && !any; y += 2)
        for (int x = 0; x < image->width && !any; x += 2) any = XGetPixel(image, x, y) != 0;
    XDestroyImage(image);
    return any;
}

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    Display *d = XOpenDisplay(NULL);
    if (!d) return 1;
    XSetErrorHandler(ignore);
    double start = now_ms();
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    Window w = 0;
    while (now_ms() - start < 60000) {
        if (!w) w = find(d, DefaultRootWindow(d));
        if (w && painted(d, w)) {
            printf("%.0f\n", now_ms() - start);
            return 0;
        }
        usleep(1000);
    }
    return 1;
}
