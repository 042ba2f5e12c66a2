// What the controller does to the board: picking and swapping cells, matching
// lists of cells or chips, power chips firing, lighting up and releasing coins.
#include "match3/m3game.h"

#include <algorithm>
#include <cmath>

#include "app/platform/core/system.h"

namespace match3 {

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

} // namespace match3
