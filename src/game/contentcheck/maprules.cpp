// The city map's content: the catalogue of map objects, the building queue,
// the start map, the map screen's texts and the economy (can the coins of the
// road pay for the queue?). The map readers report what they play around
// with (citymap::TMapFileIssue); here those reports become errors at the line
// of the entry, and the rules that need the whole pack are added.
#include "game/contentcheck/contentcheck.h"

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "citymap/economy.h"
#include "citymap/mapobjects.h"
#include "datafiles/blockfile.h"
#include "datafiles/txtfile.h"
#include "match3/m3read.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>
#include <map>
#include <set>

namespace contentcheck {

namespace {

const char* const kCatalogueFile = "Data/MapScreen/MapObjects.txt";
const char* const kQueueFile = "Data/MapScreen/ObjectsBuildingQue.txt";
// Lines of the map screen's text file, by what the screen shows there.
const int kMapScreenTextLines = 9;
// Background sets: gfx/Backgrounds/Background-1 .. Background-10, index 0 .. 9.
const int kBackgroundSets = 10;

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// "MapObject 12::Obj 1::Url" without the places: the field as the author
// knows it ("MapObject::Obj::Url").
std::string Field(const std::string& where)
{
    std::string out;
    size_t start = 0;
    while (start <= where.size()) {
        size_t end = where.find("::", start);
        std::string part = where.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (const size_t blank = part.find(' '); blank != std::string::npos)
            part = part.substr(0, blank);
        out += (out.empty() ? "" : "::") + part;
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return out;
}

// A whole number written as such ("12", "-3") that an int holds; false for
// words, blanks and numbers the readers would cut short.
bool WholeNumber(const std::string& text, int& value)
{
    if (!match3::IsWholeNumber(text))
        return false;
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(v);
    return true;
}

PBlockFile Entry(const TBlockFile& block, const char* key)
{
    PBlockFile e = block.isBlock(key);
    return e && e->MyType == 1 ? e : nullptr;
}

// The map files as the game reads them, quietly, with the line of every
// block and entry.
struct MapFiles {
    std::string catalogueFile, queueFile; // as reported
    bool haveCatalogue = false, haveQueue = false;
    PBlockFile catalogueRoot, queueRoot;
    std::map<std::string, int> catalogueLines, queueLines;
    citymap::TMapCatalogue catalogue;
    citymap::TBuildingQueue queue;
};

void ReadMapFiles(const Context& ctx, MapFiles& m)
{
    m.catalogueFile = ctx.GameDir() + kCatalogueFile;
    m.queueFile = ctx.GameDir() + kQueueFile;
    // The parsers' and readers' console lines: the block-file check reports
    // the first, the issues collected below the second.
    platform::SetLogSink([](const std::string&) {});
    if (const std::string found = ctx.Resolve(m.catalogueFile); !found.empty()) {
        if (auto text = platform::TryReadTextFile(found)) {
            m.haveCatalogue = true;
            m.catalogueRoot = ParseBlockText(*text, "MapObjects");
            m.catalogueLines = BlockPathLines(*text);
            m.catalogue.LoadBlocks(m.catalogueRoot, m.catalogueFile, ctx.GameDir(), nullptr, false);
        }
    }
    if (const std::string found = ctx.Resolve(m.queueFile); !found.empty()) {
        if (auto text = platform::TryReadTextFile(found)) {
            m.haveQueue = true;
            m.queueRoot = ParseBlockText(*text, "ObjectsBuildingQue");
            m.queueLines = BlockPathLines(*text);
            m.queue.LoadBlocks(m.queueRoot, m.queueFile);
        }
    }
    platform::SetLogSink({});
}

std::set<int> QueuedIds(const MapFiles& m)
{
    std::set<int> ids;
    for (int c = 0; c < citymap::TBuildingQueue::kChapters; ++c)
        for (int s = 0; s < citymap::TBuildingQueue::kSlots; ++s)
            if (m.catalogue.Find(m.queue.At(c, s)))
                ids.insert(m.queue.At(c, s));
    return ids;
}

// ---- the readers' reports ----

void ReportIssues(Context& ctx, const std::vector<citymap::TMapFileIssue>& issues,
                  const std::map<std::string, int>& lines)
{
    for (const citymap::TMapFileIssue& i : issues)
        ctx.Error(i.file, BlockPathLine(lines, i.where),
                  (i.where.empty() ? std::string() : Field(i.where) + ": ") + i.message);
}

// ---- the catalogue ----

struct TextLines {
    std::string file;
    bool read = false;
    std::vector<std::string> lines;
};

TextLines ReadTexts(const Context& ctx)
{
    TextLines t;
    if (ctx.Language().empty())
        return t;
    t.file = ctx.LanguageRoot() + "Txt/MapObjects.txt";
    const std::string found = ctx.Resolve(t.file);
    if (found.empty())
        return t; // missing: reported with the files read by code
    if (auto text = platform::TryReadTextFile(found)) {
        t.read = true;
        t.lines = SplitTxtLines(*text);
    }
    return t;
}

void CheckDrawObjects(Context& ctx, const MapFiles& m, const TBlockFile& block, const std::string& where)
{
    static const std::set<std::string> kinds = {"IMAGE",     "CAR-IMAGE", "FIREPOINT", "SHIP",
                                                "PRISONERS", "CROWD",     "TRAIN",     "MURDER"};
    int n = 0;
    for (const PBlockFile& sub : block.SubFiles) {
        if (!sub || sub->MyType != 0 || Upper(sub->name) != "OBJ")
            continue;
        const std::string obj = where + "::Obj " + std::to_string(++n);
        const int objLine = BlockPathLine(m.catalogueLines, obj);
        PBlockFile typeEntry = Entry(*sub, "Type");
        const std::string type = typeEntry ? Upper(typeEntry->GetString(0)) : std::string();
        if (!typeEntry) {
            ctx.Error(m.catalogueFile, objLine, "MapObject::Obj::Type is missing: the draw object is left out");
            continue;
        }
        if (!kinds.count(type)) {
            ctx.Error(m.catalogueFile, BlockPathLine(m.catalogueLines, obj + "::Type"),
                      "MapObject::Obj::Type: \"" + typeEntry->GetString(0) +
                          "\" is not a kind of draw object (IMAGE, CAR-IMAGE, FIREPOINT, SHIP, PRISONERS, CROWD, "
                          "TRAIN, MURDER)");
            continue;
        }
        if (type == "FIREPOINT")
            continue; // a place for flames, no picture
        PBlockFile url = Entry(*sub, "Url");
        if (!url || url->GetString(0).empty()) {
            ctx.Error(m.catalogueFile, BlockPathLine(m.catalogueLines, obj + "::Url"),
                      "MapObject::Obj::Url: a " + type + " draw object needs a picture of gfx/Map/");
            continue;
        }
        ctx.RequireFile(ctx.GameDir() + "gfx/Map/" + url->GetString(0), m.catalogueFile,
                        BlockPathLine(m.catalogueLines, obj + "::Url"), "picture");
    }
}

void CheckTextNumber(Context& ctx, const MapFiles& m, const TextLines& texts, const TBlockFile& block,
                     const std::string& where, const char* key, bool purchase, int id)
{
    const int line = BlockPathLine(m.catalogueLines, where + "::" + key);
    const std::string field = std::string("MapObject::") + key;
    PBlockFile e = Entry(block, key);
    if (!e) {
        if (purchase)
            ctx.Error(m.catalogueFile, line,
                      field + " is missing: map object " + std::to_string(id) +
                          " is a purchase and the buy window shows its " + (key[0] == 'N' ? "name" : "description"));
        return;
    }
    if (!texts.read)
        return;
    int n = 0;
    if (!WholeNumber(e->GetString(0), n) || n < 1 ||
        n > static_cast<int>(texts.lines.size())) {
        ctx.Error(m.catalogueFile, line,
                  field + ": \"" + e->GetString(0) + "\" is no line of " + texts.file + " (lines 1 to " +
                      std::to_string(texts.lines.size()) + ")");
        return;
    }
    const std::string& text = texts.lines[static_cast<size_t>(n - 1)];
    if (purchase && text.find_first_not_of(" \t\r") == std::string::npos)
        ctx.Error(m.catalogueFile, line,
                  field + ": line " + std::to_string(n) + " of " + texts.file + " is empty, but map object " +
                      std::to_string(id) + " is a purchase and the buy window shows it");
}

void CheckCatalogue(Context& ctx, const MapFiles& m)
{
    const TextLines texts = ReadTexts(ctx);
    const std::set<int> purchases = QueuedIds(m);
    std::map<int, int> idLines; // id -> line of its first Id entry
    int index = 0;
    for (const PBlockFile& b : m.catalogueRoot ? m.catalogueRoot->SubFiles : std::vector<PBlockFile>{}) {
        if (!b || b->MyType != 0 || Upper(b->name) != "MAPOBJECT")
            continue;
        const std::string where = "MapObject " + std::to_string(++index);
        auto lineOf = [&](const std::string& key) { return BlockPathLine(m.catalogueLines, where + "::" + key); };

        // Id: a positive whole number of its own.
        int id = 0;
        PBlockFile idEntry = Entry(*b, "Id");
        if (!idEntry) {
            ctx.Error(m.catalogueFile, lineOf("Id"), "MapObject::Id is missing: no map, list or queue can name it");
        } else if (!WholeNumber(idEntry->GetString(0), id) || id <= 0) {
            ctx.Error(m.catalogueFile, lineOf("Id"),
                      "MapObject::Id: \"" + idEntry->GetString(0) + "\" is not a positive whole number");
            id = 0;
        } else if (auto [it, fresh] = idLines.emplace(id, lineOf("Id")); !fresh) {
            ctx.Error(m.catalogueFile, lineOf("Id"),
                      "MapObject::Id: " + std::to_string(id) + " is already the id of the map object at line " +
                          std::to_string(it->second) + "; the game only ever finds that one");
        }

        CheckDrawObjects(ctx, m, *b, where);

        if (PBlockFile e = Entry(*b, "IsExistReversed")) {
            const std::string v = e->GetString(0);
            if (v != "0" && v != "1")
                ctx.Error(m.catalogueFile, lineOf("IsExistReversed"),
                          "MapObject::IsExistReversed: \"" + v +
                              "\" must be 0 (bought onto the map) or 1 (on the map until bought away)");
        }
        if (PBlockFile e = Entry(*b, "BackgroundIndex")) {
            int bg = 0;
            if (!WholeNumber(e->GetString(0), bg) || bg < 0 || bg >= kBackgroundSets) {
                ctx.Error(m.catalogueFile, lineOf("BackgroundIndex"),
                          "MapObject::BackgroundIndex: \"" + e->GetString(0) + "\" is not 0 to " +
                              std::to_string(kBackgroundSets - 1) +
                              " (the background sets gfx/Backgrounds/Background-1 to Background-" +
                              std::to_string(kBackgroundSets) + ")");
            } else {
                const std::string dir = ctx.GameDir() + "gfx/Backgrounds/Background-" + std::to_string(bg + 1);
                if (platform::FileType(platform::ResolvePath(dir)) != 2)
                    ctx.Error(m.catalogueFile, lineOf("BackgroundIndex"),
                              "MapObject::BackgroundIndex: " + std::to_string(bg) + " names the background set \"" +
                                  dir + "\", which does not exist");
            }
        }

        const bool purchase = id > 0 && purchases.count(id) && m.catalogue.Find(id) &&
                              m.catalogue.Find(id)->Layer == index - 1;
        CheckTextNumber(ctx, m, texts, *b, where, "Name", purchase, id);
        CheckTextNumber(ctx, m, texts, *b, where, "Descr", purchase, id);
        if (!purchase)
            continue;
        int price = 0;
        PBlockFile priceEntry = Entry(*b, "Price");
        if (!priceEntry || !WholeNumber(priceEntry->GetString(0), price) || price <= 0)
            ctx.Error(m.catalogueFile, lineOf("Price"),
                      "MapObject::Price: map object " + std::to_string(id) + " is a purchase and needs a price above 0" +
                          (priceEntry ? ", not \"" + priceEntry->GetString(0) + "\"" : std::string()));
        PBlockFile icon = Entry(*b, "Icon");
        if (!icon || icon->GetString(0).empty())
            ctx.Error(m.catalogueFile, lineOf("Icon"),
                      "MapObject::Icon: map object " + std::to_string(id) +
                          " is a purchase and needs an icon for its buy button");
        else
            ctx.RequireFile(ctx.GameDir() + "gfx/gui/MapScreen/icons/" + icon->GetString(0) + ".png",
                            m.catalogueFile, lineOf("Icon"), "icon");
    }

    for (int id : citymap::StartMapIds())
        if (!m.catalogue.Find(id))
            ctx.Error(m.catalogueFile, 0,
                      "the start map's object " + std::to_string(id) +
                          " is not in the catalogue: every new map starts without it");
}

// ---- the building queue ----

void CheckQueue(Context& ctx, const MapFiles& m)
{
    using citymap::TBuildingQueue;
    const std::set<int> start(citymap::StartMapIds().begin(), citymap::StartMapIds().end());
    // Every object some other object's purchase shows, by the showing object.
    std::map<const citymap::TMapObject*, std::vector<const citymap::TMapObject*>> shownBy;
    for (const citymap::PMapObject& o : m.catalogue.Objects)
        for (const citymap::TMapObject* s : o->ShowObjects)
            if (s != o.get())
                shownBy[s].push_back(o.get());

    std::map<int, std::string> queuedAt; // id -> "Chapter2 slot 3"
    std::set<const citymap::TMapObject*> earlier; // purchases of the slots before
    for (int c = 0; c < TBuildingQueue::kChapters; ++c) {
        const std::string key = "Chapter" + std::to_string(c + 1);
        const int line = BlockPathLine(m.queueLines, key);
        PBlockFile e = m.queueRoot ? Entry(*m.queueRoot, key.c_str()) : nullptr;
        if (!e)
            continue; // reported by the reader
        for (int s = 0; s < TBuildingQueue::kSlots && s < e->GetSize(); ++s) {
            const std::string slot = key + " slot " + std::to_string(s + 1);
            int id = 0;
            if (!WholeNumber(e->GetString(s), id)) {
                ctx.Error(m.queueFile, line, key + ": \"" + e->GetString(s) + "\" (slot " + std::to_string(s + 1) +
                                                 ") is not an id: the slot offers nothing");
                continue;
            }
            const citymap::TMapObject* o = m.catalogue.Find(id);
            if (!o) {
                ctx.Error(m.queueFile, line, key + ": slot " + std::to_string(s + 1) + " names " + std::to_string(id) +
                                                 ", which is no map object of the catalogue: the slot offers nothing");
                continue;
            }
            if (auto [it, fresh] = queuedAt.emplace(id, slot); !fresh) {
                ctx.Error(m.queueFile, line, key + ": map object " + std::to_string(id) + " (slot " +
                                                 std::to_string(s + 1) + ") is already queued in " + it->second +
                                                 ": bought there, it is never offered again");
                continue;
            }
            // Can it be bought? Its button is shown only while it is not done.
            const std::string what = key + ": map object " + std::to_string(id) + " (slot " + std::to_string(s + 1) + ")";
            if (o->isExistReversed) {
                const bool shownEarlier = std::any_of(shownBy[o].begin(), shownBy[o].end(),
                                                      [&](const citymap::TMapObject* by) { return earlier.count(by); });
                if (!start.count(id) && !shownEarlier)
                    ctx.Error(m.queueFile, line,
                              what + " is a removal (IsExistReversed 1) that is not on the start map and no "
                                     "earlier purchase shows: it is never there to be bought away");
            } else if (start.count(id)) {
                ctx.Error(m.queueFile, line,
                          what + " stands on the start map already: its button never appears and it is never bought");
            } else if (!shownBy[o].empty()) {
                ctx.Error(m.queueFile, line,
                          what + " is shown by the purchase of map object " + std::to_string(shownBy[o].front()->id) +
                              " (ShowObjects): once there its button never appears and it is never bought");
            }
            earlier.insert(o);
        }
    }
}

// ---- the map screen's texts ----

void CheckMapScreenTexts(Context& ctx)
{
    if (ctx.Language().empty())
        return;
    const std::string file = ctx.LanguageRoot() + "Txt/MapScreen.txt";
    const std::string found = ctx.Resolve(file);
    if (found.empty())
        return; // reported with the files read by code
    auto text = platform::TryReadTextFile(found);
    if (!text) {
        ctx.Error(file, 0, "cannot be read");
        return;
    }
    const size_t lines = SplitTxtLines(*text).size();
    if (lines < static_cast<size_t>(kMapScreenTextLines))
        ctx.Error(file, 0,
                  "holds " + std::to_string(lines) + " lines; the map screen reads lines 1 to " +
                      std::to_string(kMapScreenTextLines) +
                      " (the cash label, the five power-up notes, the progress label, the notice at the end of "
                      "the road and the notice of a locked fourth object)");
}

// ---- the economy ----

void CheckEconomy(Context& ctx, const MapFiles& m)
{
    std::string engineError;
    std::vector<citymap::TLevelCash> road;
    {
        // The levels' own faults are the level checks' to report.
        match3::DataIssueCollector quiet([](const match3::DataIssue&) {});
        platform::SetLogSink([](const std::string&) {});
        road = citymap::ReadRoadCash(ctx.GameDir(), &engineError);
        platform::SetLogSink({});
    }
    if (!engineError.empty())
        return; // reported by the engine check; no level can be counted
    const citymap::TEconomyResult r = citymap::SimulateEconomy(citymap::LevelCoins(road), m.catalogue, m.queue);
    for (const std::string& f : citymap::EconomyFailures(r))
        ctx.Error(m.queueFile, 0, "economy: " + f);
}

} // namespace

void CheckMapRules(Context& ctx)
{
    CheckMapScreenTexts(ctx);
    MapFiles m;
    ReadMapFiles(ctx, m);
    if (!m.haveCatalogue)
        return; // missing: reported with the files read by code
    ReportIssues(ctx, m.catalogue.Issues, m.catalogueLines);
    CheckCatalogue(ctx, m);
    if (!m.haveQueue)
        return;
    ReportIssues(ctx, m.queue.Issues, m.queueLines);
    CheckQueue(ctx, m);
    CheckEconomy(ctx, m);
}

std::optional<std::set<int>> QueuedPurchaseIds(const Context& ctx)
{
    MapFiles m;
    ReadMapFiles(ctx, m);
    if (!m.haveCatalogue || !m.haveQueue)
        return std::nullopt;
    return QueuedIds(m);
}

} // namespace contentcheck
