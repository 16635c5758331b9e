// DirectSound 8 as the game uses it, on SDL2_mixer: a device, its primary buffer, and secondary
// buffers that each own their PCM bytes and play on a mixer channel of their own.
#pragma once

#include "platform/com_object.h"
#include "platform/mmaudio.h"
#include "platform/win32.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct Mix_Chunk;

// ---- interface and object ids ----
struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
typedef const GUID& REFGUID;
typedef const GUID& REFIID;
typedef GUID* LPGUID;
typedef const GUID* LPCGUID;
inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}
inline bool operator!=(const GUID& a, const GUID& b) {
    return !(a == b);
}

// Values with no linkage: a static SDL on Windows defines some of these names itself.
constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
constexpr GUID IID_IDirectSoundBuffer = {
    0x279AFA85, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
constexpr GUID IID_IDirectSoundBuffer8 = {
    0x6825A449, 0x7524, 0x4D82, {0x92, 0x0F, 0x50, 0xE3, 0x6A, 0xB3, 0xAB, 0x1E}};
constexpr GUID IID_IDirectSoundFXEcho8 = {
    0x8BD28EDF, 0x50DB, 0x4E92, {0xA2, 0xBD, 0x44, 0x54, 0x88, 0xD1, 0xED, 0x42}};
constexpr GUID GUID_DSFX_STANDARD_ECHO = {
    0xEF3E932C, 0xD40B, 0x4F51, {0x8C, 0xCF, 0x3F, 0x98, 0xF1, 0xB2, 0x9D, 0x5D}};
constexpr GUID DSDEVID_DefaultPlayback = {
    0xDEF00000, 0x9C6D, 0x47ED, {0xAA, 0xF1, 0x4D, 0xDA, 0x8F, 0x2B, 0x5C, 0x03}};

// ---- result codes ----
#define DS_OK S_OK
#define DSERR_ALLOCATED ((HRESULT)0x8878000A)
#define DSERR_CONTROLUNAVAIL ((HRESULT)0x8878001E)
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_INVALIDCALL ((HRESULT)0x88780032)
#define DSERR_GENERIC E_FAIL
#define DSERR_PRIOLEVELNEEDED ((HRESULT)0x88780046)
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY
#define DSERR_BADFORMAT ((HRESULT)0x88780064)
#define DSERR_NODRIVER ((HRESULT)0x88780078)
#define DSERR_BUFFERLOST ((HRESULT)0x88780096)
#define DSERR_NOAGGREGATION ((HRESULT)0x80040110)
#define DSERR_NOINTERFACE E_NOINTERFACE
#define DSERR_OBJECTNOTFOUND ((HRESULT)0x88781161)

// ---- cooperative levels ----
#define DSSCL_NORMAL 0x00000001
#define DSSCL_PRIORITY 0x00000002
#define DSSCL_EXCLUSIVE 0x00000003
#define DSSCL_WRITEPRIMARY 0x00000004

// ---- buffer capabilities, play, lock and status flags ----
#define DSBCAPS_PRIMARYBUFFER 0x00000001
#define DSBCAPS_STATIC 0x00000002
#define DSBCAPS_LOCHARDWARE 0x00000004
#define DSBCAPS_LOCSOFTWARE 0x00000008
#define DSBCAPS_CTRL3D 0x00000010
#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_CTRLPOSITIONNOTIFY 0x00000100
#define DSBCAPS_CTRLFX 0x00000200
#define DSBCAPS_GLOBALFOCUS 0x00008000
#define DSBCAPS_GETCURRENTPOSITION2 0x00010000

#define DSBPLAY_LOOPING 0x00000001
#define DSBLOCK_FROMWRITECURSOR 0x00000001
#define DSBLOCK_ENTIREBUFFER 0x00000002
#define DSBSTATUS_PLAYING 0x00000001
#define DSBSTATUS_BUFFERLOST 0x00000002
#define DSBSTATUS_LOOPING 0x00000004

#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF
#define DSBFREQUENCY_MIN 100
#define DSBFREQUENCY_MAX 200000

struct DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
    GUID guid3DAlgorithm;
};
typedef DSBUFFERDESC* LPDSBUFFERDESC;
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;

struct DSFXEcho {
    FLOAT fWetDryMix;   // 0 to 100
    FLOAT fFeedback;    // 0 to 100
    FLOAT fLeftDelay;   // 1 to 2000 ms
    FLOAT fRightDelay;  // 1 to 2000 ms
    LONG lPanDelay;     // 0 or 1
};
typedef DSFXEcho* LPDSFXEcho;
typedef const DSFXEcho* LPCDSFXEcho;

class IDirectSound8;

// The echo effect of a buffer. Buffers hand one out only once an echo has been set on them, which
// this platform's buffers never have, so GetObjectInPath does not find one.
class IDirectSoundFXEcho8 : public ComObject {
  public:
    HRESULT SetAllParameters(LPCDSFXEcho params);

  private:
    DSFXEcho params_{50.0f, 50.0f, 500.0f, 500.0f, 0};
};

class IDirectSoundBuffer : public ComObject {
  public:
    HRESULT QueryInterface(REFIID iid, LPVOID* object);
    HRESULT GetStatus(DWORD* status);
    HRESULT GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, DWORD* sizeWritten);
    HRESULT SetFormat(LPCWAVEFORMATEX format);
    // Hands out the buffer's own bytes from offset on (wrapping to its start: the second region).
    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* audio1, DWORD* bytes1, LPVOID* audio2, DWORD* bytes2,
                 DWORD flags);
    // Ends a Lock; the buffer's sound is taken from its bytes as they are now.
    HRESULT Unlock(LPVOID audio1, DWORD bytes1, LPVOID audio2, DWORD bytes2);
    // Moves the play cursor (a playing buffer goes on from there).
    HRESULT SetCurrentPosition(DWORD position);
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags);
    HRESULT Stop();
    HRESULT Restore();

  protected:
    friend class IDirectSound8;
    IDirectSoundBuffer() = default;
    ~IDirectSoundBuffer() override;

    bool primary_ = false;
    bool holdsMixer_ = false;
    DWORD flags_ = 0;
    WAVEFORMATEX format_{};
    IDirectSound8* device_ = nullptr;  // the primary buffer's device (not counted)
    std::vector<BYTE> bytes_;          // what the game wrote, in its own format
    std::vector<std::int16_t> mixed_;  // the same sound at the mixer's rate, 16-bit stereo
    std::string source_;               // the wave file it was read from, as far as the platform knows
    struct ChunkDelete {
        void operator()(Mix_Chunk* chunk) const;
    };
    std::unique_ptr<Mix_Chunk, ChunkDelete> whole_;  // mixed_ from the start
    std::unique_ptr<Mix_Chunk, ChunkDelete> tail_;   // mixed_ from a play cursor other than 0
    int channel_ = -1;
    DWORD cursor_ = 0;
    bool locked_ = false;
    bool playing_ = false;  // asked to play; the channel tells whether it still sounds
    bool looping_ = false;

    void StartChannel();
    void Convert();
};

class IDirectSoundBuffer8 : public IDirectSoundBuffer {
  public:
    HRESULT GetObjectInPath(REFGUID object, DWORD index, REFGUID iid, LPVOID* out);

  private:
    friend class IDirectSound8;
    IDirectSoundBuffer8() = default;
};

typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;
typedef IDirectSoundBuffer8* LPDIRECTSOUNDBUFFER8;

class IDirectSound8 : public ComObject {
  public:
    HRESULT SetCooperativeLevel(HWND window, DWORD level);
    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer, void* outer);

  private:
    friend HRESULT DirectSoundCreate8(LPCGUID deviceId, IDirectSound8** device, void* outer);
    friend class IDirectSoundBuffer;
    IDirectSound8() = default;
    ~IDirectSound8() override;

    DWORD level_ = 0;
    IDirectSoundBuffer* primary_ = nullptr;  // not counted: the primary tells us when it goes
    WAVEFORMATEX primaryFormat_{WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
};
typedef IDirectSound8* LPDIRECTSOUND8;

// Opens the audio device (the mixer at 44100 Hz, 16 bit, stereo). DSERR_NODRIVER when there is none.
HRESULT DirectSoundCreate8(LPCGUID deviceId, IDirectSound8** device, void* outer);
