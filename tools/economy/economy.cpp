// velmora-economy: the city map's economy, as a designer's table.
//
//   velmora-economy [--game-dir DIR]
//
// Plays the road with the player who collects every coin of every level and
// after each level buys what the map screen offers and the cash allows, in
// slot order (citymap::SimulateEconomy). One line per level:
//
//   1-1  +12  cash 12  bought 1 (10)  left 2
//
// the level, its coins, the cash after it, the purchases (id and price) and
// the cash left; then the level after which each chapter is complete, the
// road's coins, the queue's price, the margin, and "economy OK" or why not.
// The exit status is 1 when the margin is below 10 % or the player has not
// bought all 32 objects after the last level (the content check's rule), 2
// when the files cannot be read.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "citymap/economy.h"
#include "citymap/mapobjects.h"
#include "match3/m3read.h"

namespace {

[[noreturn]] void Usage(const std::string& problem)
{
    if (!problem.empty())
        std::fprintf(stderr, "velmora-economy: %s\n", problem.c_str());
    std::fprintf(stderr, "usage: velmora-economy [--game-dir DIR]\n");
    std::exit(2);
}

std::string LevelName(const citymap::TLevelCash& c)
{
    return std::to_string(c.stage) + "-" + std::to_string(c.level);
}

} // namespace

int main(int argc, char** argv)
{
    std::string gameDir = "Game/";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--game-dir" && i + 1 < argc)
            gameDir = argv[++i];
        else if (a == "--help" || a == "-h")
            Usage("");
        else
            Usage("unknown option \"" + a + "\"");
    }
    if (gameDir.empty())
        gameDir = "Game/";
    if (gameDir.back() != '/')
        gameDir += '/';

    const std::string catalogueFile = gameDir + "Data/MapScreen/MapObjects.txt";
    const std::string queueFile = gameDir + "Data/MapScreen/ObjectsBuildingQue.txt";
    for (const std::string& f : {catalogueFile, queueFile})
        if (platform::FileType(platform::ResolvePath(f)) != 1) {
            std::fprintf(stderr, "velmora-economy: %s is missing\n", f.c_str());
            return 2;
        }

    // The readers' complaints about the files are the content check's to
    // report; here they would only break up the table.
    std::vector<std::string> complaints;
    platform::SetLogSink([&complaints](const std::string& l) { complaints.push_back(l); });
    citymap::TMapCatalogue catalogue;
    catalogue.Load(platform::ResolvePath(catalogueFile), gameDir, nullptr, false);
    citymap::TBuildingQueue queue;
    queue.Load(platform::ResolvePath(queueFile));
    std::string engineError;
    std::vector<citymap::TLevelCash> road;
    {
        match3::DataIssueCollector quiet([&complaints](const match3::DataIssue& i) {
            complaints.push_back(i.file + ": " + i.key + ": " + i.message);
        });
        road = citymap::ReadRoadCash(gameDir, &engineError);
    }
    platform::SetLogSink({});
    if (!engineError.empty()) {
        std::fprintf(stderr, "velmora-economy: %s\n", engineError.c_str());
        return 2;
    }

    const citymap::TEconomyResult r = citymap::SimulateEconomy(citymap::LevelCoins(road), catalogue, queue);
    for (size_t i = 0; i < r.levels.size(); ++i) {
        const citymap::TEconomyLevel& l = r.levels[i];
        std::string line = LevelName(road[i]);
        line.resize(5, ' ');
        char buf[64];
        std::snprintf(buf, sizeof buf, " %+4d  cash %4d", l.coins, l.cashAfterLevel);
        line += buf;
        if (!l.bought.empty()) {
            line += "  bought";
            for (size_t k = 0; k < l.bought.size(); ++k)
                line += (k ? ", " : " ") + std::to_string(l.bought[k].id) + " (" + std::to_string(l.bought[k].price) +
                        ")";
        }
        line += "  left " + std::to_string(l.cashAfterBuying);
        for (size_t c = 0; c < r.chapterDoneAt.size(); ++c)
            if (r.chapterDoneAt[c] == static_cast<int>(i))
                line += "  [chapter " + std::to_string(c + 1) + " complete]";
        if (!road[i].error.empty())
            line += "  (unreadable, counted as 0: " + road[i].error + ")";
        std::puts(line.c_str());
    }
    std::puts("");
    for (size_t c = 0; c < r.chapterDoneAt.size(); ++c) {
        const int at = r.chapterDoneAt[c];
        if (at >= 0)
            std::printf("chapter %zu complete after level %s\n", c + 1,
                        LevelName(road[static_cast<size_t>(at)]).c_str());
        else
            std::printf("chapter %zu never complete\n", c + 1);
    }
    std::printf("total cash %d over %zu levels\n", r.totalCash, r.levels.size());
    std::printf("total price %d of %d purchases\n", r.totalPrice, citymap::TEconomyResult::kPurchases);
    std::printf("margin %.1f %% (at least %.0f %% needed)\n", r.margin * 100.0, citymap::kMinEconomyMargin * 100.0);
    std::printf("bought %d of %d by the last level\n", r.boughtCount, citymap::TEconomyResult::kPurchases);
    if (!complaints.empty())
        std::printf("(%zu problems in the files were played around; build/velmora --check-content lists them)\n",
                    complaints.size());
    const std::vector<std::string> failures = citymap::EconomyFailures(r);
    if (failures.empty()) {
        std::puts("economy OK");
        return 0;
    }
    for (const std::string& f : failures)
        std::printf("economy FAILS: %s\n", f.c_str());
    return 1;
}
