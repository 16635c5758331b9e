#include "graphics/texture_slots.h"

#include "app/game_app.h"

void ReleaseTextureSlots(int first, int last) {
    GameApp& app = GameApp::Get();
    for (int i = first; i <= last; ++i) {
        if (app.textures[i]) {
            app.textures[i]->Release();
            app.textures[i] = nullptr;
        }
    }
}

void ReleaseAllTextures() {
    ReleaseTextureSlots(0, 99);
}

void LoadTextureSlot(int slot, const char* file) {
    GameApp& app = GameApp::Get();
    D3DXCreateTextureFromFileA(app.graphics.device, file, &app.textures[slot]);
}
