// Kind checks used by the content check.
#include "match3/m3check.h"

#include <algorithm>
#include <set>

#include "match3/m3game.h"

namespace match3 {

std::vector<std::string> FindLoopingTileKinds(const TM3Game& game)
{
    std::vector<std::string> out;
    std::set<const TM3TileData*> reported;
    for (const auto& start : game.tilesList) {
        std::vector<const TM3TileData*> chain;
        for (const TM3TileData* k = start.get(); k; k = k->younger) {
            auto seen = std::find(chain.begin(), chain.end(), k);
            if (seen != chain.end()) {
                // Report each loop once, from the first of its kinds met.
                if (!reported.count(k)) {
                    std::string ids;
                    for (auto it = seen; it != chain.end(); ++it) {
                        ids += std::to_string((*it)->id) + " -> ";
                        reported.insert(*it);
                    }
                    out.push_back("cell kinds loop through their younger kinds: " + ids + std::to_string(k->id));
                }
                break;
            }
            chain.push_back(k);
        }
    }
    return out;
}

std::vector<std::string> FindOverlayKindsWithYounger(const TM3Level& level)
{
    std::vector<std::string> out;
    std::set<int> reported;
    for (const auto& row : level.tile)
        for (const auto& t : row) {
            const TM3TileData* o = t->td[1].get();
            if (o && o->younger && reported.insert(o->id).second)
                out.push_back("overlay cell kind " + std::to_string(o->id) + " (cell " + std::to_string(t->r) + ", " +
                              std::to_string(t->c) + ") has younger kind " + std::to_string(o->youngerId) +
                              ": its matches pay coins the level does not count");
        }
    return out;
}

} // namespace match3
