#include "progress/profiles.h"

#include "app/control.h"
#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "app/platform/font.h"
#include "datafiles/numbers.h"
#include "gui/mouse.h"
#include "gui/textclasses.h"
#include "progress/road.h"

namespace progress {

std::shared_ptr<TProfiles> ProfilesPopUp()
{
    return std::dynamic_pointer_cast<TProfiles>(app::Control::GetPopUpByName("Profiles"));
}

// ---- LOADING ----

std::string TProfiles::ListFilePath() { return app::UserDataFolder() + "Profiles/Profiles.txt"; }

void TProfiles::LoadProfiles()
{
    ProfilesList.clear();
    OverProfile.reset();
    const std::string path = ListFilePath();
    if (!platform::FileExists(path)) {
        SetCurrProfile(nullptr);
        return;
    }
    PBlockFile root = LoadBlockFile(path);
    for (const PBlockFile& block : GetSubBlocks(*root, "Profile")) {
        const std::string name = UpperName(datafiles::Trim(block->GetBlock("Name")->GetString(0)));
        if (name.empty()) {
            platform::Log("A profile without a name in " + path + " was skipped");
            continue;
        }
        if (FindProfile(name)) {
            platform::Log("The profile " + name + " is listed twice in " + path + "; the second entry was skipped");
            continue;
        }
        if (static_cast<int>(ProfilesList.size()) >= kMaxProfiles) {
            platform::Log("More than " + std::to_string(kMaxProfiles) + " profiles in " + path + "; " + name +
                          " was skipped");
            continue;
        }
        auto profile = std::make_shared<TProfile>();
        profile->Name = name;
        profile->Load();
        ProfilesList.push_back(profile);
    }
    const std::string current = root->GetBlock("CurrProfile")->GetString(0);
    PProfile chosen;
    for (const PProfile& p : ProfilesList)
        if (p->GetCodedName() == current) {
            chosen = p;
            break;
        }
    if (!chosen && !ProfilesList.empty()) {
        platform::Log("The current profile of " + path + " names no listed profile; " + ProfilesList.front()->Name +
                      " is current");
        chosen = ProfilesList.front();
    }
    SetCurrProfile(chosen);
}

bool TProfiles::Save()
{
    const PProfile& current = CurrProfile();
    if (!current)
        return true;
    bool ok = true;
    TBlockFile root;
    root.name = ListFilePath();
    SetBlockString(root, "CurrProfile", current->GetCodedName());
    for (const PProfile& p : ProfilesList) {
        PBlockFile block = NewBlock("Profile", &root);
        SetBlockString(*block, "Name", p->Name);
        SetBlockString(*block, "Id", p->GetCodedName());
        ok = p->Save() && ok;
    }
    if (!SaveBlockFile(root)) {
        platform::Log("The profile list could not be saved to " + root.name);
        ok = false;
    }
    return ok;
}

// ---- SETTING ----

PProfile TProfiles::FindProfile(const std::string& name) const
{
    for (const PProfile& p : ProfilesList)
        if (SameName(p->Name, name))
            return p;
    return nullptr;
}

void TProfiles::AddNewProfile(const std::string& name)
{
    const std::string upper = UpperName(datafiles::Trim(name));
    if (upper.empty())
        return;
    if (PProfile existing = FindProfile(upper)) {
        SetCurrProfile(existing);
        Save();
        return;
    }
    if (static_cast<int>(ProfilesList.size()) >= kMaxProfiles) {
        platform::Log("There are already " + std::to_string(kMaxProfiles) + " profiles; " + upper + " was not added");
        return;
    }
    auto profile = std::make_shared<TProfile>();
    profile->Name = upper;
    ProfilesList.push_back(profile);
    SetCurrProfile(profile);
    Save();
}

void TProfiles::SetCurrProfile(PProfile profile) { CurrProfile() = std::move(profile); }

void TProfiles::DeleteCurrProfile()
{
    std::shared_ptr<TProfiles> list = ProfilesPopUp();
    if (!list || list->ProfilesList.size() <= 1)
        return;
    auto& profiles = list->ProfilesList;
    for (auto it = profiles.begin(); it != profiles.end(); ++it)
        if (*it == CurrProfile()) {
            profiles.erase(it);
            break;
        }
    list->SetCurrProfile(profiles.front());
    list->Save();
}

// ---- UPDATING ----

void TProfiles::UpdateButtons()
{
    auto swap = [](const gui::PUILightButton& button, const gui::PUIImage& disabled, bool allowed) {
        if (!button || !disabled)
            return;
        if (allowed) {
            button->Enable();
            disabled->Disable();
        } else {
            if (button->isEnabled)
                button->Clear();
            button->Disable();
            disabled->Enable();
        }
    };
    const int n = static_cast<int>(ProfilesList.size());
    swap(ButtonNew, ButtonNewDisabled, n < kMaxProfiles);
    swap(ButtonDelete, ButtonDeleteDisabled, n > 1);
}

void TProfiles::UpdateProfiles()
{
    OverProfile.reset();
    if (!Panel)
        return;
    const gui::TMouse& mouse = gui::Mouse();
    for (size_t i = 0; i < ProfilesList.size(); ++i) {
        const float rowY = Panel->y + kRowY + kRowH * static_cast<float>(i);
        if (mouse.inRect(Panel->x + kRowX, rowY, kRowW, kRowH)) {
            OverProfile = ProfilesList[i];
            break;
        }
    }
    if (OverProfile && mouse.leftPressed > 0 && !isLocked && OverProfile != CurrProfile())
        SetCurrProfile(OverProfile);
}

// ---- EVENTS ----

void TProfiles::OnSetup()
{
    const std::string local = app::LocalDir();
    Panel = gui::CreateUIImage(local + "gfx/Profiles/Window.png", 278, 193, CenterPoint.get());
    ButtonNew = gui::CreateUILightButton(local + "gfx/Profiles/NewButton.png", 52, 341, Panel.get(), 0.5f);
    ButtonNew->Name = "New";
    ButtonDelete = gui::CreateUILightButton(local + "gfx/Profiles/DeleteButton.png", 161, 341, Panel.get(), 0.5f);
    ButtonDelete->Name = "Delete";
    ButtonNewDisabled = gui::CreateUIImage(local + "gfx/Profiles/NewButton0.png", 52, 341, Panel.get());
    ButtonDeleteDisabled = gui::CreateUIImage(local + "gfx/Profiles/DeleteButton0.png", 161, 341, Panel.get());
    ButtonOk = gui::CreateUILightButton(local + "gfx/Options/WindowOKButton.png", 281, 338, Panel.get(), 0.5f);
    ButtonOk->Name = "OK";
    PickedImage = platform::LoadImage(app::GameDir() + "gfx/gui/Profiles/NameListSelection.png");
    if (PickedImage)
        platform::SetImageHandle(PickedImage, 36, 14);
    UpdateButtons();
}

void TProfiles::OnUpdate()
{
    UpdateButtons();
    UpdateProfiles();
}

void TProfiles::OnDrawEnd()
{
    if (!Panel)
        return;
    for (size_t i = 0; i < ProfilesList.size(); ++i) {
        const PProfile& p = ProfilesList[i];
        const float rowX = Panel->x + kRowX;
        const float rowY = Panel->y + kRowY + kRowH * static_cast<float>(i);
        if (p == CurrProfile() && PickedImage) {
            platform::ResetDrawState();
            platform::DrawImage(PickedImage, rowX, rowY);
        }
        const gui::PTextClass& cls = gui::TextClass(p == OverProfile ? 12 : 11);
        if (!cls)
            continue;
        cls->SelectFont();
        const float w = static_cast<float>(platform::TextWidth(p->Name));
        cls->DrawTextXY(p->Name, rowX + kRowW / 2.0f - w / 2, rowY);
    }
}

void TProfiles::Interface()
{
    if (ButtonNew && ButtonNew->isEnabled && ButtonNew->isPressed) {
        ButtonNew->Clear();
        if (auto styled = std::dynamic_pointer_cast<menus::TZefarPopUp>(app::Control::GetPopUpByName("EnterName")))
            styled->GoShow();
        return;
    }
    if (ButtonDelete && ButtonDelete->isEnabled && ButtonDelete->isPressed) {
        ButtonDelete->Clear();
        AskYesOrNo(GetTxt(1), [] { TProfiles::DeleteCurrProfile(); });
        return;
    }
    if (ButtonOk && ButtonOk->isPressed) {
        ButtonOk->Clear();
        GoHide();
    }
}

} // namespace progress
