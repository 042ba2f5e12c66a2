// The title logo of the main menu: four pictures that arrive one after the
// other. The name drops in from above, the emblem below it flashes into
// view, and the two flourishes slide in from the sides to meet the emblem.
//
// States: 0 the name drops (Per to 1 at 0.01 a frame), 1 a 250 ms rest,
// 2 the emblem's flash (Per to 1 at 0.005), 3 a 500 ms rest, 4 the
// flourishes slide in (Per to 1 at 0.02), 5 everything at rest. Nothing
// advances before the application-clock time Time; the main menu sets it
// one second ahead each time it is prepared, and never resets the state, so
// the animation plays once a run.
//
// The pictures are shared by every logo (Setup loads them once). Tested in
// tests/menus/test_mainmenu.cpp.
#pragma once

#include <array>
#include <cstdint>

#include "app/platform/image.h"

namespace menus {

class TZefarLogo {
public:
    static constexpr float kAnchorX = 512, kAnchorY = 100;
    static constexpr float kSubtitleDrop = 90; // the emblem sits this far below the anchor

    int State = 0;    // 0 to 5
    float Per = 0;    // progress of the current state, 0 to 1
    int64_t Time = 0; // application-clock time before which nothing advances

    // Loads game folder + "local/" + language + "/gfx/mainMenu/logo-0..3.png"
    // with their handles; a missing picture is named on the console and
    // left out of the drawing.
    static void Setup();
    static const std::array<platform::ImagePtr, 4>& Pictures();

    // ---- DRAWING ----
    void Draw_LogoShow();
    void Draw_II();
    void Draw_LogoAndII();
    void Draw_Texts();
    void Draw_All();
    void DrawLights() {}
    // The picture of the current state.
    void Draw();

    // ---- UPDATING ----
    void Update_LogoShow();
    void Update_II();
    void Update_Texts();
    void Update();
};

} // namespace menus
