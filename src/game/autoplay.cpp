#include "game/autoplay.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <set>

#include <sys/resource.h>

#include "app/control.h"
#include "app/crosser.h"
#include "app/deltatime.h"
#include "app/loading.h"
#include "app/platform/display.h"
#include "app/platform/input.h"
#include "citymap/mapscreen.h"
#include "game/registry.h"
#include "level/losepopup.h"
#include "level/maingame.h"
#include "level/pickmode.h"
#include "level/summary.h"
#include "menus/mainmenu.h"
#include "progress/entername.h"
#include "progress/yesorno.h"
#include "match3/m3level.h"

namespace game {

using namespace app;

namespace {

using match3::TM3Game;
using match3::TM3Move;
using match3::TM3Tile;

// Layers still to clear on a cell: the coins along its base kind's chain and
// an overlay.
int Layers(const TM3Tile* t)
{
    int n = t->td[1] ? 1 : 0;
    const match3::TM3TileData* k = t->td[0].get();
    for (int guard = 0; k && k->younger && guard < 16; ++guard, k = k->younger)
        ++n;
    return n;
}

double CellValue(const TM3Tile* t) { return 2.0 * Layers(t) + (t->isObstacled() ? 2.0 : 0.0); }

double AreaValue(TM3Game& g, int r0, int c0, int r1, int c1)
{
    double v = 0;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (TM3Tile* t = g.GetTileRC(r, c); t && t->td[0])
                v += CellValue(t);
    return v;
}

// What firing the power chip on t clears: a cross, a row, or a 5 x 5 block.
double PowerValue(TM3Game& g, const TM3Tile* t)
{
    const int rows = g.level->rows, cols = g.level->cols;
    switch (t->chip->KindId()) {
    case 101:
        return AreaValue(g, t->r, 0, t->r, cols - 1) + AreaValue(g, 0, t->c, rows - 1, t->c);
    case 102:
        return AreaValue(g, t->r, 0, t->r, cols - 1);
    default:
        return AreaValue(g, t->r - 2, t->c - 2, t->r + 2, t->c + 2);
    }
}

int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
    return v[i];
}

} // namespace

double AutoplayMoveValue(TM3Game& g, const TM3Move& m)
{
    TM3Tile* a = g.GetTileRC(m.r1, m.c1);
    TM3Tile* b = g.GetTileRC(m.r2, m.c2);
    if (!g.level || !a || !b || !a->chip || !b->chip)
        return 0;
    if (a->chip->isPowerChip() || b->chip->isPowerChip())
        return 3 + (a->chip->isPowerChip() ? PowerValue(g, a) : 0) + (b->chip->isPowerChip() ? PowerValue(g, b) : 0);
    std::swap(a->chip, b->chip);
    const std::vector<TM3Tile*> ma = g.GetMatchedTiles(a);
    const std::vector<TM3Tile*> mb = g.GetMatchedTiles(b);
    std::swap(a->chip, b->chip);
    std::set<TM3Tile*> cells(ma.begin(), ma.end());
    cells.insert(mb.begin(), mb.end());
    // Cells still to clear, for the nearness bonus of moves that clear none.
    std::vector<const TM3Tile*> targets;
    for (auto& row : g.level->tile)
        for (auto& t : row)
            if (t->td[0] && (Layers(t.get()) > 0 || t->isObstacled()))
                targets.push_back(t.get());
    double v = 0;
    int lowest = 0;
    for (TM3Tile* t : cells) {
        int near = 1000;
        for (const TM3Tile* x : targets)
            near = std::min(near, std::abs(x->r - t->r) + std::abs(x->c - t->c));
        v += CellValue(t) + 0.3 + 0.5 / (1.0 + near);
        lowest = std::max(lowest, t->r);
        for (auto [dr, dc] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
            if (TM3Tile* n = t->GetTileNeighbor(dr, dc); n && n->isChestObstacleTop())
                v += 1.0;
    }
    if (ma.size() >= 5 || mb.size() >= 5)
        v += 4;
    // Lower moves shake more pieces loose.
    return v + 0.02 * lowest;
}

std::optional<TM3Move> ChooseAutoplayMove(TM3Game& game, platform::Random& rng)
{
    const std::vector<TM3Move> moves = game.GetAvailableMoves();
    if (moves.empty())
        return std::nullopt;
    double best = -1;
    std::vector<TM3Move> top;
    for (const TM3Move& m : moves) {
        const double v = AutoplayMoveValue(game, m);
        if (v > best + 1e-9) {
            best = v;
            top.assign(1, m);
        } else if (v > best - 1e-9) {
            top.push_back(m);
        }
    }
    return top[static_cast<size_t>(rng.Int(0, static_cast<int>(top.size()) - 1))];
}

std::vector<TDragStep> DragSteps(float ax, float ay, float bx, float by)
{
    std::vector<TDragStep> s;
    s.push_back({ax, ay, 0});
    s.push_back({ax, ay, 1});
    for (int i = 1; i <= 3; ++i) {
        const float f = static_cast<float>(i) / 3.0f;
        s.push_back({ax + (bx - ax) * f, ay + (by - ay) * f, 0});
    }
    s.push_back({bx, by, -1});
    return s;
}

// ---- TAutoplay ----

TAutoplay::TAutoplay(const CmdOptions& options) : options_(options)
{
    rng_.Seed(options.seed ? *options.seed ^ 0x5eedu : 7u);
}

TAutoplay::~TAutoplay()
{
    GetLoadingHooks().afterLoading = nullptr;
}

void TAutoplay::Install()
{
    if (options_.level) {
        GetLoadingHooks().afterLoading = [this] {
            if (!started_) {
                started_ = true;
                StartLevel();
            }
            return true;
        };
    }
    if (RoadMode()) {
        if (auto game = Program().MainGame) {
            game->OnLevelEnd = [this](bool won) { RoadLevelEnded(won); };
            if (options_.headless)
                game->Game->quiet = true;
        }
    }
    auto& hooks = Control::GetHooks();
    auto prevBegin = hooks.beginFrame;
    hooks.beginFrame = [this, prevBegin] {
        if (prevBegin)
            prevBegin();
        BeginFrame();
    };
    if (options_.bench || !options_.autoplayShots.empty()) {
        // The frame ends when it has been presented: measured before anything
        // else the end of a frame does (screenshots of the input script).
        auto prevEnd = hooks.endFrame;
        hooks.endFrame = [this, prevEnd] {
            AfterFlip();
            if (prevEnd)
                prevEnd();
        };
    }
    if (options_.bench) {
        hooks.afterUpdate = [this] { AfterUpdate(); };
        hooks.beforeFlip = [this] { BeforeFlip(); };
        // Frames follow as fast as they can: neither the 60-per-second limit
        // nor the display's refresh holds them back.
        platform::SetFrameLimit(0);
        platform::SetVSync(false);
    }
}

bool TAutoplay::StartLevel()
{
    auto game = Program().MainGame;
    if (!game)
        return false;
    level::TLevelSetup setup;
    setup.stage = options_.level->first;
    setup.level = options_.level->second;
    setup.timed = options_.relaxed ? 0 : 1;
    game->PreviousScreen = Control::GetScreenByName("MainMenu");
    game->OnLevelEnd = [this](bool won) { LevelEnded(won); };
    if (options_.headless)
        game->Game->quiet = true;
    if (!game->LoadLevel(setup)) {
        if (options_.exitOnLevelEnd) {
            platform::Log(game->error);
            exitStatus_ = 1;
            Control::Quit();
            return false;
        }
        game->LeaveWithError();
        return false;
    }
    GoToScreen(game);
    return true;
}

void TAutoplay::LevelEnded(bool won)
{
    auto game = Program().MainGame;
    if (!options_.exitOnLevelEnd || !game || !game->Level || exitStatus_)
        return;
    const std::string line = "level " + std::to_string(game->Setup.stage) + "-" + std::to_string(game->Setup.level) +
                             (won ? " won" : " lost") + " in " + std::to_string(game->Level->Seconds) + " s, " +
                             std::to_string(game->Moves) + " moves, score " + std::to_string(game->Level->Score) +
                             ", paid " + std::to_string(game->Paid) + ", coins " + std::to_string(game->Level->Cash);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    exitStatus_ = won ? 0 : 3;
    Control::Quit();
}

void TAutoplay::BeginFrame()
{
    // The kill tests' sudden death: no save, no clean-up, as a power cut.
    if (++frame_ == options_.killAtFrame)
        std::raise(SIGKILL);
    if (RoadMode())
        DriveRoad();
    else if (options_.autoplay)
        Play();
    // The player's own thinking is not part of the game's frame.
    if (options_.bench)
        frameStartNs_ = NowNs();
}

bool TAutoplay::StepHand()
{
    if (dragAt_ >= drag_.size())
        return false;
    // Scripts and drags are in design-area units; the wide layout puts the
    // design area 171 units into the virtual screen.
    const float wide = Control::WideLayout() ? 171.0f : 0.0f;
    const TDragStep& s = drag_[dragAt_++];
    platform::InjectMouseMove(s.x + wide, s.y);
    if (s.button != 0)
        platform::InjectMouseButton(platform::kMouseLeft, s.button > 0);
    return true;
}

void TAutoplay::Play()
{
    auto game = Program().MainGame;
    if (!game || Control::CurrScreen() != game || !game->Level)
        return;
    if (StepHand())
        return;
    match3::TM3Game& g = *game->Game;
    const int64_t now = g.Now();
    if (game->State != level::STATE_NORMAL || game->Mode != level::MODE_NORMAL || !game->ShowedPopUps.empty())
        return;
    if (!g.isSettled() || g.ChipsAreMoving || now < nextMoveTime_)
        return;
    const auto move = ChooseAutoplayMove(g, rng_);
    if (!move)
        return;
    TM3Tile* a = g.GetTileRC(move->r1, move->c1);
    TM3Tile* b = g.GetTileRC(move->r2, move->c2);
    a->CountDrawPosition();
    b->CountDrawPosition();
    drag_ = DragSteps(a->ActDrawX, a->actDrawY, b->ActDrawX, b->actDrawY);
    dragAt_ = 0;
    // A short pause after this move, as a hand would make.
    nextMoveTime_ = now + 350;
    Play();
}

// ---- The game from the main menu ----

bool TAutoplay::ClickWidget(const gui::TUIObject* w)
{
    if (!w || !w->isActivated || !w->isAvailableForClicking || w->isMoving())
        return false;
    const float cx = w->x - static_cast<float>(w->HandleX) + static_cast<float>(w->w) / 2.0f;
    const float cy = w->y - static_cast<float>(w->HandleY) + static_cast<float>(w->h) / 2.0f;
    drag_ = {{cx, cy, 0}, {cx, cy, 1}, {cx, cy, -1}};
    dragAt_ = 0;
    return true;
}

void TAutoplay::RoadLevelEnded(bool won)
{
    auto game = Program().MainGame;
    if (!game || !game->Level)
        return;
    ++levelsEnded_;
    lastLevelWon_ = won;
    std::printf("> level end in player frame %lld\n", static_cast<long long>(frame_));
    std::printf("level %d-%d %s in %d s, %d moves, score %d, paid %d, coins %d\n", game->Setup.stage, game->Setup.level,
                won ? "won" : "lost", game->Level->Seconds, game->Moves, game->Level->Score, game->Paid,
                game->Level->Cash);
    std::fflush(stdout);
    // A lost last level ends the run at once; a won one once the summary has
    // paid it into the profile (below).
    if (!won && options_.autoplayLevels && levelsEnded_ >= *options_.autoplayLevels)
        Control::Quit();
}

void TAutoplay::DriveRoad()
{
    if (StepHand())
        return;
    const auto screen = Control::CurrScreen();
    if (!screen || (Crosser() && Crosser()->Running()))
        return;
    const int64_t now = AppClock();
    app::TPopUp* top = screen->ShowedPopUps.empty() ? nullptr : screen->ShowedPopUps.back().get();
    if (!top && screen == Program().MainGame) {
        Play();
        return;
    }
    // With an input script the script presses every button; the built-in
    // player only makes the moves of the levels.
    if (!options_.inputScript.empty())
        return;
    // A hand takes a moment to find the next button.
    if (now < nextClickTime_)
        return;
    bool clicked = false;
    if (auto* summary = dynamic_cast<level::TSummary*>(top)) {
        clicked = summary->state == 1 && ClickWidget(summary->ButtonOk.get());
    } else if (auto* lose = dynamic_cast<level::TLosePopUp*>(top)) {
        clicked = ClickWidget(lose->ButtonReplay.get());
    } else if (auto* mode = dynamic_cast<level::TPickMode*>(top)) {
        clicked = ClickWidget(options_.relaxed ? mode->ButtonRelaxed.get() : mode->ButtonTImed.get());
    } else if (auto* ask = dynamic_cast<progress::TYesOrNo*>(top)) {
        clicked = ClickWidget(ask->ButtonOk.get());
    } else if (auto* name = dynamic_cast<progress::TEnterName*>(top)) {
        if (name->Enter.empty()) {
            for (char c : std::string("Player"))
                platform::InjectChar(c);
            nextClickTime_ = now + 500;
            return;
        }
        clicked = ClickWidget(name->ButtonOk.get());
    } else if (!top) {
        if (auto* menu = dynamic_cast<menus::TMainMenu*>(screen.get()))
            clicked = ClickWidget(menu->ButtonPlay.get());
        else if (auto* map = dynamic_cast<citymap::TMapScreen*>(screen.get()))
            clicked = DriveMap(*map);
    }
    if (clicked)
        nextClickTime_ = now + 600;
}

bool TAutoplay::LevelsDone() const
{
    return options_.autoplayLevels && levelsEnded_ >= *options_.autoplayLevels && lastLevelWon_;
}

bool TAutoplay::DriveMap(citymap::TMapScreen& map)
{
    if (!map.Map || !map.BuyWindow)
        return false;
    const int cash = citymap::MapRoad().Cash ? citymap::MapRoad().Cash() : 0;
    citymap::TMapBuyWindow& window = *map.BuyWindow;
    if (window.ShowPer == 1 && window.dShowPer == 1 && window.CurrMapObj) {
        if (!buyWindowShot_ && Shoot("buy-window.png")) {
            buyWindowShot_ = true;
            return false;
        }
        const bool affordable = window.CurrMapObj->Price <= cash;
        if (affordable) {
            std::printf("> buy in player frame %lld\n", static_cast<long long>(frame_));
            std::fflush(stdout);
        }
        return ClickWidget(affordable ? window.BuyButton.get() : window.CancelButton.get());
    }
    // Wait for the window, the fades, the interface and the buttons to settle.
    if (!window.isClosed() || map.uiHidden || map.isSomethingBuildNow() || map.CheckTimeWait != 0 ||
        map.ThereWillBeDialog || map.PlayPanel->isMoving())
        return false;
    for (const citymap::TMapBuyButton& b : map.ButtonMap)
        if (b.MapObject && (b.p != b.dp || b.MovePer != b.dMovePer))
            return false;
    if (!firstMapShot_ && Shoot("map-first-visit.png")) {
        firstMapShot_ = true;
        return false;
    }
    for (const citymap::TMapBuyButton& b : map.ButtonMap) {
        if (!b.MapObject || !b.isShown() || map.isButtonLocked(b) || b.MapObject->Price > cash)
            continue;
        const float cx = b.x + citymap::TMapBuyButton::kW / 2.0f;
        const float cy = b.y + citymap::TMapBuyButton::kH / 2.0f;
        drag_ = {{cx, cy, 0}, {cx, cy, 1}, {cx, cy, -1}};
        dragAt_ = 0;
        return true;
    }
    if (shotAfterLevel_ != levelsEnded_) {
        shotAfterLevel_ = levelsEnded_;
        char name[64];
        std::snprintf(name, sizeof name, "map-after-level-%02d.png", levelsEnded_);
        if (Shoot(name))
            return false;
    }
    if (LevelsDone()) {
        Control::Quit();
        return false;
    }
    const bool atEnd = citymap::MapRoad().IsAtEnd && citymap::MapRoad().IsAtEnd();
    const bool done = citymap::MapRoad().AllUpgradesDone && citymap::MapRoad().AllUpgradesDone();
    if (atEnd && !done) {
        std::printf("the last level is won and the city is unfinished with %d cash: nothing left to play\n", cash);
        std::fflush(stdout);
        exitStatus_ = 4;
        Control::Quit();
        return false;
    }
    return ClickWidget(map.ButtonPlay.get());
}

void TAutoplay::AfterUpdate()
{
    updateEndNs_ = NowNs();
}

void TAutoplay::BeforeFlip()
{
    drawEndNs_ = NowNs();
    // Only the frames of the level screen count: loading and transitions
    // measure something else.
    measuring_ = frameStartNs_ != 0 && updateEndNs_ >= frameStartNs_ && Program().MainGame &&
                 Control::CurrScreen() == Program().MainGame;
    if (measuring_)
        batches_.push_back(platform::CurrentFrameStats().batches);
}

bool TAutoplay::Shoot(const std::string& name)
{
    if (options_.autoplayShots.empty())
        return false;
    platform::CaptureNextFrame();
    pendingShot_ = options_.autoplayShots + "/" + name;
    return true;
}

void TAutoplay::AfterFlip()
{
    if (!pendingShot_.empty()) {
        if (!platform::SaveScreenshot(pendingShot_))
            std::printf("cannot write the screenshot %s\n", pendingShot_.c_str());
        pendingShot_.clear();
    }
    if (!measuring_)
        return;
    measuring_ = false;
    const int64_t end = NowNs();
    updateMs_.push_back(static_cast<double>(updateEndNs_ - frameStartNs_) / 1e6);
    drawMs_.push_back(static_cast<double>(drawEndNs_ - updateEndNs_) / 1e6);
    presentMs_.push_back(static_cast<double>(end - drawEndNs_) / 1e6);
    frameMs_.push_back(static_cast<double>(end - frameStartNs_) / 1e6);
}

void TAutoplay::PrintBench() const
{
    if (!options_.bench)
        return;
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    std::vector<double> b(batches_.begin(), batches_.end());
    double total = 0;
    for (double ms : frameMs_)
        total += ms;
    const double median = Percentile(frameMs_, 0.5);
    std::printf("bench: renderer %s, %zu frames of the level screen\n", platform::RendererName().c_str(),
                frameMs_.size());
    if (platform::IsHeadless())
        std::printf("bench: headless: frames that are not captured go through the null drawing backend, so draw "
                    "and present time the drawing logic without rasterising\n");
    std::printf("bench: whole frames, no 60-per-second limit and no vsync: update, draw, then the flush of the "
                "last batch and the present\n");
    std::printf("bench: update  median %.3f ms, p99 %.3f ms\n", Percentile(updateMs_, 0.5), Percentile(updateMs_, 0.99));
    std::printf("bench: draw    median %.3f ms, p99 %.3f ms\n", Percentile(drawMs_, 0.5), Percentile(drawMs_, 0.99));
    std::printf("bench: present median %.3f ms, p99 %.3f ms (flush and present)\n", Percentile(presentMs_, 0.5),
                Percentile(presentMs_, 0.99));
    std::printf("bench: frame   median %.3f ms, p99 %.3f ms\n", median, Percentile(frameMs_, 0.99));
    std::printf("bench: frames per second reachable: %.0f at the median frame, %.0f over the run\n",
                median > 0 ? 1000.0 / median : 0.0, total > 0 ? 1000.0 * double(frameMs_.size()) / total : 0.0);
    std::printf("bench: draw batches per frame median %.0f, max %.0f\n", Percentile(b, 0.5), Percentile(b, 1.0));
    std::printf("bench: peak resident memory %ld KiB\n", static_cast<long>(ru.ru_maxrss));
    std::fflush(stdout);
}

} // namespace game
