// Line finder, group finder and the hint.
#include "match3/m3finder.h"

#include <deque>

#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "match3/m3game.h"

namespace match3 {

namespace {

constexpr int kMaxWalk = 10; // cells walked in each direction from the origin

bool Qualifies(const TM3Game* game, const TM3Tile* t, const TM3Chip* origin)
{
    return t && t->chip && game->isChipMatch(t->chip.get(), origin) && !t->isNonMatchObstacled();
}

void Walk(const TM3Game* game, const TM3Tile* from, int dr, int dc, const TM3Chip* origin,
          std::vector<TM3Tile*>& out)
{
    for (int k = 1; k <= kMaxWalk; ++k) {
        TM3Tile* t = game->GetTileRC(from->r + dr * k, from->c + dc * k);
        if (!Qualifies(game, t, origin))
            return;
        out.push_back(t);
    }
}

} // namespace

namespace SwapMatchFinder {

std::vector<TM3Tile*> FindMatches(const TM3Game* game, TM3Tile* cell)
{
    if (!game || !cell || !cell->chip || !cell->chip->cd || !game->level)
        return {};
    // A chip held by a non-matching obstacle takes no part in matches, also
    // when it is the one that just landed or moved.
    if (cell->isNonMatchObstacled())
        return {};
    const TM3Chip* origin = cell->chip.get();
    std::vector<TM3Tile*> vertical, horizontal;
    Walk(game, cell, -1, 0, origin, vertical);
    Walk(game, cell, 1, 0, origin, vertical);
    Walk(game, cell, 0, -1, origin, horizontal);
    Walk(game, cell, 0, 1, origin, horizontal);
    if (vertical.size() < 2)
        vertical.clear();
    if (horizontal.size() < 2)
        horizontal.clear();
    std::vector<TM3Tile*> out{cell};
    out.insert(out.end(), vertical.begin(), vertical.end());
    out.insert(out.end(), horizontal.begin(), horizontal.end());
    if (out.size() < 3)
        return {};
    return out;
}

} // namespace SwapMatchFinder

namespace GroupMatchFinder {

std::vector<TM3Tile*> FindMatches(const TM3Game* game, TM3Tile* cell)
{
    if (!game || !cell || !cell->chip || !cell->chip->cd || !cell->chip->isDoingNothing())
        return {};
    const TM3Chip* origin = cell->chip.get();
    std::vector<TM3Tile*> group{cell};
    cell->FinderInt = 1;
    std::deque<TM3Tile*> queue;
    static const int dirs[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    auto enqueue = [&](TM3Tile* from) {
        for (const auto& d : dirs) {
            TM3Tile* n = game->GetTileRC(from->r + d[0], from->c + d[1]);
            if (n && n->FinderInt == 0 && n->chip && n->chip->isDoingNothing() && !n->isNonMatchObstacled()) {
                n->FinderInt = 1;
                queue.push_back(n);
            }
        }
    };
    enqueue(cell);
    while (!queue.empty()) {
        TM3Tile* t = queue.front();
        queue.pop_front();
        if (game->isChipMatch(t->chip.get(), origin)) {
            group.push_back(t);
            enqueue(t);
        }
    }
    if (group.size() < 3)
        return {};
    return group;
}

} // namespace GroupMatchFinder

int PowerKindForMatchSize(size_t cells)
{
    switch (cells) {
    case 5:
    case 8: return kChipCross;
    case 6: return kChipLightning;
    case 7: return kChipBomb;
    default: return 0;
    }
}

// ---- TSwapHint ----

void TSwapHint::Set(std::shared_ptr<TM3Chip> a, std::shared_ptr<TM3Chip> b, int64_t now)
{
    Chip1 = std::move(a);
    Chip2 = std::move(b);
    if (Chip1) {
        Chip1->CountDrawPosition();
        x1 = static_cast<int>(Chip1->actDrawX);
        y1 = static_cast<int>(Chip1->actDrawY);
    }
    if (Chip2) {
        Chip2->CountDrawPosition();
        x2 = static_cast<int>(Chip2->actDrawX);
        y2 = static_cast<int>(Chip2->actDrawY);
    }
    rot1 = static_cast<int>(platform::Atan2D(static_cast<float>(y2 - y1), static_cast<float>(x2 - x1)));
    rot2 = rot1 + 180;
    p1 = CreatePulsar(0.1f, 1);
    p2 = CreatePulsar(0.1f, 1);
    createdAt = now;
    Time = now + 3000;
    Alpha = 0;
    dAlpha = 1;
}

bool TSwapHint::Update(int64_t now, float frameFactor, bool leftPressed)
{
    int cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
    if (Chip1) {
        Chip1->CountDrawPosition();
        cx1 = static_cast<int>(Chip1->actDrawX);
        cy1 = static_cast<int>(Chip1->actDrawY);
    }
    if (Chip2) {
        Chip2->CountDrawPosition();
        cx2 = static_cast<int>(Chip2->actDrawX);
        cy2 = static_cast<int>(Chip2->actDrawY);
    }
    if (cx1 != cx2 && cy1 != cy2) {
        Alpha = 0;
        dAlpha = 0;
    }
    if (leftPressed)
        Time = 0;
    const float step = 0.05f * frameFactor;
    if (Alpha < dAlpha)
        Alpha = std::min(Alpha + step, dAlpha);
    else if (Alpha > dAlpha)
        Alpha = std::max(Alpha - step, dAlpha);
    if (now > Time)
        dAlpha = 0;
    return Alpha == 0 && dAlpha == 0;
}

void TSwapHint::Draw(int64_t now, float frameFactor, bool leftPressed)
{
    Update(now, frameFactor, leftPressed);
    p1.Update();
    p2.Update();
    if (!arrow || Alpha <= 0)
        return;
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetColor(255, 255, 255);
    platform::SetScale(1, 1);
    platform::SetAlpha(Alpha);
    const float s1 = platform::SinD(90 * p1.p), s2 = platform::SinD(90 * p2.p);
    const float r1 = static_cast<float>(rot1), r2 = static_cast<float>(rot2);
    const float d = 16;
    if (x1 == x2) {
        platform::SetRotation(r1);
        arrow->draw(x1 + d + d * platform::CosD(r1) * s1, y1 + d * platform::SinD(r1) * s1);
        platform::SetRotation(r2);
        arrow->draw(x2 - d + d * platform::CosD(r2) * s2, y2 + d * platform::SinD(r2) * s2);
    } else {
        platform::SetRotation(r1);
        arrow->draw(x1 + d * platform::CosD(r1) * s1, y1 + d + d * platform::SinD(r1) * s1);
        platform::SetRotation(r2);
        arrow->draw(x2 + d * platform::CosD(r2) * s2, y2 - d + d * platform::SinD(r2) * s2);
    }
    platform::ResetDrawState();
}

} // namespace match3
