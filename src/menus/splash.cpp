#include "menus/splash.h"

#include <algorithm>
#include <string>

#include "app/control.h"
#include "app/deltatime.h"
#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/display.h"
#include "app/platform/draw.h"
#include "app/platform/input.h"
#include "gui/mouse.h"

namespace menus {

namespace {
constexpr int kMaxCards = 5;

void CallHook(const std::function<void()>& hook)
{
    if (hook)
        hook();
}
} // namespace

void TSplash::Setup()
{
    images.clear();
    for (int n = 0; n < kMaxCards; ++n) {
        const std::string base = app::GameDir() + "Splash/Splash" + std::to_string(n);
        std::string path;
        if (platform::FileExists(base + ".png"))
            path = base + ".png";
        else if (platform::FileExists(base + ".jpg"))
            path = base + ".jpg";
        else
            continue;
        // A card that cannot be decoded is named on the console by the loader
        // and left out.
        if (platform::ImagePtr img = platform::LoadImage(path)) {
            img->MidHandle();
            images.push_back(std::move(img));
        }
    }
    actN = 0;
}

// ---- UPDATING ----

void TSplash::Start()
{
    actN = 0;
    fade = 1;
    dFade = 0;
    nextFrame = app::AppClock() + timeFrame;
}

void TSplash::UpdateFade()
{
    const float step = fSpeed * app::FrameFactor();
    if (fade < dFade)
        fade = std::min(dFade, fade + step);
    else if (fade > dFade)
        fade = std::max(dFade, fade - step);
}

void TSplash::Advance()
{
    UpdateFade();
    const int64_t now = app::AppClock();
    if (now > nextFrame)
        dFade = 1;
    if (fade >= 1 && dFade >= 1 && actN < static_cast<int>(images.size())) {
        ++actN;
        nextFrame = now + timeFrame;
        if (actN < static_cast<int>(images.size()))
            dFade = 0;
    }
}

void TSplash::Update()
{
    // The main loop's frame step: automation, timing and events, sound, mouse.
    const app::Control::Hooks& hooks = app::Control::GetHooks();
    CallHook(hooks.beginFrame);
    app::UpdateDeltaTime();
    CallHook(hooks.soundUpdate);
    gui::Mouse().Update();
    Advance();
}

bool TSplash::Over() const
{
    return fade >= 1 && dFade >= 1 && actN >= static_cast<int>(images.size());
}

// ---- DRAWING ----

void TSplash::Draw()
{
    if (actN < 0 || actN >= static_cast<int>(images.size()))
        return;
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
    platform::SetBlend(platform::kBlendAlpha);
    platform::DrawImage(images[static_cast<size_t>(actN)], 512, 384);
    platform::SetColor(0, 0, 0);
    platform::SetAlpha(fade);
    platform::DrawRect(-1000, -1000, 3000, 2000);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
}

bool TSplash::Mainloop()
{
    if (images.empty())
        return true;
    Start();
    app::ResetDeltaTime();
    app::SetDesignOrigin(app::Control::WideLayout() ? 171.0f : 0.0f, 0.0f);
    while (true) {
        platform::Cls();
        Update();
        if (platform::CloseRequested())
            return false;
        Draw();
        app::SetDesignOrigin(app::Control::WideLayout() ? 171.0f : 0.0f, 0.0f);
        platform::Flip();
        CallHook(app::Control::GetHooks().endFrame);
        if (gui::Mouse().leftPressed > 0)
            Click();
        if (Over())
            return true;
    }
}

} // namespace menus
