// One level: the board of cells read from a level file (a resource-catalogue
// file), the chip kinds in play, the time limit and the coins to collect.
//
// Level file keys: "level::data::availableChips" (kind ids separated by
// blanks), "level::data::size" (rows, cols), "level::data::position",
// "level::data::seconds" (0 or absent: 420), "level::data::score",
// "level::tile::row<r>" (one cell description per column), "level::creators::i"
// and "level::creators::c<k>" (row, column), "level::characters::i".
//
// A cell description is up to five fields separated by blanks:
//   kinds chip obstacles trace locked
// kinds is "base" or "base|overlay"; obstacles are ids joined by "|", bottom
// first, or 0 for none.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "match3/m3tile.h"

class TRCMFile;

namespace match3 {

class TM3Game;

class TM3Level {
public:
    TM3Game* myM3Game = nullptr;           // set before Load; not owning
    std::vector<PM3ChipData> availableChips;
    std::vector<int> chipCreators;         // kept empty
    std::vector<std::shared_ptr<TM3Character>> characters;
    std::vector<int> Targets;              // kept empty
    std::vector<std::vector<PM3Tile>> tile; // [row][column], every position has a cell
    int rows = 0, cols = 0;
    int width = 0, height = 0;
    float mx = 0, my = 0;                  // screen centre of cell (0, 0)
    int Seconds = 0;
    int MaxSeconds = 420;
    int Score = 0;
    int Cash = 0;
    int TotalCoins = 0;
    float tileW = 0, tileH = 0;
    std::string path;                      // the file loaded

    // ---- LOADING ----
    // Reads the level file. False when the file is missing or empty, when the
    // board has no rows, columns or chip kinds, or when it names characters;
    // `error` then says why, naming the file. Other mistakes are played around
    // with a default and reported (ReportDataIssue, match3/m3read.h) and kept
    // in `warnings`: unknown kinds (an unknown floor plays as kind 1, unknown
    // overlays, chips and obstacles are left out), "seconds" below 0 (420),
    // a negative score (0), a "size" that disagrees with the rows written (the
    // rows win), a creator count that disagrees with the creators listed (the
    // list wins), creators outside the board or on holes (left out), and cell
    // descriptions cut down to what a cell can hold.
    bool Load(const std::string& filePath);
    // Parses text already in memory; `name` only names it in messages.
    bool LoadText(const std::string& text, const std::string& name);
    void Init(int flag = 1);
    void InitData();
    void InitPositions();
    void InitFrame();
    void InitTrace();
    void Free();
    int CountTotalCoins();

    std::string error;
    std::vector<std::string> warnings;

    // ---- GETTING ----
    bool isPositionProper(int r, int c) const { return r >= 0 && c >= 0 && r < rows && c < cols; }
    bool isTileHere(int r, int c) const;
    TM3Tile* GetTileByPosition(int r, int c) const;
    std::vector<bool> GetAroundArray(int r, int c) const;
    int GetLevelWidth() const;
    int GetLevelHeight() const;
    std::string GetAvailablesString() const;
    TM3Tile* GetRouteStartTile() const;
    TM3Tile* GetRouteEndTile() const;

    // ---- POSITIONING ----
    void CenterAtPosition(float x, float y);
    void CenterAtTile(const TM3Tile& t);
    void CenterMove(float dx, float dy) { mx += dx; my += dy; }
    void CenterLevelCenterAt(float x, float y);
    void AddSecond() { Seconds += 1; }

private:
    bool LoadFrom(const TRCMFile& file);
    // The cell description with every id the engine data lacks reported and
    // replaced by its default; `key` is the row's entry.
    std::string RepairedCell(const std::string& desc, const std::string& key, int r, int c);
};

using PM3Level = std::shared_ptr<TM3Level>;

// The road of levels a game walks: stage s (1 .. kStageCount) has
// kLevelsInStage[s - 1] levels, each in its own file (LevelFileName).
constexpr int kStageCount = 5;
constexpr int kLevelsInStage[kStageCount] = {13, 19, 20, 21, 22};
// "Data/levels/stage-<s>/Level-<l>.txt", relative to the game folder.
std::string LevelFileName(int stage, int level);

// Frame pieces (0..23, increasing) of a cell whose eight neighbours are part
// of the playing area as given: around[i] for the 3 x 3 block row by row from
// (r - 1, c - 1); around[4] is the cell itself.
std::vector<int> FramePieces(const std::vector<bool>& around);

} // namespace match3
