// The match-three controller's core: loading a level, finding cells and
// kinds, the board state, events, the per-frame update order and drawing.
// Matching, commands, gravity, input and the swap pair have files of their own.
#include "match3/m3game.h"

#include <algorithm>
#include <cmath>

#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "fx/timing.h"

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

} // namespace match3
