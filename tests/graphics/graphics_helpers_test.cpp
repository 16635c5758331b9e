// The fog set-ups, the 3-D line helpers and the projection of a point, on a headless device.
#include "graphics/graphics_device.h"
#include "platform/desktop/screenshot.h"
#include "app/game_app.h"
#include "support/game_run.h"
#include "support/png.h"

#include <cmath>
#include <cstring>

namespace {

float FloatOf(DWORD d) {
    float f;
    std::memcpy(&f, &d, sizeof f);
    return f;
}

class GraphicsHelpers : public DeviceTest {
  protected:
    DWORD State(D3DRENDERSTATETYPE s) {
        DWORD v = 0;
        g.device->GetRenderState(s, &v);
        return v;
    }
    // Draws with the helpers between BeginScene and EndScene and returns the picture's pixel.
    Uint32 Pixel(int x, int y) {
        const std::string file = testing_support::TempPath("lines.png");
        EXPECT_TRUE(platform::SaveBackBufferPng(g.device, file));
        return testing_support::PixelAt(file, x, y);
    }
};

}  // namespace

TEST_F(GraphicsHelpers, FogSetUpsLeaveTheirStates) {
    g.SetLinearVertexFog(10.0f, 100.0f, 0xFF808080);
    EXPECT_EQ(State(D3DRS_FOGCOLOR), 0xFF808080u);
    EXPECT_EQ(FloatOf(State(D3DRS_FOGSTART)), 10.0f);
    EXPECT_EQ(FloatOf(State(D3DRS_FOGEND)), 100.0f);
    EXPECT_EQ(State(D3DRS_FOGVERTEXMODE), DWORD(D3DFOG_LINEAR));
    EXPECT_EQ(State(D3DRS_FOGTABLEMODE), DWORD(D3DFOG_NONE));
    EXPECT_EQ(State(D3DRS_RANGEFOGENABLE), 1u);
    EXPECT_EQ(State(D3DRS_FOGENABLE), 1u);
    // The pixel fog after it keeps range fog on.
    g.SetLinearPixelFog(1.0f, 2.0f, 0xFF000000);
    EXPECT_EQ(State(D3DRS_RANGEFOGENABLE), 1u);
    EXPECT_EQ(State(D3DRS_FOGVERTEXMODE), DWORD(D3DFOG_NONE));
    EXPECT_EQ(State(D3DRS_FOGTABLEMODE), DWORD(D3DFOG_LINEAR));
    g.SetExpPixelFog(0.25f, 0xFF112233);
    EXPECT_EQ(FloatOf(State(D3DRS_FOGDENSITY)), 0.25f);
    EXPECT_EQ(State(D3DRS_FOGTABLEMODE), DWORD(D3DFOG_EXP));
    g.EnableFog(FALSE);
    EXPECT_EQ(State(D3DRS_FOGENABLE), 0u);
}

TEST_F(GraphicsHelpers, RenderStatesAndTheFrameLight) {
    EXPECT_EQ(State(D3DRS_LIGHTING), 0u);
    g.SetDirectionalLight(0, D3DXVECTOR3(0.2f, -0.5f, 0.5f), {0.9f, 0.9f, 0.9f, 0}, {0.2f, 0.2f, 0.2f, 0},
                          {0.5f, 0.5f, 0.5f, 0});
    EXPECT_EQ(State(D3DRS_LIGHTING), 1u);
    EXPECT_EQ(State(D3DRS_SPECULARENABLE), 1u);
    D3DLIGHT9 light;
    ASSERT_EQ(g.device->GetLight(0, &light), D3D_OK);
    const float len = std::sqrt(0.04f + 0.25f + 0.25f);
    EXPECT_NEAR(light.Direction.x, 0.2f / len, 1e-6);
    EXPECT_NEAR(light.Direction.y, -0.5f / len, 1e-6);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
    BOOL on = FALSE;
    g.device->GetLightEnable(0, &on);
    EXPECT_TRUE(on);
}

TEST_F(GraphicsHelpers, ProjectionUsesTheRealBackBuffer) {
    // Eye at the origin looking down +z: a point straight ahead lands in the middle of the screen.
    D3DXMATRIX world, view, proj;
    D3DXMatrixTranslation(&world, 0, 0, 10);
    const D3DXVECTOR3 eye(0, 0, 0), at(0, 0, 1), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&proj, 0.7853982f, 640.0f / 480.0f, 0.1f, 1000.0f);
    D3DXVECTOR3 out;
    g.ProjectToScreen(&out, &world, &view, &proj);
    EXPECT_NEAR(out.x, 320.0f, 1e-3);
    EXPECT_NEAR(out.y, 240.0f, 1e-3);
    EXPECT_NEAR(out.z, 10.0f, 1e-4);
    // Up in the world is up on the screen.
    D3DXMatrixTranslation(&world, 0, 2, 10);
    g.ProjectToScreen(&out, &world, &view, &proj);
    EXPECT_LT(out.y, 240.0f);
}

TEST_F(GraphicsHelpers, LinesAndBoxesDrawWhereProjected) {
    // An orthographic-like set-up: identity view and projection map x, y in -1..1 onto the buffer.
    D3DXMATRIX id;
    D3DXMatrixIdentity(&id);
    g.device->SetTransform(D3DTS_VIEW, &id);
    g.device->SetTransform(D3DTS_PROJECTION, &id);
    ASSERT_EQ(g.device->BeginScene(), D3D_OK);
    g.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    g.DrawLine(-1.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.5f, 0xFFFF0000, nullptr);  // across the middle
    const float a[3] = {0.5f, 0.5f, 0.5f}, b[3] = {-0.5f, -0.5f, 0.5f};    // corners in any order
    g.DrawBox(a, b, 0xFF00FF00, nullptr);
    ColorVertex one[1] = {{0, 0.9f, 0.5f, 0xFF0000FF}};
    g.DrawLineStrip(one, 1, nullptr);  // a single vertex draws nothing
    g.DrawLineStrip(one, 0, nullptr);
    g.device->EndScene();
    EXPECT_EQ(Pixel(100, 240), 0xFFFF0000u);
    EXPECT_EQ(Pixel(160, 200), 0xFF00FF00u);  // left edge of the box, x = -0.5
    EXPECT_EQ(Pixel(320, 120), 0xFF00FF00u);  // top edge, y = 0.5
    EXPECT_EQ(Pixel(200, 150), 0xFF000000u);
    // With a world matrix, the same line moves.
    D3DXMATRIX up;
    D3DXMatrixTranslation(&up, 0, 0.5f, 0);
    ASSERT_EQ(g.device->BeginScene(), D3D_OK);
    g.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    g.DrawLine(-1.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.5f, 0xFFFF0000, &up);
    g.device->EndScene();
    EXPECT_EQ(Pixel(100, 240), 0xFF000000u);
    EXPECT_EQ(Pixel(100, 120), 0xFFFF0000u);
}
