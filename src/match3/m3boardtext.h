// Boards written as small text pictures, turned into real level files, and the
// board dumped back in the same form (whole-board comparisons, tools).
//
// One token per cell, tokens separated by blanks, one line per row:
//   #        a hole (no floor)
//   .        an empty floor cell
//   3        a floor cell holding a chip of kind 3 (any kind id, 101 included)
// followed by any of these marks, in this order when dumped:
//   ^        the cell creates chips
//   !        the cell is locked
//   $n       the floor carries n coins (cell kind n + 1; no mark: kind 1)
//   +k       an overlay of cell kind k
//   @a|b     obstacles of kinds a, b (bottom first)
// Example: "1 2$1 .^ 3@4 #".
#pragma once

#include <string>
#include <vector>

namespace match3 {

class TM3Level;

struct TM3CellToken {
    bool hole = false;
    int chip = 0;
    int floor = 1;    // cell kind of the base layer
    int overlay = 0;  // cell kind of layer 1, 0 = none
    std::vector<int> obstacles;
    bool creator = false;
    bool locked = false;
};

// Parses one token; false (with *error) when it is malformed.
bool ParseCellToken(const std::string& token, TM3CellToken& out, std::string* error);
std::string FormatCellToken(const TM3CellToken& cell);

// The level file text for a picture. `chips` lists the kinds in play ("1 2 3").
// False (with *error naming the row and column) on a malformed picture.
bool LevelTextFromPicture(const std::string& picture, const std::string& chips, int seconds,
                          std::string& out, std::string* error);

// Writes that level file to `path`; false with *error when it cannot.
bool WriteLevelFromPicture(const std::string& path, const std::string& picture,
                           const std::string& chips, std::string* error, int seconds = 0);

// The board in picture form (chips as they sit in their cells now).
std::string DumpBoard(const TM3Level& level);

} // namespace match3
