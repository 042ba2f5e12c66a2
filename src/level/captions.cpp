#include "level/captions.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/paths.h"
#include "app/platform/draw.h"

namespace level {

namespace {

std::array<gui::PImg, kCaptionPictures>& Pictures()
{
    static std::array<gui::PImg, kCaptionPictures> pics;
    return pics;
}

float SinD(float deg) { return std::sin(deg * 3.14159265f / 180.0f); }
float CosD(float deg) { return std::cos(deg * 3.14159265f / 180.0f); }

} // namespace

void LoadCaptionPictures()
{
    static const char* files[kCaptionPictures] = {"Go.png", "GetReady.png", "Completed.png", "NoMatch.png",
                                                  "TimesUp.png"};
    for (int i = 0; i < kCaptionPictures; ++i) {
        auto img = gui::LoadImg(app::LocalDir() + "gfx/captions/" + files[i]);
        gui::MidHandleImg(img);
        Pictures()[static_cast<size_t>(i)] = img;
    }
}

gui::PImg CaptionPicture(int n)
{
    if (n < 0 || n >= kCaptionPictures)
        return nullptr;
    return Pictures()[static_cast<size_t>(n)];
}

// ---- TCaption ----

bool TCaption::CheckAvailable(int64_t now)
{
    if (now < StartTime)
        return false;
    if (!begun) {
        begun = true;
        BeginTime = now;
    }
    CountPer(now);
    return true;
}

void TCaption::CountPer(int64_t now)
{
    if (per == 1.0f)
        removed = true; // still updated and drawn this frame
    per = LifeTime > 0 ? std::min(1.0f, static_cast<float>(now - BeginTime) / static_cast<float>(LifeTime)) : 1.0f;
}

void TCaption::draw() const
{
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(alpha);
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetRotation(rot);
    platform::SetScale(scalex, scaley);
    gui::DrawImg(CaptionPicture(n), x, y);
    platform::ResetDrawState();
}

bool TCaption::CheckPer(float from, float to, const std::function<void(float)>& fn) const
{
    if (per < from || per > to)
        return false;
    fn((per - from) / (to - from));
    return true;
}

// ---- kinds ----

TBeginCaption::TBeginCaption(int64_t now)
{
    n = kCapGetReady;
    StartTime = now + 750;
    LifeTime = 3000;
    x = -488;
    alpha = 0;
}

void TBeginCaption::update(float)
{
    scalex = scaley = 1;
    rot = 0;
    CheckPer(0, 0.25f, [&](float q) {
        x = -488 + 950 * SinD(90 * q);
        alpha = q;
    }) || CheckPer(0.25f, 0.75f, [&](float q) {
        alpha = 1;
        x = 462 + 100 * q;
    }) || CheckPer(0.75f, 1, [&](float q) {
        alpha = 1 - q;
        x = 562 + 950 * SinD(90 * q);
    });
}

TBeginGoCaption::TBeginGoCaption(int64_t now)
{
    n = kCapGo;
    StartTime = now + 3000;
    LifeTime = 2000;
    alpha = 0;
}

void TBeginGoCaption::update(float ff)
{
    CheckPer(0, 0.5f, [&](float q) {
        LastUpdated = 1;
        rot = 1440 * SinD(90 * q);
        alpha = SinD(90 * q);
        scalex = scaley = SinD(90 * q) + 0.25f * CosD(90 * q);
    }) || CheckPer(0.5f, 0.7f, [&](float) {
        if (LastUpdated == 1 && playSound)
            playSound(20);
        LastUpdated = 2;
    }) || CheckPer(0.7f, 1, [&](float q) {
        const float u = 1 - q;
        rot = 720 * SinD(90 * u);
        alpha = SinD(90 * u);
        scalex = scaley = SinD(90 * u) + 0.25f * CosD(90 * u);
    });
    y -= 0.5f * ff;
}

TWinCaption::TWinCaption(int64_t now)
{
    n = kCapCompleted;
    StartTime = now + 100;
    LifeTime = 3000;
    alpha = 0;
}

void TWinCaption::update(float ff)
{
    CheckPer(0, 0.33f, [&](float q) {
        alpha = SinD(90 * q);
        scalex = scaley = 1 + 0.25f * CosD(360 * q);
    }) || CheckPer(0.33f, 0.66f, [&](float q) {
        scalex = scaley = 1 + 0.25f * CosD(360 * q);
    }) || CheckPer(0.66f, 1, [&](float q) {
        const float u = 1 - q;
        alpha = SinD(90 * u);
        scalex = scaley = 1 + 0.25f * CosD(360 * u);
    });
    y -= 0.5f * ff;
}

TLoseCaption::TLoseCaption(int64_t now)
{
    n = kCapTimesUp;
    StartTime = now;
    LifeTime = 2000;
    y = 120;
    alpha = 0;
}

void TLoseCaption::update(float) { alpha = SinD(90 * per); }

TNoMovesCaption::TNoMovesCaption(int64_t now)
{
    n = kCapNoMatch;
    StartTime = now;
    LifeTime = 3000;
    alpha = 0;
}

void TNoMovesCaption::update(float) { alpha = SinD(180 * per); }

// ---- TCaptionList ----

void TCaptionList::UpdateAndDraw(int64_t now, float ff, bool drawing)
{
    // Walk by index over a copy of the handles: a caption leaving the list
    // never disturbs the walk.
    const std::vector<PCaption> walk = items;
    for (const PCaption& c : walk) {
        if (!c->CheckAvailable(now))
            continue;
        c->update(ff);
        if (drawing)
            c->draw();
    }
    items.erase(std::remove_if(items.begin(), items.end(), [](const PCaption& c) { return c->removed; }),
                items.end());
}

} // namespace level
