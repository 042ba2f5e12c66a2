// The map screen as the player meets it: buttons sliding in with the fourth
// locked, the buy window, purchases paid once and saved in one step, the
// chapter change, Play, and the end of the game with the city unfinished.
// The screen runs on the program's screens with a small catalogue of its own.
#include "progress/progress_fixture.h"

#include "app/globalvars.h"
#include "citymap/mapscreen.h"
#include "fx/timing.h"
#include "level/maingame.h"
#include "progress/yesorno.h"
#include "support/mapcatalogue.h"

using namespace progress;
using namespace progress_test;
using citymap::MapCatalogue;
using citymap::TMapScreen;
using testsupport::MapObjectBlock;

namespace {

class MapScreenTest : public ProgressTest {
protected:
    void SetUp() override
    {
        ProgressTest::SetUp();
        fx::SetFrameFactorSource([] { return app::FrameFactor(); });
        fx::SetAppClockSource([] { return app::AppClock(); });
        auto& p = game::Program();
        p.YesOrNo->Setup();
        p.MapScreen->Setup();
        // 514, 81 and 4 stand on the start map; 1 replaces 81 and brings the
        // background set 3; 4 is an eyesore bought away.
        testsupport::LoadMapCatalogueText(
            MapObjectBlock("MAPOBJECT", 514, 0) + MapObjectBlock("MAPOBJECT", 81, 300) +
            MapObjectBlock("BUILDOBJECT", 4, 400, "\tIsExistReversed = 1\n\tPrice = 15\n") +
            MapObjectBlock("BUILDOBJECT", 1, 1500, "\tPrice = 10\n\tHideObjects = \"81\"\n\tBackgroundIndex = 3\n") +
            MapObjectBlock("BUILDOBJECT", 2, 600, "\tPrice = 20\n") + MapObjectBlock("BUILDOBJECT", 3, 700, "\tPrice = 30\n") +
            MapObjectBlock("BUILDOBJECT", 5, 800, "\tPrice = 5\n") + MapObjectBlock("BUILDOBJECT", 6, 900, "\tPrice = 5\n") +
            MapObjectBlock("BUILDOBJECT", 7, 1000, "\tPrice = 5\n") + MapObjectBlock("BUILDOBJECT", 8, 1100, "\tPrice = 5\n"));
        std::string queue = "Chapter1 = 1, 2, 4, 3\nChapter2 = 5, 6, 7, 8\n";
        for (int c = 3; c <= 8; ++c)
            queue += "Chapter" + std::to_string(c) + " = 0, 0, 0, 0\n";
        citymap::BuildingQueue().LoadBlocks(ParseBlockText(queue, "Q"), "queue");
        citymap::StartMap() = std::make_shared<citymap::TMap>();
        citymap::StartMap()->MakeMeStartMap();
        List()->AddNewProfile("Bob");
        player = CurrProfile();
        player->FLOW_StartNew();
        player->CurrLevelId = 2;
        player->Cash = 100;
    }

    void TearDown() override
    {
        fx::SetFrameFactorSource(nullptr);
        fx::SetAppClockSource(nullptr);
        ProgressTest::TearDown();
    }

    TMapScreen& Map() const { return *game::Program().MapScreen; }
    citymap::TMapObject* O(int id) const { return MapCatalogue().Find(id); }

    void Enter()
    {
        Control::SetCurrScreen(game::Program().MapScreen);
        Frame();
    }
    // Frames until nothing on the screen moves or fades any more.
    void Settle()
    {
        for (int i = 0; i < 2000; ++i) {
            Frame();
            bool moving = Map().uiHidden || Map().isSomethingBuildNow() || !Map().BuyWindow->isClosed() ||
                          Map().PlayPanel->isMoving();
            for (const auto& b : Map().ButtonMap)
                moving = moving || (b.MapObject && (b.p != b.dp || b.MovePer != b.dMovePer));
            if (!moving)
                return;
        }
        std::string why = "ui " + std::to_string(Map().uiHidden) + " build " +
                          std::to_string(Map().isSomethingBuildNow()) + " window " +
                          std::to_string(Map().BuyWindow->ShowPer) + " panel " + std::to_string(Map().PlayPanel->isMoving());
        for (const auto& b : Map().ButtonMap)
            why += " [" + std::to_string(b.p) + " " + std::to_string(b.dp) + " " + std::to_string(b.MovePer) + "]";
        FAIL() << "the map screen never came to rest: " << why;
    }
    void ClickButton(int i)
    {
        const citymap::TMapBuyButton& b = Map().ButtonMap[static_cast<size_t>(i)];
        ClickAt(b.x + 64, b.y + 48);
    }
    // Opens the window from button i and presses Buy once it is open.
    void BuyFromButton(int i)
    {
        ClickButton(i);
        for (int f = 0; f < 100 && Map().BuyWindow->ShowPer < 1; ++f)
            Frame();
        ASSERT_EQ(Map().BuyWindow->ShowPer, 1.0f);
        Click(*Map().BuyWindow->BuyButton);
        Settle();
    }
    std::string SavedFile() const { return ReadAll(player->FilePath()); }

    PProfile player;
};

TEST_F(MapScreenTest, ButtonsSlideInOneAfterAnotherAndTheFourthWaitsLocked)
{
    Enter();
    const auto& b = Map().ButtonMap;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(b[static_cast<size_t>(i)].MapObject, O(std::array{1, 2, 4, 3}[static_cast<size_t>(i)]));
    EXPECT_EQ(b[1].WaitTime - b[0].WaitTime, 250);
    EXPECT_EQ(b[3].WaitTime - b[0].WaitTime, 750);
    EXPECT_TRUE(Map().isButtonLocked(b[3]));
    EXPECT_FALSE(Map().isButtonLocked(b[2]));
    Settle();
    EXPECT_TRUE(b[3].isShown());
    EXPECT_EQ(player->CurrScreen, "MapScreen") << "the game resumes on the map";

    // The locked one only says why.
    ClickButton(3);
    Frames(5);
    EXPECT_TRUE(game::Program().YesOrNo->IsShown());
    EXPECT_EQ(game::Program().YesOrNo->Text->Text, Map().GetTxt(9));
    EXPECT_EQ(Map().BuyWindow->dShowPer, 0.0f);
}

TEST_F(MapScreenTest, APurchaseIsPaidRecordedAppliedAndSavedInOneStep)
{
    Enter();
    Settle();
    ClickButton(0);
    Frames(30);
    EXPECT_EQ(Map().BuyWindow->Title->Text, O(1)->name);
    Click(*Map().BuyWindow->BuyButton);
    // Right after the click, long before the fades end, the file holds it all.
    ASSERT_EQ(player->BoughtUpgrades.size(), 1u);
    EXPECT_EQ(player->Cash, 90);
    EXPECT_EQ(player->CurrBG, 3);
    const std::string saved = SavedFile();
    EXPECT_NE(saved.find("Money = 90"), std::string::npos) << saved;
    EXPECT_NE(saved.find("BoughtUpgrades = \"1 \""), std::string::npos) << saved;
    EXPECT_NE(saved.find("CurrBG = 3"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Objects = \"514 4 1\""), std::string::npos) << "81 left with the purchase\n" << saved;
    EXPECT_TRUE(Map().uiHidden) << "the interface makes way for the fade";
    Settle();
    EXPECT_FALSE(Map().uiHidden);
    EXPECT_TRUE(Map().ButtonMap[0].isHidden());

    // Bought once: a second purchase of the same object pays nothing.
    EXPECT_FALSE(Map().Buy(O(1)));
    EXPECT_EQ(player->Cash, 90);
    EXPECT_EQ(player->BoughtUpgrades.size(), 1u);
}

TEST_F(MapScreenTest, ARemovalNeverComesBackAfterAQuitInTheMiddleOfItsFade)
{
    Enter();
    Settle();
    ClickButton(2);
    Frames(30);
    Click(*Map().BuyWindow->BuyButton);
    Frames(20); // fading out now, and the program dies here
    TProfile again;
    again.Name = player->Name;
    again.Load();
    EXPECT_FALSE(again.Map->isPresent(O(4)));
    EXPECT_TRUE(again.isBought(4));
    EXPECT_EQ(again.Cash, 85);
}

TEST_F(MapScreenTest, WithoutTheCashTheBuyButtonIsOffAndNothingIsPaid)
{
    player->Cash = 5;
    Enter();
    Settle();
    ClickButton(0);
    Frames(30);
    EXPECT_FALSE(Map().BuyWindow->BuyButton->isEnabled);
    EXPECT_TRUE(Map().BuyWindow->BuyUnactive->isEnabled);
    Click(*Map().BuyWindow->BuyButton);
    EXPECT_EQ(player->Cash, 5);
    EXPECT_TRUE(player->BoughtUpgrades.empty());
    EXPECT_FALSE(Map().Buy(O(1))) << "the screen itself refuses too";
    EXPECT_TRUE(player->BoughtUpgrades.empty());
}

TEST_F(MapScreenTest, TheFourPurchasesOpenTheNextChapterAndPlayGoesOn)
{
    Enter();
    Settle();
    for (int i : {0, 1, 2, 3})
        BuyFromButton(i);
    EXPECT_EQ(player->Cash, 25);
    EXPECT_EQ(player->CurrScreen, "MapScreen");
    ASSERT_EQ(Map().Map->Etap, 1);
    EXPECT_EQ(Map().ButtonMap[0].MapObject, O(5));
    Settle();
    BuyFromButton(0);
    EXPECT_EQ(player->Cash, 20);

    Click(*Map().ButtonPlay);
    ASSERT_TRUE(app::Crosser()->Running());
    EXPECT_EQ(app::Crosser()->NewScreen->Name, "MainGame");
    ASSERT_TRUE(game::Program().MainGame->Level);
    EXPECT_EQ(game::Program().MainGame->Setup.level, 2);
    EXPECT_EQ(game::Program().MainGame->Setup.background, 3);
}

TEST_F(MapScreenTest, AtTheEndPlayOnlySaysWhatIsMissingUntilTheCityIsDone)
{
    player->CurrStageID = 5;
    player->CurrLevelId = TProfile::kEndLevel;
    Enter();
    Settle();
    Click(*Map().ButtonPlay);
    Frames(5);
    EXPECT_FALSE(app::Crosser()->Running()) << "no level past the last one";
    EXPECT_TRUE(game::Program().YesOrNo->IsShown());
    EXPECT_EQ(game::Program().YesOrNo->Text->Text, Map().GetTxt(8));

    game::Program().YesOrNo->Hide();
    for (int id = 100; player->BoughtUpgrades.size() < TProfile::kAllUpgrades; ++id)
        player->BoughtUpgrades.push_back({id});
    Frames(2);
    Click(*Map().ButtonPlay);
    ASSERT_TRUE(app::Crosser()->Running());
    EXPECT_EQ(app::Crosser()->NewScreen->Name, "Outro");
}

} // namespace

namespace {

TEST_F(MapScreenTest, EscapeClosesTheWindowThenLeavesForTheMenuAndPlayComesBack)
{
    Enter();
    Settle();
    ClickButton(0);
    Frames(30);
    platform::InjectKey(platform::key::Escape, true);
    Frame();
    platform::InjectKey(platform::key::Escape, false);
    Settle();
    EXPECT_TRUE(Map().BuyWindow->isClosed());
    EXPECT_FALSE(app::Crosser()->Running()) << "the first Escape only closes the window";
    platform::InjectKey(platform::key::Escape, true);
    Frame();
    platform::InjectKey(platform::key::Escape, false);
    ASSERT_TRUE(app::Crosser()->Running());
    EXPECT_EQ(app::Crosser()->NewScreen->Name, "MainMenu");
    EXPECT_EQ(player->CurrScreen, "MapScreen") << "Play on the menu continues on the map";
}

} // namespace

namespace {

TEST_F(MapScreenTest, PurchasesUnlockTheirPowerUpsAndTheWindowSaysWhich)
{
    app::GlobalVars::PowerUp1Unlocker = 2; // a building
    app::GlobalVars::PowerUp2Unlocker = 4; // an eyesore bought away
    Enter();
    Settle();
    EXPECT_TRUE(player->isPowerUpAvailable(0)) << "the first power-up is always there";
    EXPECT_FALSE(player->isPowerUpAvailable(1));
    EXPECT_FALSE(player->isPowerUpAvailable(2));

    ClickButton(1);
    Frames(30);
    EXPECT_TRUE(Map().BuyWindow->SpecialText[0]->isEnabled);
    EXPECT_FALSE(Map().BuyWindow->SpecialText[1]->isEnabled);
    Click(*Map().BuyWindow->BuyButton);
    EXPECT_TRUE(player->isPowerUpAvailable(1));
    Settle();

    ClickButton(2);
    Frames(30);
    EXPECT_TRUE(Map().BuyWindow->SpecialText[1]->isEnabled);
    Click(*Map().BuyWindow->BuyButton);
    EXPECT_TRUE(player->isPowerUpAvailable(2)) << "unlocked when paid, not when its fade is over";
    Settle();
    EXPECT_TRUE(player->isPowerUpAvailable(2));

    TProfile again;
    again.Name = player->Name;
    again.Load();
    EXPECT_TRUE(again.isPowerUpAvailable(1));
    EXPECT_TRUE(again.isPowerUpAvailable(2));
    EXPECT_FALSE(again.isPowerUpAvailable(3));
    app::GlobalVars::PowerUp1Unlocker = 0;
    app::GlobalVars::PowerUp2Unlocker = 0;
}

} // namespace
