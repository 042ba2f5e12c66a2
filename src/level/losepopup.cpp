#include "level/losepopup.h"

#include "app/paths.h"
#include "gui/textclasses.h"
#include "level/levelroad.h"

namespace level {

void TLosePopUp::OnSetup()
{
    Panel = gui::CreateUIImage(app::GameDir() + "gfx/GUI/Lose/Window.png", 300, 193, CenterPoint.get());
    Panel->Name = "Panel";
    Info = gui::CreateUIText(GetTxt(1), 60, 120, 280, 30, Panel.get(), gui::TextClass(10));
    Info->Name = "Info";
    Info->SetAlign(1);
    const auto& large = gui::TextButtonClassSet(1);
    ButtonReplay = gui::CreateUITextButton(GetTxt(2), 60, 220, 280, 32, Panel.get(), large);
    ButtonReplay->Name = "ButtonReplay";
    ButtonMenu = gui::CreateUITextButton(GetTxt(3), 60, 300, 280, 32, Panel.get(), large);
    ButtonMenu->Name = "ButtonMenu";
}

// ---- COMMANDS ----

void TLosePopUp::SetNormal(int kind)
{
    if (!Info)
        return;
    if (kind == 1)
        Info->SetText(GetTxt(1));
    else if (kind == 2)
        Info->SetText(GetTxt(5));
}

void TLosePopUp::GoRestart()
{
    if (Road().RestartLevel)
        Road().RestartLevel();
}

void TLosePopUp::GoMenu()
{
    if (Road().GoMainMenu)
        Road().GoMainMenu();
}

// ---- INPUT ----

void TLosePopUp::Interface()
{
    // The screen switch that follows hides the pop-up.
    if (ButtonReplay && ButtonReplay->isPressed) {
        ClearButtons();
        GoRestart();
    } else if (ButtonMenu && ButtonMenu->isPressed) {
        ClearButtons();
        GoMenu();
    }
}

} // namespace level
