// What the level's pop-ups (summary, lose, in-game menu, mode choice) ask of
// the player's progress and of the rest of the program. The level screen sits
// below the profiles, so it owns this seam and the progress layer fills it in
// at start-up (progress::InstallRoad). Every hook may be empty: then nothing
// happens, so the level screen and its pop-ups also run alone in tests.
#pragma once

#include <functional>
#include <string>

namespace level {

struct TLevelRoad {
    // The current profile's cash before the level just won (the summary's
    // total line); 0 when empty.
    std::function<int()> ProfileCash;
    // A level was won: pay `score` and `cash` into the profile and move the
    // progression on, in one step saved at once, so that a quit or a crash
    // while the summary shows neither pays twice nor loses the win. Called
    // once per won level, when the summary is shown.
    std::function<void(int score, int cash)> PayWonLevel;
    // The summary's OK, once it has slid out: on to the map or the outro.
    std::function<void()> ContinueFromSummary;
    // Play the current level again (the lose pop-up's replay, the in-game
    // menu's restart): the level is loaded again and handed to the screen.
    std::function<void()> RestartLevel;
    // Leave the level for the main menu.
    std::function<void()> GoMainMenu;
    // Ask a yes/no question with the program-wide confirmation pop-up.
    std::function<void(const std::string& question, std::function<void()> yes)> AskYesOrNo;
    // Open the options pop-up.
    std::function<void()> ShowOptions;
    // The mode choice was made (0 relaxed, 1 timed): start a new game.
    std::function<void(int mode)> StartNewGame;
};

// The program's one road (hooks empty until progress::InstallRoad).
TLevelRoad& Road();

} // namespace level
