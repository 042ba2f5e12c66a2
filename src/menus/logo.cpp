#include "menus/logo.h"

#include <cmath>
#include <string>

#include "app/deltatime.h"
#include "app/paths.h"
#include "app/platform/draw.h"

namespace menus {

namespace {

std::array<platform::ImagePtr, 4>& Pics()
{
    static std::array<platform::ImagePtr, 4> pics;
    return pics;
}

float SinDeg(float deg) { return std::sin(deg * 3.14159265f / 180.0f); }
float CosDeg(float deg) { return std::cos(deg * 3.14159265f / 180.0f); }

void ResetState()
{
    platform::SetColor(255, 255, 255);
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetScale(1, 1);
    platform::SetAlpha(1);
}

void Picture(int n, float x, float y, float alpha = 1)
{
    platform::SetAlpha(alpha);
    platform::DrawImage(Pics()[static_cast<size_t>(n)], x, y);
}

// Where the flourishes stand at progress f (1: meeting the emblem).
float LeftFlourishX(float f) { return TZefarLogo::kAnchorX - 52 - 128 * CosDeg(90 * f); }
float RightFlourishX(float f) { return TZefarLogo::kAnchorX + 52 - 6 + 128 * CosDeg(90 * f); }

constexpr float kEmblemY = TZefarLogo::kAnchorY + TZefarLogo::kSubtitleDrop;

} // namespace

void TZefarLogo::Setup()
{
    for (int n = 0; n < 4; ++n) {
        // The loader names a missing picture on the console; the logo then
        // draws without it.
        auto img = platform::LoadImage(app::GameDir() + "local/" + app::LanguageFolder() + "/gfx/mainMenu/logo-" +
                                       std::to_string(n) + ".png");
        if (img) {
            const float w = static_cast<float>(img->Width()), h = static_cast<float>(img->Height());
            switch (n) {
            case 0: img->SetHandle(w / 2, h / 2 - 6); break;
            case 1: img->MidHandle(); break;
            case 2: img->SetHandle(w, h / 2); break;
            default: img->SetHandle(0, h / 2); break;
            }
        }
        Pics()[static_cast<size_t>(n)] = std::move(img);
    }
}

const std::array<platform::ImagePtr, 4>& TZefarLogo::Pictures() { return Pics(); }

// ---- DRAWING ----

void TZefarLogo::Draw_LogoShow()
{
    Picture(0, kAnchorX, kAnchorY - 200 * CosDeg(90 * Per));
}

void TZefarLogo::Draw_II()
{
    Picture(0, kAnchorX, kAnchorY);
    // A flash that swells and fades: the emblem and three additive copies.
    float f;
    float firstAlpha;
    if (Per <= 0.65f) {
        f = SinDeg(90 * Per / 0.65f);
        firstAlpha = f;
    } else {
        f = SinDeg(90 * (1 - (Per - 0.65f) / 0.35f));
        firstAlpha = 1;
    }
    Picture(1, kAnchorX, kEmblemY, firstAlpha);
    platform::SetBlend(platform::kBlendAdditive);
    Picture(1, kAnchorX, kEmblemY, f);
    platform::SetColor(255, 0, 0);
    platform::SetScale(1 + 0.2f * f, 1 + 0.2f * f);
    Picture(1, kAnchorX, kEmblemY, f);
    platform::SetColor(255, 150, 0);
    platform::SetScale(1 + 0.1f * f, 1 + 0.1f * f);
    Picture(1, kAnchorX, kEmblemY, f);
    ResetState();
}

void TZefarLogo::Draw_LogoAndII()
{
    Picture(0, kAnchorX, kAnchorY);
    Picture(1, kAnchorX, kEmblemY);
}

void TZefarLogo::Draw_Texts()
{
    Draw_LogoAndII();
    const float a = SinDeg(90 * Per);
    Picture(2, LeftFlourishX(Per), kEmblemY, a);
    Picture(3, RightFlourishX(Per), kEmblemY - 4, a);
    platform::SetAlpha(1);
}

void TZefarLogo::Draw_All()
{
    Draw_LogoAndII();
    Picture(2, LeftFlourishX(1), kEmblemY);
    Picture(3, RightFlourishX(1), kEmblemY - 4);
}

void TZefarLogo::Draw()
{
    ResetState();
    switch (State) {
    case 0:
    case 1: Draw_LogoShow(); break;
    case 2: Draw_II(); break;
    case 3: Draw_LogoAndII(); break;
    case 4: Draw_Texts(); break;
    default: Draw_All(); break;
    }
    DrawLights();
    ResetState();
}

// ---- UPDATING ----

void TZefarLogo::Update_LogoShow()
{
    if (State == 0) {
        Per += 0.01f * app::FrameFactor();
        if (Per >= 1) {
            Per = 1;
            State = 1;
            Time = app::AppClock() + 250;
        }
    } else {
        State = 2;
        Per = 0;
    }
}

void TZefarLogo::Update_II()
{
    if (State == 2) {
        Per += 0.005f * app::FrameFactor();
        if (Per >= 1) {
            Per = 1;
            State = 3;
            Time = app::AppClock() + 500;
        }
    } else {
        State = 4;
        Per = 0;
    }
}

void TZefarLogo::Update_Texts()
{
    Per += 0.02f * app::FrameFactor();
    if (Per >= 1) {
        Per = 1;
        State = 5;
    }
}

void TZefarLogo::Update()
{
    if (app::AppClock() < Time)
        return;
    switch (State) {
    case 0:
    case 1: Update_LogoShow(); break;
    case 2:
    case 3: Update_II(); break;
    case 4: Update_Texts(); break;
    default: break;
    }
}

} // namespace menus
