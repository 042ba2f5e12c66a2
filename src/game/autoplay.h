// Testers' features around one level: the direct level start after loading
// (--level, --relaxed), the built-in player (--autoplay), the end of the run
// with the level (--exit-on-level-end) and the frame-time figures (--bench).
// Without --level the built-in player plays the whole game from the main
// menu as a person would: it clicks Play, picks the mode (timed, or relaxed
// with --relaxed), plays each level, answers the summary, the lose pop-up
// and any question with their own buttons, and stops after --autoplay-levels
// levels, saving as on quit. With an --input script as well, the script
// presses every button and the built-in player only plays the levels.
//
// The built-in player plays through the same input path as a person: it moves
// the platform's pointer onto a piece, presses the left button, drags toward
// the neighbour and lets go, over several frames, and waits a short pause
// between moves. It chooses its moves from the controller's view of the
// board: the move that clears the most coin layers and obstacles, with a
// seeded random choice among equals.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/cmdline.h"
#include "app/platform/core/system.h"
#include "gui/widgets.h"
#include "match3/m3game.h"

namespace citymap {
class TMapScreen;
}

namespace game {

// How much a move is worth to the built-in player: coin layers, overlays and
// obstacles its lines clear (twice the weight of plain pieces), power chips
// it fires or makes, and a little for moves near the cells still to clear.
double AutoplayMoveValue(match3::TM3Game& game, const match3::TM3Move& move);
// The move to make among the available ones (none when there is none); ties
// are broken with rng.
std::optional<match3::TM3Move> ChooseAutoplayMove(match3::TM3Game& game, platform::Random& rng);

// One drag of the built-in player, as pointer events per frame.
struct TDragStep {
    float x = 0, y = 0;   // pointer in design-area units
    int button = 0;       // 0 nothing, 1 press, -1 release
};
// The frames of a drag from the centre of cell a toward cell b: point, press,
// three steps of the way, release. `beyond` is how far past the drag
// threshold the pointer goes (in units).
std::vector<TDragStep> DragSteps(float ax, float ay, float bx, float by);

class TAutoplay {
public:
    explicit TAutoplay(const CmdOptions& options);
    ~TAutoplay();
    TAutoplay(const TAutoplay&) = delete;
    TAutoplay& operator=(const TAutoplay&) = delete;
    // Installs the loading hook and the frame hooks.
    void Install();
    // Exit status the run should end with (level end), if any.
    std::optional<int> ExitStatus() const { return exitStatus_; }
    // Prints the --bench figures.
    void PrintBench() const;

    void BeginFrame();
    // One step of the game from the main menu (no --level).
    void DriveRoad();
    void AfterUpdate();
    void BeforeFlip();
    void AfterFlip();

private:
    bool StartLevel();
    // The next pointer step of a drag or click under way; false when none is.
    bool StepHand();
    bool RoadMode() const { return options_.autoplay && !options_.level; }
    // Queues a click on the middle of the widget's hit rectangle; false while
    // it cannot be clicked (sliding in, switched off, not yet visible).
    bool ClickWidget(const gui::TUIObject* w);
    void RoadLevelEnded(bool won);
    // The map: buy every object of the chapter it can afford, in slot order,
    // then Play. True when a click was queued.
    bool DriveMap(citymap::TMapScreen& map);
    bool LevelsDone() const;
    // Captures this frame into the --autoplay-shots folder (written after
    // the present); false without the option.
    bool Shoot(const std::string& name);
    std::string pendingShot_;
    int shotAfterLevel_ = -1; // the visit whose map was shot
    bool buyWindowShot_ = false;
    bool firstMapShot_ = false;
    int levelsEnded_ = 0;
    int64_t frame_ = 0; // frames since the player was installed
    bool lastLevelWon_ = false;
    int64_t nextClickTime_ = 0;
    void Play();
    void LevelEnded(bool won);
    CmdOptions options_;
    bool started_ = false;
    std::optional<int> exitStatus_;
    platform::Random rng_{7};
    std::vector<TDragStep> drag_;
    size_t dragAt_ = 0;
    int64_t nextMoveTime_ = 0;
    // bench
    // The marks of the frame being measured: start (after the player's
    // thinking), update over, scene drawn, flushed and presented.
    int64_t frameStartNs_ = 0, updateEndNs_ = 0, drawEndNs_ = 0;
    bool measuring_ = false;
    std::vector<double> updateMs_, drawMs_, presentMs_, frameMs_;
    std::vector<int> batches_;
};

} // namespace game
