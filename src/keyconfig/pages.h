// The settings program's window: the model's page drawn with SDL in the platform's Japanese text;
// SDL's keys, pad buttons and clicks handed to the model; the controls page's tester (the last key
// pressed, the pad and the buttons held on it); and the volume's tone.
#pragma once

#include "keyconfig/model.h"
#include "platform/common/sdl_handles.h"

#include <SDL.h>

#include <string>

namespace keyconfig {

// The pad being tested: a pad SDL knows (numbered as the game numbers it) or another joystick (its
// own numbers, as the game reads it). Pads come and go while the program runs.
class TestedPad {
  public:
    bool Open(int index);
    void OpenFirst();
    void Close();
    SDL_JoystickID Id() const;
    // A button of SDL's pad that is this one.
    bool Is(SDL_JoystickID which) const { return pad_ && which == Id(); }
    // "ジョイスティック: <name>  ボタン: 3 (X / Square) ..."
    std::string Line(const Model& model) const;

  private:
    platform::sdl::GameControllerPtr pad_;
    platform::sdl::JoystickPtr joystick_;
};

class Pages {
  public:
    Pages(SDL_Renderer* renderer, Model* model) : renderer_(renderer), model_(model) {}

    // Opens the first pad there is for the tester.
    void OpenPad() { pad_.OpenFirst(); }
    // One of SDL's events: the player's input for the model, a pad plugged in or pulled out.
    void Event(const SDL_Event& e);
    // Draws the page and shows it; false, with SDL's reason, when SDL cannot draw.
    bool Draw(std::string* why);

  private:
    void Click(int x, int y);
    bool Text(const std::string& text, int size, SDL_Color colour, int x, int y, std::string* why);

    SDL_Renderer* renderer_;
    Model* model_;
    TestedPad pad_;
    std::string lastKey_ = "(なし)";
};

// A short tone at a volume, so that the player hears what the volume is.
class Tone {
  public:
    // The sound device; without one (said on stderr) the settings still work, silently.
    static Tone Open();
    void Play(int volume);

  private:
    platform::sdl::AudioDevice device_;
    bool failureTold_ = false;
};

}  // namespace keyconfig
