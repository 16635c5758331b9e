// The joystick: the first game controller or joystick present at start-up, or the script's, read
// as the multimedia joystick functions report it.
#include "platform/desktop/desktop_state.h"

#include <algorithm>

namespace desktop {
namespace {

bool ScriptedJoystick() {
    return platform::Options().hasScript && platform::Options().script.UsesJoystick();
}

// A stick pushed past 90 % reads as its extreme, like a digital pad.
unsigned AxisValue(Sint16 raw) {
    if (raw <= -29491) return 0;
    if (raw >= 29490) return 0xFFFF;
    return unsigned(int(raw) + 32768);
}

}  // namespace

void OpenFirstJoystick() {
    State& s = S();
    for (int i = 0; i < SDL_NumJoysticks() && !s.controller && !s.joystick; ++i) {
        if (SDL_IsGameController(i))
            s.controller.reset(SDL_GameControllerOpen(i));
        else
            s.joystick.reset(SDL_JoystickOpen(i));
    }
}

bool JoystickPresent() {
    State& s = S();
    if (s.headless || ScriptedJoystick()) return ScriptedJoystick();
    return s.controller || s.joystick;
}

bool JoystickState(unsigned* x, unsigned* y, unsigned* buttons) {
    State& s = S();
    if (s.headless || ScriptedJoystick()) {
        if (!ScriptedJoystick()) return false;
        platform::Options().script.JoystickAt(platform::CurrentFrame(), x, y, buttons);
        return true;
    }
    if (SDL_GameController* c = s.controller.get()) {
        if (!SDL_GameControllerGetAttached(c)) return false;
        *x = AxisValue(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
        *y = AxisValue(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) *x = 0;
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) *x = 0xFFFF;
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) *y = 0;
        if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) *y = 0xFFFF;
        // Buttons 1 to 10 in the order of a PC pad: A, B, X, Y, the shoulders, Back, Start, the sticks.
        static const SDL_GameControllerButton order[] = {SDL_CONTROLLER_BUTTON_A,
                                                         SDL_CONTROLLER_BUTTON_B,
                                                         SDL_CONTROLLER_BUTTON_X,
                                                         SDL_CONTROLLER_BUTTON_Y,
                                                         SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                                         SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                                         SDL_CONTROLLER_BUTTON_BACK,
                                                         SDL_CONTROLLER_BUTTON_START,
                                                         SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                                         SDL_CONTROLLER_BUTTON_RIGHTSTICK};
        *buttons = 0;
        for (int i = 0; i < 10; ++i)
            if (SDL_GameControllerGetButton(c, order[i])) *buttons |= 1u << i;
        return true;
    }
    if (SDL_Joystick* j = s.joystick.get()) {
        if (!SDL_JoystickGetAttached(j)) return false;
        *x = SDL_JoystickNumAxes(j) > 0 ? AxisValue(SDL_JoystickGetAxis(j, 0)) : 32767;
        *y = SDL_JoystickNumAxes(j) > 1 ? AxisValue(SDL_JoystickGetAxis(j, 1)) : 32767;
        if (SDL_JoystickNumHats(j) > 0) {
            Uint8 hat = SDL_JoystickGetHat(j, 0);
            if (hat & SDL_HAT_LEFT) *x = 0;
            if (hat & SDL_HAT_RIGHT) *x = 0xFFFF;
            if (hat & SDL_HAT_UP) *y = 0;
            if (hat & SDL_HAT_DOWN) *y = 0xFFFF;
        }
        *buttons = 0;
        int n = std::min(32, SDL_JoystickNumButtons(j));
        for (int i = 0; i < n; ++i)
            if (SDL_JoystickGetButton(j, i)) *buttons |= 1u << i;
        return true;
    }
    return false;
}

const char* JoystickName() {
    State& s = S();
    if (s.controller) return SDL_GameControllerName(s.controller.get());
    if (s.joystick) return SDL_JoystickName(s.joystick.get());
    return "Scripted joystick";
}

int JoystickButtonCount() {
    State& s = S();
    if (s.joystick) return SDL_JoystickNumButtons(s.joystick.get());
    return s.controller ? 10 : 32;
}

}  // namespace desktop
