// One board cell: up to two layers of cell kinds (the floor with its coins and
// an overlay), a stack of obstacles (bottom first, the last is the top one),
// the chip it holds, flags (locked, creator), its border pieces and a short
// glow. Matching a chip on the cell crumbles one layer (MatchAtMe).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "match3/m3chip.h"
#include "match3/m3data.h"

namespace match3 {

class TM3Game;
class TM3Level;

// A character standing on a cell. The game ships no character kinds and its
// levels name none (a level naming characters is rejected at load); the type
// exists so that the board predicates that see characters stay complete.
class TM3Character {
public:
    int id = 0;
    TM3Game* myM3Game = nullptr;
    TM3Level* myM3Level = nullptr;
    int actDir = 0;
    int cechy[4] = {0, 0, 0, 0};
    int hp = 0, maxHp = 0, mana = 0, maxMana = 0;
    int r = 0, c = 0;
    TM3Tile* myTile = nullptr;
    int isPlayer = 0;
};

class TM3Tile {
public:
    PM3TileData td[2];                   // [0] base kind (none: a hole), [1] overlay
    TM3Level* myM3Level = nullptr;
    TM3Game* myM3Game = nullptr;
    void* myM3FlyingTile = nullptr;      // while set: not updated or drawn in place
    float tileW = 0, tileH = 0, tileWHalf = 0, tileHHalf = 0;
    TM3Character* character = nullptr;
    std::vector<TM3Obstacle*> obstacles; // bottom first; a null slot still obstructs
    PM3Chip chip;
    int locked = 0;
    int isCreator = 0;
    int trace = 0, traceN = 0;
    TM3Tile* nextTile = nullptr;
    std::vector<int> Frame;              // border pieces, increasing
    int state = 0;
    int r = 0, c = 0;
    float drawX = 0, drawY = 0;
    float ActDrawX = 0, actDrawY = 0;
    int ozn = 0;
    int FinderInt = 0;
    float Light = 0, dLight = 0;
    int64_t LightStartTime = 0, LightTime = 0;

    // ---- GETTING ----
    TM3Chip* GetMyChip() const { return chip.get(); }
    TM3Tile* GetTileNeighbor(int dr, int dc) const;
    bool hasBase() const { return td[0] != nullptr; }
    bool isObstacled() const { return !obstacles.empty(); }
    bool isObstacledByChest() const;
    bool isObstaclesBlocking() const { return !obstacles.empty(); }
    bool isChipOfType(int kindId) const { return chip && chip->KindId() == kindId; }
    bool isNonMatchObstacled() const;
    bool isChestObstacleTop() const;
    bool isFreeToChipFall() const { return !chip && !character && !locked && hasBase(); }
    bool isFreeToMoveChip() const { return isFreeToChipFall() && !isObstacled(); }
    bool isChipMoving() const { return chip && !chip->isFree(); }
    bool isFreeToSwapChip() const { return !isChipMoving() && !isObstacled(); }
    bool isOver() const;
    bool isAvailableForPick() const { return !isObstacled() && !locked && hasBase(); }
    bool isSingleTD() const { return td[1] == nullptr; }
    int isBlockedForWalk() const;
    TM3Obstacle* TopObstacle() const { return obstacles.empty() ? nullptr : obstacles.back(); }

    // ---- SETTING ----
    void SetCharacter(TM3Character* ch, int keep);
    void SetTrace(int n) { trace = n; }
    void SetLocked(int n) { locked = n; }
    void SetTileData(PM3TileData kind, int layer);
    // "base" or "base|overlay"; more than two ids keep the first two and
    // report the cell. Returns false when the text was truncated.
    bool SetTilesData(const std::string& text);
    void SetChip(PM3Chip newChip);
    void SetObstaclesFromString(const std::string& text);
    // The five-field cell description of a level file. False (with *error
    // filled) when the description was malformed and had to be cut down.
    bool SetDataFromString(const std::string& text, std::string* error = nullptr);

    // ---- COMMANDS ----
    void DropChip();
    void RemoveObstacle();
    void CheckMatchHere();
    void MatchChestNeighbors();
    void MatchTileData(int layer, int removeLast);
    void MatchAtMe();
    void MatchWithDestroy();
    void FireSmallBombHere();
    void LightUp(int delayMs, int durationMs);

    // ---- UPDATING ----
    void update();

    // ---- DRAWING ----
    void draw();
    void DrawFrame();
    void drawObstacles();
    void drawObstaclesAt(float x, float y);
    void CountDrawPosition();
    void Free();
};

using PM3Tile = std::shared_ptr<TM3Tile>;

} // namespace match3
