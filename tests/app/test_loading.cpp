// The program's screens and the loading screen: the screens made in order, the
// work list, loading step by step, a set-up that fails, and the loading bar.
// The fixture is in screens_fixture.h.
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "screens_fixture.h"

namespace {

using namespace screenstest;

// ---- Loading and the program's screens ----

TEST_F(ScreensTest, TheProgramScreensAreMadeInOrderAndTheWorkListHoldsThemAll)
{
    game::CreateProgramScreens(false);
    struct Row {
        const char* name;
        int id;
        char kind; // s screen, p pop-up, z styled pop-up, l loader
    } rows[] = {
        {"MainGame", 1, 's'},    {"MainMenu", 2, 's'},      {"Intro", 3, 's'},         {"Outro", 3, 's'},
        {"WarStory", 112, 'p'},  {"DialogShow", 113, 'p'},  {"MapScreen", 4, 's'},     {"Options", 101, 'z'},
        {"Profiles", 102, 'z'},  {"EnterName", 103, 'z'},   {"YesOrNo", 104, 'z'},     {"Scores", 105, 'z'},
        {"LevelSummary", 106, 'p'}, {"PickMode", 107, 'z'}, {"Lose", 109, 'z'},        {"InGameMenu", 111, 'z'},
        {"CaptionsLoader", 0, 'l'}, {"Credits", 6, 's'},    {"CharactersLoader", 0, 'l'}, {"Dialogs", 108, 'p'},
        {"Tutorial", 110, 'p'},
    };
    std::vector<std::string> screens, loaders, popups;
    for (const Row& r : rows) {
        (r.kind == 's' ? screens : r.kind == 'l' ? loaders : popups).push_back(r.name);
    }
    auto names = [](const auto& list) {
        std::vector<std::string> out;
        for (const auto& s : list)
            out.push_back(s->Name);
        return out;
    };
    EXPECT_EQ(names(Control::Screens()), screens);
    EXPECT_EQ(names(Control::PopUps()), popups);
    EXPECT_EQ(names(app::Loaders()), loaders);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::shared_ptr<app::TScreen> s = Control::GetScreenByName(r.name);
        if (!s)
            for (const auto& p : Control::PopUps())
                if (p->Name == r.name)
                    s = p;
        if (r.kind == 'l') {
            EXPECT_EQ(s, nullptr);
            continue;
        }
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Id, r.id);
        EXPECT_EQ(s->IsPopUp(), r.kind == 'p' || r.kind == 'z');
        EXPECT_EQ(dynamic_cast<menus::TZefarPopUp*>(s.get()) != nullptr, r.kind == 'z');
    }
    const auto& loading = game::Program().LoadingScreen;
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->Id, -1);
    EXPECT_EQ(loading->Name, "LoadingScreen");
    EXPECT_EQ(game::Program().Crosser, app::Crosser());

    app::SetupLoadingScreen(loading);
    std::vector<std::string> expected = screens;
    expected.insert(expected.end(), loaders.begin(), loaders.end());
    expected.insert(expected.end(), popups.begin(), popups.end());
    EXPECT_EQ(names(app::WorkList()), expected);
    EXPECT_EQ(app::WorkList().size(), 21u);
}

TEST_F(ScreensTest, LoadingSetsUpOnePerStepThenProfilesThenSoundsThenGoesToTheMenu)
{
    auto menu = Screen("MainMenu");
    auto map = Screen("Map");
    auto options = PopUp("Options");
    auto loader = std::make_shared<RecLoader>("Captions", log);
    loader->Init(0, "Captions", 0);
    int profileLoads = 0, soundsLeft = 3;
    app::GetLoadingHooks().loadProfiles = [&] { ++profileLoads; };
    app::GetLoadingHooks().loadOneSound = [&] { return --soundsLeft <= 0; };

    auto loading = std::make_shared<app::TLoadingScreen>();
    loading->Init(-1, "LoadingScreen", 0);
    app::SetupLoadingScreen(loading);
    Control::SetStartScreen(loading);
    EXPECT_FLOAT_EQ(app::LoadingProgress(), 0);

    // Nothing loads while the black cover fades (the drawing thins it).
    Tick();
    EXPECT_TRUE(log.empty());
    for (int i = 0; i < 25; ++i) {
        app::UpdateDeltaTime();
        loading->Draw();
    }
    EXPECT_EQ(loading->Fade, 0);

    const char* order[] = {"MainMenu.OnSetup", "Map.OnSetup", "Captions.OnSetup", "Options.OnSetup"};
    for (int step = 0; step < 4; ++step) {
        Tick();
        EXPECT_EQ(log.back(), order[step]);
        EXPECT_FLOAT_EQ(app::LoadingProgress(), (step + 1) / 4.0f);
    }
    Tick();
    EXPECT_EQ(profileLoads, 1);
    Tick();
    Tick();
    EXPECT_EQ(Control::CurrScreen(), loading) << "sounds still loading";
    Tick();
    EXPECT_EQ(soundsLeft, 0);
    EXPECT_EQ(Control::CurrScreen(), app::Crosser());
    EXPECT_EQ(app::Crosser()->NewScreen, menu);
    EXPECT_EQ(profileLoads, 1);
    EXPECT_EQ(TicksUntilCurrent(menu), 103);
}

TEST_F(ScreensTest, AScreenWhoseSetUpFailsIsReportedAndLoadingGoesOn)
{
    class Broken : public RecScreen {
    public:
        using RecScreen::RecScreen;
        void OnSetup() override { throw std::runtime_error("cannot read Game/broken.txt"); }
    };
    auto broken = std::make_shared<Broken>("Broken", log);
    broken->Init(5, "Broken", 1);
    auto next = Screen("Next");
    app::BuildWorkList();

    EXPECT_FALSE(app::LoadingStep());
    EXPECT_FALSE(app::LoadingStep());
    EXPECT_EQ(Count(log, "Next.OnSetup"), 1u);
    EXPECT_NE(std::find(console.begin(), console.end(),
                        "Setting up 'Broken' failed: cannot read Game/broken.txt"),
              console.end());
}

TEST_F(ScreensTest, TheLoadingBarFillsWithTheProgress)
{
    auto loading = std::make_shared<app::TLoadingScreen>();
    loading->Init(-1, "LoadingScreen", 0);
    for (const char* name : {"a", "b"})
        Screen(name);
    app::SetupLoadingScreen(loading);
    loading->Fade = 0;
    platform::SetVirtualResolution(1024, 768, 0);

    // The bar lies at (341, 699), 342 wide: read near its left and right ends.
    auto barLit = [&](float vx) {
        platform::Cls();
        platform::ResetDrawState();
        loading->Fade = 0;
        loading->Draw();
        float px = 0, py = 0;
        platform::VirtualToPixel(vx, 710, px, py);
        return platform::ReadPixel(static_cast<int>(px), static_cast<int>(py));
    };
    auto rgb = [](const platform::Pixel& p) { return std::make_tuple(p.r, p.g, p.b); };
    const auto emptyLeft = rgb(barLit(345));
    const auto emptyRight = rgb(barLit(660));
    app::LoadingStep();
    const auto halfLeft = rgb(barLit(345));
    const auto halfRight = rgb(barLit(660));
    app::LoadingStep();
    EXPECT_FLOAT_EQ(app::LoadingProgress(), 1);
    const auto fullRight = rgb(barLit(660));
    EXPECT_NE(emptyLeft, halfLeft) << "half way the left end is filled";
    EXPECT_EQ(emptyRight, halfRight) << "half way the right end is not";
    EXPECT_NE(emptyRight, fullRight) << "at the end it is";
}

} // namespace
