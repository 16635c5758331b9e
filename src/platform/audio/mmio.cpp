// The buffered multimedia file functions, for reading RIFF files: chunks are a four-character id,
// a 32-bit little-endian size and that many bytes of data, padded to an even length; "RIFF" and
// "LIST" chunks start their data with a four-character form type.
#include "platform/mmaudio.h"
#include "platform/common/owner.h"

#include "platform/audio/mmio.h"
#include "platform/files/file_handle.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

struct MmioFile {
    std::FILE* file = nullptr;
    MMIOINFO info{};
    std::vector<char> ownBuffer;
    std::int64_t position = 0;  // unbuffered files: where the next read starts
};

namespace {

struct OpenMmioFiles {
    std::set<MmioFile*> files;
};

std::set<MmioFile*>& OpenFiles() {
    return platform::owner::Part<OpenMmioFiles>(platform::owner::Life::Program).files;
}

struct LastWave {
    std::string file;
};

LastWave& LastOpened() {
    return platform::owner::Part<LastWave>(platform::owner::Life::Run);
}

bool Valid(HMMIO file) {
    return file && OpenFiles().count(file) != 0;
}

bool Buffered(const MmioFile* f) {
    return f->info.cchBuffer > 0 && f->info.pchBuffer;
}

std::int64_t Loaded(const MmioFile* f) {
    return f->info.pchEndRead - f->info.pchBuffer;
}

std::int64_t Position(const MmioFile* f) {
    if (!Buffered(f)) return f->position;
    return std::int64_t(f->info.lBufOffset) + (f->info.pchNext - f->info.pchBuffer);
}

// An empty buffer that starts at offset.
void EmptyBufferAt(MmioFile* f, std::int64_t offset) {
    MMIOINFO& i = f->info;
    i.lBufOffset = LONG(offset);
    i.lDiskOffset = LONG(offset);
    i.pchNext = i.pchBuffer;
    i.pchEndRead = i.pchBuffer;
    i.pchEndWrite = i.pchBuffer + i.cchBuffer;
}

// Reads the buffer-full that starts at offset; the number of bytes, or -1 on a read error.
long FillBuffer(MmioFile* f, std::int64_t offset) {
    EmptyBufferAt(f, offset);
    if (std::fseek(f->file, long(offset), SEEK_SET) != 0) return -1;
    const std::size_t got = std::fread(f->info.pchBuffer, 1, std::size_t(f->info.cchBuffer), f->file);
    if (got == 0 && std::ferror(f->file)) {
        std::clearerr(f->file);
        return -1;
    }
    f->info.pchEndRead = f->info.pchBuffer + got;
    f->info.lDiskOffset = LONG(offset + std::int64_t(got));
    return long(got);
}

std::int64_t FileSize(MmioFile* f) {
    struct stat st;
    if (fstat(fileno(f->file), &st) != 0) return -1;
    return std::int64_t(st.st_size);
}

DWORD Le32(const BYTE* p) {
    return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24);
}

bool ValidCallerInfo(const MmioFile* f, const MMIOINFO* info) {
    return info->pchBuffer == f->info.pchBuffer && info->pchNext >= f->info.pchBuffer &&
           info->pchNext <= f->info.pchEndRead;
}

}  // namespace

HMMIO mmioOpenA(LPSTR fileName, LPMMIOINFO info, DWORD flags) {
    auto fail = [info](UINT error) -> HMMIO {
        if (info) info->wErrorRet = error;
        return nullptr;
    };
    const DWORD access = flags & 0x3;
    if (access != MMIO_READ || (flags & MMIO_CREATE)) return fail(MMIOERR_ACCESSDENIED);
    if (flags & (MMIO_PARSE | MMIO_DELETE | MMIO_EXIST | MMIO_GETTEMP)) return fail(MMSYSERR_INVALPARAM);
    if (info && (info->pIOProc || info->fccIOProc)) return fail(MMSYSERR_INVALPARAM);
    if (!fileName) return fail(MMIOERR_FILENOTFOUND);

    // Only a regular file: a FIFO in its place would block the open.
    std::FILE* file = platform::files::OpenRegularFile(fileName).release();
    if (!file)
        return fail(errno == ENOENT   ? MMIOERR_FILENOTFOUND
                    : errno == EACCES ? MMIOERR_ACCESSDENIED
                                      : MMIOERR_CANNOTOPEN);

    MmioFile* f = new (std::nothrow) MmioFile();
    if (!f) {
        std::fclose(file);
        return fail(MMIOERR_OUTOFMEMORY);
    }
    f->file = file;
    LastOpened().file = fileName;
    if (flags & MMIO_ALLOCBUF) {
        const LONG size = (info && info->cchBuffer > 0) ? info->cchBuffer : MMIO_DEFAULTBUFFER;
        try {
            f->ownBuffer.resize(std::size_t(size));
        } catch (const std::bad_alloc&) {
            std::fclose(file);
            delete f;
            return fail(MMIOERR_OUTOFMEMORY);
        }
        f->info.cchBuffer = size;
        f->info.pchBuffer = f->ownBuffer.data();
    } else if (info && info->pchBuffer && info->cchBuffer > 0) {
        f->info.cchBuffer = info->cchBuffer;  // the caller's own buffer
        f->info.pchBuffer = info->pchBuffer;
    }
    f->info.dwFlags = flags;
    f->info.hmmio = f;
    EmptyBufferAt(f, 0);
    OpenFiles().insert(f);
    if (info) info->wErrorRet = MMSYSERR_NOERROR;
    return f;
}

MMRESULT mmioClose(HMMIO file, UINT) {
    if (!Valid(file)) return MMSYSERR_INVALHANDLE;
    OpenFiles().erase(file);
    const bool closed = std::fclose(file->file) == 0;
    delete file;
    return closed ? MMSYSERR_NOERROR : MMIOERR_CANNOTCLOSE;
}

LONG mmioRead(HMMIO file, HPSTR buffer, LONG count) {
    if (!Valid(file) || count < 0 || (!buffer && count > 0)) return -1;
    MmioFile* f = file;
    if (!Buffered(f)) {
        if (std::fseek(f->file, long(f->position), SEEK_SET) != 0) return -1;
        const std::size_t got = std::fread(buffer, 1, std::size_t(count), f->file);
        if (got < std::size_t(count) && std::ferror(f->file)) {
            std::clearerr(f->file);
            return -1;
        }
        f->position += std::int64_t(got);
        return LONG(got);
    }
    LONG done = 0;
    while (done < count) {
        std::int64_t avail = f->info.pchEndRead - f->info.pchNext;
        if (avail == 0) {
            const long got = FillBuffer(f, f->info.lDiskOffset);
            if (got < 0) return -1;
            if (got == 0) break;
            avail = got;
        }
        const LONG n = LONG(std::min<std::int64_t>(avail, count - done));
        std::memcpy(buffer + done, f->info.pchNext, std::size_t(n));
        f->info.pchNext += n;
        done += n;
    }
    return done;
}

LONG mmioSeek(HMMIO file, LONG offset, int origin) {
    if (!Valid(file)) return -1;
    MmioFile* f = file;
    std::int64_t base;
    switch (origin) {
        case SEEK_SET:
            base = 0;
            break;
        case SEEK_CUR:
            base = Position(f);
            break;
        case SEEK_END:
            base = FileSize(f);
            break;
        default:
            return -1;
    }
    if (base < 0) return -1;
    const std::int64_t target = base + offset;
    // Past the end is allowed (reads there give nothing); before the start or beyond 2 GB is not.
    if (target < 0 || target > LONG_MAX) return -1;
    if (!Buffered(f)) {
        f->position = target;
    } else if (target >= f->info.lBufOffset && target <= f->info.lBufOffset + Loaded(f)) {
        f->info.pchNext = f->info.pchBuffer + (target - f->info.lBufOffset);
    } else {
        EmptyBufferAt(f, target);
    }
    return LONG(target);
}

MMRESULT mmioDescend(HMMIO file, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags) {
    if (!Valid(file)) return MMSYSERR_INVALHANDLE;
    if (!chunk) return MMSYSERR_INVALPARAM;
    const UINT find = flags & (MMIO_FINDCHUNK | MMIO_FINDRIFF | MMIO_FINDLIST);
    if (find != 0 && find != MMIO_FINDCHUNK && find != MMIO_FINDRIFF && find != MMIO_FINDLIST)
        return MMSYSERR_INVALPARAM;

    std::int64_t pos = Position(file);
    std::int64_t end = INT64_MAX;
    if (parent) {
        // A descent stays inside its parent: it starts there and every header it reads fits in it.
        const std::int64_t data = parent->dwDataOffset;
        end = data + std::int64_t(parent->cksize);
        if (pos < data || pos >= end) return MMIOERR_CHUNKNOTFOUND;
    }
    const FOURCC wantId = chunk->ckid;
    const FOURCC wantType = chunk->fccType;

    for (;;) {
        if (pos + 8 > end || pos > LONG_MAX) return MMIOERR_CHUNKNOTFOUND;
        if (mmioSeek(file, LONG(pos), SEEK_SET) < 0) return MMIOERR_CANNOTSEEK;
        BYTE header[12];
        if (mmioRead(file, reinterpret_cast<HPSTR>(header), 8) != 8) return MMIOERR_CHUNKNOTFOUND;
        const FOURCC id = Le32(header);
        const DWORD size = Le32(header + 4);
        const std::int64_t data = pos + 8;
        const bool form = id == FOURCC_RIFF || id == FOURCC_LIST;
        FOURCC type = 0;
        if (form) {
            if (data + 4 > end) return MMIOERR_CHUNKNOTFOUND;
            if (mmioRead(file, reinterpret_cast<HPSTR>(header + 8), 4) != 4) return MMIOERR_CHUNKNOTFOUND;
            type = Le32(header + 8);
        }
        const bool match = find == 0 || (find == MMIO_FINDCHUNK && id == wantId) ||
                           (find == MMIO_FINDRIFF && id == FOURCC_RIFF && type == wantType) ||
                           (find == MMIO_FINDLIST && id == FOURCC_LIST && type == wantType);
        if (match) {
            // A chunk never holds more than the file has left after its header: a size that claims
            // more (a damaged or cut file) is cut to what is there, so nobody sizes a buffer by it.
            const std::int64_t left = FileSize(file) - data;
            if (left < 0) return MMIOERR_CANNOTREAD;
            chunk->ckid = id;
            chunk->cksize = std::int64_t(size) > left ? DWORD(left) : size;
            chunk->fccType = type;
            chunk->dwDataOffset = DWORD(data);
            chunk->dwFlags = 0;
            return MMSYSERR_NOERROR;  // positioned at the data (past the form type of a RIFF or LIST)
        }
        pos = data + std::int64_t(size) + (size & 1);
    }
}

MMRESULT mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT) {
    if (!Valid(file)) return MMSYSERR_INVALHANDLE;
    if (!chunk) return MMSYSERR_INVALPARAM;
    if (chunk->dwFlags & MMIO_DIRTY) return MMIOERR_CANNOTWRITE;  // nothing is written here
    const std::int64_t end = std::int64_t(chunk->dwDataOffset) + chunk->cksize + (chunk->cksize & 1);
    if (end > LONG_MAX || mmioSeek(file, LONG(end), SEEK_SET) < 0) return MMIOERR_CANNOTSEEK;
    return MMSYSERR_NOERROR;
}

MMRESULT mmioGetInfo(HMMIO file, LPMMIOINFO info, UINT) {
    if (!Valid(file)) return MMSYSERR_INVALHANDLE;
    if (!info) return MMSYSERR_INVALPARAM;
    *info = file->info;
    return MMSYSERR_NOERROR;
}

MMRESULT mmioSetInfo(HMMIO file, const MMIOINFO* info, UINT) {
    if (!Valid(file)) return MMSYSERR_INVALHANDLE;
    if (!info) return MMSYSERR_INVALPARAM;
    if (!Buffered(file)) return MMSYSERR_NOERROR;
    if (!ValidCallerInfo(file, info)) return MMSYSERR_INVALPARAM;
    file->info.pchNext = info->pchNext;
    return MMSYSERR_NOERROR;
}

MMRESULT mmioAdvance(HMMIO file, LPMMIOINFO info, UINT flags) {
    if (!Valid(file)) return MMSYSERR_INVALHANDLE;
    if (!Buffered(file)) return MMIOERR_UNBUFFERED;
    if (flags != MMIO_READ && flags != MMIO_WRITE) return MMSYSERR_INVALPARAM;
    if (flags == MMIO_WRITE) return MMIOERR_CANNOTWRITE;
    if (info && !ValidCallerInfo(file, info)) return MMSYSERR_INVALPARAM;
    // The next buffer-full follows the last one read from the disk.
    if (FillBuffer(file, file->info.lDiskOffset) < 0) return MMIOERR_CANNOTREAD;
    if (info) *info = file->info;
    return MMSYSERR_NOERROR;
}

std::string platform::audio::LastWaveOpened() {
    return LastOpened().file;
}
