// The pop-up shown when a level is lost: a message saying why, and two
// buttons, play the level again or leave to the main menu. The level play
// screen sets the message kind and shows it in place (plain Show, no slide).
// Tested headless in tests/level/test_levelpopups.cpp.
#pragma once

#include "gui/widgets.h"
#include "menus/styled/zefarpopup.h"

namespace level {

class TLosePopUp : public menus::TZefarPopUp {
public:
    static constexpr const char* kName = "Lose";

    gui::PUIImage Panel;
    gui::PUIText Info;               // why the level was lost
    gui::PUITextButton ButtonReplay; // "ButtonReplay"
    gui::PUITextButton ButtonMenu;   // "ButtonMenu"

    // ---- COMMANDS ----
    void GoMenu();
    void GoRestart();
    // The message: kind 1 the time ran out (line 1), kind 2 no move was left
    // (line 5); other kinds leave it as it is.
    void SetNormal(int kind);

    // ---- EVENTS ----
    void OnSetup() override;
    void Interface() override;
};

} // namespace level
