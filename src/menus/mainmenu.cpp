#include "menus/mainmenu.h"

#include "app/control.h"
#include "app/crosser.h"
#include "app/deltatime.h"
#include "app/paths.h"
#include "app/platform/draw.h"
#include "app/platform/input.h"
#include "gui/textclasses.h"
#include "citymap/map.h"
#include "menus/credits.h"
#include "progress/profile.h"
#include "progress/road.h"

namespace menus {

// ---- SETTING UP ----

void TMainMenu::OnSetup()
{
    back_ = platform::LoadImage(app::GameDir() + "gfx/gui/loading/back.jpg");
    SetupPlayerPanel();
    SetupMenu();
    TZefarLogo::Setup();
}

void TMainMenu::SetupPlayerPanel()
{
    PlayerPanel = gui::CreateUIImage(app::GameDir() + "gfx/gui/MainMenu/WelcomePanel.png",
                                     static_cast<float>(PlayerX), static_cast<float>(PlayerY), this);
    PlayerPanel->Name = "WelcomePanel";
    ProfileText = gui::CreateUIText(GetTxt(5), 126, 36, 690, 32, PlayerPanel.get(), gui::TextClass(27),
                                    TRGB{255, 255, 255});
    ProfileText->Name = "PlayerName";
    ProfileText->SetAlign(1);
    ProfileText->Init();
    const gui::TextButtonClasses& classes = gui::TextButtonClassSet(2);
    ButtonChange = gui::CreateUITextButton(GetTxt(2), 310, 70, 330, 32, PlayerPanel.get(), classes);
    ButtonChange->Name = "ChangePlayer";
    shownName_.clear();
}

void TMainMenu::SetupMenu()
{
    const std::string local = app::GameDir() + "local/" + app::LanguageFolder();
    ButtonsPanel = gui::CreateUIImage(app::GameDir() + "gfx/GUI/mainmenu/menupanel.png", static_cast<float>(MenuX),
                                      static_cast<float>(MenuY), this);
    ButtonsPanel->Name = "ButtonsPanel";
    ButtonPlay = gui::CreateUILightButton(local + "/gfx/mainmenu/playbutton.png", 68, 112, ButtonsPanel.get(), 0.5f);
    ButtonPlay->Name = "Play";
    ButtonOptions =
        gui::CreateUILightButton(local + "/gfx/mainmenu/OptionsButton.png", 130, 68, PlayerPanel.get(), 0.3f);
    ButtonOptions->Name = "Options";
    ButtonScores =
        gui::CreateUILightButton(local + "/gfx/mainmenu/HighScoresButton.png", 684, 68, PlayerPanel.get(), 0.3f);
    ButtonScores->Name = "Scores";
    // The banner hangs behind the quit button it carries.
    Cover = gui::CreateUIImage(local + "/gfx/MainMenu/Cover.png", 1113, 0, this);
    Cover->Name = "Cover";
    ButtonQuit = gui::CreateUILightButton(app::GameDir() + "gfx/GUI/mainmenu/Exit.png", 1124, 14, this, 0.5f);
    ButtonQuit->Name = "Quit";
    app::Crosser()->Setup();
}

// ---- UPDATING ----

void TMainMenu::Play() { progress::Play(); }

void TMainMenu::UpdateProfileData()
{
    shownName_ = progress::CurrentPlayerName();
    if (!ProfileText)
        return;
    ProfileText->SetText(shownName_.empty() ? GetTxt(5) : GetTxt(3) + " " + shownName_ + GetTxt(4));
}

// ---- EVENTS ----

void TMainMenu::OnPrepare()
{
    // A fresh start map each visit; the player's own map shows its state
    // as it is (and is prepared when first drawn).
    if (citymap::StartMap())
        citymap::StartMap()->MakeMeStartMap();
    if (citymap::TMap* map = WorldMap())
        map->Prepare();
    UpdateProfileData();
    // Menu music starts here once the sound catalogue plays music.
    app::ResetDeltaTime();
    // The logo waits a second from now, whatever the reset took.
    Logo.Time = app::AppClock() + 1000;
}

void TMainMenu::OnUpdate()
{
    // The progress's rule while no profile is current (it does nothing
    // once one is).
    progress::EnsureCurrentProfile();
    // A player chosen or renamed in the pop-ups shows at once.
    if (progress::CurrentPlayerName() != shownName_)
        UpdateProfileData();
    Logo.Update();
}

citymap::TMap* TMainMenu::WorldMap() const
{
    const progress::PProfile& p = progress::CurrProfile();
    if (p && p->Map)
        return p->Map.get();
    return citymap::StartMap().get();
}

void TMainMenu::DrawWorldBehindMenu()
{
    citymap::TMap* map = WorldMap();
    if (map && !map->Objects.empty()) {
        map->Draw();
        platform::ResetDrawState();
    } else if (back_) {
        platform::DrawImage(back_, -171, 0);
    } else {
        platform::SetColor(20, 24, 48);
        platform::DrawRect(-171, 0, 1366, 768);
        platform::SetColor(255, 255, 255);
    }
}

void TMainMenu::OnDraw()
{
    DrawWorldBehindMenu();
    Logo.Draw();
}

void TMainMenu::Interface()
{
    if (ButtonPlay && ButtonPlay->isPressed) {
        Play();
    } else if (ButtonOptions && ButtonOptions->isPressed) {
        progress::ShowOptions();
    } else if (ButtonScores && ButtonScores->isPressed) {
        progress::ShowScores();
    } else if (ButtonQuit && ButtonQuit->isPressed) {
        progress::AskYesOrNo(GetTxt(1), &TMainMenu::Exit_YES, &TMainMenu::Exit_NO);
    } else if (ButtonChange && ButtonChange->isPressed) {
        progress::ShowProfiles();
    } else if (app::Markers().cheats && platform::KeyHit(platform::key::A + ('C' - 'A')) > 0) {
        // Developer key: the credits, returning here.
        if (auto credits = std::dynamic_pointer_cast<TCredits>(app::Control::GetScreenByName("Credits"))) {
            credits->ScreenToGo = std::static_pointer_cast<app::TScreen>(shared_from_this());
            app::GoToScreen(credits);
        }
    }
}

void TMainMenu::Exit_YES()
{
    progress::SaveProfiles();
    // Quitting saves the settings and everything else registered to be saved.
    app::Control::Quit();
}

} // namespace menus
