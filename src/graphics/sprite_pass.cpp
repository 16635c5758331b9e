#include "graphics/sprite_pass.h"

#include "app/game_app.h"

SpritePass::SpritePass(D3DCOLOR clearColor) {
    GameApp& app = GameApp::Get();
    IDirect3DDevice9* device = app.graphics.device;
    sceneBegun_ = SUCCEEDED(device->BeginScene());
    if (!sceneBegun_) return;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColor, 1.0f, 0);
    ID3DXSprite* sprite = app.graphics.sprite;
    spriteBegun_ = sprite && SUCCEEDED(sprite->Begin(D3DXSPRITE_ALPHABLEND));
    if (!spriteBegun_) return;
    app.graphics.SetAlphaBlend();
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    D3DXMATRIX m;
    sprite->SetTransform(D3DXMatrixIdentity(&m));
}

SpritePass::~SpritePass() {
    GameApp& app = GameApp::Get();
    if (spriteBegun_) app.graphics.sprite->End();
    if (sceneBegun_) app.graphics.device->EndScene();
}

void DrawSprite(int slot, int left, int top, int right, int bottom, float x, float y, D3DCOLOR color,
                float sx, float sy) {
    GameApp& app = GameApp::Get();
    RECT src;
    SetRect(&src, left, top, right, bottom);
    D3DXMATRIX m, t;
    D3DXMatrixIdentity(&m);
    if (sx != 1.0f || sy != 1.0f) m *= *D3DXMatrixScaling(&t, sx, sy, 1.0f);
    m *= *D3DXMatrixTranslation(&t, x, y, 0.0f);
    app.graphics.sprite->SetTransform(&m);
    app.graphics.sprite->Draw(app.textures[slot], &src, nullptr, nullptr, color);
}

void DrawTurnedSprite(int slot, int left, int top, int right, int bottom, float px, float py, float angle,
                      float x, float y, D3DCOLOR color) {
    GameApp& app = GameApp::Get();
    RECT src;
    SetRect(&src, left, top, right, bottom);
    D3DXMATRIX m, t;
    D3DXMatrixIdentity(&m);
    m *= *D3DXMatrixTranslation(&t, -px, -py, 0.0f);
    m *= *D3DXMatrixRotationZ(&t, angle);
    m *= *D3DXMatrixTranslation(&t, px, py, 0.0f);
    m *= *D3DXMatrixTranslation(&t, x, y, 0.0f);
    app.graphics.sprite->SetTransform(&m);
    app.graphics.sprite->Draw(app.textures[slot], &src, nullptr, nullptr, color);
}
