// The settings program's window: the model's page drawn with SDL in the platform's Japanese text, at
// the window's scale (laid out for kBaseWidth x kBaseHeight, drawn at the renderer's own pixels with
// text at its scaled size); SDL's keys, pad buttons and clicks handed to the model; the controls
// page's tester (the last key pressed, the pad and the buttons held on it); and the volume's tone.
#pragma once

#include "keyconfig/model.h"
#include "platform/common/sdl_handles.h"

#include <SDL.h>

#include <map>
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
    bool Present() const { return pad_ || joystick_; }
    SDL_GameControllerType Type() const;
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
    void OpenPad();
    // One of SDL's events: the player's input for the model, a pad plugged in or pulled out.
    void Event(const SDL_Event& e);
    // Draws the page and shows it; false, with SDL's reason, when SDL cannot draw.
    bool Draw(std::string* why);

  private:
    void Click(int x, int y);
    void PadChanged();
    // Text at a point of the page, in the page's units (its size too), or centred in the width
    // from there. A backslash is drawn as a slash turned over, since the Japanese font writes it as
    // a yen sign (a path on Windows).
    bool Text(const std::string& text, int size, SDL_Color colour, int x, int y, std::string* why,
              int centreWidth = 0);
    SDL_Texture* TextTexture(const std::string& text, int pixels, SDL_Color colour, std::string* why);
    bool Fill(const SDL_Rect& r, SDL_Color colour, std::string* why);
    bool Frame(const SDL_Rect& r, SDL_Color colour, std::string* why);
    bool DrawRows(std::string* why);
    bool DrawControls(std::string* why);
    bool DrawQuestion(std::string* why);
    SDL_Rect ToPixels(const SDL_Rect& r) const;
    int Px(int units) const;

    SDL_Renderer* renderer_;
    Model* model_;
    TestedPad pad_;
    std::string lastKey_;
    double scale_ = 1;  // the renderer's pixels for one unit of the page
    // The texts drawn lately, kept as textures (the page is drawn every frame).
    std::map<std::string, platform::sdl::TexturePtr> texts_;
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
