#include "progress/entername.h"

#include "app/deltatime.h"
#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/draw.h"
#include "app/platform/font.h"
#include "app/platform/input.h"
#include "datafiles/numbers.h"
#include "gui/textclasses.h"
#include "progress/profile.h"
#include "progress/profiles.h"

namespace progress {

bool TEnterName::isCharForbidden(int code)
{
    return code == ' ' || code == '_' || (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
           (code >= 'a' && code <= 'z') || code >= 129;
}

void TEnterName::AddNew()
{
    if (std::shared_ptr<TProfiles> list = ProfilesPopUp())
        list->AddNewProfile(Enter);
    GoHide();
}

void TEnterName::TypeChar(int code)
{
    if (code == 8) {
        std::u32string s = platform::Utf8ToU32(Enter);
        if (!s.empty())
            s.pop_back();
        Enter = platform::U32ToUtf8(s);
    } else if (code == 13) {
        if (!datafiles::Trim(Enter).empty())
            AddNew();
    } else if (isCharForbidden(code) && NameLength(Enter) < TProfiles::kMaxNameLength && code <= 0x10FFFF) {
        platform::AppendUtf8(Enter, static_cast<char32_t>(code));
    }
    Enter = UpperName(Enter);
}

// ---- EVENTS ----

void TEnterName::OnSetup()
{
    const std::string local = app::LocalDir();
    Panel = gui::CreateUIImage(local + "gfx/EnterName/AddNameWindow.png", 279, 274, CenterPoint.get());
    ButtonOk = gui::CreateUILightButton(local + "gfx/options/WindowOkButton.png", 92, 174, Panel.get(), 0.5f);
    ButtonOk->Name = "OK";
    ButtonCancel = gui::CreateUILightButton(local + "gfx/EnterName/ButtonCancel.png", 263, 174, Panel.get(), 0.5f);
    ButtonCancel->Name = "Cancel";
}

void TEnterName::OnShow()
{
    Enter.clear();
    // Characters typed before the pop-up opened are not part of the name.
    while (platform::GetChar() != 0) {
    }
}

void TEnterName::OnUpdate()
{
    const int64_t now = app::AppClock();
    if (now >= Time) {
        Time = now + kBlinkMs;
        Switch = Switch ? 0 : 1;
    }
}

void TEnterName::OnDrawEnd()
{
    if (!Panel)
        return;
    const float cx = Panel->x + 234;
    const float y = Panel->y + 84;
    const gui::PTextClass& cls = gui::TextClass(6);
    float w = 0;
    if (cls) {
        cls->SelectFont();
        w = static_cast<float>(platform::TextWidth(Enter));
        cls->DrawTextXY(Enter, cx - w / 2, y);
    }
    if (Switch) {
        platform::ResetDrawState();
        platform::SetColor(255, 255, 255);
        platform::DrawRect(cx + w / 2 + 2, y, 2, 40);
    }
}

void TEnterName::Interface()
{
    if (const int code = platform::GetChar())
        TypeChar(code);
    if (!IsShown() || PopUpStatus != 2)
        return; // the name was accepted
    if (ButtonOk && ButtonOk->isPressed) {
        ButtonOk->Clear();
        if (!datafiles::Trim(Enter).empty())
            AddNew();
        return;
    }
    if (ButtonCancel && ButtonCancel->isPressed) {
        ButtonCancel->Clear();
        if (CurrProfile())
            GoHide();
    }
}

} // namespace progress
