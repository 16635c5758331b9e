// Put first on the include path of the game's own code, so an include of this header stops the build.
#error "the game reaches SDL only through src/platform: SDL2/SDL_mixer.h belongs in a platform file, not in game code"
