// TM3Pair: the swap of two chips, animated, then checked for a match and
// either resolved or swapped back.
#include "match3/m3game.h"

#include <algorithm>
#include <utility>

#include "app/platform/core/system.h"
#include "app/platform/draw.h"

namespace match3 {

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
