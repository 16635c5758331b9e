#include "graphics/graphics_device.h"

#include <cstring>

void SetClientSize(HWND window, int width, int height) {
    RECT w, c;
    GetWindowRect(window, &w);
    GetClientRect(window, &c);
    MoveWindow(window, w.left, w.top, (w.right - w.left) + width - (c.right - c.left),
               (w.bottom - w.top) + height - (c.bottom - c.top), TRUE);
}

namespace {
DWORD FloatBits(float f) {
    DWORD d;
    std::memcpy(&d, &f, sizeof d);
    return d;
}
}  // namespace

bool GraphicsDevice::Init(HWND window, int width, int height, D3DFORMAT format, int fullScreen) {
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d) return false;

    D3DDISPLAYMODE mode;
    if (FAILED(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) return false;

    std::memset(&presentParams, 0, sizeof presentParams);
    if (fullScreen) {
        presentParams.BackBufferWidth = UINT(width);
        presentParams.BackBufferHeight = UINT(height);
        presentParams.BackBufferFormat = format;
        presentParams.Windowed = FALSE;
        SetClientSize(window, width, height);
    } else {
        presentParams.BackBufferWidth = 0;
        presentParams.BackBufferHeight = 0;
        presentParams.BackBufferFormat = mode.Format;
        presentParams.Windowed = TRUE;
    }
    presentParams.BackBufferCount = 1;
    presentParams.MultiSampleType = D3DMULTISAMPLE_NONE;
    presentParams.MultiSampleQuality = 0;
    presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentParams.hDeviceWindow = window;
    presentParams.EnableAutoDepthStencil = TRUE;
    presentParams.AutoDepthStencilFormat = D3DFMT_D24S8;
    presentParams.Flags = 0;
    presentParams.FullScreen_RefreshRateInHz = 0;
    presentParams.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_HARDWARE_VERTEXPROCESSING, &presentParams, &device)) &&
        FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &presentParams, &device)) &&
        FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_REF, window,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &presentParams, &device))) {
        MessageBoxA(window, "Direct3Dの初期化に失敗。", "Direct3D初期化", MB_ICONERROR | MB_OK);
        return false;
    }

    CreateSpriteAndFont();
    deviceLost = 0;
    return true;
}

void GraphicsDevice::CreateSpriteAndFont() {
    D3DXCreateSprite(device, &sprite);
    D3DXCreateFontA(device, 12, 0, 0, 1, FALSE, 1, 0, 0, 0, "ＭＳ Ｐゴシック", &font);
}

void GraphicsDevice::ApplyRenderStates() {
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, 0);
}

void GraphicsDevice::SetDirectionalLight(DWORD index, const D3DXVECTOR3& direction,
                                         const D3DCOLORVALUE& diffuse, const D3DCOLORVALUE& ambient,
                                         const D3DCOLORVALUE& specular) {
    D3DLIGHT9 light;
    std::memset(&light, 0, sizeof light);
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = diffuse;
    light.Specular = specular;
    light.Ambient = ambient;
    D3DXVECTOR3 dir;
    D3DXVec3Normalize(&dir, &direction);
    light.Direction = dir;
    device->SetLight(index, &light);
    device->LightEnable(index, TRUE);
    SetLighting(TRUE);
    SetSpecular(TRUE);
}

void GraphicsDevice::SetLighting(BOOL value) {
    device->SetRenderState(D3DRS_LIGHTING, value);
}
void GraphicsDevice::SetSpecular(BOOL value) {
    device->SetRenderState(D3DRS_SPECULARENABLE, value);
}

void GraphicsDevice::SetAlphaBlend() {
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

int GraphicsDevice::Recover() {
    HRESULT r = device->TestCooperativeLevel();
    if (SUCCEEDED(r)) return 0;
    if (r == D3DERR_DEVICELOST) return 1;
    if (r != D3DERR_DEVICENOTRESET) return 0;
    if (sprite) {
        sprite->Release();
        sprite = nullptr;
    }
    if (font) {
        font->Release();
        font = nullptr;
    }
    r = device->Reset(&presentParams);
    if (FAILED(r)) return r == D3DERR_DEVICELOST ? 1 : 0;
    CreateSpriteAndFont();
    ApplyRenderStates();
    return 0;
}

void GraphicsDevice::Release() {
    if (device) {
        device->Release();
        device = nullptr;
    }
    if (d3d) {
        d3d->Release();
        d3d = nullptr;
    }
    if (sprite) {
        sprite->Release();
        sprite = nullptr;
    }
    if (font) {
        font->Release();
        font = nullptr;
    }
}

// ---- fog
// ------------------------------------------------------------------------------------------------------

void GraphicsDevice::EnableFog(BOOL enable) {
    device->SetRenderState(D3DRS_FOGENABLE, enable);
}

void GraphicsDevice::SetFogModes(D3DCOLOR color, DWORD vertexMode, DWORD tableMode) {
    device->SetRenderState(D3DRS_FOGCOLOR, color);
    device->SetRenderState(D3DRS_FOGVERTEXMODE, vertexMode);
    device->SetRenderState(D3DRS_FOGTABLEMODE, tableMode);
}

void GraphicsDevice::SetLinearVertexFog(float start, float end, D3DCOLOR color) {
    SetFogModes(color, D3DFOG_LINEAR, D3DFOG_NONE);
    device->SetRenderState(D3DRS_FOGSTART, FloatBits(start));
    device->SetRenderState(D3DRS_FOGEND, FloatBits(end));
    device->SetRenderState(D3DRS_RANGEFOGENABLE, 1);
    EnableFog(1);
}

void GraphicsDevice::SetLinearPixelFog(float start, float end, D3DCOLOR color) {
    SetFogModes(color, D3DFOG_NONE, D3DFOG_LINEAR);
    device->SetRenderState(D3DRS_FOGSTART, FloatBits(start));
    device->SetRenderState(D3DRS_FOGEND, FloatBits(end));
    EnableFog(1);
}

void GraphicsDevice::SetExpVertexFog(float density, D3DCOLOR color) {
    SetFogModes(color, D3DFOG_EXP, D3DFOG_NONE);
    device->SetRenderState(D3DRS_FOGDENSITY, FloatBits(density));
    device->SetRenderState(D3DRS_RANGEFOGENABLE, 1);
    EnableFog(1);
}

void GraphicsDevice::SetExpPixelFog(float density, D3DCOLOR color) {
    SetFogModes(color, D3DFOG_NONE, D3DFOG_EXP);
    device->SetRenderState(D3DRS_FOGDENSITY, FloatBits(density));
    EnableFog(1);
}

// ---- 3-D lines
// ------------------------------------------------------------------------------------------------

void GraphicsDevice::SetWorld(const D3DXMATRIX* world) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, world ? world : &identity);
}

void GraphicsDevice::DrawLine(float x1, float y1, float z1, float x2, float y2, float z2, D3DCOLOR color,
                              const D3DXMATRIX* world) {
    const ColorVertex v[2] = {{x1, y1, z1, color}, {x2, y2, z2, color}};
    SetWorld(world);
    device->SetTexture(0, nullptr);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    device->DrawPrimitiveUP(D3DPT_LINELIST, 1, v, sizeof(ColorVertex));
}

void GraphicsDevice::DrawLineStrip(const ColorVertex* vertices, int count, const D3DXMATRIX* world) {
    SetWorld(world);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    // Fewer than two vertices make no segment.
    if (count >= 2) device->DrawPrimitiveUP(D3DPT_LINESTRIP, UINT(count - 1), vertices, sizeof(ColorVertex));
}

void GraphicsDevice::DrawBox(const float* a, const float* b, D3DCOLOR color, const D3DXMATRIX* world) {
    ColorVertex v[24];
    int n = 0;
    auto line = [&](float x1, float y1, float z1, float x2, float y2, float z2) {
        v[n++] = {x1, y1, z1, color};
        v[n++] = {x2, y2, z2, color};
    };
    for (float y : {a[1], b[1]}) {
        line(a[0], y, a[2], a[0], y, b[2]);
        line(a[0], y, b[2], b[0], y, b[2]);
        line(b[0], y, b[2], b[0], y, a[2]);
        line(b[0], y, a[2], a[0], y, a[2]);
    }
    line(a[0], a[1], a[2], a[0], b[1], a[2]);
    line(a[0], a[1], b[2], a[0], b[1], b[2]);
    line(b[0], a[1], a[2], b[0], b[1], a[2]);
    line(b[0], a[1], b[2], b[0], b[1], b[2]);
    SetWorld(world);
    device->SetTexture(0, nullptr);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    device->DrawPrimitiveUP(D3DPT_LINELIST, 12, v, sizeof(ColorVertex));
}

void GraphicsDevice::ProjectToScreen(D3DXVECTOR3* out, const D3DXMATRIX* world, const D3DXMATRIX* view,
                                     const D3DXMATRIX* projection) {
    D3DXMATRIX all = *world * *view * *projection;
    const float w = all._44;
    out->z = w;
    // The windowed device keeps 0 in its parameters; its real back buffer has the window's size.
    UINT bw = presentParams.BackBufferWidth, bh = presentParams.BackBufferHeight;
    if ((bw == 0 || bh == 0) && device) device->GetBackBufferSize(&bw, &bh);
    const float halfW = float(bw / 2), halfH = float(bh / 2);
    out->x = all._41 / w * halfW + halfW;
    out->y = all._42 / w * -halfH + halfH;
}
