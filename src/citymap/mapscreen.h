// The city map screen ("MapScreen"): the current player's map, the progress
// bar of the purchases, four buy buttons offering the current chapter of the
// building queue, the buy window, and Play, which starts the next level.
//
// The fourth object of a chapter stays locked until the first three are
// bought; when all four buttons are gone the next chapter opens (at most the
// eighth). A purchase is one step: the price is paid, the object recorded
// and the map changed (its hide and show lists, the background set), then the
// profiles are saved; the fades that follow only show what already happened.
//
// The screen sits below the player's progress, so it reaches the profile
// through the hooks of MapRoad(), which the progress fills in at start-up.
// Empty hooks do nothing, so the screen also runs alone in tests.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/screen.h"
#include "citymap/map.h"
#include "gui/widgets.h"

namespace citymap {

struct TMapRoad {
    // The current profile's map; none without a current profile.
    std::function<TMap*()> CurrentMap;
    std::function<int()> Cash;
    // The object is in the current profile's bought list.
    std::function<bool(int id)> IsBought;
    // Pays the price, records the object and sets the background set it
    // brings, then saves the profiles; the map itself was already changed.
    std::function<void(const TMapObject& o)> Purchase;
    // The screen was entered: it becomes the screen the game resumes on.
    std::function<void()> EnteredMap;
    std::function<bool()> IsAtEnd;
    std::function<bool()> AllUpgradesDone;
    // Play: on to the next level (or the outro at the end).
    std::function<void()> PlayFromMap;
    // A notice with OK only (the confirmation pop-up without callbacks).
    std::function<void(const std::string& text)> Notice;
    // Developers' key C: more cash.
    std::function<void(int cash)> AddCash;
    // The dialogs: one is due after building this object; the map-enter and
    // chapter-start checks.
    std::function<bool(int id)> DialogDueAfterBuilding;
    std::function<void()> CheckMapEnterDialogs;
    std::function<void()> CheckChapterStartDialogs;
    // Escape: back to the main menu (whose Play returns here).
    std::function<void()> GoMainMenu;
    // Plays a sound of the catalogue by number.
    std::function<void(int id)> PlaySound;
};

TMapRoad& MapRoad();

class TMapScreen;

class TMapBuyButton {
public:
    TMapScreen* Screen = nullptr; // not owned
    TMapObject* MapObject = nullptr;
    int Index = 0;
    float BaseY = 810, ShowY = 650;
    float x = 0, y = 810;
    float p = 0, dp = 0;
    int64_t WaitTime = 0;
    int isOver = 0;
    float OverA = 0, dOverA = 0;
    float MovePer = 0, dMovePer = 0;

    static constexpr int kW = 128, kH = 96;

    bool isHidden() const { return p == 0 && dp == 0; }
    bool isShown() const { return p == 1 && dp == 1; }
    float CountSpecialMove() const;
    void Draw(const platform::ImagePtr& lockImage, bool locked);
    void UpdatePer(bool windowClosed);
    void UpdateMove();
    void UpdateOver();
    void UpdateOverAlpha();
    void UpdateMoveInOutSpecial();
    void Update(bool windowClosed);
    void Prepare();
    void SetXY(float nx, float ny);
    void Show(int delay, TMapObject* o);
    void Hide() { dp = 0; }
    void HideNow() { p = dp = 0; }
    void MoveIn() { dMovePer = 0; }
    void MoveOut() { dMovePer = 1; }
};

class TMapBuyWindow : public app::TAppObj {
public:
    gui::PUIImage BuyPanel;
    gui::PUIText Title, Opis, Price;
    gui::PUIImage Image;
    gui::PUILightButton BuyButton, CancelButton;
    gui::PUIImage BuyUnactive;
    gui::PUIText CashText;
    std::array<gui::PUIText, 5> SpecialText;
    float ShowPer = 0, dShowPer = 0;
    TMapObject* CurrMapObj = nullptr;
    TMapBuyButton* TheButton = nullptr;
    std::function<void()> AtEndFunc;
    TMapScreen* Screen = nullptr; // not owned

    void Setup(TMapScreen& screen);
    void OnUpdate() override;
    void HideMe() { dShowPer = 0; }
    void SetObject(TMapObject* o, TMapBuyButton* button);
    void ExecuteFunc();
    void SetFunction(std::function<void()> fn) { AtEndFunc = std::move(fn); }
    bool isClosed() const { return ShowPer == 0 && dShowPer == 0; }

private:
    int shownAffordable_ = -1; // the price's colour shown: 1 yellow, 0 red, -1 not yet
};

class TMapScreen : public app::TScreen {
public:
    static constexpr const char* kName = "MapScreen";
    static constexpr int kChapters = TBuildingQueue::kChapters;

    std::shared_ptr<TMapBuyWindow> BuyWindow;
    TMap* Map = nullptr; // the current profile's map (not owned)
    gui::PUIImage PlayPanel;
    gui::PUILightButton ButtonPlay;
    std::array<TMapBuyButton, 4> ButtonMap;
    app::TAppObjPtr UpperPanel;
    gui::PUILightButton MoveLeft, MoveRight;
    gui::PUIText ProgressText;
    gui::PUIImage ProgressBarBack, ProgressBar;
    gui::PUIImage ProgressPanel;
    float ProgressPer = 0, dProgressPer = 0;
    int ThereWillBeDialog = 0;
    int CheckNextChapterDialog = 0;
    int64_t CheckTimeWait = 0;
    int uiHidden = 0; // the interface slid out for a purchase

    // ---- SETTING UP ----
    void OnSetup() override;
    void SetupUI();
    void SetupBuyWindow();
    // The catalogue (with its pictures) and the building queue.
    void SetupMap();

    // ---- PREPARING ----
    void OnPrepare() override;
    void PrepareUI();
    void PrepareBuyButtons();

    // ---- UPDATING ----
    void OnUpdate() override;
    void UpdateMapInfo();
    void UpdateBuyButtons();
    void UpdateScroll();

    // ---- DRAWING ----
    void OnDraw() override;
    void DrawBuyButtons();

    // ---- COMMANDS ----
    void HideUI();
    void ShowUI();
    void BuyWindowShow(TMapObject* o, TMapBuyButton* button);
    bool isButtonLocked(const TMapBuyButton& button) const;
    // The purchase (see the top of this file). False when refused: no
    // profile, already bought, or not enough cash.
    bool Buy(TMapObject* o);
    void BuyButtonsCheckShow();
    void IncProgress();
    bool isSomethingBuildNow() const;
    bool isButtonObjectDone(int i) const;
    void Interface() override;
    void OnLeave() override;

    // ---- GETTING ----
    // The object button i offers in the map's chapter; none when the slot
    // names no object.
    TMapObject* QueueObject(int i) const;
    // The object is already done: bought, or (for a removal) gone.
    bool isObjectDone(const TMapObject* o) const;
    // Play can be pressed now.
    bool isPlayReady() const;

private:
    platform::ImagePtr lockImage_;
};

} // namespace citymap
