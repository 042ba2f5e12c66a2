// The splash: the team's picture cards shown once at start-up, before the
// main loop, in a blocking loop of its own.
//
// Each picture fades in from black (fSpeed per nominal frame), stays until
// timeFrame ms after its fade-in began, and fades out; a click fades the
// current picture out at once (during a fade-in the fade simply turns back).
// The loop runs the same frame step as the main loop (the automation hooks,
// frame timing, sound and mouse), so headless runs pass through it on their
// virtual clock and their input scripts can click it away.
//
// Start-up owns the one splash for the length of the loop and drops it
// afterwards. Tested in tests/menus/test_splash.cpp.
#pragma once

#include <cstdint>
#include <vector>

#include "app/platform/image.h"

namespace menus {

class TSplash {
public:
    std::vector<platform::ImagePtr> images; // the cards, in the order shown
    int actN = 0;                           // current card; past the last when over
    int timeFrame = 3000;                   // ms from a card's fade-in to its fade-out
    float fade = 1;                         // black cover over the card, 0 to 1
    float dFade = 0;                        // its target
    float fSpeed = 0.05f;                   // cover change per nominal frame
    int64_t nextFrame = 0;                  // application-clock time the card starts fading out

    // Game folder + "Splash/Splash" + n + ".png" (or ".jpg" when there is no
    // ".png") for n = 0 to 4; the pictures found, centred.
    void Setup();
    // Runs until the last card has faded out. Returns at once without cards.
    // False when the window was asked to close meanwhile.
    bool Mainloop();

    // ---- UPDATING ----
    // The loop's start: the first card under a full cover, fading in.
    void Start();
    // fade toward dFade by fSpeed times the frame factor.
    void UpdateFade();
    // The frame step, then the fade and the change of cards.
    void Update();
    // A click: the current card fades out.
    void Click() { dFade = 1; }
    bool Over() const;

    // ---- DRAWING ----
    // The current card at the centre of the design area under its cover.
    void Draw();

private:
    // The cards' timing and change, without the frame step (for Update).
    void Advance();
};

} // namespace menus
