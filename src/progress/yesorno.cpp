#include "progress/yesorno.h"

#include "app/paths.h"
#include "app/platform/input.h"
#include "gui/textclasses.h"

namespace progress {

// ---- COMMANDS ----

void TYesOrNo::YES()
{
    Wynik = 1;
    GoHide();
}

void TYesOrNo::NO()
{
    Wynik = 0;
    GoHide();
}

void TYesOrNo::SetText(const std::string& text)
{
    if (Text)
        Text->SetText(text);
}

void TYesOrNo::SetFunctions(std::function<void()> yes, std::function<void()> no)
{
    YesFunction = std::move(yes);
    NoFunction = std::move(no);
}

// ---- EVENTS ----

void TYesOrNo::OnSetup()
{
    const std::string local = app::LocalDir();
    Panel = gui::CreateUIImage(app::GameDir() + "gfx/GUI/YesOrNo/ConfirmWindow.png", 308, 293, CenterPoint.get());
    ButtonOk = gui::CreateUILightButton(local + "gfx/options/WindowOkButton.png", 69, 135, Panel.get(), 0.5f);
    ButtonOk->Name = "OK";
    ButtonCancel = gui::CreateUILightButton(local + "gfx/EnterName/ButtonCancel.png", 226, 135, Panel.get(), 0.5f);
    ButtonCancel->Name = "Cancel";
    Text = gui::CreateUIText("(temp text)", 44, 64, 326, 60, Panel.get(), gui::TextClass(5));
    Text->SetAlign(1);
}

void TYesOrNo::OnShow() { Wynik = -1; }

void TYesOrNo::OnHide()
{
    // Taken out first: the answer may ask the next question at once.
    std::function<void()> answer = Wynik == 1 ? std::move(YesFunction) : Wynik == 0 ? std::move(NoFunction) : nullptr;
    YesFunction = nullptr;
    NoFunction = nullptr;
    Wynik = -1;
    if (answer)
        answer();
}

void TYesOrNo::Interface()
{
    using namespace platform;
    for (int i = 0; i < 3; ++i)
        if (KeyHit(key::Digit0 + 1 + i) && Text)
            Text->SetAlign(i);
    if ((ButtonOk && ButtonOk->isPressed) || KeyHit(key::Enter) || KeyHit(key::A + ('Y' - 'A'))) {
        if (ButtonOk)
            ButtonOk->Clear();
        YES();
        return;
    }
    if ((ButtonCancel && ButtonCancel->isPressed) || KeyHit(key::Escape) || KeyHit(key::A + ('N' - 'A'))) {
        if (ButtonCancel)
            ButtonCancel->Clear();
        NO();
    }
}

} // namespace progress
