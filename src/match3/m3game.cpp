// The match-three controller: loading, per-frame order, input, swaps, power
// chips, gravity predicates and board queries.
#include "match3/m3game.h"

#include <algorithm>
#include <cmath>

#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "app/platform/input.h"
#include "fx/timing.h"
#include "gui/mouse.h"

namespace match3 {

TM3Game::TM3Game() = default;

TM3Game::~TM3Game()
{
    FreeLevel();
}

void TM3Game::Print(const std::string& line) const
{
    if (!quiet)
        platform::Log(line);
}

void TM3Game::SeedRandom(uint32_t rulesSeed, uint32_t looksSeed)
{
    rules.Seed(rulesSeed);
    looks.Seed(looksSeed);
}

void TM3Game::SetTime(float frameFactor, int64_t clockMs)
{
    timeFixed_ = true;
    fixedFactor_ = frameFactor;
    fixedClock_ = clockMs;
}

void TM3Game::ClearTime()
{
    timeFixed_ = false;
}

float TM3Game::FF() const
{
    return timeFixed_ ? fixedFactor_ : fx::FrameFactor();
}

int64_t TM3Game::Now() const
{
    return timeFixed_ ? fixedClock_ : fx::AppClock();
}

// ---- LOADING ----

bool TM3Game::LoadLevel(const std::string& path)
{
    error.clear();
    auto lvl = std::make_shared<TM3Level>();
    lvl->myM3Game = this;
    if (!lvl->Load(path)) {
        error = lvl->error;
        return false;
    }
    lvl->Init(1);
    SetLevel(lvl);
    MoveLevelCenterToPosition(512, 410);
    return true;
}

void TM3Game::SetLevel(PM3Level lvl)
{
    ClearPairs();
    pTile = oTile = overTile = lastOverTile = nullptr;
    chainList.clear();
    groupList.clear();
    fantomsList.clear();
    screenDropsList.clear();
    dropsList.clear();
    level = std::move(lvl);
    UnclearedTiles = 0;
    if (level) {
        level->myM3Game = this;
        for (auto& row : level->tile)
            for (auto& t : row) {
                t->myM3Game = this;
                if (t->td[0])
                    UnclearedTiles += t->td[0]->youngerId; // known before the first frame
                if (t->chip) {
                    t->chip->myM3Game = this;
                    t->chip->myM3Level = level.get();
                }
            }
    }
    Calculate();
}

void TM3Game::FreeAll()
{
    for (auto& k : chipsList)
        k->FreeGFX();
    for (auto& k : tilesList)
        k->FreeGFX();
    for (auto& k : obstaclesList)
        k->FreeGFX();
}

void TM3Game::FreeLevel()
{
    ClearPairs();
    pTile = oTile = overTile = lastOverTile = nullptr;
    chainList.clear();
    groupList.clear();
    fantomsList.clear();
    screenDropsList.clear();
    dropsList.clear();
    if (level)
        level->Free();
    level.reset();
}

void TM3Game::MoveLevel(float dx, float dy)
{
    if (level)
        level->CenterMove(dx, dy);
    Calculate();
}

void TM3Game::MoveLevelCenterToPosition(float x, float y)
{
    if (level)
        level->CenterLevelCenterAt(x, y);
    Calculate();
}

void TM3Game::CenterLevelAtTile(int r, int c)
{
    if (TM3Tile* t = GetTileRC(r, c))
        level->CenterAtTile(*t);
    Calculate();
}

// ---- FINDING ----

PM3TileData TM3Game::GetTileDataById(int id) const
{
    for (const auto& k : tilesList)
        if (k->id == id)
            return k;
    return nullptr;
}

PM3ChipData TM3Game::GetChipDataById(int id) const
{
    for (const auto& k : chipsList)
        if (k->id == id)
            return k;
    return nullptr;
}

TM3Obstacle* TM3Game::GetObstacleById(int id) const
{
    for (const auto& k : obstaclesList)
        if (k->id == id)
            return k.get();
    return nullptr;
}

PM3Chip TM3Game::CreateChipById(int id)
{
    PM3ChipData kind = GetChipDataById(id);
    if (!kind)
        return nullptr;
    auto chip = std::make_shared<TM3Chip>();
    chip->myM3Game = this;
    chip->myM3Level = level.get();
    chip->SetChipData(kind);
    return chip;
}

TM3Tile* TM3Game::GetTileRC(int r, int c) const
{
    return level ? level->GetTileByPosition(r, c) : nullptr;
}

TM3Tile* TM3Game::GetTileByVector(const TM3Tile* t, int dr, int dc) const
{
    return t ? GetTileRC(t->r + dr, t->c + dc) : nullptr;
}

std::vector<TM3Tile*> TM3Game::GetCrossTiles(int r, int c, int n) const
{
    std::vector<TM3Tile*> out;
    if (TM3Tile* t = GetTileRC(r, c))
        out.push_back(t);
    for (int k = 1; k <= n; ++k) {
        const int offs[4][2] = {{k, 0}, {0, k}, {-k, 0}, {0, -k}};
        for (const auto& o : offs) {
            TM3Tile* t = GetTileRC(r + o[0], c + o[1]);
            if (t && t->chip && std::find(out.begin(), out.end(), t) == out.end())
                out.push_back(t);
        }
    }
    return out;
}

std::vector<TM3Tile*> TM3Game::GetBoxTiles(int r, int c, int n) const
{
    std::vector<TM3Tile*> out;
    for (int rr = r - n; rr <= r + n; ++rr)
        for (int cc = c - n; cc <= c + n; ++cc)
            if (TM3Tile* t = GetTileRC(rr, cc); t && t->chip)
                out.push_back(t);
    return out;
}

std::vector<TM3Chip*> TM3Game::GetAllChipsOfType(int kindId, int withObstacled) const
{
    std::vector<TM3Chip*> out;
    if (!level)
        return out;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t->chip && t->chip->KindId() == kindId && (withObstacled || !t->isObstacled()))
                out.push_back(t->chip.get());
    return out;
}

std::vector<TM3Tile*> TM3Game::GetRandomChipsList(int n)
{
    std::vector<TM3Tile*> pool, out;
    if (!level)
        return out;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t->chip && !t->isObstacled())
                pool.push_back(t.get());
    while (n-- > 0 && !pool.empty()) {
        const int i = rules.Int(0, static_cast<int>(pool.size()) - 1);
        out.push_back(pool[static_cast<size_t>(i)]);
        pool.erase(pool.begin() + i);
    }
    return out;
}

std::vector<TM3Chip*> TM3Game::GetAllFreeChips() const
{
    std::vector<TM3Chip*> out;
    if (!level)
        return out;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t->chip && t->chip->isFree())
                out.push_back(t->chip.get());
    return out;
}

int TM3Game::CountAllChips() const
{
    int n = 0;
    if (level)
        for (auto& row : level->tile)
            for (auto& t : row)
                n += t->chip ? 1 : 0;
    return n;
}

TM3Tile* TM3Game::isChipOnBoard(int kindId) const
{
    if (!level)
        return nullptr;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t->td[0] && t->chip && t->chip->KindId() == kindId && !t->myM3FlyingTile)
                return t.get();
    return nullptr;
}

bool TM3Game::isTileWithChip(int r, int c) const
{
    const TM3Tile* t = GetTileRC(r, c);
    return t && t->chip;
}

bool TM3Game::isTileFreeToMove(int r, int c) const
{
    const TM3Tile* t = GetTileRC(r, c);
    return t && t->isFreeToMoveChip();
}

bool TM3Game::isPositionProper(int r, int c) const
{
    return level && level->isPositionProper(r, c);
}

int TM3Game::CountDistance(float x1, float y1, float x2, float y2) const
{
    const float dx = x2 - x1, dy = y2 - y1;
    if (std::fabs(dy) < std::fabs(dx)) {
        if (dx < -MinMoveX)
            return 0;
        if (dx > MinMoveX)
            return 2;
    } else if (std::fabs(dx) < std::fabs(dy)) {
        if (dy < -MinMoveY)
            return 1;
        if (dy > MinMoveY)
            return 3;
    }
    return 4;
}

// ---- MATCHING ----

bool TM3Game::isChipMatch(const TM3Chip* a, const TM3Chip* b) const
{
    return a && b && a->cd && b->cd && a->cd->id == b->cd->id;
}

bool TM3Game::isTileANeighbor(const TM3Tile* a, const TM3Tile* b) const
{
    if (!a || !b)
        return false;
    return (a->r == b->r && std::abs(a->c - b->c) == 1) || (a->c == b->c && std::abs(a->r - b->r) == 1);
}

std::vector<TM3Tile*> TM3Game::GetMatchedTiles(TM3Tile* cell) const
{
    if (MatchType != 0)
        return {};
    return SwapMatchFinder::FindMatches(this, cell);
}

std::vector<TM3Tile*> TM3Game::SwapChipsTemp(int r1, int c1, int r2, int c2)
{
    TM3Tile* a = GetTileRC(r1, c1);
    TM3Tile* b = GetTileRC(r2, c2);
    if (!a || !b || !a->chip || !b->chip)
        return {};
    std::swap(a->chip, b->chip); // cell references only; the chips keep their own links
    auto out = GetMatchedTiles(b);
    std::swap(a->chip, b->chip);
    return out;
}

bool TM3Game::isSwapAllowed(const TM3Tile* a, const TM3Tile* b) const
{
    if (!a || !b || a == b || !isTileANeighbor(a, b))
        return false;
    for (const TM3Tile* t : {a, b}) {
        if (!t->td[0] || !t->chip || !t->chip->cd || t->locked || t->myM3FlyingTile)
            return false;
        if (!t->isFreeToSwapChip())
            return false;
    }
    return true;
}

bool TM3Game::isSwapProductive(TM3Tile* a, TM3Tile* b)
{
    if (!isSwapAllowed(a, b))
        return false;
    if (a->chip->isPowerChip() || b->chip->isPowerChip())
        return true; // a swapped power chip fires
    std::swap(a->chip, b->chip);
    const bool match = !GetMatchedTiles(a).empty() || !GetMatchedTiles(b).empty();
    std::swap(a->chip, b->chip);
    return match;
}

std::vector<TM3Move> TM3Game::GetAvailableMoves()
{
    std::vector<TM3Move> out;
    if (!level)
        return out;
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c) {
            TM3Tile* a = GetTileRC(r, c);
            if (!a || a->isObstacled())
                continue;
            if (isSwapProductive(a, GetTileRC(r, c + 1)))
                out.push_back({r, c, r, c + 1});
            if (isSwapProductive(a, GetTileRC(r + 1, c)))
                out.push_back({r, c, r + 1, c});
        }
    return out;
}

int TM3Game::isAnyMoveAvailable_SWAP()
{
    if (!level)
        return 0;
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c) {
            TM3Tile* a = GetTileRC(r, c);
            if (!a || a->isObstacled())
                continue;
            if (isSwapProductive(a, GetTileRC(r, c + 1)) || isSwapProductive(a, GetTileRC(r + 1, c)))
                return 1;
        }
    return 0;
}

std::shared_ptr<TSwapHint> TM3Game::GetSwapHint()
{
    const auto moves = GetAvailableMoves();
    Print("Mozliwosci: " + std::to_string(moves.size()));
    if (moves.empty())
        return nullptr;
    const TM3Move& m = moves[static_cast<size_t>(rules.Int(1, static_cast<int>(moves.size())) - 1)];
    auto hint = std::make_shared<TSwapHint>();
    hint->arrow = hintArrow;
    hint->Set(GetTileRC(m.r1, m.c1)->chip, GetTileRC(m.r2, m.c2)->chip, Now());
    return hint;
}

// ---- STATE ----

bool TM3Game::isSettled() const
{
    if (!level)
        return true;
    if (!pairsList.empty())
        return false;
    for (const auto& f : fantomsList)
        if (!f->dead)
            return false;
    const bool canRefill = !level->availableChips.empty();
    for (auto& row : level->tile)
        for (auto& t : row) {
            if (!t->td[0])
                continue;
            if (!t->chip) {
                if (t->isCreator && canRefill)
                    return false;
                continue;
            }
            const TM3Chip* ch = t->chip.get();
            if (ch->state != kChipNothing || ch->NextCD || ch->_pair || ch->Heat < ch->dHeat)
                return false;
            if (t->isObstacled())
                continue;
            if (isChipAvailableToFall(ch))
                return false;
            if (isSideFallAvailable && (isChipAvailableToFallLeft(ch) || isChipAvailableToFallRight(ch)))
                return false;
        }
    return true;
}

bool TM3Game::NeedsReshuffle()
{
    return level && isSettled() && isAnyMoveAvailable_SWAP() == 0;
}

bool TM3Game::isReshuffleCell(const TM3Tile& t) const
{
    if (!t.td[0] || !t.chip || !t.chip->cd || t.chip->isPowerChip())
        return false;
    if (t.obstacles.empty())
        return true;
    return t.obstacles.size() == 1 && t.obstacles[0] && t.obstacles[0]->Typ == kObstacleShuffles;
}

std::vector<std::vector<int>> TM3Game::ReshuffleArrangement()
{
    if (!level)
        return {};
    return M3ChipRandomizer::RandomizeArray(level->rows, level->cols, level->GetAvailablesString(), rules);
}

void TM3Game::ReshuffleNow()
{
    const auto a = ReshuffleArrangement();
    if (!level)
        return;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (isReshuffleCell(*t))
                if (auto kind = GetChipDataById(a[static_cast<size_t>(t->r)][static_cast<size_t>(t->c)]))
                    t->chip->ChangeInto_NOW(kind);
}

int TM3Game::CoinsLeft() const
{
    int n = 0;
    if (!level)
        return 0;
    for (auto& row : level->tile)
        for (auto& t : row) {
            const TM3TileData* k = t->td[0].get();
            // Count the crumbles left along the younger chain; a chain that
            // loops is cut (the content check reports it).
            for (int guard = 0; k && k->younger && guard < 64; ++guard) {
                ++n;
                k = k->younger;
            }
        }
    return n;
}

// ---- COMMANDS ----

void TM3Game::PickTile(TM3Tile* t)
{
    if (!t || !t->chip || !t->isAvailableForPick() || t == pTile)
        return;
    if (!pTile)
        pTile = t;
    else if (isTileANeighbor(pTile, t))
        SwapTiles(pTile, t);
    else
        pTile = t;
}

bool TM3Game::SwapTiles(TM3Tile* a, TM3Tile* b)
{
    if (!isSwapAllowed(a, b))
        return false;
    auto pair = std::make_shared<TM3Pair>();
    pair->myM3Game = this;
    pair->myM3Level = level.get();
    pair->chips[0] = a->chip;
    pair->chips[1] = b->chip;
    pair->tile[0] = a;
    pair->tile[1] = b;
    pair->chips[0]->_pair = pair.get();
    pair->chips[1]->_pair = pair.get();
    pair->dimX[0] = a->drawX;
    pair->dimY[0] = a->drawY;
    pair->dimX[1] = b->drawX;
    pair->dimY[1] = b->drawY;
    for (int i = 0; i < 2; ++i) {
        pair->dDimX[i] = pair->dimX[1 - i];
        pair->dDimY[i] = pair->dimY[1 - i];
        pair->actDimX[i] = pair->dimX[i];
        pair->actDimY[i] = pair->dimY[i];
    }
    EVENT_SwapPerformed();
    pairsList.push_back(pair);
    pTile = nullptr;
    return true;
}

void TM3Game::ClearPairs()
{
    for (auto& p : pairsList)
        p->End();
    pairsList.clear();
}

void TM3Game::MatchTilesList(const std::vector<TM3Tile*>& cells)
{
    for (TM3Tile* t : cells)
        if (t && t->chip)
            t->chip->Destroy(0, kDestroyMatch);
}

void TM3Game::MatchChipsList(const std::vector<TM3Chip*>& chips)
{
    for (TM3Chip* ch : chips)
        if (ch)
            ch->Destroy(0, kDestroyMatch);
}

void TM3Game::MoveChipsCentricFromTile(TM3Tile* t, float power, int radius)
{
    if (!t || !t->chip || power == 0 || radius == 0)
        return;
    for (int dr = -radius; dr <= radius; ++dr)
        for (int dc = -radius; dc <= radius; ++dc) {
            if ((dr == 0 && dc == 0) || (std::abs(dr) == radius && std::abs(dc) == radius))
                continue;
            TM3Tile* n = GetTileRC(t->r + dr, t->c + dc);
            if (!n || !n->chip)
                continue;
            const float d = std::sqrt(static_cast<float>(dr * dr + dc * dc));
            const float a = platform::Atan2D(static_cast<float>(dr), static_cast<float>(dc));
            n->chip->dOadx = power / d * platform::CosD(a);
            n->chip->dOady = power / d * platform::SinD(a);
        }
}

void TM3Game::Calculate()
{
    if (!level)
        return;
    for (auto& row : level->tile)
        for (auto& t : row)
            t->CountDrawPosition();
}

void TM3Game::CreateBoardPowerUp(TM3Tile* t, std::vector<TM3Tile*> cells)
{
    if (!t)
        return;
    if (t->isObstacled()) {
        // A power chip born under an obstacle could never be picked, swapped
        // or matched: the line is an ordinary match instead.
        MatchTilesList(cells);
        return;
    }
    // The kind follows the size of the match; a list of any other size (a
    // tool or a test asking for a power chip) makes the cross chip.
    int kind = PowerKindForMatchSize(cells.size());
    if (kind == 0)
        kind = kChipCross;
    cells.erase(std::remove(cells.begin(), cells.end(), t), cells.end());
    t->CountDrawPosition();
    if (t->chip)
        t->chip->ChangeInto(GetChipDataById(kind));
    for (TM3Tile* other : cells) {
        if (!other || !other->chip)
            continue;
        if (other->isObstacled()) {
            // An obstacle holds its chip in place: the match costs the cell its
            // top obstacle, as any match does, and the chip is not gathered.
            other->chip->Destroy(0, kDestroyMatch);
            continue;
        }
        PM3Chip ch = other->chip;
        ch->CountDrawPosition();
        auto f = std::make_shared<TM3ChipFantom>();
        f->c = ch;
        f->x = ch->actDrawX;
        f->y = ch->actDrawY;
        f->cx = t->ActDrawX;
        f->cy = t->actDrawY;
        f->speed = 0.02f;
        f->Dist = std::hypot(f->x - f->cx, f->y - f->cy);
        f->Angle = platform::Atan2D(f->y - f->cy, f->x - f->cx);
        ch->DestroyNow();
        ch->_pair = nullptr;
        ch->myFantom = f.get();
        fantomsList.push_back(f);
    }
}

void TM3Game::Cross(TM3Tile* t)
{
    if (!t)
        return;
    PlaySound(12, 1.0f);
    t->MatchAtMe();
    const int offs[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& o : offs)
        if (TM3Tile* n = GetTileRC(t->r + o[0], t->c + o[1]); n && n->chip)
            n->chip->Destroy(200, kDestroyCurve);
    t->CountDrawPosition();
    if (scr)
        scr->PowerChipFired(kChipCross, t->ActDrawX, t->actDrawY);
}

void TM3Game::Lightning(TM3Tile* t)
{
    if (!t || !level)
        return;
    PlaySound(11, 1.0f);
    int left = t->c, right = t->c;
    for (int c = t->c; c >= 0; --c)
        if (TM3Tile* n = GetTileRC(t->r, c); n && n->chip) {
            n->MatchAtMe();
            left = c;
        }
    for (int c = t->c; c < level->cols; ++c)
        if (TM3Tile* n = GetTileRC(t->r, c); n && n->chip) {
            n->MatchAtMe();
            right = c;
        }
    t->CountDrawPosition();
    if (scr) {
        for (int end : {left, right}) {
            TM3Tile* e = GetTileRC(t->r, end);
            e->CountDrawPosition();
            scr->LightningBolt(t->ActDrawX, t->actDrawY, e->ActDrawX, e->actDrawY);
        }
        scr->PowerChipFired(kChipLightning, t->ActDrawX, t->actDrawY);
    }
    for (int c = left; c <= right; ++c)
        if (TM3Tile* n = GetTileRC(t->r, c); n && n->chip)
            n->chip->Destroy(50 * std::abs(c - t->c), kDestroyHeat);
}

void TM3Game::Bomb(TM3Tile* t)
{
    if (!t)
        return;
    PlaySound(10, 1.0f);
    t->MatchAtMe();
    for (int dr = -3; dr <= 3; ++dr)
        for (int dc = -3; dc <= 3; ++dc) {
            if ((dr == -3 && dc == -3) || (dr == 3 && dc == 3))
                continue;
            TM3Tile* n = GetTileRC(t->r + dr, t->c + dc);
            if (!n || !n->chip)
                continue;
            const int d = static_cast<int>(std::sqrt(static_cast<float>(dr * dr + dc * dc)) / 2);
            n->chip->Destroy(d == 0 ? 100 : d == 1 ? 200 : 300, kDestroyCurve);
            n->MatchAtMe();
        }
    t->CountDrawPosition();
    if (scr)
        scr->PowerChipFired(kChipBomb, t->ActDrawX, t->actDrawY);
}

void TM3Game::LightUpTiles(int durationMs)
{
    if (!level)
        return;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t->td[0] && t->td[0]->id > 1)
                t->LightUp(0, durationMs);
}

void TM3Game::LightUpBoard()
{
    if (!level)
        return;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t->td[0])
                t->LightUp((t->r + t->c) * 50, 500);
}

int TM3Game::GetRandomChipId()
{
    if (!level || level->availableChips.empty())
        return 0;
    const int i = rules.Int(1, static_cast<int>(level->availableChips.size()));
    return level->availableChips[static_cast<size_t>(i - 1)]->id;
}

void TM3Game::ReleaseCoin(TM3Tile& t)
{
    t.CountDrawPosition();
    if (scr && scr->CoinReleased(t.ActDrawX, t.actDrawY))
        return;
    if (level)
        level->Cash += 1;
}

void TM3Game::PlaySound(int id, float volume)
{
    if (scr)
        scr->PlaySound(id, volume);
}

// ---- GRAVITY ----

namespace {
bool Usable(const TM3Tile* t)
{
    return t && t->td[0] && !t->locked;
}
} // namespace

bool TM3Game::isTileUnavailable(int r, int c) const
{
    return !Usable(GetTileRC(r, c));
}

bool TM3Game::isTileFreeForFall(int r, int c) const
{
    // An obstacled cell is never a fall target: a chip that fell in could
    // neither fall on nor be picked or swapped out again.
    const TM3Tile* t = GetTileRC(r, c);
    return t && t->isFreeToMoveChip();
}

bool TM3Game::isTileExisting(int r, int c) const
{
    const TM3Tile* t = GetTileRC(r, c);
    return t && !t->isAvailableForPick();
}

bool TM3Game::isTileWithCharacter(int r, int c) const
{
    const TM3Tile* t = GetTileRC(r, c);
    return t && t->character;
}

bool TM3Game::isChipBlockedBySide(int r, int c) const
{
    const TM3Tile* t = GetTileRC(r, c);
    return Usable(t) && t->chip;
}

bool TM3Game::isChipDoingNothing(int r, int c) const
{
    const TM3Tile* t = GetTileRC(r, c);
    return t && t->chip && t->chip->isDoingNothing();
}

bool TM3Game::isChipInColumnFalling(int r, int c, int debug) const
{
    for (int row = r; row >= 0; --row) {
        const TM3Tile* t = GetTileRC(row, c);
        if (!Usable(t)) {
            if (debug)
                Print("NO - 1");
            return false;
        }
        if (t->isObstacled()) {
            if (debug)
                Print("NO - 2");
            return false;
        }
        if (t->character) {
            if (debug)
                Print("NO - 3");
            return false;
        }
        if (t->chip || t->isCreator) {
            if (debug)
                Print("IS OK! - " + std::to_string(row) + ", " + std::to_string(c));
            return true;
        }
        if (debug)
            Print("TILE [" + std::to_string(row) + ", " + std::to_string(c) + "] Available!");
    }
    if (debug)
        Print("NO - 4");
    return false;
}

bool TM3Game::isChipAvailableToFall(const TM3Chip* ch) const
{
    return ch && ch->myTile && ch->isFree() && isTileFreeForFall(ch->myTile->r + 1, ch->myTile->c);
}

namespace {
bool SideFallAllowed(const TM3Game& g, const TM3Chip* ch, int dc)
{
    if (!ch || !ch->myTile || !ch->isFree())
        return false;
    const int r = ch->myTile->r, c = ch->myTile->c;
    if (!g.isTileFreeForFall(r + 1, c + dc))
        return false;
    const TM3Tile* above = g.GetTileRC(r - 1, c);
    const TM3Tile* below = g.GetTileRC(r + 1, c);
    if (above && above->chip && Usable(above) && Usable(below) && below->chip &&
        !above->chip->isDoingNothing() && !below->chip->isDoingNothing())
        return false;
    return !g.isChipInColumnFalling(r + 1, c + dc);
}
} // namespace

bool TM3Game::isChipAvailableToFallLeft(const TM3Chip* ch) const
{
    return SideFallAllowed(*this, ch, -1);
}

bool TM3Game::isChipAvailableToFallRight(const TM3Chip* ch) const
{
    return SideFallAllowed(*this, ch, 1);
}

void TM3Game::FallChip(TM3Chip* ch)
{
    if (!ch)
        return;
    ch->Fall();
    EVENT_SomethingIsHappening();
}

void TM3Game::FallChipLeft(TM3Chip* ch)
{
    if (!ch)
        return;
    ch->FallLeft();
    EVENT_SomethingIsHappening();
}

void TM3Game::FalLChipRight(TM3Chip* ch)
{
    if (!ch)
        return;
    ch->FallRight();
    EVENT_SomethingIsHappening();
}

int TM3Game::FallSideChip(TM3Tile* t)
{
    if (!isSideFallAvailable || !t || !t->chip)
        return 0;
    TM3Chip* ch = t->chip.get();
    const bool left = isChipAvailableToFallLeft(ch);
    const bool right = isChipAvailableToFallRight(ch);
    if (!left && !right)
        return 0;
    // The order is drawn only when both sides are open; either way each open
    // side is taken with the same chance as trying a random side first.
    const bool goLeft = left && right ? rules.Int(0, 1) == 0 : left;
    if (goLeft)
        FallChipLeft(ch);
    else
        FalLChipRight(ch);
    return 1;
}

void TM3Game::_updateTileFall(TM3Tile* t)
{
    if (!t || !t->chip || t->isObstacled())
        return;
    if (isChipAvailableToFall(t->chip.get()))
        FallChip(t->chip.get());
    else
        FallSideChip(t);
}

bool TM3Game::isChipMatchedAfterFall(TM3Tile* t)
{
    const auto cells = GetMatchedTiles(t);
    if (cells.empty())
        return false;
    MatchTilesList(cells);
    return true;
}

// ---- EVENTS ----

void TM3Game::ResetEvents()
{
    M3EVENT_ChangedOverTile = 0;
    M3EVENT_SomethingIshappening = 0;
    M3EVENT_NothingHappeningStarts = 0;
    M3EVENT_ObstacleRemove = 0;
    M3EVENT_SwapPerformed = 0;
}

// ---- UPDATING ----

void TM3Game::update()
{
    prevHappening_ = M3EVENT_SomethingIshappening != 0;
    ResetEvents();
    if (!level)
        return;
    _updateTiles();
    _updateChips();
    _updatePairs();
    if (prevHappening_ && !M3EVENT_SomethingIshappening)
        EVENT_NothingHappeningStarts();
}

void TM3Game::_updateTiles()
{
    UnclearedTiles = 0;
    lastOverTile = overTile;
    overTile = nullptr;
    oTile = nullptr;
    for (int r = level->rows - 1; r >= 0; --r)
        for (int c = 0; c < level->cols; ++c) {
            TM3Tile* t = GetTileRC(r, c);
            if (!t || !t->td[0])
                continue;
            t->update();
            UnclearedTiles += t->td[0] ? t->td[0]->youngerId : 0;
            t->CountDrawPosition();
            if (t->isOver())
                overTile = t;
            if (t->chip) {
                t->chip->dOadx = 0;
                t->chip->dOady = 0;
            }
        }
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c)
            if (TM3Tile* t = GetTileRC(r, c); t && t->chip)
                _updateTileFall(t);
    if (overTile != lastOverTile)
        EVENT_ChangedOverTile();
    if (overTile && overTile->chip)
        oTile = overTile;
}

void TM3Game::_updateChips()
{
    ChipsAreMoving = 0;
    for (int r = level->rows - 1; r >= 0; --r)
        for (int c = 0; c < level->cols; ++c) {
            TM3Tile* t = GetTileRC(r, c);
            if (!t || !t->td[0] || !t->chip)
                continue;
            PM3Chip ch = t->chip;
            if (ch->update() == 1) {
                // A fall step ended: fall on, slide, match where it landed, or land.
                ch->state = kChipNothing;
                bool moved = false;
                if (!t->isObstacled()) {
                    if (isChipAvailableToFall(ch.get())) {
                        FallChip(ch.get());
                        moved = true;
                    } else {
                        moved = FallSideChip(t) != 0;
                    }
                }
                if (!moved && !(MatchType == 0 && isChipMatchedAfterFall(t)))
                    ch->StopFall();
            }
            if (ch->isFalling())
                ChipsAreMoving = 1;
        }
}

void TM3Game::_updatePairs()
{
    if (!pairsList.empty())
        EVENT_SomethingIsHappening();
    auto pairs = pairsList; // a pair may end (and leave the list) while updating
    for (auto& p : pairs) {
        if (scr)
            scr->HideHint();
        p->update();
    }
    pairsList.erase(std::remove_if(pairsList.begin(), pairsList.end(), [](const PM3Pair& p) { return p->ended; }),
                    pairsList.end());
}

void TM3Game::UpdateDetached()
{
    for (auto* list : {&dropsList, &screenDropsList}) {
        for (auto& d : *list)
            d->update();
        list->erase(std::remove_if(list->begin(), list->end(), [](const PM3Drop& d) { return d->dead; }), list->end());
    }
    const float ff = FF();
    for (auto& f : fantomsList)
        f->Update(ff);
    fantomsList.erase(std::remove_if(fantomsList.begin(), fantomsList.end(), [](const PM3ChipFantom& f) { return f->dead; }),
                      fantomsList.end());
}

// ---- INPUT ----

void TM3Game::CONTROL_INTERFACE()
{
    switch (MatchType) {
    case 0: _CONTROL_SWAP(); break;
    case 1: _CONTROL_CHAIN(); break;
    case 2: _CONTROL_GROUP(); break;
    default: break;
    }
}

void TM3Game::_CONTROL_SWAP()
{
    gui::TMouse& mouse = gui::Mouse();
    if (mouse.rightPressed) {
        pTile = nullptr;
        return;
    }
    if (pTile && pTile->chip && pTile->chip->isPowerChip() && pTile->chip->isFree()) {
        PM3Chip ch = pTile->chip;
        ch->DestroyAsPowerUp();
        mouse.leftPressed = 0;
        pTile = nullptr;
        holded = 0;
        return;
    }
    if (pTile && holded) {
        Print("SWAP HOLDED");
        if (scr)
            scr->HideHint();
        static const int dirs[4][2] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}};
        const int d = CountDistance(hx, hy, mouse.x, mouse.y);
        if (d >= 0 && d < 4)
            SwapTiles(pTile, GetTileByVector(pTile, dirs[d][0], dirs[d][1]));
        if (!mouse.leftHolded)
            holded = 0;
        return;
    }
    if (oTile && mouse.leftPressed) {
        if (scr)
            scr->HideHint();
        PickTile(oTile);
        Print("Picked tile");
        hx = mouse.x;
        hy = mouse.y;
        holded = 1;
    }
}

void TM3Game::_CONTROL_CHAIN()
{
    gui::TMouse& mouse = gui::Mouse();
    if (mouse.leftHolded) {
        TM3Chip* over = oTile ? oTile->chip.get() : nullptr;
        if (!chainCHip) {
            if (over && mouse.leftPressed) {
                chainCHip = over;
                chainList = {over};
                lastOChip = over;
            }
            return;
        }
        if (over && isChipMatch(over, chainCHip)) {
            if (chainList.size() >= 2 && chainList[chainList.size() - 2] == over)
                chainList.pop_back();
            else if (std::find(chainList.begin(), chainList.end(), over) == chainList.end())
                chainList.push_back(over);
            lastOChip = chainList.back();
        }
        return;
    }
    if (chainCHip) {
        if (chainList.size() > 2)
            MatchChipsList(chainList);
        chainList.clear();
        chainCHip = nullptr;
        lastOChip = nullptr;
    }
}

void TM3Game::_CONTROL_GROUP()
{
    gui::TMouse& mouse = gui::Mouse();
    for (TM3Chip* ch : groupList)
        if (ch->isMoving()) {
            groupList.clear();
            break;
        }
    TM3Chip* over = oTile ? oTile->chip.get() : nullptr;
    if (over && std::find(groupList.begin(), groupList.end(), over) == groupList.end()) {
        groupList.clear();
        for (TM3Tile* t : GroupMatchFinder::FindMatches(this, oTile))
            groupList.push_back(t->chip.get());
    }
    if (overTile == lastOverTile && mouse.leftPressed && groupList.size() > 2) {
        MatchChipsList(groupList);
        groupList.clear();
    }
}

void TM3Game::CHEATS()
{
    if (!cheats)
        return;
    if (platform::KeyHit('E'))
        EVENT_SomethingIsHappening();
    TM3Chip* ch = oTile ? oTile->chip.get() : nullptr;
    if (!ch || !level || level->availableChips.empty())
        return;
    if (platform::KeyHit('N')) {
        auto& list = level->availableChips;
        auto it = std::find(list.begin(), list.end(), ch->cd);
        ch->ChangeInto_NOW(it == list.end() || it + 1 == list.end() ? list.front() : *(it + 1));
    }
    const int powers[3][2] = {{'1', kChipCross}, {'2', kChipLightning}, {'3', kChipBomb}};
    for (const auto& p : powers)
        if (platform::KeyHit(p[0]))
            if (auto kind = GetChipDataById(p[1]))
                ch->ChangeInto_NOW(kind);
}

// ---- DRAWING ----

void TM3Game::draw()
{
    if (!level)
        return;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t->td[0])
                t->draw();
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t->td[0])
                t->DrawFrame();
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t->td[0] && t->chip && !t->myM3FlyingTile)
                t->chip->draw();
    for (size_t i = 0; i < chainList.size(); ++i) {
        chainList[i]->drawInChain();
        if (i > 0) {
            platform::SetColor(255, 0, 255);
            platform::DrawLine(chainList[i - 1]->actDrawX, chainList[i - 1]->actDrawY, chainList[i]->actDrawX,
                               chainList[i]->actDrawY);
            platform::SetColor(255, 255, 255);
        }
    }
    for (TM3Chip* ch : groupList)
        ch->drawInGroup();
    for (auto& row : level->tile)
        for (auto& t : row)
            if (!t->myM3FlyingTile)
                t->drawObstacles();
    for (auto& p : pairsList)
        p->draw();
    for (auto& d : dropsList)
        if (d->update())
            d->draw();
    dropsList.erase(std::remove_if(dropsList.begin(), dropsList.end(), [](const PM3Drop& d) { return d->dead; }),
                    dropsList.end());
    platform::ResetDrawState();
}

void TM3Game::DrawDetached()
{
    const float ff = FF();
    for (auto& f : fantomsList)
        if (f->Update(ff))
            f->Draw(chipLight);
    fantomsList.erase(std::remove_if(fantomsList.begin(), fantomsList.end(), [](const PM3ChipFantom& f) { return f->dead; }),
                      fantomsList.end());
    for (auto& d : screenDropsList)
        if (d->update())
            d->draw();
    screenDropsList.erase(
        std::remove_if(screenDropsList.begin(), screenDropsList.end(), [](const PM3Drop& d) { return d->dead; }),
        screenDropsList.end());
}

// ---- TM3Pair ----

bool TM3Pair::Broken() const
{
    for (int i = 0; i < 2; ++i)
        if (!chips[i] || chips[i]->isDestroyed() || !tile[i] || tile[i]->chip != chips[i])
            return true;
    return false;
}

void TM3Pair::End()
{
    ended = true;
    for (auto& ch : chips)
        if (ch && ch->_pair == this)
            ch->_pair = nullptr;
}

void TM3Pair::Reverse()
{
    if (myM3Game)
        myM3Game->Print("Reverse");
    tile[0]->SetChip(chips[0]);
    tile[1]->SetChip(chips[1]);
    for (int i = 0; i < 2; ++i) {
        std::swap(dimX[i], dDimX[i]);
        std::swap(dimY[i], dDimY[i]);
    }
    state = 2;
    kolejnosc = 1;
    per = 0;
    bylo = 0;
}

bool TM3Pair::update()
{
    if (ended)
        return false;
    // A chip destroyed meanwhile (or one that left its cell) ends the swap
    // where it is: nothing is exchanged, so a chip that fell into the
    // destroyed chip's cell is never overwritten.
    if (Broken()) {
        End();
        return false;
    }
    const float ff = myM3Game ? myM3Game->FF() : 1.0f;
    if (per >= 1 && bylo) {
        if (state == 0) {
            state = 1;
            Check();
        } else {
            End();
        }
        return !ended;
    }
    per = std::min(per + 0.05f * ff, 1.0f);
    if (per >= 1) {
        per = 1;
        bylo = 1;
    }
    p = platform::SinD(90 * per);
    for (int i = 0; i < 2; ++i) {
        actDimX[i] = dimX[i] + (dDimX[i] - dimX[i]) * p;
        actDimY[i] = dimY[i] + (dDimY[i] - dimY[i]) * p;
    }
    return true;
}

void TM3Pair::Check()
{
    TM3Game* g = myM3Game;
    TM3Tile* a = tile[0];
    TM3Tile* b = tile[1];
    a->SetChip(chips[1]);
    b->SetChip(chips[0]);
    g->Print("Checking Match");
    const auto m1 = g->GetMatchedTiles(a);
    const auto m2 = g->GetMatchedTiles(b);
    for (TM3Tile* t : {a, b}) {
        if (t->chip && !t->chip->isDestroyed() && t->chip->isPowerChip()) {
            End();
            PM3Chip ch = t->chip;
            ch->DestroyAsPowerUp();
            return;
        }
    }
    if (m1.empty() && m2.empty()) {
        Reverse();
        return;
    }
    g->PlaySound(29, 1.0f);
    End();
    std::vector<TM3Tile*> doomed;
    auto take = [&](TM3Tile* origin, const std::vector<TM3Tile*>& m) {
        const int power = PowerKindForMatchSize(m.size());
        if (power && g->GetChipDataById(power)) {
            g->CreateBoardPowerUp(origin, m);
            g->PlaySound(6, 1.0f);
            return;
        }
        for (TM3Tile* t : m)
            if (std::find(doomed.begin(), doomed.end(), t) == doomed.end())
                doomed.push_back(t);
    };
    take(a, m1);
    take(b, m2);
    g->Print("Destroying: " + std::to_string(doomed.size()));
    g->MatchTilesList(doomed);
}

void TM3Pair::draw() const
{
    if (ended || !myM3Level)
        return;
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
    platform::SetScale(1, 1);
    platform::SetRotation(0);
    const int order[2][2] = {{0, 1}, {1, 0}};
    for (int i : order[kolejnosc ? 1 : 0])
        if (chips[i] && chips[i]->cd)
            chips[i]->cd->Draw(myM3Level->mx + actDimX[i], myM3Level->my + actDimY[i], 0);
}

} // namespace match3
