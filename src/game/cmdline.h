// The command line: options for players (window mode, folders, seed) and for
// automation (headless runs of a fixed number of frames, screenshots, input
// scripts). The parser is a pure function so that it can be tested on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace game {

struct CmdOptions {
    std::optional<bool> fullScreen;     // --windowed / --fullscreen; unset: the settings decide
    std::string gameDir;                // --game-dir; empty: "Game/"
    std::string userDir;                // --user-dir; empty: the per-user application-data folder
    std::optional<uint32_t> seed;       // --seed; unset: seeded from the clock
    bool headless = false;              // --headless
    std::optional<int64_t> frames;      // --frames: quit after this many frames
    std::string screenshot;             // --screenshot: PNG of the last frame drawn
    std::string inputScript;            // --input: frame-numbered input events
    bool gallery = false;               // --gallery: the developer widget gallery (needs Cheats.txt)
    // Testers' options: play one level directly after loading.
    std::optional<std::pair<int, int>> level; // --level S-L: stage S, level L (timed mode)
    bool relaxed = false;               // --relaxed: the level in the relaxed mode
    bool autoplay = false;              // --autoplay: the in-game bot plays the level, or, without
                                        // --level, the whole game from the main menu
    std::string autoplayShots;          // --autoplay-shots DIR: the player's map screenshots
    std::optional<int> autoplayLevels;  // --autoplay-levels N: that game stops after N levels
    std::optional<int64_t> killAtFrame; // --kill-at-frame N: the process kills itself (SIGKILL) in
                                        // the N-th frame of the built-in player, for the kill tests
    bool exitOnLevelEnd = false;        // --exit-on-level-end: quit when the level ends (0 won, 3 lost)
    bool bench = false;                 // --bench: frame-time figures printed at exit
};

enum class CmdAction {
    Run,     // start the game with the options
    Help,    // print UsageText() and exit 0
    Version, // print VersionText() and exit 0
    Error,   // print the message and UsageText() hint, exit 2
};

struct CmdLineResult {
    CmdAction action = CmdAction::Run;
    CmdOptions options;
    std::string message; // the error, for CmdAction::Error
};

// Parses the arguments after the program name. Options taking a value accept
// both "--name value" and "--name=value".
CmdLineResult ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();

} // namespace game
