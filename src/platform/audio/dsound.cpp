#include "platform/dsound.h"

#include "platform/audio/audio_mixer.h"
#include "platform/audio/mmio.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

namespace audio = platform::audio;

// The converted sound of one buffer may not outgrow what a buffer itself may hold.
constexpr std::uint64_t kMaxMixedBytes = DSBSIZE_MAX;

bool IsPlayablePcm(const WAVEFORMATEX& f) {
    if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
    if (f.nChannels != 1 && f.nChannels != 2) return false;
    if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
    if (f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8) return false;
    return f.nSamplesPerSec >= DSBFREQUENCY_MIN && f.nSamplesPerSec <= DSBFREQUENCY_MAX;
}

std::uint64_t MixedFrames(std::uint64_t sourceFrames, std::uint32_t rate) {
    return (sourceFrames * audio::kRate + rate - 1) / rate;
}

// One frame of the source as a 16-bit stereo pair.
void SourceFrame(const BYTE* src, const WAVEFORMATEX& f, std::uint64_t frame, int* left, int* right) {
    const BYTE* p = src + frame * f.nBlockAlign;
    if (f.wBitsPerSample == 8) {
        *left = (int(p[0]) - 128) * 256;
        *right = f.nChannels == 2 ? (int(p[1]) - 128) * 256 : *left;
    } else {
        *left = std::int16_t(std::uint16_t(p[0] | (p[1] << 8)));
        *right = f.nChannels == 2 ? std::int16_t(std::uint16_t(p[2] | (p[3] << 8))) : *left;
    }
}

// PCM of any of the accepted formats to the mixer's 44100 Hz 16-bit stereo; other rates are
// resampled by straight-line interpolation between neighbouring frames.
void ConvertToMixer(const BYTE* src, std::uint64_t sourceFrames, const WAVEFORMATEX& f, std::int16_t* out,
                    std::uint64_t outFrames) {
    if (sourceFrames == 0) {
        std::fill(out, out + outFrames * 2, std::int16_t(0));
        return;
    }
    const std::uint64_t rate = f.nSamplesPerSec;
    for (std::uint64_t j = 0; j < outFrames; ++j) {
        const std::uint64_t pos = j * rate;
        const std::uint64_t i = std::min<std::uint64_t>(pos / audio::kRate, sourceFrames - 1);
        const std::int64_t frac = std::int64_t(pos % audio::kRate);
        int l0, r0, l1, r1;
        SourceFrame(src, f, i, &l0, &r0);
        SourceFrame(src, f, std::min(i + 1, sourceFrames - 1), &l1, &r1);
        out[2 * j] = std::int16_t(l0 + (std::int64_t(l1 - l0) * frac) / audio::kRate);
        out[2 * j + 1] = std::int16_t(r0 + (std::int64_t(r1 - r0) * frac) / audio::kRate);
    }
}

bool ValidLevel(DWORD level) {
    return level >= DSSCL_NORMAL && level <= DSSCL_WRITEPRIMARY;
}

}  // namespace

// ---- echo ----

HRESULT IDirectSoundFXEcho8::SetAllParameters(LPCDSFXEcho p) {
    if (!p) return DSERR_INVALIDPARAM;
    auto in = [](FLOAT v, FLOAT lo, FLOAT hi) { return v >= lo && v <= hi; };
    if (!in(p->fWetDryMix, 0, 100) || !in(p->fFeedback, 0, 100) || !in(p->fLeftDelay, 1, 2000) ||
        !in(p->fRightDelay, 1, 2000) || (p->lPanDelay != 0 && p->lPanDelay != 1))
        return DSERR_INVALIDPARAM;
    params_ = *p;
    return DS_OK;
}

// ---- buffers ----

void IDirectSoundBuffer::ChunkDelete::operator()(Mix_Chunk* chunk) const {
    delete chunk;
}

IDirectSoundBuffer::~IDirectSoundBuffer() {
    if (primary_) {
        if (device_) device_->primary_ = nullptr;
        return;
    }
    if (!holdsMixer_) return;
    {
        audio::Lock lock;
        if (channel_ >= 0) audio::ReleaseChannel(channel_);
        whole_.reset();
        tail_.reset();
    }
    audio::Close();
}

HRESULT IDirectSoundBuffer::QueryInterface(REFIID iid, LPVOID* object) {
    if (!object) return DSERR_INVALIDPARAM;
    *object = nullptr;
    if (iid == IID_IDirectSoundBuffer) {
        AddRef();
        *object = this;
        return DS_OK;
    }
    if (iid == IID_IDirectSoundBuffer8 && !primary_) {
        AddRef();
        *object = static_cast<IDirectSoundBuffer8*>(this);
        return DS_OK;
    }
    return DSERR_NOINTERFACE;
}

HRESULT IDirectSoundBuffer::GetStatus(DWORD* status) {
    if (!status) return DSERR_INVALIDPARAM;
    *status = 0;
    if (primary_) {
        *status = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;  // the mixer always runs
        return DS_OK;
    }
    if (playing_ && Mix_Playing(channel_)) *status = DSBSTATUS_PLAYING | (looping_ ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, DWORD* sizeWritten) {
    if (!format && !sizeWritten) return DSERR_INVALIDPARAM;
    const WAVEFORMATEX& f = primary_ ? (device_ ? device_->primaryFormat_ : format_) : format_;
    if (format) {
        if (sizeAllocated < sizeof(WAVEFORMATEX)) return DSERR_INVALIDPARAM;
        *format = f;
    }
    if (sizeWritten) *sizeWritten = sizeof(WAVEFORMATEX);
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetFormat(LPCWAVEFORMATEX format) {
    if (!primary_) return DSERR_INVALIDCALL;
    if (!format) return DSERR_INVALIDPARAM;
    if (!device_ || device_->level_ < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
    if (!IsPlayablePcm(*format)) return DSERR_BADFORMAT;
    // The mixer keeps running at 44100 Hz, 16 bit, stereo; every buffer is converted to that.
    device_->primaryFormat_ = *format;
    device_->primaryFormat_.cbSize = 0;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* audio1, DWORD* bytes1, LPVOID* audio2,
                                 DWORD* bytes2, DWORD flags) {
    if (primary_) return DSERR_PRIOLEVELNEEDED;
    if (!audio1 || !bytes1) return DSERR_INVALIDPARAM;
    *audio1 = nullptr;
    *bytes1 = 0;
    if (audio2) *audio2 = nullptr;
    if (bytes2) *bytes2 = 0;
    const DWORD size = DWORD(bytes_.size());
    if (flags & DSBLOCK_FROMWRITECURSOR) offset = cursor_;
    if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
    if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
    const DWORD first = std::min(bytes, size - offset);
    const DWORD second = bytes - first;
    if (second > 0 && (!audio2 || !bytes2)) return DSERR_INVALIDPARAM;
    *audio1 = bytes_.data() + offset;
    *bytes1 = first;
    if (second > 0) {
        *audio2 = bytes_.data();
        *bytes2 = second;
    }
    locked_ = true;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Unlock(LPVOID audio1, DWORD bytes1, LPVOID audio2, DWORD bytes2) {
    if (primary_) return DSERR_INVALIDCALL;
    if (!locked_) return DSERR_INVALIDPARAM;
    auto inside = [this](LPVOID p, DWORD n) {
        const BYTE* b = static_cast<const BYTE*>(p);
        const BYTE* begin = bytes_.data();
        return b >= begin && b <= begin + bytes_.size() && n <= std::size_t(begin + bytes_.size() - b);
    };
    if (!audio1 || !inside(audio1, bytes1)) return DSERR_INVALIDPARAM;
    if (audio2 && !inside(audio2, bytes2)) return DSERR_INVALIDPARAM;
    locked_ = false;
    Convert();
    return DS_OK;
}

void IDirectSoundBuffer::Convert() {
    audio::Lock lock;
    ConvertToMixer(bytes_.data(), bytes_.size() / format_.nBlockAlign, format_, mixed_.data(),
                   mixed_.size() / 2);
}

HRESULT IDirectSoundBuffer::SetCurrentPosition(DWORD position) {
    if (primary_) return DSERR_INVALIDCALL;
    if (position >= bytes_.size()) return DSERR_INVALIDPARAM;
    cursor_ = position - position % format_.nBlockAlign;
    if (playing_ && Mix_Playing(channel_)) StartChannel();
    return DS_OK;
}

void IDirectSoundBuffer::StartChannel() {
    audio::Lock lock;
    Mix_Chunk* chunk = whole_.get();
    if (cursor_ != 0) {
        const std::uint64_t frame = MixedFrames(cursor_ / format_.nBlockAlign, format_.nSamplesPerSec);
        const std::uint64_t total = mixed_.size() / 2;
        const std::uint64_t from = std::min(frame, total);
        tail_->abuf = reinterpret_cast<Uint8*>(mixed_.data() + from * 2);
        tail_->alen = Uint32((total - from) * audio::kBytesPerFrame);
        chunk = tail_.get();
    }
    if (chunk->alen == 0) {
        Mix_HaltChannel(channel_);
        playing_ = false;
        return;
    }
    Mix_PlayChannel(channel_, chunk, looping_ ? -1 : 0);
}

HRESULT IDirectSoundBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    (void)priority;
    if (reserved != 0) return DSERR_INVALIDPARAM;
    if (primary_) return (flags & DSBPLAY_LOOPING) ? DS_OK : DSERR_INVALIDPARAM;
    audio::Lock lock;
    audio::NoteSoundStarted(source_);  // the game asked for it now (the pad may rumble with it)
    if (playing_ && Mix_Playing(channel_)) return DS_OK;  // already sounding: it goes on
    if (playing_) cursor_ = 0;                            // it played to its end
    looping_ = (flags & DSBPLAY_LOOPING) != 0;
    playing_ = true;
    StartChannel();
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Stop() {
    if (primary_) return DS_OK;
    audio::Lock lock;
    Mix_HaltChannel(channel_);
    playing_ = false;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Restore() {
    return DS_OK;
}  // nothing here is ever lost

HRESULT IDirectSoundBuffer8::GetObjectInPath(REFGUID object, DWORD index, REFGUID iid, LPVOID* out) {
    (void)object;
    (void)index;
    (void)iid;
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (!(flags_ & DSBCAPS_CTRLFX)) return DSERR_CONTROLUNAVAIL;
    return DSERR_OBJECTNOTFOUND;  // no effect has been set on the buffer
}

// ---- device ----

IDirectSound8::~IDirectSound8() {
    if (primary_) primary_->device_ = nullptr;
    audio::Close();
}

HRESULT IDirectSound8::SetCooperativeLevel(HWND window, DWORD level) {
    if (!ValidLevel(level) || !window || !IsWindow(window)) return DSERR_INVALIDPARAM;
    level_ = level;
    return DS_OK;
}

HRESULT IDirectSound8::CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer, void* outer) {
    if (!buffer) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (outer) return DSERR_NOAGGREGATION;
    if (!desc ||
        (desc->dwSize != sizeof(DSBUFFERDESC) && desc->dwSize != offsetof(DSBUFFERDESC, guid3DAlgorithm)))
        return DSERR_INVALIDPARAM;

    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        if (desc->dwBufferBytes != 0 || desc->lpwfxFormat ||
            (desc->dwFlags & (DSBCAPS_CTRLFX | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPOSITIONNOTIFY)))
            return DSERR_INVALIDPARAM;
        if (primary_) {
            primary_->AddRef();
        } else {
            primary_ = new IDirectSoundBuffer();
            primary_->primary_ = true;
            primary_->flags_ = desc->dwFlags;
            primary_->device_ = this;
        }
        *buffer = primary_;
        return DS_OK;
    }

    if (!desc->lpwfxFormat) return DSERR_INVALIDPARAM;
    const WAVEFORMATEX& f = *desc->lpwfxFormat;
    if (!IsPlayablePcm(f)) return DSERR_BADFORMAT;
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    const std::uint64_t frames = MixedFrames(desc->dwBufferBytes / f.nBlockAlign, f.nSamplesPerSec);
    if (frames * audio::kBytesPerFrame > kMaxMixedBytes) return DSERR_OUTOFMEMORY;

    IDirectSoundBuffer8* b = new (std::nothrow) IDirectSoundBuffer8();
    if (!b) return DSERR_OUTOFMEMORY;
    try {
        b->bytes_.assign(desc->dwBufferBytes, BYTE(f.wBitsPerSample == 8 ? 0x80 : 0));
        b->mixed_.assign(std::size_t(frames) * 2, 0);
    } catch (const std::bad_alloc&) {
        delete b;
        return DSERR_OUTOFMEMORY;
    }
    audio::Open();  // a buffer keeps the mixer open as long as it lives
    b->holdsMixer_ = true;
    b->flags_ = desc->dwFlags;
    b->format_ = f;
    b->format_.cbSize = 0;
    b->whole_.reset(new Mix_Chunk{0, reinterpret_cast<Uint8*>(b->mixed_.data()),
                                  Uint32(b->mixed_.size() * sizeof(std::int16_t)), MIX_MAX_VOLUME});
    b->tail_.reset(new Mix_Chunk{0, nullptr, 0, MIX_MAX_VOLUME});
    b->channel_ = audio::AcquireChannel();
    b->source_ = audio::LastWaveOpened();
    *buffer = b;
    return DS_OK;
}

HRESULT DirectSoundCreate8(LPCGUID deviceId, IDirectSound8** device, void* outer) {
    if (!device) return DSERR_INVALIDPARAM;
    *device = nullptr;
    if (outer) return DSERR_NOAGGREGATION;
    if (deviceId && *deviceId != GUID_NULL && *deviceId != DSDEVID_DefaultPlayback) return DSERR_NODRIVER;
    if (!audio::Open()) {
        std::fprintf(stderr, "rushmora: no sound device (%s): the game goes on without sound\n",
                     audio::OpenError().c_str());
        return DSERR_NODRIVER;
    }
    *device = new IDirectSound8();
    return DS_OK;
}
