// The compositor: the game's windows (caption, then the picture last presented into the client
// area) and the open message box put together on one renderer of the screen's size, for the real
// window or for a screenshot.
#include "platform/files/file_handle.h"
#include "platform/locale/language.h"
#include "platform/desktop/desktop_drawing.h"
#include "platform/desktop/desktop_state.h"
#include "platform/desktop/screen_scale.h"
#include "platform/desktop/overlay.h"
#include "platform/desktop/screenshot.h"

#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <vector>

namespace raster = platform::raster;

namespace platform::desktop {
namespace {

// A window's client area on the display (below its caption).
SDL_Rect ClientRect(const WindowObject& w) {
    const RECT at = ShownRect(w);
    return ToDisplay(SDL_Rect{at.left, at.top + w.captionHeight, at.right - at.left,
                              at.bottom - at.top - w.captionHeight});
}

// A window's caption on the display.
SDL_Rect CaptionRect(const WindowObject& w) {
    const RECT at = ShownRect(w);
    return ToDisplay(SDL_Rect{at.left, at.top, at.right - at.left, w.captionHeight});
}

void DrawCaption(SDL_Renderer* r, const WindowObject& w) {
    const RECT at = ShownRect(w);
    const int width = at.right - at.left;
    for (int x = 0; x < width; x += 4) {
        float t = float(x) / float(std::max(1, width));
        int red = int(10 + t * (166 - 10)), green = int(36 + t * (202 - 36)),
            blue = int(106 + t * (240 - 106));
        FillScreenRect(r, ToDisplay({at.left + x, at.top, std::min(4, width - x), w.captionHeight}),
                       0xFF000000u | (red << 16) | (green << 8) | blue);
    }
    DrawTextAt(r, platform::locale::Translated(w.text), ToDisplaySize(13), SDL_Color{255, 255, 255, 255},
               ToDisplayX(at.left + 6), ToDisplayY(at.top + 3), true);
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
    std::string cannot;
    std::FILE* f = platform::files::OpenOutputFile(file, &cannot).release();
    if (!f) return fail(cannot);
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

namespace {

// Round the game's screen, when the window is of another size or shape than it: the painted desktop.
void DrawMargins(SDL_Renderer* r, unsigned generation) {
    State& s = TheScreen();
    const SDL_Rect view = GameView();
    if (view.x == 0 && view.y == 0 && view.w == s.displayW && view.h == s.displayH) return;
    if (!s.margin || s.margin->Width() != s.displayW || s.margin->Height() != s.displayH) {
        s.margin.reset();
        const sdl::SurfacePtr painted =
            PaintedDesktop(s.displayW, s.displayH, double(view.w) / std::max(1, s.screenW), false);
        if (!painted) return;
        auto margin = std::make_shared<raster::TextureData>(s.displayW, s.displayH);
        SDL_BlitSurface(painted.get(), nullptr, margin->surface.get(), nullptr);
        margin->opaque = true;
        margin->Changed();
        s.margin = std::move(margin);
    }
    SDL_Texture* const texture = s.margin->For(r, generation);
    if (!texture) return;
    const SDL_Rect sides[] = {{0, 0, s.displayW, view.y},
                              {0, view.y + view.h, s.displayW, s.displayH - view.y - view.h},
                              {0, view.y, view.x, view.h},
                              {view.x + view.w, view.y, s.displayW - view.x - view.w, view.h}};
    for (const SDL_Rect& side : sides)
        if (side.w > 0 && side.h > 0) SDL_RenderCopy(r, texture, &side, &side);
}

// At a scale, a window whose picture covers it (it starts by clearing) is drawn at its own size on a
// canvas of its own and shown larger from there: cheaper than drawing every picture larger, and at a
// whole-number scale the same. Not the desktop's window, whose picture shows the desktop at the
// display's own pixels.
bool DrawnOnCanvas(const WindowObject& w) {
    const State& s = TheScreen();
    const SDL_Rect view = GameView();
    if ((view.w == s.screenW && view.h == s.screenH) || !w.content.list) return false;
    const std::vector<raster::DrawCmd>& cmds = w.content.list->cmds;
    if (cmds.empty() || cmds.front().kind != raster::DrawCmd::kClear) return false;
    for (const raster::DrawCmd& c : cmds)
        if (c.texture && c.texture->finer) return false;
    return true;
}

void ListItems(const WindowObject& w, const SDL_Rect& client, bool shownFromCanvas,
               std::vector<ScreenItem>* out);

// The window's canvas, with what changed in its picture since drawn again.
WindowCanvas* CanvasOf(const WindowObject& w) {
    WindowCanvas& c = TheScreen().canvases[&w];
    const SDL_Rect& source = w.content.source;
    const SDL_Rect all{0, 0, source.w, source.h};
    std::vector<ScreenItem> items;
    ListItems(w, all, false, &items);
    std::vector<SDL_Rect> areas;
    if (!c.canvas.surface || c.canvas.surface->w != source.w || c.canvas.surface->h != source.h) {
        if (!c.canvas.OpenSoftware(source.w, source.h)) return nullptr;
    }
    if (c.drawn.generation != c.canvas.generation || c.drawn.width != source.w || c.drawn.height != source.h)
        areas.push_back(all);
    else
        areas = ChangedAreas(c.drawn.items, items, source.w, source.h);
    for (const SDL_Rect& area : areas)
        raster::RenderList(c.canvas.renderer.get(), c.canvas.generation, *w.content.list, source, all,
                           c.canvas.target, &area);
    SDL_RenderFlush(c.canvas.renderer.get());
    c.drawn.items = std::move(items);
    c.drawn.generation = c.canvas.generation;
    c.drawn.width = source.w;
    c.drawn.height = source.h;
    return &c;
}

bool SameLayout(const SDL_Surface* a, const SDL_Surface* b) {
    const auto plain = [](Uint32 f) { return f == SDL_PIXELFORMAT_ARGB8888 || f == SDL_PIXELFORMAT_RGB888; };
    return plain(a->format->format) && plain(b->format->format);
}

// Shows a canvas on dest of a software target, only inside clip: each display pixel takes the canvas
// pixel it falls on, or, at a scale of a fraction, a blend of the nearest four. False when it cannot
// (another pixel format; a blended picture that the clip would cut or the target not hold).
bool ShowCanvas(SDL_Surface* from, SDL_Surface* to, const SDL_Rect& dest, const SDL_Rect& clip) {
    if (!SameLayout(from, to) || dest.w <= 0 || dest.h <= 0) return false;
    if (SmoothScale()) {
        const SDL_Rect bounds{0, 0, to->w, to->h};
        SDL_Rect inside;
        if (!SDL_IntersectRect(&dest, &bounds, &inside) || !SDL_RectEquals(&inside, &dest)) return false;
        if (!SDL_IntersectRect(&dest, &clip, &inside) || !SDL_RectEquals(&inside, &dest)) return false;
        SDL_Rect d = dest;
        return SDL_SoftStretchLinear(from, nullptr, to, &d) == 0;
    }
    const SDL_Rect bounds{0, 0, to->w, to->h};
    SDL_Rect area, drawn;
    if (!SDL_IntersectRect(&dest, &clip, &area) || !SDL_IntersectRect(&area, &bounds, &drawn)) return true;
    std::vector<int> columns(std::size_t(drawn.w));
    for (int x = 0; x < drawn.w; ++x)
        columns[std::size_t(x)] = int(std::int64_t(drawn.x + x - dest.x) * from->w / dest.w);
    if (SDL_MUSTLOCK(to)) SDL_LockSurface(to);
    int lastRow = -1;
    const Uint32* lastOut = nullptr;
    for (int y = 0; y < drawn.h; ++y) {
        const int row = int(std::int64_t(drawn.y + y - dest.y) * from->h / dest.h);
        auto* out =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(to->pixels) + (drawn.y + y) * to->pitch) + drawn.x;
        if (row == lastRow) {
            // The same canvas row again: a copy of the display row just made.
            std::memcpy(out, lastOut, std::size_t(drawn.w) * 4);
            continue;
        }
        const auto* in =
            reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(from->pixels) + row * from->pitch);
        for (int x = 0; x < drawn.w; ++x) out[x] = in[columns[std::size_t(x)]];
        lastRow = row;
        lastOut = out;
    }
    if (SDL_MUSTLOCK(to)) SDL_UnlockSurface(to);
    return true;
}

// A window's picture shown from its canvas on a software target; false to draw it directly.
bool ComposeFromCanvas(const OwnedRenderer& target, const WindowObject& w, const SDL_Rect& client,
                       const SDL_Rect* area) {
    if (!target.target || !DrawnOnCanvas(w)) return false;
    WindowCanvas* canvas = CanvasOf(w);
    if (!canvas) return false;
    // What the target's renderer has queued goes first.
    SDL_RenderFlush(target.renderer.get());
    SDL_Rect clip = client;
    if (area && !SDL_IntersectRect(&client, area, &clip)) return true;
    return ShowCanvas(canvas->canvas.target, target.target, client, clip);
}

}  // namespace

void Compose(const OwnedRenderer& target, const SDL_Rect* area) {
    SDL_Renderer* r = target.renderer.get();
    const unsigned generation = target.generation;
    State& s = TheScreen();
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
    // (Window rectangles are on the game's screen; what is drawn is on the display.)
    const bool covered = bottom && bottom->captionHeight == 0 && bottom->rect.left <= 0 &&
                         bottom->rect.top <= 0 && bottom->rect.right >= s.screenW &&
                         bottom->rect.bottom >= s.screenH && bottom->content.list &&
                         !bottom->content.list->cmds.empty() &&
                         bottom->content.list->cmds.front().kind == raster::DrawCmd::kClear;
    if (!covered) {
        const SDL_Rect all{0, 0, s.displayW, s.displayH};
        FillScreenRect(r, area ? *area : all, 0xFF000000u);
    }
    DrawMargins(r, target.generation);
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
        if (w->content.list && ComposeFromCanvas(target, *w, client, area)) continue;
        if (w->content.list)
            raster::RenderList(r, generation, *w->content.list, w->content.source, client, target.target,
                               area, SmoothScale());
        else
            FillScreenRect(r, client, w->background);
    }
    SDL_RenderSetClipRect(r, area);
    if (s.overlay) DrawOverlay(r, *s.overlay);
    if (const std::vector<std::string> notice = NoticeShown(); !notice.empty()) {
        DrawNotice(r, notice);
        SDL_RenderSetClipRect(r, area);
    }
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
void ListItems(const WindowObject& w, const SDL_Rect& client, bool shownFromCanvas,
               std::vector<ScreenItem>* out) {
    const raster::DrawList& list = *w.content.list;
    const SDL_Rect& source = w.content.source;
    if (source.w <= 0 || source.h <= 0) return;
    const float sx = float(client.w) / float(source.w), sy = float(client.h) / float(source.h);
    // Drawn whole at its own size on a canvas, a picture is shown cut anywhere the same (at a
    // whole-number scale: pixel for pixel), or never cut (at a fraction, blended).
    const bool canvas = shownFromCanvas;
    for (const raster::DrawCmd& c : list.cmds) {
        ScreenItem item{client, false, {}};
        Put(&item.key, client);
        Put(&item.key, source);
        Put(&item.key, c.kind);
        Put(&item.key, c.color);
        if (c.kind != raster::DrawCmd::kClear) {
            const int corners = c.kind == raster::DrawCmd::kLine ? 2 : 4;
            float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
            for (int i = 0; i < corners; ++i) {
                left = std::min(left, c.x[i] - float(source.x)),
                right = std::max(right, c.x[i] - float(source.x));
                top = std::min(top, c.y[i] - float(source.y)),
                bottom = std::max(bottom, c.y[i] - float(source.y));
            }
            // A pixel of the picture's margin (rounding and filtering reach the neighbours), on the
            // display.
            const float x0 = std::floor(left) - 1, y0 = std::floor(top) - 1, x1 = std::ceil(right) + 2,
                        y1 = std::ceil(bottom) + 2;
            const int boxLeft = client.x + int(std::floor(x0 * sx)),
                      boxTop = client.y + int(std::floor(y0 * sy));
            const SDL_Rect box{boxLeft, boxTop, client.x + int(std::ceil(x1 * sx)) - boxLeft,
                               client.y + int(std::ceil(y1 * sy)) - boxTop};
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
            // (Texels that the display has finer are drawn from there: the desktop at its own pixels.)
            float texelsW = std::fabs(c.u[1] - c.u[0]), texelsH = std::fabs(c.v[3] - c.v[0]);
            raster::TextureData* finer = nullptr;
            SDL_Rect fine;
            if (c.texture && upright &&
                raster::FinerSource(*c.texture, std::min(c.u[0], c.u[1]), std::min(c.v[0], c.v[3]), texelsW,
                                    texelsH, &finer, &fine))
                texelsW = float(fine.w), texelsH = float(fine.h);
            const bool ownSize = std::fabs(std::fabs(c.x[1] - c.x[0]) * sx - texelsW) < 1e-3f &&
                                 std::fabs(std::fabs(c.y[3] - c.y[0]) * sy - texelsH) < 1e-3f;
            item.wholeOnly =
                canvas ? SmoothScale() : c.kind == raster::DrawCmd::kLine || !upright || !ownSize;
        }
        out->push_back(std::move(item));
    }
}

}  // namespace

std::vector<ScreenItem> ScreenItems() {
    State& s = TheScreen();
    std::vector<ScreenItem> items;
    const SDL_Rect all{0, 0, s.displayW, s.displayH};
    bool anyVisible = false;
    for (WindowObject* w : s.windows) anyVisible = anyVisible || (w->visible && !w->destroyed);
    {
        // What lies under everything: black, or the desktop under a box that came first.
        ScreenItem ground{all, false, {}};
        Put(&ground.key, anyVisible);
        Put(&ground.key, GameView());
        Put(&ground.key, static_cast<const void*>(s.messageBox));
        items.push_back(std::move(ground));
    }
    for (WindowObject* w : s.windows) {
        if (!w->visible || w->destroyed) continue;
        if (w->captionHeight > 0) {
            ScreenItem caption{CaptionRect(*w), false, w->text};
            Put(&caption.key, caption.box);
            items.push_back(std::move(caption));
        }
        const SDL_Rect client = ClientRect(*w);
        if (client.w <= 0 || client.h <= 0) continue;
        if (w->content.list) {
            ListItems(*w, client, DrawnOnCanvas(*w), &items);
        } else {
            ScreenItem fill{client, false, {}};
            Put(&fill.key, client);
            Put(&fill.key, w->background);
            items.push_back(std::move(fill));
        }
    }
    if (const OverlayView* o = s.overlay) {
        // The veil covers everything: drawn whole.
        ScreenItem veil{all, true, {}};
        Put(&veil.key, o->kind);
        Put(&veil.key, o->version);
        Put(&veil.key, o->focus);
        Put(&veil.key, o->page);
        items.push_back(std::move(veil));
    }
    if (const std::vector<std::string> notice = NoticeShown(); !notice.empty()) {
        // The start-up notice, at the top of the display: drawn whole.
        ScreenItem note{
            SDL_Rect{0, 0, s.displayW, ToDisplaySize(8 + 24) + int(notice.size()) * ToDisplaySize(19)},
            true,
            {}};
        for (const std::string& line : notice) note.key += line + '\n';
        items.push_back(std::move(note));
    }
    if (const MessageBoxView* m = s.messageBox) {
        // Drawn whole, with its shadow.
        ScreenItem box{ToDisplay(SDL_Rect{m->box.x, m->box.y, m->box.w + 5, m->box.h + 5}), true,
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
    State& s = TheScreen();
    std::vector<ScreenItem> items = ScreenItems();
    std::vector<SDL_Rect> areas;
    if (whole || memory.generation != target.generation || memory.width != s.displayW ||
        memory.height != s.displayH) {
        areas.push_back(SDL_Rect{0, 0, s.displayW, s.displayH});
        Compose(target);
    } else {
        areas = ChangedAreas(memory.items, items, s.displayW, s.displayH);
        for (const SDL_Rect& r : areas) Compose(target, &r);
    }
    memory.items = std::move(items);
    memory.generation = target.generation;
    memory.width = s.displayW;
    memory.height = s.displayH;
    return areas;
}

void ShowFrame() {
    State& s = TheScreen();
    if (s.headless || !s.windowShown || s.minimized) return;
    // A message box can come before the graphics device: it draws with the software renderer then.
    if (!s.device.renderer && !CreateRenderer(false)) return;
    if (!s.device.presentsTo) {
        // A renderer on graphics hardware: its next back buffer holds nothing of the last frame.
        Compose(s.device);
        LimitFlashing(s.device.renderer.get(), s.displayW, s.displayH);
        s.device.Present();
        return;
    }
    // Drawn in software on the window's own surface, which keeps the last frame: only what changed
    // is drawn again and handed to the display (at 4K most of the screen stays as it was).
    const std::vector<SDL_Rect> areas = ComposeChanges(s.device, s.shown, s.showWhole);
    s.showWhole = false;
    if (LimitFlashing(s.device.renderer.get(), s.displayW, s.displayH))
        s.device.Present();
    else if (!areas.empty())
        s.device.Present(&areas);
}

bool CanDrawScreen() {
    State& s = TheScreen();
    return !s.headless && s.window && (s.device.renderer || CreateRenderer(false));
}

bool SaveScreen(const std::string& file, std::string* why) {
    return SavePng(ComposeToSurface(), file, why);
}

SDL_Surface* ComposeToSurface() {
    State& s = TheScreen();
    // Headless, the device itself draws on a memory surface; a real window's screen is put
    // together again off screen.
    OwnedRenderer& target = s.headless && s.device.renderer ? s.device : s.shot;
    if (!target.renderer && !target.OpenSoftware(s.displayW, s.displayH)) return nullptr;
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
    raster::RenderList(r, canvas.generation, *device->CurrentList(), all, all, canvas.target);
    SDL_RenderPresent(r);
    return SavePng(canvas.surface.get(), file, why);
}

}  // namespace platform::desktop

namespace platform {
void DrawTurnedPicturesWithSdl(bool withSdl) {
    raster::UseOwnTriangles(!withSdl);
}
}  // namespace platform
