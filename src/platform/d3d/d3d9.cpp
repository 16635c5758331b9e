#include "platform/d3d9.h"
#include "platform/win32/win32_internal.h"

#include "platform/d3dx9.h"
#include "platform/desktop/desktop.h"
#include "platform/common/text.h"
#include "platform/raster/draw_list.h"
#include "platform/runtime.h"
#include "platform/settings/settings.h"

#include <cmath>
#include <cstring>

namespace desktop = platform::desktop;
namespace raster = platform::raster;

namespace {

bool AliveWindow(HWND hwnd) {
    return IsWindow(hwnd) != FALSE;
}

void ForceOpaque(raster::TextureData& data) {
    if (!data.MakeOwn()) return;
    SDL_Surface* s = data.surface.get();
    if (!s) return;
    for (int y = 0; y < s->h; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) row[x] |= 0xFF000000u;
    }
}

// A stored state, or 0 for one that was never set.
DWORD StoredOrZero(const std::map<DWORD, DWORD>& states, DWORD key) {
    auto it = states.find(key);
    return it == states.end() ? 0 : it->second;
}

D3DMATRIX Identity() {
    D3DMATRIX m;
    std::memset(&m, 0, sizeof m);
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float v = 0;
            for (int k = 0; k < 4; ++k) v += a.m[i][k] * b.m[k][j];
            r.m[i][j] = v;
        }
    return r;
}

// The largest texture side, as the Direct3D 9 cards of the game's time reported it (4096 or 8192):
// a texture, or a picture loaded into one, of more texels a side is refused.
constexpr DWORD kMaxTextureSide = 8192;

void FillCaps(D3DDEVTYPE type, D3DCAPS9* caps) {
    *caps = D3DCAPS9{};
    caps->DeviceType = type;
    caps->AdapterOrdinal = D3DADAPTER_DEFAULT;
    caps->MaxTextureWidth = kMaxTextureSide;
    caps->MaxTextureHeight = kMaxTextureSide;
}

}  // namespace

// ---- Direct3D object ----------------------------------------------------------------------------------

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION || desktop::ScreenWidth() <= 0) return nullptr;
    return new IDirect3D9;
}

HRESULT IDirect3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || !mode) return D3DERR_INVALIDCALL;
    mode->Width = UINT(desktop::ScreenWidth());
    mode->Height = UINT(desktop::ScreenHeight());
    mode->RefreshRate = 60;
    mode->Format = D3DFMT_X8R8G8B8;
    return D3D_OK;
}

HRESULT IDirect3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
    if (adapter != D3DADAPTER_DEFAULT || !caps) return D3DERR_INVALIDCALL;
    if (type != D3DDEVTYPE_HAL && type != D3DDEVTYPE_REF && type != D3DDEVTYPE_SW) return D3DERR_INVALIDCALL;
    FillCaps(type, caps);
    return D3D_OK;
}

HRESULT IDirect3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                 D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) {
    if (!device || !params || adapter != D3DADAPTER_DEFAULT) return D3DERR_INVALIDCALL;
    if (!(behaviorFlags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_SOFTWARE_VERTEXPROCESSING)))
        return D3DERR_INVALIDCALL;
    HWND window = params->hDeviceWindow ? params->hDeviceWindow : focusWindow;
    if (!AliveWindow(window)) return D3DERR_INVALIDCALL;
    // The hardware device is SDL's accelerated renderer; the reference device its software one.
    if (type == D3DDEVTYPE_HAL) {
        if (!desktop::CreateRenderer(true)) return D3DERR_NOTAVAILABLE;
    } else if (type == D3DDEVTYPE_REF || type == D3DDEVTYPE_SW) {
        if (!desktop::CreateRenderer(false)) return D3DERR_NOTAVAILABLE;
    } else {
        return D3DERR_INVALIDCALL;
    }
    *device = new IDirect3DDevice9(focusWindow, type, *params);
    return D3D_OK;
}

// ---- device
// -------------------------------------------------------------------------------------------------

IDirect3DDevice9::IDirect3DDevice9(HWND focusWindow, D3DDEVTYPE type, const D3DPRESENT_PARAMETERS& params)
    : focusWindow_(focusWindow), type_(type), params_(params) {
    seenResetCount_ = desktop::ResetCount();
    ResetState();
}

IDirect3DDevice9::~IDirect3DDevice9() = default;

void IDirect3DDevice9::ResetState() {
    HWND window = params_.hDeviceWindow ? params_.hDeviceWindow : focusWindow_;
    RECT client{0, 0, 0, 0};
    GetClientRect(window, &client);
    backWidth_ = params_.BackBufferWidth ? params_.BackBufferWidth : UINT(client.right);
    backHeight_ = params_.BackBufferHeight ? params_.BackBufferHeight : UINT(client.bottom);
    // The defaults of a new device.
    renderStates_.clear();
    renderStates_[D3DRS_ZENABLE] = params_.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    renderStates_[D3DRS_ZWRITEENABLE] = TRUE;
    renderStates_[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    renderStates_[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    renderStates_[D3DRS_CULLMODE] = D3DCULL_CCW;
    renderStates_[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    renderStates_[D3DRS_LIGHTING] = TRUE;
    stageStates_.clear();
    stageStates_[D3DTSS_COLOROP] = D3DTOP_MODULATE;
    stageStates_[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    stageStates_[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    stageStates_[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
    stageStates_[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    stageStates_[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    samplerStates_.clear();
    samplerStates_[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
    samplerStates_[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    samplerStates_[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    transforms_.clear();
    lights_.clear();
    lightEnabled_.clear();
    std::memset(textures_, 0, sizeof textures_);
    fvf_ = 0;
    inScene_ = false;
    list_ = std::make_shared<raster::DrawList>();
}

HRESULT IDirect3DDevice9::TestCooperativeLevel() {
    if (desktop::DisplayAway()) return D3DERR_DEVICELOST;
    if (desktop::ResetCount() != seenResetCount_) return D3DERR_DEVICENOTRESET;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::Reset(D3DPRESENT_PARAMETERS* params) {
    if (!params) return D3DERR_INVALIDCALL;
    if (desktop::DisplayAway()) return D3DERR_DEVICELOST;
    params_ = *params;
    seenResetCount_ = desktop::ResetCount();
    ResetState();
    return D3D_OK;
}

namespace {

// Whether a picture file is one of those named (a name, or the start of several names), whichever
// way its separators lean and its letters are written.
bool NamedAmong(const std::string& file, const std::vector<const char*>& names) {
    const std::string f = platform::text::PlainDataName(file);
    for (const char* name : names)
        if (name && f.rfind(platform::text::PlainDataName(name), 0) == 0) return true;
    return false;
}

std::shared_ptr<const raster::DrawList> CalmOverTheDesktop(const WindowObject* window,
                                                           const std::shared_ptr<raster::DrawList>& list) {
    // Reduce motion: over the desktop (the window without a caption that covers the whole screen),
    // the pictures the game flies across it are shown at a third of their strength.
    const std::vector<const char*>& calm = platform::Options().calmPictures;
    if (!list || calm.empty() || !platform::settings::CurrentSettings().reduceMotion ||
        window->captionHeight != 0 || window->rect.left > 0 || window->rect.top > 0 ||
        window->rect.right < desktop::ScreenWidth() || window->rect.bottom < desktop::ScreenHeight())
        return list;
    std::shared_ptr<raster::DrawList> calmer;
    for (std::size_t i = 0; i < list->cmds.size(); ++i) {
        const raster::DrawCmd& c = list->cmds[i];
        if (c.kind != raster::DrawCmd::kQuad || !c.texture || !NamedAmong(c.texture->file, calm)) continue;
        if (!calmer) calmer = std::make_shared<raster::DrawList>(*list);
        D3DCOLOR& colour = calmer->cmds[i].color;
        colour = (colour & 0x00FFFFFFu) | (((colour >> 24) / 3) << 24);
    }
    return calmer ? calmer : list;
}

}  // namespace

HRESULT IDirect3DDevice9::Present(const RECT* sourceRect, const RECT*, HWND destWindow, const void*) {
    if (desktop::DisplayAway() || desktop::ResetCount() != seenResetCount_) return D3DERR_DEVICELOST;
    HWND target = destWindow ? destWindow : (params_.hDeviceWindow ? params_.hDeviceWindow : focusWindow_);
    if (!AliveWindow(target)) return D3DERR_INVALIDCALL;
    SDL_Rect src{0, 0, int(backWidth_), int(backHeight_)};
    if (sourceRect)
        src = SDL_Rect{sourceRect->left, sourceRect->top, sourceRect->right - sourceRect->left,
                       sourceRect->bottom - sourceRect->top};
    target->content.list = CalmOverTheDesktop(target, list_);
    target->content.source = src;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::BeginScene() {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::EndScene() {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

raster::DrawList& IDirect3DDevice9::Writable() {
    // A list already shown in a window stays as it was: drawing goes on in a copy.
    if (list_.use_count() > 1) list_ = std::make_shared<raster::DrawList>(*list_);
    return *list_;
}

HRESULT IDirect3DDevice9::Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR color, float, DWORD) {
    if (count > 0 && !rects) return D3DERR_INVALIDCALL;
    if (!(flags & D3DCLEAR_TARGET)) return D3D_OK;
    if (count == 0) {
        // The whole target: what was drawn before is gone.
        list_ = std::make_shared<raster::DrawList>();
        raster::DrawCmd c{};
        c.kind = raster::DrawCmd::kClear;
        c.color = color;
        list_->cmds.push_back(c);
        return D3D_OK;
    }
    return D3DERR_INVALIDCALL;
}

HRESULT IDirect3DDevice9::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    renderStates_[state] = value;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (!value) return D3DERR_INVALIDCALL;
    *value = StoredOrZero(renderStates_, state);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stage >= 8) return D3DERR_INVALIDCALL;
    stageStates_[(stage << 16) | type] = value;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    if (sampler >= 16) return D3DERR_INVALIDCALL;
    samplerStates_[(sampler << 16) | type] = value;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    if (!matrix) return D3DERR_INVALIDCALL;
    transforms_[state] = *matrix;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    if (!matrix) return D3DERR_INVALIDCALL;
    auto it = transforms_.find(state);
    *matrix = it == transforms_.end() ? Identity() : it->second;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetLight(DWORD index, const D3DLIGHT9* light) {
    if (!light) return D3DERR_INVALIDCALL;
    lights_[index] = *light;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetLight(DWORD index, D3DLIGHT9* light) {
    auto it = lights_.find(index);
    if (!light || it == lights_.end()) return D3DERR_INVALIDCALL;
    *light = it->second;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::LightEnable(DWORD index, BOOL enable) {
    if (!lights_.count(index)) {
        // Enabling a light that was never set sets the default one, as Direct3D does.
        D3DLIGHT9 l{};
        l.Type = D3DLIGHT_DIRECTIONAL;
        l.Diffuse = {1, 1, 1, 0};
        l.Direction = {0, 0, 1};
        lights_[index] = l;
    }
    lightEnabled_[index] = enable ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetLightEnable(DWORD index, BOOL* enable) {
    auto it = lightEnabled_.find(index);
    if (!enable || it == lightEnabled_.end()) return D3DERR_INVALIDCALL;
    *enable = it->second;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetTexture(DWORD stage, IDirect3DTexture9* texture) {
    if (stage >= 8) return D3DERR_INVALIDCALL;
    textures_[stage] = texture;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetFVF(DWORD fvf) {
    fvf_ = fvf;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                                          UINT stride) {
    if (!inScene_ || !vertices || primitiveCount == 0) return D3DERR_INVALIDCALL;
    if (type != D3DPT_LINELIST && type != D3DPT_LINESTRIP) return D3DERR_INVALIDCALL;
    if (fvf_ != (D3DFVF_XYZ | D3DFVF_DIFFUSE) || stride < 16) return D3DERR_INVALIDCALL;
    D3DMATRIX world, view, projection;
    GetTransform(D3DTS_WORLD, &world);
    GetTransform(D3DTS_VIEW, &view);
    GetTransform(D3DTS_PROJECTION, &projection);
    const D3DMATRIX all = Multiply(Multiply(world, view), projection);
    auto vertex = [&](UINT i, float* sx, float* sy, D3DCOLOR* colour) {
        const auto* p = static_cast<const std::uint8_t*>(vertices) + size_t(i) * stride;
        float v[3];
        std::memcpy(v, p, sizeof v);
        std::memcpy(colour, p + 12, 4);
        const float x = v[0] * all._11 + v[1] * all._21 + v[2] * all._31 + all._41;
        const float y = v[0] * all._12 + v[1] * all._22 + v[2] * all._32 + all._42;
        const float w = v[0] * all._14 + v[1] * all._24 + v[2] * all._34 + all._44;
        if (w <= 1e-6f) return false;  // behind the camera
        *sx = (x / w + 1.0f) * 0.5f * float(backWidth_);
        *sy = (1.0f - y / w) * 0.5f * float(backHeight_);
        return true;
    };
    raster::DrawList& list = Writable();
    for (UINT p = 0; p < primitiveCount; ++p) {
        UINT a = type == D3DPT_LINELIST ? 2 * p : p, b = a + 1;
        raster::DrawCmd c{};
        c.kind = raster::DrawCmd::kLine;
        D3DCOLOR colourB;
        if (!vertex(a, &c.x[0], &c.y[0], &c.color) || !vertex(b, &c.x[1], &c.y[1], &colourB)) continue;
        list.cmds.push_back(c);
    }
    return D3D_OK;
}

HRESULT IDirect3DDevice9::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                        D3DPOOL pool, IDirect3DTexture9** texture, void*) {
    if (!texture || width == 0 || height == 0 || width > kMaxTextureSide || height > kMaxTextureSide)
        return D3DERR_INVALIDCALL;
    if (format != D3DFMT_A8R8G8B8 && format != D3DFMT_X8R8G8B8) return D3DERR_INVALIDCALL;
    auto data = std::make_shared<raster::TextureData>(int(width), int(height));
    if (!data->surface) return E_OUTOFMEMORY;
    if (format == D3DFMT_X8R8G8B8) {
        data->opaque = true;
        ForceOpaque(*data);
    }
    UINT full = 1;
    for (UINT w = width, h = height; w > 1 || h > 1; w /= 2, h /= 2) ++full;
    *texture = new IDirect3DTexture9(data, levels == 0 ? full : std::min(levels, full), format, pool, usage);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetBackBufferSize(UINT* width, UINT* height) {
    if (!width || !height) return D3DERR_INVALIDCALL;
    *width = backWidth_;
    *height = backHeight_;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetDeviceCaps(D3DCAPS9* caps) {
    if (!caps) return D3DERR_INVALIDCALL;
    FillCaps(type_, caps);
    return D3D_OK;
}

void IDirect3DDevice9::AddQuad(IDirect3DTexture9* texture, const float x[4], const float y[4],
                               const float u[4], const float v[4], D3DCOLOR color) {
    if (!texture) return;
    raster::DrawCmd c{};
    c.kind = raster::DrawCmd::kQuad;
    c.color = color;
    c.texture = texture->Data();
    for (int i = 0; i < 4; ++i) c.x[i] = x[i], c.y[i] = y[i], c.u[i] = u[i], c.v[i] = v[i];
    auto mag = samplerStates_.find(D3DSAMP_MAGFILTER);
    c.linear = mag != samplerStates_.end() && mag->second == D3DTEXF_LINEAR;
    Writable().cmds.push_back(std::move(c));
}

// ---- textures and surfaces ---------------------------------------------------------------------------

IDirect3DTexture9::IDirect3DTexture9(std::shared_ptr<raster::TextureData> data, DWORD levels,
                                     D3DFORMAT format, D3DPOOL pool, DWORD usage)
    : data_(std::move(data)), levels_(levels), format_(format), pool_(pool), usage_(usage) {}

HRESULT IDirect3DTexture9::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (!desc || level >= levels_) return D3DERR_INVALIDCALL;
    std::memset(desc, 0, sizeof *desc);
    desc->Format = format_;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = usage_;
    desc->Pool = pool_;
    desc->Width = std::max(1, data_->Width() >> level);
    desc->Height = std::max(1, data_->Height() >> level);
    return D3D_OK;
}

HRESULT IDirect3DTexture9::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    // Only the top level holds pixels: the smaller levels are not used for drawing sprites.
    if (!surface || level != 0) return D3DERR_INVALIDCALL;
    *surface = new IDirect3DSurface9(this);
    return D3D_OK;
}

HRESULT IDirect3DTexture9::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    if (!locked || level != 0 || !data_->surface) return D3DERR_INVALIDCALL;
    if (!data_->MakeOwn()) return E_OUTOFMEMORY;
    SDL_Surface* s = data_->surface.get();
    int x = rect ? rect->left : 0, y = rect ? rect->top : 0;
    if (x < 0 || y < 0 || x >= s->w || y >= s->h) return D3DERR_INVALIDCALL;
    locked->Pitch = s->pitch;
    locked->pBits = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 4;
    return D3D_OK;
}

HRESULT IDirect3DTexture9::UnlockRect(UINT level) {
    if (level != 0) return D3DERR_INVALIDCALL;
    if (format_ == D3DFMT_X8R8G8B8) ForceOpaque(*data_);
    data_->Changed();
    return D3D_OK;
}

IDirect3DSurface9::IDirect3DSurface9(IDirect3DTexture9* owner) : owner_(owner) {
    owner_->AddRef();
}

IDirect3DSurface9::~IDirect3DSurface9() {
    if (dc_) ReleaseDC(dc_);
    owner_->Release();
}

HRESULT IDirect3DSurface9::GetDesc(D3DSURFACE_DESC* desc) {
    return owner_->GetLevelDesc(0, desc);
}

HRESULT IDirect3DSurface9::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (locked_) return D3DERR_INVALIDCALL;
    HRESULT hr = owner_->LockRect(0, locked, rect, flags);
    locked_ = SUCCEEDED(hr);
    return hr;
}

HRESULT IDirect3DSurface9::UnlockRect() {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    return owner_->UnlockRect(0);
}

HRESULT IDirect3DSurface9::GetDC(HDC* hdc) {
    if (!hdc || dc_ || locked_) return D3DERR_INVALIDCALL;
    // A device context drawing straight into the texture's pixels.
    IDirect3DTexture9* owner = owner_;
    if (!owner->Data()->MakeOwn()) return E_OUTOFMEMORY;
    HDC dc = platform::win32::MakeSurfaceDc(
        owner->Data()->surface.get(),
        [owner] {
            if (owner->Format() == D3DFMT_X8R8G8B8) ForceOpaque(*owner->Data());
            owner->Data()->Changed();
        },
        owner->Data().get());
    if (!dc) return E_FAIL;
    dc_ = dc;
    *hdc = dc;
    return D3D_OK;
}

HRESULT IDirect3DSurface9::ReleaseDC(HDC hdc) {
    if (!dc_ || hdc != dc_) return D3DERR_INVALIDCALL;
    ::ReleaseDC(nullptr, dc_);
    dc_ = nullptr;
    return D3D_OK;
}
