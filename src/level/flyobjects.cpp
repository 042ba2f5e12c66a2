#include "level/flyobjects.h"

#include <algorithm>
#include <cmath>

#include "app/platform/draw.h"
#include "match3/m3level.h"

namespace level {

namespace {

float Bezier(float a, float b, float c, float d, float t)
{
    const float u = 1 - t;
    return u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d;
}

} // namespace

// ---- TFlyingTile ----

TFlyingTile::TFlyingTile(match3::TM3Tile* t, int64_t start, int durationMs)
    : tile(t), startTime(start), duration(std::max(1, durationMs))
{
    if (tile)
        tile->myM3FlyingTile = this;
}

void TFlyingTile::SetPath(float sx, float sy, float c1x, float c1y, float c2x, float c2y, float ex, float ey)
{
    p0x = sx;
    p0y = sy;
    p1x = c1x;
    p1y = c1y;
    p2x = c2x;
    p2y = c2y;
    p3x = ex;
    p3y = ey;
    x = sx;
    y = sy;
}

bool TFlyingTile::Update(int64_t now)
{
    if (!tile)
        return false;
    if (now >= startTime) {
        per = std::min(1.0f, static_cast<float>(now - startTime) / static_cast<float>(duration));
        const float e = std::sin(per * 3.14159265f / 2);
        x = Bezier(p0x, p1x, p2x, p3x, e);
        y = Bezier(p0y, p1y, p2y, p3y, e);
        rot = endRot * e;
    }
    if (per >= 1) {
        arrived = true;
        if (!kept) {
            Release();
            return false;
        }
    }
    return true;
}

void TFlyingTile::Draw() const
{
    if (!tile || !tile->td[0])
        return;
    tile->CountDrawPosition();
    const float px = tile->ActDrawX + x, py = tile->actDrawY + y;
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
    platform::SetScale(1, 1);
    platform::SetRotation(rot);
    tile->td[0]->Draw(px, py);
    tile->td[0]->Draw(px, py);
    if (tile->td[1])
        tile->td[1]->Draw(px, py);
    if (tile->chip && tile->chip->cd && !tile->chip->myFlyOut)
        tile->chip->cd->Draw(px, py, 0);
    tile->drawObstaclesAt(px, py);
    platform::ResetDrawState();
}

void TFlyingTile::Release()
{
    if (tile && tile->myM3FlyingTile == this)
        tile->myM3FlyingTile = nullptr;
    tile = nullptr;
}

// ---- TChipFlip ----

TChipFlip::TChipFlip(match3::PM3Chip c, match3::PM3ChipData kind, int64_t start)
    : chip(std::move(c)), newKind(std::move(kind)), startTime(start)
{
    if (chip)
        chip->myFlyOut = this;
}

bool TChipFlip::Update(int64_t now)
{
    if (!chip)
        return false;
    if (now < startTime)
        return true;
    const float per = std::min(1.0f, static_cast<float>(now - startTime) / static_cast<float>(duration));
    if (per >= 0.5f && !changed) {
        changed = true;
        if (newKind)
            chip->ChangeInto_NOW(newKind);
    }
    scale = per < 0.5f ? 1 - per * 2 : (per - 0.5f) * 2;
    if (per >= 1) {
        arrived = true;
        Release();
        return false;
    }
    return true;
}

void TChipFlip::Draw() const
{
    if (!chip || !chip->cd || !chip->myTile)
        return;
    chip->myTile->CountDrawPosition();
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
    platform::SetRotation(0);
    platform::SetScale(scale, scale);
    chip->cd->Draw(chip->myTile->ActDrawX, chip->myTile->actDrawY, 0);
    platform::ResetDrawState();
}

void TChipFlip::Release()
{
    if (chip) {
        if (!changed && newKind)
            chip->ChangeInto_NOW(newKind);
        if (chip->myFlyOut == this)
            chip->myFlyOut = nullptr;
    }
    chip.reset();
}

// ---- TFlyList ----

void TFlyList::Update(int64_t now)
{
    const auto walk = items;
    std::vector<TFlyObject*> done;
    for (const auto& f : walk)
        if (!f->Update(now))
            done.push_back(f.get());
    items.erase(std::remove_if(items.begin(), items.end(),
                               [&](const std::shared_ptr<TFlyObject>& f) {
                                   return std::find(done.begin(), done.end(), f.get()) != done.end();
                               }),
                items.end());
}

void TFlyList::Draw() const
{
    for (const auto& f : items)
        f->Draw();
}

void TFlyList::Clear()
{
    for (const auto& f : items)
        f->Release();
    items.clear();
}

size_t TFlyList::KeptCount() const
{
    return static_cast<size_t>(
        std::count_if(items.begin(), items.end(), [](const auto& f) { return f->kept && f->arrived; }));
}

} // namespace level
