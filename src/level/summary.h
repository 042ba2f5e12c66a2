// The level summary, shown over the level play screen once a won level's end
// animation is over: the window drops in from above, the stars earned appear
// one after another, the statistics (time, score, coins, the new cash total)
// fade in, and the level's score and coins are paid into the player's
// progress. OK slides the window out of the top and then hands over to the
// progression (the map or the story).
//
// Paying happens when the summary is shown, before OK, through
// level::Road().PayWonLevel, exactly once per won level: showing the summary
// again for the same level object pays nothing more.
//
// The level figures come from the program's level play screen
// (MainGameScreen()); without one the summary shows zeros and pays nothing.
// Tested headless in tests/level/test_levelpopups.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/platform/image.h"
#include "app/screen.h"
#include "gui/widgets.h"

namespace match3 {
class TM3Level;
}

namespace level {

// One star of the summary: grows from nothing while it turns two full turns
// plus its own tilt.
class TSummaryStar {
public:
    float ScaleX = 1, ScaleY = 1;
    float Rot = 0;       // degrees
    float Alpha = 1;
    float x = 0, y = 0;  // screen position of the star's centre
    float dRot = 0;      // final tilt, degrees
    float per = 0;       // progress 0 to 1 (100 nominal frames)
    int64_t StartTime = 0; // application clock from which the star is drawn

    // One step of the growth (times the frame factor).
    void Update();
    // Nothing before StartTime; then Update and the star picture at
    // (x, y + yOffset). A star advances only while it is drawn.
    void Draw(float yOffset);
};

// ---- The summary's stars (program-wide) ----
std::vector<TSummaryStar>& SummaryStars();
void ClearSummaryStars();
// A star at (x, y) with its final tilt, drawn from the clock + delayMs on.
void AddSummaryStar(float x, float y, float tilt, int delayMs);
void DrawSummaryStars(float yOffset);
// "gfx/effects/Star.png" of the game folder, handled at its centre; none
// until the summary is set up (or when the file is missing).
platform::ImagePtr& SummaryStarImage();

// One line of the statistics: a value caption 204 pixels right of the line's
// place, 64 x 52, left-aligned and centred vertically.
class TGoldCounter {
public:
    gui::PUIText Value;

    void Create(int textClass, float x, float y, app::TAppObj* parent, const std::string& name);
    void SetValue(const std::string& t);
    std::string Text() const { return Value ? Value->Text : std::string(); }
};

class TSummary : public app::TPopUp {
public:
    static constexpr const char* kName = "LevelSummary";

    // States of the window.
    enum { STATE_SLIDE_IN = 0, STATE_SHOWN = 1, STATE_SLIDE_OUT = 2 };

    app::TAppObjPtr CenterPoint;     // "Center" at (512, 384): carries the panel
    gui::PUIImage Panel;             // the result window
    gui::PUILightButton ButtonOk;
    int state = STATE_SLIDE_IN;
    float Per = 0;                   // progress of the current slide, 0 to 1
    app::TAppObjPtr TimedMode;       // the statistics lines; its alpha fades them in
    TGoldCounter TimedScore, TimedTime, TimedGold, TimedTotal;
    float ShowAlpha = 0, dShowAlpha = 0;
    int64_t DataTime = 0;            // clock at which the statistics start to fade in

    // ---- SETTING UP ----
    void SetupTimed();

    // ---- UPDATING ----
    void Update_Begin();
    void Update_End();
    void UpdateData();

    // ---- PREPARING ----
    void PrepareState();
    void PrepareStars();
    // The rising glows of the summary (200 per star) belong here once the
    // particle packages exist; until then the summary shows none.
    void PrepareEffect();
    // The statistics lines, and the payment of the won level.
    void PrepareStats();

    // ---- COMMANDS ----
    // Slides the window out (from wherever it is: the slide restarts at the
    // centre position).
    void GoHide();

    // ---- EVENTS ----
    void OnSetup() override;
    void OnShow() override;
    void OnUpdate() override;
    void OnDrawEnd() override;
    void Interface() override;

private:
    // The summary glows drawn over the stars (nothing until they exist).
    void DrawEffect();
    // The level last paid for, so that a second show of the same win pays
    // nothing; the total line of that show is kept with it.
    std::weak_ptr<match3::TM3Level> paidLevel_;
    int paidTotal_ = 0;
    bool handedOver_ = false; // the progression has been asked to go on
};

} // namespace level
