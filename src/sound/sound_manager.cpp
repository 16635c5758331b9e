#include "sound/sound_manager.h"

#include "sound/wave_file.h"

SoundManager* SoundManager::instance = nullptr;

SoundManager::SoundManager() : device(nullptr), primary(nullptr) {}

SoundManager* SoundManager::Instance() {
    if (!instance) instance = new SoundManager();
    return instance;
}

void SoundManager::DestroyInstance() {
    if (!instance) return;
    delete instance;
    instance = nullptr;
}

int SoundManager::Init(HWND window) {
    if (FAILED(DirectSoundCreate8(nullptr, &device, nullptr))) {
        // Without a sound device the game goes on silent: nothing below touches the missing device.
        device = nullptr;
        MessageBoxA(window, "サウンドデバイスの作成に失敗しました", "ERROR", MB_OK);
        return 1;
    }
    device->SetCooperativeLevel(window, DSSCL_EXCLUSIVE);

    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN;
    desc.dwBufferBytes = 0;
    desc.lpwfxFormat = nullptr;
    desc.guid3DAlgorithm = GUID_NULL;
    device->CreateSoundBuffer(&desc, &primary, nullptr);

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
    format.cbSize = 0;
    if (primary) primary->SetFormat(&format);
    return 1;
}

IDirectSoundBuffer8* SoundManager::GetBuffer(const char* fileName) {
    if (!fileName) return nullptr;
    auto it = buffers.find(fileName);
    if (it != buffers.end()) return it->second;
    IDirectSoundBuffer8* buffer = nullptr;
    CreateBuffer(&buffer, fileName);
    // A name whose buffer could not be made keeps an empty entry: it is not tried, nor reported, again.
    buffers.insert({fileName, buffer});
    return buffer;
}

int SoundManager::CreateBuffer(IDirectSoundBuffer8** buffer, const char* fileName) {
    *buffer = nullptr;
    if (!device) return 1;  // no sound device: every effect stays silent

    WaveFile wave;
    const HRESULT opened = wave.Open(fileName);

    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_CTRLFX | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY;
    desc.dwBufferBytes = wave.dataChunk.cksize;
    desc.lpwfxFormat = wave.format;
    desc.guid3DAlgorithm = GUID_NULL;

    // A file whose header parsed but that has no "data" chunk has no size to make a buffer of: it
    // fails like a buffer that cannot be created.
    const bool noData = FAILED(opened) && wave.format != nullptr;
    IDirectSoundBuffer* created = nullptr;
    if (noData || FAILED(device->CreateSoundBuffer(&desc, &created, nullptr))) {
        MessageBoxA(nullptr, "セカンダリバッファの作成に失敗しました", "ERROR", MB_OK);
        return 1;
    }
    created->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<LPVOID*>(buffer));
    created->Release();
    if (!*buffer) return 1;

    void* first = nullptr;
    void* second = nullptr;
    DWORD firstSize = 0, secondSize = 0;
    const DWORD size = wave.dataChunk.cksize;
    HRESULT hr = (*buffer)->Lock(0, size, &first, &firstSize, &second, &secondSize, 0);
    if (hr == DSERR_BUFFERLOST) {
        (*buffer)->Restore();
        hr = (*buffer)->Lock(0, size, &first, &firstSize, &second, &secondSize, 0);
    }
    if (SUCCEEDED(hr)) {
        DWORD read = 0;
        wave.Read(firstSize, static_cast<BYTE*>(first), &read);
        if (secondSize != 0) wave.Read(secondSize, static_cast<BYTE*>(second), &read);
        (*buffer)->Unlock(first, firstSize, second, secondSize);
    }
    return 1;
}

void SoundManager::Play(const char* fileName) {
    IDirectSoundBuffer8* buffer = GetBuffer(fileName);
    if (!buffer) return;
    buffer->SetCurrentPosition(0);
    GetBuffer(fileName)->Play(0, 0, 0);
}

bool SoundManager::SetEcho(IDirectSoundBuffer8* buffer) {
    if (!buffer) return false;
    IDirectSoundFXEcho8* echo = nullptr;
    if (FAILED(buffer->GetObjectInPath(GUID_DSFX_STANDARD_ECHO, 0, IID_IDirectSoundFXEcho8,
                                       reinterpret_cast<LPVOID*>(&echo))))
        return false;
    DSFXEcho params;
    params.fWetDryMix = 100.0f;
    params.fFeedback = 50.0f;
    params.fLeftDelay = 300.0f;
    params.fRightDelay = 300.0f;
    params.lPanDelay = 0;
    const HRESULT hr = echo->SetAllParameters(&params);
    echo->Release();
    return SUCCEEDED(hr);
}

int SoundManager::ReleaseBuffers() {
    if (buffers.empty()) return 0;
    for (auto& entry : buffers) {
        if (entry.second) {
            entry.second->Release();
            entry.second = nullptr;
        }
    }
    buffers.clear();
    return 0;
}

int SoundManager::ReleaseDevice() {
    if (primary) primary->Release();
    primary = nullptr;
    if (device) device->Release();
    device = nullptr;
    DestroyInstance();
    return 1;
}
