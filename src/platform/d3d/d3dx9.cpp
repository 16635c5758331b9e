#include "platform/d3dx9.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/key_prompts.h"
#include "platform/raster/draw_list.h"
#include "platform/pictures/picture_cache.h"
#include "platform/settings/settings.h"

#include <cstring>
#include <memory>

namespace sdl = platform::sdl;

namespace desktop = platform::desktop;
namespace raster = platform::raster;

// ---- sprite -----------------------------------------------------------------------------------------------

ID3DXSprite::ID3DXSprite(IDirect3DDevice9* device) : device_(device) {
    device_->AddRef();
    D3DXMatrixIdentity(&transform_);
}

ID3DXSprite::~ID3DXSprite() {
    device_->Release();
}

HRESULT ID3DXSprite::Begin(DWORD) {
    if (begun_) return D3DERR_INVALIDCALL;
    begun_ = true;
    return D3D_OK;
}

HRESULT ID3DXSprite::End() {
    if (!begun_) return D3DERR_INVALIDCALL;
    begun_ = false;
    return D3D_OK;
}

HRESULT ID3DXSprite::SetTransform(const D3DXMATRIX* transform) {
    if (!transform) return D3DERR_INVALIDCALL;
    transform_ = *transform;
    return D3D_OK;
}

HRESULT ID3DXSprite::GetTransform(D3DXMATRIX* transform) {
    if (!transform) return D3DERR_INVALIDCALL;
    *transform = transform_;
    return D3D_OK;
}

HRESULT ID3DXSprite::Draw(IDirect3DTexture9* texture, const RECT* srcRect, const D3DXVECTOR3* center,
                          const D3DXVECTOR3* position, D3DCOLOR color) {
    if (!begun_ || !texture) return D3DERR_INVALIDCALL;
    RECT r{0, 0, texture->Data()->Width(), texture->Data()->Height()};
    if (srcRect) r = *srcRect;
    const D3DXVECTOR3 c = center ? *center : D3DXVECTOR3(0, 0, 0);
    const D3DXVECTOR3 p = position ? *position : D3DXVECTOR3(0, 0, 0);
    if (log_) log_->push_back(SpriteDrawRecord{texture, srcRect != nullptr, r, transform_, c, p, color});
    const float w = float(r.right - r.left), h = float(r.bottom - r.top);
    const float lx[4] = {0, w, w, 0}, ly[4] = {0, 0, h, h};
    float x[4], y[4], u[4], v[4];
    for (int i = 0; i < 4; ++i) {
        const float px = lx[i] - c.x + p.x, py = ly[i] - c.y + p.y;
        x[i] = px * transform_._11 + py * transform_._21 + transform_._41;
        y[i] = px * transform_._12 + py * transform_._22 + transform_._42;
        u[i] = float(r.left) + lx[i];
        v[i] = float(r.top) + ly[i];
    }
    // Reduce motion: the desktop's picture, which the game jolts about as a passer-by hits the
    // screen's edge, is shown a sixteenth as far from its place.
    if (texture->Data()->screenCopy && platform::settings::CurrentSettings().reduceMotion) {
        const float dx = x[0] - x[0] / 16, dy = y[0] - y[0] / 16;
        for (int i = 0; i < 4; ++i) x[i] -= dx, y[i] -= dy;
    }
    device_->AddQuad(texture, x, y, u, v, color);
    return D3D_OK;
}

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) {
    if (!device || !sprite) return D3DERR_INVALIDCALL;
    *sprite = new ID3DXSprite(device);
    return D3D_OK;
}

// ---- font -------------------------------------------------------------------------------------------------

ID3DXFont::ID3DXFont(IDirect3DDevice9* device, int height, const char*) : device_(device), height_(height) {
    device_->AddRef();
}

ID3DXFont::~ID3DXFont() {
    device_->Release();
}

INT ID3DXFont::DrawTextA(ID3DXSprite*, LPCSTR text, INT count, RECT* rect, DWORD, D3DCOLOR color) {
    if (!text || !rect) return 0;
    std::string s = count < 0 ? std::string(text) : std::string(text, size_t(count));
    const sdl::SurfacePtr t(
        desktop::RenderText(s, height_ > 0 ? height_ : -height_, SDL_Color{255, 255, 255, 255}));
    if (!t) return 0;
    IDirect3DTexture9* tex = nullptr;
    if (SUCCEEDED(device_->CreateTexture(UINT(t->w), UINT(t->h), 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex,
                                         nullptr))) {
        SDL_SetSurfaceBlendMode(t.get(), SDL_BLENDMODE_NONE);
        SDL_BlitSurface(t.get(), nullptr, tex->Data()->surface.get(), nullptr);
        tex->Data()->Changed();
        const float l = float(rect->left), tp = float(rect->top), w = float(t->w), h = float(t->h);
        const float x[4] = {l, l + w, l + w, l}, y[4] = {tp, tp, tp + h, tp + h};
        const float u[4] = {0, w, w, 0}, v[4] = {0, 0, h, h};
        device_->AddQuad(tex, x, y, u, v, color);
        tex->Release();
    }
    return t->h;
}

HRESULT D3DXCreateFontA(IDirect3DDevice9* device, INT height, UINT, UINT, UINT, BOOL, DWORD, DWORD, DWORD,
                        DWORD, LPCSTR faceName, ID3DXFont** font) {
    if (!device || !font) return D3DERR_INVALIDCALL;
    *font = new ID3DXFont(device, height, faceName);
    return D3D_OK;
}

// ---- textures
// -----------------------------------------------------------------------------------------------

HRESULT D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture) {
    if (!device || !texture) return D3DERR_INVALIDCALL;
    if (mipLevels == D3DX_DEFAULT) mipLevels = 0;
    return device->CreateTexture(width, height, mipLevels, usage, format, pool, texture, nullptr);
}

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR file, IDirect3DTexture9** texture) {
    if (!device || !file || !texture) return D3DERR_INVALIDCALL;
    // The picture comes decoded from the cache when a scene before loaded the same file. One larger
    // than the device's largest texture is refused by the size in its header.
    D3DCAPS9 caps{};
    if (FAILED(device->GetDeviceCaps(&caps))) return D3DERR_INVALIDCALL;
    const std::shared_ptr<const platform::pictures::Picture> picture =
        platform::pictures::LoadPicture(file, int(caps.MaxTextureWidth), int(caps.MaxTextureHeight));
    if (!picture) return D3DXERR_INVALIDDATA;
    IDirect3DTexture9* tex = nullptr;
    HRESULT hr = device->CreateTexture(UINT(picture->width), UINT(picture->height), 0, 0,
                                       picture->fileHasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8,
                                       D3DPOOL_MANAGED, &tex, nullptr);
    if (FAILED(hr)) return hr;
    raster::TextureData& data = *tex->Data();
    data.file = file;
    // The texture shows the decoded pixels themselves; it copies them only if they are written.
    if (!data.ShareFrom(picture, picture->pixels.get(), picture->width, picture->height)) {
        SDL_Surface* s = data.surface.get();
        const std::size_t row = std::size_t(picture->width) * 4;
        for (int y = 0; y < picture->height; ++y)
            std::memcpy(static_cast<Uint8*>(s->pixels) + std::size_t(y) * std::size_t(s->pitch),
                        picture->pixels.get() + std::size_t(y) * std::size_t(picture->width), row);
    }
    // A picture with no transparent texel can take the renderer's plain copy path.
    data.opaque = picture->opaque;
    data.Changed();
    // The key caps it draws show the player's own keys (in a window; the cached picture stays as it is).
    desktop::KeyCapsOnTexture(file, picture, tex->Data());
    *texture = tex;
    return D3D_OK;
}
