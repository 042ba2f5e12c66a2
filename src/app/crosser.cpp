#include "app/crosser.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/control.h"
#include "app/deltatime.h"
#include "app/paths.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"

namespace app {

namespace {

// More chained requests than this at one switch means a function keeps asking
// for yet another switch; the rest are dropped.
constexpr int kMaxChainedFunctions = 16;

// A dark ring drawn in code when TransDark.png is missing: clear in the
// middle, black towards the edges.
platform::ImagePtr MakeStandInDark()
{
    constexpr int kSize = 128;
    std::vector<uint8_t> rgba(kSize * kSize * 4, 0);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float dx = (x + 0.5f) / kSize * 2 - 1;
            const float dy = (y + 0.5f) / kSize * 2 - 1;
            const float r = std::sqrt(dx * dx + dy * dy);
            float a = (r - 0.7f) / 0.3f;
            a = a < 0 ? 0 : (a > 1 ? 1 : a);
            rgba[(y * kSize + x) * 4 + 3] = static_cast<uint8_t>(a * 255);
        }
    return platform::CreateImage(kSize, kSize, std::move(rgba), platform::kImageFiltered);
}

} // namespace

std::shared_ptr<TCrosser>& Crosser()
{
    static std::shared_ptr<TCrosser> crosser;
    if (!crosser)
        crosser = std::make_shared<TCrosser>();
    return crosser;
}

platform::ImagePtr& TransSpin()
{
    static platform::ImagePtr image;
    return image;
}

platform::ImagePtr& TransDark()
{
    static platform::ImagePtr image;
    return image;
}

std::function<void()>& TCrosser::AtSwitchHook()
{
    static std::function<void()> hook;
    return hook;
}

// ---- SETTING UP ----

void TCrosser::Setup()
{
    TransSpin() = platform::LoadImage(GameDir() + "gfx/TransSpin.png",
                                      platform::kImageFiltered | platform::kImageMipmapped);
    TransDark() = platform::LoadImage(GameDir() + "gfx/TransDark.png");
    if (!TransDark()) {
        platform::Log("Missing picture " + GameDir() + "gfx/TransDark.png; the transition draws a plain ring");
        TransDark() = MakeStandInDark();
    }
    platform::MidHandle(TransSpin());
    platform::MidHandle(TransDark());
}

// ---- COMMANDS ----

void TCrosser::Reset()
{
    Per = 0;
    CrossState = 0;
}

void TCrosser::Start(const std::shared_ptr<TScreen>& screen, std::function<void()> func, int noPrepare)
{
    if (!screen || screen.get() == this) {
        platform::Log("Changing to no screen was ignored");
        return;
    }
    // A transition that lost the current screen to a direct switch
    // (Control::SetCurrScreen) is over.
    if (running_ && Control::CurrScreen().get() != this) {
        running_ = false;
        pending_.reset();
    }
    if (running_) {
        if (CrossState == 0) {
            // The old screen is still shown (or is being left right now): the
            // running transition takes the new target.
            NewScreen = screen;
            if (func)
                AtEndFunc = std::move(func);
            NoPrepare = noPrepare;
        } else {
            // The new screen is already prepared: go on once it is current.
            pending_ = std::make_unique<Pending>(Pending{screen, std::move(func), noPrepare});
        }
        platform::Log("Changing to: " + screen->Name);
        return;
    }
    OldScreen = Control::CurrScreen();
    if (OldScreen.get() == this)
        OldScreen = nullptr;
    NewScreen = screen;
    AtEndFunc = std::move(func);
    Reset();
    NoPrepare = noPrepare;
    running_ = true;
    Control::SetCurrScreenInstantly(shared_from_this());
    platform::Log("Changing to: " + screen->Name);
}

void TCrosser::ShowPopUpOnScreen(const std::shared_ptr<TPopUp>& popup)
{
    if (NewScreen && NewScreen.get() != this)
        NewScreen->ShowPopUpOnScreen(popup);
}

// ---- DRAWING ----

void TCrosser::DrawSpin()
{
    const float s = CrossState == 0 ? 1 - Per : Per;
    platform::SetColor(255, 255, 255);
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetRotation(0);
    platform::SetAlpha(1);
    platform::SetScale(6 * s, 6 * s);
    const platform::ImagePtr& dark = TransDark();
    platform::DrawImage(dark, 512, 384);
    const float w = dark ? static_cast<float>(dark->Width()) : 128.0f;
    const float h = dark ? static_cast<float>(dark->Height()) : 128.0f;
    const int x1 = static_cast<int>(513 - w * 0.5f * 6 * s);
    const int y1 = static_cast<int>(385 - h * 0.5f * 6 * s);
    const int x2 = static_cast<int>(511 + w * 0.5f * 6 * s);
    const int y2 = static_cast<int>(383 + h * 0.5f * 6 * s);
    platform::SetScale(1, 1);
    platform::SetColor(0, 0, 0);
    auto fill = [](int x, int y, int rw, int rh) {
        if (rw > 0 && rh > 0)
            platform::DrawRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(rw),
                               static_cast<float>(rh));
    };
    // The bands above and below reach one unit into the side bands, so that
    // no seam shows where they meet on a scaled display.
    fill(-172, -1, x1 + 172, 768);
    fill(x2, -1, 1366 - x2, 768);
    fill(x1 - 1, -1, x2 - x1 + 2, y1 + 1);
    fill(x1 - 1, y2, x2 - x1 + 2, 768 - y2);
    platform::SetScale(6 * s, 6 * s);
    platform::SetColor(255, 255, 255);
    platform::SetRotation(Per * 360);
    platform::DrawImage(TransSpin(), 512, 384, 0);
    platform::SetRotation(0);
    platform::SetScale(1, 1);
}

void TCrosser::Draw()
{
    const std::shared_ptr<TScreen>& shown = CrossState == 0 ? OldScreen : NewScreen;
    if (shown && shown.get() != this)
        shown->Draw();
    DrawSpin();
}

// ---- UPDATING ----

void TCrosser::CheckCrossStep()
{
    if (CrossState == 0)
        Switch();
    else if (CrossState == 1)
        Finish();
}

void TCrosser::Switch()
{
    if (OldScreen)
        OldScreen->Leave();
    // A function may ask for another screen (the transition then retargets)
    // and bring its own function, which runs here as well.
    for (int n = 0; AtEndFunc; ++n) {
        std::function<void()> f = std::move(AtEndFunc);
        AtEndFunc = nullptr;
        if (n >= kMaxChainedFunctions) {
            platform::Log("Too many chained screen changes at one switch; the rest were dropped");
            break;
        }
        f();
    }
    Control::ShowLoadingText();
    CrossState += 1;
    Per = 0;
    if (NoPrepare == 0)
        Control::PrepareScreen(NewScreen);
    if (AtSwitchHook())
        AtSwitchHook()();
    if (NewScreen)
        NewScreen->Draw();
    ResetDeltaTime();
}

void TCrosser::Finish()
{
    running_ = false;
    Control::SetCurrScreenInstantly(NewScreen);
    if (pending_) {
        const std::unique_ptr<Pending> next = std::move(pending_);
        Start(next->screen, next->func, next->noPrepare);
        restarted_ = running_;
    }
}

void TCrosser::Update()
{
    if (Per == 1.0f) {
        CheckCrossStep();
        if (restarted_) {
            // The next transition starts from the beginning in the next update.
            restarted_ = false;
            return;
        }
    }
    Per += CrossSpeed * FrameFactor();
    if (Per > 1.0f)
        Per = 1.0f;
}

// ---- Transitions ----

void GoToScreen(const std::shared_ptr<TScreen>& screen, std::function<void()> func)
{
    Crosser()->Start(screen, std::move(func), 0);
}

void GoToScreenNoPrepare(const std::shared_ptr<TScreen>& screen, std::function<void()> func)
{
    Crosser()->Start(screen, std::move(func), 1);
}

} // namespace app
