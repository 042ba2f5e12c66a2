// Drawing the level play screen: background, board, hint, flying cells,
// captions, the time bar and the power-up cursors.
#include "level/maingame.h"

#include <cmath>

#include "app/platform/draw.h"
#include "citymap/backgrounds.h"
#include "gui/mouse.h"

namespace level {

namespace {

constexpr int kTimeBarHeight = 304;

float SinD(float deg) { return std::sin(deg * 3.14159265f / 180.0f); }
float CosD(float deg) { return std::cos(deg * 3.14159265f / 180.0f); }

} // namespace

// ---- DRAWING ----

void TMainGame::AdvanceWithoutDrawing()
{
    Game->UpdateDetached();
    if (CurrHint && CurrHint->Update(Now(), FF(), gui::Mouse().leftPressed != 0))
        CurrHint.reset();
    Captions.UpdateAndDraw(Now(), FF(), false);
}

void TMainGame::OnDraw()
{
    if (Background) {
        platform::ResetDrawState();
        Background->Draw(FF());
    }
    if (!Level)
        return;
    Game->draw();
    if (CurrHint) {
        CurrHint->Draw(Now(), FF(), gui::Mouse().leftPressed != 0);
        if (CurrHint->Alpha <= 0 && CurrHint->Time == 0)
            CurrHint.reset();
    }
    FlyObjects.Draw();
    Game->DrawDetached();
    platform::ResetDrawState();
}

void TMainGame::OnDrawEnd()
{
    Captions.UpdateAndDraw(Now(), FF(), true);
    DrawCursor();
    platform::ResetDrawState();
}

void TMainGame::DrawTimeLine()
{
    if (!TimeLine || !TimeBarImage || !isTimed())
        return;
    const auto& img = TimeBarImage;
    const float w = static_cast<float>(img->Width());
    const float shown = std::round(static_cast<float>(kTimeBarHeight) * TimeLineCurrPer);
    if (shown <= 0)
        return;
    const float top = static_cast<float>(kTimeBarHeight) - shown;
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
    platform::SetBlend(platform::kBlendAlpha);
    platform::DrawImageRect(img, TimeLine->x, TimeLine->y + top, w, shown, 0, top, w, shown, 0, 0);
}

void TMainGame::DrawCursor()
{
    auto& mouse = gui::Mouse();
    platform::ResetDrawState();
    switch (Mode) {
    case MODE_HAMMER_STRIKE: {
        if (!HammerSlamTile || !Cursor[0])
            return;
        HammerSlamTile->CountDrawPosition();
        const float p = HammerPer;
        float rot = 0, alpha = 1;
        if (p <= 0.5f)
            rot = 64 * SinD(90 * p / 0.5f);
        else if (p <= 0.8f)
            rot = 64 - (1 - CosD(90 * (p - 0.5f) / 0.3f)) * 96;
        else {
            rot = -32;
            alpha = 1 - (p - 0.8f) / 0.2f;
        }
        platform::SetRotation(rot);
        platform::SetAlpha(alpha);
        platform::DrawImage(Cursor[0], HammerSlamTile->ActDrawX + CurAdX, HammerSlamTile->actDrawY + curAdY);
        break;
    }
    case MODE_HAMMER:
        if (Cursor[0])
            platform::DrawImage(Cursor[0], mouse.x + CurAdX, mouse.y + curAdY);
        break;
    case MODE_ROW:
        if (PistolImage)
            platform::DrawImage(PistolImage, mouse.x, mouse.y);
        break;
    case MODE_POTION:
        if (Cursor[1])
            platform::DrawImage(Cursor[1], mouse.x, mouse.y);
        break;
    case MODE_BOOK:
        if (Cursor[5])
            platform::DrawImage(Cursor[5], mouse.x, mouse.y);
        break;
    default:
        break;
    }
    platform::ResetDrawState();
}

} // namespace level
