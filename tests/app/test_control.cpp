// Control: screen lookup and switching, input dispatch to the topmost pop-up,
// the frame step's quit paths and saves, the pause screen, the speed toggle
// and the graphics-mode choice. Runs without a display: input goes through the
// platform's injection queue and the clock is virtual.
#include "app/control.h"
#include "app/deltatime.h"
#include "app/paths.h"
#include "app/platform/platform.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using app::Control;

// A screen that writes each call into a shared log.
class RecScreen : public app::TPopUp {
public:
    RecScreen(std::string name, std::vector<std::string>& log) : log_(log) { Name = std::move(name); }
    void Update() override { log_.push_back(Name + ".Update"); }
    void Draw() override { log_.push_back(Name + ".Draw"); }
    void Interface() override { log_.push_back(Name + ".Interface"); }
    void ClearButtons() override { log_.push_back(Name + ".ClearButtons"); }
    void Prepare() override { log_.push_back(Name + ".Prepare"); }
    void Leave() override { log_.push_back(Name + ".Leave"); }
    void Calculate() override { log_.push_back(Name + ".Calculate"); }

private:
    std::vector<std::string>& log_;
};

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock = std::make_shared<platform::VirtualClock>(1000);
        platform::SetClock(clock);
        platform::SetFrameLimit(0);
        platform::ResetInput();
        Control::Reset();
        app::SetEventPump([] { platform::PollEvents(); });
        app::Markers() = app::MarkerFlags{};
        app::ResetAppClock();
        app::MainDeltaTime().SetFPS(60);
        platform::SetLogSink([this](const std::string& line) { console.push_back(line); });
    }
    void TearDown() override
    {
        platform::SetLogSink(nullptr);
        app::SetEventPump(nullptr);
        Control::Reset();
        platform::ResetInput();
        platform::SetFrameLimit(60);
        platform::SetClock(nullptr);
    }
    std::shared_ptr<RecScreen> Make(const std::string& name) { return std::make_shared<RecScreen>(name, log); }

    std::shared_ptr<platform::VirtualClock> clock;
    std::vector<std::string> log;
    std::vector<std::string> console;
};

TEST_F(ControlTest, GetScreenByNameIgnoresCaseAndTakesTheFirst)
{
    auto first = Make("MainMenu");
    auto second = Make("mainmenu");
    Control::AddScreen(first);
    Control::AddScreen(second);
    EXPECT_EQ(Control::GetScreenByName("MAINMENU"), first);
    EXPECT_EQ(Control::GetScreenByName("MapScreen"), nullptr);
    EXPECT_EQ(Control::GetScreenByName("MainMenu "), nullptr);
}

TEST_F(ControlTest, SwitchingScreensLeavesTheOldAndPreparesTheNew)
{
    auto menu = Make("Menu");
    auto map = Make("Map");
    Control::SetStartScreen(menu);
    EXPECT_TRUE(log.empty()) << "the start screen is only made current";

    platform::InjectKey(platform::key::Space, true);
    platform::PollEvents();
    Control::SetCurrScreen(map);
    EXPECT_EQ(Control::CurrScreen(), map);
    EXPECT_EQ(log, (std::vector<std::string>{"Map.ClearButtons", "Menu.Leave", "Map.Prepare", "Map.Calculate"}));
    EXPECT_EQ(platform::KeyHit(platform::key::Space), 0) << "pending hits are discarded";
}

TEST_F(ControlTest, InterfaceGoesToTheTopmostUnlockedPopUp)
{
    auto screen = Make("Screen");
    auto lower = Make("Lower");
    auto upper = Make("Upper");
    Control::SetStartScreen(screen);

    Control::Interface();
    Control::SetCurrPopUp(lower);
    Control::SetCurrPopUp(upper);
    EXPECT_EQ(upper->Screen, screen.get());
    log.clear();
    Control::Interface();
    upper->Lock();
    Control::Interface();
    EXPECT_EQ(log, (std::vector<std::string>{"Upper.Interface"})) << "locked: no call at all";

    Control::SetCurrScreenInstantly(nullptr);
    Control::Interface(); // no screen: nothing to call, nothing to crash
}

TEST_F(ControlTest, FrameUpdatesTheScreenAndDrawsIt)
{
    auto screen = Make("Screen");
    Control::SetStartScreen(screen);
    Control::Update();
    Control::Draw();
    Control::Interface();
    EXPECT_EQ(log, (std::vector<std::string>{"Screen.Update", "Screen.Draw", "Screen.Interface"}));
    EXPECT_FALSE(Control::Quitting());
}

TEST_F(ControlTest, SpeedToggleKeyWorksOnlyWithCheats)
{
    struct Case {
        bool cheats;
        int presses;
        float fps;
    };
    const Case cases[] = {{false, 1, 60}, {true, 1, 120}, {true, 2, 60}};
    for (const Case& c : cases) {
        app::MainDeltaTime().SetFPS(60);
        app::Markers().cheats = c.cheats;
        for (int i = 0; i < c.presses; ++i) {
            platform::InjectKey(platform::key::Equals, true);
            platform::InjectKey(platform::key::Equals, false);
            Control::Update();
        }
        EXPECT_FLOAT_EQ(app::MainDeltaTime().dFps, c.fps) << "cheats " << c.cheats << ", presses " << c.presses;
    }
}

TEST_F(ControlTest, CloseAndAltF4SaveInOrderAndStopTheLoop)
{
    struct Case {
        const char* what;
        std::function<void()> inject;
        bool quits;
    };
    const Case cases[] = {
        {"close button", [] { platform::InjectClose(); }, true},
        {"left Alt+F4",
         [] {
             platform::InjectKey(platform::key::LeftAlt, true);
             platform::InjectKey(platform::key::F4, true);
         },
         true},
        {"right Alt+F4",
         [] {
             platform::InjectKey(platform::key::RightAlt, true);
             platform::InjectKey(platform::key::F4, true);
         },
         true},
        {"F4 alone", [] { platform::InjectKey(platform::key::F4, true); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Control::Reset();
        platform::ResetInput();
        log.clear();
        auto screen = Make("Screen");
        Control::SetStartScreen(screen);
        Control::AddSaveBeforeQuit("profiles", [this] { log.push_back("save profiles"); return true; });
        Control::AddSaveBeforeQuit("options", [this] { log.push_back("save options"); return true; });
        c.inject();
        Control::Update();
        EXPECT_EQ(Control::Quitting(), c.quits);
        if (c.quits) {
            EXPECT_EQ(log, (std::vector<std::string>{"save profiles", "save options"}))
                << "saved, and the screen is not updated any more";
            EXPECT_EQ(Control::MainLoop(), 0);
        }
    }
}

TEST_F(ControlTest, FailingSavesAreReportedAndTheRestStillRun)
{
    Control::AddSaveBeforeQuit("profiles", [] { return false; });
    Control::AddSaveBeforeQuit("settings", []() -> bool { throw std::runtime_error("disk full"); });
    bool optionsSaved = false;
    Control::AddSaveBeforeQuit("options", [&] { return optionsSaved = true; });
    platform::InjectClose();
    EXPECT_EQ(Control::MainLoop(), 3) << "a lost save is not reported as success";
    EXPECT_TRUE(optionsSaved);
    auto has = [&](const std::string& part) {
        for (const auto& line : console)
            if (line.find(part) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(has("Could not save profiles"));
    EXPECT_TRUE(has("Could not save settings: disk full"));
}

TEST_F(ControlTest, PauseScreenStopsTheApplicationClockAndPausesSounds)
{
    auto screen = Make("Screen");
    Control::SetStartScreen(screen);
    int frames = 0, paused = 0, resumed = 0;
    auto& hooks = Control::GetHooks();
    hooks.pauseSounds = [&] { ++paused; };
    hooks.resumeSounds = [&] { ++resumed; };
    hooks.beginFrame = [&] {
        ++frames;
        clock->Advance(100);
        if (frames == 2)
            platform::InjectFocus(false);
        if (frames == 6)
            platform::InjectFocus(true);
    };

    Control::Update(); // frame 1: anchors the clock
    const int64_t before = app::AppClock();
    Control::Update(); // frame 2 loses the focus; frames 3 to 6 are the pause screen
    EXPECT_EQ(frames, 6);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(resumed, 1);
    const int64_t afterPause = app::AppClock();
    EXPECT_EQ(afterPause - before, 100) << "only the frame before the pause counts";
    Control::Update();
    EXPECT_EQ(app::AppClock() - afterPause, 100) << "the clock runs on from where it stopped";
    EXPECT_EQ(std::count(log.begin(), log.end(), "Screen.Update"), 3);
}

TEST_F(ControlTest, LoadingScreenIsNotPausedAndClosingFromThePauseSaves)
{
    auto loading = Make("LoadingScreen");
    Control::SetLoadingScreen(loading);
    Control::SetStartScreen(loading);
    int paused = 0;
    Control::GetHooks().pauseSounds = [&] { ++paused; };
    platform::InjectFocus(false);
    Control::Update();
    EXPECT_EQ(paused, 0);

    auto game = Make("Game");
    Control::SetCurrScreenInstantly(game);
    bool saved = false;
    Control::AddSaveBeforeQuit("profiles", [&] { return saved = true; });
    int frames = 0;
    Control::GetHooks().beginFrame = [&] {
        if (++frames == 3)
            platform::InjectClose();
    };
    Control::Update();
    EXPECT_EQ(paused, 1);
    EXPECT_TRUE(saved);
    EXPECT_TRUE(Control::Quitting());
    EXPECT_EQ(std::count(log.begin(), log.end(), "Game.Update"), 0);
}

TEST(GraphicsMode, ChoiceFollowsFullScreenAndDesktopWidth)
{
    struct Case {
        int fullScreen, desktopW, desktopH;
        int width, height, depth;
        float virtualW;
        int mode, wide;
    };
    const Case cases[] = {
        {0, 1280, 1024, 1024, 768, 0, 1366, 3, 1}, // narrow desktop: letter-boxed wide area
        {0, 1920, 1080, 1366, 768, 0, 1024, 2, 0}, // wide desktop: 1024 area centred
        {0, 1366, 768, 1366, 768, 0, 1024, 2, 0},
        {1, 1920, 1080, 1920, 1080, 32, 1366, 3, 1},
        {2, 1600, 900, 1600, 900, 32, 1366, 3, 1}, // an edited settings file still opens a display
        {-1, 1280, 720, 1280, 720, 32, 1366, 3, 1},
    };
    for (const Case& c : cases) {
        const app::GraphicsMode m = app::ChooseGraphicsMode(c.fullScreen, c.desktopW, c.desktopH);
        SCOPED_TRACE("FullScreen " + std::to_string(c.fullScreen) + ", desktop " + std::to_string(c.desktopW));
        EXPECT_EQ(m.width, c.width);
        EXPECT_EQ(m.height, c.height);
        EXPECT_EQ(m.depth, c.depth);
        EXPECT_FLOAT_EQ(m.virtualW, c.virtualW);
        EXPECT_FLOAT_EQ(m.virtualH, 768.0f);
        EXPECT_EQ(m.virtualMode, c.mode);
        EXPECT_EQ(m.wide, c.wide);
    }
}

} // namespace
