// The device's renderer (the real window's, on graphics hardware when there is some, or a software
// renderer on a memory surface when headless) and the state of the display as Direct3D sees it.
#include "platform/desktop/desktop_state.h"

#include <cstring>
#ifdef __linux__
#include <unistd.h>
#endif

namespace raster = platform::raster;

namespace platform::desktop {

#ifdef _WIN32
// ports/windows/graphics_hardware_windows.cpp: false under Wine on a machine without graphics hardware.
bool SystemGraphicsHardwareLikely();
#endif

bool OwnedRenderer::OpenSoftware(int w, int h) {
    Close();
    surface = NewSurface(w, h);
    if (surface) renderer.reset(SDL_CreateSoftwareRenderer(surface.get()));
    if (!renderer) {
        surface.reset();
        return false;
    }
    target = surface.get();
    generation = raster::NewGeneration();
    return true;
}

bool OwnedRenderer::OpenOnWindow(SDL_Window* window) {
    Close();
    SDL_Surface* windowSurface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!windowSurface) return false;
    renderer.reset(SDL_CreateSoftwareRenderer(windowSurface));
    if (!renderer) return false;
    target = windowSurface;
    presentsTo = window;
    generation = raster::NewGeneration();
    return true;
}

void OwnedRenderer::Present(const std::vector<SDL_Rect>* areas) {
    if (!renderer) return;
    SDL_RenderPresent(renderer.get());
    if (!presentsTo) return;
    const int failed = areas ? SDL_UpdateWindowSurfaceRects(presentsTo, areas->data(), int(areas->size()))
                             : SDL_UpdateWindowSurface(presentsTo);
    if (failed != 0) {
        // The window's surface went with a change of its size (Wayland gives a window a new one as
        // it is first shown): the next frame is drawn on the new one.
        SDL_Window* window = presentsTo;
        OpenOnWindow(window);
    }
}

bool OwnedRenderer::Adopt(sdl::RendererPtr made) {
    Close();
    if (!made) return false;
    renderer = std::move(made);
    generation = raster::NewGeneration();
    return true;
}

void OwnedRenderer::Renew() {
    raster::EndGeneration(generation);
    generation = raster::NewGeneration();
}

void OwnedRenderer::Close() {
    raster::EndGeneration(generation);
    generation = 0;
    renderer.reset();
    surface.reset();
    target = nullptr;
    presentsTo = nullptr;
}

namespace {

// Whether a renderer draws on graphics hardware. OpenGL drivers that rasterize on the processor
// (llvmpipe, softpipe) count as software: SDL's own software renderer is faster than they are.
bool IsHardware(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0) return false;
    if (!(info.flags & SDL_RENDERER_ACCELERATED) || std::strcmp(info.name, "software") == 0) return false;
    if (std::strncmp(info.name, "opengl", 6) == 0) {
        using GetString = const unsigned char* (*)(unsigned);
        auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
        const unsigned char* name = getString ? getString(0x1F01 /* GL_RENDERER */) : nullptr;
        if (name) {
            const std::string n = reinterpret_cast<const char*>(name);
            if (n.find("llvmpipe") != std::string::npos || n.find("softpipe") != std::string::npos ||
                n.find("Software Rasterizer") != std::string::npos)
                return false;
        }
    }
    return true;
}

}  // namespace

// Whether the machine may have graphics hardware at all. Where it has none, trying an accelerated
// renderer costs an OpenGL start-up that ends on a software driver, which is then refused anyway.
// RUSHMORA_RENDERER=software or =hardware overrides the guess.
bool GraphicsHardwareLikely() {
    if (const char* choice = SDL_getenv("RUSHMORA_RENDERER")) {
        if (SDL_strcasecmp(choice, "software") == 0 || SDL_strcasecmp(choice, "none") == 0) return false;
        if (SDL_strcasecmp(choice, "hardware") == 0) return true;
    }
#ifdef __linux__
    // Linux drivers of graphics hardware show up in /dev/dri.
    return access("/dev/dri", F_OK) == 0;
#elif defined(_WIN32)
    return SystemGraphicsHardwareLikely();
#else
    return true;
#endif
}

// RUSHMORA_RENDERER=none: the real window has no renderer at all, as where the display takes no
// picture from us (to try what a player meets then).
bool NoRendererWanted() {
    const char* choice = SDL_getenv("RUSHMORA_RENDERER");
    return choice && SDL_strcasecmp(choice, "none") == 0;
}

bool CreateRenderer(bool accelerated) {
    State& s = TheScreen();
    if (s.headless) {
        // There is no graphics hardware without a display: only the software renderer.
        if (accelerated) return false;
        return s.device.renderer || s.device.OpenSoftware(s.displayW, s.displayH);
    }
    if (s.device.renderer) {
        SDL_RendererInfo info;
        SDL_GetRendererInfo(s.device.renderer.get(), &info);
        bool isAccelerated = (info.flags & SDL_RENDERER_ACCELERATED) != 0;
        if (isAccelerated == accelerated) return true;
        s.device.Close();
    }
    if (NoRendererWanted()) return false;
    if (!accelerated) return s.device.OpenOnWindow(s.window.get());
    if (!GraphicsHardwareLikely()) return false;
    sdl::RendererPtr made(SDL_CreateRenderer(s.window.get(), -1, SDL_RENDERER_ACCELERATED));
    if (made && !IsHardware(made.get())) made.reset();
    return s.device.Adopt(std::move(made));
}

SDL_Renderer* Renderer() {
    return TheScreen().device.renderer.get();
}
unsigned RendererGeneration() {
    return TheScreen().device.generation;
}
unsigned ResetCount() {
    return TheScreen().resetCount;
}
bool Minimized() {
    return TheScreen().minimized;
}
bool DisplayAway() {
    return TheScreen().displayAway;
}
void SimulateDisplayAway(bool away) {
    TheScreen().displayAway = away;
}

void SimulateDeviceReset() {
    SDL_Event e{};
    e.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&e);
}

void SimulateMinimized(bool minimized) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = minimized ? SDL_WINDOWEVENT_MINIMIZED : SDL_WINDOWEVENT_RESTORED;
    SDL_PushEvent(&e);
}

}  // namespace platform::desktop
