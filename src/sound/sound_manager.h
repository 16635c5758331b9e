// The game's sound effects: each WAV file is read once, on its first play, into a DirectSound buffer
// that holds the whole sound and is kept under the file's name until the program ends.
#pragma once

#include "platform/dsound.h"

#include <map>
#include <string>

class SoundManager {
  public:
    std::map<std::string, IDirectSoundBuffer8*> buffers;  // by file name, exactly as asked for
    IDirectSound8* device;
    IDirectSoundBuffer* primary;

    static SoundManager* Instance();
    static void DestroyInstance();

    int Init(HWND window);
    IDirectSoundBuffer8* GetBuffer(const char* fileName);
    int CreateBuffer(IDirectSoundBuffer8** buffer, const char* fileName);
    void Play(const char* fileName);
    bool SetEcho(IDirectSoundBuffer8* buffer);
    int ReleaseBuffers();
    int ReleaseDevice();

    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

  private:
    SoundManager();
    static SoundManager* instance;
};
