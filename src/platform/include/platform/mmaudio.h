// The Windows multimedia audio services the game calls: the wave format structures, the buffered
// RIFF file functions (mmio), the media control interface commands (mciSendCommandA) and the system
// sound player (sndPlaySoundA). Names and values are the Windows ones.
#pragma once

#include "platform/mmsystem.h"

// ---- wave formats ----
// The Windows headers pack these to one byte: a WAVEFORMATEX is 18 bytes and its extra bytes follow
// it directly, a PCMWAVEFORMAT is the 16 bytes of a PCM "fmt " chunk.
#pragma pack(push, 1)
struct WAVEFORMAT {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
};
struct PCMWAVEFORMAT {
    WAVEFORMAT wf;
    WORD wBitsPerSample;
};
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMAT) == 14, "WAVEFORMAT has the Windows layout");
static_assert(sizeof(PCMWAVEFORMAT) == 16, "PCMWAVEFORMAT has the Windows layout");
static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX has the Windows layout");
typedef WAVEFORMATEX* LPWAVEFORMATEX;
typedef const WAVEFORMATEX* LPCWAVEFORMATEX;

#define WAVE_FORMAT_PCM 1
#define WAVE_FORMAT_IEEE_FLOAT 3

// ---- buffered file functions (mmio) ----
typedef DWORD FOURCC;
typedef char* HPSTR;
struct MmioFile;
typedef MmioFile* HMMIO;
typedef void* HTASK;
typedef LRESULT(CALLBACK* LPMMIOPROC)(LPSTR info, UINT msg, LPARAM param1, LPARAM param2);

#define mmioFOURCC(a, b, c, d) \
    ((FOURCC)(BYTE)(a) | ((FOURCC)(BYTE)(b) << 8) | ((FOURCC)(BYTE)(c) << 16) | ((FOURCC)(BYTE)(d) << 24))
#define FOURCC_RIFF mmioFOURCC('R', 'I', 'F', 'F')
#define FOURCC_LIST mmioFOURCC('L', 'I', 'S', 'T')

struct MMIOINFO {
    DWORD dwFlags;
    FOURCC fccIOProc;
    LPMMIOPROC pIOProc;
    UINT wErrorRet;
    HTASK htask;
    LONG cchBuffer;     // size of the I/O buffer, 0 when unbuffered
    HPSTR pchBuffer;    // the I/O buffer
    HPSTR pchNext;      // next byte to read
    HPSTR pchEndRead;   // one past the last byte that can be read from the buffer
    HPSTR pchEndWrite;  // one past the last byte that can be written to the buffer
    LONG lBufOffset;    // file offset of the buffer's first byte
    LONG lDiskOffset;   // file offset the next disk read starts at
    DWORD adwInfo[3];
    DWORD dwReserved1;
    DWORD dwReserved2;
    HMMIO hmmio;
};
typedef MMIOINFO* LPMMIOINFO;

struct MMCKINFO {
    FOURCC ckid;         // chunk id
    DWORD cksize;        // size of the chunk's data
    FOURCC fccType;      // form type of a "RIFF" or "LIST" chunk
    DWORD dwDataOffset;  // file offset of the chunk's data
    DWORD dwFlags;
};
typedef MMCKINFO* LPMMCKINFO;

#define MMIO_READ 0x00000000
#define MMIO_WRITE 0x00000001
#define MMIO_READWRITE 0x00000002
#define MMIO_CREATE 0x00001000
#define MMIO_PARSE 0x00000100
#define MMIO_DELETE 0x00000200
#define MMIO_EXIST 0x00004000
#define MMIO_ALLOCBUF 0x00010000
#define MMIO_GETTEMP 0x00020000
#define MMIO_DIRTY 0x10000000
#define MMIO_FINDCHUNK 0x0010
#define MMIO_FINDRIFF 0x0020
#define MMIO_FINDLIST 0x0040
#define MMIO_CREATERIFF 0x0020
#define MMIO_CREATELIST 0x0040
#define MMIO_DEFAULTBUFFER 8192

// The C library's values, where it has not named them already.
#ifndef SEEK_SET
#define SEEK_SET 0
#define SEEK_CUR 1
#define SEEK_END 2
#endif

#define MMSYSERR_INVALHANDLE 5
#define MMIOERR_BASE 256
#define MMIOERR_FILENOTFOUND (MMIOERR_BASE + 1)
#define MMIOERR_OUTOFMEMORY (MMIOERR_BASE + 2)
#define MMIOERR_CANNOTOPEN (MMIOERR_BASE + 3)
#define MMIOERR_CANNOTCLOSE (MMIOERR_BASE + 4)
#define MMIOERR_CANNOTREAD (MMIOERR_BASE + 5)
#define MMIOERR_CANNOTWRITE (MMIOERR_BASE + 6)
#define MMIOERR_CANNOTSEEK (MMIOERR_BASE + 7)
#define MMIOERR_CANNOTEXPAND (MMIOERR_BASE + 8)
#define MMIOERR_CHUNKNOTFOUND (MMIOERR_BASE + 9)
#define MMIOERR_UNBUFFERED (MMIOERR_BASE + 10)
#define MMIOERR_PATHNOTFOUND (MMIOERR_BASE + 11)
#define MMIOERR_ACCESSDENIED (MMIOERR_BASE + 12)

// Only reading is offered: the game reads its sound files and writes none.
HMMIO mmioOpenA(LPSTR fileName, LPMMIOINFO info, DWORD flags);
MMRESULT mmioClose(HMMIO file, UINT flags);
LONG mmioRead(HMMIO file, HPSTR buffer, LONG count);
LONG mmioSeek(HMMIO file, LONG offset, int origin);
MMRESULT mmioDescend(HMMIO file, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags);
MMRESULT mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT flags);
MMRESULT mmioGetInfo(HMMIO file, LPMMIOINFO info, UINT flags);
MMRESULT mmioSetInfo(HMMIO file, const MMIOINFO* info, UINT flags);
MMRESULT mmioAdvance(HMMIO file, LPMMIOINFO info, UINT flags);

// ---- media control interface (mciSendCommandA) ----
#define MCI_OPEN 0x0803
#define MCI_CLOSE 0x0804
#define MCI_PLAY 0x0806
#define MCI_SEEK 0x0807
#define MCI_STOP 0x0808
#define MCI_PAUSE 0x0809
#define MCI_SET 0x080D
#define MCI_STATUS 0x0814

#define MCI_NOTIFY 0x00000001L
#define MCI_WAIT 0x00000002L
#define MCI_FROM 0x00000004L
#define MCI_TO 0x00000008L
#define MCI_OPEN_SHAREABLE 0x00000100L
#define MCI_OPEN_ELEMENT 0x00000200L
#define MCI_OPEN_ALIAS 0x00000400L
#define MCI_OPEN_ELEMENT_ID 0x00000800L
#define MCI_OPEN_TYPE_ID 0x00001000L
#define MCI_OPEN_TYPE 0x00002000L
#define MCI_SEEK_TO_START 0x00000100L
#define MCI_SEEK_TO_END 0x00000200L
#define MCI_SET_DOOR_OPEN 0x00000100L
#define MCI_SET_DOOR_CLOSED 0x00000200L
#define MCI_SET_TIME_FORMAT 0x00000400L
#define MCI_STATUS_ITEM 0x00000100L

#define MCI_STATUS_LENGTH 0x00000001L
#define MCI_STATUS_POSITION 0x00000002L
#define MCI_STATUS_MODE 0x00000004L
#define MCI_MODE_NOT_READY 524
#define MCI_MODE_STOP 525
#define MCI_MODE_PLAY 526
#define MCI_MODE_PAUSE 529

#define MCI_DEVTYPE_CD_AUDIO 516
#define MCI_DEVTYPE_WAVEFORM_AUDIO 522
#define MCI_DEVTYPE_SEQUENCER 523

#define MCIERR_BASE 256
#define MCIERR_INVALID_DEVICE_ID (MCIERR_BASE + 1)
#define MCIERR_UNRECOGNIZED_COMMAND (MCIERR_BASE + 5)
#define MCIERR_HARDWARE (MCIERR_BASE + 6)
#define MCIERR_INVALID_DEVICE_NAME (MCIERR_BASE + 7)
#define MCIERR_OUT_OF_MEMORY (MCIERR_BASE + 8)
#define MCIERR_CANNOT_LOAD_DRIVER (MCIERR_BASE + 10)
#define MCIERR_MISSING_PARAMETER (MCIERR_BASE + 17)
#define MCIERR_UNSUPPORTED_FUNCTION (MCIERR_BASE + 18)
#define MCIERR_FILE_NOT_FOUND (MCIERR_BASE + 19)
#define MCIERR_DEVICE_NOT_READY (MCIERR_BASE + 20)
#define MCIERR_EXTENSION_NOT_FOUND (MCIERR_BASE + 25)
#define MCIERR_OUTOFRANGE (MCIERR_BASE + 26)
#define MCIERR_FLAGS_NOT_COMPATIBLE (MCIERR_BASE + 28)
#define MCIERR_DEVICE_TYPE_REQUIRED (MCIERR_BASE + 31)
#define MCIERR_INVALID_FILE (MCIERR_BASE + 40)
#define MCIERR_NULL_PARAMETER_BLOCK (MCIERR_BASE + 41)
#define MCIERR_FILENAME_REQUIRED (MCIERR_BASE + 48)
#define MCIERR_SEQ_NOMIDIPRESENT (MCIERR_BASE + 87)

struct MCI_GENERIC_PARMS {
    DWORD_PTR dwCallback;
};
struct MCI_SEEK_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwTo;
};
struct MCI_SET_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwTimeFormat;
    DWORD dwAudio;
};
struct MCI_STATUS_PARMS {
    DWORD_PTR dwCallback;
    DWORD_PTR dwReturn;
    DWORD dwItem;
    DWORD dwTrack;
};

// Sends a command to a device. The sequencer ("Sequencer", or the type id MCI_DEVTYPE_SEQUENCER)
// plays Standard MIDI files; its positions and lengths are in milliseconds. With MCI_NOTIFY, the
// callback window of the parameter block receives MM_MCINOTIFY through its message queue, wParam
// the outcome (MCI_NOTIFY_*), lParam the device id. There is no CD-audio device on this platform.
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param);

// ---- system sounds ----
#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010

// Plays a WAV file as the system sound; a new system sound stops the one before it, and a null
// name stops it. Without SND_ASYNC the call returns when the sound has played.
BOOL sndPlaySoundA(LPCSTR soundName, UINT flags);
