// rushmora-posesheet: draws the game's own figure in its poses and frames, with the player's look
// and each passer-by's, into one PNG, so that one can see whether the body-part pictures in
// data/Texture join at the shoulders, elbows, hips and knees.
//
// The sheet is made of groups, one per look, pose and way of drawing (facing right or left, at full
// size or at the size of the farthest ground line), each figure standing on its ground line (y + 150)
// with its frame number under it. By default every frame of every pose is drawn twice, facing right
// and facing left, and the looks take turns (see Shown); --look draws one look in every frame and
// way, --all every look in every frame and way. A first pass measures the room each figure takes with
// the pictures at hand, so the sheet packs tightly whatever their sizes.
#include "figure/draw_character.h"
#include "figure/pose_table.h"
#include "platform/runtime.h"
#include "platform/desktop/screenshot.h"
#include "app/game_app.h"
#include "shell/win_main.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---- what the sheet shows ---------------------------------------------------------------------------

struct Look {
    const char* name;
    int partSlots[kPartCount];
    int heldItem;
    int isPlayer;
};

// Dressed as the game scene dresses them: the player with his bag, the three passer-by looks empty-handed.
constexpr Look kLooks[] = {
    {"player", {5, 6, 7, 11, 9, 12, 8}, 1, 1},
    {"t1", {30, 31, 32, 33, 34, 35, 36}, 0, 0},
    {"t2", {37, 38, 39, 40, 41, 42, 43}, 0, 0},
    {"t3", {46, 47, 48, 49, 50, 51, 52}, 0, 0},
};
constexpr int kLookCount = 4;

struct Picture {
    int slot;
    const char* file;
};

// The slots of the game scene that the figures read.
constexpr Picture kPictures[] = {
    {5, "Texture/atama.png"},      {6, "Texture/karada.png"},     {7, "Texture/ude1.png"},
    {8, "Texture/kosi.png"},       {9, "Texture/asi1.png"},       {11, "Texture/ude2.png"},
    {12, "Texture/asi2.png"},      {30, "Texture/t1_atama.png"},  {31, "Texture/t1_karada.png"},
    {32, "Texture/t1_ude1.png"},   {33, "Texture/t1_ude2.png"},   {34, "Texture/t1_asi1.png"},
    {35, "Texture/t1_asi2.png"},   {36, "Texture/t1_kosi.png"},   {37, "Texture/t2_atama.png"},
    {38, "Texture/t2_karada.png"}, {39, "Texture/t2_ude1.png"},   {40, "Texture/t2_ude2.png"},
    {41, "Texture/t2_asi1.png"},   {42, "Texture/t2_asi2.png"},   {43, "Texture/t2_kosi.png"},
    {46, "Texture/t3_atama.png"},  {47, "Texture/t3_karada.png"}, {48, "Texture/t3_ude1.png"},
    {49, "Texture/t3_ude2.png"},   {50, "Texture/t3_asi1.png"},   {51, "Texture/t3_asi2.png"},
    {52, "Texture/t3_kosi.png"},   {56, "Texture/bag.png"},       {57, "Texture/kasa.png"},
    {61, "Texture/atama2.png"},    {62, "Texture/atama3.png"},
};

const char* const kPoseNames[kPoseCount] = {"walk",     "jump",  "stumble",      "attack 1", "attack 2",
                                            "attack 3", "slide", "knocked away", "stand",    "dash"};

// The ways of drawing: facing right and left, at full size and at the size of the farthest ground
// line (240, where the game draws a figure at 1 - 70 x 0.004).
struct Way {
    int facingLeft;
    float scale;
    const char* name;
};
constexpr float kFarthestScale = static_cast<float>(1.0 - (310 - 240) * 0.004);
const Way kWays[] = {
    {0, 1.0f, "right 1.00"},
    {1, 1.0f, "left 1.00"},
    {0, kFarthestScale, "right 0.72"},
    {1, kFarthestScale, "left 0.72"},
};
constexpr int kWayCount = 4;

// ---- layout -----------------------------------------------------------------------------------------

// Room a figure takes around its position (x, y): its painted texels, measured with the pictures.
struct Extent {
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    bool Empty() const { return left > right; }
    void Add(float x, float y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
};

// One look in one pose, drawn one way, in some of the frames.
struct Group {
    int look, pose, way;
    std::vector<int> frames;
    std::vector<Extent> room;  // per frame, filled by the first pass
};

struct Figure {
    int look, pose, frame, way;
    int x, y;
};

struct Label {
    std::string text;
    int x, y;
    D3DCOLOR color;
};

struct Line {  // the ground line under a figure
    int x, y, width;
};

struct Sheet {
    int width = 0, height = 0;
    std::vector<Figure> figures;
    std::vector<Label> labels;
    std::vector<Line> lines;
};

constexpr int kMargin = 12;
constexpr int kLabelHeight = 16;
constexpr int kLabelCharWidth = 7;
constexpr int kFigureGap = 8;
constexpr int kGroupGap = 28;
constexpr int kLineGap = 6;
constexpr int kSheetWidth = 2600;
constexpr D3DCOLOR kBackground = D3DCOLOR_ARGB(255, 214, 220, 228);
constexpr D3DCOLOR kGroundLine = 0xFF8890A0;
constexpr D3DCOLOR kGroupText = 0xFF000000;
constexpr D3DCOLOR kFrameText = 0xFF405070;

// Poses in sheet order: the knocked-away turn, the tallest, last, so that it shares its lines.
constexpr int kPoseOrder[kPoseCount] = {0, 1, 2, 3, 4, 5, 6, 8, 9, 7};

// The default sheet: every frame of every pose drawn facing right and facing left, at full size in
// frames 0-3, 8-11 and 16-19 and at the far size in the others, each time by another look; the four
// looks take turns so that each shows in every pose, facing either way, at either size.
bool Shown(int look, int frame, int way) {
    const int size = way / 2;
    return (frame + look) % kWayCount == way && (frame / 4 + size) % 2 == 0;
}

// Look by look, full size before small, so that a line holds figures of one size.
std::vector<Group> MakeGroups(bool all, int onlyLook) {
    std::vector<Group> groups;
    for (int look = 0; look < kLookCount; ++look) {
        if (onlyLook >= 0 && look != onlyLook) continue;
        for (int size = 0; size < 2; ++size) {
            for (int pose : kPoseOrder) {
                for (int way = 2 * size; way < 2 * size + 2; ++way) {
                    Group g{look, pose, way, {}, {}};
                    for (int frame = 0; frame < kPoseFrameCount; ++frame) {
                        if (all || onlyLook >= 0 || Shown(look, frame, way)) g.frames.push_back(frame);
                    }
                    groups.push_back(g);
                }
            }
        }
    }
    return groups;
}

std::string GroupName(const Group& g) {
    return std::string(kLooks[g.look].name) + " / " + std::to_string(g.pose) + " " + kPoseNames[g.pose] +
           " / " + kWays[g.way].name;
}

// Figures flow left to right and wrap onto the next line when the sheet is full. The figures of a
// line stand on one ground line with their frame numbers under it; each group is named above its first
// figure on a line.
Sheet LayOut(const std::vector<Group>& groups) {
    struct Item {
        const Group* group;
        std::size_t index;  // into the group's frames
        int width;
        bool opensGroup;
        bool opensSection;  // a new look or size starts a new line
    };
    std::vector<Item> items;
    const Group* previous = nullptr;
    for (const Group& g : groups) {
        const bool section = previous && (g.look != previous->look || g.way / 2 != previous->way / 2);
        for (std::size_t k = 0; k < g.frames.size(); ++k) {
            const Extent& e = g.room[k];
            const int width = static_cast<int>(std::ceil(e.right) - std::floor(e.left)) + kFigureGap;
            items.push_back({&g, k, width, k == 0, k == 0 && section});
        }
        if (!g.frames.empty()) previous = &g;
    }

    Sheet sheet;
    int lineTop = kMargin;
    int sheetWidth = 0;
    std::size_t i = 0;
    while (i < items.size()) {
        // One line: as many figures as fit. A group's name needs room up to the next group's name.
        std::vector<int> xs;
        int x = kMargin;
        int labelEnd = kMargin;
        std::size_t end = i;
        for (; end < items.size(); ++end) {
            const Item& item = items[end];
            int left = x;
            const bool named = item.opensGroup || end == i;
            if (item.opensGroup && end > i) left += kGroupGap;
            if (named) left = std::max(left, labelEnd);
            if (end > i && (item.opensSection || left + item.width > kSheetWidth)) break;
            xs.push_back(left);
            if (named)
                labelEnd = left + kLabelCharWidth * static_cast<int>(GroupName(*item.group).size()) + 12;
            x = left + item.width;
        }
        float above = 0, below = 0;
        for (std::size_t j = i; j < end; ++j) {
            const Extent& e = items[j].group->room[items[j].index];
            above = std::max(above, 150.0f - e.top);
            below = std::max(below, e.bottom - 150.0f);
        }
        const int feet = lineTop + kLabelHeight + static_cast<int>(std::ceil(above));
        for (std::size_t j = i; j < end; ++j) {
            const Item& item = items[j];
            const Group& g = *item.group;
            const Extent& e = g.room[item.index];
            const int left = xs[j - i];
            const int frame = g.frames[item.index];
            if (item.opensGroup || j == i) sheet.labels.push_back({GroupName(g), left, lineTop, kGroupText});
            sheet.figures.push_back(
                {g.look, g.pose, frame, g.way, left - static_cast<int>(std::floor(e.left)), feet - 150});
            sheet.lines.push_back({left, feet, item.width - kFigureGap});
            sheet.labels.push_back({std::to_string(frame), left, feet + 1, kFrameText});
            sheetWidth = std::max(sheetWidth, left + item.width);
        }
        lineTop = feet + std::max(static_cast<int>(std::ceil(below)), kLabelHeight) + kLineGap;
        i = end;
    }
    sheet.width = sheetWidth + kMargin;
    sheet.height = lineTop + kMargin;
    return sheet;
}

// ---- drawing ----------------------------------------------------------------------------------------

LRESULT CALLBACK SheetWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

struct Session {
    HWND window = nullptr;
    bool started = false;
};

bool Open(Session* s, const std::string& dataDir, int width, int height, std::string* error) {
    platform::RuntimeOptions options;
    options.headless = true;
    options.screenWidth = width;
    options.screenHeight = height;
    options.dataDir = dataDir;
    int exitCode = 0;
    if (!platform::Start(options, error, &exitCode)) return false;
    s->started = true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SheetWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RushmoraPoseSheet";
    RegisterClassExA(&wc);
    s->window = CreateWindowExA(0, wc.lpszClassName, "pose sheet", WS_POPUP, 0, 0, width, height, nullptr,
                                nullptr, wc.hInstance, nullptr);
    if (!s->window) {
        *error = "cannot create the drawing window";
        return false;
    }
    if (!GameApp::Get().graphics.Init(s->window, width, height, D3DFMT_X8R8G8B8, 0)) {
        *error = "cannot start the graphics device";
        return false;
    }
    for (const Picture& p : kPictures) LoadTextureSlot(p.slot, p.file);
    return true;
}

void Close(Session* s) {
    GameApp& app = GameApp::Get();
    for (const Picture& p : kPictures) {
        if (app.textures[p.slot]) app.textures[p.slot]->Release();
        app.textures[p.slot] = nullptr;
    }
    if (app.graphics.device) app.graphics.Release();
    if (s->window) DestroyWindow(s->window);
    s->window = nullptr;
    if (s->started) platform::Stop();
    s->started = false;
}

void Dress(DrawCharacter* figure, int look, int pose, int frame, int way, int x, int y) {
    figure->init(x, y);
    std::memcpy(figure->partSlots, kLooks[look].partSlots, sizeof figure->partSlots);
    figure->heldItem = kLooks[look].heldItem;
    figure->isPlayer = kLooks[look].isPlayer;
    figure->scale = kWays[way].scale;
    figure->facingLeft = kWays[way].facingLeft;
    figure->pose = pose;
    figure->frame = frame;
    figure->frameBack = 0;
    figure->vx = figure->vy = figure->dx = figure->dy = figure->flying = 0;
    figure->groundY = y;
}

// The painted part of a texture (alpha above zero), in texels; empty when it is all clear.
RECT PaintedRect(IDirect3DTexture9* texture) {
    RECT painted = {0, 0, 0, 0};
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT locked;
    if (FAILED(texture->GetLevelDesc(0, &desc))) return painted;
    const bool hasAlpha = desc.Format == D3DFMT_A8R8G8B8;
    if (!hasAlpha) return RECT{0, 0, LONG(desc.Width), LONG(desc.Height)};
    if (FAILED(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY))) {
        return RECT{0, 0, LONG(desc.Width), LONG(desc.Height)};
    }
    LONG left = LONG(desc.Width), top = LONG(desc.Height), right = 0, bottom = 0;
    for (UINT v = 0; v < desc.Height; ++v) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const char*>(locked.pBits) +
                                                                 std::size_t(v) * std::size_t(locked.Pitch));
        for (UINT u = 0; u < desc.Width; ++u) {
            if ((row[u] >> 24) == 0) continue;
            left = std::min(left, LONG(u));
            right = std::max(right, LONG(u) + 1);
            top = std::min(top, LONG(v));
            bottom = std::max(bottom, LONG(v) + 1);
        }
    }
    texture->UnlockRect(0);
    if (left < right) painted = RECT{left, top, right, bottom};
    return painted;
}

// Draws every figure of the sheet at (0, 0) through the sprite's log and keeps the room its painted
// texels take.
void Measure(std::vector<Group>* groups) {
    GameApp& app = GameApp::Get();
    std::vector<std::pair<IDirect3DTexture9*, RECT>> painted;
    for (const Picture& p : kPictures) {
        if (app.textures[p.slot])
            painted.emplace_back(app.textures[p.slot], PaintedRect(app.textures[p.slot]));
    }
    std::vector<SpriteDrawRecord> log;
    IDirect3DDevice9* device = app.graphics.device;
    device->BeginScene();
    app.graphics.sprite->SetLog(&log);
    app.graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    DrawCharacter figure;
    for (Group& g : *groups) {
        for (int frame : g.frames) {
            log.clear();
            Dress(&figure, g.look, g.pose, frame, g.way, 0, 0);
            figure.draw();
            Extent e;
            for (const SpriteDrawRecord& r : log) {
                RECT p = {0, 0, 0, 0};
                for (const auto& entry : painted) {
                    if (entry.first == r.texture) p = entry.second;
                }
                const LONG l = std::max(p.left, r.rect.left), t = std::max(p.top, r.rect.top);
                const LONG rr = std::min(p.right, r.rect.right), b = std::min(p.bottom, r.rect.bottom);
                if (l >= rr || t >= b) continue;
                const float us[2] = {float(l - r.rect.left), float(rr - r.rect.left)};
                const float vs[2] = {float(t - r.rect.top), float(b - r.rect.top)};
                for (float u : us) {
                    for (float v : vs) {
                        const D3DXMATRIX& m = r.transform;
                        e.Add(u * m._11 + v * m._21 + m._41, u * m._12 + v * m._22 + m._42);
                    }
                }
            }
            // Without pictures there is nothing to measure: keep room for a figure of the usual size.
            if (e.Empty()) e = Extent{-30, -10, 80, 150};
            // The ground line is drawn at y + 150, a frame number wide at least.
            e.bottom = std::max(e.bottom, 151.0f);
            e.right = std::max(e.right, e.left + 16.0f);
            g.room.push_back(e);
        }
    }
    app.graphics.sprite->End();
    app.graphics.sprite->SetLog(nullptr);
    device->EndScene();
}

// A one-texel white picture for the ground lines.
IDirect3DTexture9* WhiteTexel(IDirect3DDevice9* device) {
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(D3DXCreateTexture(device, 1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture)))
        return nullptr;
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(texture->LockRect(0, &locked, nullptr, 0))) {
        *static_cast<std::uint32_t*>(locked.pBits) = 0xFFFFFFFF;
        texture->UnlockRect(0);
    }
    return texture;
}

void DrawSheet(const Sheet& sheet) {
    GameApp& app = GameApp::Get();
    IDirect3DDevice9* device = app.graphics.device;
    ID3DXSprite* sprite = app.graphics.sprite;
    IDirect3DTexture9* white = WhiteTexel(device);
    device->BeginScene();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kBackground, 1.0f, 0);
    if (SUCCEEDED(sprite->Begin(D3DXSPRITE_ALPHABLEND))) {
        app.graphics.SetAlphaBlend();
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
        D3DXMATRIX m, step;
        for (const Line& line : sheet.lines) {
            D3DXMatrixScaling(&m, float(line.width), 1.0f, 1.0f);
            m *= *D3DXMatrixTranslation(&step, float(line.x), float(line.y), 0.0f);
            sprite->SetTransform(&m);
            sprite->Draw(white, nullptr, nullptr, nullptr, kGroundLine);
        }
        D3DXMatrixIdentity(&m);
        sprite->SetTransform(&m);
        for (const Label& label : sheet.labels) {
            RECT r = {label.x, label.y, label.x + 400, label.y + kLabelHeight};
            app.graphics.font->DrawTextA(sprite, label.text.c_str(), -1, &r, 0, label.color);
        }
        DrawCharacter figure;
        for (const Figure& f : sheet.figures) {
            Dress(&figure, f.look, f.pose, f.frame, f.way, f.x, f.y);
            figure.draw();
        }
        sprite->End();
    }
    device->EndScene();
    if (white) white->Release();
}

void Usage(std::FILE* to) {
    std::fputs(
        "usage: rushmora-posesheet [--data DIR] [--out FILE] [--all] [--look NAME]\n"
        "Draws the figure in every pose and frame into one PNG.\n"
        "  --data DIR   the data folder holding Texture/ (default: the game's own)\n"
        "  --out FILE   the PNG to write (default: posesheet.png)\n"
        "  --all        every frame in every look and way of drawing (a large sheet)\n"
        "  --look NAME  only one look, every frame: player, t1, t2 or t3\n",
        to);
}

}  // namespace

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    std::string dataDir, out = "posesheet.png";
    bool all = false;
    int onlyLook = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--data" && hasValue) {
            dataDir = argv[++i];
        } else if (arg == "--out" && hasValue) {
            out = argv[++i];
        } else if (arg == "--all") {
            all = true;
        } else if (arg == "--look" && hasValue) {
            const std::string name = argv[++i];
            for (int k = 0; k < kLookCount; ++k) {
                if (name == kLooks[k].name) onlyLook = k;
            }
            if (onlyLook < 0) {
                std::fprintf(stderr, "rushmora-posesheet: no look named %s\n", name.c_str());
                return 2;
            }
        } else if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "rushmora-posesheet: unknown or incomplete option %s\n", arg.c_str());
            Usage(stderr);
            return 2;
        }
    }
    // The platform makes the data folder the working directory: fix the paths first.
    std::error_code ec;
    out = std::filesystem::absolute(out, ec).string();
    if (!dataDir.empty()) dataDir = std::filesystem::absolute(dataDir, ec).string();

    std::vector<Group> groups = MakeGroups(all, onlyLook);
    std::string error;

    // First pass: how much room each figure takes with these pictures.
    std::vector<std::string> missing;
    {
        Session s;
        if (!Open(&s, dataDir, 64, 64, &error)) {
            std::fprintf(stderr, "rushmora-posesheet: %s\n", error.c_str());
            Close(&s);
            return 1;
        }
        for (const Picture& p : kPictures) {
            if (!GameApp::Get().textures[p.slot]) missing.push_back(p.file);
        }
        Measure(&groups);
        Close(&s);
    }

    // Second pass: the sheet itself, on a screen of its size.
    const Sheet sheet = LayOut(groups);
    Session s;
    if (!Open(&s, dataDir, sheet.width, sheet.height, &error)) {
        std::fprintf(stderr, "rushmora-posesheet: %s\n", error.c_str());
        Close(&s);
        return 1;
    }
    DrawSheet(sheet);
    const bool saved = platform::SaveBackBufferPng(GameApp::Get().graphics.device, out);
    Close(&s);
    if (!saved) {
        std::fprintf(stderr, "rushmora-posesheet: cannot write %s\n", out.c_str());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("wrote %s: %d x %d, %zu figures, %.2f s\n", out.c_str(), sheet.width, sheet.height,
                sheet.figures.size(), seconds);
    if (!missing.empty()) {
        std::printf("missing pictures (drawn as gaps):");
        for (const std::string& m : missing) std::printf(" %s", m.c_str());
        std::printf("\n");
    }
    return 0;
}
