// The city map's economy: can the coins of the road pay for the building
// queue? SimulateEconomy plays the thriftiest honest player there is: every
// level pays all of its coins, and after each level the player buys what the
// map screen offers and the cash allows, slot by slot, the way the screen's
// buttons work (src/citymap/mapscreen.cpp):
//
//   - a slot that names no object, or an object with nothing to draw, offers
//     nothing (and counts as done; such an object is never bought);
//   - an object is done once bought, a normal one also while it stands on
//     the map, a removal (IsExistReversed) once it is gone;
//   - the fourth slot waits until the first three are done;
//   - when all four are done the next chapter opens (up to the eighth), in
//     the same visit to the map.
//
// A purchase changes the map as the screen's does: a normal object is added,
// a removal taken away, then the object's hide list (not for a war object
// with a war scene, whose story does that) and its show list.
//
// The designer's rule: the road must pay at least 10 % more than the whole
// queue costs, and this player must have bought all 32 objects once the last
// level is paid. Both the content check and build/velmora-economy apply it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "citymap/mapobjects.h"

namespace citymap {

// ---- The road's coins ----

struct TLevelCash {
    int stage = 0, level = 0; // from 1
    int coins = 0;            // the level's coins (0 when it cannot be read)
    std::string error;        // why the level could not be read, or ""
};

// The coins of every level of the road in play order: the sum over the
// board's cells of (first layer's kind id - 1), as the level counts them
// (match3::TM3Level::CountTotalCoins). `gameDir` ends with a slash. When the
// engine data cannot be read, `engineError` says why and no level is read
// (every level then pays 0). The loaders' reports of what they played
// around with go wherever the caller sends them (match3::ReportDataIssue).
std::vector<TLevelCash> ReadRoadCash(const std::string& gameDir, std::string* engineError = nullptr);

// The cash of each level of `road`, in order.
std::vector<int> LevelCoins(const std::vector<TLevelCash>& road);

// ---- The simulation ----

struct TEconomyLevel {
    int coins = 0;           // what the level paid
    int cashAfterLevel = 0;  // with what was left from before
    int cashAfterBuying = 0;
    struct TPurchase {
        int id = 0;
        int price = 0;
    };
    std::vector<TPurchase> bought; // in the order bought
    int chapter = 0;               // the chapter open after buying, 0 to 7
};

// A slot of the queue whose object the player never bought, and why.
struct TNotBought {
    enum class Why {
        NoObject,      // the slot names no catalogue object
        NothingToDraw, // the object has no draw object: the screen never offers it
        DoneUnbought,  // it counted as done without a purchase (already on the map,
                       // a removal already gone, or bought from an earlier slot)
        NotAfforded,   // still on offer (or waiting) when the road ran out
    };
    int chapter = 0, slot = 0; // from 0
    int id = 0;
    int price = 0;
    Why why = Why::NotAfforded;
};

struct TEconomyResult {
    static constexpr int kPurchases = TBuildingQueue::kChapters * TBuildingQueue::kSlots;

    std::vector<TEconomyLevel> levels;
    // Index of the level after which each chapter was complete, or -1.
    std::array<int, TBuildingQueue::kChapters> chapterDoneAt{};
    int totalCash = 0;  // every coin of every level
    int totalPrice = 0; // the prices of the queued objects (each counted once)
    double margin = 0;  // totalCash / totalPrice - 1 (0 when nothing has a price)
    int boughtCount = 0;
    std::vector<TNotBought> notBought;
    bool allBought = false; // all 32 slots bought
};

// Pure: reads the catalogue and the queue, changes neither.
TEconomyResult SimulateEconomy(const std::vector<int>& levelCash, const TMapCatalogue& catalogue,
                               const TBuildingQueue& queue);

// The least margin the road must leave over the queue's price.
constexpr double kMinEconomyMargin = 0.10;

// The margin reaches kMinEconomyMargin (whole-number arithmetic, so that
// exactly 10 % passes).
bool MarginIsEnough(const TEconomyResult& r);
// Coins the road would need on top to reach the least margin (0 when it does).
int MarginShortfall(const TEconomyResult& r);

// Why the economy fails, one sentence each; empty when it passes.
std::vector<std::string> EconomyFailures(const TEconomyResult& r);

} // namespace citymap
