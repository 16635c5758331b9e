// INI entries and starting programs.
#include "platform/shellapi.h"
#include "support/game_run.h"

#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
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

TEST(ShellExecute, StartsAProgramWithoutWaitingAndReportsAMissingOne) {
    const std::string dir = testing_support::TempPath("progs");
    testing_support::MakeDir(dir);
    const std::string marker = dir + "/ran";
#ifdef _WIN32
    // The command interpreter makes the marker: cmd /c copy NUL <marker>.
    const char* comspec = std::getenv("COMSPEC");
    const std::string program = comspec ? comspec : "C:\\windows\\system32\\cmd.exe";
    const std::string parameters = "/c copy NUL " + marker;
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
