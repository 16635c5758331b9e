// The compositor: the game's windows (caption, then the picture last presented into the client
// area) and the open message box put together on one renderer of the screen's size, for the real
// window or for a screenshot.
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"
#include "platform/run/screenshot.h"

#include <SDL_image.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace desktop {
namespace {

void DrawCaption(SDL_Renderer* r, const WindowObject& w) {
    const int width = w.rect.right - w.rect.left;
    for (int x = 0; x < width; x += 4) {
        float t = float(x) / float(std::max(1, width));
        int red = int(10 + t * (166 - 10)), green = int(36 + t * (202 - 36)),
            blue = int(106 + t * (240 - 106));
        FillScreenRect(r, {w.rect.left + x, w.rect.top, std::min(4, width - x), w.captionHeight},
                       0xFF000000u | (red << 16) | (green << 8) | blue);
    }
    DrawTextAt(r, w.text, 13, SDL_Color{255, 255, 255, 255}, w.rect.left + 6, w.rect.top + 3, true);
}

// The PNG encoder writes into memory, and the file is written from there in one go: SDL_image does
// not look at every failure of a file (a full disk shows only when the file is flushed or closed).
struct PngBytes {
    std::vector<std::uint8_t> bytes;
    std::size_t at = 0;
};

PngBytes& BytesOf(SDL_RWops* rw) {
    return *static_cast<PngBytes*>(rw->hidden.unknown.data1);
}

bool EncodePng(SDL_Surface* surface, PngBytes* out) {
    SDL_RWops* rw = SDL_AllocRW();
    if (!rw) return false;
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->hidden.unknown.data1 = out;
    rw->size = [](SDL_RWops* rw) { return Sint64(BytesOf(rw).bytes.size()); };
    rw->seek = [](SDL_RWops* rw, Sint64 offset, int whence) -> Sint64 {
        PngBytes& b = BytesOf(rw);
        const Sint64 from = whence == RW_SEEK_SET   ? 0
                            : whence == RW_SEEK_CUR ? Sint64(b.at)
                                                    : Sint64(b.bytes.size());
        if (from + offset < 0) return -1;
        b.at = std::size_t(from + offset);
        return Sint64(b.at);
    };
    rw->read = [](SDL_RWops*, void*, size_t, size_t) -> size_t { return 0; };
    rw->write = [](SDL_RWops* rw, const void* data, size_t size, size_t count) -> size_t {
        PngBytes& b = BytesOf(rw);
        const std::size_t n = size * count;
        if (b.bytes.size() < b.at + n) b.bytes.resize(b.at + n);
        if (n) std::memcpy(b.bytes.data() + b.at, data, n);
        b.at += n;
        return count;
    };
    rw->close = [](SDL_RWops* rw) {
        SDL_FreeRW(rw);
        return 0;
    };
    return IMG_SavePNG_RW(surface, rw, 1) == 0;
}

bool SavePng(SDL_Surface* surface, const std::string& file, std::string* why) {
    auto fail = [&](const std::string& what) {
        if (why) *why = what;
        return false;
    };
    PngBytes png;
    if (!surface) return fail("nothing to show");
    if (!EncodePng(surface, &png)) return fail(IMG_GetError());
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) return fail(std::strerror(errno));
    bool ok = std::fwrite(png.bytes.data(), 1, png.bytes.size(), f) == png.bytes.size();
    ok = ok && std::fflush(f) == 0;
    int error = ok ? 0 : errno;
    if (std::fclose(f) != 0 && ok) ok = false, error = errno;
    return ok || fail(std::strerror(error));
}

}  // namespace

void FillScreenRect(SDL_Renderer* r, SDL_Rect rect, Uint32 argb) {
    SDL_SetRenderDrawBlendMode(r, (argb >> 24) == 0xFF ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(r, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
    SDL_RenderFillRect(r, &rect);
}

void Compose(const OwnedRenderer& target) {
    SDL_Renderer* r = target.renderer.get();
    const unsigned generation = target.generation;
    State& s = S();
    SDL_RenderSetClipRect(r, nullptr);
    bool anyVisible = false;
    const WindowObject* bottom = nullptr;
    for (WindowObject* w : s.windows) {
        if (!w->visible || w->destroyed) continue;
        anyVisible = true;
        if (!bottom) bottom = w;
    }
    // The screen starts black, unless the bottom window covers all of it with a picture that begins
    // by clearing (the desktop, every frame of the game): then clearing first would only cost time.
    const bool covered = bottom && bottom->captionHeight == 0 && bottom->rect.left <= 0 &&
                         bottom->rect.top <= 0 && bottom->rect.right >= s.screenW &&
                         bottom->rect.bottom >= s.screenH && bottom->content.list &&
                         !bottom->content.list->cmds.empty() &&
                         bottom->content.list->cmds.front().kind == gfx::DrawCmd::kClear;
    if (!covered) {
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
        SDL_RenderClear(r);
    }
    if (!anyVisible && s.messageBox && s.picture) {
        // A box before the game's windows: it stands on the desktop.
        if (sdl::TexturePtr t{SDL_CreateTextureFromSurface(r, s.picture.get())})
            SDL_RenderCopy(r, t.get(), nullptr, nullptr);
    }
    for (WindowObject* w : s.windows) {
        if (!w->visible || w->destroyed) continue;
        if (w->captionHeight > 0) DrawCaption(r, *w);
        SDL_Rect client{w->rect.left, w->rect.top + w->captionHeight, w->rect.right - w->rect.left,
                        w->rect.bottom - w->rect.top - w->captionHeight};
        if (client.w <= 0 || client.h <= 0) continue;
        if (w->content.list)
            gfx::RenderList(r, generation, *w->content.list, w->content.source, client, target.target);
        else
            FillScreenRect(r, client, w->background);
    }
    SDL_RenderSetClipRect(r, nullptr);
    if (s.messageBox) DrawMessageBox(r, *s.messageBox);
}

void ShowFrame() {
    State& s = S();
    if (s.headless || !s.windowShown || s.minimized) return;
    // A message box can come before the graphics device: it draws with the software renderer then.
    if (!s.device.renderer && !CreateRenderer(false)) return;
    Compose(s.device);
    s.device.Present();
}

bool CanDrawScreen() {
    State& s = S();
    return !s.headless && s.window && (s.device.renderer || CreateRenderer(false));
}

bool SaveScreen(const std::string& file, std::string* why) {
    return SavePng(ComposeToSurface(), file, why);
}

SDL_Surface* ComposeToSurface() {
    State& s = S();
    // Headless, the device itself draws on a memory surface; a real window's screen is put
    // together again off screen.
    OwnedRenderer& target = s.headless && s.device.renderer ? s.device : s.shot;
    if (!target.renderer && !target.OpenSoftware(s.screenW, s.screenH)) return nullptr;
    Compose(target);
    SDL_RenderPresent(target.renderer.get());
    return target.surface.get();
}

bool SaveBackBuffer(IDirect3DDevice9* device, const std::string& file, std::string* why) {
    UINT w = 0, h = 0;
    if (!device || FAILED(device->GetBackBufferSize(&w, &h)) || w == 0 || h == 0) return false;
    OwnedRenderer canvas;
    if (!canvas.OpenSoftware(int(w), int(h))) return false;
    SDL_Renderer* r = canvas.renderer.get();
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    const SDL_Rect all{0, 0, int(w), int(h)};
    gfx::RenderList(r, canvas.generation, *device->CurrentList(), all, all, canvas.target);
    SDL_RenderPresent(r);
    return SavePng(canvas.surface.get(), file, why);
}

}  // namespace desktop

namespace platform {
void DrawTurnedPicturesWithSdl(bool withSdl) {
    gfx::UseOwnTriangles(!withSdl);
}
}  // namespace platform
