// Mouse input for the three ways of matching (swap, chain, group) and the
// developer keys that change the chip under the mouse.
#include "match3/m3game.h"

#include <algorithm>

#include "app/platform/input.h"
#include "gui/mouse.h"

namespace match3 {

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

} // namespace match3
