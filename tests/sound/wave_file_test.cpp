// The WAV reader: what it accepts, what it skips, and what a caller gets back from crafted files.
#include "support/sound_support.h"
#include "sound/wave_file.h"
#include "support/game_run.h"

#include <cstring>

using namespace sound_test;

namespace {

std::vector<BYTE> ReadAll(WaveFile& w, DWORD size, HRESULT* hr = nullptr, DWORD* got = nullptr) {
    std::vector<BYTE> out(size, 0xEE);
    DWORD n = 0;
    HRESULT r = w.Read(size, out.data(), &n);
    if (hr) *hr = r;
    if (got) *got = n;
    return out;
}

Bytes Ramp(int n) {
    Bytes b;
    for (int i = 0; i < n; ++i) b.push_back(std::uint8_t(i * 7 + 3));
    return b;
}

}  // namespace

TEST(WaveFileHeader, PcmFileGivesItsFormatAndIsPlacedAtTheData) {
    const Bytes data = Ramp(40);
    const std::string path =
        WriteTemp("plain.wav", Riff({Chunk("fmt ", PcmFormat(2, 22050, 16)), Chunk("data", data)}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    ASSERT_NE(w.format, nullptr);
    EXPECT_EQ(w.format->wFormatTag, 1);
    EXPECT_EQ(w.format->nChannels, 2);
    EXPECT_EQ(w.format->nSamplesPerSec, 22050u);
    EXPECT_EQ(w.format->nAvgBytesPerSec, 88200u);
    EXPECT_EQ(w.format->nBlockAlign, 4);
    EXPECT_EQ(w.format->wBitsPerSample, 16);
    EXPECT_EQ(w.format->cbSize, 0);
    EXPECT_EQ(w.dataChunk.cksize, 40u);
    EXPECT_EQ(w.riffChunk.ckid, FOURCC_RIFF);
    EXPECT_EQ(w.riffChunk.fccType, mmioFOURCC('W', 'A', 'V', 'E'));
    HRESULT hr;
    DWORD got;
    const std::vector<BYTE> read = ReadAll(w, 40, &hr, &got);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(got, 40u);
    EXPECT_EQ(Bytes(read.begin(), read.end()), data);
}

TEST(WaveFileHeader, FileThatIsNotRiffWaveFailsAndIsClosedAgain) {
    for (const Bytes& bytes :
         {Bytes{'R', 'I', 'F', 'X', 8, 0, 0, 0, 'W', 'A', 'V', 'E'},
          Riff({Chunk("fmt ", PcmFormat(1, 8000, 8))}, -1, "AVI "), Chunk("LIST", Bytes{'W', 'A', 'V', 'E'}),
          Bytes{}, Bytes{'R', 'I', 'F', 'F', 4}}) {
        const std::string path = WriteTemp("notwave.wav", bytes);
        WaveFile w;
        EXPECT_EQ(w.Open(path.c_str()), E_FAIL);
        EXPECT_EQ(w.format, nullptr);
        EXPECT_EQ(w.file, nullptr);
    }
}

TEST(WaveFileHeader, MissingFileFails) {
    WaveFile w;
    EXPECT_EQ(w.Open(testing_support::TempPath("no-such-file.wav").c_str()), E_FAIL);
    EXPECT_EQ(w.format, nullptr);
    EXPECT_EQ(w.file, nullptr);
    EXPECT_EQ(w.Open(nullptr), E_FAIL);
    DWORD got = 5;
    BYTE b[4];
    EXPECT_EQ(w.Read(4, b, &got), E_FAIL);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(w.Reset(), E_FAIL);
}

TEST(WaveFileHeader, OldFourteenByteFormatChunkFails) {
    Bytes fmt = PcmFormat(1, 11025, 8);
    fmt.resize(14);
    const std::string path = WriteTemp("fmt14.wav", Riff({Chunk("fmt ", fmt), Chunk("data", Ramp(10))}));
    WaveFile w;
    EXPECT_EQ(w.Open(path.c_str()), E_FAIL);
    EXPECT_EQ(w.format, nullptr);
    EXPECT_EQ(w.file, nullptr);
}

TEST(WaveFileHeader, EighteenBytePcmChunkHasNoExtraBytes) {
    Bytes fmt = PcmFormat(1, 44100, 16);
    Put16(&fmt, 0x1234);
    const Bytes data = Ramp(6);
    const std::string path = WriteTemp("fmt18b.wav", Riff({Chunk("fmt ", fmt), Chunk("data", data)}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    EXPECT_EQ(w.format->cbSize, 0);  // the two bytes after the first 16 are skipped, not read
    const std::vector<BYTE> read = ReadAll(w, 6);
    EXPECT_EQ(Bytes(read.begin(), read.end()), data);
}

TEST(WaveFileHeader, NonPcmFormatKeepsItsExtraBytes) {
    Bytes fmt = PcmFormat(2, 32000, 4);
    fmt[0] = 0x11;  // an ADPCM tag: the reader takes any
    Put16(&fmt, 2);
    fmt.push_back(0xF9);
    fmt.push_back(0x01);
    const std::string path = WriteTemp("adpcm.wav", Riff({Chunk("fmt ", fmt), Chunk("data", Ramp(8))}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    EXPECT_EQ(w.format->wFormatTag, 0x11);
    ASSERT_EQ(w.format->cbSize, 2);
    const BYTE* extra = reinterpret_cast<const BYTE*>(w.format) + sizeof(WAVEFORMATEX);
    EXPECT_EQ(extra[0], 0xF9);
    EXPECT_EQ(extra[1], 0x01);
    EXPECT_EQ(w.dataChunk.cksize, 8u);
}

TEST(WaveFileHeader, NonPcmFormatWithoutExtraBytes) {
    Bytes fmt = PcmFormat(1, 48000, 32);
    fmt[0] = 3;  // IEEE float
    Put16(&fmt, 0);
    const std::string path = WriteTemp("float.wav", Riff({Chunk("fmt ", fmt), Chunk("data", Ramp(8))}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    EXPECT_EQ(w.format->wFormatTag, 3);
    EXPECT_EQ(w.format->cbSize, 0);
}

TEST(WaveFileHeader, HugeExtraSizeThatTheFileCannotHoldFails) {
    Bytes fmt = PcmFormat(1, 8000, 8);
    fmt[0] = 2;
    Put16(&fmt, 0xFFFF);
    fmt.push_back(1);
    const std::string path = WriteTemp("hugeextra.wav", Riff({Chunk("fmt ", fmt), Chunk("data", Ramp(8))}));
    WaveFile w;
    EXPECT_EQ(w.Open(path.c_str()), E_FAIL);
    EXPECT_EQ(w.format, nullptr);
    EXPECT_EQ(w.file, nullptr);
}

TEST(WaveFileHeader, NonPcmSixteenByteChunkTakesItsExtraSizeFromWhatFollows) {
    // The extra size is read right after the 16 bytes even when the chunk ends there: here it comes
    // from the next chunk's id ("da" = 0x6164 bytes), more than the file holds.
    Bytes fmt = PcmFormat(1, 8000, 8);
    fmt[0] = 2;
    const std::string path = WriteTemp("nonpcm16.wav", Riff({Chunk("fmt ", fmt), Chunk("data", Ramp(8))}));
    WaveFile w;
    EXPECT_EQ(w.Open(path.c_str()), E_FAIL);
    EXPECT_EQ(w.format, nullptr);
}

TEST(WaveFileChunks, ChunksBeforeAndAfterTheFormatAreSkipped) {
    const Bytes data = Ramp(33);
    const std::string path =
        WriteTemp("extra-chunks.wav",
                  Riff({Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 1, 0, 0, 0, 'x'}),
                        Chunk("junk", Ramp(5)), Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("fact", Ramp(3)),
                        Chunk("cue ", Bytes{}), Chunk("data", data)}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    EXPECT_EQ(w.format->nSamplesPerSec, 8000u);
    EXPECT_EQ(w.dataChunk.cksize, 33u);
    const std::vector<BYTE> read = ReadAll(w, 33);
    EXPECT_EQ(Bytes(read.begin(), read.end()), data);
}

TEST(WaveFileChunks, OddSizedChunkIsFollowedByItsPadByte) {
    Bytes fmt = PcmFormat(1, 8000, 8);
    fmt.push_back(0xAB);  // a 17-byte format chunk: one pad byte follows it
    const Bytes data = Ramp(4);
    const std::string path = WriteTemp("odd.wav", Riff({Chunk("fmt ", fmt), Chunk("data", data)}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    const std::vector<BYTE> read = ReadAll(w, 4);
    EXPECT_EQ(Bytes(read.begin(), read.end()), data);
}

TEST(WaveFileChunks, FileWithoutDataChunkFailsButKeepsItsFormat) {
    const std::string path =
        WriteTemp("nodata.wav", Riff({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("junk", Ramp(4))}));
    WaveFile w;
    EXPECT_EQ(w.Open(path.c_str()), E_FAIL);
    EXPECT_NE(w.format, nullptr);  // the header was fine: only the positioning failed
    EXPECT_NE(w.file, nullptr);
    EXPECT_EQ(w.Close(), S_OK);
    EXPECT_EQ(w.file, nullptr);
}

TEST(WaveFileChunks, DataChunkOutsideTheRiffChunkIsNotFound) {
    // The RIFF chunk says it ends after the format; a "data" chunk after that is not part of it.
    const Bytes inside = Chunk("fmt ", PcmFormat(1, 8000, 8));
    Bytes file = Riff({inside}, 4 + long(inside.size()));
    const Bytes outside = Chunk("data", Ramp(8));
    file.insert(file.end(), outside.begin(), outside.end());
    const std::string path = WriteTemp("outside.wav", file);
    WaveFile w;
    EXPECT_EQ(w.Open(path.c_str()), E_FAIL);
}

TEST(WaveFileChunks, FormatChunkAfterTheDataIsFound) {
    const Bytes data = Ramp(12);
    const std::string path =
        WriteTemp("data-first.wav", Riff({Chunk("data", data), Chunk("fmt ", PcmFormat(2, 8000, 8))}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    EXPECT_EQ(w.format->nChannels, 2);
    const std::vector<BYTE> read = ReadAll(w, 12);
    EXPECT_EQ(Bytes(read.begin(), read.end()), data);
}

TEST(WaveFileChunks, TruncatedHeaderFails) {
    const Bytes whole = PcmWav(1, 8000, 8, {1, 2, 3, 4});
    for (std::size_t cut : {3u, 8u, 11u, 12u, 19u, 20u, 30u, 36u, 40u}) {
        const std::string path = WriteTemp("cut.wav", Bytes(whole.begin(), whole.begin() + long(cut)));
        WaveFile w;
        EXPECT_EQ(w.Open(path.c_str()), E_FAIL) << "cut at " << cut;
    }
}

TEST(WaveFileReading, AskingForMoreThanRemainsGivesTheRest) {
    const Bytes data = Ramp(10);
    const std::string path =
        WriteTemp("rest.wav", Riff({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("data", data)}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    HRESULT hr;
    DWORD got;
    ReadAll(w, 4, &hr, &got);
    EXPECT_EQ(got, 4u);
    std::vector<BYTE> rest = ReadAll(w, 100, &hr, &got);
    EXPECT_EQ(hr, S_OK);
    ASSERT_EQ(got, 6u);
    EXPECT_EQ(Bytes(rest.begin(), rest.begin() + 6), Bytes(data.begin() + 4, data.end()));
    EXPECT_EQ(rest[6], 0xEE);  // nothing written past what was read
    ReadAll(w, 100, &hr, &got);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(got, 0u);
}

TEST(WaveFileReading, DataBeyondTheEndOfTheFileFailsAfterCopyingWhatThereIs) {
    // The data chunk claims 1000 bytes; the file holds 10 of them. Opening cuts the chunk to those
    // 10; a caller's chunk that still counts 1000 (a file cut while open) reads what there is and fails.
    const Bytes data = Ramp(10);
    const std::string path = WriteTemp(
        "short-data.wav", Riff({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("data", data, 1000, false)}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    EXPECT_EQ(w.dataChunk.cksize, 10u);
    w.dataChunk.cksize = 1000;
    HRESULT hr;
    DWORD got;
    std::vector<BYTE> read = ReadAll(w, 1000, &hr, &got);
    EXPECT_EQ(hr, E_FAIL);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(w.dataChunk.cksize, 0u);  // the whole request was counted off
    EXPECT_EQ(Bytes(read.begin(), read.begin() + 10), data);
    EXPECT_EQ(read[10], 0xEE);
}

TEST(WaveFileReading, DataChunkClaimingMoreThanTheFileHoldsGivesWhatIsThere) {
    // A 37 KB file whose data chunk claims 0x0FFFFFF0 bytes, and its RIFF chunk as much: the sound
    // gets the bytes the file holds, and a buffer of their size, however often it is rewound.
    const Bytes data = Ramp(37000);
    const std::string path = WriteTemp(
        "claims-256mb.wav",
        Riff({Chunk("fmt ", PcmFormat(1, 22050, 8)), Chunk("data", data, 0x0FFFFFF0, false)}, 0x0FFFFFF0));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(w.dataChunk.cksize, 37000u);
        HRESULT hr;
        DWORD got = 0;
        const std::vector<BYTE> read = ReadAll(w, 40000, &hr, &got);
        EXPECT_EQ(hr, S_OK);
        ASSERT_EQ(got, 37000u);
        EXPECT_EQ(Bytes(read.begin(), read.begin() + 37000), data);
        ASSERT_EQ(w.Reset(), S_OK);
    }
    // An odd-sized chunk that is the file's last one, without its pad byte, keeps its size.
    const std::string odd = WriteTemp(
        "odd-last.wav", Riff({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("data", Ramp(7), -1, false)}));
    ASSERT_EQ(w.Open(odd.c_str()), S_OK);
    EXPECT_EQ(w.dataChunk.cksize, 7u);
}

TEST(WaveFileReading, ZeroLengthDataReadsNothing) {
    const std::string path =
        WriteTemp("empty-data.wav", Riff({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("data", {})}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    EXPECT_EQ(w.dataChunk.cksize, 0u);
    HRESULT hr;
    DWORD got = 9;
    ReadAll(w, 16, &hr, &got);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(got, 0u);
}

TEST(WaveFileReading, LongDataComesThroughWhole) {
    // Longer than the reader's file buffer, so the read walks several buffer-fulls.
    Bytes data(50001);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::uint8_t((i * 31) ^ (i >> 8));
    const std::string path =
        WriteTemp("long.wav", Riff({Chunk("fmt ", PcmFormat(1, 44100, 8)), Chunk("data", data)}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    std::vector<BYTE> read(data.size());
    DWORD got = 0, more = 0;
    ASSERT_EQ(w.Read(20000, read.data(), &got), S_OK);
    ASSERT_EQ(w.Read(DWORD(data.size()), read.data() + 20000, &more), S_OK);
    EXPECT_EQ(got + more, data.size());
    EXPECT_EQ(Bytes(read.begin(), read.end()), data);
}

TEST(WaveFileReading, ResetStartsTheDataAgain) {
    const Bytes data = Ramp(9000);
    const std::string path =
        WriteTemp("reset.wav", Riff({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("data", data)}));
    WaveFile w;
    ASSERT_EQ(w.Open(path.c_str()), S_OK);
    ReadAll(w, 8500);
    EXPECT_EQ(w.dataChunk.cksize, 500u);
    ASSERT_EQ(w.Reset(), S_OK);
    EXPECT_EQ(w.dataChunk.cksize, 9000u);
    const std::vector<BYTE> read = ReadAll(w, 9000);
    EXPECT_EQ(Bytes(read.begin(), read.end()), data);
}
