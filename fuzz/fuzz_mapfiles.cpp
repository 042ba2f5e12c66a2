// City map files: any input read as a catalogue of map objects, as a building
// queue and as a saved map reads without fault, and the map built on it keeps
// its rules through purchases: every object it holds is a catalogue object,
// held once, in layer order, and what it saves reads back to the same map.
#include "app/platform/core/files.h"
#include "citymap/map.h"
#include "citymap/mapobjects.h"
#include "datafiles/blockfile.h"
#include "fuzz_common.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>

namespace {

void CheckMap(const citymap::TMap& map, const citymap::TMapCatalogue& catalogue)
{
    std::set<const citymap::TMapObject*> seen;
    for (const citymap::TMapObject* o : map.Objects) {
        fuzz::Check(o != nullptr, "no empty place on the map");
        fuzz::Check(seen.insert(o).second, "an object stands on the map once");
        fuzz::Check(std::any_of(catalogue.Objects.begin(), catalogue.Objects.end(),
                                [o](const citymap::PMapObject& c) { return c.get() == o; }),
                    "the map holds only catalogue objects");
    }
    fuzz::Check(std::is_sorted(map.Objects.begin(), map.Objects.end(),
                               [](const citymap::TMapObject* a, const citymap::TMapObject* b) {
                                   return a->Layer < b->Layer;
                               }),
                "the map's objects stay in layer order");
    fuzz::Check(map.Etap >= 0 && map.Etap < citymap::TBuildingQueue::kChapters, "the chapter is one of the eight");
}

std::set<std::string> Words(const std::string& s)
{
    std::set<std::string> out;
    size_t a = 0;
    while (a < s.size()) {
        const size_t b = std::min(s.find(' ', a), s.size());
        out.insert(s.substr(a, b - a));
        a = b + 1;
    }
    return out;
}

// What the map saves reads back to the same saved map. A map saves ids, so
// when the catalogue repeats an id (the content check's error) every object
// of that id comes back: then only the ids are compared.
void CheckRoundTrip(const citymap::TMap& map, const citymap::TMapCatalogue& catalogue, bool uniqueIds)
{
    const std::string saved = map.GetObjectsString();
    citymap::TMap again;
    again.Load(*ParseBlockText("Objects = \"" + saved + "\"\n", "Map"), catalogue);
    CheckMap(again, catalogue);
    if (uniqueIds)
        fuzz::Check(again.GetObjectsString() == saved, "a saved map reads back the same");
    else
        fuzz::Check(Words(again.GetObjectsString()) == Words(saved), "a saved map reads back the same ids");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Silence();
    const std::string text = platform::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
    const PBlockFile root = ParseBlockText(text, "fuzz.txt");

    citymap::TMapCatalogue catalogue;
    catalogue.LoadBlocks(root, "MapObjects.txt", "", nullptr, false);
    citymap::TBuildingQueue queue;
    queue.LoadBlocks(root, "ObjectsBuildingQue.txt");
    for (const citymap::PMapObject& o : catalogue.Objects)
        for (const auto* list : {&o->HideObjects, &o->ShowObjects})
            for (const citymap::TMapObject* x : *list)
                fuzz::Check(x && catalogue.Find(x->id) != nullptr, "hide and show lists name catalogue objects");

    std::set<int> ids;
    bool uniqueIds = true;
    for (const citymap::PMapObject& o : catalogue.Objects)
        uniqueIds = ids.insert(o->id).second && uniqueIds;

    citymap::TMap start;
    start.MakeMeStartMap(catalogue);
    CheckMap(start, catalogue);
    CheckRoundTrip(start, catalogue, uniqueIds);

    // A saved map of the same input, when it holds one, else the whole input.
    citymap::TMap map;
    const PBlockFile saved = root->isBlock("Map");
    map.Load(saved && saved->MyType == 0 ? *saved : *root, catalogue);
    CheckMap(map, catalogue);
    CheckRoundTrip(map, catalogue, uniqueIds);

    // Every queued object bought in order, then the rest of the catalogue,
    // with frames drawn between and the fades ended now and then.
    std::vector<citymap::TMapObject*> buys;
    for (int c = 0; c < citymap::TBuildingQueue::kChapters; ++c)
        for (int s = 0; s < citymap::TBuildingQueue::kSlots; ++s)
            if (citymap::TMapObject* o = catalogue.Find(queue.At(c, s)))
                buys.push_back(o);
    for (const citymap::PMapObject& o : catalogue.Objects)
        if (buys.size() < 96)
            buys.push_back(o.get());
    int n = 0;
    for (citymap::TMapObject* o : buys) {
        map.ApplyPurchase(o);
        CheckMap(map, catalogue);
        CheckRoundTrip(map, catalogue, uniqueIds);
        map.Draw();
        switch (++n % 3) {
        case 0: map.FinishBuilding(); break;
        case 1: map.SettleFades(); break;
        default: break;
        }
        CheckMap(map, catalogue);
    }
    map.OnLeave();
    map.SettleFades();
    CheckMap(map, catalogue);
    CheckRoundTrip(map, catalogue, uniqueIds);
    return 0;
}
