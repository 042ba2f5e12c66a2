// The main menu on the pack's content: where its buttons stand, what a
// click on each one shows, the quit question ending the program, and the
// title logo's arrival on the application clock.
#include "game/registry.h"
#include "menus/logo.h"
#include "menus/mainmenu.h"
#include "menus_env.h"
#include "progress/profile.h"
#include "progress/road.h"

#include <filesystem>
#include <unistd.h>

namespace {

using app::Control;
using menus::TMainMenu;
using menus::TZefarLogo;

class MainMenuTest : public menustest::MenusEnv {
protected:
    void SetUp() override
    {
        MenusEnv::SetUp();
        // Players made by the menu's first-start rule are saved here.
        userDir = std::filesystem::temp_directory_path() / ("velmora-menus-" + std::to_string(::getpid()));
        std::filesystem::create_directories(userDir / "Profiles");
        app::SetUserDataFolder(userDir.string() + "/");
        game::CreateProgramScreens(false);
        menu = game::Program().MainMenu;
        for (const auto& p : Control::PopUps())
            p->Setup();
        menu->Setup();
        Control::SetCurrScreen(menu);
    }
    void TearDown() override
    {
        progress::CurrProfile().reset();
        game::Program() = game::ProgramScreens{};
        app::SetUserDataFolder("");
        std::error_code ec;
        std::filesystem::remove_all(userDir, ec);
        MenusEnv::TearDown();
    }
    std::filesystem::path userDir;

    gui::TUIObject& Button(const std::string& name)
    {
        const std::vector<gui::TUIObject*> buttons = {menu->ButtonPlay.get(), menu->ButtonOptions.get(),
                                                      menu->ButtonScores.get(), menu->ButtonQuit.get(),
                                                      menu->ButtonChange.get()};
        for (gui::TUIObject* b : buttons)
            if (b && b->Name == name)
                return *b;
        ADD_FAILURE() << "no button " << name;
        static gui::TUIObject none;
        return none;
    }
    void ClickButton(const std::string& name)
    {
        const auto [x, y] = Centre(Button(name));
        Click(x, y);
    }

    std::shared_ptr<TMainMenu> menu;
};

TEST_F(MainMenuTest, ButtonsStandOnTheirPanelsWithTheirPictures)
{
    Frame(); // places everything
    struct Place {
        const char* name;
        float x, y;
        int w, h; // the picture's size; 0: any
    };
    const Place places[] = {
        {"Play", 920 + 68, 550 + 112, 160, 80},
        {"Options", 48 + 130, 657 + 68, 160, 36},
        {"Scores", 48 + 684, 657 + 68, 160, 36},
        {"Quit", 1124, 14, 56, 56},
        {"ChangePlayer", 48 + 310, 657 + 70, 330, 32},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        gui::TUIObject& b = Button(p.name);
        EXPECT_NEAR(b.x, p.x, 0.01);
        EXPECT_NEAR(b.y, p.y, 0.01);
        EXPECT_EQ(b.w, p.w);
        EXPECT_EQ(b.h, p.h);
    }
    // The first start makes the default player, whom the welcome names.
    ASSERT_FALSE(progress::CurrentPlayerName().empty());
    EXPECT_EQ(menu->ProfileText->Text, menu->GetTxt(3) + " " + progress::CurrentPlayerName() + menu->GetTxt(4));
    EXPECT_FALSE(menu->GetTxt(5).empty());
}

TEST_F(MainMenuTest, EachButtonOpensItsPopUp)
{
    struct Case {
        const char* button;
        const char* popUp;
    };
    const Case cases[] = {{"ChangePlayer", "Profiles"}, {"Options", "Options"}, {"Scores", "Scores"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        std::shared_ptr<app::TPopUp> popUp;
        for (const auto& p : Control::PopUps())
            if (p->Name == c.popUp)
                popUp = p;
        ASSERT_TRUE(popUp);
        EXPECT_FALSE(popUp->IsShown());
        ClickButton(c.button);
        Frames(5);
        EXPECT_TRUE(popUp->IsShown());
        EXPECT_EQ(menu->ShowedPopUps.back(), popUp) << "on top of the menu";
        menu->PreparePopUps(); // hides it again
        Frames(2);
    }
    EXPECT_FALSE(Control::Quitting());
}

TEST_F(MainMenuTest, QuittingAsksFirstAndYesEndsTheProgram)
{
    ClickButton("Play");
    Frames(3);
    EXPECT_FALSE(Control::Quitting()) << "only Quit quits";
    menu->PreparePopUps(); // Play showed the mode choice; put it away
    Frames(2);
    ClickButton("Quit");
    // The confirmation pop-up, when it asks, is answered with its yes button.
    for (int i = 0; i < 200 && !Control::Quitting(); ++i) {
        Frame();
        std::shared_ptr<app::TPopUp> yesOrNo;
        for (const auto& p : Control::PopUps())
            if (p->Name == "YesOrNo")
                yesOrNo = p;
        if (yesOrNo && yesOrNo->IsShown() && yesOrNo->isLocked == 0) {
            auto yesObj = yesOrNo->FindObject("OK");
            auto* yes = dynamic_cast<gui::TUIObject*>(yesObj.get());
            ASSERT_NE(yes, nullptr) << "the question shows no yes button";
            const auto [x, y] = Centre(*yes);
            Click(x, y);
        }
    }
    EXPECT_TRUE(Control::Quitting());
    EXPECT_EQ(Control::ExitStatus(), 0);
}

// ---- The title logo ----

class LogoTest : public menustest::MenusEnv {
protected:
    // Frames of `menu`-less logo updates until the state changes (at most `limit`).
    int StepsToNextState(TZefarLogo& logo, int limit = 2000)
    {
        const int state = logo.State;
        int n = 0;
        while (logo.State == state && n < limit) {
            app::UpdateDeltaTime();
            app::AppClock();
            logo.Update();
            ++n;
        }
        return n;
    }
};

TEST_F(LogoTest, TheLogoArrivesInItsFiveStepsOnTheClock)
{
    TZefarLogo logo;
    app::AppClock();
    logo.Time = app::AppClock() + 1000;
    // Each wait in 16 ms steps; each growing state at 0.01, 0.005 and 0.02
    // a nominal frame.
    const struct {
        int from;
        int steps;
        float perAfter; // the next state's progress
    } expected[] = {
        {0, 63 + 100, 1}, // one second of waiting, then the name drops in
        {1, 16, 0},       // a 250 ms rest
        {2, 200, 1},      // the emblem's flash
        {3, 32, 0},       // a 500 ms rest
        {4, 50, 1},       // the flourishes slide in
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.from);
        ASSERT_EQ(logo.State, e.from);
        EXPECT_NEAR(StepsToNextState(logo), e.steps, 2);
        EXPECT_FLOAT_EQ(logo.Per, e.perAfter);
    }
    EXPECT_EQ(logo.State, 5);
    EXPECT_EQ(StepsToNextState(logo, 500), 500) << "state 5 is final";
}

TEST_F(LogoTest, PreparingTheMenuAgainPausesTheLogoButNeverRestartsIt)
{
    game::CreateProgramScreens(false);
    auto menu = game::Program().MainMenu;
    menu->Setup();
    menu->Prepare();
    auto run = [&](int n) {
        for (int i = 0; i < n; ++i) {
            app::UpdateDeltaTime();
            app::AppClock();
            menu->OnUpdate();
        }
    };
    run(63 + 100 + 16 + 50); // into the flash
    ASSERT_EQ(menu->Logo.State, 2);
    const float per = menu->Logo.Per;
    menu->Prepare();
    run(60);
    EXPECT_EQ(menu->Logo.State, 2) << "waits a second after each prepare";
    EXPECT_FLOAT_EQ(menu->Logo.Per, per);
    run(400);
    EXPECT_EQ(menu->Logo.State, 5);
    menu->Prepare();
    run(100);
    EXPECT_EQ(menu->Logo.State, 5) << "the animation plays once a run";
    game::Program() = game::ProgramScreens{};
}

TEST_F(LogoTest, PicturesHaveTheirHandlesAndMeetTheEmblem)
{
    TZefarLogo::Setup();
    const auto& p = TZefarLogo::Pictures();
    for (const auto& img : p)
        ASSERT_TRUE(img);
    EXPECT_EQ(p[0]->HandleX(), p[0]->Width() / 2.0f);
    EXPECT_EQ(p[0]->HandleY(), p[0]->Height() / 2.0f - 6);
    EXPECT_EQ(p[2]->HandleX(), p[2]->Width());
    EXPECT_EQ(p[3]->HandleX(), 0);
    // At rest the flourishes' inner ends (x 460 and 558) touch the emblem
    // centred on 512, and nothing leaves the design area.
    const float emblemLeft = 512 - p[1]->Width() / 2.0f, emblemRight = 512 + p[1]->Width() / 2.0f;
    EXPECT_NEAR(460, emblemLeft, 8);
    EXPECT_NEAR(558, emblemRight, 8);
    EXPECT_GE(460 - p[2]->Width(), 0);
    EXPECT_LE(558 + p[3]->Width(), 1024);
    EXPECT_GE(100 - p[0]->HandleY(), 0) << "the name's top is on screen";
}

} // namespace
