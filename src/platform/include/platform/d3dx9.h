// The D3DX 9 helpers the game uses: matrices and vectors, the sprite, the font and the texture loaders.
#pragma once

#include "platform/d3d9.h"

#include <cmath>
#include <cstring>
#include <vector>

struct D3DXVECTOR2 {
    float x, y;
    D3DXVECTOR2() = default;
    D3DXVECTOR2(float x_, float y_) : x(x_), y(y_) {}
};

struct D3DXVECTOR3 : public D3DVECTOR {
    D3DXVECTOR3() = default;
    D3DXVECTOR3(float x_, float y_, float z_) { x = x_, y = y_, z = z_; }
};

// One row of a matrix as four lanes of single-precision floats; each lane does the arithmetic of its
// own element, so results match element-by-element scalar code bit for bit.
typedef float D3DXMatrixRow __attribute__((vector_size(16)));

struct D3DXMATRIX : public D3DMATRIX {
    D3DXMATRIX() = default;
    D3DXMATRIX(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24,
               float m31, float m32, float m33, float m34, float m41, float m42, float m43, float m44) {
        // Row by row: the products below read whole rows, and a row written in one piece is read
        // back straight away.
        const D3DXMatrixRow rows[4] = {
            {m11, m12, m13, m14}, {m21, m22, m23, m24}, {m31, m32, m33, m34}, {m41, m42, m43, m44}};
        std::memcpy(m, rows, sizeof rows);
    }
    D3DXMATRIX& operator*=(const D3DXMATRIX& other);
    D3DXMATRIX operator*(const D3DXMATRIX& other) const;
    bool operator==(const D3DXMATRIX& other) const;
};

// The figures build every sprite's transform from a dozen products a frame, so the small matrix
// helpers live here, where they inline.

inline D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    *out = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return out;
}

// out = a * b; out may be a or b. Element (i, j) is a[i][0] * b[0][j] + a[i][1] * b[1][j] +
// a[i][2] * b[2][j] + a[i][3] * b[3][j], summed left to right in single precision, one row of the
// product at a time: four lanes of the same scalar sums, so the result does not depend on the
// vector width.
inline D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
    D3DXMatrixRow rowsA[4], rowsB[4];
    std::memcpy(rowsA, a->m, sizeof rowsA);
    std::memcpy(rowsB, b->m, sizeof rowsB);
    D3DXMatrixRow r[4];
    for (int i = 0; i < 4; ++i) {
        const D3DXMatrixRow ai = rowsA[i];
        r[i] = ai[0] * rowsB[0] + ai[1] * rowsB[1] + ai[2] * rowsB[2] + ai[3] * rowsB[3];
    }
    std::memcpy(out->m, r, sizeof r);
    return out;
}

inline D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& other) {
    D3DXMatrixMultiply(this, this, &other);
    return *this;
}

inline D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& other) const {
    D3DXMATRIX r;
    D3DXMatrixMultiply(&r, this, &other);
    return r;
}

inline D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float sx, float sy, float sz) {
    *out = D3DXMATRIX(sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, sz, 0, 0, 0, 0, 1);
    return out;
}

inline D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    *out = D3DXMATRIX(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return out;
}

inline D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    *out = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovy, float aspect, float zn, float zf);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up);
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v);
// Transforms (x, y, z, 1) by m and divides by w.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);

#define D3DX_DEFAULT ((UINT)-1)
#define D3DXSPRITE_ALPHABLEND 0x00000010L

// What one sprite Draw did, kept when the sprite's log is switched on (for tests).
struct SpriteDrawRecord {
    IDirect3DTexture9* texture;
    bool hasRect;
    RECT rect;
    D3DXMATRIX transform;
    D3DXVECTOR3 center;
    D3DXVECTOR3 position;
    D3DCOLOR color;
};

class ID3DXSprite : public ComObject {
  public:
    HRESULT Begin(DWORD flags);
    HRESULT End();
    HRESULT SetTransform(const D3DXMATRIX* transform);
    HRESULT GetTransform(D3DXMATRIX* transform);
    HRESULT Draw(IDirect3DTexture9* texture, const RECT* srcRect, const D3DXVECTOR3* center,
                 const D3DXVECTOR3* position, D3DCOLOR color);

    // Platform side.
    explicit ID3DXSprite(IDirect3DDevice9* device);
    ~ID3DXSprite() override;
    // With a log, every Draw is also recorded there (null switches it off).
    void SetLog(std::vector<SpriteDrawRecord>* log) { log_ = log; }

  private:
    IDirect3DDevice9* device_;
    bool begun_ = false;
    D3DXMATRIX transform_;
    std::vector<SpriteDrawRecord>* log_ = nullptr;
};
typedef ID3DXSprite* LPD3DXSPRITE;

struct FontFace;
class ID3DXFont : public ComObject {
  public:
    // Draws text at the rectangle's top-left corner (format flags other than that are not used).
    INT DrawTextA(ID3DXSprite* sprite, LPCSTR text, INT count, RECT* rect, DWORD format, D3DCOLOR color);

    // Platform side.
    ID3DXFont(IDirect3DDevice9* device, int height, const char* face);
    ~ID3DXFont() override;
    int Height() const { return height_; }

  private:
    IDirect3DDevice9* device_;
    int height_;
};
typedef ID3DXFont* LPD3DXFONT;

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite);
HRESULT D3DXCreateFontA(IDirect3DDevice9* device, INT height, UINT width, UINT weight, UINT mipLevels,
                        BOOL italic, DWORD charSet, DWORD outputPrecision, DWORD quality,
                        DWORD pitchAndFamily, LPCSTR faceName, ID3DXFont** font);
HRESULT D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture);
// Loads a PNG into a texture whose sizes are rounded up to powers of two, the picture at its top-left.
HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* device, LPCSTR file, IDirect3DTexture9** texture);

#define D3DXERR_INVALIDDATA ((HRESULT)0x88760B59)
