// Gravity: which cells a chip may fall into, straight down or to the side,
// and the calls that start a fall.
#include "match3/m3game.h"

namespace match3 {

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

} // namespace match3
