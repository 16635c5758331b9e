#include "harness/state_dump.h"

#include "harness/json.h"
#include "platform/runtime.h"
#include "scenes/logo_scene.h"
#include "scenes/option_scene.h"
#include "scenes/title_scene.h"
#include "shell/game_app.h"

namespace {

void Rect(JsonWriter& j, const std::string& key, const RECT& r) {
    j.Key(key).BeginObject().Field("left", r.left).Field("top", r.top).Field("right", r.right).Field("bottom", r.bottom);
    j.EndObject();
}

void App(JsonWriter& j) {
    GameApp& a = GameApp::Get();
    j.Key("app").BeginObject();
    j.Field("screenWidth", a.screenWidth).Field("screenHeight", a.screenHeight);
    Rect(j, "gameWindowRect", a.gameWindowRect);
    j.Field("mouseX", a.mouseX).Field("mouseY", a.mouseY);
    Rect(j, "frameClientRect", a.frameClientRect);
    j.Key("frameClientOrigin").BeginObject().Field("x", a.frameClientOrigin.x).Field("y", a.frameClientOrigin.y);
    j.EndObject();
    j.Key("musicOpenParams").BeginObject().Field("deviceId", a.musicOpenParams.wDeviceID).EndObject();
    j.Key("musicPlayParams").BeginObject();
    j.Field("from", a.musicPlayParams.dwFrom).Field("to", a.musicPlayParams.dwTo).EndObject();
    j.Key("joyInfo").BeginObject().Field("x", a.joyInfo.wXpos).Field("y", a.joyInfo.wYpos);
    j.Field("z", a.joyInfo.wZpos).Field("buttons", a.joyInfo.wButtons).EndObject();
    j.Field("joyId", a.joyId).Field("joyDeviceCount", a.joyDeviceCount).Field("joyNoticeShown", a.joyNoticeShown);
    j.Array("keys", a.keys, 256);
    j.Field("arrivalRank", a.arrivalRank).Field("elapsedClock", a.elapsedClock);
    j.Field("resultCount", a.resultCount).Field("totalScore", a.totalScore).Field("gameMode", a.gameMode);
    j.Key("textures").BeginArray();
    for (int i = 0; i < 100; ++i) j.Value(static_cast<long long>(a.textures[i] != nullptr));
    j.EndArray();
    j.EndObject();
}

void Scene(JsonWriter& j) {
    SceneBase* scene = GameApp::Get().scene;
    j.Key("scene");
    if (!scene) {
        j.Null();
        return;
    }
    j.BeginObject();
    if (auto* s = dynamic_cast<LogoScene*>(scene)) {
        j.Key("name").Value(std::string("LogoScene"));
        j.Field("nextScene", s->nextScene).Field("frame", s->frame).Field("logoAlpha", s->logoAlpha);
        j.Field("maskAlpha", s->maskAlpha).Field("pushKeyAlpha", s->pushKeyAlpha).Field("titleY", s->titleY);
        j.Field("blinkPhase", s->blinkPhase);
    } else if (auto* s = dynamic_cast<TitleScene*>(scene)) {
        j.Key("name").Value(std::string("TitleScene"));
        j.Field("captionX", s->captionX).Field("captionTop", s->captionTop).Field("captionBottom", s->captionBottom);
        j.Field("cursor", s->cursor);
        j.Array("itemX", s->itemX, 3).Array("itemY", s->itemY, 3).Array("itemLeft", s->itemLeft, 3);
        j.Array("itemTop", s->itemTop, 3).Array("itemRight", s->itemRight, 3).Array("itemBottom", s->itemBottom, 3);
        j.Array("itemScale", s->itemScale, 3);
        j.Field("repeatCount", s->repeatCount).Field("inputLock", s->inputLock).Field("nextScene", s->nextScene);
        j.Field("handAngle", s->handAngle).Field("fadeAlpha", s->fadeAlpha).Field("fading", s->fading);
        j.Key("music").BeginObject().Field("lastResult", s->music.lastResult).EndObject();
    } else if (auto* s = dynamic_cast<OptionScene*>(scene)) {
        j.Key("name").Value(std::string("OptionScene"));
        j.Field("gaugeRight", s->gaugeRight).Field("nextScene", s->nextScene);
    } else {
        j.Key("name").Value(std::string("unknown"));
    }
    j.EndObject();
}

}  // namespace

std::string DumpState() {
    JsonWriter j;
    j.BeginObject();
    j.Field("frame", platform::CurrentFrame());
    App(j);
    Scene(j);
    j.EndObject();
    return j.str();
}
