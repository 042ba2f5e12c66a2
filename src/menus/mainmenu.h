// The main menu. For now it shows the game's name over the loading backdrop;
// its set-up already prepares the transition screen, which every later screen
// change relies on.
#pragma once

#include <string>

#include "app/platform/image.h"
#include "app/screen.h"

namespace menus {

class TMainMenu : public app::TScreen {
public:
    void OnSetup() override;
    void OnDraw() override;

    // The name drawn in the middle of the screen (the window title).
    const std::string& Title() const { return title_; }

private:
    platform::ImagePtr back_;
    std::string title_;
};

} // namespace menus
