// The level play screen: the background, the board and the panels around it
// (level number, score, coins, time bar), the fly-in of the cells with the
// get-ready and go captions, the controller running while the player may act,
// time, hints and light-up reminders, the reshuffle when no move is left, the
// board tools, and the win or loss with their animations.
//
// The screen reads its clock and frame factor through the controller (Now,
// FF), so a test that fixes the controller's time drives the whole screen.
// Its random choices (fly-in kind, delays) come from the controller's `looks`
// stream.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/platform/image.h"
#include "app/screen.h"
#include "gui/widgets.h"
#include "level/captions.h"
#include "level/flyobjects.h"
#include "match3/m3game.h"

namespace citymap {
class TBackground;
}

namespace level {

class TLosePopUp;
class TInGameMenu;

// States of a level.
enum {
    STATE_NORMAL = 0,
    STATE_BEGIN = 1,
    STATE_WON = 2,
    STATE_LOST = 3,       // the time ran out
    STATE_NOMOVES_PAUSE = 4,
    STATE_LOST_NOMOVES = 5,
};

// What the player's input does.
enum {
    MODE_NORMAL = 0,
    MODE_HAMMER = 1,
    MODE_POTION = 2,
    MODE_ROW = 3,
    MODE_SHUFFLE = 5,
    MODE_BOOK = 6,
    MODE_HAMMER_STRIKE = 7,
};

// The level to play and how: what the player's progress supplies.
struct TLevelSetup {
    int stage = 1;
    int level = 1;
    int timed = 1;       // 0: relaxed, time never ends the level
    int background = 0;  // background set 0..9
    int baseScore = 0;   // score before this level
};

// Stars for a level finished in `seconds` of `maxSeconds`: 3 up to 40 % of
// the time, 2 up to 65 %, else 1.
int StarsFor(int seconds, int maxSeconds);
// Minutes, a colon and two-digit seconds: 65 -> "1:05".
std::string TotalTimeString(int seconds);
// The level file of a stage and level in a game folder.
std::string LevelFilePath(const std::string& gameDir, int stage, int level);

class TMainGame : public app::TScreen, public match3::TM3Screen {
public:
    static constexpr const char* kName = "MainGame";
    static constexpr int kPowerUps = 6;

    TMainGame();
    ~TMainGame() override;

    std::shared_ptr<match3::TM3Game> Game;
    match3::PM3Level Level;
    std::shared_ptr<citymap::TBackground> Background;
    std::array<std::string, 10> BackgroundUrls;
    platform::ImagePtr PistolImage;
    gui::PUIImage UpperPanel, LeftPanel, TimePanel, LowerPanel;
    gui::PUIImage TimeLine;
    platform::ImagePtr TimeBarImage;
    gui::PUILightButton MenuButton;
    gui::PUIText LevelText, ScoreText, GoldText;
    TFlyList FlyObjects;
    TCaptionList Captions;
    int State = STATE_BEGIN;
    int Mode = MODE_NORMAL;
    float FrameA = 1, dFrameA = 0;
    float HammerPer = 0;
    std::array<platform::ImagePtr, kPowerUps> Cursor;
    int LastLoadedBG = -1;
    int64_t HintTime = 0;
    std::shared_ptr<match3::TSwapHint> CurrHint;
    int64_t NoMoreMovesTime = 0;
    int64_t NextLightTime = 0;
    float TimeLineCurrPer = 1;
    match3::TM3Tile* HammerSlamTile = nullptr;
    int ByloHammerSlam = 0;
    int64_t TimeLinePart = 0;
    int64_t NextSecond = 0;
    int CurAdX = 70, curAdY = 0;

    // The level being played and its progress values.
    TLevelSetup Setup;
    std::array<int, kPowerUps> PowerUpCharge{};
    int Moves = 0;              // swaps the player made
    int Paid = 0;               // sum of the score awards of this level (AddScore)
    int64_t PlayStartTime = 0;  // clock when play began
    int64_t EndTime = 0;        // clock when the level was won or lost
    int Reshuffles = 0;
    bool EndReported = false;
    // Called once when a won or lost level's end animation is over.
    std::function<void(bool won)> OnLevelEnd;
    // Called once a level is prepared, before its fly-in (the progress saves
    // there and notes this screen as the one to resume).
    std::function<void()> OnLevelStart;
    // The developer's next-level key (U, with the cheats marker).
    std::function<void()> OnCheatNextLevel;
    // The game folder the engine data and levels come from (empty: the program's).
    std::string GameFolder;
    // Why the last level could not be started.
    std::string error;
    // The screen to return to when a level cannot be started.
    std::weak_ptr<app::TScreen> PreviousScreen;
    // The level's own pop-ups (summary, lose, in-game menu), linked by the
    // program when it makes them; not owned, and none for a screen made alone.
    std::weak_ptr<app::TPopUp> SummaryPopUp;
    std::weak_ptr<TLosePopUp> LosePopUp;
    std::weak_ptr<TInGameMenu> MenuPopUp;

    // ---- LEVELS ----
    // Loads the engine data once (false with `error`).
    bool EnsureEngine();
    // Loads the level file of setup.stage / setup.level and sets it; false
    // with `error` naming the file.
    bool LoadLevel(const TLevelSetup& setup);
    bool LoadLevelFile(const std::string& path, const TLevelSetup& setup);
    void SetData(match3::PM3Level level);
    // Shows why the level could not be started (`error`, naming the file) and
    // returns to the previous screen, or to the main menu.
    void LeaveWithError();
    bool isTimed() const { return Setup.timed != 0; }

    // ---- SCREEN HOOKS ----
    void OnSetup() override;
    void OnPrepare() override;
    void OnUpdate() override;
    void OnDraw() override;
    void OnDrawEnd() override;
    void Interface() override;
    void OnLeave() override;

    // The work of the drawing pass that moves things (drops, fantoms,
    // captions), without drawing: headless tests call it after OnUpdate.
    void AdvanceWithoutDrawing();

    // ---- COMMANDS ----
    void AddScore(float x, float y, int points) override;
    void AddCash();
    void UsePowerUp(int i);
    int GetStars() const;
    std::string GetTotalTimeString() const;
    void ShowHint();
    void HideHint() override;
    void ShowReds(int ms);
    void ShowLights();
    void ReverseMode();
    void SetState(int n) { State = n; }
    void SetMode(int n) { Mode = n; }
    bool isStateGameNormal() const { return State == STATE_NORMAL; }
    void NoMoreMoves();
    void Shuffle();
    void WIN();
    void LOSE();
    void GoMenu();
    void CheatWin();
    bool Won() const { return State == STATE_WON; }
    bool Lost() const { return State == STATE_LOST || State == STATE_LOST_NOMOVES; }

    // ---- TM3Screen ----
    void PlaySound(int id, float volume) override;
    float FrameAlpha() override { return FrameA; }

    // ---- GETTING ----
    int64_t Now() const { return Game->Now(); }
    float FF() const { return Game->FF(); }
    // The time bar's target: the share of the level's time still left,
    // counted to the millisecond.
    float TimeLeftFraction() const;
    bool WinReady() const;
    bool NoMovesReady() const;

private:
    void PrepareGame();
    void PrepareBackground();
    void PrepareClearings();
    void PrepareHint();
    void PrepareBegin();
    void StartFlyIn(int kind);
    void StartPlay();
    void UpdateState_NORMAL();
    void UpdateState_BEGIN();
    void UpdateState_END();
    void UpdateMode();
    void UpdateTime();
    void UpdateTexts();
    void FlyAway(int kind, bool lose);
    void SlidePanelsOut();
    void DrawTimeLine();
    void DrawCursor();
    bool engineLoaded_ = false;
    bool setupDone_ = false;
};

// The level play screen of the program (none before it is made).
TMainGame* MainGameScreen();

} // namespace level
