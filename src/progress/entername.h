// The pop-up that asks for a new player's name: typed characters come from
// the platform's character queue, one per frame; Enter or OK adds the
// profile (or switches to the one of that name), Cancel closes the pop-up
// unless there is no current profile yet (at the first start a name must be
// given). The name is shown in upper case with a blinking cursor.
#pragma once

#include <cstdint>
#include <string>

#include "gui/widgets.h"
#include "menus/styled/zefarpopup.h"

namespace progress {

class TEnterName : public menus::TZefarPopUp {
public:
    static constexpr int kBlinkMs = 500; // application-clock milliseconds per cursor toggle

    gui::PUIImage Panel;
    gui::PUILightButton ButtonOk, ButtonCancel;
    std::string Enter; // the name typed so far (UTF-8, upper case)
    int Switch = 0;    // 1 while the cursor is visible
    int64_t Time = 0;  // application-clock time of the next cursor toggle

    // True for the characters that may be typed: blank, "_", digits, ASCII
    // letters and every code of 129 or more.
    static bool isCharForbidden(int code);
    // Adds the typed name on the profile list, then hides.
    void AddNew();
    // One typed character: 8 removes the last one, 13 accepts the name, an
    // allowed character is appended while the name is shorter than 13.
    void TypeChar(int code);

    // ---- EVENTS ----
    void OnSetup() override;
    void OnShow() override;
    void OnUpdate() override;
    void OnDrawEnd() override;
    void Interface() override;
};

} // namespace progress
