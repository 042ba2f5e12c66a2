// The headless driver: the small, stable way tools and tests run the engine
// without a screen, a display or a sound card.
//
//   match3::TM3Driver d(/*rulesSeed*/ 7, /*looksSeed*/ 8);
//   if (!d.LoadEngine("Game/") || !d.LoadLevel("Game/data/levels/stage-1/Level-1.txt"))
//       std::puts(d.Error().c_str());
//   d.RunUntilSettled();
//   for (const auto& m : d.Moves()) ...
//   d.Move(m);            // a drag from (r1, c1) toward (r2, c2)
//   d.RunUntilSettled();
//   std::puts(d.Dump().c_str());
//
// Each Step runs one frame: the controller's update, then the work the
// drawing pass would advance (drops, fantoms). The clock advances by 1000/60
// ms times the frame factor (fractions carried) unless a clock is given.
// When the board is settled with no move left, Step reshuffles it (the level
// play screen does the same) unless AutoReshuffle is off.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "match3/m3game.h"

namespace match3 {

class TM3Driver {
public:
    explicit TM3Driver(uint32_t rulesSeed = 1, uint32_t looksSeed = 2);

    TM3Game& Game() { return game_; }
    const TM3Game& Game() const { return game_; }
    TM3Level* Level() const { return game_.level.get(); }
    const std::string& Error() const { return error_; }

    // ---- LOADING ----
    // The four engine files under gameDir + "data/Match3Engine/".
    bool LoadEngine(const std::string& gameDir);
    // A level file by path, or by stage and level number in a game folder
    // (gameDir + "data/levels/stage-<s>/Level-<l>.txt").
    bool LoadLevel(const std::string& path);
    bool LoadLevel(const std::string& gameDir, int stage, int levelNumber);
    // A board picture (match3/m3boardtext.h) written as a level file into
    // `folder` and loaded through the real loader.
    bool LoadPicture(const std::string& folder, const std::string& picture, const std::string& chips);

    // ---- STEPPING ----
    void Step(float frameFactor = 1.0f);
    void StepAt(float frameFactor, int64_t clockMs);
    // Steps until the board is settled; the frames run, or -1 after maxFrames.
    int RunUntilSettled(int maxFrames = 20000, float frameFactor = 1.0f);
    int64_t Clock() const { return clock_; }
    bool AutoReshuffle = true;
    int Reshuffles = 0; // reshuffles made by Step

    // ---- QUERYING ----
    int Rows() const;
    int Cols() const;
    int KindAt(int r, int c) const;   // chip kind id, 0 without chip or position
    TM3Tile* Cell(int r, int c) const;
    bool IsSettled() const { return game_.isSettled(); }
    int CoinsLeft() const { return game_.CoinsLeft(); }
    std::vector<TM3Move> Moves() { return game_.GetAvailableMoves(); }
    std::optional<TM3Move> Hint();
    std::string Dump() const;

    // ---- MOVING ----
    // Picks (r1, c1) with the mouse and drags it toward (r2, c2) beyond the
    // drag threshold, as a player does. True when a swap started.
    bool Move(const TM3Move& m);
    // Clicks a cell (picks it, or swaps with the picked neighbour, or fires a
    // power chip). True when something was picked, swapped or fired.
    bool Click(int r, int c);

private:
    void PointAt(int r, int c);
    TM3Game game_;
    std::string error_;
    int64_t clock_ = 0;
    double clockFrac_ = 0;
    int pictureCount_ = 0;
};

} // namespace match3
