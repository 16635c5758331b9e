// The Direct3D device of the game, with its fallbacks, its fixed render state, the frame light,
// lost-device recovery, and a few fog and 3-D line helpers.
#pragma once

#include "platform/d3dx9.h"

// Vertex of the line helpers: position and colour (D3DFVF_XYZ | D3DFVF_DIFFUSE).
struct ColorVertex {
    float x, y, z;
    D3DCOLOR color;
};
static_assert(sizeof(ColorVertex) == 16, "line vertices are 16 bytes");

// Sizes a window so that its client area is width x height, keeping its top-left corner.
void SetClientSize(HWND window, int width, int height);

class GraphicsDevice {
  public:
    IDirect3D9* d3d;
    IDirect3DDevice9* device;
    D3DPRESENT_PARAMETERS presentParams;
    ID3DXSprite* sprite;
    ID3DXFont* font;
    int deviceLost;

    bool Init(HWND window, int width, int height, D3DFORMAT format, int fullScreen);
    void ApplyRenderStates();
    void SetDirectionalLight(DWORD index, const D3DXVECTOR3& direction, const D3DCOLORVALUE& diffuse,
                             const D3DCOLORVALUE& ambient, const D3DCOLORVALUE& specular);
    void SetLighting(BOOL value);
    void SetSpecular(BOOL value);
    void SetAlphaBlend();
    int Recover();
    void Release();

    // Fog set-ups and 3-D helpers; the game itself draws only sprites.
    void EnableFog(BOOL enable);
    void SetLinearVertexFog(float start, float end, D3DCOLOR color);
    void SetLinearPixelFog(float start, float end, D3DCOLOR color);
    void SetExpVertexFog(float density, D3DCOLOR color);
    void SetExpPixelFog(float density, D3DCOLOR color);
    void DrawLine(float x1, float y1, float z1, float x2, float y2, float z2, D3DCOLOR color,
                  const D3DXMATRIX* world);
    void DrawLineStrip(const ColorVertex* vertices, int count, const D3DXMATRIX* world);
    void DrawBox(const float* cornerA, const float* cornerB, D3DCOLOR color, const D3DXMATRIX* world);
    void ProjectToScreen(D3DXVECTOR3* out, const D3DXMATRIX* world, const D3DXMATRIX* view,
                         const D3DXMATRIX* projection);

  private:
    // The fog colour and how fog is worked out per vertex and per pixel.
    void SetFogModes(D3DCOLOR color, DWORD vertexMode, DWORD tableMode);
    void CreateSpriteAndFont();
    void SetWorld(const D3DXMATRIX* world);
};
