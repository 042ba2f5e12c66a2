// What the game's rules make of the content: the engine data, every level of
// the road and the tuning variables. The loaders themselves report each
// mistake they play around with (match3::ReportDataIssue); here those reports
// become errors at the line of the entry, and the rules that only a look at
// the whole pack can judge are added.
#include "game/contentcheck/contentcheck.h"
#include "datafiles/numbers.h"

#include "app/control.h"
#include "app/globalvars.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "match3/m3check.h"
#include "match3/m3game.h"
#include "match3/m3read.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace contentcheck {

namespace {

namespace fs = std::filesystem;


// Line of a catalogue key in a file, read once per file.
class KeyLines {
public:
    int Line(const std::string& file, const std::string& key)
    {
        auto it = files_.find(file);
        if (it == files_.end()) {
            auto text = platform::TryReadTextFile(file);
            it = files_.emplace(file, text ? CatalogueKeyLines(*text) : std::map<std::string, int>{}).first;
        }
        // A key the file does not hold (a missing entry) is reported at the
        // group it belongs in, or at the whole file.
        for (std::string k = datafiles::AsciiLower(key); !k.empty();) {
            auto at = it->second.find(k);
            if (at != it->second.end())
                return at->second;
            const size_t cut = k.rfind("::");
            k = cut == std::string::npos ? std::string() : k.substr(0, cut);
        }
        return 0;
    }

private:
    std::map<std::string, std::map<std::string, int>> files_;
};

// Runs `load` with the loaders' reports turned into errors of the check.
template <class F>
void Collecting(Context& ctx, KeyLines& lines, F load)
{
    std::vector<match3::DataIssue> issues;
    {
        match3::DataIssueCollector collect([&issues](const match3::DataIssue& i) { issues.push_back(i); });
        // The loaders' other console lines (a missing picture, a reader's
        // complaint) are reported by the checks of those files.
        platform::SetLogSink([](const std::string&) {});
        load();
        platform::SetLogSink({});
    }
    for (const match3::DataIssue& i : issues)
        ctx.Error(i.file, lines.Line(i.file, i.key), (i.key.empty() ? std::string() : i.key + ": ") + i.message);
}

std::string EngineFile(const Context& ctx, const char* name)
{
    return ctx.GameDir() + "Data/Match3Engine/" + name;
}

// The engine data as the game reads it; false when the cell or chip kinds
// cannot be read at all (then no level can be judged).
bool LoadEngine(Context& ctx, KeyLines& lines, match3::TM3Game& game)
{
    game.quiet = true;
    game.gameFolder = ctx.GameDir();
    bool ok = true;
    Collecting(ctx, lines, [&] {
        const char* names[] = {"settings.txt", "tiles.txt", "chips.txt", "obstacles.txt"};
        for (const char* name : names) {
            const std::string path = EngineFile(ctx, name);
            const std::string found = ctx.Resolve(path);
            if (found.empty()) {
                ctx.RequireFile(path, path, 0, "the engine data file");
                ok = false;
                continue;
            }
            const std::string n = name;
            const bool read = n == "settings.txt" ? game.LoadM3Settings(path)
                              : n == "tiles.txt"  ? game.LoadM3Tiles(path, 0, 1)
                              : n == "chips.txt"  ? game.LoadM3Chips(path, 0, 1)
                                                  : game.LoadM3Obstacles(path, 0, 1);
            if (!read) {
                ctx.Error(path, 0, game.error);
                ok = ok && n != "tiles.txt" && n != "chips.txt";
            }
        }
    });
    return ok;
}

// ---- engine data ----

// Rules that hold between kinds: the fixed ids the engine relies on, loops
// in the younger chain, obstacle stacks that disagree about each other.
void CheckKinds(Context& ctx, KeyLines& lines, const match3::TM3Game& game)
{
    const std::string tiles = EngineFile(ctx, "tiles.txt");
    const std::string chips = EngineFile(ctx, "chips.txt");
    const std::string obstacles = EngineFile(ctx, "obstacles.txt");
    for (const std::string& msg : match3::FindLoopingTileKinds(game))
        ctx.Error(tiles, 0, msg);
    if (!game.tilesList.empty() && !game.GetTileDataById(1))
        ctx.Error(tiles, 0, "no cell kind 1: the plain floor without coins every board is made of");
    if (!game.chipsList.empty()) {
        int colours = 0;
        for (const auto& k : game.chipsList)
            if (!match3::IsPowerChipId(k->id))
                ++colours;
        if (colours < 6)
            ctx.Error(chips, 0, "only " + std::to_string(colours) +
                                    " ordinary chip kinds (ids 1 .. 100): a level needs six, one per power-up");
        for (int id : {match3::kChipCross, match3::kChipLightning, match3::kChipBomb})
            if (!game.GetChipDataById(id))
                ctx.Error(chips, 0, "no chip kind " + std::to_string(id) +
                                        ": large matches make it, and without it they make nothing");
    }
    for (size_t n = 0; n < game.obstaclesList.size(); ++n) {
        const match3::TM3Obstacle& o = *game.obstaclesList[n];
        const std::string g = "obstacles::obst" + std::to_string(n + 1);
        if (o.HigherObstacle && o.HigherObstacle->LowerId != o.id)
            ctx.Warning(obstacles, lines.Line(obstacles, g + "::HigherObstacle"),
                        "obstacle " + std::to_string(o.id) + " names " + std::to_string(o.HigherId) +
                            " as the one above it, but " + std::to_string(o.HigherId) + " names " +
                            std::to_string(o.HigherObstacle->LowerId) + " as the one below");
    }
}

// ---- levels ----

// Files of the road, as the profile opens them (letter case ignored), and
// level files no road reaches.
void CheckRoad(Context& ctx)
{
    std::set<std::string> onRoad;
    for (int s = 1; s <= match3::kStageCount; ++s)
        for (int l = 1; l <= match3::kLevelsInStage[s - 1]; ++l) {
            const std::string path = ctx.GameDir() + match3::LevelFileName(s, l);
            onRoad.insert(datafiles::AsciiLower(path));
            ctx.RequireFile(path, path, 0, "level " + std::to_string(l) + " of stage " + std::to_string(s));
        }
    std::error_code ec;
    const fs::path root(ctx.GameDir());
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string rel = fs::relative(it->path(), root, ec).generic_string();
        if (!it->is_regular_file(ec) || datafiles::AsciiLower(rel).rfind("data/levels/", 0) != 0)
            continue;
        if (!onRoad.count(datafiles::AsciiLower(ctx.GameDir() + rel)))
            ctx.Warning(ctx.GameDir() + rel, 0, "no level of the road is read from this file");
    }
}

// One level file: the loader's own reports, then the rules of a playable
// board.
void CheckLevel(Context& ctx, KeyLines& lines, match3::TM3Game& game, const std::string& path)
{
    auto level = std::make_shared<match3::TM3Level>();
    level->myM3Game = &game;
    bool loaded = false;
    Collecting(ctx, lines, [&] { loaded = level->Load(path); });
    if (!loaded) {
        ctx.Error(path, 0, level->error);
        return;
    }
    const int chipsLine = lines.Line(path, "level::data::availableChips");
    if (level->availableChips.size() < 6)
        ctx.Error(path, chipsLine,
                  "level::data::availableChips: " + std::to_string(level->availableChips.size()) +
                      " chip kinds; a level needs six, one to charge each power-up");
    std::set<int> seen;
    for (const auto& k : level->availableChips)
        if (!seen.insert(k->id).second)
            ctx.Warning(path, chipsLine,
                        "level::data::availableChips names kind " + std::to_string(k->id) +
                            " twice: it is drawn twice as often and charges two power-ups");
    for (const std::string& msg : match3::FindOverlayKindsWithYounger(*level))
        ctx.Error(path, lines.Line(path, "level::tile"), msg);

    level->Init(1);
    game.SetLevel(level);
    if (game.GetAvailableMoves().empty())
        ctx.Warning(path, lines.Line(path, "level::tile"),
                    "the starting board has no move: the game reshuffles it before the first swap");
    game.SetLevel(nullptr);
}

void CheckLevelFiles(Context& ctx, KeyLines& lines, match3::TM3Game& game)
{
    std::set<std::string> done;
    for (int s = 1; s <= match3::kStageCount; ++s)
        for (int l = 1; l <= match3::kLevelsInStage[s - 1]; ++l) {
            const std::string found = ctx.Resolve(ctx.GameDir() + match3::LevelFileName(s, l));
            if (!found.empty() && done.insert(found).second)
                CheckLevel(ctx, lines, game, ctx.GameDir() + match3::LevelFileName(s, l));
        }
}

// ---- tuning variables ----

// The purchases of the building queue, for the power-up unlockers: a
// power-up unlocks once its map object is bought.
std::optional<std::set<int>> MapObjectIds(const Context& ctx) { return QueuedPurchaseIds(ctx); }

// The line of the last "NAME = value" of a section (the one that wins), or 0.
int TuningLine(const std::string& text, const std::string& name)
{
    int line = 0, found = 0;
    bool inSection = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        ++line;
        std::string l = text.substr(start, end - start);
        start = end + 1;
        for (char& c : l)
            if (c == '=' || c == '\t' || c == '\r')
                c = ' ';
        const size_t a = l.find_first_not_of(' ');
        if (a == std::string::npos)
            continue;
        const std::string word = l.substr(a, l.find(' ', a) - a);
        if (word[0] == '[')
            inSection = true;
        else if (inSection && datafiles::AsciiLower(word) == datafiles::AsciiLower(name))
            found = line;
    }
    return found;
}

struct TuningRange {
    std::string name;
    double least;
    bool above; // the value must be above `least`, not merely reach it
    const char* why;
};

std::vector<TuningRange> TuningRanges()
{
    std::vector<TuningRange> r = {
        {"POPUPDARKFADESPEED", 0, true, "the dark layer under pop-ups never fades"},
        {"POPUPSHOWSPEED", 0, true, "pop-ups never slide in"},
        {"SpeedFPS", 0, true, "the speed toggle stops the game"},
        {"DialogTextWidth", 1, false, "dialog texts have no room"},
    };
    for (int n = 1; n <= 6; ++n)
        r.push_back({"PowerUp" + std::to_string(n) + "CollectNeed", 1, false,
                     "the power-up is charged before a single chip is collected"});
    for (int n = 1; n <= 5; ++n)
        r.push_back({"PowerUp" + std::to_string(n) + "Unlocker", 0, false, "no map object has a negative id"});
    return r;
}

double TuningValue(const std::string& name)
{
    const app::TRegVar* v = app::GlobalVars::Find(name);
    if (auto* f = dynamic_cast<const app::TRegVarFloat*>(v))
        return *f->v;
    if (auto* i = dynamic_cast<const app::TRegVarInt*>(v))
        return *i->v;
    return 0;
}

std::string Shown(double v)
{
    std::string s = std::to_string(v);
    while (s.find('.') != std::string::npos && (s.back() == '0' || s.back() == '.')) {
        const bool dot = s.back() == '.';
        s.pop_back();
        if (dot)
            break;
    }
    return s;
}

} // namespace

std::map<std::string, int> CatalogueKeyLines(const std::string& text)
{
    std::map<std::string, int> out;
    std::vector<std::string> groups;
    auto trim = [](const std::string& s) {
        const size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
        return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
    };
    auto joined = [&groups](const std::string& last) {
        std::string k;
        for (const std::string& g : groups)
            k += (k.empty() ? "" : "::") + g;
        return datafiles::AsciiLower(last.empty() ? k : k.empty() ? last : k + "::" + last);
    };
    int line = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string l = text.substr(start, end - start);
        start = end + 1;
        ++line;
        const size_t eq = l.find('=');
        if (eq != std::string::npos) {
            out.emplace(joined(trim(l.substr(0, eq))), line);
            continue;
        }
        for (size_t i = 0; i < l.size(); ++i) {
            if (l[i] == '{') {
                groups.push_back(trim(l.substr(0, i)));
                out.emplace(joined(""), line);
            } else if (l[i] == '}' && !groups.empty())
                groups.pop_back();
        }
    }
    return out;
}

void CheckGameRules(Context& ctx)
{
    KeyLines lines;
    match3::TM3Game game;
    const bool engine = LoadEngine(ctx, lines, game);
    CheckKinds(ctx, lines, game);
    CheckRoad(ctx);
    if (engine)
        CheckLevelFiles(ctx, lines, game);
}

void CheckTuningRanges(Context& ctx, const std::string& path, const std::string& text)
{
    app::RegisterProgramGlobalVars();
    app::GlobalVars::ApplyText(text);
    for (const TuningRange& r : TuningRanges()) {
        const double v = TuningValue(r.name);
        if (r.above ? v > r.least : v >= r.least)
            continue;
        const int line = TuningLine(text, r.name);
        ctx.Error(path, line,
                  r.name + (line == 0 ? " is not set and its built-in value " : " is ") + Shown(v) + ": it must be " +
                      (r.above ? "above " : "at least ") + Shown(r.least) + ", or " + r.why);
    }
    if (const auto ids = MapObjectIds(ctx))
        for (int n = 1; n <= 5; ++n) {
            const int id = app::GlobalVars::PowerUpUnlocker(n);
            const std::string name = "PowerUp" + std::to_string(n) + "Unlocker";
            if (!ids->count(id))
                ctx.Error(path, TuningLine(text, name),
                          name + " is " + std::to_string(id) + ": no purchase of the building queue has this id, so "
                                 "the power-up never unlocks");
        }
    app::RegisterProgramGlobalVars(); // the defaults again for whatever runs next
}

} // namespace contentcheck
