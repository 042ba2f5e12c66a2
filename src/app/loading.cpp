#include "app/loading.h"

#include <exception>

#include "app/control.h"
#include "app/crosser.h"
#include "app/deltatime.h"
#include "app/paths.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"

namespace app {

namespace {

struct LoadingState {
    std::vector<std::shared_ptr<TScreen>> work;
    size_t initialSize = 0;
    int profilesLoaded = 0;
    LoadingHooks hooks;
};

LoadingState& L()
{
    static LoadingState state;
    return state;
}

platform::ImagePtr LoadPicture(const std::string& path)
{
    platform::ImagePtr image = platform::LoadImage(path);
    if (!image)
        platform::Log("Missing picture " + path + "; the loading screen draws a plain stand-in");
    return image;
}

void PlainRect(int r, int g, int b, float x, float y, float w, float h)
{
    platform::SetColor(r, g, b);
    platform::DrawRect(x, y, w, h);
    platform::SetColor(255, 255, 255);
}

// Size of the bar when its picture is missing.
constexpr float kStandInBarW = 342, kStandInBarH = 22;

} // namespace

LoadingHooks& GetLoadingHooks() { return L().hooks; }

// ---- Loading ----

void BuildWorkList()
{
    auto& work = L().work;
    work.clear();
    for (const auto& s : Control::Screens())
        work.push_back(s);
    for (const auto& l : Loaders())
        work.push_back(l);
    for (const auto& p : Control::PopUps())
        work.push_back(p);
    L().initialSize = work.size();
}

void SetupLoadingScreen(const std::shared_ptr<TLoadingScreen>& loading)
{
    ResetLoading();
    BuildWorkList();
    if (loading)
        loading->Setup();
}

const std::vector<std::shared_ptr<TScreen>>& WorkList() { return L().work; }

bool LoadingStep()
{
    auto& work = L().work;
    if (!work.empty()) {
        const std::shared_ptr<TScreen> next = work.front();
        work.erase(work.begin());
        if (next) {
            ConsoleTrace("Setting Up '" + next->Name + "'...");
            // A screen whose content cannot be read is reported and left as
            // far as it got; loading goes on with the next one.
            try {
                next->Setup();
            } catch (const std::exception& e) {
                platform::Log("Setting up '" + next->Name + "' failed: " + e.what());
            }
        }
        ResetDeltaTime();
        return false;
    }
    if (!L().profilesLoaded) {
        if (L().hooks.loadProfiles)
            L().hooks.loadProfiles();
        L().profilesLoaded = 1;
        return false;
    }
    return !L().hooks.loadOneSound || L().hooks.loadOneSound();
}

float LoadingProgress()
{
    if (L().initialSize == 0)
        return 1.0f;
    return 1.0f - static_cast<float>(L().work.size()) / static_cast<float>(L().initialSize);
}

void ResetLoading()
{
    L().work.clear();
    L().initialSize = 0;
    L().profilesLoaded = 0;
}

// ---- TLoadingScreen ----

void TLoadingScreen::OnSetup()
{
    const std::string dir = GameDir() + "gfx/gui/loading/";
    Back = LoadPicture(dir + "back.jpg");
    BarPanel = LoadPicture(dir + "LoadingBarBG.png");
    platform::MidHandle(BarPanel);
    Bar = LoadPicture(dir + "Bar.png");
}

void TLoadingScreen::OnDraw()
{
    if (!ByloStart) {
        ResetDeltaTime();
        ByloStart = 1;
    }
    if (Back)
        platform::DrawImage(Back, -171, 0);
    else
        PlainRect(20, 24, 48, -171, 0, 1366, 768);

    if (BarPanel)
        platform::DrawImage(BarPanel, 512, static_cast<float>(768 - BarPanel->Height() / 2));
    else
        PlainRect(60, 60, 70, 312, 723, 400, 45);

    const float progress = LoadingProgress();
    if (Bar) {
        const float w = progress * static_cast<float>(Bar->Width());
        const float h = static_cast<float>(Bar->Height());
        if (w > 0)
            platform::DrawImageRect(Bar, 341, 699, w, h, 0, 0, w, h, 0, 0);
    } else if (progress > 0) {
        PlainRect(240, 200, 60, 341, 699, progress * kStandInBarW, kStandInBarH);
    }

    platform::SetColor(0, 0, 0);
    platform::SetAlpha(Fade);
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetRotation(0);
    platform::SetScale(1, 1);
    platform::DrawRect(-171, 0, 1366, 768);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
    Fade -= 0.05f * FrameFactor();
    if (Fade < 0)
        Fade = 0;
}

void TLoadingScreen::OnUpdate()
{
    if (Fade != 0)
        return;
    if (!LoadingStep())
        return;
    if (GetLoadingHooks().afterLoading && GetLoadingHooks().afterLoading())
        return;
    const std::shared_ptr<TScreen> menu = Control::GetScreenByName("MainMenu");
    if (menu)
        GoToScreen(menu);
    else if (!reportedNoMenu_) {
        platform::Log("Loading is done but there is no screen named MainMenu to go to");
        reportedNoMenu_ = true;
    }
}

} // namespace app
