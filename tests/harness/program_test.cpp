// The program itself, run as a player or a script would: its exit codes and messages, its help,
// state dumps and stats, and a real window on a virtual display.
#include "support/game_run.h"
#include "support/png.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <regex>
#include <string>

namespace sdl = platform::sdl;

namespace {
// Runs a shell command and returns its exit status, with its output (stdout and stderr) in out.
int Shell(const std::string& cmd, std::string* out) {
    return testing_support::RunCommand(cmd, out);
}

// The tests of the real window need an X server's tools.
#ifdef _WIN32
#define SKIP_WITHOUT_X11() GTEST_SKIP() << "a test of the X11 window"
#else
#define SKIP_WITHOUT_X11() (void)0
#endif

// Runs the game with the arguments, as Shell does.
int RunExe(const std::string& args, std::string* output) {
    return Shell(testing_support::GameProgram() + " " + args, output);
}

std::string ReadText(const std::string& path) {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

// The state dump in a run's output (the line it starts on).
std::string DumpIn(const std::string& output) {
    const std::size_t at = output.find("{\"frame\"");
    return at == std::string::npos ? "" : output.substr(at, output.find('\n', at) - at);
}

// How many times text holds what.
std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}
}  // namespace

TEST(Program, MistakesExitWithTwo) {
    std::string out;
    EXPECT_EQ(RunExe("--bogus", &out), 2);
    EXPECT_NE(out.find("--bogus"), std::string::npos);
    const std::string script = testing_support::TempPath("bad-script.txt");
    FILE* f = fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("1 RETURN\n2 WHAT\n", f);
    fclose(f);
    EXPECT_EQ(RunExe("--headless --input " + script, &out), 2);
    EXPECT_NE(out.find("bad-script.txt:2:"), std::string::npos) << out;
    std::remove(script.c_str());
}

TEST(Program, BadScriptsAndValuesExitWithTwoAtOnce) {
    std::string out;
    // /dev/zero would be read for ever, and a folder taken for an empty script.
#ifndef _WIN32
    EXPECT_EQ(Shell("timeout 20 " + testing_support::GameProgram() + " --headless --input /dev/zero", &out),
              2)
        << out;
    EXPECT_NE(out.find("/dev/zero"), std::string::npos) << out;
#endif
    const std::string folder = testing_support::TempPath("a-folder");
    testing_support::MakeDir(folder);
    EXPECT_EQ(RunExe("--headless --input " + folder, &out), 2) << out;
    EXPECT_NE(out.find("not a regular file"), std::string::npos) << out;
    for (const char* args :
         {"--seed +7", "--seed ' 7'", "--set gameMode=-+5", "--set gameMode=70000", "--frames 0",
          "--set resultCount=123456789", "--set elapsedClock=-2147483647", "--set totalScore=2147483647"}) {
        EXPECT_EQ(RunExe("--headless " + std::string(args), &out), 2) << args << ": " << out;
        EXPECT_NE(out.find("rushmora: --"), std::string::npos) << args << ": " << out;
    }
}

TEST(Program, OutputsThatCannotBeWrittenEndTheRunWithOne) {
#ifdef _WIN32
    GTEST_SKIP() << "needs /dev/full";
#endif
    std::string out;
    // The run goes on to its end (the state is dumped), then says what it could not write.
    EXPECT_EQ(
        RunExe("--headless --frames 8 --dump-state --screenshot 5:/dev/full --audio-out /dev/full", &out), 1)
        << out;
    EXPECT_NE(out.find("cannot write the screenshot /dev/full: No space left on device"), std::string::npos)
        << out;
    EXPECT_NE(out.find("cannot write the audio output /dev/full: No space left on device"), std::string::npos)
        << out;
    EXPECT_NE(out.find("{\"frame\": 8"), std::string::npos) << out;
    EXPECT_EQ(RunExe("--headless --frames 8 --dump-state --record /dev/full", &out), 1) << out;
    EXPECT_NE(out.find("cannot write the recording /dev/full: No space left on device"), std::string::npos)
        << out;
    EXPECT_NE(out.find("{\"frame\": 8"), std::string::npos) << out;
    const std::string dir = testing_support::TempPath("no-such-folder");
    EXPECT_EQ(RunExe("--headless --frames 3 --screenshot 2:" + dir + "/a.png --audio-out " + dir +
                         "/a.wav --record " + dir + "/a.txt",
                     &out),
              1)
        << out;
    EXPECT_NE(out.find("cannot write the screenshot " + dir + "/a.png"), std::string::npos) << out;
    EXPECT_NE(out.find("cannot write the audio output " + dir + "/a.wav"), std::string::npos) << out;
    EXPECT_NE(out.find("cannot write the recording " + dir + "/a.txt: No such file or directory"),
              std::string::npos)
        << out;
    // A state dump into a pipe that nobody reads any more ends the run with 1 and says so.
#ifndef _WIN32
    const std::string status = testing_support::TempPath("pipe-status");
    Shell("(" + testing_support::GameProgram() + " --headless --frames 400 --dump-state 2>" + status +
              ".err; echo $? >" + status + ") | true",
          &out);
    std::string said;
    Shell("cat " + status + " " + status + ".err", &said);
    EXPECT_EQ(said.substr(0, 2), "1\n") << said;
    EXPECT_NE(said.find("cannot write the state dump"), std::string::npos) << said;
#endif
    // Written in full, they end it with 0 as before.
    const std::string shot = testing_support::TempPath("written.png"),
                      wav = testing_support::TempPath("written.wav");
    EXPECT_EQ(RunExe("--headless --frames 3 --screenshot 2:" + shot + " --audio-out " + wav, &out), 0) << out;
    EXPECT_EQ(testing_support::PixelAt(shot, 0, 0) >> 24, 0xFFu);
}

#ifndef _WIN32
// A named pipe that nobody reads in place of an output would hold the run before its first frame:
// each is refused at once, named, and the run ends with 1.
TEST(Program, OutputsIntoAPipeNobodyReadsAreRefusedAtOnce) {
    const std::string pipe = testing_support::TempPath("out-pipe");
    std::remove(pipe.c_str());
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& what : {"--record " + pipe, "--screenshot 2:" + pipe, "--audio-out " + pipe}) {
        std::string out;
        EXPECT_EQ(
            Shell("timeout 20 " + testing_support::GameProgram() + " --headless --frames 3 " + what, &out), 1)
            << what << ": " << out;
        EXPECT_NE(out.find(pipe + ": it is a named pipe or a socket, not a file"), std::string::npos)
            << what << ": " << out;
    }
    std::remove(pipe.c_str());
}
#endif

TEST(Program, AScriptMadeForAnotherScreenIsToldOf) {
    const std::string script = testing_support::TempPath("screen-replay.txt");
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("SCREEN 1920x1080\n1 RETURN\n", f);
    std::fclose(f);
    const std::string shot = testing_support::TempPath("screen-replay.png");
    std::string out;
    ASSERT_EQ(RunExe("--headless --frames 2 --input " + script + " --screenshot 2:" + shot, &out), 0) << out;
    EXPECT_EQ(out.find("made for"), std::string::npos) << out;
    // The picture is of the script's screen.
    const sdl::SurfacePtr picture = testing_support::ReadPng(shot);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->w, 1920);
    EXPECT_EQ(picture->h, 1080);
    ASSERT_EQ(RunExe("--headless --frames 2 --screen 1280x720 --input " + script, &out), 0) << out;
    EXPECT_NE(
        out.find("rushmora: the input script was made for a 1920x1080 screen and this run's is 1280x720"),
        std::string::npos)
        << out;
    std::remove(script.c_str());
}

TEST(Program, AWindowOnAnotherScreenThanTheScriptsIsToldOf) {
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    const std::string script = testing_support::TempPath("window-screen-replay.txt");
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("SCREEN 1920x1080\n", f);
    std::fclose(f);
    std::string out;
    ASSERT_EQ(Shell("SDL_AUDIODRIVER=dummy timeout 60 xvfb-run -a -n 350 -s '-screen 0 1280x720x24' " +
                        std::string(RUSHMORA_GAME_EXE) + " --frames 3 --input " + script,
                    &out),
              0)
        << out;
    EXPECT_NE(out.find("made for a 1920x1080 screen and this run's is 1280x720"), std::string::npos) << out;
    std::remove(script.c_str());
}

TEST(Program, WithoutADisplayItSaysHowToRunHeadless) {
    SKIP_WITHOUT_X11();
    const std::string exe = testing_support::GameProgram();
    // Asked for X11 with no X server; and left to SDL, which falls back to drawing offscreen where
    // nobody would see the game: either way a message and exit status 1 at once.
    for (const char* env : {"SDL_VIDEODRIVER=x11", "-u SDL_VIDEODRIVER", "SDL_VIDEODRIVER=offscreen"}) {
        std::string out;
        EXPECT_EQ(Shell("env -u DISPLAY -u WAYLAND_DISPLAY " + std::string(env) + " timeout 30 " + exe +
                            " --frames 5",
                        &out),
                  1)
            << env << ": " << out;
        EXPECT_NE(out.find("--headless"), std::string::npos) << env << ": " << out;
    }
}

TEST(Program, WithoutASoundDeviceTheBoxShowsInTheMappedWindow) {
    SKIP_WITHOUT_X11();
    if (std::system("command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 && "
                    "command -v xwininfo >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xvfb-run, xdotool or xwininfo is not installed";
    // No sound driver: the box about it comes before the game's windows. The real window is mapped
    // while it waits, Enter answers it, and the game then runs silent to its end.
    const std::string script = testing_support::TempPath("no-sound-device.sh");
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f,
                 "\"%s\" --frames 30 & pid=$!\n"
                 "for i in $(seq 120); do\n"
                 "  xwininfo -name 'Rushmora ～走れ若者～' 2>/dev/null | grep -q IsViewable && break\n"
                 "  sleep 0.25\n"
                 "done\n"
                 "xwininfo -name 'Rushmora ～走れ若者～' | grep 'Map State'\n"
                 "sleep 1\n"
                 "xdotool key Return\n"
                 "wait $pid\n"
                 "echo exit=$?\n",
                 testing_support::GameProgram().c_str());
    std::fclose(f);
    std::string out;
    // Each windowed test looks for a free X display from a number of its own, so that two of them
    // starting at once do not pick the same one.
    ASSERT_EQ(Shell("SDL_AUDIODRIVER=none-here timeout 90 xvfb-run -a -n 150 -s '-screen 0 1280x720x24' sh " +
                        script,
                    &out),
              0)
        << out;
    EXPECT_NE(out.find("IsViewable"), std::string::npos) << out;
    EXPECT_NE(out.find("no sound device"), std::string::npos) << out;
    EXPECT_NE(out.find("answered OK"), std::string::npos) << out;
    EXPECT_NE(out.find("exit=0"), std::string::npos) << out;
}

TEST(Program, HelpAndVersion) {
    std::string out;
    EXPECT_EQ(RunExe("--help", &out), 0);
    EXPECT_NE(out.find("--dump-state"), std::string::npos);
    EXPECT_EQ(RunExe("--version", &out), 0);
    EXPECT_EQ(out.rfind("rushmora ", 0), 0u);
}

TEST(Program, HeadlessRunDumpsItsState) {
    std::string out;
    ASSERT_EQ(RunExe("--headless --frames 200 --dump-state", &out), 0) << out;
    EXPECT_NE(out.find("{\"frame\": 200, \"app\": {"), std::string::npos) << out.substr(0, 300);
    EXPECT_NE(out.find("\"scene\": {\"name\": \"LogoScene\", \"nextScene\": -1, \"frame\": 201"),
              std::string::npos);
}

TEST(Program, StatsReportFramesAndCpuTimeAtTheEnd) {
    std::string out;
    ASSERT_EQ(RunExe("--headless --frames 40 --stats", &out), 0) << out;
    EXPECT_NE(out.find("stats: frames shown   40\n"), std::string::npos) << out;
    std::smatch late;
    EXPECT_TRUE(std::regex_search(
        out, late, std::regex("stats: frames late    ([0-9]+) \\(CPU time over 16 ms[^\n]*\n")))
        << out;
    if (!late.empty()) {
        EXPECT_LE(std::stol(late[1]), 40);
    }
    std::smatch cpu;
    ASSERT_TRUE(
        std::regex_search(out, cpu,
                          std::regex("stats: CPU per frame  median ([0-9]+\\.[0-9]{3}) ms, 99th percentile "
                                     "([0-9]+\\.[0-9]{3}) ms, worst ([0-9]+\\.[0-9]{3}) ms\n")))
        << out;
    EXPECT_LE(std::stod(cpu[1]), std::stod(cpu[2]));
    EXPECT_LE(std::stod(cpu[2]), std::stod(cpu[3]));
    // One block, and none without the option.
    EXPECT_EQ(out.find("stats: frames shown"), out.rfind("stats: frames shown"));
    ASSERT_EQ(RunExe("--headless --frames 5", &out), 0) << out;
    EXPECT_EQ(out.find("stats:"), std::string::npos) << out;
}

TEST(Program, RunsInARealWindowOnAVirtualDisplay) {
    SKIP_WITHOUT_X11();
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    const std::string shot = testing_support::TempPath("real-window.png");
    std::string out;
    // A real window on a virtual X display: the same picture as a headless run, and a normal end.
    // SDL's dummy sound driver stands in for a sound card (without one the game would ask about it).
    ASSERT_EQ(Shell("SDL_AUDIODRIVER=dummy timeout 60 xvfb-run -a -n 250 -s '-screen 0 1280x720x24' " +
                        testing_support::GameProgram() + " --frames 30 --screenshot 30:" + shot,
                    &out),
              0)
        << out;
    // The frame window's caption bar sits above the game window, dark blue at its left end.
    const Uint32 caption = testing_support::PixelAt(shot, 302, 131);
    EXPECT_LT((caption >> 16) & 0xFF, 0x40u) << std::hex << caption;
    EXPECT_GT(caption & 0xFF, 0x50u) << std::hex << caption;
}

TEST(Program, AScreenThatCannotBeDrawnSaysItsStartUpBoxesOnStandardErrorAndEnds) {
    SKIP_WITHOUT_X11();
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    // A window opens, but nothing can draw it: the graphics start fails, and its boxes, which no one
    // could see or answer, are said on the standard error and take their answers at once.
    std::string out;
    const int rc = Shell("SDL_AUDIODRIVER=dummy RUSHMORA_RENDERER=none timeout 60 xvfb-run -a -n 351 " +
                             testing_support::GameProgram() + " --frames 600",
                         &out);
    EXPECT_EQ(rc, 1) << "a failed start ends with status 1, without waiting: " << out;
    EXPECT_NE(out.find("cannot be shown: \"EROOR\" / \"DirectGraphics初期化に失敗\""), std::string::npos)
        << out;
    EXPECT_NE(out.find("answered OK"), std::string::npos) << out;
}

TEST(Program, TheKeyThatAnswersABoxStaysInTheBox) {
    SKIP_WITHOUT_X11();
    if (std::system("command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 && "
                    "command -v xwininfo >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xvfb-run, xdotool or xwininfo is not installed";
    // In a run, Escape asks to go back to the title; a second Escape, held for 150 ms, answers No.
    // Still down as the box closes, it must not ask again. Then the no-sound box at the start is
    // answered with Enter, which must not skip the opening.
    const std::string script = testing_support::TempPath("box-answers.sh");
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f,
                 "press() { xdotool keydown $1; sleep 0.15; xdotool keyup $1; }\n"
                 "wait_window() { for i in $(seq 120); do\n"
                 "  xwininfo -name 'Rushmora ～走れ若者～' 2>/dev/null | grep -q IsViewable && break\n"
                 "  sleep 0.25; done; sleep 1; }\n"
                 "SDL_AUDIODRIVER=dummy \"%s\" --scene Game --frames 400 & pid=$!\n"
                 "wait_window; press Escape; sleep 1; press Escape; sleep 1.5\n"
                 "wait $pid; echo run-exit=$?\n"
                 "SDL_AUDIODRIVER=none-here \"%s\" --frames 240 --dump-state > \"%s\" & pid=$!\n"
                 "wait_window; press Return\n"
                 "wait $pid; echo opening-exit=$?\n",
                 testing_support::GameProgram().c_str(), testing_support::GameProgram().c_str(),
                 testing_support::TempPath("box-answers-dump.json").c_str());
    std::fclose(f);
    std::string out;
    ASSERT_EQ(Shell("timeout 120 xvfb-run -a -n 450 -s '-screen 0 1280x720x24' sh " + script, &out), 0)
        << out;
    EXPECT_NE(out.find("run-exit=0"), std::string::npos) << out;
    EXPECT_NE(out.find("opening-exit=0"), std::string::npos) << out;
    std::size_t questions = 0;
    for (std::size_t at = out.find("タイトルに戻りますか？"); at != std::string::npos;
         at = out.find("タイトルに戻りますか？", at + 1))
        ++questions;
    EXPECT_EQ(questions, 1u) << out;
    EXPECT_NE(out.find("タイトルに戻りますか？\" answered No"), std::string::npos) << out;
    EXPECT_NE(out.find("answered OK"), std::string::npos) << out;
    // Enter went to the box: the opening was still playing when the run ended.
    std::FILE* dump = std::fopen(testing_support::TempPath("box-answers-dump.json").c_str(), "rb");
    ASSERT_NE(dump, nullptr);
    std::string json;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, dump)) > 0;) json.append(buf, n);
    std::fclose(dump);
    EXPECT_NE(json.find("\"scene\": {\"name\": \"LogoScene\""), std::string::npos) << json.substr(0, 400);
}

TEST(Program, ThePlayersSettingsMoveKeysInAWindowAndNothingHeadless) {
    SKIP_WITHOUT_X11();
    if (std::system("command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 && "
                    "command -v xwininfo >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xvfb-run, xdotool or xwininfo is not installed";
    // The player's settings.ini swaps A (jump) and S (dash).
    const std::string home = testing_support::TempPath("settings-home");
    testing_support::MakeDir(home);
    testing_support::MakeDir(home + "/rushmora");
    FILE* f = std::fopen((home + "/rushmora/settings.ini").c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("[keys]\njump=S\ndash=A\n", f);
    std::fclose(f);
    // Headless, holding A jumps as always: the runner stays where it started.
    const std::string script = testing_support::TempPath("hold-a.txt");
    f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("250-300 A\n", f);
    std::fclose(f);
    std::string headless;
    ASSERT_EQ(Shell("XDG_CONFIG_HOME=" + home + " " + testing_support::GameProgram() +
                        " --headless --scene Game --frames 300 --input " + script + " --dump-state",
                    &headless),
              0);
    EXPECT_NE(headless.find("\"distance\": 100,"), std::string::npos) << headless.substr(0, 300);
    // In a window, A held after the count-in dashes: the runner moves on.
    const std::string shell = testing_support::TempPath("hold-a.sh");
    f = std::fopen(shell.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f,
                 "XDG_CONFIG_HOME=%s SDL_AUDIODRIVER=dummy \"%s\" --scene Game --frames 420 --dump-state & "
                 "pid=$!\n"
                 "for i in $(seq 120); do\n"
                 "  xwininfo -name 'Rushmora ～走れ若者～' 2>/dev/null | grep -q IsViewable && break\n"
                 "  sleep 0.25; done\n"
                 "sleep 5; xdotool keydown a; sleep 1; xdotool keyup a\n"
                 "wait $pid; echo exit=$?\n",
                 home.c_str(), testing_support::GameProgram().c_str());
    std::fclose(f);
    std::string out;
    ASSERT_EQ(Shell("timeout 120 xvfb-run -a -n 480 -s '-screen 0 1280x720x24' sh " + shell, &out), 0) << out;
    EXPECT_NE(out.find("exit=0"), std::string::npos) << out;
    const std::regex distance("\"distance\": ([0-9]+),");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(out, m, distance)) << out.substr(0, 400);
    EXPECT_GT(std::stoi(m[1]), 100) << "A did not dash";
}

TEST(Program, ARecordedRunReplaysFromItsRecordingAloneToTheSameState) {
    // A run with keys, the pad, both questions answered, a close request, frames that took longer
    // and a seed; its recording replays without the seed or the script it was played from.
    const std::string script = testing_support::TempPath("to-record.txt"),
                      recording = testing_support::TempPath("recorded.txt");
    std::FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs(
        "TIME START 123456\nTIME 250-260 17\nTIME 300 1500\n"
        "201-480 RIGHT\n230 S\n260 D\n300-320 JX=0 JB=1\n350 ESCAPE NO\n400 CLOSE NO\n"
        "420-440 RIGHT SPACE\n600 ESCAPE YES\n",
        f);
    std::fclose(f);
    std::string played, replayed;
    ASSERT_EQ(RunExe("--headless --scene Game --frames 700 --seed 77 --input " + script + " --record " +
                         recording + " --dump-state",
                     &played),
              0)
        << played;
    const std::string text = ReadText(recording);
    for (const char* line : {"--input recorded.txt --scene Game --frames 700 --dump-state\n", "\nSEED 77\n",
                             "\nTIME START 123456\n", "\nTIME 250-260 17\n", "\nTIME 300 1500\n",
                             "\n350 ESCAPE RIGHT NO\n", "\n400 RIGHT CLOSE NO\n", "\n1 JB=0 "})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    EXPECT_LT(Count(text, "\n"), 40u) << text;
    ASSERT_EQ(
        RunExe("--headless --scene Game --frames 700 --input " + recording + " --dump-state", &replayed), 0)
        << replayed;
    EXPECT_NE(DumpIn(played).find("\"scene\": {\"name\": \"TitleScene\""), std::string::npos) << played;
    EXPECT_EQ(DumpIn(replayed), DumpIn(played));
    EXPECT_EQ(Count(replayed, "answered No"), 2u) << replayed;
    EXPECT_EQ(Count(replayed, "answered Yes"), 1u) << replayed;
}

TEST(Program, ARecordingIsAWholeScriptWhenTheRunIsKilled) {
#ifdef _WIN32
    GTEST_SKIP() << "needs kill";
#else
    // Killed where it stands, the run leaves a script that plays up to the frame it reached.
    const std::string script = testing_support::TempPath("long-run.txt"),
                      recording = testing_support::TempPath("killed.txt");
    std::FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("1-1000000 RIGHT\n", f);
    for (long frame = 2; frame < 5000; frame += 7) std::fprintf(f, "%ld SPACE\n", frame);
    std::fclose(f);
    std::string out;
    Shell("(" + testing_support::GameProgram() + " --headless --scene Game --input " + script + " --record " +
              recording + " & pid=$!; sleep 2; kill -9 $pid; wait $pid) 2>/dev/null",
          &out);
    const std::string text = ReadText(recording);
    const std::size_t last = text.rfind("# the run reached frame ");
    ASSERT_NE(last, std::string::npos) << text.substr(0, 400);
    const long reached = std::atol(text.c_str() + last + 24);
    EXPECT_GT(reached, 20) << text.substr(last);
    EXPECT_EQ(text.back(), '\n');
    ASSERT_EQ(RunExe("--headless --scene Game --frames " + std::to_string(reached) + " --input " + recording +
                         " --dump-state",
                     &out),
              0)
        << out;
    EXPECT_NE(out.find("{\"frame\": " + std::to_string(reached) + ","), std::string::npos)
        << out.substr(0, 400);
#endif
}

TEST(Program, ARunRecordedInARealWindowReplaysHeadlessToTheSameState) {
    SKIP_WITHOUT_X11();
    if (std::system("command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xvfb-run or xdotool is not installed";
    // A player runs and kicks, asks to go back to the title and to quit (Alt+F4), and says No to
    // both with N. The recording is followed as it is written, to know the frame the run is in (its
    // last line) and that a box was answered (its NO).
    const std::string recording = testing_support::TempPath("window-run.txt"),
                      dump = testing_support::TempPath("window-run.json"),
                      driver = testing_support::TempPath("window-run.sh");
    std::FILE* f = std::fopen(driver.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(
        f,
        "rec='%s'\n"
        "frame() { tail -n 1 \"$rec\" 2>/dev/null | sed -n 's/^# the run reached frame "
        "\\([0-9]*\\).*/\\1/p'; }\n"
        "wait_frame() { for i in $(seq 600); do f=$(frame)\n"
        "  [ -n \"$f\" ] && [ \"$f\" -ge $1 ] && return; sleep 0.1; done; }\n"
        "press() { xdotool keydown $1; sleep 0.15; xdotool keyup $1; }\n"
        "answer_no() { for i in $(seq 40); do press n; sleep 0.3\n"
        "  [ $(grep -cw NO \"$rec\") -ge $1 ] && return; done; }\n"
        "SDL_AUDIODRIVER=dummy \"%s\" --scene Game --frames 900 --record \"$rec\" --dump-state > '%s' & "
        "pid=$!\n"
        "wait_frame 210\n"
        "xdotool keydown Right; sleep 1.5; press s; sleep 0.3; press d; xdotool keyup Right\n"
        "press Escape; answer_no 1\n"
        "xdotool key alt+F4; answer_no 2\n"
        "wait $pid; echo record-exit=$?\n",
        recording.c_str(), testing_support::GameProgram().c_str(), dump.c_str());
    std::fclose(f);
    std::string out;
    ASSERT_EQ(Shell("timeout 180 xvfb-run -a -n 452 -s '-screen 0 1280x720x24' sh " + driver, &out), 0)
        << out;
    ASSERT_NE(out.find("record-exit=0"), std::string::npos) << out;
    const std::string text = ReadText(recording);
    for (const char* what : {"\nSCREEN 1280x720\n", "\nSEED ", "\nTIME START ", " RIGHT", " S\n", " CLOSE"})
        EXPECT_NE(text.find(what), std::string::npos) << what << " in\n" << text;
    EXPECT_EQ(Count(text, " NO\n"), 2u) << text;
    EXPECT_NE(text.find("# the run reached frame 900\n"), std::string::npos) << text;
    std::string replayed;
    ASSERT_EQ(
        RunExe("--headless --scene Game --frames 900 --input " + recording + " --dump-state", &replayed), 0)
        << replayed;
    const std::string played = ReadText(dump);
    ASSERT_NE(DumpIn(played), "") << out;
    EXPECT_EQ(DumpIn(replayed), DumpIn(played)) << text;
    EXPECT_EQ(Count(replayed, "answered No"), 2u) << replayed;
    // The run went somewhere: the player ran on.
    EXPECT_EQ(DumpIn(played).find("\"distance\": 0,"), std::string::npos) << DumpIn(played);
}

// Without a sound device a window's game plays silently, told so in a box: its recording keeps the
// openings that failed, and the replay, which has a device, fails them too and ends in the same
// state, field for field.
TEST(Program, ARunRecordedWithoutASoundDeviceReplaysToTheSameState) {
    SKIP_WITHOUT_X11();
    if (std::system("command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xvfb-run or xdotool is not installed";
    const std::string recording = testing_support::TempPath("no-sound-run.txt"),
                      dump = testing_support::TempPath("no-sound-run.json"),
                      driver = testing_support::TempPath("no-sound-run.sh");
    std::FILE* f = std::fopen(driver.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(
        f,
        "\"%s\" --scene Title --frames 120 --record '%s' --dump-state > '%s' & pid=$!\n"
        "for i in $(seq 120); do grep -q NOSOUND '%s' 2>/dev/null && break; sleep 0.25; done\n"
        "for i in $(seq 40); do xdotool keydown Return; sleep 0.15; xdotool keyup Return; sleep 0.3\n"
        "  kill -0 $pid 2>/dev/null || break; grep -q 'reached frame 120' '%s' && break; done\n"
        "wait $pid; echo record-exit=$?\n",
        testing_support::GameProgram().c_str(), recording.c_str(), dump.c_str(), recording.c_str(),
        recording.c_str());
    std::fclose(f);
    std::string out;
    ASSERT_EQ(
        Shell("SDL_AUDIODRIVER=none-here timeout 120 xvfb-run -a -n 560 -s '-screen 0 1280x720x24' sh " +
                  driver,
              &out),
        0)
        << out;
    ASSERT_NE(out.find("record-exit=0"), std::string::npos) << out;
    const std::string text = ReadText(recording);
    EXPECT_NE(text.find("\nNOSOUND 1\n"), std::string::npos) << text;
    std::string replayed;
    ASSERT_EQ(
        RunExe("--headless --scene Title --frames 120 --input " + recording + " --dump-state", &replayed), 0)
        << replayed;
    const std::string played = ReadText(dump);
    ASSERT_NE(DumpIn(played), "") << out;
    EXPECT_EQ(DumpIn(replayed), DumpIn(played)) << text;
}

// A window larger than the screen is made as large as the screen holds, title bar and all, and
// says so.
TEST(Program, AWindowLargerThanTheScreenIsKeptOnIt) {
    SKIP_WITHOUT_X11();
    if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    std::string out;
    ASSERT_EQ(Shell("SDL_AUDIODRIVER=dummy timeout 60 xvfb-run -a -n 660 -s '-screen 0 1280x720x24' " +
                        testing_support::GameProgram() + " --window 16384x16384 --frames 5 --dump-state",
                    &out),
              0)
        << out;
    EXPECT_NE(out.find("the window 16384x16384 is larger than the screen; it is 1280x720"), std::string::npos)
        << out;
}

TEST(Program, AReleaseProgramAloneInAFolderSaysWhatIsMissingAndWhatToDo) {
#ifndef _WIN32
    GTEST_SKIP() << "a Linux developer's build finds the source tree's data";
#else
    // rushmora.exe taken out of the zip on its own: no data folder, no fonts folder beside it. It
    // looks only beside itself (not in the build machine's folders), and says what to do.
    const std::string folder = testing_support::TempPath("alone");
    testing_support::MakeDir(folder);
    std::string from = testing_support::GameProgram(), program = folder + "\\rushmora-console.exe";
    std::erase(from, '"');
    std::replace(program.begin(), program.end(), '/', '\\');
    std::error_code error;
    std::filesystem::copy_file(from, program, std::filesystem::copy_options::overwrite_existing, error);
    ASSERT_FALSE(error) << from << ": " << error.message();
    std::string out;
    ASSERT_EQ(program.find(' '), std::string::npos) << "cmd would need quotes: " << program;
    EXPECT_EQ(Shell(program + " --headless --frames 3", &out), 0) << out;
    EXPECT_NE(out.find("data folder not found"), std::string::npos) << out;
    EXPECT_NE(out.find("Unpack the whole zip"), std::string::npos) << out;
    EXPECT_EQ(out.find("build-windows"), std::string::npos) << out;
#endif
}
