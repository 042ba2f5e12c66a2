// Profiles on disk and the progression: names and their files, the save file
// read back field by field, the list file, the counting of won levels, and
// what happens to damaged or missing files and failed writes.
#include "progress_fixture.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include "level/maingame.h"
#include "support/mapcatalogue.h"
#include "progress/entername.h"

using namespace progress;
using namespace progress_test;

// ---- Names ----

TEST(ProfileNames, CodedNamesAreUtf16UnitsInDecimalAndUpperCaseKeepsAccents)
{
    struct Case {
        const char* name;
        const char* upper;
        const char* coded; // of the upper case
    } cases[] = {
        {"AB", "AB", "65-66"},
        {"bob", "BOB", "66-79-66"},
        {"é", "É", "201"},
        {"zoë_7 x", "ZOË_7 X", "90-79-203-95-55-32-88"},
        {"ÿ÷", "ÿ÷", "255-247"},          // no Latin-1 capital: kept
        {"\xF0\x9F\x99\x82", "\xF0\x9F\x99\x82", "55357-56898"}, // beyond 16 bits: a surrogate pair
        {"../x", "../X", "46-46-47-88"},  // only digits and dashes reach the file name
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UpperName(c.name), c.upper);
        EXPECT_EQ(CodedName(UpperName(c.name)), c.coded);
    }
    EXPECT_TRUE(SameName("bob", "BOB"));
    EXPECT_TRUE(SameName("élan", "ÉLAN"));
    EXPECT_FALSE(SameName("bob", "bobby"));
}

TEST(ProfileNames, WhatMayBeTyped)
{
    for (int code : std::initializer_list<int>{' ', '_', '0', '9', 'A', 'Z', 'a', 'z', 129, 233, 0x20AC})
        EXPECT_TRUE(TEnterName::isCharForbidden(code)) << code;
    for (int code : std::initializer_list<int>{'-', '.', '/', '\\', '"', ':', 0, 31, 127, 128, '@', '`', '{'})
        EXPECT_FALSE(TEnterName::isCharForbidden(code)) << code;
}

// ---- Counting won levels ----

TEST(ProfileRoad, WonLevelsCountByTheRealStageLengths)
{
    struct Case {
        int stage, level;
        int nextStage, nextLevel;
        bool end;
    } cases[] = {
        {1, 1, 1, 2, false},   {1, 12, 1, 13, false}, {1, 13, 2, 1, false}, {2, 19, 3, 1, false},
        {3, 20, 4, 1, false},  {4, 21, 5, 1, false},  {5, 21, 5, 22, false}, {5, 22, 5, 23, true},
        {5, 23, 5, 23, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.stage) + "-" + std::to_string(c.level));
        TProfile p;
        p.CurrStageID = c.stage;
        p.CurrLevelId = c.level;
        EXPECT_EQ(p.AdvanceAfterWin(), c.end);
        EXPECT_EQ(p.CurrStageID, c.nextStage);
        EXPECT_EQ(p.CurrLevelId, c.nextLevel);
        EXPECT_EQ(p.isAtEnd(), c.end);
    }
}

TEST(ProfileRoad, TheMapIsCompleteAtThirtyTwoPurchases)
{
    TProfile p;
    for (int i = 0; i < 31; ++i)
        p.BoughtUpgrades.push_back({i});
    EXPECT_FALSE(p.AllUpgradesDone());
    p.BoughtUpgrades.push_back({31});
    EXPECT_TRUE(p.AllUpgradesDone());
}

// ---- The save file ----

TEST_F(ProgressTest, EveryFieldSurvivesASaveAndALoad)
{
    auto p = std::make_shared<TProfile>();
    p->Name = UpperName("Zoé");
    p->Tips = {3, 7, 12};
    p->DialogsShowed = {101, 5};
    p->BoughtUpgrades = {{3}, {5}};
    p->CurrScreen = "MapScreen";
    p->CurrLevelId = 17;
    p->CurrStageID = 3;
    p->CurrPowerUp = {1, 2, 3, 4, 5, 6};
    testsupport::LoadMapCatalogueText(testsupport::MapObjectBlock("BUILDOBJECT", 1, 0) +
                                      testsupport::MapObjectBlock("BUILDOBJECT", 2, 0) +
                                      testsupport::MapObjectBlock("BUILDOBJECT", 9, 0));
    p->Map->Load(*ParseBlockText("Etap = 4\nObjects = \"9 1 2\"\n", "Map"));
    p->MaxHitPoints = 120;
    p->HitPoints = 80;
    p->CurrBG = 7;
    p->Cash = 1234;
    p->Mode = 1;
    p->Score = 98765;
    p->WasAtUpgradesScreen = 1;
    ASSERT_TRUE(p->Save());

    const std::string path = ProfileFile("90-79-201");
    ASSERT_EQ(p->FilePath(), path);
    const std::string text = platform::ReadTextFile(path);
    EXPECT_NE(text.find("Data{\n\tName = \"ZOÉ\"\n\tCurrScreen = \"MapScreen\"\n\tLevel = 17\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\tHitPoints = 80, 120\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\tBoughtUpgrades = \"3 5 \"\n\tTutorial = \"3 7 12\"\n\tDialogs = \"101 5\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("PowerUps{\n\tPowerUp1 = 1\n"), std::string::npos) << text;

    TProfile q;
    q.Name = p->Name;
    ASSERT_TRUE(q.Load());
    EXPECT_EQ(q.Tips, p->Tips);
    EXPECT_EQ(q.DialogsShowed, p->DialogsShowed);
    ASSERT_EQ(q.BoughtUpgrades.size(), 2u);
    EXPECT_EQ(q.BoughtUpgrades[1].id, 5);
    EXPECT_EQ(q.CurrScreen, "MapScreen");
    EXPECT_EQ(q.CurrLevelId, 17);
    EXPECT_EQ(q.CurrStageID, 3);
    EXPECT_EQ(q.CurrPowerUp, p->CurrPowerUp);
    EXPECT_EQ(q.MaxHitPoints, 120);
    EXPECT_EQ(q.HitPoints, 80);
    EXPECT_EQ(q.CurrBG, 7);
    EXPECT_EQ(q.Cash, 1234);
    EXPECT_EQ(q.Mode, 1);
    EXPECT_EQ(q.Score, 98765);
    EXPECT_EQ(q.WasAtUpgradesScreen, 1);
    // The map comes back (in catalogue order), and goes out again unchanged.
    ASSERT_TRUE(q.Map);
    EXPECT_EQ(q.Map->Etap, 4);
    EXPECT_EQ(q.Map->GetObjectsString(), "1 2 9");
    EXPECT_NE(text.find("Map{\n\tEtap = 4\n\tObjects = \"1 2 9\"\n}"), std::string::npos) << text;
    ASSERT_TRUE(q.Save());
    EXPECT_EQ(platform::ReadTextFile(path), text);
}

TEST_F(ProgressTest, NoResumeScreenAndEmptyListsAndUnknownScreensReadAsNone)
{
    auto p = std::make_shared<TProfile>();
    p->Name = "AMY";
    ASSERT_TRUE(p->Save());
    EXPECT_EQ(platform::ReadTextFile(p->FilePath()).find("CurrScreen"), std::string::npos);
    EXPECT_NE(platform::ReadTextFile(p->FilePath()).find("\tTutorial = \"\"\n"), std::string::npos);

    WriteAll(p->FilePath(), "Data{\n\tCurrScreen = \"Nowhere\"\n\tTutorial = \"4 x 9\"\n\tLevel = 2.9\n}\n");
    TProfile q;
    q.Name = "AMY";
    q.Load();
    EXPECT_FALSE(q.isAbleToContinue());
    EXPECT_EQ(q.Tips, (std::vector<int>{4, 9}));
    EXPECT_EQ(q.CurrLevelId, 2);
    EXPECT_EQ(q.HitPoints, 0) << "a missing key reads as 0";
    ASSERT_TRUE(q.Map) << "no map block: the start map it was made with";
    EXPECT_EQ(q.Map->Etap, 0);
}

TEST_F(ProgressTest, TypedNamesSurviveTheListFileAndTheirOwnFiles)
{
    // Latin-1 letters are stored a byte each, anything above as UTF-16.
    for (const char* name : {"Zoë", "łukasz", "€uro"}) {
        SCOPED_TRACE(name);
        List()->AddNewProfile(name);
    }
    ASSERT_EQ(List()->ProfilesList.size(), 3u);
    List()->LoadProfiles();
    ASSERT_EQ(List()->ProfilesList.size(), 3u);
    EXPECT_EQ(List()->ProfilesList[0]->Name, "ZOË");
    EXPECT_EQ(List()->ProfilesList[1]->Name, "łUKASZ");
    EXPECT_EQ(List()->ProfilesList[2]->Name, "€URO");
    EXPECT_EQ(CurrProfile(), List()->ProfilesList[2]);
    EXPECT_TRUE(fs::exists(ProfileFile("90-79-203")));
    EXPECT_TRUE(fs::exists(ProfileFile(CodedName("łUKASZ"))));
    EXPECT_FALSE(Logged("missing"));
}

// ---- The list ----

TEST_F(ProgressTest, BobAndBOBAreOnePlayerStoredAsBOB)
{
    List()->AddNewProfile("bob");
    auto bob = CurrProfile();
    ASSERT_TRUE(bob);
    EXPECT_EQ(bob->Name, "BOB");
    EXPECT_TRUE(fs::exists(ProfileFile("66-79-66")));
    List()->AddNewProfile("Ann");
    EXPECT_EQ(CurrProfile()->Name, "ANN");

    // The name of a listed player switches to that player.
    List()->AddNewProfile("BOB");
    EXPECT_EQ(List()->ProfilesList.size(), 2u);
    EXPECT_EQ(CurrProfile(), bob);
    EXPECT_NE(ReadAll(ListFile()).find("CurrProfile = \"66-79-66\""), std::string::npos);

    // Blank and empty names are refused.
    List()->AddNewProfile("   ");
    EXPECT_EQ(List()->ProfilesList.size(), 2u);
}

TEST_F(ProgressTest, SixProfilesAtMostAndTheLastOneStays)
{
    auto& list = *List();
    for (const char* n : {"A", "B", "C", "D", "E"})
        list.AddNewProfile(n);
    list.UpdateButtons(); // before set-up: no widgets, nothing happens
    list.AddNewProfile("F");
    EXPECT_EQ(list.ProfilesList.size(), 6u);
    list.AddNewProfile("G");
    EXPECT_EQ(list.ProfilesList.size(), 6u) << "a seventh profile is refused";
    EXPECT_EQ(CurrProfile()->Name, "F");

    for (int left = 5; left >= 1; --left) {
        TProfiles::DeleteCurrProfile();
        EXPECT_EQ(static_cast<int>(list.ProfilesList.size()), left);
        EXPECT_EQ(CurrProfile(), list.ProfilesList.front());
    }
    TProfiles::DeleteCurrProfile();
    ASSERT_EQ(list.ProfilesList.size(), 1u) << "the last profile cannot be deleted";
    EXPECT_EQ(CurrProfile()->Name, "E");
    // Deleting takes a player off the list; their file stays.
    EXPECT_TRUE(fs::exists(ProfileFile("65")));
    list.LoadProfiles();
    EXPECT_EQ(list.ProfilesList.size(), 1u);
}

TEST_F(ProgressTest, ACurrentProfileThatNamesNoListedOneMakesTheFirstCurrent)
{
    auto a = std::make_shared<TProfile>();
    a->Name = "ANN";
    auto b = std::make_shared<TProfile>();
    b->Name = "BOB";
    b->Cash = 50;
    SaveListed({a, b}, "66-79-66");
    List()->LoadProfiles();
    ASSERT_TRUE(CurrProfile());
    EXPECT_EQ(CurrProfile()->Name, "BOB");
    EXPECT_EQ(CurrProfile()->Cash, 50);

    for (const char* current : {"99-99", ""}) {
        SCOPED_TRACE(current);
        SaveListed({a, b}, current);
        List()->LoadProfiles();
        ASSERT_TRUE(CurrProfile());
        EXPECT_EQ(CurrProfile()->Name, "ANN");
    }
}

TEST_F(ProgressTest, NoListFileMeansNoProfiles)
{
    List()->LoadProfiles();
    EXPECT_TRUE(List()->ProfilesList.empty());
    EXPECT_FALSE(CurrProfile());
    EXPECT_TRUE(SaveProfiles()) << "nothing to save";
    EXPECT_FALSE(fs::exists(ListFile()));
}

// ---- Damaged and missing files ----

TEST_F(ProgressTest, AMissingOrDamagedProfileFileIsReportedAndTheOthersLoad)
{
    struct Case {
        const char* what;
        const char* content; // nullptr: no file
        int level;           // what could be read
    } cases[] = {
        {"missing", nullptr, 0},
        {"not a block file", "\x01\x02 garbage {{{ = = \"", 0},
        {"cut short", "Data{\n\tName = \"BOB\"\n\tLevel = 9\n\tStage = 2", 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        console.clear();
        auto a = std::make_shared<TProfile>();
        a->Name = "ANN";
        a->Score = 11;
        auto b = std::make_shared<TProfile>();
        b->Name = "BOB";
        auto d = std::make_shared<TProfile>();
        d->Name = "DAN";
        d->Score = 33;
        SaveListed({a, b, d}, "66-79-66");
        if (c.content)
            WriteAll(ProfileFile("66-79-66"), c.content);
        else
            fs::remove(ProfileFile("66-79-66"));

        List()->LoadProfiles();
        ASSERT_EQ(List()->ProfilesList.size(), 3u);
        EXPECT_EQ(List()->ProfilesList[0]->Score, 11);
        EXPECT_EQ(List()->ProfilesList[1]->Name, "BOB");
        EXPECT_EQ(List()->ProfilesList[1]->CurrLevelId, c.level);
        EXPECT_EQ(List()->ProfilesList[2]->Score, 33);
        EXPECT_EQ(CurrProfile(), List()->ProfilesList[1]);
        EXPECT_TRUE(Logged(ProfileFile("66-79-66"))) << "the console names the file";
        // Saving writes the profile afresh; the others are untouched.
        ASSERT_TRUE(SaveProfiles());
        TProfile again;
        again.Name = "BOB";
        EXPECT_TRUE(again.Load());
    }
}

namespace {

// Sets or clears the immutable flag (a user that ignores permission bits
// still cannot replace such a file or add to such a folder).
void SetImmutable(const std::string& path, bool on)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
}

// Makes a file or folder refuse to be replaced or written into; false when
// nothing here can stop a write.
bool Lock(const std::string& path, bool folder)
{
    if (folder)
        ::chmod(path.c_str(), 0555);
    SetImmutable(path, true);
    // Probe: can the path still be replaced?
    const std::string probe = (folder ? path + "/probe" : path + ".probe");
    const int p = ::open(probe.c_str(), O_WRONLY | O_CREAT, 0644);
    if (p < 0)
        return true;
    ::close(p);
    const bool replaced = folder || ::rename(probe.c_str(), path.c_str()) == 0;
    ::unlink(probe.c_str());
    return !replaced;
}

void Unlock(const std::string& path, bool folder)
{
    SetImmutable(path, false);
    if (folder)
        ::chmod(path.c_str(), 0755);
}

} // namespace

TEST_F(ProgressTest, AFailedSaveIsReportedAndTheOldFilesStay)
{
    for (bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "the folder refuses new files" : "the player's file cannot be replaced");
        List()->AddNewProfile("Bob");
        CurrProfile()->Score = 10;
        ASSERT_TRUE(SaveProfiles());
        const std::string oldProfile = ReadAll(ProfileFile("66-79-66"));
        const std::string oldList = ReadAll(ListFile());

        const std::string locked = folder ? (tmp / "Profiles").string() : ProfileFile("66-79-66");
        if (!Lock(locked, folder)) {
            Unlock(locked, folder);
            GTEST_SKIP() << "this file system lets every write through";
        }
        CurrProfile()->Score = 20;
        console.clear();
        const bool saved = SaveProfiles();
        Unlock(locked, folder);
        EXPECT_FALSE(saved);
        EXPECT_TRUE(Logged(ProfileFile("66-79-66")));
        EXPECT_EQ(ReadAll(ProfileFile("66-79-66")), oldProfile);
        EXPECT_EQ(ReadAll(ListFile()), oldList);
        EXPECT_EQ(std::distance(fs::directory_iterator(tmp / "Profiles"), fs::directory_iterator{}), 2)
            << "no temporary file is left behind";
    }
}

// ---- Paying won levels ----

TEST_F(ProgressTest, AWinIsPaidAndCountedInOneSavedStepOnlyOnce)
{
    struct Case {
        int stage, level, nextStage, nextLevel;
    } cases[] = {{1, 13, 2, 1}, {5, 22, 5, 23}, {3, 4, 3, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.stage) + "-" + std::to_string(c.level));
        List()->AddNewProfile("Bob");
        auto p = CurrProfile();
        p->CurrStageID = c.stage;
        p->CurrLevelId = c.level;
        p->Cash = 100;
        p->Score = 1000;
        p->CurrScreen = "MainGame";
        // The level screen's start: saved, and the next win may be paid.
        game::Program().MainGame->OnLevelStart();

        level::Road().PayWonLevel(500, 40);
        EXPECT_EQ(level::Road().ProfileCash(), 100) << "the summary still sees the cash before the level";
        level::Road().PayWonLevel(500, 40);

        // As a program killed now would find it on its next start.
        TProfile saved;
        saved.Name = "BOB";
        ASSERT_TRUE(saved.Load());
        EXPECT_EQ(saved.Score, 1500);
        EXPECT_EQ(saved.Cash, 140);
        EXPECT_EQ(saved.CurrStageID, c.nextStage);
        EXPECT_EQ(saved.CurrLevelId, c.nextLevel);
        EXPECT_EQ(saved.CurrScreen, "MapScreen");
        EXPECT_EQ(p->Score, 1500);
    }
}

TEST_F(ProgressTest, TheSummaryMovesOnWithoutCountingAgain)
{
    List()->AddNewProfile("Bob");
    auto p = CurrProfile();
    p->CurrStageID = 1;
    p->CurrLevelId = 13;
    game::Program().MainGame->OnLevelStart();
    level::Road().PayWonLevel(10, 1);
    level::Road().ContinueFromSummary();
    EXPECT_EQ(p->CurrStageID, 2);
    EXPECT_EQ(p->CurrLevelId, 1);
    ASSERT_TRUE(app::Crosser()->Running());
    ASSERT_TRUE(app::Crosser()->NewScreen);
    EXPECT_EQ(app::Crosser()->NewScreen->Name, "MapScreen");
    // The map's Play loads the next level.
    p->FLOW_PlayFromMap();
    ASSERT_TRUE(game::Program().MainGame->Level) << "stage 2 level 1 is loaded";
    EXPECT_EQ(game::Program().MainGame->Setup.stage, 2);
    EXPECT_EQ(game::Program().MainGame->Setup.level, 1);
}

TEST_F(ProgressTest, TheEndLeadsToTheOutroOnlyWithTheMapComplete)
{
    for (int bought : {31, 32}) {
        SCOPED_TRACE(bought);
        app::Crosser() = std::make_shared<app::TCrosser>();
        List()->AddNewProfile("Bob");
        auto p = CurrProfile();
        p->CurrStageID = 5;
        p->CurrLevelId = 22;
        p->BoughtUpgrades.clear();
        for (int i = 0; i < bought; ++i)
            p->BoughtUpgrades.push_back({i});
        p->FLOW_ContinueFromSummary();
        EXPECT_TRUE(p->isAtEnd());
        EXPECT_EQ(p->CurrStageID, 5);
        ASSERT_TRUE(app::Crosser()->NewScreen);
        // Purchases missing: the map, where only buying finishes the game.
        EXPECT_EQ(app::Crosser()->NewScreen->Name, bought == 32 ? "Outro" : "MapScreen");
    }
}

TEST_F(ProgressTest, TheNextLevelKeyUsesTheRealStageLengths)
{
    List()->AddNewProfile("Bob");
    auto p = CurrProfile();
    p->CurrStageID = 1;
    p->CurrLevelId = 13;
    game::Program().MainGame->OnCheatNextLevel();
    EXPECT_EQ(p->CurrStageID, 2);
    EXPECT_EQ(p->CurrLevelId, 1);
    EXPECT_EQ(Control::CurrScreen()->Name, "MapScreen") << "switched without transition";

    p->CurrStageID = 5;
    p->CurrLevelId = 22;
    game::Program().MainGame->OnCheatNextLevel();
    EXPECT_TRUE(p->isAtEnd());
    ASSERT_TRUE(Control::CurrScreen());
    EXPECT_EQ(Control::CurrScreen()->Name, "Outro");
}

TEST_F(ProgressTest, ANewGameStartsAtTheFirstLevelAndKeepsModeAndCharges)
{
    List()->AddNewProfile("Bob");
    auto p = CurrProfile();
    p->CurrStageID = 4;
    p->CurrLevelId = 9;
    p->Cash = 70;
    p->Score = 700;
    p->DialogsShowed = {1, 2};
    p->BoughtUpgrades = {{4}};
    p->CurrPowerUp = {5, 0, 0, 0, 0, 9};
    p->CurrScreen = "MapScreen";
    const citymap::TMap* oldMap = p->Map.get();
    TutorialTipIds() = [] { return std::vector<int>{1, 2, 3}; };
    level::Road().StartNewGame(1);
    // The switch to the intro runs the new game's start.
    ASSERT_TRUE(app::Crosser()->Running());
    EXPECT_EQ(app::Crosser()->NewScreen->Name, "Intro");
    EXPECT_EQ(p->Mode, 1);
    EXPECT_EQ(p->CurrStageID, 4) << "nothing changes before the switch";
    app::Crosser()->AtEndFunc();
    TutorialTipIds() = nullptr;
    EXPECT_EQ(p->CurrStageID, 1);
    EXPECT_EQ(p->CurrLevelId, 1);
    EXPECT_EQ(p->Cash, 0);
    EXPECT_EQ(p->Score, 0);
    EXPECT_TRUE(p->DialogsShowed.empty());
    EXPECT_TRUE(p->BoughtUpgrades.empty());
    EXPECT_EQ(p->Tips, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(p->CurrPowerUp[5], 9);
    EXPECT_FALSE(p->isAbleToContinue());
    ASSERT_TRUE(p->Map);
    EXPECT_NE(p->Map.get(), oldMap) << "a fresh map";
    EXPECT_EQ(p->CurrBG, 0);
}

TEST_F(ProgressTest, PurchasesArePaidOnceAndBackgroundSetsStayInRange)
{
    struct Case {
        int index, currBG;
        bool logged;
    };
    // No index keeps the set; one past the last set gives the first one.
    for (const Case c : {Case{-1, 5, false}, Case{0, 0, false}, Case{9, 9, false}, Case{10, 0, true}}) {
        SCOPED_TRACE(c.index);
        console.clear();
        TProfile p;
        p.Name = "AMY";
        p.Cash = 50;
        p.CurrBG = 5;
        EXPECT_TRUE(p.PayPurchase(7, 20, c.index));
        EXPECT_EQ(p.CurrBG, c.currBG);
        EXPECT_EQ(Logged("background set 10"), c.logged);
        EXPECT_FALSE(p.PayPurchase(7, 20, c.index)) << "bought once";
        EXPECT_EQ(p.Cash, 30);
        EXPECT_EQ(p.BoughtUpgrades.size(), 1u);
    }
    // A saved set that does not exist, or a purchase listed twice.
    auto p = std::make_shared<TProfile>();
    p->Name = "AMY";
    ASSERT_TRUE(p->Save());
    WriteAll(p->FilePath(), "Data{\n\tCurrBG = 42\n\tBoughtUpgrades = \"3 3 5 \"\n}\nPowerUps{\n}\n");
    TProfile q;
    q.Name = "AMY";
    q.Load();
    EXPECT_EQ(q.CurrBG, 0);
    EXPECT_TRUE(Logged("background set 42"));
    ASSERT_EQ(q.BoughtUpgrades.size(), 2u);
    EXPECT_TRUE(Logged("map object 3 as bought twice"));
}
