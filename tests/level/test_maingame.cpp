// The level play screen driven headless on the fixture engine data: its
// states, time, stars, win and loss, the reshuffle, and the built-in player's
// move choice.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/autoplay.h"
#include "app/platform/core/system.h"
#include "gui/mouse.h"
#include "level/maingame.h"
#include "match3/m3boardtext.h"
#include "match3/m3effects.h"
#include "match3/m3level.h"

using namespace level;

namespace {

const char* kEngineDir = "tests/fixtures/match3/";

class TempDir {
public:
    TempDir()
    {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("velmora-level-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(path_);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A level screen on a board picture, with the clock under the test's control.
class Screen : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::Rng().Seed(5);
        g = std::make_shared<TMainGame>();
        g->GameFolder = kEngineDir;
        g->Game->quiet = true;
    }

    void Load(const std::string& picture, int seconds, int timed = 1, const std::string& chips = "1 2 3 4 5 6")
    {
        const std::string path = tmp.File("Level.txt");
        std::string err;
        ASSERT_TRUE(match3::WriteLevelFromPicture(path, picture, chips, &err, seconds)) << err;
        TLevelSetup setup;
        setup.timed = timed;
        ASSERT_TRUE(g->LoadLevelFile(path, setup)) << g->error;
        clock = 1000;
        g->Game->SetTime(1, clock);
        g->OnPrepare();
    }

    void Frame()
    {
        frac += 1000.0 / 60.0;
        clock = 1000 + static_cast<int64_t>(frac);
        g->Game->SetTime(1, clock);
        g->OnUpdate();
        g->AdvanceWithoutDrawing();
    }

    // Frames until the fly-in is over and play has begun.
    void UntilPlay()
    {
        for (int i = 0; i < 2000 && g->State == STATE_BEGIN; ++i)
            Frame();
        ASSERT_EQ(g->State, STATE_NORMAL);
    }

    void RunMs(int64_t ms)
    {
        const int64_t end = clock + ms;
        while (clock < end)
            Frame();
    }

    std::shared_ptr<TMainGame> g;
    TempDir tmp;
    int64_t clock = 1000;
    double frac = 0;
};

// A board with one coin layer left and moves to make; nobody plays it.
const char* kCoinBoard = "1$1 2 1\n"
                         "3 1 4\n"
                         "5 6 3";
// The same shapes with no coin at all: won as soon as play begins.
const char* kClearBoard = "1 2 3\n"
                          "4 5 6\n"
                          "2 3 1";
// Coins left and no move at all: a reshuffle is due.
const char* kStuckBoard = "1$1 2 3\n"
                          "4 5 6\n"
                          "2 3 1";

} // namespace

TEST(LevelScreenTexts, StarsAndTimeText)
{
    struct Case {
        int seconds, max, stars;
    } stars[] = {
        {0, 420, 3}, {168, 420, 3}, {169, 420, 2}, {273, 420, 2}, {274, 420, 1}, {420, 420, 1}, {500, 420, 1},
    };
    for (const Case& c : stars)
        EXPECT_EQ(StarsFor(c.seconds, c.max), c.stars) << c.seconds << " of " << c.max;

    struct Text {
        int seconds;
        const char* text;
    } texts[] = {{0, "0:00"}, {9, "0:09"}, {10, "0:10"}, {59, "0:59"}, {60, "1:00"}, {65, "1:05"}, {421, "7:01"}};
    for (const Text& t : texts)
        EXPECT_EQ(TotalTimeString(t.seconds), t.text) << t.seconds;
}

TEST_F(Screen, FlyInThenPlayWithCaptions)
{
    Load(kCoinBoard, 60);
    EXPECT_EQ(g->State, STATE_BEGIN);
    EXPECT_EQ(g->FlyObjects.Count(), 9u);
    EXPECT_NE(g->Game->GetTileRC(0, 0)->myM3FlyingTile, nullptr);
    EXPECT_EQ(g->Captions.items.size(), 2u); // get ready, go
    UntilPlay();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(g->Game->GetTileRC(r, c)->myM3FlyingTile, nullptr);
    EXPECT_EQ(g->Level->Seconds, 0);
    // The captions run their course and leave the list.
    RunMs(6000);
    EXPECT_TRUE(g->Captions.Empty());
}

TEST_F(Screen, EveryFlyInIsOneOfTheFiveAndEachComesUp)
{
    // Which of the five fly-ins a level start shows, read from where its
    // cells start (offsets from their places) and when; 0 when none fits.
    const auto kindShown = [this] {
        const int64_t now = clock;
        bool k1 = true, k2 = true, k3 = true, k4 = true, k5 = true;
        int n = 0;
        for (const auto& item : g->FlyObjects.items) {
            const auto f = std::dynamic_pointer_cast<TFlyingTile>(item);
            if (!f)
                return 0;
            auto* t = f->tile;
            t->CountDrawPosition();
            const int fromBottom = g->Level->rows - 1 - t->r;
            const int64_t delay = f->startTime - now;
            const bool above = f->p0x == 0 && f->p0y == -768;
            k1 = k1 && std::abs(f->p0x + t->ActDrawX - 1500) < 0.5f && f->p0y + t->actDrawY >= -0.5f &&
                 f->p0y + t->actDrawY <= 768.5f;
            k2 = k2 && above && delay == 10 * n;
            k3 = k3 && above && delay >= 250 * fromBottom && delay <= 250 * fromBottom + 250;
            k4 = k4 && f->p0y == 0 && f->p0x == (fromBottom % 2 == 0 ? 1366 : -1366);
            k5 = k5 && f->p0x == 0 && f->p0y == (t->c % 2 == 0 ? 768 : -768);
            ++n;
        }
        return k1 ? 1 : k2 ? 2 : k3 ? 3 : k4 ? 4 : k5 ? 5 : 0;
    };
    std::vector<int> seen;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        platform::Rng().Seed(seed);
        Load("1 2 3\n4 5 6\n2 3 1\n5 6 4", 60); // an even number of rows: bottom and top alternate
        const int kind = kindShown();
        EXPECT_NE(kind, 0) << "the cells start nowhere a fly-in starts them";
        seen.push_back(kind);
    }
    for (int kind = 1; kind <= 5; ++kind)
        EXPECT_NE(std::find(seen.begin(), seen.end(), kind), seen.end()) << "fly-in " << kind << " never came up";
}

TEST_F(Screen, FirstSecondCountsAfterOneSecondOfPlay)
{
    Load(kCoinBoard, 60);
    UntilPlay();
    const int64_t start = g->PlayStartTime;
    Frame();
    EXPECT_EQ(g->Level->Seconds, 0) << "counted at once";
    while (clock < start + 990)
        Frame();
    EXPECT_EQ(g->Level->Seconds, 0);
    while (clock < start + 1001)
        Frame();
    EXPECT_EQ(g->Level->Seconds, 1);
    // Seconds follow the clock without drifting over many frames.
    while (clock < start + 30001)
        Frame();
    EXPECT_EQ(g->Level->Seconds, 30);
}

TEST_F(Screen, AStalledFrameCountsOneSecondNotTheWholeStall)
{
    Load(kCoinBoard, 60);
    UntilPlay();
    const int64_t start = g->PlayStartTime;
    while (clock < start + 2500)
        Frame();
    ASSERT_EQ(g->Level->Seconds, 2);
    frac += 5000; // the program stood still for five seconds
    Frame();
    EXPECT_EQ(g->Level->Seconds, 3);
    const int64_t after = clock;
    while (clock < after + 980)
        Frame();
    EXPECT_EQ(g->Level->Seconds, 3) << "the stall is made up for in the frames after it";
    while (clock < after + 1010)
        Frame();
    EXPECT_EQ(g->Level->Seconds, 4) << "seconds go on a second after the stall";
}

TEST_F(Screen, TimeBarRunsDownSmoothly)
{
    Load(kCoinBoard, 10);
    UntilPlay();
    const int64_t start = g->PlayStartTime;
    float last = g->TimeLeftFraction();
    EXPECT_NEAR(last, 1.0f, 0.01f);
    float shown = g->TimeLineCurrPer;
    EXPECT_EQ(shown, 1.0f);
    while (clock < start + 4000) {
        Frame();
        const float f = g->TimeLeftFraction();
        EXPECT_LE(f, last + 1e-6f) << "the bar moved back at " << clock - start << " ms";
        EXPECT_NEAR(f, 1.0f - static_cast<float>(clock - start) / 10000.0f, 0.003f) << clock - start;
        last = f;
        // Ten seconds run out faster than the shown bar may move (0.001 a
        // frame): it slides after the time left, one step each frame.
        EXPECT_NEAR(shown - g->TimeLineCurrPer, 0.001f, 1e-5f) << "the shown bar jumped at " << clock - start << " ms";
        EXPECT_GE(g->TimeLineCurrPer, f);
        shown = g->TimeLineCurrPer;
    }
}

TEST_F(Screen, TimedLevelIsLostWhenTheSecondAfterTheLimitWouldCount)
{
    Load(kCoinBoard, 3);
    UntilPlay();
    const int64_t start = g->PlayStartTime;
    // Frames are 1/60 s apart: the last one before the limit is at 3983 ms.
    while (clock < start + 3980)
        Frame();
    EXPECT_EQ(g->State, STATE_NORMAL);
    EXPECT_EQ(g->Level->Seconds, 3);
    while (clock < start + 4001)
        Frame();
    EXPECT_EQ(g->State, STATE_LOST);
    EXPECT_EQ(g->Level->Seconds, 3);
    EXPECT_TRUE(g->Lost());
    // The cells fall away and stay; the end is reported once.
    int ends = 0;
    g->OnLevelEnd = [&](bool won) {
        EXPECT_FALSE(won);
        ++ends;
    };
    RunMs(3000);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(g->FlyObjects.Count(), g->FlyObjects.KeptCount());
}

TEST_F(Screen, RelaxedLevelNeverEndsByTime)
{
    Load(kCoinBoard, 2, /*timed*/ 0);
    UntilPlay();
    RunMs(6000);
    EXPECT_EQ(g->State, STATE_NORMAL);
    EXPECT_GE(g->Level->Seconds, 5) << "time still counts for the stars";
}

TEST_F(Screen, ClearedBoardIsWonNotReshuffled)
{
    // No coins and no moves: the win test comes first.
    // A tool being aimed holds the win back until it is given back.
    Load(kClearBoard, 60);
    UntilPlay();
    g->Mode = MODE_BOOK;
    RunMs(500);
    EXPECT_EQ(g->State, STATE_NORMAL);
    g->ReverseMode();
    Frame();
    EXPECT_EQ(g->State, STATE_WON);
    EXPECT_EQ(g->Reshuffles, 0);
    EXPECT_NE(g->Mode, MODE_SHUFFLE);
}

TEST_F(Screen, NoMovesReshufflesOnlyInNormalPlay)
{
    Load(kStuckBoard, 60);
    UntilPlay();
    g->Mode = MODE_HAMMER; // a tool is being aimed
    RunMs(500);
    EXPECT_EQ(g->Reshuffles, 0);
    EXPECT_EQ(g->Mode, MODE_HAMMER);
    g->ReverseMode();
    Frame();
    EXPECT_EQ(g->Reshuffles, 1);
    EXPECT_EQ(g->Mode, MODE_SHUFFLE);
    ASSERT_FALSE(g->Captions.Empty()); // no more moves
    // No second reshuffle starts while one runs; then play goes on.
    for (int i = 0; i < 600 && g->Mode == MODE_SHUFFLE; ++i) {
        Frame();
        ASSERT_EQ(g->Reshuffles, 1);
    }
    EXPECT_EQ(g->Mode, MODE_NORMAL);
    EXPECT_EQ(g->FlyObjects.Count(), 0u);
    EXPECT_EQ(g->State, STATE_NORMAL);
}

TEST_F(Screen, LevelIsNeverBothWonAndLost)
{
    struct Case {
        const char* what;
        const char* board;
        int state;
    } cases[] = {
        {"cleared board when the time runs out", kClearBoard, STATE_WON},
        {"coins left when the time runs out", kCoinBoard, STATE_LOST},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        frac = 0;
        Load(c.board, 2);
        UntilPlay();
        // The time is at its limit in the first frame of play.
        g->Level->Seconds = g->Level->MaxSeconds;
        g->NextSecond = 0;
        Frame();
        EXPECT_EQ(g->State, c.state);
        // Whatever comes later keeps the first outcome.
        g->LOSE();
        g->WIN();
        RunMs(500);
        EXPECT_EQ(g->State, c.state);
    }
}

TEST_F(Screen, MissingLevelFileIsRefusedWithItsName)
{
    TLevelSetup setup;
    const std::string path = tmp.File("NoSuchLevel.txt");
    EXPECT_FALSE(g->LoadLevelFile(path, setup));
    EXPECT_NE(g->error.find("NoSuchLevel.txt"), std::string::npos) << g->error;
    EXPECT_EQ(g->Level, nullptr);
    // A stage and level number resolve to the level folder of the game.
    EXPECT_EQ(LevelFilePath("Game/", 2, 7), "Game/Data/levels/stage-2/Level-7.txt");
}

TEST_F(Screen, BuiltInPlayerPrefersMovesThatClearCoins)
{
    // (0,0)-(0,1) makes 1 1 1 in the top row over plain floor; (2,0)-(2,1)
    // makes 2 2 2 in the bottom row over coins.
    Load("1 5 1 1\n"
         "6 3 4 3\n"
         "2$1 3 2$1 2$1",
         60);
    UntilPlay();
    platform::Random rng(3);
    const auto move = game::ChooseAutoplayMove(*g->Game, rng);
    ASSERT_TRUE(move.has_value());
    EXPECT_EQ(move->r1, 2);
    EXPECT_GT(game::AutoplayMoveValue(*g->Game, *move),
              game::AutoplayMoveValue(*g->Game, match3::TM3Move{0, 0, 0, 1}));

    // A drag presses on the first cell and lets go on the second.
    const auto steps = game::DragSteps(100, 200, 172, 200);
    ASSERT_GE(steps.size(), 3u);
    EXPECT_EQ(steps.front().x, 100);
    EXPECT_EQ(steps[1].button, 1);
    EXPECT_EQ(steps.back().button, -1);
    EXPECT_EQ(steps.back().x, 172);
}

TEST_F(Screen, HammerGivenBackKeepsItsChargeAndStrikesOnAClick)
{
    Load(kCoinBoard, 60);
    UntilPlay();
    auto& mouse = gui::Mouse();
    mouse.clear();
    auto* cell = g->Game->GetTileRC(2, 0);
    cell->CountDrawPosition();
    mouse.x = cell->ActDrawX;
    mouse.y = cell->actDrawY;
    const int kind = cell->chip->KindId();

    // A right click while aiming gives the tool back with its charge.
    g->PowerUpCharge[0] = 5;
    g->UsePowerUp(0);
    ASSERT_EQ(g->Mode, MODE_HAMMER);
    mouse.rightPressed = 1;
    Frame();
    mouse.rightPressed = 0;
    EXPECT_EQ(g->Mode, MODE_NORMAL);
    EXPECT_EQ(g->PowerUpCharge[0], 5);

    // A left click on a chip swings the hammer; the chip goes when it lands.
    g->UsePowerUp(0);
    Frame();
    mouse.leftPressed = 1;
    Frame();
    mouse.leftPressed = 0;
    ASSERT_EQ(g->Mode, MODE_HAMMER_STRIKE);
    EXPECT_EQ(g->HammerSlamTile, cell);
    for (int i = 0; i < 35; ++i)
        Frame();
    EXPECT_TRUE(cell->chip && cell->chip->KindId() == kind && cell->chip->state == 0) << "struck before the swing ends";
    for (int i = 0; i < 30 && g->Mode == MODE_HAMMER_STRIKE; ++i)
        Frame();
    EXPECT_EQ(g->Mode, MODE_NORMAL);
    EXPECT_EQ(g->PowerUpCharge[0], 0);
    EXPECT_EQ(g->Level->Score, 10) << "the struck chip scores as a destroyed chip";
    mouse.clear();
}

TEST_F(Screen, NextLevelAfterTheEndAnimationStartsClean)
{
    // The cells of a won level stay at the end of their flight until the
    // next level is loaded; loading it lets go of them first.
    Load(kClearBoard, 60);
    UntilPlay();
    Frame();
    ASSERT_EQ(g->State, STATE_WON);
    RunMs(4000);
    ASSERT_GT(g->FlyObjects.KeptCount(), 0u);
    Load(kCoinBoard, 60);
    EXPECT_EQ(g->State, STATE_BEGIN);
    EXPECT_EQ(g->FlyObjects.Count(), 9u);
    UntilPlay();
    EXPECT_EQ(g->Level->Seconds, 0);
    EXPECT_EQ(g->Moves, 0);
}

namespace {

// A drag of the player's mouse from one cell toward a neighbour, one pointer
// event per frame, as the built-in player makes it.
void Drag(TMainGame& g, const std::function<void()>& frame, int r1, int c1, int r2, int c2)
{
    auto* a = g.Game->GetTileRC(r1, c1);
    auto* b = g.Game->GetTileRC(r2, c2);
    ASSERT_TRUE(a && b);
    a->CountDrawPosition();
    b->CountDrawPosition();
    auto& mouse = gui::Mouse();
    for (const auto& step : game::DragSteps(a->ActDrawX, a->actDrawY, b->ActDrawX, b->actDrawY)) {
        mouse.x = step.x;
        mouse.y = step.y;
        mouse.leftPressed = step.button == 1;
        if (step.button == 1)
            mouse.leftHolded = 1;
        else if (step.button == -1)
            mouse.leftHolded = 0;
        frame();
    }
    mouse.clear();
}

// Two separate lines of three in the top row, nothing above them, and a coin
// that neither takes, so the level goes on.
const char* kTwoMatchBoard = "1 2 1 3 4 3\n"
                             "5 1 6 2 3 5\n"
                             "6 5 2$1 5 6 2";

} // namespace

TEST_F(Screen, ScoreAddsUpOverSeveralMatchesAndEachSwapIsOneMove)
{
    Load(kTwoMatchBoard, 60);
    UntilPlay();
    EXPECT_EQ(g->Level->Score, 0);
    EXPECT_EQ(g->Moves, 0);
    const auto frame = [this] { Frame(); };

    Drag(*g, frame, 1, 1, 0, 1);
    RunMs(1500);
    EXPECT_EQ(g->Moves, 1) << "one swap, however many frames it runs";
    EXPECT_EQ(g->Level->Score, 30) << "three chips at 10 each";

    Drag(*g, frame, 1, 4, 0, 4);
    RunMs(1500);
    EXPECT_EQ(g->Moves, 2);
    EXPECT_EQ(g->Level->Score, 60) << "the second match adds to the first";
    EXPECT_EQ(g->Paid, g->Level->Score) << "the score is the sum of the awards";
    EXPECT_EQ(g->State, STATE_NORMAL);

    // A new start of the level counts afresh.
    Load(kTwoMatchBoard, 60);
    EXPECT_EQ(g->Level->Score, 0);
    EXPECT_EQ(g->Paid, 0);
    EXPECT_EQ(g->Moves, 0);
}

TEST_F(Screen, HintsAfterTwelveThenEighteenSecondsFadeAfterThreeOrAtAClick)
{
    Load(kCoinBoard, 120);
    UntilPlay();
    const int64_t start = g->PlayStartTime;
    auto& mouse = gui::Mouse();
    mouse.clear(); // the pointer rests off the board
    // When each new hint appears, in ms of play (a frame is 1000/60 ms).
    std::vector<int64_t> shown;
    std::shared_ptr<match3::TSwapHint> last;
    const auto until = [&](int64_t ms) {
        while (clock < start + ms) {
            Frame();
            if (g->CurrHint && g->CurrHint != last)
                shown.push_back(clock - start);
            if (g->CurrHint)
                last = g->CurrHint;
        }
    };
    const auto visible = [&] { return g->CurrHint && g->CurrHint->Alpha > 0; };

    until(14900);
    ASSERT_EQ(shown.size(), 1u);
    ASSERT_TRUE(visible());
    EXPECT_EQ(g->CurrHint->Alpha, 1.0f) << "fully shown until its three seconds are up";
    until(15500);
    EXPECT_FALSE(visible()) << "still shown more than three seconds after it came";

    until(30500);
    ASSERT_EQ(shown.size(), 2u);
    ASSERT_TRUE(visible());
    mouse.leftPressed = 1;
    Frame();
    mouse.leftPressed = 0;
    until(31000);
    EXPECT_FALSE(visible()) << "a click fades the hint at once";

    until(49000);
    // A hint asked for early (the tutorial may) puts the next one 18 s after it.
    until(50000);
    g->ShowHint();
    until(68500);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_NEAR(static_cast<double>(shown[0]), 12000, 17);
    EXPECT_NEAR(static_cast<double>(shown[1]), 30000, 17);
    EXPECT_NEAR(static_cast<double>(shown[2]), 48000, 17);
    EXPECT_NEAR(static_cast<double>(shown[3]), 50000, 34);
    EXPECT_NEAR(static_cast<double>(shown[4]), 68000, 34);
    mouse.clear();
}

namespace {

// A 9 x 9 board of one-coin cells without lines, one move in the bottom row
// (so that nothing reshuffles), and `centre` at (4, 4).
std::string ReachBoard(int centre)
{
    std::string pic;
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            int kind = (r + 2 * c) % 6 + 1;
            if (r == 8 && c < 2)
                kind = 6; // (7, 2) down makes 6 6 6
            if (r == 4 && c == 4 && centre)
                kind = centre;
            pic += (c ? " " : "") + std::to_string(kind) + "$1";
        }
        pic += "\n";
    }
    return pic;
}

// The shield's one target: the centre is the only chip out of obstacles
// (theirs do not shuffle).
std::string ShieldBoard()
{
    std::string pic;
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            const bool near = std::abs(r - 4) <= 1 && std::abs(c - 4) <= 1;
            std::string cell = ".$1";
            if (r == 4 && c == 4)
                cell = "1$1";
            else if (near)
                cell = std::to_string((r + c) % 2 + 2) + "$1@2";
            pic += (c ? " " : "") + cell;
        }
        pic += "\n";
    }
    return pic;
}

} // namespace

TEST_F(Screen, EachToolAndPowerChipReachesItsOwnCells)
{
    // Per cell: x = its chip is hit and its coin crumbles, c = only the coin
    // crumbles, h = only the chip is hit, . = untouched.
    struct Case {
        const char* what;
        std::string board;
        int powerUp;     // -1: click the power chip at the centre instead
        int crumbleMs;   // when the coins are looked at (delayed hits)
        const char* reach;
        int r = 4, col = 4; // the cell clicked
    } cases[] = {
        {"hammer: the one chip", ReachBoard(0), 0, 0,
         ". . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n"
         ". . . . x . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n"},
        {"potion: the 3 x 3 block", ReachBoard(0), 1, 0,
         ". . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . x x x . . .\n"
         ". . . x x x . . .\n. . . x x x . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n"},
        {"row tool: the whole row", ReachBoard(0), 2, 0,
         ". . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n"
         "x x x x x x x x x\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n"},
        {"potion off the centre: the block around the clicked cell", ReachBoard(0), 1, 0,
         ". . . . . . . . .\n. . . . . x x x .\n. . . . . x x x .\n. . . . . x x x .\n"
         ". . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n",
         2, 6},
        {"row tool off the centre: the clicked cell's row", ReachBoard(0), 2, 0,
         ". . . . . . . . .\n. . . . . . . . .\nx x x x x x x x x\n. . . . . . . . .\n"
         ". . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n",
         2, 6},
        {"shield: the block around its target, which keeps its chip", ShieldBoard(), 3, 0,
         ". . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . x x x . . .\n"
         ". . . x c x . . .\n. . . x x x . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n"},
        {"book: the 7 x 7 block but two corners", ReachBoard(0), 5, 0,
         ". . . . . . . . .\n. . x x x x x x .\n. x x x x x x x .\n. x x x x x x x .\n"
         ". x x x x x x x .\n. x x x x x x x .\n. x x x x x x x .\n. x x x x x x . .\n. . . . . . . . .\n"},
        {"cross chip: itself and its four neighbours", ReachBoard(match3::kChipCross), -1, 250,
         ". . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . x . . . .\n"
         ". . . x x x . . .\n. . . . x . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n"},
        {"lightning chip: its row", ReachBoard(match3::kChipLightning), -1, 0,
         ". . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n"
         "x x x x x x x x x\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n. . . . . . . . .\n"},
        {"bomb chip: the 7 x 7 block but two corners", ReachBoard(match3::kChipBomb), -1, 0,
         ". . . . . . . . .\n. . x x x x x x .\n. x x x x x x x .\n. x x x x x x x .\n"
         ". x x x x x x x .\n. x x x x x x x .\n. x x x x x x x .\n. x x x x x x . .\n. . . . . . . . .\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        frac = 0;
        Load(c.board, 120);
        UntilPlay();
        auto& mouse = gui::Mouse();
        mouse.clear();
        auto* centre = g->Game->GetTileRC(c.r, c.col);
        centre->CountDrawPosition();
        std::vector<match3::TM3Chip*> before;
        for (int r = 0; r < 9; ++r)
            for (int col = 0; col < 9; ++col)
                before.push_back(g->Game->GetTileRC(r, col)->chip.get());
        auto point = [&] {
            mouse.x = centre->ActDrawX;
            mouse.y = centre->actDrawY;
        };
        if (c.powerUp >= 0) {
            g->UsePowerUp(c.powerUp);
            point();
            Frame();
            mouse.leftPressed = 1;
            mouse.leftHolded = 1;
            Frame();
            mouse.leftPressed = 0;
            mouse.leftHolded = 0;
            for (int i = 0; i < 100 && g->Mode == MODE_HAMMER_STRIKE && !g->ByloHammerSlam; ++i)
                Frame();
        } else {
            point();
            Frame();
            mouse.leftPressed = 1;
            mouse.leftHolded = 1;
            Frame();
            mouse.leftPressed = 0;
            mouse.leftHolded = 0;
            Frame(); // the picked power chip fires
        }
        std::vector<bool> hit;
        for (int r = 0; r < 9; ++r)
            for (int col = 0; col < 9; ++col) {
                auto* t = g->Game->GetTileRC(r, col);
                match3::TM3Chip* was = before[static_cast<size_t>(r * 9 + col)];
                hit.push_back(was && (t->chip.get() != was || t->chip->isDestroyed()));
            }
        RunMs(c.crumbleMs);
        std::string reach;
        for (int r = 0; r < 9; ++r)
            for (int col = 0; col < 9; ++col) {
                const bool crumbled = g->Game->GetTileRC(r, col)->td[0]->id == 1;
                const bool h = hit[static_cast<size_t>(r * 9 + col)];
                reach += crumbled && h ? "x" : crumbled ? "c" : h ? "h" : ".";
                reach += col == 8 ? "\n" : " ";
            }
        EXPECT_EQ(reach, c.reach);
        mouse.clear();
    }
}

TEST_F(Screen, ShieldDropsOnFiveDifferentFreeChips)
{
    Load(ReachBoard(0), 120);
    UntilPlay();
    g->UsePowerUp(3);
    int centres = 0;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            if (auto* t = g->Game->GetTileRC(r, c); t->chip && t->chip->MyPower == 1)
                ++centres;
    EXPECT_EQ(centres, 5);
    EXPECT_EQ(g->PowerUpCharge[3], 0);
}

TEST_F(Screen, ReshuffleFliesOnlyChipsFreeOrUnderOneShufflingObstacle)
{
    // Stacked obstacles keep their chips whatever their kinds; so does one
    // obstacle of another kind. The board has no move, so play reshuffles.
    Load("1$1 2@1|2 3\n"
         "4@2|1 5@1 6@2\n"
         "2@1|1 3 1",
         60);
    UntilPlay();
    platform::Random copy = g->Game->rules;
    const auto arrangement = match3::M3ChipRandomizer::RandomizeArray(3, 3, "1 2 3 4 5 6", copy);
    Frame();
    ASSERT_EQ(g->Reshuffles, 1);
    EXPECT_EQ(g->FlyObjects.Count(), 5u) << "four free chips and the one under a single chain";
    for (int i = 0; i < 600 && g->Mode == MODE_SHUFFLE; ++i)
        Frame();
    const int kept[3][3] = {{0, 2, 0}, {4, 0, 6}, {2, 0, 0}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int want = kept[r][c] ? kept[r][c] : arrangement[static_cast<size_t>(r)][static_cast<size_t>(c)];
            EXPECT_EQ(g->Game->GetTileRC(r, c)->chip->KindId(), want) << r << ", " << c;
        }
}
