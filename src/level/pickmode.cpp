#include "level/pickmode.h"

#include "app/paths.h"
#include "gui/textclasses.h"
#include "level/levelroad.h"

namespace level {

void TPickMode::OnSetup()
{
    Panel = gui::CreateUIImage(app::GameDir() + "gfx/GUI/Scores/InfoWindow.png", 278, 193, CenterPoint.get());
    Panel->Name = "Panel";
    auto text = [&](int line, float y, int h, int textClass, const char* name) {
        auto t = gui::CreateUIText(GetTxt(line), 60, y, 280, h, Panel.get(), gui::TextClass(textClass));
        t->SetAlign(1);
        t->Name = name;
        return t;
    };
    const auto& large = gui::TextButtonClassSet(1);
    auto button = [&](int line, float y, const char* name) {
        auto b = gui::CreateUITextButton(GetTxt(line), 60, y, 280, 32, Panel.get(), large);
        b->Name = name;
        return b;
    };
    Title = text(1, 70, 30, 10, "Title");
    ButtonRelaxed = button(2, 120, "ButtonRelaxed");
    RelaxedInfo = text(3, 160, 20, 5, "RelaxedInfo");
    ButtonTImed = button(4, 200, "ButtonTimed");
    TimedInfo = text(5, 240, 20, 5, "TimedInfo");
    ButtonOk = gui::CreateUILightButton(app::LocalDir() + "gfx/EnterName/ButtonCancel.png", 144, 342, Panel.get(),
                                        0.5f);
    ButtonOk->Name = "ButtonCancel";
}

// ---- COMMANDS ----

void TPickMode::Go()
{
    Hide();
    if (Road().StartNewGame)
        Road().StartNewGame(Mode);
}

// ---- INPUT ----

void TPickMode::Interface()
{
    if (ButtonOk && ButtonOk->isPressed) {
        ClearButtons();
        GoHide();
    } else if (ButtonRelaxed && ButtonRelaxed->isPressed) {
        ClearButtons();
        Mode = MODE_RELAXED;
        Go();
    } else if (ButtonTImed && ButtonTImed->isPressed) {
        ClearButtons();
        Mode = MODE_TIMED;
        Go();
    }
}

} // namespace level
