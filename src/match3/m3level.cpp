// Level files: board, kinds in play, time limit, coins; frame pieces, route.
#include "match3/m3level.h"

#include <cmath>
#include <sstream>

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "datafiles/rcmfile.h"
#include "match3/m3game.h"
#include "match3/m3read.h"

namespace match3 {

namespace {


constexpr int kMaxBoardSide = 64; // larger boards are refused as malformed

} // namespace

// ---- LOADING ----

bool TM3Level::Load(const std::string& filePath)
{
    path = filePath;
    auto text = platform::TryReadTextFile(filePath);
    if (!text) {
        error = "Level file not found: " + filePath;
        platform::Log(error);
        return false;
    }
    return LoadText(*text, filePath);
}

bool TM3Level::LoadText(const std::string& text, const std::string& name)
{
    path = name;
    error.clear();
    warnings.clear();
    TRCMFile f;
    f.LoadText(text, name);
    if (f._grupa._listaGrup.empty() && f._grupa._listaWpisow.empty()) {
        error = "Level file is empty: " + name;
        platform::Log(error);
        return false;
    }
    const bool ok = LoadFrom(f);
    if (!ok)
        platform::Log(error);
    for (const auto& w : warnings)
        platform::Log(w);
    return ok;
}

bool TM3Level::LoadFrom(const TRCMFile& f)
{
    // _loadData
    availableChips.clear();
    std::istringstream ids(TrimmedValue(f.getString("level::data::availableChips")));
    for (std::string id; ids >> id;) {
        int n = 0;
        try {
            n = std::stoi(id);
        } catch (...) {
            n = 0;
        }
        if (auto cd = myM3Game ? myM3Game->GetChipDataById(n) : nullptr)
            availableChips.push_back(cd);
        else
            warnings.push_back(path + ": no chip kind " + id + " for level::data::availableChips");
    }
    rows = CatalogueInt(f, "level::data::size", 0);
    cols = CatalogueInt(f, "level::data::size", 1);
    mx = f.getFloat("level::data::position", 0);
    my = f.getFloat("level::data::position", 1);
    MaxSeconds = CatalogueInt(f, "level::data::seconds");
    if (MaxSeconds == 0)
        MaxSeconds = 420;
    Score = CatalogueInt(f, "level::data::score");

    if (rows <= 0 || cols <= 0 || rows > kMaxBoardSide || cols > kMaxBoardSide) {
        error = path + ": level::data::size must give 1 to " + std::to_string(kMaxBoardSide) +
                " rows and columns (read " + std::to_string(rows) + ", " + std::to_string(cols) + ")";
        rows = cols = 0;
        return false;
    }
    if (availableChips.empty()) {
        error = path + ": level::data::availableChips names no known chip kind";
        return false;
    }
    if (CatalogueInt(f, "level::characters::i") != 0) {
        error = path + ": the level names characters (level::characters::i), which the game does not support";
        return false;
    }

    // _loadTiles
    tile.assign(static_cast<size_t>(rows), {});
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            auto t = std::make_shared<TM3Tile>();
            t->r = r;
            t->c = c;
            t->myM3Level = this;
            t->myM3Game = myM3Game;
            tile[static_cast<size_t>(r)].push_back(t);
        }
    }
    for (int r = 0; r < rows; ++r) {
        const std::string key = "level::tile::row" + std::to_string(r);
        if (TrimmedValue(f.getString(key, 0)).empty())
            warnings.push_back(path + ": " + key + " is missing or starts empty (its cells are holes)");
        for (int c = 0; c < cols; ++c) {
            const std::string desc = TrimmedValue(f.getString(key, c));
            std::string why;
            if (!tile[static_cast<size_t>(r)][static_cast<size_t>(c)]->SetDataFromString(desc, &why))
                warnings.push_back(path + ": cell " + std::to_string(r) + ", " + std::to_string(c) + " (\"" +
                                   desc + "\"): " + why);
        }
    }

    // _loadCreators
    const int creators = CatalogueInt(f, "level::creators::i");
    for (int k = 1; k <= creators; ++k) {
        const std::string key = "level::creators::c" + std::to_string(k);
        if (TM3Tile* t = GetTileByPosition(CatalogueInt(f, key, 0), CatalogueInt(f, key, 1)))
            t->isCreator = 1;
        else
            warnings.push_back(path + ": " + key + " lies outside the board");
    }
    CountTotalCoins();
    return true;
}

int TM3Level::CountTotalCoins()
{
    TotalCoins = 0;
    for (auto& row : tile)
        for (auto& t : row)
            if (t->td[0])
                TotalCoins += t->td[0]->id - 1;
    return TotalCoins;
}

void TM3Level::Init(int /*flag*/)
{
    InitData();
    InitPositions();
    InitFrame();
    InitTrace();
}

void TM3Level::InitData()
{
    if (myM3Game) {
        tileW = myM3Game->tileW;
        tileH = myM3Game->tileH;
    }
}

void TM3Level::InitPositions()
{
    for (auto& row : tile)
        for (auto& t : row) {
            t->drawX = static_cast<float>(t->c) * tileW;
            t->drawY = static_cast<float>(t->r) * tileH;
            t->tileW = tileW;
            t->tileH = tileH;
            t->tileWHalf = tileW * 0.5f;
            t->tileHHalf = tileH * 0.5f;
            t->CountDrawPosition();
        }
}

std::vector<int> FramePieces(const std::vector<bool>& around)
{
    auto H = [&](int dr, int dc) { return around.size() == 9 && around[static_cast<size_t>((dr + 1) * 3 + dc + 1)]; };
    const bool conds[24] = {
        !H(-1, -1) && !H(-1, 0) && H(0, -1),   // 0
        !H(-1, 1) && !H(0, 1) && H(-1, 0),     // 1
        !H(1, -1) && !H(1, 0) && H(0, -1),     // 2
        !H(-1, -1) && !H(0, -1) && H(-1, 0),   // 3
        !H(-1, 0) && !H(-1, 1) && H(0, 1),     // 4
        !H(0, 1) && !H(1, 1) && H(1, 0),       // 5
        !H(1, 1) && !H(1, 0) && H(0, 1),       // 6
        !H(0, -1) && !H(1, -1) && H(1, 0),     // 7
        H(-1, -1) && !H(-1, 0),                // 8
        !H(-1, 0) && !H(0, 1) && !H(-1, 1),    // 9
        !H(1, 0) && !H(0, -1),                 // 10
        !H(0, -1) && H(-1, -1),                // 11
        !H(-1, 0) && H(-1, 1),                 // 12
        !H(0, 1) && !H(1, 1) && !H(1, 0),      // 13
        !H(1, 0) && !H(1, 1) && !H(0, 1),      // 14
        !H(0, -1) && H(1, -1),                 // 15
        !H(-1, -1) && !H(-1, 0) && !H(0, -1),  // 16
        !H(0, 1) && H(-1, 1),                  // 17
        !H(1, 0) && H(0, -1),                  // 18
        !H(-1, -1) && !H(0, -1) && !H(-1, 0),  // 19
        !H(-1, 0) && !H(0, 1) && !H(-1, 1),    // 20
        !H(0, 1) && H(1, 1),                   // 21
        !H(1, 0) && H(1, 1),                   // 22
        !H(0, -1) && !H(1, 0) && !H(1, -1),    // 23
    };
    std::vector<int> out;
    for (int k = 0; k < 24; ++k)
        if (conds[k])
            out.push_back(k);
    return out;
}

void TM3Level::InitFrame()
{
    for (auto& row : tile)
        for (auto& t : row) {
            t->Frame.clear();
            if (t->td[0])
                t->Frame = FramePieces(GetAroundArray(t->r, t->c));
        }
}

void TM3Level::InitTrace()
{
    TM3Tile* start = GetRouteStartTile();
    TM3Tile* end = GetRouteEndTile();
    if (!start || !end)
        return;
    start->traceN = 1;
    TM3Tile* cur = start;
    int step = 2;
    static const int dirs[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    while (cur) {
        TM3Tile* next = nullptr;
        for (const auto& d : dirs) {
            TM3Tile* n = GetTileByPosition(cur->r + d[0], cur->c + d[1]);
            if (n && n->traceN == 0 && n->trace != 0) {
                next = n;
                break;
            }
        }
        if (!next)
            return;
        next->traceN = step++;
        cur->nextTile = next;
        if (next == end)
            return;
        cur = next;
    }
}

void TM3Level::Free()
{
    myM3Game = nullptr;
    availableChips.clear();
    chipCreators.clear();
    characters.clear();
    for (auto& row : tile)
        for (auto& t : row)
            t->Free();
    tile.clear();
}

// ---- GETTING ----

bool TM3Level::isTileHere(int r, int c) const
{
    const TM3Tile* t = GetTileByPosition(r, c);
    return t && t->td[0];
}

TM3Tile* TM3Level::GetTileByPosition(int r, int c) const
{
    if (!isPositionProper(r, c) || static_cast<size_t>(r) >= tile.size() ||
        static_cast<size_t>(c) >= tile[static_cast<size_t>(r)].size())
        return nullptr;
    return tile[static_cast<size_t>(r)][static_cast<size_t>(c)].get();
}

std::vector<bool> TM3Level::GetAroundArray(int r, int c) const
{
    std::vector<bool> out;
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc)
            out.push_back(isTileHere(r + dr, c + dc));
    return out;
}

int TM3Level::GetLevelWidth() const
{
    return static_cast<int>(static_cast<float>(cols) * tileW);
}

int TM3Level::GetLevelHeight() const
{
    return static_cast<int>(static_cast<float>(rows) * tileH);
}

std::string TM3Level::GetAvailablesString() const
{
    std::string out;
    for (const auto& cd : availableChips)
        out += std::to_string(cd->id) + " ";
    if (!out.empty())
        out.pop_back();
    return out;
}

TM3Tile* TM3Level::GetRouteStartTile() const
{
    for (auto& row : tile)
        for (auto& t : row)
            if (t->trace == 2)
                return t.get();
    return nullptr;
}

TM3Tile* TM3Level::GetRouteEndTile() const
{
    for (auto& row : tile)
        for (auto& t : row)
            if (t->trace == 3)
                return t.get();
    return nullptr;
}

// ---- POSITIONING ----

void TM3Level::CenterAtPosition(float x, float y)
{
    // Integer halves of the 1024 x 768 design area.
    mx = static_cast<float>(1024 / 2) - x;
    my = static_cast<float>(768 / 2) - y;
}

void TM3Level::CenterAtTile(const TM3Tile& t)
{
    CenterAtPosition(t.drawX, t.drawY);
}

void TM3Level::CenterLevelCenterAt(float x, float y)
{
    mx = x - static_cast<float>(GetLevelWidth()) * 0.5f + static_cast<float>(static_cast<int>(tileW * 0.5f));
    my = y - static_cast<float>(GetLevelHeight()) * 0.5f + static_cast<float>(static_cast<int>(tileH * 0.5f));
}

} // namespace match3
