// velmora-autoplay: plays level files headlessly through the match-three engine.
//
//   velmora-autoplay [--game-dir DIR] [--levels all|S-L,S-L,S,...] [--seeds N]
//                    [--policy greedy|hint|random] [--quiet] [--dump]
//   velmora-autoplay --bench [--game-dir DIR] [--frames N]
//
// Each level is played once per seed (seeds 1 to N) from its file in the game
// folder. At rest the player reshuffles when no move exists (the engine does it,
// as the level play screen does) and otherwise makes the move the policy
// chooses: "greedy" takes the move that clears the most coin layers, covers and
// obstacles, "hint" takes the engine's hint, "random" any productive move. A
// level is won when its last coin is collected within the level's time, counted
// in game frames of 1/60 s (the player never pauses to think). One line per
// play, then "won W of N levels"; the exit status is 1 when any play was lost.
// --dump prints the board of every lost play.
//
// --bench plays continuously on a 9 x 9 board of six kinds (with cascades) and
// prints the engine's cost per frame and the move finder's cost per call.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "match3/m3driver.h"

namespace {

using match3::TM3Driver;
using match3::TM3Game;
using match3::TM3Move;
using match3::TM3Tile;

constexpr int kStageLength[5] = {13, 19, 20, 21, 22};

class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint64_t Next()
    {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
    double Real() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }

private:
    uint64_t s_;
};

struct LevelId {
    int stage = 0, level = 0;
};

struct Options {
    std::string gameDir = "Game/";
    std::string levels = "all";
    int seeds = 3;
    std::string policy = "greedy";
    bool quiet = false;
    bool dump = false;
    bool bench = false;
    int benchFrames = 30000;
};

[[noreturn]] void Usage(const std::string& problem)
{
    if (!problem.empty())
        std::fprintf(stderr, "velmora-autoplay: %s\n", problem.c_str());
    std::fprintf(stderr,
                 "usage: velmora-autoplay [--game-dir DIR] [--levels all|S-L,S,...] [--seeds N]\n"
                 "                        [--policy greedy|hint|random] [--quiet] [--dump]\n"
                 "       velmora-autoplay --bench [--game-dir DIR] [--frames N]\n");
    std::exit(2);
}

int ParsePositive(const std::string& text, const std::string& what)
{
    size_t used = 0;
    int v = 0;
    try {
        v = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || v < 1)
        Usage(what + " must be a positive whole number, not \"" + text + "\"");
    return v;
}

// "all", or a comma-separated list of "S-L" (one level) and "S" (a whole stage).
std::vector<LevelId> ParseLevels(const std::string& text)
{
    std::vector<LevelId> out;
    auto whole = [&](int s) {
        for (int l = 1; l <= kStageLength[s - 1]; ++l)
            out.push_back({s, l});
    };
    if (text == "all") {
        for (int s = 1; s <= 5; ++s)
            whole(s);
        return out;
    }
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        const size_t dash = item.find('-');
        const int s = ParsePositive(item.substr(0, dash), "a stage number");
        if (s > 5)
            Usage("there are five stages, not " + std::to_string(s));
        if (dash == std::string::npos) {
            whole(s);
            continue;
        }
        const int l = ParsePositive(item.substr(dash + 1), "a level number");
        if (l > kStageLength[s - 1])
            Usage("stage " + std::to_string(s) + " has " + std::to_string(kStageLength[s - 1]) + " levels, not " +
                  std::to_string(l));
        out.push_back({s, l});
    }
    if (out.empty())
        Usage("no levels in \"" + text + "\"");
    return out;
}

// ---- the greedy policy ----

// Layers still to clear on a cell: coins along the base kind's younger chain
// plus an overlay.
int Layers(const TM3Tile* t)
{
    int n = t->td[1] ? 1 : 0;
    const match3::TM3TileData* k = t->td[0].get();
    for (int guard = 0; k && k->younger && guard < 16; ++guard, k = k->younger)
        ++n;
    return n;
}

double AreaValue(TM3Game& g, int r0, int c0, int r1, int c1)
{
    double v = 0;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (TM3Tile* t = g.GetTileRC(r, c); t && t->td[0])
                v += Layers(t) + (t->isObstacled() ? 1.0 : 0.0);
    return v;
}

double PowerValue(TM3Game& g, const TM3Tile* t)
{
    const int rows = g.level->rows, cols = g.level->cols;
    switch (t->chip->KindId()) {
    case 101: return AreaValue(g, t->r, 0, t->r, cols - 1) + AreaValue(g, 0, t->c, rows - 1, t->c);
    case 102: return AreaValue(g, t->r, 0, t->r, cols - 1);
    default: return AreaValue(g, t->r - 2, t->c - 2, t->r + 2, t->c + 2);
    }
}

// Cells that still hold something to clear (coin layers, covers, obstacles).
std::vector<const TM3Tile*> Targets(TM3Game& g)
{
    std::vector<const TM3Tile*> out;
    for (int r = 0; r < g.level->rows; ++r)
        for (int c = 0; c < g.level->cols; ++c)
            if (const TM3Tile* t = g.GetTileRC(r, c); t && t->td[0] && (Layers(t) > 0 || t->isObstacled()))
                out.push_back(t);
    return out;
}

// Moves that clear nothing are still worth more near the cells left to clear:
// the pieces there change and new lines can form.
double Nearness(const std::vector<const TM3Tile*>& targets, const TM3Tile* t)
{
    int best = 1000;
    for (const TM3Tile* x : targets)
        best = std::min(best, std::abs(x->r - t->r) + std::abs(x->c - t->c));
    return 1.0 / (1.0 + best);
}

double MoveValue(TM3Game& g, const TM3Move& m, const std::vector<const TM3Tile*>& targets)
{
    TM3Tile* a = g.GetTileRC(m.r1, m.c1);
    TM3Tile* b = g.GetTileRC(m.r2, m.c2);
    if (!a || !b || !a->chip || !b->chip)
        return 0;
    if (a->chip->isPowerChip() || b->chip->isPowerChip())
        return 3 + (a->chip->isPowerChip() ? PowerValue(g, a) : 0) + (b->chip->isPowerChip() ? PowerValue(g, b) : 0);
    std::swap(a->chip, b->chip);
    const std::vector<TM3Tile*> ma = g.GetMatchedTiles(a);
    const std::vector<TM3Tile*> mb = g.GetMatchedTiles(b);
    std::swap(a->chip, b->chip);
    std::set<TM3Tile*> cells(ma.begin(), ma.end());
    cells.insert(mb.begin(), mb.end());
    std::set<TM3Tile*> chests;
    double v = 0;
    int lowest = 0;
    for (TM3Tile* t : cells) {
        v += 2.0 * Layers(t) + (t->isObstacled() ? 2.0 : 0.0) + 0.3 + 0.5 * Nearness(targets, t);
        lowest = std::max(lowest, t->r);
        for (auto [dr, dc] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
            if (TM3Tile* n = t->GetTileNeighbor(dr, dc); n && n->isChestObstacleTop())
                chests.insert(n);
    }
    v += 2.5 * static_cast<double>(chests.size());
    if (ma.size() >= 5 || mb.size() >= 5)
        v += 4; // makes a power chip
    return v + 0.02 * lowest;
}

TM3Move Choose(TM3Driver& d, const std::vector<TM3Move>& moves, const std::string& policy, Rng& rng)
{
    if (policy == "random")
        return moves[rng.Below(moves.size())];
    if (policy == "hint") {
        if (auto h = d.Hint())
            return *h;
        return moves[rng.Below(moves.size())];
    }
    double best = -1;
    TM3Move choice = moves.front();
    const std::vector<const TM3Tile*> targets = Targets(d.Game());
    for (const TM3Move& m : moves) {
        const double v = MoveValue(d.Game(), m, targets) + 0.01 * rng.Real();
        if (v > best) {
            best = v;
            choice = m;
        }
    }
    return choice;
}

// ---- playing ----

struct Result {
    bool loaded = false, won = false;
    int moves = 0, frames = 0, limitSeconds = 0, reshuffles = 0, coinsLeft = 0;
    std::string error;
};

Result Play(const Options& o, const LevelId& id, int seed)
{
    Result res;
    TM3Driver d(static_cast<uint32_t>(seed), static_cast<uint32_t>(seed) + 7919u);
    if (!d.LoadEngine(o.gameDir) || !d.LoadLevel(o.gameDir, id.stage, id.level)) {
        res.error = d.Error().empty() ? "cannot load" : d.Error();
        return res;
    }
    res.loaded = true;
    res.limitSeconds = d.Level()->MaxSeconds;
    const int limit = res.limitSeconds * 60;
    Rng rng(static_cast<uint64_t>(seed) * 1000003u + static_cast<uint64_t>(id.stage * 100 + id.level));
    int stuck = 0;
    while (res.frames <= limit) {
        const int f = d.RunUntilSettled(limit - res.frames + 1);
        res.frames += f < 0 ? limit - res.frames + 1 : f;
        if (d.CoinsLeft() == 0 || res.frames > limit)
            break;
        const std::vector<TM3Move> moves = d.Moves();
        if (moves.empty() || !d.Move(Choose(d, moves, o.policy, rng))) {
            d.Step(); // at rest without a move the engine reshuffles
            ++res.frames;
            if (++stuck > 600) {
                res.error = "no move could be made for 600 frames";
                break;
            }
            continue;
        }
        stuck = 0;
        ++res.moves;
    }
    res.coinsLeft = d.CoinsLeft();
    if (o.dump && res.coinsLeft > 0)
        std::puts(d.Dump().c_str());
    res.won = res.coinsLeft == 0 && res.frames <= limit;
    res.reshuffles = d.Reshuffles;
    return res;
}

int RunLevels(const Options& o)
{
    const std::vector<LevelId> levels = ParseLevels(o.levels);
    int won = 0, played = 0;
    double worstShare = 0;
    std::string worst;
    std::vector<double> shares;
    for (const LevelId& id : levels)
        for (int seed = 1; seed <= o.seeds; ++seed) {
            const Result r = Play(o, id, seed);
            ++played;
            won += r.won;
            const double secs = r.frames / 60.0;
            char line[256];
            if (!r.loaded)
                std::snprintf(line, sizeof line, "stage-%d/Level-%d seed %d: LOST (not loaded: %s)", id.stage,
                              id.level, seed, r.error.c_str());
            else
                std::snprintf(line, sizeof line, "stage-%d/Level-%d seed %d: %s, %d moves, %.1f of %d s, %d reshuffles%s%s",
                              id.stage, id.level, seed, r.won ? "won" : "LOST", r.moves, secs, r.limitSeconds,
                              r.reshuffles, r.won ? "" : (", " + std::to_string(r.coinsLeft) + " coins left").c_str(),
                              r.error.empty() ? "" : (" (" + r.error + ")").c_str());
            if (!o.quiet || !r.won)
                std::puts(line);
            if (r.loaded && r.limitSeconds > 0)
                shares.push_back(secs / r.limitSeconds);
            if (r.loaded && r.limitSeconds > 0 && secs / r.limitSeconds > worstShare) {
                worstShare = secs / r.limitSeconds;
                worst = line;
            }
        }
    if (!shares.empty()) {
        std::sort(shares.begin(), shares.end());
        std::printf("time used: median %.0f%%, 90th percentile %.0f%% of the level's time\n",
                    100 * shares[shares.size() / 2], 100 * shares[shares.size() * 9 / 10]);
    }
    if (!worst.empty())
        std::printf("tightest: %s (%.0f%% of the time)\n", worst.c_str(), 100 * worstShare);
    std::printf("won %d of %d levels\n", won, played);
    return won == played ? 0 : 1;
}

// ---- benchmark ----

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
    return v[i];
}

int RunBench(const Options& o)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("velmora-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "bench-9x9.txt";
    {
        // A 9 x 9 board of plain floors with six kinds and a creator on top of
        // every column; the starting pieces are random, so the first frames
        // already cascade.
        Rng rng(99);
        std::ofstream out(file, std::ios::binary);
        out << "level {\n\tdata {\n\t\tavailableChips = \"1 2 3 4 5 6\"\n\t\tsize = 9, 9\n\t\tseconds = 0\n\t}\n\ttile {\n";
        for (int r = 0; r < 9; ++r) {
            out << "\t\trow" << r << " =";
            for (int c = 0; c < 9; ++c)
                out << (c ? ", \"" : " \"") << "1 " << 1 + rng.Below(6) << " 0 0 0\"";
            out << "\n";
        }
        out << "\t}\n\tcreators {\n\t\ti = 9\n";
        for (int c = 0; c < 9; ++c)
            out << "\t\tc" << c + 1 << " = 0, " << c << "\n";
        out << "\t}\n}\n";
    }
    TM3Driver d(5, 6);
    const bool ok = d.LoadEngine(o.gameDir) && d.LoadLevel(file.string());
    fs::remove_all(dir);
    if (!ok) {
        std::fprintf(stderr, "velmora-autoplay: bench board not loaded: %s\n", d.Error().c_str());
        return 1;
    }
    using clock = std::chrono::steady_clock;
    auto micros = [](clock::duration t) { return std::chrono::duration<double, std::micro>(t).count(); };
    Rng rng(7);
    std::vector<double> frames, finder, hints;
    frames.reserve(static_cast<size_t>(o.benchFrames));
    int moves = 0, busy = 0;
    for (int f = 0; f < o.benchFrames; ++f) {
        if (d.IsSettled()) {
            auto t0 = clock::now();
            const std::vector<TM3Move> mv = d.Moves();
            auto t1 = clock::now();
            const auto h = d.Hint();
            auto t2 = clock::now();
            finder.push_back(micros(t1 - t0));
            hints.push_back(micros(t2 - t1));
            if (!mv.empty() && d.Move(mv[rng.Below(mv.size())]))
                ++moves;
            (void)h;
        } else {
            ++busy;
        }
        auto t0 = clock::now();
        d.Step();
        frames.push_back(micros(clock::now() - t0));
    }
    std::printf("bench: 9 x 9 board, 6 kinds, %d frames (%d with pieces moving), %d moves, %d reshuffles\n",
                o.benchFrames, busy, moves, d.Reshuffles);
    std::printf("engine frame: median %.2f us, p99 %.2f us, max %.2f us\n", Percentile(frames, 0.5),
                Percentile(frames, 0.99), Percentile(frames, 1.0));
    std::printf("move finder (all moves): median %.2f us, p99 %.2f us per call (%zu calls)\n", Percentile(finder, 0.5),
                Percentile(finder, 0.99), finder.size());
    std::printf("hint: median %.2f us, p99 %.2f us per call\n", Percentile(hints, 0.5), Percentile(hints, 0.99));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                Usage(a + " needs a value");
            return argv[++i];
        };
        if (a == "--game-dir") {
            o.gameDir = value();
            if (!o.gameDir.empty() && o.gameDir.back() != '/')
                o.gameDir += '/';
        } else if (a == "--levels")
            o.levels = value();
        else if (a == "--seeds")
            o.seeds = ParsePositive(value(), "--seeds");
        else if (a == "--policy") {
            o.policy = value();
            if (o.policy != "greedy" && o.policy != "hint" && o.policy != "random")
                Usage("unknown policy \"" + o.policy + "\"");
        } else if (a == "--dump")
            o.dump = true;
        else if (a == "--quiet")
            o.quiet = true;
        else if (a == "--bench")
            o.bench = true;
        else if (a == "--frames")
            o.benchFrames = ParsePositive(value(), "--frames");
        else if (a == "--help" || a == "-h")
            Usage("");
        else
            Usage("unknown option \"" + a + "\"");
    }
    return o.bench ? RunBench(o) : RunLevels(o);
}
