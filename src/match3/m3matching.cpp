// Which chips match, which swaps are allowed and productive, the moves left
// on the board and the hint drawn from them.
#include "match3/m3game.h"

#include <cmath>
#include <utility>

namespace match3 {

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

} // namespace match3
