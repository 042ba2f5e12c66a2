// The transition screen: an iris closes on the old screen, the next screen is
// prepared at the darkest moment, and the iris opens on it.
//
// While a switch runs the transition screen is the current screen; it takes
// no input. One program-wide instance exists; it is never registered.
#pragma once

#include <functional>
#include <memory>

#include "app/platform/image.h"
#include "app/screen.h"

namespace app {

class TCrosser : public TScreen {
public:
    std::shared_ptr<TScreen> OldScreen;
    std::shared_ptr<TScreen> NewScreen;
    int CrossState = 0;      // 0 closing on the old screen, 1 opening on the new one
    float CrossSpeed = 0.02f; // progress per nominal frame
    float Per = 0;           // progress of the current half, 0 to 1
    std::function<void()> AtEndFunc; // run at the switch; may be empty
    int NoPrepare = 0;       // 1: the new screen is not prepared at the switch

    // ---- SETTING UP ----
    // Loads the two iris pictures (a missing one is drawn by a stand-in).
    void Setup() override;

    // ---- COMMANDS ----
    void Reset();
    // True from GoToScreen until the new screen is current.
    bool Running() const { return running_; }
    // Starts a transition from the current screen (see GoToScreen).
    void Start(const std::shared_ptr<TScreen>& screen, std::function<void()> func, int noPrepare);

    // A pop-up shown while the transition runs (from a screen's OnPrepare, or
    // the function) belongs to the screen being switched to.
    void ShowPopUpOnScreen(const std::shared_ptr<TPopUp>& popup) override;

    // ---- DRAWING ----
    // The iris: the dark ring scaled by the opening, black outside it and the
    // turning star on top.
    void DrawSpin();
    void Draw() override;

    // ---- UPDATING ----
    void CheckCrossStep();
    // At the darkest moment: the old screen leaves, the function runs, the new
    // screen is prepared and drawn once off-frame.
    void Switch();
    // The new screen becomes current.
    void Finish();
    void Update() override;

    // Run at every switch after the new screen was prepared (the tutorial
    // forgets its current tip there).
    static std::function<void()>& AtSwitchHook();

private:
    bool running_ = false;
    bool restarted_ = false; // a waiting request started a new transition in this update
    // A request that came while the second half ran: started when it ends.
    struct Pending {
        std::shared_ptr<TScreen> screen;
        std::function<void()> func;
        int noPrepare = 0;
    };
    std::unique_ptr<Pending> pending_;
};

// The program's transition screen (made on first use).
std::shared_ptr<TCrosser>& Crosser();
// The two iris pictures, shared by the program.
platform::ImagePtr& TransSpin();
platform::ImagePtr& TransDark();

// Switches to `screen` through the transition; `func` (may be empty) runs at
// the switch, after the old screen's Leave and before the new screen's
// Prepare. Asked while a transition runs, the request retargets it when the
// old screen is still shown, or follows it once it has ended.
void GoToScreen(const std::shared_ptr<TScreen>& screen, std::function<void()> func = nullptr);
// The same without preparing the new screen.
void GoToScreenNoPrepare(const std::shared_ptr<TScreen>& screen, std::function<void()> func = nullptr);

} // namespace app
