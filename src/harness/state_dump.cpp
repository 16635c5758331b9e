#include "harness/state_dump.h"

#include "game/game_scene.h"
#include "harness/json.h"
#include "platform/runtime.h"
#include "scenes/chara_select_scene.h"
#include "scenes/game_clear_scene.h"
#include "scenes/help_scene.h"
#include "scenes/logo_scene.h"
#include "scenes/option_scene.h"
#include "scenes/title_scene.h"
#include "app/game_app.h"

namespace {

void Rect(JsonWriter& j, const std::string& key, const RECT& r) {
    j.Key(key)
        .BeginObject()
        .Field("left", r.left)
        .Field("top", r.top)
        .Field("right", r.right)
        .Field("bottom", r.bottom);
    j.EndObject();
}

void App(JsonWriter& j) {
    GameApp& a = GameApp::Get();
    j.Key("app").BeginObject();
    j.Field("screenWidth", a.screenWidth).Field("screenHeight", a.screenHeight);
    Rect(j, "gameWindowRect", a.gameWindowRect);
    j.Field("mouseX", a.mouseX).Field("mouseY", a.mouseY);
    Rect(j, "frameClientRect", a.frameClientRect);
    j.Key("frameClientOrigin")
        .BeginObject()
        .Field("x", a.frameClientOrigin.x)
        .Field("y", a.frameClientOrigin.y);
    j.EndObject();
    j.Key("musicOpenParams").BeginObject().Field("deviceId", a.musicOpenParams.wDeviceID).EndObject();
    j.Key("musicPlayParams").BeginObject();
    j.Field("from", a.musicPlayParams.dwFrom).Field("to", a.musicPlayParams.dwTo).EndObject();
    j.Key("joyInfo").BeginObject().Field("x", a.joyInfo.wXpos).Field("y", a.joyInfo.wYpos);
    j.Field("z", a.joyInfo.wZpos).Field("buttons", a.joyInfo.wButtons).EndObject();
    j.Field("joyId", a.joyId)
        .Field("joyDeviceCount", a.joyDeviceCount)
        .Field("joyNoticeShown", a.joyNoticeShown);
    j.Array("keys", a.keys, 256);
    j.Field("arrivalRank", a.arrivalRank).Field("elapsedClock", a.elapsedClock);
    j.Field("resultCount", a.resultCount).Field("totalScore", a.totalScore).Field("gameMode", a.gameMode);
    j.Key("textures").BeginArray();
    for (int i = 0; i < 100; ++i) j.Value(static_cast<long long>(a.textures[i] != nullptr));
    j.EndArray();
    j.EndObject();
}

void Figure(JsonWriter& j, const DrawCharacter& f) {
    j.BeginObject();
    j.Field("x", f.x).Field("y", f.y);
    j.Key("joints").BeginArray();
    for (const POINT& p : f.joints)
        j.BeginArray().Value(static_cast<long long>(p.x)).Value(static_cast<long long>(p.y)).EndArray();
    j.EndArray();
    j.Field("pose", f.pose)
        .Field("frame", f.frame)
        .Field("frameBack", f.frameBack)
        .Field("facingLeft", f.facingLeft);
    j.Field("vx", f.vx).Field("vy", f.vy).Field("groundY", f.groundY).Field("dx", f.dx).Field("dy", f.dy);
    j.Field("flying", f.flying).Field("scale", f.scale).Array("partSlots", f.partSlots, 7);
    j.Field("heldItem", f.heldItem).Field("isPlayer", f.isPlayer);
    j.EndObject();
}

void Game(JsonWriter& j, const GameScene& s) {
    j.Key("name").Value(std::string("GameScene"));
    j.Key("player");
    Figure(j, s.player);
    j.Key("passers").BeginArray();
    for (int i = 0; i < s.passerCount && i < kMaxPassers; ++i) Figure(j, s.passers[i]);
    j.EndArray();
    j.Field("passerCount", s.passerCount).Field("currentPasser", s.currentPasser);
    j.Key("music").BeginObject().Field("lastResult", s.music.lastResult).EndObject();
    j.Field("pavementScroll", s.pavementScroll).Field("skyScroll", s.skyScroll);
    j.Array("sceneryX", s.sceneryX, 11).Array("sceneryWidth", s.sceneryWidth, 11);
    j.Field("goalX", s.goalX).Field("startStationX", s.startStationX).Field("distance", s.distance);
    j.Field("runFrames", s.runFrames).Field("comboStage", s.comboStage).Field("comboQueued", s.comboQueued);
    j.Field("dashTimer", s.dashTimer).Field("gauge", s.gauge).Field("powerMode", s.powerMode);
    j.Field("homingAngle", s.homingAngle)
        .Array("drawOrder", s.drawOrder, kMaxPassers)
        .Array("drawOrderKey", s.drawOrderKey, kMaxPassers);
    j.Field("scratch", s.scratch).Field("dustboxY", s.dustboxY).Field("dustboxTop", s.dustboxTop);
    j.Field("dustboxKicked", s.dustboxKicked)
        .Array("input", s.input, kActionCount)
        .Field("nextScene", s.nextScene);
    j.Field("wave", s.wave).Field("desktopShake", s.desktopShake).Field("lateDigits", s.lateDigits);
    j.Field("passerLook", s.passerLook).Field("gaugeBar", s.gaugeBar).Field("boardX", s.boardX);
    j.Field("boardReveal", s.boardReveal)
        .Field("boardMessage", s.boardMessage)
        .Field("boardPhase", s.boardPhase);
    j.Field("fadeAlpha", s.fadeAlpha).Field("stampX", s.stampX).Field("stampY", s.stampY);
    j.Field("stampScaleX", s.stampScaleX).Field("stampScaleY", s.stampScaleY);
    j.Array("cloudX", s.cloudX, 5).Array("cloudY", s.cloudY, 5).Field("trainX", s.trainX);
    j.Field("arrowSpin", s.arrowSpin)
        .Field("clock", s.clock)
        .Field("tickNow", s.tickNow)
        .Field("tickPrev", s.tickPrev);
    j.Field("shakeX", s.shakeX).Field("shakeY", s.shakeY).Field("handOffset", s.handOffset);
    j.Field("specialTimer", s.specialTimer).Field("legOneRank", s.legOneRank);
    j.Key("windowOrigin").BeginObject().Field("x", s.windowOrigin.x).Field("y", s.windowOrigin.y).EndObject();
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
        j.Field("captionX", s->captionX)
            .Field("captionTop", s->captionTop)
            .Field("captionBottom", s->captionBottom);
        j.Field("cursor", s->cursor);
        j.Array("itemX", s->itemX, 3).Array("itemY", s->itemY, 3).Array("itemLeft", s->itemLeft, 3);
        j.Array("itemTop", s->itemTop, 3)
            .Array("itemRight", s->itemRight, 3)
            .Array("itemBottom", s->itemBottom, 3);
        j.Array("itemScale", s->itemScale, 3);
        j.Field("repeatCount", s->repeatCount)
            .Field("inputLock", s->inputLock)
            .Field("nextScene", s->nextScene);
        j.Field("handAngle", s->handAngle).Field("fadeAlpha", s->fadeAlpha).Field("fading", s->fading);
        j.Key("music").BeginObject().Field("lastResult", s->music.lastResult).EndObject();
    } else if (auto* s = dynamic_cast<GameScene*>(scene)) {
        Game(j, *s);
    } else if (auto* s = dynamic_cast<OptionScene*>(scene)) {
        j.Key("name").Value(std::string("OptionScene"));
        j.Field("gaugeRight", s->gaugeRight).Field("nextScene", s->nextScene);
    } else if (auto* s = dynamic_cast<CharaSelectScene*>(scene)) {
        j.Key("name").Value(std::string("CharaSelectScene"));
        j.Field("nextScene", s->nextScene);
    } else if (auto* s = dynamic_cast<HelpScene*>(scene)) {
        j.Key("name").Value(std::string("HelpScene"));
        j.Field("nextScene", s->nextScene).Field("fadeAlpha", s->fadeAlpha).Field("fadeState", s->fadeState);
        j.Field("inputDelay", s->inputDelay).Field("page", s->page);
    } else if (auto* s = dynamic_cast<GameClearScene*>(scene)) {
        j.Key("name").Value(std::string("GameClearScene"));
        j.Field("rank", s->rank).Field("nextScene", s->nextScene).Field("elapsed", s->elapsed);
        j.Field("frames", s->frames)
            .Field("shownScore", s->shownScore)
            .Field("previousScore", s->previousScore);
        j.Field("fadeAlpha", s->fadeAlpha).Field("fading", s->fading).Field("trainX", s->trainX);
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
