// The base of screens and pop-ups as far as the main loop needs it.
//
// This is the smallest form of TScreen and TPopUp that Control drives: the
// frame's Update, Draw and Interface, the name screens are found by, the list
// of pop-ups shown on a screen and the calls made when a screen is prepared,
// left or gets a pop-up. The screens work extends these types (on the app
// object base, with set-up from text and object files, the dark layer under
// pop-ups, Show/Hide and the transition screen); Control only relies on what
// is declared here.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/platform/input.h"

namespace app {

class TPopUp;

class TScreen : public std::enable_shared_from_this<TScreen> {
public:
    virtual ~TScreen() = default;

    std::string Name;
    int Id = 0;
    // The pop-ups shown on this screen, bottom first; the last one is the topmost.
    std::vector<std::shared_ptr<TPopUp>> ShowedPopUps;

    // ---- FRAME ----
    virtual void Update() {}
    virtual void Draw() {}
    // Reacts to clicks and keys; called after the frame has been drawn.
    virtual void Interface() {}

    // ---- PREPARING AND LEAVING ----
    // Forgets pending button states of the screen's widgets.
    virtual void ClearButtons() {}
    // Called when the screen is about to become current.
    virtual void Prepare() {}
    // Called when the screen stops being current.
    virtual void Leave() {}
    // Recomputes the absolute placement of the screen's objects.
    virtual void Calculate() {}

    // ---- MISC ----
    // Puts the pop-up on top of this screen's shown pop-ups.
    virtual void ShowPopUpOnScreen(const std::shared_ptr<TPopUp>& popup);
};

class TPopUp : public TScreen {
public:
    // The screen the pop-up is shown on (not owned).
    TScreen* Screen = nullptr;
    // A locked topmost pop-up gets no Interface calls.
    int isLocked = 0;

    void Lock() { isLocked = 1; }
    void Unlock() { isLocked = 0; }
};

inline void TScreen::ShowPopUpOnScreen(const std::shared_ptr<TPopUp>& popup)
{
    if (!popup)
        return;
    platform::FlushKeys();
    platform::FlushMouse();
    popup->ClearButtons();
    popup->Screen = this;
    ShowedPopUps.push_back(popup);
}

} // namespace app
