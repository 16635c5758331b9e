// INI entries and starting programs.
#include "platform/shellapi.h"
#include "support/game_run.h"

#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#ifndef _WIN32
#include <algorithm>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#endif
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void Write(const std::string& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
}

int FilesIn(const std::string& dir) {
    int n = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}

}  // namespace

TEST(Profile, CreatesTheFileAndReadsItBack) {
    const std::string file = testing_support::TempPath("new.ini");
    std::remove(file.c_str());
    ASSERT_TRUE(WritePrivateProfileStringA("TEST", "velkoro", "100", file.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("TEST", "velkoro", 7, file.c_str()), 100u);
    EXPECT_EQ(GetPrivateProfileIntA("test", "VELKORO", 7, file.c_str()), 100u);  // names ignore case
    EXPECT_EQ(GetPrivateProfileIntA("TEST", "missing", 7, file.c_str()), 7u);
    EXPECT_EQ(GetPrivateProfileIntA("OTHER", "velkoro", 7, file.c_str()), 7u);
    EXPECT_EQ(GetPrivateProfileIntA("TEST", "velkoro", 7, "/no/such/file.ini"), 7u);
}

TEST(Profile, KeepsEveryOtherEntryAndLine) {
    const std::string file = testing_support::TempPath("keep.ini");
    Write(file, "; settings\n[Video]\nwidth=640\n\n[TEST]\nother = 5\nvelkoro=1\n[Sound]\nvolume=80\n");
    ASSERT_TRUE(WritePrivateProfileStringA("TEST", "velkoro", "100", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Sound", "mute", "0", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("New", "k", "v", file.c_str()));
    EXPECT_EQ(Read(file),
              "; settings\r\n[Video]\r\nwidth=640\r\n\r\n[TEST]\r\nother = 5\r\nvelkoro=100\r\n[Sound]\r\n"
              "volume=80\r\nmute=0\r\n[New]\r\nk=v\r\n");
    EXPECT_EQ(GetPrivateProfileIntA("TEST", "other", 0, file.c_str()), 5u);
    EXPECT_EQ(GetPrivateProfileIntA("Video", "width", 0, file.c_str()), 640u);
    // A null value removes the entry, a null key the section.
    ASSERT_TRUE(WritePrivateProfileStringA("TEST", "other", nullptr, file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Sound", nullptr, nullptr, file.c_str()));
    EXPECT_EQ(Read(file),
              "; settings\r\n[Video]\r\nwidth=640\r\n\r\n[TEST]\r\nvelkoro=100\r\n[New]\r\nk=v\r\n");
}

TEST(Profile, SurvivesAMalformedFile) {
    const std::string file = testing_support::TempPath("broken.ini");
    Write(file, std::string("garbage without equals\n[unclosed\n=novalue\n[TEST\x00]\nvelkoro=abc\n", 62) +
                    "[TEST]\nvelkoro=-4\nnumber=12abc\n");
    EXPECT_EQ(GetPrivateProfileIntA("TEST", "velkoro", 9, file.c_str()), 0u);  // negative reads as 0
    EXPECT_EQ(GetPrivateProfileIntA("TEST", "number", 9, file.c_str()), 12u);
    ASSERT_TRUE(WritePrivateProfileStringA("TEST", "velkoro", "100", file.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("TEST", "velkoro", 9, file.c_str()), 100u);
    const std::string text = Read(file);
    EXPECT_NE(text.find("garbage without equals"), std::string::npos);
    EXPECT_NE(text.find("[unclosed"), std::string::npos);
}

TEST(Profile, AMissingFolderFailsAndLeavesNothingBehind) {
    const std::string dir = testing_support::TempPath("inidir");
    testing_support::MakeDir(dir);
    EXPECT_FALSE(WritePrivateProfileStringA("TEST", "velkoro", "100", (dir + "/D:/test.ini").c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("TEST", "velkoro", "100", (dir + "/test.ini").c_str()));
    EXPECT_EQ(FilesIn(dir), 1);  // no temporary file left
}

// Modes, owners, links and processes of POSIX systems.
#ifndef _WIN32
namespace {
struct stat StatOf(const std::string& file, bool link = false) {
    struct stat st {};
    EXPECT_EQ(link ? lstat(file.c_str(), &st) : stat(file.c_str(), &st), 0) << file;
    return st;
}
}  // namespace

TEST(Profile, AReadOnlyFileIsLeftAsItIs) {
    const std::string file = testing_support::TempPath("readonly.ini");
    std::remove(file.c_str());
    Write(file, "[TEST]\nvelkoro=1\n");
    chmod(file.c_str(), 0444);
    // Refused even for the superuser, who could write it: read-only is the file's own say.
    EXPECT_FALSE(WritePrivateProfileStringA("TEST", "velkoro", "100", file.c_str()));
    EXPECT_EQ(Read(file), "[TEST]\nvelkoro=1\n");
    EXPECT_EQ(StatOf(file).st_mode & 07777, 0444u);
    chmod(file.c_str(), 0644);
}

TEST(Profile, KeepsTheModeAndOwnerAndWritesThroughALink) {
    const std::string dir = testing_support::TempPath("inilinks");
    testing_support::MakeDir(dir);
    const std::string file = dir + "/real.ini", link = dir + "/link.ini";
    std::remove(file.c_str());
    std::remove(link.c_str());
    Write(file, "[TEST]\nvelkoro=1\n");
    chmod(file.c_str(), 0600);
    const bool root = getuid() == 0;
    if (root) {
        ASSERT_EQ(chown(file.c_str(), 4321, 8765), 0);
    }
    ASSERT_EQ(symlink("real.ini", link.c_str()), 0);  // relative to the link's folder
    ASSERT_TRUE(WritePrivateProfileStringA("TEST", "velkoro", "100", link.c_str()));
    EXPECT_TRUE(S_ISLNK(StatOf(link, true).st_mode));
    EXPECT_EQ(GetPrivateProfileIntA("TEST", "velkoro", 0, file.c_str()), 100u);
    const struct stat st = StatOf(file);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 8765u);
    }
    // A link to a file not made yet makes it, and stays a link.
    const std::string dangling = dir + "/later.ini";
    std::remove(dangling.c_str());
    std::remove((dir + "/made-later.ini").c_str());
    ASSERT_EQ(symlink((dir + "/made-later.ini").c_str(), dangling.c_str()), 0);
    ASSERT_TRUE(WritePrivateProfileStringA("TEST", "k", "v", dangling.c_str()));
    EXPECT_TRUE(S_ISLNK(StatOf(dangling, true).st_mode));
    EXPECT_EQ(Read(dir + "/made-later.ini"), "[TEST]\r\nk=v\r\n");
}

TEST(Profile, ClearsTheTemporaryFilesOfInterruptedWriters) {
    const std::string dir = testing_support::TempPath("inistale");
    testing_support::MakeDir(dir);
    const std::string file = dir + "/test.ini";
    auto make = [&](const std::string& name) { Write(dir + "/" + name, "half a file"); };
    make("test.ini.tmp" + std::to_string(getpid()));   // this process's own, from an earlier write
    make("test.ini.tmp2147483646");                    // a process that no longer runs
    make("test.ini.tmp1");                             // one that runs, writing now
    make("test.ini.tmp" + std::to_string(getppid()));  // one that runs, but was left long ago
    const std::string old = dir + "/test.ini.tmp" + std::to_string(getppid());
    struct timeval ago[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    ASSERT_EQ(utimes(old.c_str(), ago), 0);
    make("other.ini.tmp2147483646");  // another profile's
    make("test.ini.tmpx");            // not one of ours
    ASSERT_TRUE(WritePrivateProfileStringA("TEST", "velkoro", "1", file.c_str()));
    std::vector<std::string> left;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') left.push_back(e->d_name);
        closedir(d);
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"other.ini.tmp2147483646", "test.ini", "test.ini.tmp1",
                                              "test.ini.tmpx"}));
}

#endif

TEST(Profile, KeepsLinesWithNulBytesWhole) {
    // (Not "nul.ini": that names a device on Windows.)
    const std::string file = testing_support::TempPath("nul-bytes.ini");
    const std::string odd("[TEST]\r\nnote=a\0b\r\n", 18);
    Write(file, odd);
    ASSERT_TRUE(WritePrivateProfileStringA("TEST", "velkoro", "5", file.c_str()));
    EXPECT_EQ(Read(file), odd + "velkoro=5\r\n");
}

TEST(Profile, AKeyGivenTwiceIsWrittenWhereItIsRead) {
    const std::string file = testing_support::TempPath("twice.ini");
    Write(file, "[KEY]\r\nUP=39\r\nUP=38\r\n");
    ASSERT_TRUE(WritePrivateProfileStringA("KEY", "UP", "40", file.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("KEY", "UP", 0, file.c_str()), 40u);
    EXPECT_EQ(Read(file), "[KEY]\r\nUP=40\r\nUP=38\r\n");
    // A value with a NUL in it reads up to the NUL, and says so in its count.
    Write(file, std::string("[KEY]\r\nUP=3\0"
                            "9\r\n",
                            15));
    char out[16];
    EXPECT_EQ(GetPrivateProfileStringA("KEY", "UP", "", out, sizeof out, file.c_str()), 1u);
    EXPECT_STREQ(out, "3");
}

TEST(ShellExecute, StartsAProgramWithoutWaitingAndReportsAMissingOne) {
    const std::string dir = testing_support::TempPath("progs");
    testing_support::MakeDir(dir);
    const std::string marker = dir + "/ran";
#ifdef _WIN32
    // The command interpreter makes the marker: cmd /c copy NUL <marker>.
    const char* comspec = std::getenv("COMSPEC");
    const std::string program = comspec ? comspec : "C:\\windows\\system32\\cmd.exe";
    const std::string parameters = "/c copy NUL " + std::filesystem::path(marker).make_preferred().string();
#else
    const std::string program = dir + "/prog.sh";
    const std::string parameters = marker;
    Write(program, "#!/bin/sh\ntouch \"$1\"\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
#endif
    HINSTANCE r = ShellExecuteA(nullptr, "open", program.c_str(), parameters.c_str(), nullptr, SW_SHOW);
    EXPECT_GT(reinterpret_cast<std::uintptr_t>(r), 32u);
    for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(std::filesystem::exists(marker));
    r = ShellExecuteA(nullptr, "open", "NoSuchProgram.exe", nullptr, dir.c_str(), SW_SHOW);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(r), std::uintptr_t(SE_ERR_FNF));
    r = ShellExecuteA(nullptr, "print", program.c_str(), nullptr, nullptr, SW_SHOW);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(r), std::uintptr_t(SE_ERR_NOASSOC));
}
