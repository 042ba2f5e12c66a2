// The main menu: the title logo over the world behind the menu, the welcome
// panel with the player's name and the change-player button, and the panel
// of buttons: Play, Options, High scores and Quit.
//
// What the buttons do belongs to the player's progress (progress/road.h):
// the menu only asks for it. While no profile is current, every update
// applies the progress's rule for that (a default profile, or the name entry).
//
// The widgets are children of the screen, made once at set-up; their Name
// fields ("Play", "Options", "Scores", "Quit", "ChangePlayer") are stable, so
// testers' tools can find and click them. Tested in tests/menus/test_mainmenu.cpp
// and tests/e2e/main_menu.sh.
#pragma once

#include <string>

#include "app/platform/image.h"
#include "app/screen.h"
#include "gui/widgets.h"
#include "menus/logo.h"

namespace citymap {
class TMap;
}

namespace menus {

class TMainMenu : public app::TScreen {
public:
    int MenuX = 920, MenuY = 550;   // the button panel
    int PlayerX = 48, PlayerY = 657; // the welcome panel
    gui::PUIImage PlayerPanel;
    gui::PUIText ProfileText;
    gui::PUITextButton ButtonChange;
    TZefarLogo Logo;
    gui::PUIImage ButtonsPanel;
    gui::PUILightButton ButtonPlay, ButtonOptions, ButtonScores, ButtonHelp, ButtonQuit;
    gui::PUIImage Cover;

    // ---- SETTING UP ----
    void SetupMenu();
    void SetupPlayerPanel();

    // ---- UPDATING ----
    void UpdateScroll() {}
    // Continues the current game, or asks for the mode of a new one.
    void Play();
    // The welcome line with the current player's name.
    void UpdateProfileData();

    // ---- EVENTS ----
    void OnSetup() override;
    void OnDraw() override;
    void OnUpdate() override;
    void Interface() override;
    void OnPrepare() override;

    // The answers to the quit question: yes saves and ends the program.
    static void Exit_YES();
    static void Exit_NO() {}

private:
    // What lies behind the menu: the slowly panning city map of the current
    // player, or the start map while none is current (the loading backdrop
    // when the map has nothing to show).
    void DrawWorldBehindMenu();
    citymap::TMap* WorldMap() const;

    platform::ImagePtr back_;
    std::string shownName_; // the name ProfileText was last made for
};

} // namespace menus
