// The compositor: the game's windows (caption, then the picture last presented into the client
// area) and the open message box put together on one renderer of the screen's size, for the real
// window or for a screenshot.
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"
#include "platform/run/screenshot.h"

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace desktop {
namespace {

// A window's client area on the screen (below its caption).
SDL_Rect ClientRect(const WindowObject& w) {
    return SDL_Rect{w.rect.left, w.rect.top + w.captionHeight, w.rect.right - w.rect.left,
                    w.rect.bottom - w.rect.top - w.captionHeight};
}

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

void Compose(const OwnedRenderer& target, const SDL_Rect* area) {
    SDL_Renderer* r = target.renderer.get();
    const unsigned generation = target.generation;
    State& s = S();
    SDL_RenderSetClipRect(r, area);
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
        const SDL_Rect all{0, 0, s.screenW, s.screenH};
        FillScreenRect(r, area ? *area : all, 0xFF000000u);
    }
    if (!anyVisible && s.messageBox && s.picture) {
        // A box before the game's windows: it stands on the desktop.
        if (sdl::TexturePtr t{SDL_CreateTextureFromSurface(r, s.picture.get())})
            SDL_RenderCopy(r, t.get(), nullptr, nullptr);
    }
    for (WindowObject* w : s.windows) {
        if (!w->visible || w->destroyed) continue;
        SDL_RenderSetClipRect(r, area);
        if (w->captionHeight > 0) DrawCaption(r, *w);
        const SDL_Rect client = ClientRect(*w);
        if (client.w <= 0 || client.h <= 0) continue;
        if (w->content.list)
            gfx::RenderList(r, generation, *w->content.list, w->content.source, client, target.target, area);
        else
            FillScreenRect(r, client, w->background);
    }
    SDL_RenderSetClipRect(r, area);
    if (s.messageBox) DrawMessageBox(r, *s.messageBox);
    SDL_RenderSetClipRect(r, nullptr);
}

namespace {

template <typename T>
void Put(std::string* key, const T& value) {
    key->append(reinterpret_cast<const char*>(&value), sizeof value);
}

SDL_Rect Grown(const SDL_Rect& r, int by) {
    return SDL_Rect{r.x - by, r.y - by, r.w + 2 * by, r.h + 2 * by};
}

bool Contains(const SDL_Rect& outer, const SDL_Rect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

// The items of one window's picture: each command's screen box, clipped to the client area.
void ListItems(const WindowObject& w, const SDL_Rect& client, std::vector<ScreenItem>* out) {
    const gfx::DrawList& list = *w.content.list;
    const SDL_Rect& source = w.content.source;
    if (source.w <= 0 || source.h <= 0) return;
    const float sx = float(client.w) / float(source.w), sy = float(client.h) / float(source.h);
    for (const gfx::DrawCmd& c : list.cmds) {
        ScreenItem item{client, false, {}};
        Put(&item.key, client);
        Put(&item.key, source);
        Put(&item.key, c.kind);
        Put(&item.key, c.color);
        if (c.kind != gfx::DrawCmd::kClear) {
            const int corners = c.kind == gfx::DrawCmd::kLine ? 2 : 4;
            float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
            for (int i = 0; i < corners; ++i) {
                const float X = float(client.x) + (c.x[i] - float(source.x)) * sx;
                const float Y = float(client.y) + (c.y[i] - float(source.y)) * sy;
                left = std::min(left, X), right = std::max(right, X);
                top = std::min(top, Y), bottom = std::max(bottom, Y);
            }
            // A pixel of margin: rounding and filtering reach the neighbours.
            const SDL_Rect box{int(std::floor(left)) - 1, int(std::floor(top)) - 1,
                               int(std::ceil(right) - std::floor(left)) + 3,
                               int(std::ceil(bottom) - std::floor(top)) + 3};
            if (!SDL_IntersectRect(&box, &client, &item.box)) item.box = SDL_Rect{client.x, client.y, 0, 0};
            Put(&item.key, c.x);
            Put(&item.key, c.y);
            Put(&item.key, c.u);
            Put(&item.key, c.v);
            Put(&item.key, c.linear);
            Put(&item.key, static_cast<const void*>(c.texture.get()));
            Put(&item.key, c.texture ? c.texture->version : 0u);
            // Only an upright copy of the texels at their own size is drawn the same when cut.
            const bool upright = c.x[0] == c.x[3] && c.x[1] == c.x[2] && c.y[0] == c.y[1] && c.y[2] == c.y[3];
            const bool ownSize =
                std::fabs(std::fabs(c.x[1] - c.x[0]) * sx - std::fabs(c.u[1] - c.u[0])) < 1e-3f &&
                std::fabs(std::fabs(c.y[3] - c.y[0]) * sy - std::fabs(c.v[3] - c.v[0])) < 1e-3f;
            item.wholeOnly = c.kind == gfx::DrawCmd::kLine || !upright || !ownSize;
        }
        out->push_back(std::move(item));
    }
}

}  // namespace

std::vector<ScreenItem> ScreenItems() {
    State& s = S();
    std::vector<ScreenItem> items;
    const SDL_Rect all{0, 0, s.screenW, s.screenH};
    bool anyVisible = false;
    for (WindowObject* w : s.windows) anyVisible = anyVisible || (w->visible && !w->destroyed);
    {
        // What lies under everything: black, or the desktop under a box that came first.
        ScreenItem ground{all, false, {}};
        Put(&ground.key, anyVisible);
        Put(&ground.key, static_cast<const void*>(s.messageBox));
        items.push_back(std::move(ground));
    }
    for (WindowObject* w : s.windows) {
        if (!w->visible || w->destroyed) continue;
        if (w->captionHeight > 0) {
            ScreenItem caption{
                SDL_Rect{w->rect.left, w->rect.top, w->rect.right - w->rect.left, w->captionHeight}, false,
                w->text};
            Put(&caption.key, caption.box);
            items.push_back(std::move(caption));
        }
        const SDL_Rect client = ClientRect(*w);
        if (client.w <= 0 || client.h <= 0) continue;
        if (w->content.list) {
            ListItems(*w, client, &items);
        } else {
            ScreenItem fill{client, false, {}};
            Put(&fill.key, client);
            Put(&fill.key, w->background);
            items.push_back(std::move(fill));
        }
    }
    if (const MessageBoxView* m = s.messageBox) {
        // Drawn whole, with its shadow.
        ScreenItem box{SDL_Rect{m->box.x, m->box.y, m->box.w + 5, m->box.h + 5}, true,
                       m->text + '\0' + m->caption};
        Put(&box.key, m->box);
        Put(&box.key, m->focus);
        Put(&box.key, m->type);
        for (const auto& b : m->buttons) Put(&box.key, b);
        items.push_back(std::move(box));
    }
    return items;
}

std::vector<SDL_Rect> ChangedAreas(const std::vector<ScreenItem>& before, const std::vector<ScreenItem>& now,
                                   int width, int height) {
    const SDL_Rect screen{0, 0, width, height};
    std::vector<SDL_Rect> areas;
    auto add = [&](const SDL_Rect& r) {
        SDL_Rect c;
        if (r.w > 0 && r.h > 0 && SDL_IntersectRect(&r, &screen, &c)) areas.push_back(c);
    };
    const std::size_t n = std::max(before.size(), now.size());
    for (std::size_t i = 0; i < n; ++i) {
        const ScreenItem* a = i < before.size() ? &before[i] : nullptr;
        const ScreenItem* b = i < now.size() ? &now[i] : nullptr;
        if (a && b && a->key == b->key && SDL_RectEquals(&a->box, &b->box)) continue;
        if (a) add(a->box);
        if (b) add(b->box);
    }
    // Merges overlapping or touching rectangles, then takes in every item that a rectangle would
    // cut but that is drawn right only whole; again, until nothing changes.
    for (int round = 0; round < 32; ++round) {
        bool merged = true;
        while (merged) {
            merged = false;
            for (std::size_t i = 0; i < areas.size() && !merged; ++i)
                for (std::size_t j = i + 1; j < areas.size() && !merged; ++j) {
                    const SDL_Rect near = Grown(areas[i], 8);
                    if (SDL_HasIntersection(&near, &areas[j])) {
                        SDL_UnionRect(&areas[i], &areas[j], &areas[i]);
                        areas.erase(areas.begin() + std::ptrdiff_t(j));
                        merged = true;
                    }
                }
        }
        if (areas.size() > 16) {
            SDL_Rect all = areas[0];
            for (const SDL_Rect& r : areas) SDL_UnionRect(&all, &r, &all);
            areas.assign(1, all);
        }
        bool grew = false;
        for (const ScreenItem& item : now) {
            if (!item.wholeOnly || item.box.w <= 0 || item.box.h <= 0) continue;
            bool cut = false, inside = false;
            for (const SDL_Rect& r : areas) {
                if (Contains(r, item.box))
                    inside = true;
                else if (SDL_HasIntersection(&r, &item.box))
                    cut = true;
            }
            if (cut && !inside) {
                add(item.box);
                grew = true;
            }
        }
        if (!grew) return areas;
    }
    return {screen};
}

std::vector<SDL_Rect> ComposeChanges(const OwnedRenderer& target, ScreenMemory& memory, bool whole) {
    State& s = S();
    std::vector<ScreenItem> items = ScreenItems();
    std::vector<SDL_Rect> areas;
    if (whole || memory.generation != target.generation || memory.width != s.screenW ||
        memory.height != s.screenH) {
        areas.push_back(SDL_Rect{0, 0, s.screenW, s.screenH});
        Compose(target);
    } else {
        areas = ChangedAreas(memory.items, items, s.screenW, s.screenH);
        for (const SDL_Rect& r : areas) Compose(target, &r);
    }
    memory.items = std::move(items);
    memory.generation = target.generation;
    memory.width = s.screenW;
    memory.height = s.screenH;
    return areas;
}

void ShowFrame() {
    State& s = S();
    if (s.headless || !s.windowShown || s.minimized) return;
    // A message box can come before the graphics device: it draws with the software renderer then.
    if (!s.device.renderer && !CreateRenderer(false)) return;
    if (!s.device.presentsTo) {
        // A renderer on graphics hardware: its next back buffer holds nothing of the last frame.
        Compose(s.device);
        s.device.Present();
        return;
    }
    // Drawn in software on the window's own surface, which keeps the last frame: only what changed
    // is drawn again and handed to the display (at 4K most of the screen stays as it was).
    const std::vector<SDL_Rect> areas = ComposeChanges(s.device, s.shown, s.showWhole);
    s.showWhole = false;
    if (!areas.empty()) s.device.Present(&areas);
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
