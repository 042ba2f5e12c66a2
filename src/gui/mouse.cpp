#include "gui/mouse.h"

#include "app/control.h"
#include "app/platform/draw.h"
#include "app/platform/input.h"

namespace gui {

namespace {
// In the wide layout the 1024-wide design area starts this far into the
// 1366-wide virtual screen.
constexpr float kWideLeft = 171;
} // namespace

TMouse& Mouse()
{
    static TMouse mouse;
    return mouse;
}

// ---- UPDATING ----

void TMouse::update()
{
    const float oldX = x, oldY = y, oldZ = z;
    x = platform::MouseX();
    y = platform::MouseY();
    if (app::Control::WideLayout())
        x -= kWideLeft;
    leftPressed = platform::MouseHit(platform::kMouseLeft);
    rightPressed = platform::MouseHit(platform::kMouseRight);
    midPressed = platform::MouseHit(platform::kMouseMiddle);
    leftHolded = platform::MouseDown(platform::kMouseLeft) ? 1 : 0;
    rightHolded = platform::MouseDown(platform::kMouseRight) ? 1 : 0;
    midHolded = platform::MouseDown(platform::kMouseMiddle) ? 1 : 0;
    z = static_cast<float>(platform::MouseWheel());
    // After clear() the remembered position is the off-screen parking spot,
    // not a place the pointer was: report no jump from there.
    vx = cleared_ ? 0 : x - oldX;
    vy = cleared_ ? 0 : y - oldY;
    vz = z - oldZ;
    cleared_ = false;
}

void TMouse::clear()
{
    leftPressed = rightPressed = midPressed = 0;
    leftHolded = rightHolded = midHolded = 0;
    x = -1000;
    y = -1000;
    cleared_ = true;
}

// ---- SETTING ----

void TMouse::Custom()
{
    isCustom = 1;
    platform::HidePointer();
}

void TMouse::Normal()
{
    isCustom = 0;
    platform::ShowPointer();
}

// ---- DRAWING ----

void TMouse::draw()
{
    platform::SetScale(1, 1);
    platform::SetRotation(0);
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetAlpha(1);
    if (isCustom)
        platform::DrawImage(cur, x, y);
}

} // namespace gui
