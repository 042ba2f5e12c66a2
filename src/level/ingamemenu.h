// The menu opened by the level play screen's menu button: resume, restart
// (after a question), options, leave to the main menu (after a question). It
// slides in as every styled pop-up does; the confirmation and options
// pop-ups stack over it and answering no comes back to it. While it is shown
// the level screen beneath is frozen, so the level's time does not run on.
// Tested headless in tests/level/test_levelpopups.cpp.
#pragma once

#include "gui/widgets.h"
#include "menus/styled/zefarpopup.h"

namespace level {

class TInGameMenu : public menus::TZefarPopUp {
public:
    static constexpr const char* kName = "InGameMenu";

    gui::PUIImage Panel;
    gui::PUILightButton ButtonResume;  // "ButtonResume"
    gui::PUILightButton ButtonRestart; // "ButtonRestart"
    gui::PUILightButton ButtonOptions; // "ButtonOptions"
    gui::PUILightButton ButtonMenu;    // "ButtonMenu"

    // ---- COMMANDS ----
    // The answers yes to the two questions.
    void YesRestart();
    void YesMenu();

    // ---- EVENTS ----
    void OnSetup() override;
    void OnUpdate() override {}
    void OnShow() override {}
    void Interface() override;
};

} // namespace level
