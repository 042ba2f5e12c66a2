// The level's pop-ups driven headless through their real widgets: the summary
// (stars, statistics, paying once, OK and the hand-over), the lose pop-up,
// the in-game menu and the mode choice. Pointer input goes through the
// platform queue and the mouse object; the road to the player's progress is
// filled with recording hooks. The pop-ups read the game's own content
// (Game/, English) on a small headless software display.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/control.h"
#include "app/deltatime.h"
#include "app/globalvars.h"
#include "app/paths.h"
#include "app/platform/core/system.h"
#include "app/platform/platform.h"
#include "fx/timing.h"
#include "gui/mouse.h"
#include "gui/textclasses.h"
#include "gui/widgets.h"
#include "level/ingamemenu.h"
#include "level/levelroad.h"
#include "level/losepopup.h"
#include "level/maingame.h"
#include "level/pickmode.h"
#include "level/summary.h"
#include "match3/m3boardtext.h"
#include "match3/m3level.h"
#include "menus/styled/zefarpopup.h"
#include "support/headless.h"

using namespace level;
using app::Control;

namespace {

// What the pop-ups asked of the road, in order.
struct RoadLog {
    std::vector<std::string> calls;
    std::vector<std::pair<int, int>> paid; // (score, cash) per PayWonLevel
    std::string question;                  // the last question asked
    std::function<void()> yes;             // its yes answer
    int profileCash = 100;

    int Count(const std::string& call) const
    {
        int n = 0;
        for (const auto& c : calls)
            n += c == call;
        return n;
    }
};

class LevelPopUps : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(128, 96);
    }
    static void TearDownTestSuite() { platform::Shutdown(); }

    void SetUp() override
    {
        oldGameDir = app::GameDir();
        oldLanguage = app::LanguageFolder();
        app::SetGameDir("Game/");
        app::SetLanguageFolder("English");
        platform::SetVirtualResolution(1024, 768, 0);
        platform::ResetInput();
        Control::Reset();
        Control::SetWideLayout(0);
        gui::Mouse() = gui::TMouse{};
        gui::CreateProgramTextClasses();
        menus::TZefarPopUp::ResetNextSide();
        app::GlobalVars::POPUPSHOWSPEED = 0.025f;
        clock = 1000;
        fx::SetAppClockSource([this] { return clock; });
        fx::SetFrameFactorSource([] { return 1.0f; });
        app::SetFrameFactor(1);

        TLevelRoad& r = Road();
        r.ProfileCash = [this] { return road.profileCash; };
        r.PayWonLevel = [this](int score, int cash) {
            road.calls.push_back("PayWonLevel");
            road.paid.emplace_back(score, cash);
            road.profileCash += cash;
        };
        r.ContinueFromSummary = [this] { road.calls.push_back("ContinueFromSummary"); };
        r.RestartLevel = [this] { road.calls.push_back("RestartLevel"); };
        r.GoMainMenu = [this] { road.calls.push_back("GoMainMenu"); };
        r.AskYesOrNo = [this](const std::string& q, std::function<void()> yes) {
            road.calls.push_back("AskYesOrNo");
            road.question = q;
            road.yes = std::move(yes);
        };
        r.ShowOptions = [this] { road.calls.push_back("ShowOptions"); };
        r.StartNewGame = [this](int mode) { road.calls.push_back("StartNewGame " + std::to_string(mode)); };

        // The screen the pop-ups are shown on, and the level play screen
        // whose figures the summary reads.
        host = std::make_shared<app::TScreen>();
        host->Init(0, "Host", 1);
        Control::SetCurrScreenInstantly(host);
        game = std::make_shared<TMainGame>();
        game->Level = std::make_shared<match3::TM3Level>();
    }

    void TearDown() override
    {
        Road() = TLevelRoad{};
        fx::SetAppClockSource({});
        fx::SetFrameFactorSource({});
        platform::ResetInput();
        gui::Mouse() = gui::TMouse{};
        game.reset();
        Control::Reset();
        app::SetGameDir(oldGameDir);
        app::SetLanguageFolder(oldLanguage);
    }

    template <class T>
    std::shared_ptr<T> Make(int id, const char* name)
    {
        auto p = std::make_shared<T>();
        p->Init(id, name, 1);
        p->Setup();
        return p;
    }

    // One frame as the main loop runs it: events, the mouse, the current
    // screen's update (its topmost pop-up), then the input of the topmost
    // unlocked pop-up.
    void Frame()
    {
        clock += 16;
        if (beforeUpdate)
            beforeUpdate();
        platform::PollEvents();
        gui::Mouse().update();
        if (auto current = Control::CurrScreen())
            current->Update();
        Control::Interface();
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i)
            Frame();
    }

    // Moves onto the widget's middle, presses, releases: the click is seen in
    // the frame of the release.
    void Click(const gui::TUIObject& w)
    {
        const float x = w.x - static_cast<float>(w.HandleX) + static_cast<float>(w.w) / 2;
        const float y = w.y - static_cast<float>(w.HandleY) + static_cast<float>(w.h) / 2;
        platform::InjectMouseMove(x, y);
        Frame();
        platform::InjectMouseButton(platform::kMouseLeft, true);
        Frame();
        platform::InjectMouseButton(platform::kMouseLeft, false);
        Frame();
    }

    // Shows a styled pop-up and lets its slide-in finish.
    void SlideIn(menus::TZefarPopUp& p)
    {
        p.GoShow();
        for (int i = 0; i < 100 && p.isLocked; ++i)
            Frame();
        ASSERT_EQ(p.isLocked, 0);
        ASSERT_EQ(p.PopUpStatus, 2);
    }

    void Win(int seconds, int maxSeconds, int score, int cash)
    {
        game->Level = std::make_shared<match3::TM3Level>();
        game->Level->Seconds = seconds;
        game->Level->MaxSeconds = maxSeconds;
        game->Level->Score = score;
        game->Level->Cash = cash;
    }

    RoadLog road;
    std::shared_ptr<app::TScreen> host;
    std::shared_ptr<TMainGame> game;
    int64_t clock = 1000;
    std::function<void()> beforeUpdate;
    std::string oldGameDir, oldLanguage;
};

// ---- Summary ----

TEST_F(LevelPopUps, SummaryAwardsStarsByTheTimeTaken)
{
    auto summary = Make<TSummary>(106, "LevelSummary");
    ASSERT_NE(SummaryStarImage(), nullptr);
    struct Case {
        int seconds, max, stars;
    } cases[] = {{10, 100, 3}, {40, 100, 3}, {41, 100, 2}, {65, 100, 2}, {66, 100, 1}, {150, 100, 1}};
    // Left, middle, right: place, final tilt and delay after the show.
    struct Star {
        float x, y, tilt;
        int delay;
    } const places[] = {{448, 302, -15, 500}, {515, 293, 0, 1000}, {581, 302, 15, 1500}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.seconds) + " of " + std::to_string(c.max));
        Win(c.seconds, c.max, 0, 0);
        summary->Show();
        const auto& stars = SummaryStars();
        ASSERT_EQ(static_cast<int>(stars.size()), c.stars);
        for (size_t i = 0; i < stars.size(); ++i) {
            EXPECT_EQ(stars[i].x, places[i].x);
            EXPECT_EQ(stars[i].y, places[i].y);
            EXPECT_EQ(stars[i].dRot, places[i].tilt);
            EXPECT_EQ(stars[i].StartTime, clock + places[i].delay);
        }
        summary->Hide();
    }
}

TEST_F(LevelPopUps, SummaryStarGrowsOnlyOnceItIsDueAndEndsAtItsTilt)
{
    auto summary = Make<TSummary>(106, "LevelSummary");
    Win(10, 100, 0, 0);
    summary->Show();
    const int64_t shown = clock;
    TSummaryStar& right = SummaryStars().at(2);
    clock = shown + 1499;
    DrawSummaryStars(0);
    EXPECT_EQ(right.per, 0.0f); // not due yet: neither drawn nor advanced
    clock = shown + 1500;
    for (int i = 0; i < 50; ++i)
        DrawSummaryStars(0);
    EXPECT_NEAR(right.per, 0.5f, 1e-4f);
    EXPECT_NEAR(right.Alpha, std::sin(45 * 3.14159265f / 180), 1e-4f);
    for (int i = 0; i < 80; ++i)
        DrawSummaryStars(0);
    EXPECT_EQ(right.per, 1.0f);
    EXPECT_FLOAT_EQ(right.Rot, 720 + 15);
    EXPECT_FLOAT_EQ(right.ScaleX, 1);
}

TEST_F(LevelPopUps, SummaryShowsTheLevelsFiguresAndPaysOnceWhenShown)
{
    auto summary = Make<TSummary>(106, "LevelSummary");
    road.profileCash = 100;
    Win(65, 420, 270, 12);
    summary->Show();
    // Paid at once, before OK, with the total read before paying.
    ASSERT_EQ(road.paid, (std::vector<std::pair<int, int>>{{270, 12}}));
    EXPECT_EQ(summary->TimedTime.Text(), "1:05");
    EXPECT_EQ(summary->TimedScore.Text(), "270");
    EXPECT_EQ(summary->TimedGold.Text(), "12");
    EXPECT_EQ(summary->TimedTotal.Text(), "112");

    // Many frames, hidden and shown again for the same win: nothing more is
    // paid and the total stays.
    Frames(300);
    summary->Hide();
    summary->Show();
    Frames(50);
    EXPECT_EQ(road.Count("PayWonLevel"), 1);
    EXPECT_EQ(summary->TimedTotal.Text(), "112");

    // The next won level pays its own figures on top.
    summary->Hide();
    Win(30, 420, 90, 5);
    summary->Show();
    ASSERT_EQ(road.paid.size(), 2u);
    EXPECT_EQ(road.paid[1], std::make_pair(90, 5));
    EXPECT_EQ(summary->TimedTotal.Text(), "117");
}

TEST_F(LevelPopUps, SummaryStatisticsFadeInHalfASecondAfterTheShow)
{
    auto summary = Make<TSummary>(106, "LevelSummary");
    Win(30, 420, 10, 1);
    summary->Show();
    const int64_t shown = clock;
    while (clock + 16 <= shown + 500)
        Frame();
    EXPECT_EQ(summary->TimedMode->GetA(), 0.0f);
    Frame(); // past the half second: the target is set, the fade starts next frame
    Frames(20);
    EXPECT_GT(summary->TimedMode->GetA(), 0.4f);
    EXPECT_LT(summary->TimedMode->GetA(), 0.6f);
    Frames(30);
    EXPECT_EQ(summary->TimedMode->GetA(), 1.0f);
}

TEST_F(LevelPopUps, SummaryDropsInAndOkSlidesItOutThenHandsOverOnce)
{
    auto summary = Make<TSummary>(106, "LevelSummary");
    Win(30, 420, 10, 1);
    summary->Show();
    // Invisible until the first update, then dropping from above.
    EXPECT_EQ(summary->CenterPoint->TFR.sx, 0.0f);
    Frame();
    EXPECT_FLOAT_EQ(summary->CenterPoint->GetY(), -384 + 768 * platform::SinD(90 * 0.05f));
    Frames(25);
    EXPECT_EQ(summary->state, TSummary::STATE_SHOWN);
    EXPECT_FLOAT_EQ(summary->CenterPoint->GetY(), 384);

    Click(*summary->ButtonOk);
    EXPECT_EQ(summary->state, TSummary::STATE_SLIDE_OUT);
    Frames(19);
    EXPECT_EQ(road.Count("ContinueFromSummary"), 0); // still rising
    Frames(2);
    EXPECT_EQ(road.Count("ContinueFromSummary"), 1);
    EXPECT_LE(summary->CenterPoint->GetY(), -384 + 0.01f);
    // A progression that is slow to switch screens is asked only once.
    Frames(100);
    EXPECT_EQ(road.Count("ContinueFromSummary"), 1);
    EXPECT_EQ(road.Count("PayWonLevel"), 1);
}

TEST_F(LevelPopUps, SummaryOkWhileDroppingStartsTheSlideOutFromTheCentre)
{
    auto summary = Make<TSummary>(106, "LevelSummary");
    Win(30, 420, 10, 1);
    summary->Show();
    Frames(3);
    // The button moves with the window, so its click is given to it directly.
    summary->ButtonOk->isPressed = 1;
    summary->Interface();
    EXPECT_EQ(summary->state, TSummary::STATE_SLIDE_OUT);
    EXPECT_EQ(summary->Per, 0.0f);
    Frame();
    EXPECT_FLOAT_EQ(summary->CenterPoint->GetY(), 384 - 768 * platform::SinD(90 * 0.05f));
}

// ---- Lose pop-up ----

TEST_F(LevelPopUps, LosePopUpSaysWhyAndItsButtonsReplayOrLeave)
{
    auto lose = Make<TLosePopUp>(109, "Lose");
    ASSERT_FALSE(lose->GetTxt(1).empty());
    ASSERT_FALSE(lose->GetTxt(5).empty());
    ASSERT_NE(lose->GetTxt(1), lose->GetTxt(5));
    EXPECT_EQ(lose->Info->Text, lose->GetTxt(1));
    lose->SetNormal(2);
    EXPECT_EQ(lose->Info->Text, lose->GetTxt(5));
    lose->SetNormal(1);
    EXPECT_EQ(lose->Info->Text, lose->GetTxt(1));
    EXPECT_EQ(lose->ButtonReplay->Text, lose->GetTxt(2));
    EXPECT_EQ(lose->ButtonMenu->Text, lose->GetTxt(3));

    struct Case {
        gui::TUIObject* button;
        const char* call;
    } cases[] = {{lose->ButtonReplay.get(), "RestartLevel"}, {lose->ButtonMenu.get(), "GoMainMenu"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        road.calls.clear();
        lose->Show(); // in place, no slide: clickable at once
        Frame();
        Click(*c.button);
        EXPECT_EQ(road.calls, std::vector<std::string>{c.call});
        lose->Hide();
    }
}

TEST_F(LevelPopUps, LostLevelShowsTheLosePopUpWithTheTimeMessage)
{
    auto lose = Make<TLosePopUp>(109, "Lose");
    lose->SetNormal(2); // left from an earlier loss of the other kind
    // A level of the fixture engine lost by time on the level screen.
    const auto path = std::filesystem::temp_directory_path() / ("velmora-lose-" + std::to_string(::getpid()));
    std::string err;
    ASSERT_TRUE(match3::WriteLevelFromPicture(path.string(), "1$1 2 1\n3 1 4\n5 6 3", "1 2 3 4 5 6", &err, 60))
        << err;
    game->GameFolder = "tests/fixtures/match3/";
    game->Game->quiet = true;
    game->LosePopUp = lose;
    ASSERT_TRUE(game->LoadLevelFile(path.string(), TLevelSetup{})) << game->error;
    std::filesystem::remove(path);
    beforeUpdate = [this] { game->Game->SetTime(1, clock); };
    game->Game->SetTime(1, clock);
    game->OnPrepare();
    app::SetFrameFactor(1); // the screen's start measured frames on the real clock
    Control::SetCurrScreenInstantly(game);
    for (int i = 0; i < 2000 && game->State == STATE_BEGIN; ++i)
        Frame();
    game->LOSE();
    for (int i = 0; i < 1000 && !lose->IsShown(); ++i)
        Frame();
    ASSERT_TRUE(lose->IsShown());
    EXPECT_EQ(lose->Info->Text, lose->GetTxt(1));
    EXPECT_EQ(lose->PopUpStatus, 2); // shown in place
    EXPECT_EQ(lose->isLocked, 0);
}

// ---- In-game menu ----

TEST_F(LevelPopUps, InGameMenuButtons)
{
    auto menu = Make<TInGameMenu>(111, "InGameMenu");
    ASSERT_FALSE(menu->GetTxt(1).empty());
    ASSERT_FALSE(menu->GetTxt(2).empty());
    struct Case {
        gui::PUILightButton TInGameMenu::*button;
        std::vector<std::string> calls; // at once
        int question;                    // line asked, 0 none
        const char* onYes;               // what yes does
    } cases[] = {
        {&TInGameMenu::ButtonResume, {}, 0, nullptr},
        {&TInGameMenu::ButtonRestart, {"AskYesOrNo"}, 1, "RestartLevel"},
        {&TInGameMenu::ButtonOptions, {"ShowOptions"}, 0, nullptr},
        {&TInGameMenu::ButtonMenu, {"AskYesOrNo"}, 2, "GoMainMenu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question ? menu->GetTxt(c.question) : "no question");
        road = RoadLog{};
        SlideIn(*menu);
        Click(*(menu.get()->*c.button));
        EXPECT_EQ(road.calls, c.calls);
        if (c.question) {
            EXPECT_EQ(road.question, menu->GetTxt(c.question));
            ASSERT_TRUE(road.yes);
            road.yes();
            EXPECT_EQ(road.Count(c.onYes), 1);
        }
        const bool resumes = c.button == &TInGameMenu::ButtonResume;
        // Resume slides the menu out; the others leave it under what they open.
        EXPECT_EQ(menu->PopUpStatus, resumes ? 1 : 2);
        Frames(45);
        EXPECT_EQ(menu->IsShown(), !resumes);
        menu->Hide();
    }
}

TEST_F(LevelPopUps, LevelTimeStandsStillWhileTheMenuIsOpen)
{
    auto menu = Make<TInGameMenu>(111, "InGameMenu");
    const auto path = std::filesystem::temp_directory_path() / ("velmora-menu-" + std::to_string(::getpid()));
    std::string err;
    ASSERT_TRUE(match3::WriteLevelFromPicture(path.string(), "1$1 2 1\n3 1 4\n5 6 3", "1 2 3 4 5 6", &err, 60))
        << err;
    game->GameFolder = "tests/fixtures/match3/";
    game->Game->quiet = true;
    game->MenuPopUp = menu;
    TLevelSetup setup;
    setup.timed = 1;
    ASSERT_TRUE(game->LoadLevelFile(path.string(), setup)) << game->error;
    std::filesystem::remove(path);
    beforeUpdate = [this] { game->Game->SetTime(1, clock); };
    game->Game->SetTime(1, clock);
    game->OnPrepare();
    app::SetFrameFactor(1); // the screen's start measured frames on the real clock
    Control::SetCurrScreenInstantly(game);
    for (int i = 0; i < 2000 && game->State == STATE_BEGIN; ++i)
        Frame();
    ASSERT_EQ(game->State, STATE_NORMAL);
    Frames(3 * 60);
    const int before = game->Level->Seconds;
    EXPECT_GE(before, 2);

    game->GoMenu();
    EXPECT_TRUE(menu->IsShown());
    Frames(90 * 60); // longer than the level's whole time
    EXPECT_EQ(game->Level->Seconds, before);
    EXPECT_EQ(game->State, STATE_NORMAL);
    Click(*menu->ButtonResume);
    Frames(45);
    ASSERT_FALSE(menu->IsShown());
    // At most the second that was due when the menu opened is counted.
    EXPECT_LE(game->Level->Seconds, before + 1);
    EXPECT_EQ(game->State, STATE_NORMAL);
}

// ---- Mode choice ----

TEST_F(LevelPopUps, ModeChoiceStartsTheChosenGameOrNothingOnCancel)
{
    auto pick = Make<TPickMode>(107, "PickMode");
    for (int line = 1; line <= 5; ++line)
        EXPECT_FALSE(pick->GetTxt(line).empty()) << "line " << line;
    EXPECT_EQ(pick->ButtonRelaxed->Text, pick->GetTxt(2));
    EXPECT_EQ(pick->ButtonTImed->Text, pick->GetTxt(4));

    struct Case {
        gui::TUIObject* button;
        std::vector<std::string> calls;
        bool hiddenAtOnce;
    } cases[] = {
        {pick->ButtonRelaxed.get(), {"StartNewGame 0"}, true},
        {pick->ButtonTImed.get(), {"StartNewGame 1"}, true},
        {pick->ButtonOk.get(), {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calls.empty() ? "cancel" : c.calls[0]);
        road = RoadLog{};
        SlideIn(*pick);
        Click(*c.button);
        EXPECT_EQ(road.calls, c.calls);
        EXPECT_EQ(pick->IsShown(), !c.hiddenAtOnce);
        Frames(45); // a cancel slides out
        EXPECT_FALSE(pick->IsShown());
        EXPECT_EQ(road.calls, c.calls);
    }
}

} // namespace
