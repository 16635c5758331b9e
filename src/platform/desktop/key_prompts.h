// The keys the pictures show. The game's pictures draw key caps (the title's and the run's captions,
// the option screen, the help book), and the pictures' build says where, beside them in
// keycaps.txt. In a window each cap shows the key the player's settings give its action, or, when
// the last input came from a pad, that pad's button for it in the pad's own family of names (Xbox,
// PlayStation's shapes, Nintendo, Steam Deck), drawn over the cap's face as a texture is made from
// the picture. On a pad, the caps of the stick's directions (the arrows) show the pad's cross with
// those arms lit; a key the pad has no button for (BackSpace) and a label that is no key a player
// moves (F1, F5, the stick's own cap) stay as drawn. A cap that would show what it was drawn with is
// left as it is, texel for texel; a headless run (a replay, a test) never draws over anything.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::raster {
struct TextureData;
}
namespace platform::pictures {
struct Picture;
}
namespace platform::settings {
struct Settings;
}

namespace platform::desktop {

// One line of keycaps.txt:  "picture" x y w h #face #text px "label"
struct KeyCap {
    std::string picture;  // the picture's file name in the list's folder
    SDL_Rect face{};      // the cap with its outline, in texels of the picture's texture
    std::uint32_t faceColour = 0, textColour = 0;  // ARGB, opaque
    double px = 0;                                 // the size its label is drawn at
    std::string label;                             // what the picture shows on it
};
// The caps of a keycaps.txt's text. Each line that is not one (a missing field, a number out of
// range, a colour that is not #rrggbb) is told in warnings as file:line and left out.
std::vector<KeyCap> ReadKeyCaps(const std::string& text, const std::string& file,
                                std::vector<std::string>* warnings);

// Where the player's last input came from: the keyboard, or the game's pad, by its family.
enum class PromptFamily { kKeyboard, kXbox, kPlayStation, kNintendo, kSteamDeck, kOtherPad };
// Called by the event pump for every event: a key pressed, a button of the game's pad pressed, its
// stick or a trigger pushed past half or its hat moved. When the family changes, the caps already
// drawn show the new one's keys.
void PromptInputSeen(const SDL_Event& e);
PromptFamily PromptInput();
// A pad's family by what SDL says of it: its type, its maker (Valve's 0x28de is the Steam Deck's)
// and its name.
PromptFamily PadFamily(SDL_GameControllerType type, std::uint16_t vendor, const char* name);

// What a cap of that label shows now, written out ("J", "←→", "(□)" for PlayStation's square in
// its round button, "✚←→" for the pad's cross with its left and right arms), or "" when it stays
// as the picture draws it.
std::string CapShows(const std::string& label);
std::string CapShows(const std::string& label, PromptFamily family, const settings::Settings& settings);

// The game's pad button (1 to 10) as the last-used pad's family names the button the player's
// settings put it on ("B", "○", "(A)"), or "" while the keyboard was the last input.
std::string PadButtonText(int number);

// Draws the keys of now over the caps of a picture file's pixels (ARGB8888, pitch in pixels), as
// its texture would show them: for a copy of a picture the platform draws itself (the help book).
// Nothing in a headless run, nor where the picture's folder lists no caps for it.
void PatchKeyCaps(const std::string& pictureFile, std::uint32_t* argbPixels, int width, int height,
                  int pitchPixels);
// Changes whenever what the caps show changes (another family, other settings): a copy patched
// before is patched again from the picture.
unsigned KeyPromptsVersion();

// A texture was just made from a picture file (its decoded pixels, which stay as they are): its caps
// are drawn on the texture's own copy, now and whenever what they show changes while it lives.
void KeyCapsOnTexture(const std::string& pictureFile, const std::shared_ptr<const pictures::Picture>& picture,
                      const std::shared_ptr<raster::TextureData>& texture);
// Shows the keys of now on every live texture with caps (after the player's settings changed; the
// event pump's PromptInputSeen does it for a change of family).
void RefreshKeyPrompts();

}  // namespace platform::desktop
