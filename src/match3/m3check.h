// Checks of engine kinds that the loaders cannot refuse on their own, for the
// content check: cell kinds whose younger chain loops (a coin layer that never
// clears and pays coins for ever) and overlays that crumble into a younger
// kind (each match pays a coin the level never counted).
#pragma once

#include <string>
#include <vector>

namespace match3 {

class TM3Game;
class TM3Level;

// One line per cell kind whose chain of younger kinds comes back to a kind
// already in the chain, naming the ids in order.
std::vector<std::string> FindLoopingTileKinds(const TM3Game& game);

// One line per overlay kind used by the level that has a younger kind,
// naming the first cell that carries it.
std::vector<std::string> FindOverlayKindsWithYounger(const TM3Level& level);

} // namespace match3
