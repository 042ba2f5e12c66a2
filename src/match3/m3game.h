// The match-three controller: owns the kind lists read from the engine data,
// plays one level at a time, turns mouse input into swaps, runs the swap
// animation and its match check (TM3Pair), drives every cell and chip once per
// frame in a fixed order, and reports the board state the level play screen
// needs (moving chips, coins left, moves, hints).
//
// Determinism: the controller draws every random number from two injectable
// streams: `rules` (refill kinds, side-fall order, hints, reshuffle) and
// `looks` (sounds, particles, drop paths). Frame factor and clock come from
// the program's timing (fx/timing.h) unless SetTime installs fixed values,
// which is what the headless driver (match3/m3driver.h) does.
//
// The screen around the board receives sounds, scores, coins, effects and
// collected chips through TM3Screen; without a screen the controller uses
// quiet defaults (a released coin is counted in the level's Cash at once).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/platform/core/system.h"
#include "match3/m3chip.h"
#include "match3/m3data.h"
#include "match3/m3effects.h"
#include "match3/m3finder.h"
#include "match3/m3level.h"
#include "match3/m3tile.h"

namespace match3 {

// What the board asks of the screen around it. Every operation has a quiet
// default so that the engine runs without a screen (tests, tools).
class TM3Screen {
public:
    virtual ~TM3Screen() = default;
    virtual void PlaySound(int /*id*/, float /*volume*/) {}
    virtual void HideHint() {}
    virtual void AddScore(float /*x*/, float /*y*/, int /*points*/) {}
    // A power-up of the screen collects chips of this kind: the screen takes
    // the chip's picture on a flight and returns true; false lets it drop.
    virtual bool CollectChip(TM3Chip& /*chip*/, float /*x*/, float /*y*/) { return false; }
    // A coin left a cleared cell at (x, y); the screen flies it to the
    // counter and adds it to the level's Cash on arrival. Returns false to
    // let the controller count it at once.
    virtual bool CoinReleased(float /*x*/, float /*y*/) { return false; }
    // Board effects (drawn by the screen): a crumbled cell layer, an obstacle
    // removed, a power chip made or fired.
    virtual void TileCrashed(const TM3TileData& /*old*/, float /*x*/, float /*y*/) {}
    virtual void ObstacleRemoved(const TM3Obstacle* /*top*/, float /*x*/, float /*y*/) {}
    virtual void PowerChipFired(int /*kind*/, float /*x*/, float /*y*/) {}
    virtual void LightningBolt(float /*x1*/, float /*y1*/, float /*x2*/, float /*y2*/) {}
    virtual void ChipParticles(const TM3ChipData& /*kind*/, float /*x*/, float /*y*/) {}
    virtual float FrameAlpha() { return 1.0f; }
};

class TM3Pair {
public:
    TM3Game* myM3Game = nullptr;
    TM3Level* myM3Level = nullptr;
    float tileW = 0, tileH = 0;
    int state = 0;      // 0 moving out, 1 check, 2 moving back
    int kolejnosc = 0;  // 0: chip 0 drawn first
    float per = 0, dPer = 0;
    PM3Chip chips[2];
    TM3Tile* tile[2] = {nullptr, nullptr};
    float dimX[2] = {0, 0}, dimY[2] = {0, 0};
    float dDimX[2] = {0, 0}, dDimY[2] = {0, 0};
    float actDimX[2] = {0, 0}, actDimY[2] = {0, 0};
    int bylo = 0;
    float p = 0;
    bool ended = false;

    // One frame; false once the pair has ended.
    bool update();
    void draw() const;
    void Reverse();
    void End();

private:
    void Check();
    bool Broken() const; // a chip was destroyed or left its cell meanwhile
};

using PM3Pair = std::shared_ptr<TM3Pair>;

// A move as a player makes it: swap the chip of (r1, c1) with its neighbour.
struct TM3Move {
    int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    bool operator==(const TM3Move&) const = default;
};

class TM3Game {
public:
    TM3Game();
    ~TM3Game();
    TM3Game(const TM3Game&) = delete;
    TM3Game& operator=(const TM3Game&) = delete;

    std::vector<PM3ChipData> chipsList;
    std::vector<PM3TileData> tilesList;
    std::vector<PM3Drop> dropsList;       // chips dropped off by DropChip
    std::vector<PM3Drop> screenDropsList; // destroyed chips falling off the screen
    std::vector<PM3ChipFantom> fantomsList;
    std::vector<PM3Obstacle> obstaclesList;
    TM3Screen* scr = nullptr;             // not owning
    PM3Level level;
    std::vector<PM3Pair> pairsList;
    TM3Tile* lastOverTile = nullptr;
    TM3Tile* overTile = nullptr;
    TM3Tile* oTile = nullptr;
    TM3Tile* pTile = nullptr;
    std::vector<TM3Chip*> chainList, groupList;
    float tileW = 0, tileH = 0;
    float centerLevelX = 512, centerLevelY = 384;
    float MinMoveX = 0, MinMoveY = 0;
    float speedScroll = 0.02f;
    float speedChip = 0, speedFallChip = 0, speedFallAcc = 0, speedLandAcc = 0;
    float ChipShadowAlpha = 0, ChipShadowAdX = 0, ChipShadowAdY = 0;
    int isSideFallAvailable = 0, isSlowFallAvailable = 0;
    int MatchType = 0;
    int UnclearedTiles = 0;
    int M3EVENT_ChangedOverTile = 0, M3EVENT_SomethingIshappening = 0,
        M3EVENT_NothingHappeningStarts = 0, M3EVENT_ObstacleRemove = 0, M3EVENT_SwapPerformed = 0;
    int ChipsAreMoving = 0;
    float hx = 0, hy = 0;
    int holded = 0;
    TM3Chip* chainCHip = nullptr;
    TM3Chip* lastOChip = nullptr;
    int cheats = 0;                       // developer keys allowed
    bool quiet = false;                   // no console lines (headless runs)
    void Print(const std::string& line) const;

    // Shared pictures the screen loads: board border (24 frames), chip light.
    platform::ImagePtr borderImage;
    gui::PImg chipLight;

    // Random streams and timing.
    platform::Random rules{1};
    platform::Random looks{2};
    void SeedRandom(uint32_t rulesSeed, uint32_t looksSeed);
    // Fixed frame factor and clock (application and animation clock alike)
    // for the following frames; ClearTime returns to the program's timing.
    void SetTime(float frameFactor, int64_t clockMs);
    void ClearTime();
    float FF() const;
    int64_t Now() const;

    // The game folder with a trailing "/" ("[BDIR]" in picture paths);
    // empty: the program's game folder.
    std::string gameFolder;

    // Last load error (file named), empty after a successful load.
    std::string error;

    // ---- LOADING ----
    // Each returns false when the file is missing or empty, or (tiles, chips)
    // defines no kind; `error` names the file. imgQueued/imgDeferred are the
    // image-loading options of every picture of the kinds.
    bool LoadM3Settings(const std::string& path);
    bool LoadM3Tiles(const std::string& path, int imgQueued = 0, int imgDeferred = 1);
    bool LoadM3Chips(const std::string& path, int imgQueued = 0, int imgDeferred = 1);
    bool LoadM3Obstacles(const std::string& path, int imgQueued = 0, int imgDeferred = 1);
    // The four files of a game folder ("data/Match3Engine/..."), in order.
    bool LoadEngineData(const std::string& gameDir);
    // Loads a level file with this controller's kinds and sets it; false
    // (with `error`) when the level cannot be played.
    bool LoadLevel(const std::string& path);
    void SetLevel(PM3Level lvl);
    void FreeAll();
    void FreeLevel();

    // ---- SETTING ----
    void SetTileSizes(float w, float h) { tileW = w; tileH = h; }
    void SetSideFallAvailable(int n) { isSideFallAvailable = n; }
    void SetSlowFallAvailable(int n) { isSlowFallAvailable = n; }
    void SetSpeedChip(float v) { speedChip = v; }
    void SetSpeedFallAcc(float v) { speedFallAcc = v; }
    void SetSpeedLandAcc(float v) { speedLandAcc = v; }
    void SetSpeedFallChip(float v) { speedFallChip = v; }
    void SetMatchType(int n) { MatchType = n; pTile = nullptr; }
    void SetSpeedScroll(float v) { speedScroll = v; dropsList.clear(); }
    void SetChipShadow(float a, float dx, float dy) { ChipShadowAlpha = a; ChipShadowAdX = dx; ChipShadowAdY = dy; }
    void SetMinMoves(float x, float y) { MinMoveX = x; MinMoveY = y; }
    void MoveLevel(float dx, float dy);
    void MoveLevelCenterToPosition(float x, float y);
    void CenterLevelAtTile(int r, int c);

    // ---- FINDING ----
    PM3TileData GetTileDataById(int id) const;
    PM3ChipData GetChipDataById(int id) const;
    TM3Obstacle* GetObstacleById(int id) const;
    PM3Chip CreateChipById(int id);
    TM3Tile* GetTileRC(int r, int c) const;
    TM3Tile* GetTileByVector(const TM3Tile* t, int dr, int dc) const;
    TM3Chip* GetChipFromTile(const TM3Tile* t) const { return t ? t->chip.get() : nullptr; }
    std::vector<TM3Tile*> GetCrossTiles(int r, int c, int n) const;
    std::vector<TM3Tile*> GetBoxTiles(int r, int c, int n) const;
    std::vector<TM3Chip*> GetAllChipsOfType(int kindId, int withObstacled) const;
    std::vector<TM3Tile*> GetRandomChipsList(int n);
    std::vector<TM3Chip*> GetAllFreeChips() const;
    int CountAllChips() const;
    TM3Tile* isChipOnBoard(int kindId) const;
    bool isTileWithChip(int r, int c) const;
    bool isTileFreeToMove(int r, int c) const;
    bool isChipInTileByPosition(int r, int c) const { return isTileWithChip(r, c); }
    bool isChipExisting(int r, int c) const { return isTileWithChip(r, c); }
    bool isPositionProper(int r, int c) const;
    // 0 left, 1 up, 2 right, 3 down, 4 no direction.
    int CountDistance(float x1, float y1, float x2, float y2) const;

    // ---- MATCHING ----
    bool isChipMatch(const TM3Chip* a, const TM3Chip* b) const;
    bool isTileANeighbor(const TM3Tile* a, const TM3Tile* b) const;
    std::vector<TM3Tile*> GetMatchedTiles(TM3Tile* cell) const;
    // Swaps the chips of two cells, finds the matches through the second,
    // swaps back.
    std::vector<TM3Tile*> SwapChipsTemp(int r1, int c1, int r2, int c2);
    // The player may swap these two cells now: neighbours, both holding a
    // chip with a kind, neither obstacled, locked or moving.
    bool isSwapAllowed(const TM3Tile* a, const TM3Tile* b) const;
    // An allowed swap that would make a match (judged by the line finder on
    // the temporarily swapped board) or fire a power chip.
    bool isSwapProductive(TM3Tile* a, TM3Tile* b);
    // Every productive swap, right pair before down pair, row-major, the last
    // row and column included. Only meaningful on a settled board.
    std::vector<TM3Move> GetAvailableMoves();
    int isAnyMoveAvailable_SWAP();
    // A hint for one available move (rules stream), or none.
    std::shared_ptr<TSwapHint> GetSwapHint();
    gui::PImg hintArrow;

    // ---- STATE ----
    // No swap running, no fillable empty cell, no chip falling, landing, being
    // destroyed or morphing, no fantom. Moves are judged only then.
    bool isSettled() const;
    // Settled and no move left: the screen reshuffles.
    bool NeedsReshuffle();
    // The cells a reshuffle changes: a chip and no obstacle, or exactly one
    // obstacle of Typ 1.
    bool isReshuffleCell(const TM3Tile& t) const;
    // A no-line arrangement for the whole board (rules stream).
    std::vector<std::vector<int>> ReshuffleArrangement();
    // Gives every reshuffle cell its new kind at once.
    void ReshuffleNow();
    int CoinsLeft() const; // the sum of the coins still on the board

    // ---- COMMANDS ----
    void PickTile(TM3Tile* t);
    bool SwapTiles(TM3Tile* a, TM3Tile* b);
    void ClearPairs();
    void ClearTempData() { oTile = nullptr; pTile = nullptr; }
    void MatchTilesList(const std::vector<TM3Tile*>& cells);
    void MatchChipsList(const std::vector<TM3Chip*>& chips);
    void MoveChipsCentricFromTile(TM3Tile* t, float power, int radius);
    void Calculate();
    void CreateBoardPowerUp(TM3Tile* t, std::vector<TM3Tile*> cells);
    // Power chip firing: the clearing operations of the cross, row lightning
    // and bomb chips (also used by the screen's tools).
    void Cross(TM3Tile* t);
    void Lightning(TM3Tile* t);
    void Bomb(TM3Tile* t);
    void LightUpTiles(int durationMs);
    void LightUpBoard();
    int GetRandomChipId();
    void ReleaseCoin(TM3Tile& t);
    void PlaySound(int id, float volume);

    // ---- GRAVITY ----
    bool isChipAvailableToFall(const TM3Chip* ch) const;
    bool isChipAvailableToFallLeft(const TM3Chip* ch) const;
    bool isChipAvailableToFallRight(const TM3Chip* ch) const;
    bool isChipInColumnFalling(int r, int c, int debug = 0) const;
    bool isChipBlockedBySide(int r, int c) const;
    bool isChipDoingNothing(int r, int c) const;
    bool isTileUnavailable(int r, int c) const;
    bool isTileFreeForFall(int r, int c) const;
    bool isTileExisting(int r, int c) const;
    bool isTileWithCharacter(int r, int c) const;
    void FallChip(TM3Chip* ch);
    void FallChipLeft(TM3Chip* ch);
    void FalLChipRight(TM3Chip* ch);
    int FallSideChip(TM3Tile* t);
    void _updateTileFall(TM3Tile* t);
    bool isChipMatchedAfterFall(TM3Tile* t);

    // ---- EVENTS ----
    void ResetEvents();
    void EVENT_ChangedOverTile() { M3EVENT_ChangedOverTile = 1; }
    void EVENT_SomethingIsHappening() { M3EVENT_SomethingIshappening = 1; }
    void EVENT_NothingHappeningStarts() { M3EVENT_NothingHappeningStarts = 1; }
    void EVENT_ObstacleRemove(int typ) { M3EVENT_ObstacleRemove = typ; }
    void EVENT_SwapPerformed() { M3EVENT_SwapPerformed = 1; }

    // ---- UPDATING ----
    // Board logic of one frame.
    void update();
    // The work the drawing pass advances (drops and fantoms), without
    // drawing; headless runs call it after update.
    void UpdateDetached();
    // Input of one frame (the mouse object).
    void CONTROL_INTERFACE();
    void CHEATS();

    // ---- DRAWING ----
    void draw();
    // Updates then draws the drops and fantoms (the screen's drawing pass).
    void DrawDetached();

private:
    void _updateTiles();
    void _updateChips();
    void _updatePairs();
    void _CONTROL_SWAP();
    void _CONTROL_CHAIN();
    void _CONTROL_GROUP();
    bool timeFixed_ = false;
    float fixedFactor_ = 1.0f;
    int64_t fixedClock_ = 0;
    bool prevHappening_ = false;
    PM3Level heldLevel_;
};

} // namespace match3
