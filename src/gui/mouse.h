// The single mouse object: refreshed once per frame by the main loop and read
// by every interactive part of the program.
#pragma once

#include "app/platform/image.h"
#include "fx/records.h"

namespace gui {

class TMouse {
public:
    platform::ImagePtr cur; // custom cursor image
    int leftPressed = 0, rightPressed = 0, midPressed = 0; // presses since the previous refresh
    int leftHolded = 0, rightHolded = 0, midHolded = 0;    // 1 while the button is down
    int leftTime = 0, byloLeft = 0;                        // kept for callers; never changed here
    int isCustom = 0;                                      // 1: cur is drawn instead of the system cursor
    float x = 0, y = 0;   // pointer position in design-area units
    float vx = 0, vy = 0; // change of x, y since the previous refresh
    float z = 0;          // wheel position
    float vz = 0;         // change of z since the previous refresh

    // ---- UPDATING ----
    // Once per frame, before the current screen updates: position, button
    // presses (taking the platform's counts), held buttons and wheel.
    void update();
    void Update() { update(); }
    // No presses, no held buttons and the pointer far off-screen, so that
    // nothing is hovered until the next refresh.
    void clear();

    // ---- SETTING ----
    void Custom(); // draw cur, hide the system cursor
    void Normal(); // show the system cursor

    // ---- DRAWING ----
    // Scale 1, rotation 0, alpha blending and alpha 1; then cur at (x, y) when custom.
    void draw();

    // ---- GETTING ----
    int GetX() const { return static_cast<int>(x); }
    int GetY() const { return static_cast<int>(y); }
    // Edges included.
    bool inRect(float left, float top, float w, float h) const
    {
        return left <= x && x <= left + w && top <= y && y <= top + h;
    }
    bool inDim(const TDim& d) const { return inRect(d.x, d.y, d.w, d.h); }

private:
    bool cleared_ = false; // the next refresh reports no movement
};

// The one mouse object of the program.
TMouse& Mouse();

} // namespace gui
