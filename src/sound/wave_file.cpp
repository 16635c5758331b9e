#include "sound/wave_file.h"

#include <cstdlib>
#include <cstring>

WaveFile::WaveFile() : format(nullptr), file(nullptr), dataChunk{}, riffChunk{} {}

WaveFile::~WaveFile() {
    Close();
    std::free(format);
    format = nullptr;
}

HRESULT WaveFile::Open(const char* fileName) {
    std::free(format);
    format = nullptr;
    Close();
    HRESULT hr = OpenWaveFile(fileName, &file, &format, &riffChunk);
    if (FAILED(hr)) return hr;
    return Reset();
}

HRESULT WaveFile::Reset() {
    return SeekToWaveData(file, &dataChunk, &riffChunk);
}

HRESULT WaveFile::Read(DWORD size, BYTE* buffer, DWORD* sizeRead) {
    return ReadWaveData(file, size, buffer, &dataChunk, sizeRead);
}

HRESULT WaveFile::Close() {
    if (file) mmioClose(file, 0);
    file = nullptr;
    return S_OK;
}

HRESULT OpenWaveFile(const char* fileName, HMMIO* file, WAVEFORMATEX** format, MMCKINFO* riffChunk) {
    HMMIO handle = mmioOpenA(const_cast<LPSTR>(fileName), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!handle) return E_FAIL;
    HRESULT hr = ParseWaveHeader(handle, riffChunk, format);
    if (FAILED(hr)) {
        mmioClose(handle, 0);
        return hr;
    }
    *file = handle;
    return S_OK;
}

HRESULT ParseWaveHeader(HMMIO file, MMCKINFO* riffChunk, WAVEFORMATEX** format) {
    *format = nullptr;
    if (mmioDescend(file, riffChunk, nullptr, 0) != 0) return E_FAIL;
    if (riffChunk->ckid != FOURCC_RIFF || riffChunk->fccType != mmioFOURCC('W', 'A', 'V', 'E')) return E_FAIL;

    MMCKINFO fmtChunk{};
    fmtChunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &fmtChunk, riffChunk, MMIO_FINDCHUNK) != 0) return E_FAIL;
    if (fmtChunk.cksize < sizeof(PCMWAVEFORMAT)) return E_FAIL;

    PCMWAVEFORMAT pcm;
    if (mmioRead(file, reinterpret_cast<HPSTR>(&pcm), sizeof pcm) != LONG(sizeof pcm)) return E_FAIL;

    if (pcm.wf.wFormatTag == WAVE_FORMAT_PCM) {
        // PCM has no extra bytes; anything after the first 16 bytes of the chunk is skipped.
        *format = static_cast<WAVEFORMATEX*>(std::malloc(sizeof(WAVEFORMATEX)));
        if (!*format) return E_FAIL;
        std::memcpy(*format, &pcm, sizeof pcm);
        (*format)->cbSize = 0;
    } else {
        WORD extra = 0;
        if (mmioRead(file, reinterpret_cast<HPSTR>(&extra), sizeof extra) != LONG(sizeof extra))
            return E_FAIL;
        *format = static_cast<WAVEFORMATEX*>(std::malloc(sizeof(WAVEFORMATEX) + extra));
        if (!*format) return E_FAIL;
        std::memcpy(*format, &pcm, sizeof pcm);
        (*format)->cbSize = extra;
        HPSTR extraBytes = reinterpret_cast<HPSTR>(*format) + sizeof(WAVEFORMATEX);
        if (mmioRead(file, extraBytes, extra) < LONG(extra)) {
            std::free(*format);
            *format = nullptr;
            return E_FAIL;
        }
    }

    if (mmioAscend(file, &fmtChunk, 0) != 0) {
        std::free(*format);
        *format = nullptr;
        return E_FAIL;
    }
    return S_OK;
}

HRESULT SeekToWaveData(HMMIO file, MMCKINFO* dataChunk, const MMCKINFO* riffChunk) {
    if (mmioSeek(file, LONG(riffChunk->dwDataOffset + sizeof(FOURCC)), SEEK_SET) == -1) return E_FAIL;
    dataChunk->ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, dataChunk, riffChunk, MMIO_FINDCHUNK) != 0) return E_FAIL;
    return S_OK;
}

HRESULT ReadWaveData(HMMIO file, DWORD size, BYTE* buffer, MMCKINFO* dataChunk, DWORD* sizeRead) {
    if (sizeRead) *sizeRead = 0;
    MMIOINFO info;
    if (mmioGetInfo(file, &info, 0) != 0) return E_FAIL;

    DWORD count = size;
    if (count > dataChunk->cksize) count = dataChunk->cksize;
    if (count > 0 && !buffer) return E_FAIL;
    dataChunk->cksize -= count;

    for (DWORD i = 0; i < count; ++i) {
        if (info.pchNext == info.pchEndRead) {
            if (mmioAdvance(file, &info, MMIO_READ) != 0) return E_FAIL;
            if (info.pchNext == info.pchEndRead) return E_FAIL;  // the file ends before its data does
        }
        buffer[i] = BYTE(*info.pchNext);
        ++info.pchNext;
    }

    if (mmioSetInfo(file, &info, 0) != 0) return E_FAIL;
    if (sizeRead) *sizeRead = count;
    return S_OK;
}
