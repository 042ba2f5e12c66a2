// The program-wide confirmation pop-up: a question with OK and Cancel. OK,
// Enter or Y answers yes; Cancel, Escape or N answers no; the answer's
// function runs once the slide-out is over. Every yes/no question of the
// game goes through AskYesOrNo (progress/road.h).
#pragma once

#include <functional>
#include <string>

#include "gui/widgets.h"
#include "menus/styled/zefarpopup.h"

namespace progress {

class TYesOrNo : public menus::TZefarPopUp {
public:
    gui::PUIImage Panel;
    gui::PUILightButton ButtonOk, ButtonCancel;
    gui::PUIText Text; // the question
    std::string Enter; // unused
    std::function<void()> YesFunction, NoFunction; // may be empty
    int Wynik = -1; // the answer: 1 yes, 0 no, -1 none yet (hidden without an answer runs nothing)

    // ---- COMMANDS ----
    void YES();
    void NO();
    void SetText(const std::string& text);
    void SetFunctions(std::function<void()> yes, std::function<void()> no);

    // ---- EVENTS ----
    void OnSetup() override;
    void OnShow() override;
    void OnHide() override;
    void Interface() override;
};

} // namespace progress
