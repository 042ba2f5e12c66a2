// Kind records of the match-three engine: cell kinds (floor and coin layers),
// chip kinds with their frames and animations, and obstacle kinds. They are
// read once from the engine data files by the controller's loaders
// (TM3Game::LoadM3Tiles and friends) and shared by every cell and chip.
//
// Fixed ids the engine tells apart:
//  - cell kind 1 is a floor without coins; kind n > 1 carries n - 1 coins and
//    usually has kind n - 1 as its younger kind (one coin less);
//  - chip kinds 1..100 are ordinary colours, 101 the cross chip, 102 the row
//    lightning chip, 103 the bomb chip;
//  - obstacle Typ 2 is a chest, Typ 1 lets its cell take part in reshuffles.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/images.h"

namespace match3 {

class TM3Game;

constexpr int kChipCross = 101;
constexpr int kChipLightning = 102;
constexpr int kChipBomb = 103;
constexpr int kFirstPowerChip = 101;
inline bool IsPowerChipId(int id) { return id >= kFirstPowerChip; }

constexpr int kObstacleChest = 2;    // Typ of a chest
constexpr int kObstacleShuffles = 1; // Typ of the obstacle that still lets its cell reshuffle

class TM3TileData {
public:
    int id = 0;
    gui::PImg gfx;
    int olderId = 0, youngerId = 0;     // 0 = none
    TM3TileData* older = nullptr;       // resolved after loading; not owning
    TM3TileData* younger = nullptr;
    TM3Game* myM3Game = nullptr;
    std::string gfxPath;                // the picture's path as loaded (messages)

    // ---- DRAWING ----
    void Draw(float x, float y) const;  // the picture at (x, y); nothing without one
    void LoadGFX() {}
    void FreeGFX() { gfx.reset(); }
};

class TM3AnimData {
public:
    int id = 0;
    std::vector<int> frame;     // indices into the kind's gfx, 0-based
    std::vector<int> frameTime; // milliseconds per frame; same length as frame
};

class TM3ChipData {
public:
    int id = 0;
    std::vector<gui::PImg> gfx;       // frames; one for a static kind, none for a bare kind
    std::vector<gui::PImg> gfxShadow; // optional shadow frames
    std::vector<TM3AnimData> anims;
    int standardAnim = 0;
    TM3Game* myM3Game = nullptr;
    int resIndex = 0, resValue = 0;
    int r = 255, g = 255, b = 255;

    // ---- DRAWING ----
    // Frame `frame` centred at (x, y) with the current drawing state. A frame
    // outside gfx, or a kind without pictures, draws nothing.
    void Draw(float x, float y, int frame) const;
    // The frame's picture, or none when the frame does not exist.
    gui::PImg GetGFX(int frame) const;
    const TM3AnimData* FindAnim(int animId) const; // none when absent
    void LoadGFX() {}
    void FreeGFX();
};

class TM3Obstacle {
public:
    int id = 0;
    int Typ = 0;
    int isNonMatch = 0;
    gui::PImg gfx;
    int HigherId = 0, LowerId = 0;
    TM3Obstacle* HigherObstacle = nullptr; // resolved after loading; not owning
    TM3Obstacle* LowerObstacle = nullptr;
    TM3Game* myM3Game = nullptr;

    // ---- DRAWING ----
    void draw(float x, float y) const;
    void LoadGFX() {}
    void FreeGFX() { gfx.reset(); }
};

using PM3TileData = std::shared_ptr<TM3TileData>;
using PM3ChipData = std::shared_ptr<TM3ChipData>;
using PM3Obstacle = std::shared_ptr<TM3Obstacle>;

} // namespace match3
