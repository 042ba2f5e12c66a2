#include "citymap/economy.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>

#include "match3/m3game.h"
#include "match3/m3level.h"

namespace citymap {

// ---- The road's coins ----

std::vector<TLevelCash> ReadRoadCash(const std::string& gameDir, std::string* engineError)
{
    std::vector<TLevelCash> road;
    match3::TM3Game game;
    game.quiet = true;
    const bool engine = game.LoadEngineData(gameDir);
    if (engineError)
        *engineError = engine ? std::string() : game.error;
    for (int s = 1; s <= match3::kStageCount; ++s)
        for (int l = 1; l <= match3::kLevelsInStage[s - 1]; ++l) {
            TLevelCash c;
            c.stage = s;
            c.level = l;
            if (!engine) {
                c.error = "the engine data cannot be read";
            } else {
                auto level = std::make_shared<match3::TM3Level>();
                level->myM3Game = &game;
                if (level->Load(gameDir + match3::LevelFileName(s, l)))
                    c.coins = level->CountTotalCoins();
                else
                    c.error = level->error;
            }
            road.push_back(c);
        }
    return road;
}

std::vector<int> LevelCoins(const std::vector<TLevelCash>& road)
{
    std::vector<int> out;
    out.reserve(road.size());
    for (const TLevelCash& c : road)
        out.push_back(c.coins);
    return out;
}

// ---- The simulation ----

namespace {

constexpr int kChapters = TBuildingQueue::kChapters;
constexpr int kSlots = TBuildingQueue::kSlots;

// The map as the player's purchases leave it, and what the screen makes of it.
class TPlayerMap {
public:
    TPlayerMap(const TMapCatalogue& catalogue, const TBuildingQueue& queue) : catalogue_(catalogue), queue_(queue)
    {
        for (int id : StartMapIds())
            if (const TMapObject* o = catalogue.Find(id))
                present_.insert(o);
    }

    // The object a slot of a chapter offers; none for an empty slot, an id
    // that names nothing, or an object the screen will not offer.
    const TMapObject* Offered(int chapter, int slot) const
    {
        const int id = queue_.At(chapter, slot);
        const TMapObject* o = id != 0 ? catalogue_.Find(id) : nullptr;
        return o && !o->DrawObjects.empty() ? o : nullptr;
    }

    // TMapScreen::isObjectDone, for the button of a slot.
    bool SlotDone(int chapter, int slot) const
    {
        const TMapObject* o = Offered(chapter, slot);
        if (!o || bought_.count(o))
            return true;
        return o->isExistReversed ? !present_.count(o) : present_.count(o) != 0;
    }

    bool Locked(int chapter, int slot) const
    {
        return slot == kSlots - 1 && !(SlotDone(chapter, 0) && SlotDone(chapter, 1) && SlotDone(chapter, 2));
    }

    bool ChapterDone(int chapter) const
    {
        for (int s = 0; s < kSlots; ++s)
            if (!SlotDone(chapter, s))
                return false;
        return true;
    }

    // TMapScreen::Buy and TMapObject::Buy, the map's side.
    void Buy(const TMapObject* o)
    {
        bought_.insert(o);
        if (o->isExistReversed)
            present_.erase(o);
        else
            present_.insert(o);
        if (!(o->Kind() == TMapObjectKind::War && o->WarScene != 0))
            for (const TMapObject* h : o->HideObjects)
                present_.erase(h);
        for (const TMapObject* s : o->ShowObjects)
            present_.insert(s);
    }

    bool Bought(const TMapObject* o) const { return o && bought_.count(o) != 0; }

private:
    const TMapCatalogue& catalogue_;
    const TBuildingQueue& queue_;
    std::set<const TMapObject*> present_;
    std::set<const TMapObject*> bought_;
};

std::string Percent(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f %%", v * 100.0);
    return buf;
}

} // namespace

TEconomyResult SimulateEconomy(const std::vector<int>& levelCash, const TMapCatalogue& catalogue,
                               const TBuildingQueue& queue)
{
    TEconomyResult r;
    r.chapterDoneAt.fill(-1);
    TPlayerMap map(catalogue, queue);

    std::set<const TMapObject*> priced;
    for (int c = 0; c < kChapters; ++c)
        for (int s = 0; s < kSlots; ++s)
            if (const TMapObject* o = catalogue.Find(queue.At(c, s)); o && priced.insert(o).second)
                r.totalPrice += o->Price;

    int chapter = 0;
    int cash = 0;
    for (size_t i = 0; i < levelCash.size(); ++i) {
        TEconomyLevel row;
        row.coins = levelCash[i];
        r.totalCash += row.coins;
        cash += row.coins;
        row.cashAfterLevel = cash;
        for (;;) {
            for (int s = 0; s < kSlots; ++s) {
                if (map.SlotDone(chapter, s) || map.Locked(chapter, s))
                    continue;
                const TMapObject* o = map.Offered(chapter, s);
                if (o->Price > cash)
                    continue;
                cash -= o->Price;
                map.Buy(o);
                row.bought.push_back({o->id, o->Price});
            }
            if (!map.ChapterDone(chapter))
                break;
            if (r.chapterDoneAt[static_cast<size_t>(chapter)] < 0)
                r.chapterDoneAt[static_cast<size_t>(chapter)] = static_cast<int>(i);
            if (chapter == kChapters - 1)
                break;
            ++chapter;
        }
        row.cashAfterBuying = cash;
        row.chapter = chapter;
        r.levels.push_back(std::move(row));
    }

    // Each object counts once, at its first slot; a later slot naming it
    // again was done without a purchase.
    std::set<const TMapObject*> counted;
    for (int c = 0; c < kChapters; ++c)
        for (int s = 0; s < kSlots; ++s) {
            const TMapObject* o = catalogue.Find(queue.At(c, s));
            if (map.Bought(o) && counted.insert(o).second) {
                ++r.boughtCount;
                continue;
            }
            TNotBought n;
            n.chapter = c;
            n.slot = s;
            n.id = queue.At(c, s);
            n.price = o ? o->Price : 0;
            if (!o)
                n.why = TNotBought::Why::NoObject;
            else if (o->DrawObjects.empty())
                n.why = TNotBought::Why::NothingToDraw;
            else if (map.SlotDone(c, s))
                n.why = TNotBought::Why::DoneUnbought;
            else
                n.why = TNotBought::Why::NotAfforded;
            r.notBought.push_back(n);
        }
    r.allBought = r.boughtCount == TEconomyResult::kPurchases;
    r.margin = r.totalPrice > 0 ? static_cast<double>(r.totalCash) / r.totalPrice - 1.0 : 0.0;
    return r;
}

bool MarginIsEnough(const TEconomyResult& r)
{
    // cash / price - 1 >= 0.1, in whole numbers: 10 * cash >= 11 * price.
    return r.totalPrice > 0 && 10LL * r.totalCash >= 11LL * r.totalPrice;
}

int MarginShortfall(const TEconomyResult& r)
{
    const long long need = (11LL * r.totalPrice + 9) / 10; // the least cash with a 10 % margin
    return need > r.totalCash ? static_cast<int>(need - r.totalCash) : 0;
}

std::vector<std::string> EconomyFailures(const TEconomyResult& r)
{
    std::vector<std::string> out;
    const std::string levels = std::to_string(r.levels.size()) + " levels";
    if (r.totalPrice <= 0) {
        out.push_back("the building queue has nothing with a price to buy");
    } else if (!MarginIsEnough(r)) {
        out.push_back("the " + levels + " pay " + std::to_string(r.totalCash) + " coins for purchases of " +
                      std::to_string(r.totalPrice) + ": a margin of " + Percent(r.margin) + ", below " +
                      Percent(kMinEconomyMargin) + "; " + std::to_string(MarginShortfall(r)) +
                      " more coins needed");
    }
    if (!r.allBought) {
        std::string s = "the player who collects every coin has bought " + std::to_string(r.boughtCount) + " of the " +
                        std::to_string(TEconomyResult::kPurchases) + " purchases after the last of the " + levels;
        int unpaid = 0;
        std::set<int> unpaidIds;
        for (const TNotBought& n : r.notBought) {
            s += "; chapter " + std::to_string(n.chapter + 1) + " slot " + std::to_string(n.slot + 1) + " (id " +
                 std::to_string(n.id) + ") ";
            switch (n.why) {
            case TNotBought::Why::NoObject: s += "names no map object"; break;
            case TNotBought::Why::NothingToDraw: s += "has nothing to draw and is never offered"; break;
            case TNotBought::Why::DoneUnbought: s += "counts as done without being bought"; break;
            case TNotBought::Why::NotAfforded:
                s += "costs " + std::to_string(n.price) + " and was not afforded";
                if (unpaidIds.insert(n.id).second)
                    unpaid += n.price;
                break;
            }
        }
        const int left = r.levels.empty() ? 0 : r.levels.back().cashAfterBuying;
        if (unpaid > left)
            s += "; " + std::to_string(unpaid - left) + " more coins needed to buy the rest";
        out.push_back(s);
    }
    return out;
}

} // namespace citymap
