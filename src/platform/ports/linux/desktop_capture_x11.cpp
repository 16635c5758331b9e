// The real screen photographed through Xlib.
#include "platform/desktop/desktop_capture.h"

#include "platform/desktop/desktop_state.h"
#include "platform/desktop/screen_scale.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

namespace platform::desktop {
namespace {

// How far a colour channel's mask sits from bit 0 (0 for an empty mask).
unsigned Shift(unsigned long mask) {
    return mask ? unsigned(__builtin_ctzl(mask)) : 0;
}

// A photograph of the root window.
sdl::SurfacePtr Photograph(Display* display) {
    Window root = DefaultRootWindow(display);
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(display, root, &attrs) || attrs.width <= 0 || attrs.height <= 0) return nullptr;
    XImage* image = XGetImage(display, root, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap);
    if (!image) return nullptr;
    sdl::SurfacePtr out = NewSurface(attrs.width, attrs.height);
    if (out) {
        for (int y = 0; y < attrs.height; ++y) {
            auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(out->pixels) + y * out->pitch);
            for (int x = 0; x < attrs.width; ++x) {
                unsigned long p = XGetPixel(image, x, y);
                unsigned r = (p & image->red_mask) >> Shift(image->red_mask);
                unsigned g = (p & image->green_mask) >> Shift(image->green_mask);
                unsigned b = (p & image->blue_mask) >> Shift(image->blue_mask);
                row[x] = 0xFF000000u | ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
            }
        }
    }
    XDestroyImage(image);
    return out;
}

// A window manager that follows the desktop conventions names its check window on the root.
bool WindowManagerRuns(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    bool present = false;
    if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, AnyPropertyType, &type,
                           &format, &count, &left, &data) == Success) {
        present = type != None && count > 0;
        if (data) XFree(data);
    }
    return present;
}

}  // namespace

ScreenBefore LookAtScreen() {
    ScreenBefore seen;
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return seen;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return seen;
    seen.picture = Photograph(display);
    seen.windowManager = WindowManagerRuns(display);
    // The desktop's scale, as X11 desktops keep it: Xft.dpi in the resource database.
    seen.scale = ScaleFromXResources(XResourceManagerString(display));
    seen.connection =
        std::shared_ptr<void>(display, [](void* d) { XCloseDisplay(static_cast<Display*>(d)); });
    return seen;
}

}  // namespace platform::desktop
