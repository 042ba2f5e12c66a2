// What the level play screen does on the player's or the game's behalf: score
// and coins, power-ups, hints, shuffles, winning and losing, and the keys that
// call them.
#include "level/maingame.h"

#include <memory>
#include <string>

#include "app/paths.h"
#include "app/platform/core/system.h"
#include "app/platform/input.h"
#include "level/ingamemenu.h"
#include "level/maingame_internal.h"
#include "match3/m3level.h"

namespace level {

// ---- COMMANDS ----

void TMainGame::AddScore(float, float, int points)
{
    if (!Level)
        return;
    Paid += points;
    Level->Score += points;
}

void TMainGame::AddCash()
{
    if (Level)
        Level->Cash += 1;
}

void TMainGame::UsePowerUp(int i)
{
    if (State != STATE_NORMAL || Mode != MODE_NORMAL)
        return;
    switch (i) {
    case 0:
    case 1:
    case 2:
    case 5:
        HammerPer = 0;
        Mode = i + 1;
        break;
    case 3: {
        PowerUpCharge[3] = 0;
        PlaySound(18, 1);
        for (match3::TM3Tile* t : Game->GetRandomChipsList(5))
            t->FireSmallBombHere();
        break;
    }
    case 4:
        PowerUpCharge[4] = 0;
        Shuffle();
        PlaySound(14, 1);
        break;
    default:
        break;
    }
}

int TMainGame::GetStars() const { return Level ? StarsFor(Level->Seconds, Level->MaxSeconds) : 0; }

std::string TMainGame::GetTotalTimeString() const { return TotalTimeString(Level ? Level->Seconds : 0); }

void TMainGame::ShowHint()
{
    HintTime = Now() + 18000;
    const int moves = Game->isAnyMoveAvailable_SWAP();
    if (!Game->quiet)
        platform::Log("isAnyMoveAvailable_SWAP() = " + std::to_string(moves));
    CurrHint = Game->GetSwapHint();
    if (!CurrHint && !Game->quiet)
        platform::Log("NO HINT!");
}

void TMainGame::HideHint()
{
    if (CurrHint)
        CurrHint->Hide();
}

void TMainGame::ShowReds(int ms) { Game->LightUpTiles(ms); }

void TMainGame::ShowLights() { Game->LightUpBoard(); }

void TMainGame::ReverseMode()
{
    // The tool goes back to its power-up with its charge kept.
    Mode = MODE_NORMAL;
    HammerPer = 0;
}

void TMainGame::NoMoreMoves()
{
    Captions.Add(std::make_shared<TNoMovesCaption>(Now()));
    Shuffle();
}

void TMainGame::Shuffle()
{
    const auto arrangement = Game->ReshuffleArrangement();
    const int64_t now = Now();
    for (auto& row : Level->tile)
        for (auto& t : row) {
            if (!t->chip || !Game->isReshuffleCell(*t))
                continue;
            auto kind = Game->GetChipDataById(arrangement[static_cast<size_t>(t->r)][static_cast<size_t>(t->c)]);
            FlyObjects.Add(std::make_shared<TChipFlip>(t->chip, kind, now + Game->looks.Int(0, 1000)));
        }
    ++Reshuffles;
    Mode = MODE_SHUFFLE;
    PlaySound(14, 1);
}

void TMainGame::FlyAway(int kind, bool lose)
{
    const int64_t now = Now();
    auto& rnd = Game->looks;
    int k = 0;
    auto add = [&](match3::TM3Tile* t, int64_t delay, float ex, float ey, float rot) {
        // A cell still out on another flight lands first.
        if (t->myM3FlyingTile)
            return;
        auto f = std::make_shared<TFlyingTile>(t, now + delay, 2000);
        f->SetPath(0, 0, ex * 0.33f, ey * 0.33f, ex * 0.66f, ey * 0.66f, ex, ey);
        f->endRot = rot;
        f->kept = true;
        FlyObjects.Add(f);
    };
    if (lose) {
        ForCellsBottomUp(*Level, [&](match3::TM3Tile* t) {
            add(t, 100 + k++, static_cast<float>(rnd.Int(-128, 128)), 768, 0);
        });
        return;
    }
    switch (kind) {
    case 1:
        for (int r = 0; r < Level->rows; ++r)
            for (int c = 0; c < Level->cols; ++c)
                if (auto* t = Level->GetTileByPosition(r, c); t && t->td[0])
                    add(t, 1100 + 10 * k++, -1366, -512, -90);
        break;
    case 2:
        ForCellsBottomUp(*Level, [&](match3::TM3Tile* t) {
            add(t, 1100 + 10 * k++, rnd.Int(0, 1) ? 1366.0f : -1366.0f, 512, -90);
        });
        break;
    default:
        ForCellsBottomUp(*Level, [&](match3::TM3Tile* t) {
            add(t, 1100 + 10 * k++, static_cast<float>(rnd.Int(-128, 128)), 768, -90);
        });
        break;
    }
}

void TMainGame::SlidePanelsOut()
{
    auto out = [](const gui::PUIImage& p, int dir) {
        if (p && p->isEnabled)
            p->MoveOut(dir, kPanelSpeed, 0);
    };
    out(UpperPanel, 1);
    out(LeftPanel, 7);
    out(LowerPanel, 5);
    if (isTimed())
        out(TimePanel, 3);
}

void TMainGame::WIN()
{
    if (State == STATE_WON || Lost())
        return;
    PlaySound(32, 1);
    dFrameA = 0;
    Game->ClearPairs();
    HideHint();
    State = STATE_WON;
    EndTime = Now();
    Captions.Add(std::make_shared<TWinCaption>(Now()));
    FlyAway(Game->looks.Int(1, 3), false);
    SlidePanelsOut();
}

void TMainGame::LOSE()
{
    if (State == STATE_WON || Lost())
        return;
    PlaySound(33, 1);
    Captions.Add(std::make_shared<TLoseCaption>(Now()));
    State = STATE_LOST;
    EndTime = Now();
    dFrameA = 0;
    Game->ClearPairs();
    HideHint();
    FlyAway(0, true);
}

void TMainGame::GoMenu()
{
    if (const auto menu = MenuPopUp.lock())
        menu->GoShow();
}

void TMainGame::CheatWin()
{
    if (!Level)
        return;
    Level->Cash = Level->TotalCoins;
    WIN();
}

void TMainGame::PlaySound(int, float)
{
    // The sound catalogue plays effects here once it exists.
}

// ---- INPUT ----

void TMainGame::Interface()
{
    if (MenuButton && MenuButton->isPressed) {
        MenuButton->Clear();
        GoMenu();
        return;
    }
    if (!app::Markers().cheats || !Level)
        return;
    using namespace platform;
    if (KeyHit(key::A + ('S' - 'A')))
        NoMoreMoves();
    if (KeyHit(key::A + ('W' - 'A')) && State == STATE_NORMAL)
        CheatWin();
    if (KeyHit(key::A + ('L' - 'A')) && State == STATE_NORMAL)
        LOSE();
    for (int i = 0; i < kPowerUps; ++i)
        if (KeyHit(key::F1 + i))
            UsePowerUp(i);
    if (KeyHit(key::A + ('H' - 'A')))
        ShowHint();
    if (KeyHit(key::A + ('R' - 'A')))
        ShowReds(2000);
    if (KeyHit(key::A + ('J' - 'A')))
        ShowLights();
    if (KeyHit(key::A + ('U' - 'A')) && OnCheatNextLevel)
        OnCheatNextLevel();
}

void TMainGame::OnLeave()
{
    FlyObjects.Clear();
    Captions.Clear();
    CurrHint.reset();
}

} // namespace level
