// Direct3D 9 as the game uses it, on SDL_Renderer.
// A device records each frame's drawing as a list (cleared colour, then textured quads and lines);
// Present hands that list to the target window, and the desktop rasterizes a window's list when its
// picture is needed: every frame in a real window, only for screenshots in a headless run.
#pragma once

#include "platform/com_object.h"
#include "platform/win32.h"

#include <map>
#include <memory>

struct SDL_Surface;
namespace platform::raster {
struct TextureData;
struct DrawList;
}  // namespace platform::raster

#define D3D_SDK_VERSION 32
#define D3DADAPTER_DEFAULT 0

typedef DWORD D3DCOLOR;
#define D3DCOLOR_ARGB(a, r, g, b) \
    ((D3DCOLOR)((((a)&0xff) << 24) | (((r)&0xff) << 16) | (((g)&0xff) << 8) | ((b)&0xff)))

// ---- result codes ----
#define D3D_OK S_OK
#define D3DERR_DEVICELOST ((HRESULT)0x88760868)
#define D3DERR_DEVICENOTRESET ((HRESULT)0x88760869)
#define D3DERR_NOTAVAILABLE ((HRESULT)0x8876086A)
#define D3DERR_INVALIDCALL ((HRESULT)0x8876086C)
#define D3DERR_OUTOFVIDEOMEMORY ((HRESULT)0x8876017C)
#define D3DERR_WASSTILLDRAWING ((HRESULT)0x8876021C)

enum D3DFORMAT : DWORD {
    D3DFMT_UNKNOWN = 0,
    D3DFMT_A8R8G8B8 = 21,
    D3DFMT_X8R8G8B8 = 22,
    D3DFMT_D24S8 = 75,
};
enum D3DDEVTYPE : DWORD { D3DDEVTYPE_HAL = 1, D3DDEVTYPE_REF = 2, D3DDEVTYPE_SW = 3 };
enum D3DPOOL : DWORD { D3DPOOL_DEFAULT = 0, D3DPOOL_MANAGED = 1, D3DPOOL_SYSTEMMEM = 2, D3DPOOL_SCRATCH = 3 };
enum D3DMULTISAMPLE_TYPE : DWORD { D3DMULTISAMPLE_NONE = 0 };
enum D3DSWAPEFFECT : DWORD { D3DSWAPEFFECT_DISCARD = 1, D3DSWAPEFFECT_FLIP = 2, D3DSWAPEFFECT_COPY = 3 };
enum D3DRESOURCETYPE : DWORD { D3DRTYPE_SURFACE = 1, D3DRTYPE_TEXTURE = 3 };

#define D3DCREATE_SOFTWARE_VERTEXPROCESSING 0x00000020L
#define D3DCREATE_HARDWARE_VERTEXPROCESSING 0x00000040L
#define D3DPRESENT_INTERVAL_DEFAULT 0x00000000L
#define D3DPRESENT_INTERVAL_ONE 0x00000001L
#define D3DPRESENT_INTERVAL_IMMEDIATE 0x80000000L
#define D3DCLEAR_TARGET 0x00000001L
#define D3DCLEAR_ZBUFFER 0x00000002L
#define D3DCLEAR_STENCIL 0x00000004L
#define D3DLOCK_READONLY 0x00000010L

struct D3DDISPLAYMODE {
    UINT Width;
    UINT Height;
    UINT RefreshRate;
    D3DFORMAT Format;
};

struct D3DPRESENT_PARAMETERS {
    UINT BackBufferWidth;
    UINT BackBufferHeight;
    D3DFORMAT BackBufferFormat;
    UINT BackBufferCount;
    D3DMULTISAMPLE_TYPE MultiSampleType;
    DWORD MultiSampleQuality;
    D3DSWAPEFFECT SwapEffect;
    HWND hDeviceWindow;
    BOOL Windowed;
    BOOL EnableAutoDepthStencil;
    D3DFORMAT AutoDepthStencilFormat;
    DWORD Flags;
    UINT FullScreen_RefreshRateInHz;
    UINT PresentationInterval;
};

struct D3DSURFACE_DESC {
    D3DFORMAT Format;
    D3DRESOURCETYPE Type;
    DWORD Usage;
    D3DPOOL Pool;
    D3DMULTISAMPLE_TYPE MultiSampleType;
    DWORD MultiSampleQuality;
    UINT Width;
    UINT Height;
};

// What a device can do; only the fields the game's loaders look at.
struct D3DCAPS9 {
    D3DDEVTYPE DeviceType;
    UINT AdapterOrdinal;
    DWORD MaxTextureWidth;  // the largest texture the device makes, in texels
    DWORD MaxTextureHeight;
};

struct D3DLOCKED_RECT {
    INT Pitch;
    void* pBits;
};

struct D3DCOLORVALUE {
    float r, g, b, a;
};
struct D3DVECTOR {
    float x, y, z;
};

enum D3DLIGHTTYPE : DWORD { D3DLIGHT_POINT = 1, D3DLIGHT_SPOT = 2, D3DLIGHT_DIRECTIONAL = 3 };
struct D3DLIGHT9 {
    D3DLIGHTTYPE Type;
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Ambient;
    D3DVECTOR Position;
    D3DVECTOR Direction;
    float Range;
    float Falloff;
    float Attenuation0;
    float Attenuation1;
    float Attenuation2;
    float Theta;
    float Phi;
};

struct D3DMATRIX {
    union {
        struct {
            float _11, _12, _13, _14;
            float _21, _22, _23, _24;
            float _31, _32, _33, _34;
            float _41, _42, _43, _44;
        };
        float m[4][4];
    };
};

enum D3DTRANSFORMSTATETYPE : DWORD {
    D3DTS_VIEW = 2,
    D3DTS_PROJECTION = 3,
    D3DTS_TEXTURE0 = 16,
    D3DTS_WORLD = 256,
};

enum D3DRENDERSTATETYPE : DWORD {
    D3DRS_ZENABLE = 7,
    D3DRS_FILLMODE = 8,
    D3DRS_SHADEMODE = 9,
    D3DRS_ZWRITEENABLE = 14,
    D3DRS_ALPHATESTENABLE = 15,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_CULLMODE = 22,
    D3DRS_ZFUNC = 23,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_FOGENABLE = 28,
    D3DRS_SPECULARENABLE = 29,
    D3DRS_FOGCOLOR = 34,
    D3DRS_FOGTABLEMODE = 35,
    D3DRS_FOGSTART = 36,
    D3DRS_FOGEND = 37,
    D3DRS_FOGDENSITY = 38,
    D3DRS_RANGEFOGENABLE = 48,
    D3DRS_LIGHTING = 137,
    D3DRS_AMBIENT = 139,
    D3DRS_FOGVERTEXMODE = 140,
    D3DRS_NORMALIZENORMALS = 143,
};
#define D3DZB_FALSE 0
#define D3DZB_TRUE 1
#define D3DBLEND_ZERO 1
#define D3DBLEND_ONE 2
#define D3DBLEND_SRCALPHA 5
#define D3DBLEND_INVSRCALPHA 6
#define D3DSHADE_FLAT 1
#define D3DSHADE_GOURAUD 2
#define D3DCULL_NONE 1
#define D3DCULL_CW 2
#define D3DCULL_CCW 3
#define D3DFOG_NONE 0
#define D3DFOG_EXP 1
#define D3DFOG_EXP2 2
#define D3DFOG_LINEAR 3

enum D3DTEXTURESTAGESTATETYPE : DWORD {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
};
#define D3DTOP_DISABLE 1
#define D3DTOP_SELECTARG1 2
#define D3DTOP_MODULATE 4
#define D3DTA_DIFFUSE 0
#define D3DTA_CURRENT 1
#define D3DTA_TEXTURE 2

enum D3DSAMPLERSTATETYPE : DWORD {
    D3DSAMP_ADDRESSU = 1,
    D3DSAMP_ADDRESSV = 2,
    D3DSAMP_MAGFILTER = 5,
    D3DSAMP_MINFILTER = 6,
    D3DSAMP_MIPFILTER = 7,
    D3DSAMP_MIPMAPLODBIAS = 8,
};
#define D3DTEXF_NONE 0
#define D3DTEXF_POINT 1
#define D3DTEXF_LINEAR 2

enum D3DPRIMITIVETYPE : DWORD {
    D3DPT_POINTLIST = 1,
    D3DPT_LINELIST = 2,
    D3DPT_LINESTRIP = 3,
    D3DPT_TRIANGLELIST = 4,
};
#define D3DFVF_XYZ 0x002
#define D3DFVF_DIFFUSE 0x040

class IDirect3DDevice9;
class IDirect3DTexture9;

class IDirect3DSurface9 : public ComObject {
  public:
    HRESULT GetDesc(D3DSURFACE_DESC* desc);
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    HRESULT UnlockRect();
    HRESULT GetDC(HDC* hdc);
    HRESULT ReleaseDC(HDC hdc);

    // Platform side.
    explicit IDirect3DSurface9(IDirect3DTexture9* owner);
    ~IDirect3DSurface9() override;

  private:
    IDirect3DTexture9* owner_;
    HDC dc_ = nullptr;
    bool locked_ = false;
};

class IDirect3DTexture9 : public ComObject {
  public:
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc);
    DWORD GetLevelCount() { return levels_; }
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface);
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    HRESULT UnlockRect(UINT level);

    // Platform side: the picture itself, shared with the draw lists that show it.
    IDirect3DTexture9(std::shared_ptr<platform::raster::TextureData> data, DWORD levels, D3DFORMAT format,
                      D3DPOOL pool, DWORD usage);
    const std::shared_ptr<platform::raster::TextureData>& Data() const { return data_; }
    D3DFORMAT Format() const { return format_; }

  private:
    std::shared_ptr<platform::raster::TextureData> data_;
    DWORD levels_;
    D3DFORMAT format_;
    D3DPOOL pool_;
    DWORD usage_;
};

typedef IDirect3DSurface9* LPDIRECT3DSURFACE9;
typedef IDirect3DTexture9* LPDIRECT3DTEXTURE9;

class IDirect3DDevice9 : public ComObject {
  public:
    HRESULT TestCooperativeLevel();
    HRESULT Reset(D3DPRESENT_PARAMETERS* params);
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow, const void* dirtyRegion);
    HRESULT BeginScene();
    HRESULT EndScene();
    HRESULT Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil);

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value);
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value);
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix);
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix);
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light);
    HRESULT GetLight(DWORD index, D3DLIGHT9* light);
    HRESULT LightEnable(DWORD index, BOOL enable);
    HRESULT GetLightEnable(DWORD index, BOOL* enable);
    HRESULT SetTexture(DWORD stage, IDirect3DTexture9* texture);
    HRESULT SetFVF(DWORD fvf);
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride);
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, void* sharedHandle);
    HRESULT GetBackBufferSize(UINT* width, UINT* height);
    HRESULT GetDeviceCaps(D3DCAPS9* caps);

    // Platform side.
    IDirect3DDevice9(HWND focusWindow, D3DDEVTYPE type, const D3DPRESENT_PARAMETERS& params);
    ~IDirect3DDevice9() override;
    bool InScene() const { return inScene_; }
    // Appends a textured quad (corners in back-buffer pixels, texture coordinates in texels) to the
    // frame's list. Used by the D3DX sprite.
    void AddQuad(IDirect3DTexture9* texture, const float x[4], const float y[4], const float u[4],
                 const float v[4], D3DCOLOR color);
    D3DDEVTYPE Type() const { return type_; }
    // What has been drawn since the last full clear.
    std::shared_ptr<const platform::raster::DrawList> CurrentList() const { return list_; }

  private:
    platform::raster::DrawList& Writable();
    void ResetState();

    HWND focusWindow_;
    D3DDEVTYPE type_;
    D3DPRESENT_PARAMETERS params_;
    UINT backWidth_ = 0, backHeight_ = 0;
    bool inScene_ = false;
    std::shared_ptr<platform::raster::DrawList> list_;
    std::map<DWORD, DWORD> renderStates_;
    std::map<DWORD, DWORD> stageStates_;    // stage << 16 | type
    std::map<DWORD, DWORD> samplerStates_;  // sampler << 16 | type
    std::map<DWORD, D3DMATRIX> transforms_;
    std::map<DWORD, D3DLIGHT9> lights_;
    std::map<DWORD, BOOL> lightEnabled_;
    IDirect3DTexture9* textures_[8] = {};
    DWORD fvf_ = 0;
    unsigned seenResetCount_ = 0;
};

typedef IDirect3DDevice9* LPDIRECT3DDEVICE9;

class IDirect3D9 : public ComObject {
  public:
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode);
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps);
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device);
};
typedef IDirect3D9* LPDIRECT3D9;

IDirect3D9* Direct3DCreate9(UINT sdkVersion);
