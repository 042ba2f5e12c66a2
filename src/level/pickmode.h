// The choice between the relaxed and the timed mode, shown by the main menu
// when a new game begins: a title, the two modes each with a line saying
// what it means, and a cancel button. Choosing a mode hides the pop-up at
// once and starts the new game (level::Road().StartNewGame, which goes on to
// the intro story); cancelling slides it out and changes nothing.
// Tested headless in tests/level/test_levelpopups.cpp.
#pragma once

#include "gui/widgets.h"
#include "menus/styled/zefarpopup.h"

namespace level {

class TPickMode : public menus::TZefarPopUp {
public:
    static constexpr const char* kName = "PickMode";
    enum { MODE_RELAXED = 0, MODE_TIMED = 1 };

    gui::PUIImage Panel;
    gui::PUIText Title, RelaxedInfo, TimedInfo;
    gui::PUITextButton ButtonRelaxed; // "ButtonRelaxed"
    gui::PUITextButton ButtonTImed;   // "ButtonTimed"
    gui::PUILightButton ButtonOk;     // "ButtonCancel": the cancel picture

    // The mode chosen last (-1 before any choice).
    int Mode = -1;

    // ---- COMMANDS ----
    // Hides the pop-up at once (no slide) and starts the new game in Mode.
    void Go();

    // ---- EVENTS ----
    void OnSetup() override;
    void Interface() override;
};

} // namespace level
