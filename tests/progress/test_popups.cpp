// The profile, name entry and confirmation pop-ups of the game folder,
// clicked and typed into through the platform's input queue frame by frame,
// and the road from the menus' Play into a level.
#include "progress_fixture.h"

#include "level/maingame.h"
#include "level/pickmode.h"
#include "menus/mainmenu.h"
#include "progress/entername.h"
#include "progress/yesorno.h"

using namespace progress;
using namespace progress_test;

namespace {

class PopUpsTest : public ProgressTest {
protected:
    void SetUp() override
    {
        ProgressTest::SetUp();
        auto& p = game::Program();
        p.Profiles->Setup();
        p.EnterName->Setup();
        p.YesOrNo->Setup();
        p.PickMode->Setup();
        // The pop-ups are shown over a plain screen: the main menu would
        // apply its first-start rule in every frame and make a player of its own.
        table = std::make_shared<app::TScreen>();
        table->Init(0, "Table", 1);
        Control::SetCurrScreenInstantly(table);
        Frame();
    }
    std::shared_ptr<app::TScreen> table;

    TProfiles& Profiles() const { return *game::Program().Profiles; }
    TEnterName& EnterName() const { return *game::Program().EnterName; }
    TYesOrNo& YesOrNo() const { return *game::Program().YesOrNo; }

    // Clicks the name row i of the profile pop-up.
    void ClickRow(int i) const
    {
        ClickAt(Profiles().Panel->x + TProfiles::kRowX + TProfiles::kRowW / 2.0f,
                Profiles().Panel->y + TProfiles::kRowY + TProfiles::kRowH * static_cast<float>(i) + 20);
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> out;
        for (const PProfile& p : Profiles().ProfilesList)
            out.push_back(p->Name);
        return out;
    }
};

} // namespace

TEST_F(PopUpsTest, NewTypeChooseAndDeleteThroughTheButtons)
{
    Profiles().AddNewProfile("Ann");
    ShowProfiles();
    UntilAtRest(Profiles());
    EXPECT_FALSE(Profiles().ButtonDelete->isEnabled) << "the last player cannot be deleted";
    EXPECT_TRUE(Profiles().ButtonDeleteDisabled->isEnabled);
    Click(*Profiles().ButtonDeleteDisabled);
    EXPECT_FALSE(YesOrNo().IsShown());

    // New: the name entry; "-" may not be typed; Enter adds the player.
    Click(*Profiles().ButtonNew);
    UntilAtRest(EnterName());
    Type(U"bo-b");
    EXPECT_EQ(EnterName().Enter, "BOB");
    Type(U"\r");
    UntilHidden(EnterName());
    EXPECT_EQ(Names(), (std::vector<std::string>{"ANN", "BOB"}));
    EXPECT_EQ(CurrProfile()->Name, "BOB");
    EXPECT_TRUE(fs::exists(ProfileFile("66-79-66"))) << "a new player is saved at once";

    // A click on a row chooses that player.
    Frames(2);
    EXPECT_TRUE(Profiles().ButtonDelete->isEnabled);
    ClickRow(0);
    EXPECT_EQ(CurrProfile()->Name, "ANN");

    // Delete asks first: Cancel keeps the player, OK removes it once the
    // question has slid out.
    Click(*Profiles().ButtonDelete);
    UntilAtRest(YesOrNo());
    EXPECT_EQ(YesOrNo().Text->Text, Profiles().GetTxt(1));
    Click(*YesOrNo().ButtonCancel);
    UntilHidden(YesOrNo());
    EXPECT_EQ(Names().size(), 2u);
    Click(*Profiles().ButtonDelete);
    UntilAtRest(YesOrNo());
    Click(*YesOrNo().ButtonOk);
    EXPECT_EQ(Names().size(), 2u) << "not before the slide-out is over";
    UntilHidden(YesOrNo());
    EXPECT_EQ(Names(), (std::vector<std::string>{"BOB"}));
    EXPECT_EQ(CurrProfile()->Name, "BOB");

    Click(*Profiles().ButtonOk);
    UntilHidden(Profiles());
}

TEST_F(PopUpsTest, TheSixthPlayerDisablesNew)
{
    for (const char* n : {"A", "B", "C", "D", "E"})
        Profiles().AddNewProfile(n);
    ShowProfiles();
    UntilAtRest(Profiles());
    EXPECT_TRUE(Profiles().ButtonNew->isEnabled);
    Click(*Profiles().ButtonNew);
    UntilAtRest(EnterName());
    Type(U"F\r");
    UntilHidden(EnterName());
    Frames(2);
    EXPECT_EQ(Names().size(), 6u);
    EXPECT_FALSE(Profiles().ButtonNew->isEnabled);
    EXPECT_TRUE(Profiles().ButtonNewDisabled->isEnabled);
    Click(*Profiles().ButtonNewDisabled);
    Frames(3);
    EXPECT_FALSE(EnterName().IsShown());
}

TEST_F(PopUpsTest, TheFirstStartAsksForANameThatCannotBeCancelled)
{
    app::GlobalVars::AutoProfileCreate = 0;
    EnsureCurrentProfile();
    UntilAtRest(EnterName());
    Click(*EnterName().ButtonCancel);
    Frames(3);
    EXPECT_TRUE(EnterName().IsShown()) << "no player yet: a name must be given";

    // OK with nothing but blanks does nothing; the fourteenth character is refused.
    Type(U"  ");
    Click(*EnterName().ButtonOk);
    EXPECT_TRUE(EnterName().IsShown());
    Type(U"\b\bzoé abcdefghij");
    EXPECT_EQ(EnterName().Enter, "ZOÉ ABCDEFGHI");
    Type(U"\b");
    EXPECT_EQ(NameLength(EnterName().Enter), 12);
    Click(*EnterName().ButtonOk);
    UntilHidden(EnterName());
    ASSERT_TRUE(CurrProfile());
    EXPECT_EQ(CurrProfile()->Name, "ZOÉ ABCDEFGH");
    EXPECT_EQ(CurrentPlayerName(), "ZOÉ ABCDEFGH");

    // Typing the name of a listed player switches to them.
    Profiles().AddNewProfile("Ann");
    EnterName().GoShow();
    UntilAtRest(EnterName());
    Type(U"zoé abcdefgh\r");
    UntilHidden(EnterName());
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_EQ(CurrProfile()->Name, "ZOÉ ABCDEFGH");
    // With a player, Cancel closes.
    EnterName().GoShow();
    UntilAtRest(EnterName());
    Click(*EnterName().ButtonCancel);
    UntilHidden(EnterName());
}

TEST_F(PopUpsTest, WithAutomaticProfilesTheFirstStartMakesTheDefaultPlayer)
{
    EnsureCurrentProfile();
    ASSERT_TRUE(CurrProfile());
    EXPECT_EQ(CurrProfile()->Name, "PLAYER");
    EXPECT_FALSE(EnterName().IsShown());
    EXPECT_TRUE(fs::exists(ListFile()));
    EnsureCurrentProfile();
    EXPECT_EQ(Names().size(), 1u);
}

TEST_F(PopUpsTest, TheQuestionAnswersByKeysOnceAfterItsSlideOut)
{
    struct Case {
        int key;
        int yes, no;
    } cases[] = {
        {platform::key::Enter, 1, 0},
        {platform::key::A + ('Y' - 'A'), 1, 0},
        {platform::key::Escape, 0, 1},
        {platform::key::A + ('N' - 'A'), 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        int yes = 0, no = 0;
        AskYesOrNo("Really?", [&] { ++yes; }, [&] { ++no; });
        UntilAtRest(YesOrNo());
        EXPECT_EQ(YesOrNo().Text->Text, "Really?");
        platform::InjectKey(c.key, true);
        platform::InjectKey(c.key, false);
        Frame();
        EXPECT_EQ(yes + no, 0);
        UntilHidden(YesOrNo());
        Frames(3);
        EXPECT_EQ(yes, c.yes);
        EXPECT_EQ(no, c.no);
    }
    // Hidden by a screen change without an answer: neither runs.
    int ran = 0;
    AskYesOrNo("Leave?", [&] { ++ran; }, [&] { ++ran; });
    UntilAtRest(YesOrNo());
    YesOrNo().Hide();
    EXPECT_EQ(ran, 0);
}

TEST_F(PopUpsTest, PlayStartsANewGameThroughTheIntroOrContinuesIt)
{
    auto& prog = game::Program();
    prog.MainGame->app::TScreen::Setup();
    Profiles().AddNewProfile("Bob");
    auto p = CurrProfile();

    // No game in progress: the mode choice.
    Play();
    UntilAtRest(*prog.PickMode);
    prog.PickMode->Hide();

    // The mode chosen: the intro passes straight on to stage 1, level 1.
    level::Road().StartNewGame(1);
    for (int i = 0; i < 600 && Control::CurrScreen() != prog.MainGame; ++i)
        Frame();
    ASSERT_EQ(Control::CurrScreen(), prog.MainGame);
    ASSERT_TRUE(prog.MainGame->Level);
    EXPECT_EQ(prog.MainGame->Setup.stage, 1);
    EXPECT_EQ(prog.MainGame->Setup.level, 1);
    EXPECT_EQ(prog.MainGame->Setup.timed, 1);
    // The level's start was saved with this screen to resume.
    TProfile saved;
    saved.Name = "BOB";
    ASSERT_TRUE(saved.Load());
    EXPECT_EQ(saved.CurrScreen, "MainGame");
    EXPECT_EQ(saved.CurrStageID, 1);
    EXPECT_EQ(saved.Mode, 1);

    // Back to the menu, then Play continues where the player was.
    level::Road().GoMainMenu();
    for (int i = 0; i < 600 && Control::CurrScreen() != prog.MainMenu; ++i)
        Frame();
    p->CurrStageID = 2;
    p->CurrLevelId = 3;
    Play();
    for (int i = 0; i < 600 && Control::CurrScreen() != prog.MainGame; ++i)
        Frame();
    ASSERT_EQ(Control::CurrScreen(), prog.MainGame);
    EXPECT_EQ(prog.MainGame->Setup.stage, 2);
    EXPECT_EQ(prog.MainGame->Setup.level, 3);

    // Quitting saves the profiles too.
    p->Cash = 777;
    EXPECT_TRUE(Control::SaveAll());
    ASSERT_TRUE(saved.Load());
    EXPECT_EQ(saved.Cash, 777);
}
