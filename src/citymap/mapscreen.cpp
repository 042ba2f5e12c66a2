#include "citymap/mapscreen.h"

#include <algorithm>
#include <cmath>

#include "app/control.h"
#include "app/globalvars.h"
#include "app/paths.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "app/platform/input.h"
#include "fx/timing.h"
#include "gui/mouse.h"
#include "gui/textclasses.h"

namespace citymap {

namespace {

int64_t Now() { return fx::AppClock(); }

// A caption is laid out again only when its text changes (not every frame).
void ShowText(gui::TUIText& t, const std::string& text)
{
    if (t.Text != text)
        t.SetText(text);
}

float Toward(float v, float target, float step)
{
    if (v < target)
        return std::min(target, v + step);
    if (v > target)
        return std::max(target, v - step);
    return v;
}

constexpr int kPurchaseSound = 30;

} // namespace

TMapRoad& MapRoad()
{
    static TMapRoad road;
    return road;
}

// ---- Buy buttons ----

float TMapBuyButton::CountSpecialMove() const { return 200.0f * platform::SinD(90.0f * MovePer); }

void TMapBuyButton::Prepare()
{
    p = dp = MovePer = dMovePer = 0;
    y = BaseY;
    OverA = dOverA = 0;
    isOver = 0;
    MapObject = nullptr;
    WaitTime = 0;
}

void TMapBuyButton::SetXY(float nx, float ny)
{
    x = nx;
    ShowY = ny;
    BaseY = ny + 160;
    y = BaseY;
}

void TMapBuyButton::Show(int delay, TMapObject* o)
{
    MapObject = o;
    dp = 1;
    p = 0;
    WaitTime = Now() + delay;
}

void TMapBuyButton::UpdatePer(bool windowClosed)
{
    if (windowClosed)
        p = Toward(p, dp, 0.02f * fx::FrameFactor());
}

void TMapBuyButton::UpdateMoveInOutSpecial() { MovePer = Toward(MovePer, dMovePer, 0.01f * fx::FrameFactor()); }

void TMapBuyButton::UpdateMove() { y = BaseY + (ShowY - BaseY) * platform::SinD(90.0f * p); }

void TMapBuyButton::UpdateOver()
{
    isOver = MovePer == 0 && p == 1 && dp == 1 && gui::Mouse().inRect(x, y, kW, kH);
}

void TMapBuyButton::UpdateOverAlpha()
{
    dOverA = isOver ? 1.0f : 0.0f;
    OverA = Toward(OverA, dOverA, 0.05f * fx::FrameFactor());
}

void TMapBuyButton::Update(bool windowClosed)
{
    if (Now() < WaitTime)
        return;
    UpdatePer(windowClosed);
    UpdateMoveInOutSpecial();
    UpdateMove();
    UpdateOver();
    UpdateOverAlpha();
}

void TMapBuyButton::Draw(const platform::ImagePtr& lockImage, bool locked)
{
    if (!MapObject || !MapObject->Icon)
        return;
    const float dy = y + CountSpecialMove();
    platform::SetColor(255, 255, 255);
    platform::SetScale(1, 1);
    platform::SetRotation(0);
    platform::SetAlpha(1);
    platform::SetBlend(platform::kBlendAlpha);
    platform::DrawImage(MapObject->Icon, x, dy);
    if (OverA > 0) {
        platform::SetBlend(platform::kBlendAdditive);
        platform::SetAlpha(OverA * 0.33f);
        platform::DrawImage(MapObject->Icon, x, dy);
        platform::SetBlend(platform::kBlendAlpha);
        platform::SetAlpha(1);
    }
    if (locked && lockImage)
        platform::DrawImage(lockImage, x, dy);
}

// ---- Buy window ----

void TMapBuyWindow::Setup(TMapScreen& screen)
{
    Screen = &screen;
    Name = "ShowBuy";
    const std::string dir = app::GameDir();
    const std::string local = app::LocalDir();
    BuyPanel = gui::CreateUIImage(dir + "gfx/gui/MapScreen/shopWindow.png", 0, 0, this);
    Image = gui::CreateUIImage(gui::kEmptyImage, 86, 130, this);
    const std::string coin = dir + "gfx/gui/summary/coin.png";
    gui::CreateUIImage(coin, 100, 236, this);
    gui::CreateUIImage(coin, 265, 301, this);
    gui::CreateUIText(screen.GetTxt(1), 116, 299, 144, 30, this, gui::TextClass(3));
    Title = gui::CreateUIText("", 94, 81, 500, 40, this, gui::TextClass(2));
    Title->Name = "Title";
    Title->SetAlign(1); // centred on its plaque
    Opis = gui::CreateUIText("", 235, 132, 370, 170, this, gui::TextClass(1));
    Opis->vAlign = 0;
    Opis->Name = "Description";
    Price = gui::CreateUIText("", 140, 230, 64, 40, this, gui::TextClass(3));
    Price->Name = "Price";
    CashText = gui::CreateUIText("", 300, 299, 64, 30, this, gui::TextClass(3));
    CashText->Name = "Cash";
    for (int k = 0; k < 5; ++k) {
        SpecialText[static_cast<size_t>(k)] =
            gui::CreateUIText(screen.GetTxt(k + 2), 116, 328, 400, 30, this, gui::TextClass(3));
        SpecialText[static_cast<size_t>(k)]->Disable();
    }
    BuyButton = gui::CreateUILightButton(local + "gfx/BuyUpgrade/BuyNormal.png", 426, 396, this, 0.5f);
    BuyButton->Name = "Buy";
    BuyUnactive = gui::CreateUIImage(local + "gfx/BuyUpgrade/BuyUnactive.png", 426, 396, this);
    BuyUnactive->Disable();
    CancelButton = gui::CreateUILightButton(local + "gfx/EnterName/ButtonCancel.png", 150, 396, this, 0.5f);
    CancelButton->Name = "Cancel";
    SetA(0);
    Disable();
}

void TMapBuyWindow::SetObject(TMapObject* o, TMapBuyButton* button)
{
    CurrMapObj = o;
    TheButton = button;
    if (!o)
        return;
    Title->SetText(o->name);
    Opis->SetText(o->Descr);
    Price->SetClass(gui::TextClass(3));
    Price->SetText(std::to_string(o->Price));
    shownAffordable_ = -1;
    if (o->Icon)
        Image->SetImage(o->Icon);
    dShowPer = 1;
    ShowPer = 0;
    SetA(0);
    AtEndFunc = nullptr;
    for (auto& t : SpecialText)
        t->Disable();
    for (int k = 1; k <= 5; ++k) {
        if (o->id == app::GlobalVars::PowerUpUnlocker(k)) {
            SpecialText[static_cast<size_t>(k - 1)]->Enable();
            break;
        }
    }
    Enable();
}

void TMapBuyWindow::ExecuteFunc()
{
    if (!AtEndFunc)
        return;
    std::function<void()> fn = std::move(AtEndFunc);
    AtEndFunc = nullptr;
    fn();
}

void TMapBuyWindow::OnUpdate()
{
    if (ShowPer == 0)
        ExecuteFunc();
    const int cash = MapRoad().Cash ? MapRoad().Cash() : 0;
    ShowText(*CashText, std::to_string(cash));
    ShowPer = Toward(ShowPer, dShowPer, 0.05f * fx::FrameFactor());
    SetA(ShowPer);
    if (ShowPer == 0 && dShowPer == 0) {
        ExecuteFunc();
        Disable();
        return;
    }
    if (ShowPer != 1 || !CurrMapObj)
        return;
    const bool affordable = CurrMapObj->Price <= cash;
    if (shownAffordable_ != static_cast<int>(affordable)) {
        shownAffordable_ = affordable;
        Price->SetClass(gui::TextClass(affordable ? 3 : 4));
        Price->SetText(std::to_string(CurrMapObj->Price));
    }
    if (affordable) {
        BuyButton->Activate();
        BuyButton->Enable();
        BuyUnactive->Disable();
    } else {
        BuyButton->Deactivate();
        BuyButton->Disable();
        BuyUnactive->Enable();
    }
    if (affordable && BuyButton->isPressed) {
        BuyButton->Clear();
        if (Screen && Screen->Buy(CurrMapObj)) {
            if (TheButton)
                TheButton->Hide();
        }
        dShowPer = 0;
    } else if (CancelButton->isPressed) {
        CancelButton->Clear();
        dShowPer = 0;
    }
}

// ---- SETTING UP ----

void TMapScreen::OnSetup()
{
    SetupMap();
    SetupUI();
    SetupBuyWindow();
    lockImage_ = platform::LoadImage(app::GameDir() + "gfx/Map/UpgradeIconLock.png");
    MapEvents().ShowInterface = [this] { ShowUI(); };
    MapEvents().MapScreenIsCurrent = [this] { return app::Control::CurrScreen().get() == this; };
}

void TMapScreen::SetupMap()
{
    const std::string dir = app::GameDir();
    const PTxtFile texts = LoadTxtFile(app::LocalDir() + "txt/MapObjects.txt");
    MapCatalogue().Load(dir + "Data/MapScreen/MapObjects.txt", dir, texts.get(), true);
    BuildingQueue().Load(dir + "Data/MapScreen/ObjectsBuildingQue.txt");
    for (int id : StartMapIds())
        if (!MapCatalogue().Find(id))
            platform::Log("The start map's object " + std::to_string(id) + " is not in the map catalogue; skipped");
    StartMap() = std::make_shared<TMap>();
    StartMap()->MakeMeStartMap();
}

void TMapScreen::SetupUI()
{
    const std::string dir = app::GameDir();
    const std::string local = app::LocalDir();
    PlayPanel = gui::CreateUIImage(dir + "gfx/gui/MapScreen/Slots.png", 850, 629, this);
    PlayPanel->Name = "PlayPanel";
    ButtonPlay = gui::CreateUILightButton(local + "gfx/mainmenu/playbutton.png", 42, 48, PlayPanel.get(), 0.5f);
    ButtonPlay->Name = "Play";
    UpperPanel = app::CreateAppObj("UpperPanel", 250, 0, this);
    ProgressPanel = gui::CreateUIImage(dir + "gfx/gui/mapScreen/UpperPanel.png", 0, 0, UpperPanel.get());
    ProgressBarBack = gui::CreateUIImage(dir + "gfx/gui/mapScreen/UpperBar.png", 86, 9, UpperPanel.get());
    ProgressBar = gui::CreateUIImage(dir + "gfx/gui/mapScreen/Bar.png", 86, 9, UpperPanel.get());
    ProgressText = gui::CreateUIText(GetTxt(7), 100, 4, 310, 34, UpperPanel.get(), gui::TextClass(5));
    ProgressText->Name = "Progress";
    ProgressText->SetAlign(1);
    MoveLeft = gui::CreateUILightButton(dir + "gfx/gui/MapScreen/Left.png", -160, 340, this, 0.5f);
    MoveLeft->Name = "Left";
    MoveRight = gui::CreateUILightButton(dir + "gfx/gui/MapScreen/Right.png", 1150, 340, this, 0.5f);
    MoveRight->Name = "Right";
    const float xs[4] = {222, 372, 522, 672};
    for (int i = 0; i < 4; ++i) {
        TMapBuyButton& b = ButtonMap[static_cast<size_t>(i)];
        b.Screen = this;
        b.Index = i;
        b.SetXY(xs[i], 650);
    }
}

void TMapScreen::SetupBuyWindow()
{
    BuyWindow = std::make_shared<TMapBuyWindow>();
    BuyWindow->SetXY(171, 162);
    AddObject(BuyWindow);
    BuyWindow->Setup(*this);
}

// ---- PREPARING ----

void TMapScreen::OnPrepare()
{
    if (MapRoad().EnteredMap)
        MapRoad().EnteredMap();
    if (!BuyWindow)
        return; // not set up (tests that only drive the progression)
    Map = MapRoad().CurrentMap ? MapRoad().CurrentMap() : nullptr;
    if (!Map)
        Map = StartMap().get();
    if (Map)
        Map->Prepare();
    ThereWillBeDialog = 0;
    CheckNextChapterDialog = 0;
    CheckTimeWait = 0;
    uiHidden = 0;
    PrepareUI();
    PrepareBuyButtons();
    if (Map)
        ProgressPer = dProgressPer = Map->CountProgress();
    UpdateMapInfo();
}

void TMapScreen::PrepareUI()
{
    PlayPanel->MoveIn(5, 0.015f, 0);
    BuyWindow->ShowPer = BuyWindow->dShowPer = 0;
    BuyWindow->AtEndFunc = nullptr;
    BuyWindow->SetA(0);
    BuyWindow->Disable();
}

void TMapScreen::PrepareBuyButtons()
{
    for (TMapBuyButton& b : ButtonMap) {
        b.Prepare();
        b.MovePer = b.dMovePer;
    }
    BuyButtonsCheckShow();
}

// ---- GETTING ----

TMapObject* TMapScreen::QueueObject(int i) const
{
    const int id = Map ? BuildingQueue().At(Map->Etap, i) : 0;
    // 0 is an empty slot, whatever an object without an id may be called.
    return id != 0 ? MapCatalogue().Find(id) : nullptr;
}

bool TMapScreen::isObjectDone(const TMapObject* o) const
{
    if (!o || !Map)
        return true;
    if (MapRoad().IsBought && MapRoad().IsBought(o->id))
        return true;
    if (!o->isExistReversed)
        return Map->isPresent(o);
    return !Map->isPresent(o) || Map->isLeaving(o);
}

bool TMapScreen::isSomethingBuildNow() const { return Map && Map->isSomethingBuildNow(); }

bool TMapScreen::isButtonObjectDone(int i) const
{
    const TMapBuyButton& b = ButtonMap[static_cast<size_t>(i)];
    return !b.MapObject || b.isHidden();
}

bool TMapScreen::isButtonLocked(const TMapBuyButton& button) const
{
    return button.Index == 3 && !(isButtonObjectDone(0) && isButtonObjectDone(1) && isButtonObjectDone(2));
}

bool TMapScreen::isPlayReady() const
{
    return !PlayPanel->isMoving() && !ButtonPlay->isMoving() && ThereWillBeDialog == 0 && !uiHidden;
}

// ---- COMMANDS ----

void TMapScreen::BuyButtonsCheckShow()
{
    int k = 0;
    for (int i = 0; i < 4; ++i) {
        TMapBuyButton& b = ButtonMap[static_cast<size_t>(i)];
        TMapObject* o = QueueObject(i);
        if (!o) {
            if (Map && BuildingQueue().At(Map->Etap, i) != 0)
                platform::Log("Building queue: chapter " + std::to_string(Map->Etap + 1) + " offers id " +
                              std::to_string(BuildingQueue().At(Map->Etap, i)) +
                              ", which names no map object; skipped");
            b.MapObject = nullptr;
            b.HideNow();
            continue;
        }
        if (o->DrawObjects.empty()) {
            platform::Log("Map object " + std::to_string(o->id) + " has nothing to draw; it is not offered");
            b.MapObject = nullptr;
            b.HideNow();
            continue;
        }
        if (isObjectDone(o)) {
            if (MapRoad().IsBought && !MapRoad().IsBought(o->id))
                platform::Log("Building queue: map object " + std::to_string(o->id) +
                              (o->isExistReversed ? " is not on the map to be bought away" : " is already on the map") +
                              "; skipped");
            b.MapObject = o;
            b.HideNow();
            continue;
        }
        ++k;
        b.Show(1000 + 250 * k, o);
    }
}

void TMapScreen::IncProgress()
{
    if (!Map)
        return;
    Map->Etap += 1;
    CheckNextChapterDialog = 1;
    BuyButtonsCheckShow();
}

void TMapScreen::HideUI()
{
    uiHidden = 1;
    PlayPanel->MoveOut(5, 0.015f, 0);
    for (TMapBuyButton& b : ButtonMap)
        b.MoveOut();
}

void TMapScreen::ShowUI()
{
    if (!uiHidden)
        return;
    uiHidden = 0;
    for (TMapBuyButton& b : ButtonMap)
        if (b.dMovePer != 0)
            b.MoveIn();
    PlayPanel->MoveIn(5, 0.015f, 0);
}

void TMapScreen::BuyWindowShow(TMapObject* o, TMapBuyButton* button)
{
    if (!o)
        return;
    if (button && isButtonLocked(*button)) {
        if (MapRoad().Notice)
            MapRoad().Notice(GetTxt(9));
        return;
    }
    BuyWindow->SetObject(o, button);
}

bool TMapScreen::Buy(TMapObject* o)
{
    if (!o || !Map || !MapRoad().CurrentMap || MapRoad().CurrentMap() != Map)
        return false;
    if (isObjectDone(o))
        return false;
    const int cash = MapRoad().Cash ? MapRoad().Cash() : 0;
    if (o->Price > cash)
        return false;
    // The map as it will be: the object, its hide and show lists.
    Map->ApplyPurchase(o);
    // The profile's side, saved with the map in one write.
    if (MapRoad().Purchase)
        MapRoad().Purchase(*o);
    platform::Log("bought map object " + std::to_string(o->id) + " \"" + o->name + "\" for " +
                  std::to_string(o->Price) + ", cash left " +
                  std::to_string(MapRoad().Cash ? MapRoad().Cash() : 0));
    HideUI();
    o->CenterAtMe(*Map);
    ThereWillBeDialog = MapRoad().DialogDueAfterBuilding && MapRoad().DialogDueAfterBuilding(o->id) ? 1 : 0;
    if (MapRoad().PlaySound)
        MapRoad().PlaySound(kPurchaseSound);
    Map->AutoTime = Now() + 5000;
    return true;
}

// ---- UPDATING ----

void TMapScreen::OnUpdate()
{
    if (!Map || !BuyWindow)
        return;
    if (MapRoad().CheckMapEnterDialogs)
        MapRoad().CheckMapEnterDialogs();
    UpdateMapInfo();
    UpdateBuyButtons();
    UpdateScroll();
}

void TMapScreen::UpdateMapInfo()
{
    if (!Map)
        return;
    dProgressPer = Map->CountProgress();
    ProgressPer = Toward(ProgressPer, dProgressPer, 0.001f * fx::FrameFactor());
    if (ProgressBar && ProgressBar->obj) {
        const float w = static_cast<float>(ProgressBar->obj->Width());
        const float h = static_cast<float>(ProgressBar->obj->Height());
        ProgressBar->SetRect(w * ProgressPer, h, 0, 0, w * ProgressPer, h);
    }
    ShowText(*ProgressText, GetTxt(7) + std::to_string(static_cast<int>(ProgressPer * 100)) + "%");
}

void TMapScreen::UpdateBuyButtons()
{
    const bool popUp = !ShowedPopUps.empty();
    const bool windowClosed = BuyWindow->isClosed();
    for (TMapBuyButton& b : ButtonMap) {
        if (!popUp)
            b.Update(windowClosed);
        if (popUp || CheckTimeWait != 0 || isSomethingBuildNow() || ThereWillBeDialog)
            continue;
        if (b.isOver && gui::Mouse().leftPressed && b.MapObject) {
            gui::PlayClickSound();
            BuyWindowShow(b.MapObject, &b);
        }
    }
    // Nothing left to wait for (a fade without an event): the interface returns.
    if (uiHidden && !isSomethingBuildNow() && windowClosed)
        ShowUI();
    if (CheckNextChapterDialog && !isSomethingBuildNow() && !ThereWillBeDialog) {
        const bool allShown = std::all_of(ButtonMap.begin(), ButtonMap.end(),
                                          [](const TMapBuyButton& b) { return b.isShown() || !b.MapObject; });
        if (allShown) {
            if (CheckTimeWait == 0) {
                CheckTimeWait = Now() + 200;
            } else if (Now() > CheckTimeWait) {
                CheckTimeWait = 0;
                CheckNextChapterDialog = 0;
                if (MapRoad().CheckChapterStartDialogs)
                    MapRoad().CheckChapterStartDialogs();
            }
        }
    }
    const bool allHidden =
        std::all_of(ButtonMap.begin(), ButtonMap.end(), [](const TMapBuyButton& b) { return b.isHidden(); });
    if (allHidden && Map->Etap < kChapters - 1)
        IncProgress();
}

void TMapScreen::UpdateScroll()
{
    if (!Map)
        return;
    const gui::TMouse& m = gui::Mouse();
    if ((MoveLeft && MoveLeft->PointerInside()) || m.x < -107)
        Map->Scroll(8);
    else if ((MoveRight && MoveRight->PointerInside()) || m.x > 1131)
        Map->Scroll(-8);
}

// ---- DRAWING ----

void TMapScreen::OnDraw()
{
    if (!BuyWindow)
        return;
    if (Map)
        Map->Draw();
    DrawBuyButtons();
}

void TMapScreen::DrawBuyButtons()
{
    for (TMapBuyButton& b : ButtonMap)
        b.Draw(lockImage_, isButtonLocked(b));
    platform::ResetDrawState();
}

// ---- INPUT ----

void TMapScreen::Interface()
{
    if (!BuyWindow)
        return;
    if (app::Markers().cheats && platform::KeyHit(platform::key::A + ('C' - 'A')) && MapRoad().AddCash)
        MapRoad().AddCash(10000);
    if (platform::KeyHit(platform::key::Escape) > 0 && ShowedPopUps.empty() && MapRoad().GoMainMenu) {
        if (!BuyWindow->isClosed()) {
            BuyWindow->HideMe();
            return;
        }
        MapRoad().GoMainMenu();
        return;
    }
    if (!ButtonPlay->isPressed)
        return;
    ButtonPlay->Clear();
    if (!isPlayReady() || !MapRoad().CurrentMap || !MapRoad().CurrentMap())
        return;
    BuyWindow->HideMe();
    const bool atEnd = MapRoad().IsAtEnd && MapRoad().IsAtEnd();
    const bool done = MapRoad().AllUpgradesDone && MapRoad().AllUpgradesDone();
    if (atEnd && !done) {
        if (MapRoad().Notice)
            MapRoad().Notice(GetTxt(8));
        return;
    }
    Map->FinishBuilding();
    if (MapRoad().PlayFromMap)
        MapRoad().PlayFromMap();
}

void TMapScreen::OnLeave()
{
    if (!Map)
        return;
    Map->OnLeave();
    Map->SettleFades();
    for (TMapObject* o : Map->Objects)
        o->WaitForShowTime = 0;
}

} // namespace citymap
