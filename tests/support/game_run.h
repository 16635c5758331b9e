// Running the whole program in the test process: headless, scripted, on virtual time.
#pragma once

#include "platform/runtime.h"
#include "shell/start_scene.h"

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct RunSetup {
    long frames = 10;
    std::string script;  // input script text
    std::string scene = "Logo";
    std::vector<std::pair<std::string, int>> fields;
    std::function<SceneBase*()> make;            // a scene of the test's own
    std::string dataDir;                         // empty: the test pictures
    int screenWidth = 1280, screenHeight = 720;  // the display's pixels
    double scale = 0;                            // 0: 1, as any headless run
    std::string language;                        // --lang; empty: Japanese
    long seed = -1;                              // the game's random seed; -1: the calendar time
    std::vector<platform::Screenshot> screenshots;
    std::function<void()> atFrameEnd;  // run at the end of every frame, after the platform's own work
};

// The whole-run replay (tests/replays/whole_run.txt) to the given frame, with its seed and the game's
// own data.
RunSetup WholeRun(long frames);

// Starts the platform, runs WinMain to its end and returns its exit code. The state stays for
// inspection until EndRun (the fixture below calls it).
int RunGame(const RunSetup& setup);
void EndRun();

// A folder of small test pictures (solid colours with known sizes), made once per test program.
const std::string& TestDataDir();
std::string TempPath(const std::string& name);
// Makes a folder (its parent must be there).
void MakeDir(const std::string& path);
// The game's program, for tests that run it as a player would.
std::string GameProgram();
// The end of a shell command that throws its output away.
const char* Quietly();
// Runs a shell command and returns its exit status, with its output (stdout and stderr) in out.
int RunCommand(const std::string& cmd, std::string* out);

}  // namespace testing_support

#include <gtest/gtest.h>

#include "graphics/graphics_device.h"

class GameRunTest : public ::testing::Test {
  protected:
    void TearDown() override { testing_support::EndRun(); }
};

// The platform started headless with one 640 x 480 window and a graphics device on it, without the
// game (for tests of the platform and of the graphics code).
class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    GraphicsDevice g{};
    HWND window = nullptr;
};
