// gen_levels: writes the level files of the five stages (13, 19, 20, 21 and 22
// levels) into a game folder:
//
//   gen_levels OUT_DIR        (normally Game/)
//
// Files go to OUT_DIR/Data/levels/stage-<s>/Level-<l>.txt. The output depends on
// nothing but this source: the same bytes on every machine and run.
//
// The first levels of stage 1 are drawn by hand to teach the board (small, one
// coin layer, no obstacles). Every later level is built from its place in the
// progression: the board grows, holes cut shapes into it, coin layers double,
// covers, chains, double chains and chests appear, and one more piece kind
// joins. Each board is mirror-symmetric, starts with no line of three and with
// at least one move, and has a creator cell at the top of every column segment
// so that every part of the board is refilled.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Small deterministic generator (splitmix64): the standard distributions differ
// between library versions, so every draw is made here.
class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed) {}
    uint64_t Next()
    {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Int(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }
    double Real() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }

private:
    uint64_t s_;
};

// Cell kind ids of the engine data (Data/Match3Engine/tiles.txt, obstacles.txt).
constexpr int kFloor = 1, kOneCoin = 2, kTwoCoins = 3, kCover = 10;
constexpr int kChain = 1, kDoubleChain = 2, kChest = 3;

struct Cell {
    bool hole = false;
    int coins = 0;     // 0, 1 or 2
    bool cover = false;
    int obstacle = 0;  // 0, kChain, kDoubleChain or kChest
    int chip = 0;
};

struct Level {
    int rows = 0, cols = 0;
    std::vector<Cell> cells;
    std::vector<int> kinds;
    int seconds = 0;
    Cell& At(int r, int c) { return cells[static_cast<size_t>(r * cols + c)]; }
    const Cell& At(int r, int c) const { return cells[static_cast<size_t>(r * cols + c)]; }
    bool Playing(int r, int c) const { return r >= 0 && c >= 0 && r < rows && c < cols && !At(r, c).hole; }
    bool Creator(int r, int c) const { return Playing(r, c) && !Playing(r - 1, c); }
};

constexpr int kStageLength[5] = {13, 19, 20, 21, 22};

// ---- hand-made first levels ----
// '-' hole, '.' floor, '1' one coin, '2' two coins.
struct HandLevel {
    std::vector<std::string> map;
    int kinds;
};

const HandLevel kHandLevels[] = {
    {{"......", ".1111.", ".1111.", ".1111.", "......"}, 6},
    {{"111111", "1....1", "1.11.1", "1.11.1", "1....1", "111111"}, 6},
    {{"-111111-", "11111111", "11....11", "11....11", "11111111", "-111111-"}, 6},
    {{"--1111--", "-111111-", "11111111", "11111111", "-111111-", "--1111--"}, 6},
};

Level FromHand(const HandLevel& h)
{
    Level l;
    l.rows = static_cast<int>(h.map.size());
    l.cols = static_cast<int>(h.map[0].size());
    l.cells.resize(static_cast<size_t>(l.rows * l.cols));
    for (int r = 0; r < l.rows; ++r)
        for (int c = 0; c < l.cols; ++c) {
            const char ch = h.map[static_cast<size_t>(r)][static_cast<size_t>(c)];
            l.At(r, c).hole = ch == '-';
            l.At(r, c).coins = ch == '1' ? 1 : ch == '2' ? 2 : 0;
        }
    for (int k = 1; k <= h.kinds; ++k)
        l.kinds.push_back(k);
    return l;
}

// ---- board shapes ----
// Each shape says whether (r, c) is a hole; all are mirror-symmetric left-right.
bool ShapeHole(int shape, int rows, int cols, int r, int c)
{
    const int mc = std::min(c, cols - 1 - c);   // distance from the nearer side
    const int mr = std::min(r, rows - 1 - r);   // distance from top or bottom
    const double cr = (rows - 1) / 2.0, cc = (cols - 1) / 2.0;
    switch (shape) {
    case 0: return false;                                          // full rectangle
    case 1: return mr == 0 && mc == 0;                             // corners cut
    case 2: return mr + mc <= 1;                                   // corner triangles
    case 3: return std::abs(r - cr) < 1 && std::abs(c - cc) < 1;   // hole in the middle
    case 4: return mr <= 1 && mc <= 1;                             // plus: 2 x 2 corners cut
    case 5: return std::abs(r - cr) + std::abs(c - cc) > (rows + cols) / 2.0 - 2.5; // octagon
    case 6: return mc == 0 && std::abs(r - cr) < 1.5;              // notches in the sides
    case 7: return mc == 0 && (r % 3 == 1);                        // comb edges
    case 8: return std::abs(r - cr) < 1.5 && std::abs(c - cc) < 1.5 && rows >= 8; // ring
    case 9: return (r == 0 && mc <= 1) || (r == rows - 1 && std::abs(c - cc) < 1); // crown
    default: return false;
    }
}
constexpr int kShapes = 10;

// ---- coin patterns ----
// A value per cell; the cells with the highest values get the coins.
double CoinPattern(int pattern, int rows, int cols, int r, int c)
{
    const double cr = (rows - 1) / 2.0, cc = (cols - 1) / 2.0;
    const double dr = std::abs(r - cr), dc = std::abs(c - cc);
    switch (pattern) {
    case 0: return -(dr * dr + dc * dc);            // centre blob
    case 1: return std::max(dr, dc);                // frame
    case 2: return (r % 2 == 0) ? 1.0 - 0.01 * dc : -dc;   // stripes
    case 3: return -std::abs(dr - dc);              // X
    case 4: return ((static_cast<int>(dr) + static_cast<int>(dc)) % 2 == 0) ? 1 - 0.02 * (dr + dc) : -(dr + dc); // checks
    case 5: return -dc + 0.2 * r;                   // column to the bottom
    default: return 0;
    }
}
constexpr int kPatterns = 6;

// How many lines of three playing cells (across or down) pass through (r, c).
int LineOptions(const Level& l, int r, int c)
{
    int n = 0;
    for (int s = -2; s <= 0; ++s) {
        n += l.Playing(r, c + s) && l.Playing(r, c + s + 1) && l.Playing(r, c + s + 2);
        n += l.Playing(r + s, c) && l.Playing(r + s + 1, c) && l.Playing(r + s + 2, c);
    }
    return n;
}

struct Progress {
    int stage = 1, index = 0, length = 13, global = 0;
    double d = 0;  // difficulty, 0 .. 1
};

Level Generate(const Progress& p)
{
    Rng rng(0x5eed0000ull + static_cast<uint64_t>(p.global) * 7919ull);
    Level l;
    const double d = p.d;
    // Size: 7 x 7 early, up to 9 x 9; cols never exceed 9, rows never exceed 9.
    const int base = d < 0.15 ? 7 : d < 0.45 ? 8 : 9;
    l.rows = std::clamp(base + (rng.Int(0, 2) == 0 ? -1 : 0), 6, 9);
    l.cols = std::clamp(base + (rng.Int(0, 3) == 0 ? -1 : 0), 6, 9);
    l.cells.resize(static_cast<size_t>(l.rows * l.cols));
    const int shape = p.global < 8 ? rng.Int(0, 2) : rng.Int(0, kShapes - 1);
    for (int r = 0; r < l.rows; ++r)
        for (int c = 0; c < l.cols; ++c)
            l.At(r, c).hole = ShapeHole(shape, l.rows, l.cols, r, c);

    // Coins: the share of coin cells and of two-coin cells grows with difficulty.
    std::vector<std::pair<double, int>> order;
    const int pattern = rng.Int(0, kPatterns - 1);
    for (int r = 0; r < l.rows; ++r)
        for (int c = 0; c < l.cols; ++c)
            if (!l.At(r, c).hole)
                order.push_back({CoinPattern(pattern, l.rows, l.cols, r, c) + 1e-6 * rng.Real(), r * l.cols + c});
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    const double coinShare = std::min(0.9, 0.5 + 0.45 * d);
    const double twoShare = std::clamp(0.75 * d - 0.1, 0.0, 0.45);
    const int coinCells = static_cast<int>(std::lround(coinShare * static_cast<double>(order.size())));
    for (int k = 0; k < coinCells; ++k) {
        Cell& cell = l.cells[static_cast<size_t>(order[static_cast<size_t>(k)].second)];
        cell.coins = rng.Real() < twoShare ? 2 : 1;
    }
    // Mirror the coin layers so the board reads as designed.
    for (int r = 0; r < l.rows; ++r)
        for (int c = 0; c < l.cols / 2; ++c) {
            l.At(r, l.cols - 1 - c).coins = l.At(r, c).coins;
        }

    // A coin in a cell that only one line of three can pass through (a corner
    // beside a hole) can take a player very long to reach: such cells stay plain.
    for (int r = 0; r < l.rows; ++r)
        for (int c = 0; c < l.cols; ++c)
            if (l.Playing(r, c) && LineOptions(l, r, c) < 2)
                l.At(r, c).coins = 0;

    // Covers (from stage 2), chains (from the middle of stage 2), double chains
    // and chests (from stage 3). Placed in mirrored pairs, never on a creator
    // cell and never on two cells of one column in a row.
    auto placeable = [&](int r, int c) {
        if (!l.Playing(r, c) || l.Creator(r, c) || l.At(r, c).obstacle != 0)
            return false;
        if (l.Playing(r - 1, c) && l.At(r - 1, c).obstacle != 0)
            return false;
        if (l.Playing(r + 1, c) && l.At(r + 1, c).obstacle != 0)
            return false;
        int around = 0;
        for (auto [dr, dc] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
            around += l.Playing(r + dr, c + dc) && l.At(r + dr, c + dc).obstacle == 0;
        return around >= 3;
    };
    auto placePairs = [&](int count, int kind) {
        for (int tries = 0; count > 0 && tries < 400; ++tries) {
            const int r = rng.Int(1, l.rows - 1), c = rng.Int(0, (l.cols - 1) / 2);
            const int mcol = l.cols - 1 - c;
            if (!placeable(r, c) || (mcol != c && std::abs(mcol - c) < 2) || (mcol != c && !placeable(r, mcol)))
                continue;
            l.At(r, c).obstacle = kind;
            l.At(r, mcol).obstacle = kind;
            count -= mcol == c ? 1 : 2;
        }
    };
    if (p.stage >= 2) {
        const double coverShare = std::min(0.45, 0.08 + 0.4 * (d - 0.18));
        for (int r = 0; r < l.rows; ++r)
            for (int c = 0; c <= (l.cols - 1) / 2; ++c)
                if (l.At(r, c).coins > 0 && rng.Real() < coverShare) {
                    l.At(r, c).cover = true;
                    l.At(r, l.cols - 1 - c).cover = l.At(r, l.cols - 1 - c).coins > 0;
                }
    }
    if (p.stage >= 3 || (p.stage == 2 && p.index >= 6))
        placePairs(2 + static_cast<int>(std::lround(6 * d)), kChain);
    if (p.stage >= 3)
        placePairs(static_cast<int>(std::lround(5 * (d - 0.3))) + (p.index % 3 == 0 ? 1 : 0), kDoubleChain);
    if (p.stage >= 3 && p.index % 2 == 1)
        placePairs(1 + static_cast<int>(std::lround(3 * (d - 0.35))), kChest);

    // Piece kinds: six at first, seven from the middle of stage 3.
    const int kindCount = d >= 0.5 && p.index % 3 != 1 ? 7 : 6;
    std::vector<int> all = {1, 2, 3, 4, 5, 6, 7, 8};
    for (size_t k = all.size() - 1; k > 0; --k)
        std::swap(all[k], all[static_cast<size_t>(rng.Int(0, static_cast<int>(k)))]);
    l.kinds.assign(all.begin(), all.begin() + kindCount);
    std::sort(l.kinds.begin(), l.kinds.end());
    return l;
}

// Starting pieces: no line of three anywhere, and at least one swap that makes
// one (swaps of cells under obstacles do not count).
bool MakesLine(const Level& l, int r, int c)
{
    const int k = l.At(r, c).chip;
    auto same = [&](int rr, int cc) { return l.Playing(rr, cc) && l.At(rr, cc).chip == k; };
    for (auto [dr, dc] : {std::pair{0, 1}, {1, 0}}) {
        int run = 1;
        for (int s = 1; same(r + dr * s, c + dc * s); ++s)
            ++run;
        for (int s = 1; same(r - dr * s, c - dc * s); ++s)
            ++run;
        if (run >= 3)
            return true;
    }
    return false;
}

bool HasMove(Level& l)
{
    for (int r = 0; r < l.rows; ++r)
        for (int c = 0; c < l.cols; ++c)
            for (auto [dr, dc] : {std::pair{0, 1}, {1, 0}}) {
                const int r2 = r + dr, c2 = c + dc;
                if (!l.Playing(r, c) || !l.Playing(r2, c2) || l.At(r, c).obstacle || l.At(r2, c2).obstacle)
                    continue;
                std::swap(l.At(r, c).chip, l.At(r2, c2).chip);
                const bool line = MakesLine(l, r, c) || MakesLine(l, r2, c2);
                std::swap(l.At(r, c).chip, l.At(r2, c2).chip);
                if (line)
                    return true;
            }
    return false;
}

void FillPieces(Level& l, uint64_t seed)
{
    Rng rng(seed);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        for (int r = 0; r < l.rows; ++r)
            for (int c = 0; c < l.cols; ++c) {
                Cell& cell = l.At(r, c);
                cell.chip = 0;
                if (cell.hole)
                    continue;
                for (int tries = 0; tries < 50; ++tries) {
                    cell.chip = l.kinds[static_cast<size_t>(rng.Int(0, static_cast<int>(l.kinds.size()) - 1))];
                    if (!MakesLine(l, r, c))
                        break;
                }
            }
        bool clean = true;
        for (int r = 0; r < l.rows && clean; ++r)
            for (int c = 0; c < l.cols && clean; ++c)
                clean = l.At(r, c).hole || !MakesLine(l, r, c);
        if (clean && HasMove(l))
            return;
    }
    throw std::runtime_error("no starting arrangement found");
}

// Time limit: a base plus a share per coin layer, cover and obstacle layer,
// rounded up to ten seconds. Generous enough for a player who stops to think.
int TimeLimit(const Level& l)
{
    int layers = 0, covers = 0, obstacles = 0, cells = 0;
    for (const Cell& c : l.cells) {
        if (c.hole)
            continue;
        ++cells;
        layers += c.coins;
        covers += c.cover;
        obstacles += c.obstacle == kDoubleChain ? 2 : c.obstacle != 0 ? 1 : 0;
    }
    const double extraKind = l.kinds.size() > 6 ? 1.35 : 1.0;
    const double seconds = (84 + 4.3 * layers + 3.4 * covers + 8.4 * obstacles + 0.42 * cells) * extraKind;
    return static_cast<int>(std::ceil(seconds / 10.0)) * 10;
}

std::string CellText(const Level& l, int r, int c)
{
    const Cell& cell = l.At(r, c);
    if (cell.hole)
        return "0 0 0 0 0";
    std::ostringstream s;
    s << (cell.coins == 2 ? kTwoCoins : cell.coins == 1 ? kOneCoin : kFloor);
    if (cell.cover)
        s << '|' << kCover;
    s << ' ' << cell.chip << ' ';
    if (cell.obstacle == kDoubleChain)
        s << kDoubleChain;
    else
        s << cell.obstacle;
    s << " 0 0";
    return s.str();
}

std::string LevelText(const Level& l)
{
    std::ostringstream s;
    s << "level {\n\tdata {\n\t\tavailableChips = \"";
    for (size_t k = 0; k < l.kinds.size(); ++k)
        s << (k ? " " : "") << l.kinds[k];
    s << "\"\n\t\tsize = " << l.rows << ", " << l.cols << "\n";
    s << "\t\tposition = 512, 410\n";
    s << "\t\tseconds = " << l.seconds << "\n\t\tscore = 0\n\t}\n";
    s << "\ttile {\n";
    for (int r = 0; r < l.rows; ++r) {
        s << "\t\trow" << r << " =";
        for (int c = 0; c < l.cols; ++c)
            s << (c ? ", \"" : " \"") << CellText(l, r, c) << '"';
        s << "\n";
    }
    s << "\t}\n\tcreators {\n";
    std::vector<std::pair<int, int>> creators;
    for (int c = 0; c < l.cols; ++c)
        for (int r = 0; r < l.rows; ++r)
            if (l.Creator(r, c))
                creators.push_back({r, c});
    s << "\t\ti = " << creators.size() << "\n";
    for (size_t k = 0; k < creators.size(); ++k)
        s << "\t\tc" << k + 1 << " = " << creators[k].first << ", " << creators[k].second << "\n";
    s << "\t}\n\tcharacters {\n\t\ti = 0\n\t}\n}\n";
    return s.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: gen_levels OUT_DIR\n";
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path root = fs::path(argv[1]) / "Data" / "levels";
    int global = 0, written = 0;
    try {
        for (int s = 1; s <= 5; ++s) {
            const fs::path dir = root / ("stage-" + std::to_string(s));
            fs::create_directories(dir);
            const int n = kStageLength[s - 1];
            for (int i = 0; i < n; ++i, ++global) {
                Progress p;
                p.stage = s;
                p.index = i;
                p.length = n;
                p.global = global;
                // Each stage starts a little easier than the last one ended.
                p.d = std::clamp(0.17 * (s - 1) + 0.3 * i / (n - 1), 0.0, 1.0);
                const size_t hand = std::size(kHandLevels);
                Level l = global < static_cast<int>(hand) ? FromHand(kHandLevels[global]) : Generate(p);
                FillPieces(l, 0xc0ffee00ull + static_cast<uint64_t>(global));
                l.seconds = TimeLimit(l);
                const fs::path file = dir / ("Level-" + std::to_string(i + 1) + ".txt");
                std::ofstream out(file, std::ios::binary);
                out << LevelText(l);
                if (!out) {
                    std::cerr << "gen_levels: cannot write " << file.string() << "\n";
                    return 1;
                }
                ++written;
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "gen_levels: level " << global + 1 << ": " << e.what() << "\n";
        return 1;
    }
    std::cout << "gen_levels: " << written << " levels written to " << root.string() << "\n";
    return 0;
}
