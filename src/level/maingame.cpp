// The level play screen's core: the free helpers, loading a level, setting the
// screen up, preparing the board and the per-frame update.
// Commands and input, and drawing, have files of their own.
#include "level/maingame.h"

#include <algorithm>
#include <cstdlib>

#include "app/control.h"
#include "app/crosser.h"
#include "app/deltatime.h"
#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "gui/textclasses.h"
#include "citymap/backgrounds.h"
#include "gui/mouse.h"
#include "level/maingame_internal.h"
#include "level/losepopup.h"
#include "level/summary.h"
#include "match3/m3level.h"

namespace level {

namespace {

TMainGame* g_mainGame = nullptr;

} // namespace

TMainGame* MainGameScreen() { return g_mainGame; }

int StarsFor(int seconds, int maxSeconds)
{
    if (seconds <= 0.4 * maxSeconds)
        return 3;
    if (seconds <= 0.65 * maxSeconds)
        return 2;
    return seconds == 0 ? 0 : 1;
}

std::string TotalTimeString(int seconds)
{
    const int minutes = seconds / 60;
    const int rest = std::abs(minutes * 60 - seconds);
    return std::to_string(minutes) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

std::string LevelFilePath(const std::string& gameDir, int stage, int level)
{
    return gameDir + "Data/levels/stage-" + std::to_string(stage) + "/Level-" + std::to_string(level) + ".txt";
}

TMainGame::TMainGame() : Game(std::make_shared<match3::TM3Game>())
{
    Game->scr = this;
    for (int i = 0; i < 10; ++i)
        BackgroundUrls[static_cast<size_t>(i)] = "gfx/Backgrounds/Background-" + std::to_string(i + 1);
    g_mainGame = this;
}

TMainGame::~TMainGame()
{
    FlyObjects.Clear();
    if (g_mainGame == this)
        g_mainGame = nullptr;
}

// ---- LEVELS ----

bool TMainGame::EnsureEngine()
{
    if (engineLoaded_)
        return true;
    const std::string dir = GameFolder.empty() ? app::GameDir() : GameFolder;
    Game->gameFolder = dir;
    if (!Game->LoadEngineData(dir)) {
        error = Game->error;
        return false;
    }
    engineLoaded_ = true;
    return true;
}

bool TMainGame::LoadLevel(const TLevelSetup& setup)
{
    const std::string dir = GameFolder.empty() ? app::GameDir() : GameFolder;
    return LoadLevelFile(LevelFilePath(dir, setup.stage, setup.level), setup);
}

bool TMainGame::LoadLevelFile(const std::string& path, const TLevelSetup& setup)
{
    error.clear();
    if (!EnsureEngine())
        return false;
    // Flights still holding cells of the previous level let go of them
    // before that level is freed.
    FlyObjects.Clear();
    Captions.Clear();
    CurrHint.reset();
    HammerSlamTile = nullptr;
    // Each level start takes fresh streams from the program's generator, so
    // a run with a fixed seed plays the same boards.
    const uint32_t rulesSeed = platform::Rng().Next();
    Game->SeedRandom(rulesSeed, platform::Rng().Next());
    if (!Game->LoadLevel(path)) {
        error = Game->error.empty() ? "Cannot load the level file " + path : Game->error;
        Level.reset();
        return false;
    }
    Setup = setup;
    SetData(Game->level);
    return true;
}

void TMainGame::SetData(match3::PM3Level level)
{
    Level = std::move(level);
    if (Game->level != Level)
        Game->SetLevel(Level);
    Game->MoveLevelCenterToPosition(512, 410);
}

// ---- SETUP ----

void TMainGame::OnSetup()
{
    const std::string dir = app::GameDir();
    const std::string local = app::LocalDir();
    // 1. Controller and the pictures the engine shares.
    if (!EnsureEngine())
        platform::Log(error);
    Game->borderImage = platform::LoadAnimImage(dir + "gfx/Match3/BoardBorder.png", 72, 72, 0, 24);
    platform::MidHandle(Game->borderImage);
    PistolImage = platform::LoadImage(dir + "gfx/gui/mainGame/Mode_Light.png");
    platform::SetImageHandle(PistolImage, 120, 8);
    Game->hintArrow = gui::LoadImg(dir + "gfx/gui/mainGame/HintArrow.png");
    gui::MidHandleImg(Game->hintArrow);
    Game->chipLight = gui::LoadImg(dir + "gfx/gui/mainGame/ChipLight.png");
    gui::MidHandleImg(Game->chipLight);
    Game->cheats = app::Markers().cheats ? 1 : 0;

    // 2. Panels, texts and tool cursors.
    UpperPanel = gui::CreateUIImage(local + "gfx/mainGame/TopPanel.png", -75, 0, this);
    UpperPanel->h = 200;
    LeftPanel = gui::CreateUIImage(dir + "gfx/gui/mainGame/LeftPanel.png", -171, 90, this);
    TimePanel = gui::CreateUIImage(local + "gfx/mainGame/BonusPanel.png", 1061, 194, this);
    LowerPanel = gui::CreateUIImage(dir + "gfx/gui/mainGame/BottomPanel.png", -171, 727, this);
    // The bar widget holds no picture of its own: its drawing function shows
    // the part of the bar picture that stands for the time left.
    TimeBarImage = platform::LoadImage(dir + "gfx/gui/mainGame/timeline.png");
    TimeLine = gui::CreateUIImage(platform::ImagePtr(), 90, 53, TimePanel.get());
    TimeLine->SetSpecialDrawFunction([this] { DrawTimeLine(); });
    MenuButton = gui::CreateUILightButton(local + "gfx/mainGame/InGameMenuButton.png", 24, 8, UpperPanel.get(), 0.5f);
    const gui::PTextClass& cls = gui::TextClass(9);
    LevelText = gui::CreateUIText("", 1024, 26, 60, 20, UpperPanel.get(), cls);
    ScoreText = gui::CreateUIText("", 900, 26, 60, 20, UpperPanel.get(), cls);
    GoldText = gui::CreateUIText("", 544, 22, 54, 25, UpperPanel.get(), cls);
    for (auto& t : {LevelText, ScoreText, GoldText})
        t->SetAlign(1);
    Cursor[0] = platform::LoadImage(dir + "gfx/gui/mainGame/Mode_Hammer.png");
    platform::SetImageHandle(Cursor[0], 70, 80);
    Cursor[1] = platform::LoadImage(dir + "gfx/gui/mainGame/Mode_Potion.png");
    platform::MidHandle(Cursor[1]);
    Cursor[5] = platform::LoadImage(dir + "gfx/gui/mainGame/Mode_Book.png");
    platform::MidHandle(Cursor[5]);

    // The level captions.
    LoadCaptionPictures();
    setupDone_ = true;
}

// ---- PREPARING ----

void TMainGame::OnPrepare()
{
    if (!Level) {
        LeaveWithError();
        return;
    }
    PrepareGame();
    PrepareBackground();
    PrepareClearings();
    PrepareHint();
    for (int& c : PowerUpCharge)
        c = 0;
    PrepareBegin();
    if (OnLevelStart)
        OnLevelStart();
    // The time spent preparing is not one long frame of play.
    app::ResetDeltaTime();
}

void TMainGame::LeaveWithError()
{
    const std::string message = error.empty() ? "There is no level to play." : error;
    platform::Log(message);
    platform::MessageBox(message, false);
    std::shared_ptr<app::TScreen> back = PreviousScreen.lock();
    if (!back || back.get() == this)
        back = app::Control::GetScreenByName("MainMenu");
    if (back && back.get() != this)
        app::GoToScreen(back);
}

void TMainGame::PrepareGame()
{
    Mode = MODE_NORMAL;
    TimeLineCurrPer = 1;
    Moves = 0;
    Paid = 0;
    Reshuffles = 0;
    EndReported = false;
    EndTime = 0;
    HammerSlamTile = nullptr;
    HammerPer = 0;
    Level->Score = 0;
    Level->Cash = 0;
    Level->Seconds = 0;
    Level->TotalCoins = Level->CountTotalCoins();
    if (LevelText)
        LevelText->SetText(std::to_string(Setup.stage) + " - " + std::to_string(Setup.level) + " ");
    NextLightTime = Now() + 10000;
}

void TMainGame::PrepareBackground()
{
    if (!setupDone_)
        return;
    int bg = Setup.background;
    if (bg < 0 || bg >= static_cast<int>(BackgroundUrls.size())) {
        platform::Log("There is no background set " + std::to_string(bg) + "; the first set is used");
        bg = 0;
    }
    if (!Background || LastLoadedBG != bg) {
        if (Background)
            Background->Free();
        const std::string dir = app::GameDir();
        Background = citymap::CreateBackground(dir + BackgroundUrls[static_cast<size_t>(bg)]);
        Background->index = bg;
        Background->Load();
    }
    LastLoadedBG = bg;
}

void TMainGame::PrepareClearings()
{
    FlyObjects.Clear();
    Captions.Clear();
    Game->screenDropsList.clear();
    Game->fantomsList.clear();
    Game->ClearPairs();
}

void TMainGame::PrepareHint()
{
    HintTime = Now() + 12000;
    CurrHint.reset();
}

void TMainGame::PrepareBegin()
{
    State = STATE_BEGIN;
    Game->Calculate();
    FrameA = dFrameA = 0;
    for (auto& p : {UpperPanel, LeftPanel, TimePanel, LowerPanel})
        if (p)
            p->Disable();
    StartFlyIn(Game->looks.Int(1, 5));
    const int64_t now = Now();
    Captions.Add(std::make_shared<TBeginCaption>(now));
    auto go = std::make_shared<TBeginGoCaption>(now);
    go->playSound = [this](int id) { PlaySound(id, 1); };
    Captions.Add(go);
    Calculate();
}

void TMainGame::StartFlyIn(int kind)
{
    auto& lvl = *Level;
    const int64_t now = Now();
    auto& rnd = Game->looks;
    int k = 0;
    auto add = [&](match3::TM3Tile* t, int64_t delay, int duration, float sx, float sy, float c1, float c2) {
        auto f = std::make_shared<TFlyingTile>(t, now + delay, duration);
        f->SetPath(sx, sy, sx * (1 - c1), sy * (1 - c1), sx * (1 - c2), sy * (1 - c2), 0, 0);
        FlyObjects.Add(f);
    };
    switch (kind) {
    case 1:
        // Columns left to right, rows top to bottom, from the right edge.
        for (int c = 0; c < lvl.cols; ++c)
            for (int r = 0; r < lvl.rows; ++r)
                if (auto* t = lvl.GetTileByPosition(r, c); t && t->td[0]) {
                    t->CountDrawPosition();
                    const float sx = 1500 - t->ActDrawX;
                    const float sy = static_cast<float>(rnd.Int(0, 768)) - t->actDrawY;
                    add(t, 15 * k++, 1000, sx, sy, rnd.Float(0.1f, 0.4f), rnd.Float(0.6f, 0.9f));
                }
        break;
    case 2:
        ForCellsBottomUp(lvl, [&](match3::TM3Tile* t) { add(t, 10 * k++, 750, 0, -768, 0.33f, 0.66f); });
        break;
    case 3:
        ForCellsBottomUp(lvl, [&](match3::TM3Tile* t) {
            const int row = lvl.rows - 1 - t->r;
            add(t, 250 * row + rnd.Int(0, 250), 750, 0, -768, 0.33f, 0.66f);
        });
        break;
    case 4:
        ForCellsBottomUp(lvl, [&](match3::TM3Tile* t) {
            const int row = lvl.rows - 1 - t->r;
            add(t, 75 * row, 1500, row % 2 == 0 ? 1366.0f : -1366.0f, 0, 0.33f, 0.66f);
        });
        break;
    default:
        for (int c = 0; c < lvl.cols; ++c)
            for (int r = lvl.rows - 1; r >= 0; --r)
                if (auto* t = lvl.GetTileByPosition(r, c); t && t->td[0])
                    add(t, 75 * c, 1500, 0, c % 2 == 0 ? 768.0f : -768.0f, 0.33f, 0.66f);
        break;
    }
}

void TMainGame::StartPlay()
{
    dFrameA = 1;
    auto slide = [](const gui::PUIImage& p, int dir) {
        if (!p)
            return;
        p->Enable();
        p->MoveIn(dir, kPanelSpeed, 0);
    };
    slide(UpperPanel, 1);
    slide(LeftPanel, 7);
    slide(LowerPanel, 5);
    if (isTimed())
        slide(TimePanel, 3);
    State = STATE_NORMAL;
    const int64_t now = Now();
    PlayStartTime = now;
    // The first second is counted once a whole second of play has passed.
    NextSecond = now + 1000;
    HintTime = now + 12000;
    NextLightTime = now + 10000;
}

// ---- UPDATING ----

void TMainGame::OnUpdate()
{
    if (!Level)
        return;
    UpdateTexts();
    const float ff = FF();
    if (FrameA < dFrameA)
        FrameA = std::min(dFrameA, FrameA + 0.05f * ff);
    else if (FrameA > dFrameA)
        FrameA = std::max(dFrameA, FrameA - 0.05f * ff);
    FlyObjects.Update(Now());
    switch (State) {
    case STATE_NORMAL:
        UpdateState_NORMAL();
        break;
    case STATE_BEGIN:
        UpdateState_BEGIN();
        break;
    case STATE_WON:
    case STATE_LOST:
    case STATE_LOST_NOMOVES:
        UpdateState_END();
        break;
    case STATE_NOMOVES_PAUSE:
        if (Now() > NoMoreMovesTime)
            State = STATE_NORMAL;
        break;
    default:
        break;
    }
}

void TMainGame::UpdateTexts()
{
    if (ScoreText)
        ScoreText->SetText(std::to_string(Setup.baseScore + Level->Score));
    if (GoldText)
        GoldText->SetText(std::to_string(Level->Cash) + "/" + std::to_string(Level->TotalCoins));
}

void TMainGame::UpdateState_BEGIN()
{
    if (FlyObjects.Count() == 0)
        StartPlay();
}

void TMainGame::UpdateState_END()
{
    if (EndReported || FlyObjects.Count() != FlyObjects.KeptCount())
        return;
    EndReported = true;
    const bool won = State == STATE_WON;
    if (won) {
        if (const auto summary = SummaryPopUp.lock())
            summary->Show();
    } else if (const auto lose = LosePopUp.lock()) {
        lose->SetNormal(State == STATE_LOST_NOMOVES ? 2 : 1);
        lose->Show();
    }
    if (OnLevelEnd)
        OnLevelEnd(won);
}

bool TMainGame::WinReady() const
{
    // Every coin layer cleared and the board at rest (refills included);
    // coins still flying to the counter do not hold the win back.
    return Game->level && Game->UnclearedTiles == 0 && Game->ChipsAreMoving == 0 && Game->isSettled();
}

bool TMainGame::NoMovesReady() const
{
    return Mode == MODE_NORMAL && Game->ChipsAreMoving == 0 && Game->pairsList.empty() &&
           Game->dropsList.empty() && Game->NeedsReshuffle();
}

void TMainGame::UpdateState_NORMAL()
{
    // (The tutorial tests its tips for this screen here once it exists.)
    Game->update();
    const int64_t now = Now();
    if (now >= NextLightTime) {
        ShowLights();
        NextLightTime = now + 15000 + 2000 * Game->looks.Int(1, 5);
    }
    // A cleared board is won before it could be judged to have no moves;
    // tools being aimed leave both tests for later.
    if (Mode == MODE_NORMAL && WinReady()) {
        WIN();
        return;
    }
    if (NoMovesReady())
        NoMoreMoves();
    UpdateMode();
    if (State != STATE_NORMAL)
        return;
    UpdateTime();
    if (State != STATE_NORMAL)
        return;
    if (Now() >= HintTime)
        ShowHint();
    Game->CHEATS();
}

void TMainGame::UpdateMode()
{
    auto& mouse = gui::Mouse();
    switch (Mode) {
    case MODE_HAMMER_STRIKE:
        HammerPer += 0.02f * FF();
        if (HammerPer > 0.8f && !ByloHammerSlam) {
            ByloHammerSlam = 1;
            if (HammerSlamTile)
                HammerSlamTile->MatchWithDestroy();
        }
        if (HammerPer >= 1) {
            Mode = MODE_NORMAL;
            PowerUpCharge[0] = 0;
            PlaySound(13, 1);
            HammerPer = 0;
            HammerSlamTile = nullptr;
        }
        return;
    case MODE_HAMMER:
    case MODE_POTION:
    case MODE_ROW:
    case MODE_BOOK: {
        if (mouse.rightPressed) {
            ReverseMode();
            return;
        }
        match3::TM3Tile* o = Game->oTile;
        match3::TM3Tile* over = Game->overTile;
        const bool click = mouse.leftPressed != 0;
        if (Mode == MODE_HAMMER) {
            if (o && click) {
                Mode = MODE_HAMMER_STRIKE;
                HammerSlamTile = o;
                HammerPer = 0;
                ByloHammerSlam = 0;
            }
        } else if (Mode == MODE_POTION) {
            if (o && click) {
                for (match3::TM3Tile* t : Game->GetBoxTiles(o->r, o->c, 1))
                    if (t->chip)
                        t->MatchWithDestroy();
                Mode = MODE_NORMAL;
                PowerUpCharge[1] = 0;
                PlaySound(10, 1);
            }
        } else if (Mode == MODE_ROW) {
            if (o && click) {
                Game->Lightning(o);
                Mode = MODE_NORMAL;
                PowerUpCharge[2] = 0;
            }
        } else if (Mode == MODE_BOOK) {
            if (over && click) {
                Mode = MODE_NORMAL;
                PowerUpCharge[5] = 0;
                PlaySound(14, 1);
                Game->Bomb(over);
            }
        }
        return;
    }
    case MODE_SHUFFLE:
        if (FlyObjects.Count() == 0)
            Mode = MODE_NORMAL;
        return;
    case MODE_NORMAL:
    default:
        Game->CONTROL_INTERFACE();
        if (Game->M3EVENT_SwapPerformed)
            ++Moves;
        return;
    }
}

float TMainGame::TimeLeftFraction() const
{
    if (!Level || Level->MaxSeconds <= 0)
        return 0;
    int64_t elapsedInSecond = 0;
    if (State == STATE_NORMAL || State == STATE_NOMOVES_PAUSE)
        elapsedInSecond = std::clamp<int64_t>(1000 - (NextSecond - Now()), 0, 1000);
    const double used = static_cast<double>(Level->Seconds) * 1000.0 + static_cast<double>(elapsedInSecond);
    const double total = static_cast<double>(Level->MaxSeconds) * 1000.0;
    return static_cast<float>(std::clamp(1.0 - used / total, 0.0, 1.0));
}

void TMainGame::UpdateTime()
{
    const int64_t now = Now();
    if (now >= NextSecond) {
        if (isTimed() && Level->Seconds >= Level->MaxSeconds) {
            LOSE();
            return;
        }
        // Seconds follow a fixed grid from the start of play, so frame
        // lengths never add up to extra time.
        NextSecond += 1000;
        if (NextSecond <= now)
            NextSecond = now + 1000;
        Level->AddSecond();
    }
    const float f = TimeLeftFraction();
    const float step = 0.001f * FF();
    if (TimeLineCurrPer > f)
        TimeLineCurrPer = std::max(f, TimeLineCurrPer - step);
    else
        TimeLineCurrPer = std::min(f, TimeLineCurrPer + step);
}

} // namespace level
