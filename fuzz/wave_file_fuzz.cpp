// libFuzzer target: any bytes as a sound effect file, read the way the sound manager reads one.
// The reader must answer every file with S_OK or E_FAIL and touch no byte it does not own.
#include "sound/wave_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The input as a file that the buffered file functions can open by name, without touching the disk.
const std::string& InputFile() {
    static std::string path;
    if (path.empty()) {
        const int fd = memfd_create("wave-input", 0);
        if (fd < 0) std::abort();
        path = "/proc/self/fd/" + std::to_string(fd);
    }
    return path;
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
    const int fd = std::stoi(InputFile().substr(std::string("/proc/self/fd/").size()));
    if (ftruncate(fd, 0) != 0) std::abort();
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd, data + done, size - done, off_t(done));
        if (n <= 0) std::abort();
        done += std::size_t(n);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteInput(data, size);
    WaveFile wave;
    const HRESULT opened = wave.Open(InputFile().c_str());
    if (opened != S_OK && opened != E_FAIL) std::abort();

    if (wave.format) {
        // Every byte of the format block, extra bytes included, belongs to it.
        unsigned sum = 0;
        const BYTE* p = reinterpret_cast<const BYTE*>(wave.format);
        for (std::size_t i = 0;
             i <
             sizeof(WAVEFORMATEX) + (wave.format->wFormatTag == WAVE_FORMAT_PCM ? 0 : wave.format->cbSize);
             ++i)
            sum += p[i];
        if (wave.format->wFormatTag == WAVE_FORMAT_PCM && wave.format->cbSize != 0) std::abort();
        (void)sum;
    }
    if (opened != S_OK) return 0;
    // No chunk claims more than the file holds after its header: the sound manager sizes the
    // sound's buffer by the data chunk.
    if (std::uint64_t(wave.dataChunk.dwDataOffset) + wave.dataChunk.cksize > size ||
        std::uint64_t(wave.riffChunk.dwDataOffset) + wave.riffChunk.cksize > size)
        std::abort();

    // The data chunk in two pieces, as a buffer lock with a wrap would ask for it, then once more
    // after a rewind; the sizes a file claims can be far beyond what it holds.
    const DWORD claimed = wave.dataChunk.cksize;
    const DWORD total = std::min<DWORD>(claimed, 1u << 20);
    std::vector<BYTE> buffer(std::size_t(total) + 1);
    DWORD got = 0;
    const DWORD first = total / 3;
    HRESULT hr = wave.Read(first, buffer.data(), &got);
    if (hr == S_OK ? got != first : got != 0) std::abort();
    hr = wave.Read(total - first, buffer.data() + first, &got);
    if (hr == S_OK ? got != total - first : got != 0) std::abort();
    hr = wave.Read(16, nullptr, &got);  // only asks for bytes when there are some left
    if (wave.Reset() == S_OK) {
        if (wave.dataChunk.cksize != claimed) std::abort();
        hr = wave.Read(total, buffer.data(), &got);
        if (hr == S_OK ? got != total : got != 0) std::abort();
    }
    return 0;
}
