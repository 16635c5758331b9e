// The buffered file functions on RIFF files: descending into chunks, ascending out of them, seeking,
// and walking the I/O buffer directly.
#include "platform/mmaudio.h"
#include "support/sound_support.h"
#include "support/game_run.h"

using namespace sound_test;

namespace {

HMMIO OpenBuffered(const std::string& path) {
    return mmioOpenA(const_cast<LPSTR>(path.c_str()), nullptr, MMIO_ALLOCBUF | MMIO_READ);
}

// "RIFF" "TEST" with: "aaaa" (3 bytes + pad), "LIST" "sub " holding "bbbb" (2 bytes), "cccc" (4 bytes).
Bytes Nested() {
    Bytes list = {'s', 'u', 'b', ' '};
    const Bytes b = Chunk("bbbb", {0xB1, 0xB2});
    list.insert(list.end(), b.begin(), b.end());
    return Riff(
        {Chunk("aaaa", {0xA1, 0xA2, 0xA3}), Chunk("LIST", list), Chunk("cccc", {0xC1, 0xC2, 0xC3, 0xC4})}, -1,
        "TEST");
}

}  // namespace

TEST(MmioChunks, DescendReadsTheChunkAtThePositionAndStopsPastTheFormType) {
    HMMIO f = OpenBuffered(WriteTemp("nested.riff", Nested()));
    ASSERT_NE(f, nullptr);
    MMCKINFO riff{};
    ASSERT_EQ(mmioDescend(f, &riff, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.ckid, FOURCC_RIFF);
    EXPECT_EQ(riff.fccType, mmioFOURCC('T', 'E', 'S', 'T'));
    EXPECT_EQ(riff.dwDataOffset, 8u);
    EXPECT_EQ(mmioSeek(f, 0, SEEK_CUR), 12);

    MMCKINFO first{};
    ASSERT_EQ(mmioDescend(f, &first, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(first.ckid, mmioFOURCC('a', 'a', 'a', 'a'));
    EXPECT_EQ(first.cksize, 3u);
    EXPECT_EQ(first.dwDataOffset, 20u);
    char c = 0;
    EXPECT_EQ(mmioRead(f, &c, 1), 1);
    EXPECT_EQ(BYTE(c), 0xA1);
    mmioClose(f, 0);
}

TEST(MmioChunks, FindChunkSkipsOtherChunksOverTheirPadBytes) {
    HMMIO f = OpenBuffered(WriteTemp("nested.riff", Nested()));
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    EXPECT_EQ(mmioDescend(f, &riff, nullptr, MMIO_FINDRIFF),
              MMIOERR_CHUNKNOTFOUND);  // a RIFF of another form
    mmioClose(f, 0);

    f = OpenBuffered(WriteTemp("nested.riff", Nested()));
    riff = MMCKINFO{};
    riff.fccType = mmioFOURCC('T', 'E', 'S', 'T');
    ASSERT_EQ(mmioDescend(f, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    MMCKINFO c{};
    c.ckid = mmioFOURCC('c', 'c', 'c', 'c');
    ASSERT_EQ(mmioDescend(f, &c, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(c.cksize, 4u);
    char bytes[4];
    ASSERT_EQ(mmioRead(f, bytes, 4), 4);
    EXPECT_EQ(BYTE(bytes[0]), 0xC1);
    EXPECT_EQ(BYTE(bytes[3]), 0xC4);
    mmioClose(f, 0);
}

// Opens the nested file and descends into its RIFF chunk and then into its "sub " list.
HMMIO IntoSubList(MMCKINFO* riff, MMCKINFO* list) {
    HMMIO f = OpenBuffered(WriteTemp("nested.riff", Nested()));
    EXPECT_EQ(mmioDescend(f, riff, nullptr, 0), MMSYSERR_NOERROR);
    list->fccType = mmioFOURCC('s', 'u', 'b', ' ');
    EXPECT_EQ(mmioDescend(f, list, riff, MMIO_FINDLIST), MMSYSERR_NOERROR);
    return f;
}

TEST(MmioChunks, FindListMatchesTheListsFormType) {
    MMCKINFO riff{}, list{};
    HMMIO f = IntoSubList(&riff, &list);
    EXPECT_EQ(list.ckid, FOURCC_LIST);
    MMCKINFO inner{};
    inner.ckid = mmioFOURCC('b', 'b', 'b', 'b');
    ASSERT_EQ(mmioDescend(f, &inner, &list, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    EXPECT_EQ(inner.cksize, 2u);
    mmioClose(f, 0);
}

TEST(MmioChunks, DescentNeverLeavesItsParent) {
    MMCKINFO riff{}, list{};
    HMMIO f = IntoSubList(&riff, &list);
    // "cccc" follows the list in the file, but not inside it.
    MMCKINFO c{};
    c.ckid = mmioFOURCC('c', 'c', 'c', 'c');
    EXPECT_EQ(mmioDescend(f, &c, &list, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    // Starting outside the parent finds nothing either.
    mmioSeek(f, 0, SEEK_SET);
    EXPECT_EQ(mmioDescend(f, &c, &list, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    mmioClose(f, 0);
}

TEST(MmioChunks, AscendGoesPastThePadByte) {
    HMMIO f = OpenBuffered(WriteTemp("nested.riff", Nested()));
    MMCKINFO riff{}, a{};
    mmioDescend(f, &riff, nullptr, 0);
    ASSERT_EQ(mmioDescend(f, &a, &riff, 0), MMSYSERR_NOERROR);
    ASSERT_EQ(mmioAscend(f, &a, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(f, 0, SEEK_CUR), 20 + 4);  // 3 bytes and the pad
    MMCKINFO next{};
    ASSERT_EQ(mmioDescend(f, &next, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(next.ckid, FOURCC_LIST);
    mmioClose(f, 0);
}

TEST(MmioChunks, ChunkThatIsNotThereIsNotFound) {
    HMMIO f = OpenBuffered(WriteTemp("nested.riff", Nested()));
    MMCKINFO riff{};
    mmioDescend(f, &riff, nullptr, 0);
    MMCKINFO d{};
    d.ckid = mmioFOURCC('d', 'a', 't', 'a');
    EXPECT_EQ(mmioDescend(f, &d, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    EXPECT_EQ(mmioDescend(f, &d, nullptr, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    mmioClose(f, 0);
}

TEST(MmioChunks, AChunkNeverClaimsMoreThanTheFileHasLeft) {
    // "RIFF" claiming 4 GB around "aaaa" claiming 1 MB of the 6 bytes that follow it.
    const Bytes file = Riff({Chunk("aaaa", {1, 2, 3, 4, 5, 6}, 1 << 20, false)}, 0xFFFFFFFFL, "TEST");
    HMMIO f = OpenBuffered(WriteTemp("claims.riff", file));
    ASSERT_NE(f, nullptr);
    MMCKINFO riff{};
    ASSERT_EQ(mmioDescend(f, &riff, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.cksize, file.size() - 8);
    MMCKINFO a{};
    ASSERT_EQ(mmioDescend(f, &a, &riff, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(a.cksize, 6u);
    ASSERT_EQ(mmioAscend(f, &a, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(mmioSeek(f, 0, SEEK_CUR), LONG(file.size()));
    MMCKINFO next{};
    EXPECT_EQ(mmioDescend(f, &next, &riff, 0), MMIOERR_CHUNKNOTFOUND);
    mmioClose(f, 0);
    // Sizes that fit are left as they are.
    f = OpenBuffered(WriteTemp("nested.riff", Nested()));
    ASSERT_EQ(mmioDescend(f, &riff, nullptr, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(riff.cksize, Nested().size() - 8);
    mmioClose(f, 0);
}

TEST(MmioFiles, SeekAndReadFollowEachOther) {
    Bytes data(20000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::uint8_t(i * 13 + (i >> 9));
    HMMIO f = OpenBuffered(WriteTemp("plain.bin", data));
    ASSERT_NE(f, nullptr);
    char b[3];
    EXPECT_EQ(mmioSeek(f, 9000, SEEK_SET), 9000);
    ASSERT_EQ(mmioRead(f, b, 3), 3);
    EXPECT_EQ(BYTE(b[0]), data[9000]);
    EXPECT_EQ(mmioSeek(f, -9001, SEEK_CUR), 2);
    ASSERT_EQ(mmioRead(f, b, 1), 1);
    EXPECT_EQ(BYTE(b[0]), data[2]);
    EXPECT_EQ(mmioSeek(f, -1, SEEK_END), 19999);
    ASSERT_EQ(mmioRead(f, b, 3), 1);
    EXPECT_EQ(BYTE(b[0]), data[19999]);
    EXPECT_EQ(mmioRead(f, b, 3), 0);
    EXPECT_EQ(mmioSeek(f, 50000, SEEK_SET), 50000);  // past the end: allowed, nothing to read there
    EXPECT_EQ(mmioRead(f, b, 3), 0);
    EXPECT_EQ(mmioSeek(f, -1, SEEK_SET), -1);
    EXPECT_EQ(mmioSeek(f, 0, 7), -1);
    mmioClose(f, 0);
}

TEST(MmioFiles, TheBufferCanBeWalkedDirectly) {
    Bytes data(MMIO_DEFAULTBUFFER * 2 + 100);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::uint8_t(i ^ (i >> 8));
    HMMIO f = OpenBuffered(WriteTemp("walk.bin", data));
    EXPECT_EQ(mmioSeek(f, 10, SEEK_SET), 10);
    MMIOINFO info;
    ASSERT_EQ(mmioGetInfo(f, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(info.cchBuffer, MMIO_DEFAULTBUFFER);
    Bytes seen;
    for (;;) {
        if (info.pchNext == info.pchEndRead) {
            ASSERT_EQ(mmioAdvance(f, &info, MMIO_READ), MMSYSERR_NOERROR);
            if (info.pchNext == info.pchEndRead) break;  // the end of the file
        }
        seen.push_back(BYTE(*info.pchNext++));
        if (seen.size() == 9000) break;
    }
    EXPECT_EQ(seen, Bytes(data.begin() + 10, data.begin() + 9010));
    ASSERT_EQ(mmioSetInfo(f, &info, 0), MMSYSERR_NOERROR);
    // Ordinary reading goes on where the walk stopped.
    char b;
    ASSERT_EQ(mmioRead(f, &b, 1), 1);
    EXPECT_EQ(BYTE(b), data[9010]);
    EXPECT_EQ(mmioSeek(f, 0, SEEK_CUR), 9011);
    mmioClose(f, 0);
}

TEST(MmioFiles, AdvancingAtTheEndLeavesAnEmptyBuffer) {
    HMMIO f = OpenBuffered(WriteTemp("tiny.bin", {1, 2, 3}));
    MMIOINFO info;
    mmioGetInfo(f, &info, 0);
    ASSERT_EQ(mmioAdvance(f, &info, MMIO_READ), MMSYSERR_NOERROR);
    EXPECT_EQ(info.pchEndRead - info.pchNext, 3);
    info.pchNext = info.pchEndRead;
    ASSERT_EQ(mmioAdvance(f, &info, MMIO_READ), MMSYSERR_NOERROR);
    EXPECT_EQ(info.pchNext, info.pchEndRead);
    mmioClose(f, 0);
}

TEST(MmioFiles, BufferPointersFromElsewhereAreRefused) {
    HMMIO f = OpenBuffered(WriteTemp("tiny.bin", {1, 2, 3}));
    MMIOINFO info;
    mmioGetInfo(f, &info, 0);
    char other[4];
    MMIOINFO bad = info;
    bad.pchNext = other;
    EXPECT_EQ(mmioSetInfo(f, &bad, 0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mmioAdvance(f, &bad, MMIO_READ), MMSYSERR_INVALPARAM);
    bad = info;
    bad.pchNext = info.pchEndRead + 1;
    EXPECT_EQ(mmioSetInfo(f, &bad, 0), MMSYSERR_INVALPARAM);
    mmioClose(f, 0);
}

TEST(MmioFiles, UnbufferedFileReadsButHasNoBufferToAdvance) {
    const std::string path = WriteTemp("unbuffered.bin", {9, 8, 7, 6});
    HMMIO f = mmioOpenA(const_cast<LPSTR>(path.c_str()), nullptr, MMIO_READ);
    ASSERT_NE(f, nullptr);
    char b[4];
    EXPECT_EQ(mmioSeek(f, 1, SEEK_SET), 1);
    ASSERT_EQ(mmioRead(f, b, 4), 3);
    EXPECT_EQ(b[0], 8);
    MMIOINFO info;
    ASSERT_EQ(mmioGetInfo(f, &info, 0), MMSYSERR_NOERROR);
    EXPECT_EQ(info.pchBuffer, nullptr);
    EXPECT_EQ(mmioAdvance(f, &info, MMIO_READ), MMIOERR_UNBUFFERED);
    mmioClose(f, 0);
}

TEST(MmioFiles, OpeningFailsWithAReason) {
    MMIOINFO info{};
    std::string missing = testing_support::TempPath("missing.bin");
    EXPECT_EQ(mmioOpenA(missing.data(), &info, MMIO_ALLOCBUF | MMIO_READ), nullptr);
    EXPECT_EQ(info.wErrorRet, UINT(MMIOERR_FILENOTFOUND));
    std::string dir = testing_support::TempPath("");
    EXPECT_EQ(mmioOpenA(dir.data(), &info, MMIO_READ), nullptr);
    std::string path = WriteTemp("ro.bin", {1});
    EXPECT_EQ(mmioOpenA(path.data(), &info, MMIO_WRITE), nullptr);
    EXPECT_EQ(info.wErrorRet, UINT(MMIOERR_ACCESSDENIED));
    EXPECT_EQ(mmioOpenA(nullptr, &info, MMIO_READ), nullptr);
}

TEST(MmioFiles, ClosedHandleIsNoLongerAccepted) {
    HMMIO f = OpenBuffered(WriteTemp("tiny.bin", {1, 2, 3}));
    ASSERT_EQ(mmioClose(f, 0), MMSYSERR_NOERROR);
    char b;
    MMCKINFO ck{};
    MMIOINFO info{};
    EXPECT_EQ(mmioClose(f, 0), UINT(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(mmioRead(f, &b, 1), -1);
    EXPECT_EQ(mmioSeek(f, 0, SEEK_SET), -1);
    EXPECT_EQ(mmioDescend(f, &ck, nullptr, 0), UINT(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(mmioAscend(f, &ck, 0), UINT(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(mmioGetInfo(f, &info, 0), UINT(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(mmioClose(nullptr, 0), UINT(MMSYSERR_INVALHANDLE));
}
