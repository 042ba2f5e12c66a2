// The start-up sequence: creates the program-wide state, reads the language
// and the window title, prepares the user-data folder, opens the display and
// hands over to the main loop. Also the automation of headless runs: the
// virtual clock, the frame limit, input scripts and screenshots.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/cmdline.h"

namespace game {

struct StartupEnv {
    // Shows a start-up failure; empty: the platform message box.
    std::function<void(const std::string&)> messageBox;
};

// Runs the game with the parsed options and returns the process exit status:
// 0 after a normal quit, 1 when start-up failed (a required file could not be
// read, no display), 2 for an unreadable input script, 3 when a save before
// quitting failed.
int RunGame(const CmdOptions& options, const StartupEnv& env = {});

// Reads the language folder from game folder + "Local.txt" and the window
// title from the language's "appname.txt". On failure returns false and sets
// `error` to a message naming the file that could not be read.
bool ReadLanguageAndTitle(std::string& title, std::string& error);

// The virtual clock of headless runs at the start of a frame (frames count
// from 1): exactly 1/60 s per frame, the fractions carried over, so frame
// 60 starts exactly 1000 ms after frame 0.
int64_t HeadlessClockAt(int64_t frame);

// The whole command-line program: parses, prints help, version or errors,
// and runs the game.
int VelmoraMain(const std::vector<std::string>& args);

} // namespace game
