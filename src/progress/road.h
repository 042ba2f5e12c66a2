// The player's progress as the screens above it see it: the current player,
// Play from the main menu, the profile and confirmation pop-ups, saving.
// Also fills in the level screen's road (level/levelroad.h).
#pragma once

#include <functional>
#include <string>

namespace progress {

// Fills in level::Road() with the progression: paying won levels, the next
// level, replays, leaving to the main menu, questions, the mode choice.
// Start-up calls it once, after the screens are made.
void InstallRoad();

// The current player's name, "" while no profile is current.
std::string CurrentPlayerName();
// The main menu's rule while no profile is current: a default profile at the
// first start, or the name entry.
void EnsureCurrentProfile();
// The main menu's Play: continue the game in progress, or the mode choice
// before a new one.
void Play();
// The profiles pop-up (change player).
void ShowProfiles();
// The options and high-score pop-ups.
void ShowOptions();
void ShowScores();
// Asks a yes/no question with the confirmation pop-up; `yes` or `no` runs
// once the answer's slide-out is over.
void AskYesOrNo(const std::string& question, std::function<void()> yes, std::function<void()> no = {});
// Writes the profile list and every profile; false when a write failed (the
// old files are then left as they were).
bool SaveProfiles();
// Reads the profile list and every profile (the loading screen's end; the
// menus' first question reads them when that has not happened yet).
void LoadProfiles();
// The intro is over: the current profile's level, then the level screen.
void StartGameAfterIntro();

} // namespace progress
