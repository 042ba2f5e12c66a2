// Level files: board, kinds in play, time limit, coins; frame pieces, route.
#include "match3/m3level.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "datafiles/rcmfile.h"
#include "match3/m3game.h"
#include "match3/m3read.h"

namespace match3 {

namespace {


constexpr int kMaxBoardSide = 64;    // larger boards are refused as malformed
constexpr int kDefaultSeconds = 420; // the time limit of a level whose "seconds" is 0 or missing

} // namespace

// ---- LOADING ----

std::string LevelFileName(int stage, int level)
{
    return "Data/levels/stage-" + std::to_string(stage) + "/Level-" + std::to_string(level) + ".txt";
}

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
    return ok;
}

std::string TM3Level::RepairedCell(const std::string& desc, const std::string& key, int r, int c)
{
    std::vector<std::string> fields;
    std::istringstream in(desc);
    for (std::string field; in >> field;)
        fields.push_back(field);
    if (!myM3Game || fields.empty())
        return desc;
    const std::string where = "cell " + std::to_string(r) + ", " + std::to_string(c) + " (\"" + desc + "\"): ";
    auto issue = [&](const std::string& message) {
        ReportDataIssue(path, key, where + message);
        warnings.push_back(path + ": " + key + ": " + where + message);
    };
    auto ids = [](const std::string& field) {
        std::vector<std::string> out;
        std::string cur;
        for (char ch : field + "|") {
            if (ch == '|') {
                out.push_back(cur);
                cur.clear();
            } else
                cur += ch;
        }
        return out;
    };
    auto number = [&](const std::string& text, const char* what) {
        if (IsWholeNumber(text))
            return std::stoi(text.size() > 10 ? std::string("0") : text);
        issue(std::string(what) + " \"" + text + "\" is not a whole number; read as 0");
        return 0;
    };
    // Cell kinds: an unknown floor would leave a hole the author never drew,
    // so it becomes the plain floor; an unknown overlay is left out.
    std::vector<std::string> kinds = ids(fields[0]);
    std::string kindsOut;
    for (size_t i = 0; i < kinds.size() && i < 2; ++i) {
        int id = number(kinds[i], "cell kind");
        if (id != 0 && !myM3Game->GetTileDataById(id)) {
            if (i == 0 && myM3Game->GetTileDataById(1)) {
                issue("no cell kind " + std::to_string(id) + "; played as a plain floor (kind 1)");
                id = 1;
            } else {
                issue("no cell kind " + std::to_string(id) + (i == 0 ? "; the cell is a hole" : "; no overlay"));
                id = 0;
            }
        }
        if (i == 1 && id == 0)
            continue;
        kindsOut += (i == 0 ? "" : "|") + std::to_string(id);
    }
    if (kinds.size() > 2)
        kindsOut += "|" + kinds[2]; // kept so that the cell reports its extra kind
    fields[0] = kindsOut;
    if (fields.size() > 1) {
        const int id = number(fields[1], "chip kind");
        if (id != 0 && !myM3Game->GetChipDataById(id)) {
            issue("no chip kind " + std::to_string(id) + "; the cell starts without a chip");
            fields[1] = "0";
        } else
            fields[1] = std::to_string(id);
    }
    if (fields.size() > 2) {
        std::string kept;
        for (const std::string& part : ids(fields[2])) {
            const int id = number(part, "obstacle kind");
            if (id == 0)
                continue;
            if (!myM3Game->GetObstacleById(id)) {
                issue("no obstacle kind " + std::to_string(id) + "; left out (it would block the cell unseen)");
                continue;
            }
            kept += (kept.empty() ? "" : "|") + std::to_string(id);
        }
        fields[2] = kept.empty() ? "0" : kept;
    }
    for (size_t i = 3; i < fields.size() && i < 5; ++i)
        fields[i] = std::to_string(number(fields[i], i == 3 ? "trace" : "locked"));
    std::string out;
    for (const std::string& field : fields)
        out += (out.empty() ? "" : " ") + field;
    return out;
}

bool TM3Level::LoadFrom(const TRCMFile& f)
{
    auto issue = [&](const std::string& key, const std::string& message) {
        ReportDataIssue(path, key, message);
        warnings.push_back(path + ": " + key + ": " + message);
    };

    // _loadData
    availableChips.clear();
    std::istringstream ids(TrimmedValue(f.getString("level::data::availableChips")));
    for (std::string id; ids >> id;) {
        const int n = IsWholeNumber(id) && id.size() < 10 ? std::stoi(id) : 0;
        auto cd = myM3Game ? myM3Game->GetChipDataById(n) : nullptr;
        if (!cd)
            issue("level::data::availableChips", "no chip kind " + id + "; left out");
        else if (IsPowerChipId(n))
            issue("level::data::availableChips",
                  "chip kind " + id + " is a power chip, made by large matches, not drawn for new chips; left out");
        else
            availableChips.push_back(cd);
    }
    rows = CatalogueInt(f, "level::data::size", 0);
    cols = CatalogueInt(f, "level::data::size", 1);
    mx = f.getFloat("level::data::position", 0);
    my = f.getFloat("level::data::position", 1);
    MaxSeconds = CatalogueInt(f, "level::data::seconds");
    if (MaxSeconds < 0)
        issue("level::data::seconds", std::to_string(MaxSeconds) + " is below 0; read as 0, which means " +
                                          std::to_string(kDefaultSeconds) + " seconds");
    if (MaxSeconds <= 0)
        MaxSeconds = kDefaultSeconds;
    Score = CatalogueInt(f, "level::data::score");
    if (Score < 0) {
        issue("level::data::score", std::to_string(Score) + " is below 0; read as 0");
        Score = 0;
    }

    // The rows written decide the board when "size" disagrees with them: they
    // are what the author drew.
    int rowsWritten = 0, colsWritten = 0;
    for (const TRCMEntry* e; (e = CatalogueEntry(f, "level::tile::row" + std::to_string(rowsWritten)));) {
        colsWritten = std::max(colsWritten, static_cast<int>(e->_value.size()));
        ++rowsWritten;
    }
    if (rowsWritten > 0 && (rowsWritten != rows || colsWritten != cols)) {
        issue("level::data::size", "says " + std::to_string(rows) + " rows, " + std::to_string(cols) +
                                       " columns, but the tile group holds " + std::to_string(rowsWritten) +
                                       " rows of up to " + std::to_string(colsWritten) +
                                       " cells; the board is read as written");
        rows = rowsWritten;
        cols = colsWritten;
    }

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
        const TRCMEntry* entry = CatalogueEntry(f, key);
        const int written = entry ? static_cast<int>(entry->_value.size()) : 0;
        if (written == 0 || TrimmedValue(entry->_value[0]).empty()) {
            issue(key, "is missing or starts empty (its cells are holes)");
            continue;
        }
        if (written < cols)
            issue(key, "holds " + std::to_string(written) + " cells, the board " + std::to_string(cols) +
                           " columns: the cells after column " + std::to_string(written - 1) + " are holes");
        for (int c = 0; c < written && c < cols; ++c) {
            const std::string desc = RepairedCell(TrimmedValue(entry->_value[static_cast<size_t>(c)]), key, r, c);
            std::string why;
            if (!tile[static_cast<size_t>(r)][static_cast<size_t>(c)]->SetDataFromString(desc, &why))
                issue(key, "cell " + std::to_string(r) + ", " + std::to_string(c) + " (\"" + desc + "\"): " + why);
        }
    }

    // _loadCreators: the creators listed are read even when the count says
    // otherwise (a stale count is the likelier mistake).
    const int creators = CatalogueInt(f, "level::creators::i");
    int listed = 0;
    while (CatalogueEntry(f, "level::creators::c" + std::to_string(listed + 1)))
        ++listed;
    if (creators != listed)
        issue("level::creators::i", "says " + std::to_string(creators) + " creators, but " + std::to_string(listed) +
                                        " are listed (c1 .. c" + std::to_string(listed) + "); the listed ones are read");
    for (int k = 1; k <= listed; ++k) {
        const std::string key = "level::creators::c" + std::to_string(k);
        const int r = CatalogueInt(f, key, 0), c = CatalogueInt(f, key, 1);
        TM3Tile* t = GetTileByPosition(r, c);
        const std::string at = "(" + std::to_string(r) + ", " + std::to_string(c) + ")";
        if (!t)
            issue(key, at + " lies outside the board; no chips come from it");
        else if (!t->td[0])
            issue(key, at + " is a hole; no chips come from it");
        else
            t->isCreator = 1;
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
