// The profile list and its pop-up: choose a player by clicking a row, create
// one (New: the name entry), delete the current one (Delete, after a
// question). At most six profiles; the last one cannot be deleted.
//
// The pop-up owns the list (ProfilesList, in creation or file order) and the
// list file, user-data folder + "Profiles/Profiles.txt": the coded name of
// the current profile (CurrProfile), then one block Profile per profile with
// its Name and Id (coded name). The list works before the pop-up is set up,
// so tests drive it without pictures.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/platform/image.h"
#include "gui/widgets.h"
#include "menus/styled/zefarpopup.h"
#include "progress/profile.h"

namespace progress {

class TProfiles : public menus::TZefarPopUp {
public:
    static constexpr int kMaxProfiles = 6;
    static constexpr int kMaxNameLength = 13; // characters
    // The rows of the names, relative to the window.
    static constexpr int kRowX = 86, kRowY = 76, kRowW = 300, kRowH = 40;

    gui::PUIImage Panel;
    gui::PUILightButton ButtonNew, ButtonDelete;
    gui::PUIImage ButtonNewDisabled, ButtonDeleteDisabled; // shown in place of the buttons when not allowed
    gui::PUILightButton ButtonOk;
    platform::ImagePtr PickedImage; // highlight of the current profile's row
    std::vector<PProfile> ProfilesList;
    PProfile OverProfile; // the row under the mouse this frame

    // ---- LOADING ----
    // Reads the list file and every profile's own file; the profile named by
    // CurrProfile becomes current, or the first one when it names none. A
    // missing list file means there are no profiles.
    void LoadProfiles();
    // The list file path.
    static std::string ListFilePath();
    // Every profile's own file, then the list file, each replaced atomically;
    // only when a profile is current. False (logged) when a write failed.
    bool Save();

    // ---- SETTING ----
    // A new profile of that name (upper case, blanks trimmed), made current
    // and saved. A name already listed (ignoring case) makes that profile
    // current instead; an empty name or a seventh profile is refused.
    void AddNewProfile(const std::string& name);
    void SetCurrProfile(PProfile profile);
    // Removes the current profile from the list (its file stays) and makes
    // the first remaining one current; the last one is never removed.
    static void DeleteCurrProfile();
    // The listed profile of that name (ignoring case), or none.
    PProfile FindProfile(const std::string& name) const;

    // ---- UPDATING ----
    void UpdateButtons();
    void UpdateProfiles();

    // ---- EVENTS ----
    void OnSetup() override;
    void OnUpdate() override;
    void OnDrawEnd() override;
    void Interface() override;
};

// The program's profile pop-up (registered as "Profiles"), or none.
std::shared_ptr<TProfiles> ProfilesPopUp();

} // namespace progress
