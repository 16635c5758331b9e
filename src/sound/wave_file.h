// Reading the game's sound effect files: RIFF WAVE through the buffered multimedia file functions.
// Every operation answers S_OK or E_FAIL.
#pragma once

#include "platform/mmaudio.h"

class WaveFile {
  public:
    WAVEFORMATEX* format;  // the file's format (owned, with its extra bytes), null until parsed
    HMMIO file;            // the open file, null when none is open
    MMCKINFO dataChunk;    // "data": its size counts the bytes not read yet
    MMCKINFO riffChunk;    // the outer "RIFF" chunk of form type "WAVE"

    WaveFile();
    ~WaveFile();
    WaveFile(const WaveFile&) = delete;
    WaveFile& operator=(const WaveFile&) = delete;

    // Opens and parses the file and places the reader at its first data byte.
    HRESULT Open(const char* fileName);
    // Back to the first data byte, with the full data size to read.
    HRESULT Reset();
    // Reads up to size data bytes into buffer; sizeRead gets how many.
    HRESULT Read(DWORD size, BYTE* buffer, DWORD* sizeRead);
    HRESULT Close();
};

HRESULT OpenWaveFile(const char* fileName, HMMIO* file, WAVEFORMATEX** format, MMCKINFO* riffChunk);
HRESULT ParseWaveHeader(HMMIO file, MMCKINFO* riffChunk, WAVEFORMATEX** format);
HRESULT SeekToWaveData(HMMIO file, MMCKINFO* dataChunk, const MMCKINFO* riffChunk);
HRESULT ReadWaveData(HMMIO file, DWORD size, BYTE* buffer, MMCKINFO* dataChunk, DWORD* sizeRead);
