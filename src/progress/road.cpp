// The progress road: what the menus and the level's pop-ups ask of the
// player's progress, on the current profile.
#include "progress/road.h"

#include "app/control.h"
#include "app/crosser.h"
#include "app/globalvars.h"
#include "app/loading.h"
#include "app/platform/core/system.h"
#include "citymap/mapscreen.h"
#include "level/levelroad.h"
#include "level/maingame.h"
#include "menus/styled/zefarpopup.h"
#include "progress/profile.h"
#include "progress/profiles.h"
#include "progress/yesorno.h"

namespace progress {

namespace {

bool g_loaded = false;
// The win of the level being played was paid (and how much cash), so that a
// second call pays nothing and the summary can still show the cash before.
bool g_paid = false;
int g_paidCash = 0;

void GoShowPopUp(const std::string& name)
{
    std::shared_ptr<app::TPopUp> p = app::Control::GetPopUpByName(name);
    if (!p) {
        platform::Log("There is no pop-up named " + name);
        return;
    }
    if (auto styled = std::dynamic_pointer_cast<menus::TZefarPopUp>(p))
        styled->GoShow();
    else
        p->Show();
}

void EnsureLoaded()
{
    if (!g_loaded)
        LoadProfiles();
}

// ---- The level's road ----

void PayWonLevel(int score, int cash)
{
    const PProfile& p = CurrProfile();
    if (!p || g_paid)
        return;
    p->Score += score;
    p->Cash += cash;
    p->AdvanceAfterWin();
    p->CurrScreen = "MapScreen";
    g_paid = true;
    g_paidCash = cash;
    SaveProfiles();
}

void ContinueFromSummary()
{
    const PProfile& p = CurrProfile();
    if (!p)
        return;
    // A win the summary did not pay is still counted, once, here.
    if (!g_paid)
        PayWonLevel(0, 0);
    p->MoveOnAfterWin();
}

void RestartLevel()
{
    platform::Log("RESTARTING...");
    const PProfile& p = CurrProfile();
    if (!p)
        return;
    p->FLOW_RestartLevel();
    // Called at a switch to the level screen, the transition prepares it;
    // called alone, the level screen is entered again.
    if (!app::Crosser()->Running())
        if (auto screen = app::Control::GetScreenByName(level::TMainGame::kName))
            app::GoToScreen(screen);
}

void StartNewGame(int mode)
{
    const PProfile p = CurrProfile();
    if (!p)
        return;
    p->Mode = mode;
    std::shared_ptr<app::TScreen> intro = app::Control::GetScreenByName("Intro");
    if (!intro) {
        p->FLOW_StartNew();
        p->FLOW_StartGameAfterIntro();
        return;
    }
    app::GoToScreen(intro, [p] { p->FLOW_StartNew(); });
}

// The level screen entered: the game resumes there, and the progress is saved.
void LevelStarted()
{
    g_paid = false;
    g_paidCash = 0;
    if (const PProfile& p = CurrProfile()) {
        p->CurrScreen = level::TMainGame::kName;
        SaveProfiles();
    }
}

void InstallMapRoad()
{
    citymap::TMapRoad& road = citymap::MapRoad();
    road.CurrentMap = []() -> citymap::TMap* {
        const PProfile& p = CurrProfile();
        if (!p)
            return nullptr;
        if (!p->Map)
            p->Map = citymap::TakeStartMap();
        return p->Map.get();
    };
    road.Cash = [] {
        const PProfile& p = CurrProfile();
        return p ? p->Cash : 0;
    };
    road.IsBought = [](int id) {
        const PProfile& p = CurrProfile();
        return p && p->isBought(id);
    };
    road.Purchase = [](const citymap::TMapObject& o) {
        const PProfile& p = CurrProfile();
        if (p && p->PayPurchase(o.id, o.Price, o.BackGroundIndex))
            SaveProfiles();
    };
    road.EnteredMap = [] {
        if (const PProfile& p = CurrProfile()) {
            p->CurrScreen = citymap::TMapScreen::kName;
            SaveProfiles();
        }
    };
    road.IsAtEnd = [] {
        const PProfile& p = CurrProfile();
        return p && p->isAtEnd();
    };
    road.AllUpgradesDone = [] {
        const PProfile& p = CurrProfile();
        return p && p->AllUpgradesDone();
    };
    road.PlayFromMap = [] {
        if (const PProfile& p = CurrProfile())
            p->FLOW_PlayFromMap();
    };
    road.Notice = [](const std::string& text) { AskYesOrNo(text, {}, {}); };
    road.GoMainMenu = [] {
        if (auto menu = app::Control::GetScreenByName("MainMenu"))
            app::GoToScreen(menu);
    };
    road.AddCash = [](int cash) {
        if (const PProfile& p = CurrProfile())
            p->Cash += cash;
    };
    citymap::MapEvents().BoughtCount = [] {
        const PProfile& p = CurrProfile();
        return p ? static_cast<int>(p->BoughtUpgrades.size()) : 0;
    };
}

} // namespace

void InstallRoad()
{
    InstallMapRoad();
    level::TLevelRoad& road = level::Road();
    road.ProfileCash = [] {
        const PProfile& p = CurrProfile();
        return p ? p->Cash - (g_paid ? g_paidCash : 0) : 0;
    };
    road.PayWonLevel = PayWonLevel;
    road.ContinueFromSummary = ContinueFromSummary;
    road.RestartLevel = RestartLevel;
    road.GoMainMenu = [] {
        if (auto menu = app::Control::GetScreenByName("MainMenu"))
            app::GoToScreen(menu);
    };
    road.AskYesOrNo = [](const std::string& question, std::function<void()> yes) {
        AskYesOrNo(question, std::move(yes));
    };
    road.ShowOptions = ShowOptions;
    road.StartNewGame = StartNewGame;

    if (level::TMainGame* g = level::MainGameScreen()) {
        g->OnLevelStart = LevelStarted;
        g->OnCheatNextLevel = [] {
            if (const PProfile& p = CurrProfile())
                p->FLOW_CHEAT_NextLevel();
        };
    }
    app::GetLoadingHooks().loadProfiles = LoadProfiles;
    app::Control::AddSaveBeforeQuit("the profiles", [] { return SaveProfiles(); });
}

void LoadProfiles()
{
    g_loaded = true;
    g_paid = false;
    if (std::shared_ptr<TProfiles> list = ProfilesPopUp())
        list->LoadProfiles();
    else
        CurrProfile().reset();
}

std::string CurrentPlayerName()
{
    EnsureLoaded();
    const PProfile& p = CurrProfile();
    return p ? p->Name : std::string();
}

void EnsureCurrentProfile()
{
    EnsureLoaded();
    if (CurrProfile())
        return;
    std::shared_ptr<TProfiles> list = ProfilesPopUp();
    if (!list)
        return;
    if (app::GlobalVars::AutoProfileCreate) {
        std::string name = list->GetTxt(2);
        if (name.empty())
            name = "Player";
        list->AddNewProfile(name);
        return;
    }
    GoShowPopUp("EnterName");
}

void Play()
{
    EnsureLoaded();
    const PProfile p = CurrProfile();
    if (!p) {
        EnsureCurrentProfile();
        return;
    }
    if (p->isAbleToContinue())
        p->FLOW_ContinueGame();
    else
        GoShowPopUp("PickMode");
}

void StartGameAfterIntro()
{
    if (const PProfile& p = CurrProfile())
        p->FLOW_StartGameAfterIntro();
}

void ShowProfiles() { GoShowPopUp("Profiles"); }
void ShowOptions() { GoShowPopUp("Options"); }
void ShowScores() { GoShowPopUp("Scores"); }

void AskYesOrNo(const std::string& question, std::function<void()> yes, std::function<void()> no)
{
    std::shared_ptr<TYesOrNo> ask = std::dynamic_pointer_cast<TYesOrNo>(app::Control::GetPopUpByName("YesOrNo"));
    if (!ask) {
        platform::Log("There is no confirmation pop-up to ask: " + question);
        return;
    }
    ask->SetFunctions(std::move(yes), std::move(no));
    ask->SetText(question);
    ask->GoShow();
}

bool SaveProfiles()
{
    std::shared_ptr<TProfiles> list = ProfilesPopUp();
    return list ? list->Save() : true;
}

} // namespace progress
