#include "level/ingamemenu.h"

#include "app/paths.h"
#include "level/levelroad.h"

namespace level {

void TInGameMenu::OnSetup()
{
    const std::string dir = app::LocalDir() + "gfx/inGameMenu/";
    Panel = gui::CreateUIImage(dir + "InGameMenuWindow.png", 384, 160, CenterPoint.get());
    Panel->Name = "Panel";
    auto button = [&](const char* file, float y, const char* name) {
        auto b = gui::CreateUILightButton(dir + file, 80, y, Panel.get(), 0.5f);
        b->Name = name;
        return b;
    };
    ButtonResume = button("InGameResumeButton.png", 117, "ButtonResume");
    ButtonRestart = button("InGameRestartButton.png", 182, "ButtonRestart");
    ButtonOptions = button("InGameOptionsButton.png", 245, "ButtonOptions");
    ButtonMenu = button("InGameToMenuButton.png", 312, "ButtonMenu");
}

// ---- COMMANDS ----

void TInGameMenu::YesRestart()
{
    if (Road().RestartLevel)
        Road().RestartLevel();
}

void TInGameMenu::YesMenu()
{
    if (Road().GoMainMenu)
        Road().GoMainMenu();
}

// ---- INPUT ----

void TInGameMenu::Interface()
{
    auto pressed = [](const gui::PUILightButton& b) { return b && b->isPressed; };
    if (pressed(ButtonResume)) {
        GoHide();
    } else if (pressed(ButtonRestart)) {
        if (Road().AskYesOrNo)
            Road().AskYesOrNo(GetTxt(1), [this] { YesRestart(); });
    } else if (pressed(ButtonOptions)) {
        if (Road().ShowOptions)
            Road().ShowOptions();
    } else if (pressed(ButtonMenu)) {
        if (Road().AskYesOrNo)
            Road().AskYesOrNo(GetTxt(2), [this] { YesMenu(); });
    } else {
        return;
    }
    ClearButtons();
}

} // namespace level
