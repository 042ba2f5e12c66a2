// Drops, fantoms and the reshuffle arrangement.
#include "match3/m3effects.h"

#include <sstream>

#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "match3/m3game.h"

namespace match3 {

namespace {
constexpr float kScreenHeight = 768;
}

// ---- TM3Drop ----

bool TM3Drop::update()
{
    if (dead)
        return false;
    const float ff = myM3Game ? myM3Game->FF() : 1.0f;
    if (Alpha < dAlpha) {
        Alpha = std::min(Alpha + 0.05f * ff, dAlpha);
    } else if (Alpha > dAlpha) {
        Alpha = std::max(Alpha - 0.05f * ff, dAlpha);
        if (Alpha == dAlpha) {
            dead = true;
            if (obj)
                obj->Free();
            return false;
        }
    }
    x += ax * ff;
    y += speed * ff;
    speed = std::min(speed + 0.2f * ff, 18.0f);
    if (isRotating)
        rot += RotSpeed * ff;
    if (!obj || !obj->cd) {
        dead = true;
        return false;
    }
    const gui::PImg pic = obj->cd->GetGFX(0);
    const float picH = pic ? gui::ImgHeight(pic) : 0.0f;
    if (speed > 0 && y > kScreenHeight + picH)
        Repulse();
    return true;
}

void TM3Drop::Repulse()
{
    isRotating = 1;
    platform::Random& rng = myM3Game ? myM3Game->looks : platform::Rng();
    RotSpeed = rng.Float(1.0f, 2.0f) * (rng.Int(0, 1) == 0 ? -1.0f : 1.0f);
    if (speed < 4)
        dAlpha = 0;
    speed = -speed * 0.5f;
}

void TM3Drop::draw() const
{
    if (dead || !obj || !obj->cd)
        return;
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetScale(1, 1);
    platform::SetRotation(rot);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(Alpha);
    obj->cd->Draw(x, y, 0);
    platform::ResetDrawState();
}

// ---- TM3ChipFantom ----

bool TM3ChipFantom::Update(float frameFactor)
{
    if (dead)
        return false;
    if (per == 1) {
        dead = true;
        if (c) {
            c->myFantom = nullptr;
            c->Free();
        }
        return false;
    }
    per = std::min(per + speed * frameFactor, 1.0f);
    const float a = Angle + 360 * per;
    x = cx + (1 - per) * Dist * platform::CosD(a);
    y = cy + (1 - per) * Dist * platform::SinD(a);
    return true;
}

void TM3ChipFantom::Draw(const gui::PImg& chipLight) const
{
    if (dead || !c || !c->cd)
        return;
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetColor(255, 255, 255);
    platform::SetRotation(0);
    platform::SetAlpha(1 - per);
    platform::SetScale(1 - per, 1 - per);
    c->cd->Draw(x, y, 0);
    if (chipLight) {
        platform::SetBlend(platform::kBlendAdditive);
        platform::SetScale(1, 1);
        platform::SetAlpha(per <= 0.5f ? per / 0.5f * 0.5f : (1 - (per - 0.5f) / 0.5f) * 0.5f);
        chipLight->draw(x, y);
    }
    platform::ResetDrawState();
}

// ---- M3ChipRandomizer ----

bool M3ChipRandomizer::MakesLine(const std::vector<std::vector<int>>& a, int r, int c, int id)
{
    auto at = [&](int rr, int cc) {
        if (rr < 0 || cc < 0 || static_cast<size_t>(rr) >= a.size() || static_cast<size_t>(cc) >= a[static_cast<size_t>(rr)].size())
            return 0;
        return a[static_cast<size_t>(rr)][static_cast<size_t>(cc)];
    };
    auto same = [&](int r1, int c1, int r2, int c2) { return at(r1, c1) == id && at(r2, c2) == id; };
    return same(r - 1, c, r + 1, c) || same(r + 1, c, r + 2, c) || same(r - 1, c, r - 2, c) ||
           same(r, c - 1, r, c + 1) || same(r, c + 1, r, c + 2) || same(r, c - 1, r, c - 2);
}

std::vector<std::vector<int>> M3ChipRandomizer::RandomizeArray(int rows, int cols, const std::string& ids,
                                                               platform::Random& rng)
{
    std::vector<int> kinds;
    std::istringstream in(ids);
    for (std::string s; in >> s;) {
        try {
            kinds.push_back(std::stoi(s));
        } catch (...) {
        }
    }
    std::vector<std::vector<int>> a(static_cast<size_t>(std::max(rows, 0)),
                                    std::vector<int>(static_cast<size_t>(std::max(cols, 0)), 0));
    if (kinds.empty())
        return a;
    std::vector<int> allowed;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            allowed.clear();
            for (int k : kinds)
                if (!MakesLine(a, r, c, k))
                    allowed.push_back(k);
            const std::vector<int>& pool = allowed.empty() ? kinds : allowed;
            a[static_cast<size_t>(r)][static_cast<size_t>(c)] =
                pool[static_cast<size_t>(rng.Int(1, static_cast<int>(pool.size())) - 1)];
        }
    }
    return a;
}

} // namespace match3
