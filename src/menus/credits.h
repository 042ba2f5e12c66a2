// The scrolling credits: the lines of the language's credits text rise
// slowly over a dusk backdrop and start again from the bottom once the last
// one has left the top. A click, Enter, Space or Escape goes back.
//
// A line beginning with "#" is a heading, one beginning with "$" a title
// (the marks are not shown); other lines are plain. Whoever opens the
// credits sets ScreenToGo first (the main menu when nobody did) and, after
// the end of the game, WasTheGameEnd. The return screen is linked, not
// owned: Control's list owns every screen. Tested in tests/menus/test_credits.cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/platform/image.h"
#include "app/screen.h"
#include "gui/textclass.h"

namespace menus {

struct TCreditData {
    std::string txt;     // the line without its mark
    gui::PTextClass cl;  // plain 20, heading 21, title 22
};

class TCredits : public app::TScreen {
public:
    platform::ImagePtr img;       // the backdrop
    std::vector<TCreditData> lista;
    float y = 768;                // top of the text column
    std::weak_ptr<app::TScreen> ScreenToGo;
    int WasTheGameEnd = 0;

    // ---- DRAWING ----
    void DrawBack();
    void DrawCredits();
    // ---- UPDATING ----
    // The column rises one unit per nominal frame.
    void UpdateMove();
    // Backdrop, lines, then the rise.
    void draw();

    // ---- EVENTS ----
    void OnSetup() override;
    void OnPrepare() override;
    void OnDraw() override { draw(); }
    void Interface() override;

    // The lines of a credits text, each with its text class.
    static std::vector<TCreditData> ReadCredits(const TTxtFile& file);
};

} // namespace menus
