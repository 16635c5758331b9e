// How this run of the program is set up (a real screen or a headless one, scripted input, virtual
// time, screenshots), and the frame hooks the main loop calls so that replays stay frame-exact.
#pragma once

#include "platform/game_keys.h"
#include "platform/input_script.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace platform {

struct Screenshot {
    long frame;
    std::string file;
};

// The languages the game plays in: its own, Japanese, and English.
constexpr const char* kJapanese = "ja";
constexpr const char* kEnglish = "en";

struct RuntimeOptions {
    bool headless = false;
    int screenWidth = 1280, screenHeight = 720;  // the headless screen, in the display's pixels
    int windowWidth = 0, windowHeight = 0;       // a plain window instead of the full screen
    // How many of the display's pixels a pixel of the game's screen takes (0: the system's own
    // setting, or 1 where there is none, as headless). The game sees the display's size over it.
    double scale = 0;
    // The screen the game's windows need: a scale that would leave the game less shrinks until it
    // leaves that much (0: whatever the scale leaves).
    int leastScreenWidth = 0, leastScreenHeight = 0;
    long frames = -1;  // end after this frame, -1 never
    bool hasSeed = false;
    std::uint32_t seed = 0;
    InputScript script;
    bool hasScript = false;
    std::vector<Screenshot> screenshots;
    std::string audioOut;  // headless: write the mixed sound to this WAV file
    // Write what the run saw to this file as an input script that a headless run replays
    // (recordOptions: the options of the run that a replay's command line needs as well).
    std::string recordFile, recordOptions;
    std::string dataDir;  // empty: look for it
    bool stats = false;   // time every frame, for FrameStatsReport
    // The windowed Windows program, which a player starts from Explorer with no console to read:
    // the start-up warnings that matter to the player are shown in a box as well.
    bool warningsInBox = false;
    // The player's settings from this file (else, in a real window, the player's own settings.ini;
    // headless runs read none unless named here).
    std::string settingsFile;
    // "ja" or "en"; empty: the player's setting in a window, Japanese headless.
    std::string language;
    // The game's keys a player may move (UseGameKeys); empty: the table handed over before, if any.
    std::vector<GameKey> gameKeys;
    // The game's sounds a pad rumbles with (off where the player's settings say so).
    std::vector<SoundRumble> rumbles;
    // The game's pictures that reduce motion shows faint over the desktop: a file's name, or the
    // start of several names ("Texture/t1_").
    std::vector<const char*> calmPictures;
};

// Sets the platform up for the run: SDL, the screen, the desktop picture, the data folder as working
// directory. Returns false with a message (and the exit code to use) when the program cannot run.
bool Start(const RuntimeOptions& options, std::string* error, int* exitCode);
void Stop();
const RuntimeOptions& Options();
bool Headless();

// The game's screen on a display of displayWidth x displayHeight pixels: the scale wanted (from the
// command line or the system; 1 when it is 0 or less), made smaller where it would leave the game
// less than least (to the hundredth below), and the display's size over that scale.
struct ScreenFit {
    double scale = 1;
    int width = 0, height = 0;
};
ScreenFit FitScreen(int displayWidth, int displayHeight, double wanted, int leastWidth = 0,
                    int leastHeight = 0);

// Called by the main loop around each frame. Frames are numbered from 1.
void FrameBegin();
void FrameEnd();
long CurrentFrame();
// Part of FrameEnd: the pad rumbles with the sounds the game started in the frame, as the table
// (RuntimeOptions::rumbles) says.
void RumbleWithSounds(const std::vector<SoundRumble>& rumbles);
// Work the platform does at the end of every frame (screenshots, stepping recorded sound, ...).
void AddFrameEndHook(std::function<void()> hook);

// With RuntimeOptions::stats: the frames shown so far, how many were late, and the process's CPU time
// per frame (median, 99th percentile, worst), as a few lines of text. A frame is late when it took
// more than the game's 16 ms from FrameBegin to FrameEnd: wall time in a window, CPU time in a headless
// run, whose clock is virtual.
std::string FrameStatsReport();

// Calendar time as the game seeds its random numbers from it (the fixed seed of a replay if given:
// --seed, else the script's SEED lines one after another).
std::time_t CalendarTime();

// The milliseconds a Sleep asked for, summed over the run (for pacing checks).
std::uint64_t TotalSleptMs();
// Moves the virtual clock on, as if work had taken that long (headless runs only).
void AdvanceVirtualTime(std::uint32_t ms);

// The message boxes shown in this run, with their answers: how many there were, and the last
// kKeptMessageBoxes of them, oldest first (a long run that opens boxes every frame keeps no more).
struct MessageBoxRecord {
    std::string text, caption;
    unsigned type;
    int result;
    long frame;
};
constexpr std::size_t kKeptMessageBoxes = 64;
const std::vector<MessageBoxRecord>& MessageBoxes();
std::uint64_t MessageBoxCount();
void RecordMessageBox(const MessageBoxRecord& record);

// Warnings that the platform printed once (a damaged picture, ...).
void Warn(const std::string& message);
// A warning the player must see at start-up (no data folder, no font, no sound, a damaged settings
// file, a pad mapping SDL cannot read): printed as Warn does, and in a window shown once on screen
// at the end of Start (with RuntimeOptions::warningsInBox in one box the player answers, else in a
// notice over the desktop that goes by itself).
void WarnPlayer(const std::string& message);

// An output the run was asked for (a screenshot, the sound recording) that could not be written: the
// message is printed as a warning, the run goes on, and the program ends with status 1.
void OutputFailed(const std::string& message);
bool AnyOutputFailed();
// Work done once when the run stops (closing output files, so that a failure still counts).
void AddRunEndHook(std::function<void()> hook);

}  // namespace platform
