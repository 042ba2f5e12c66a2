// The headless driver.
#include "match3/m3driver.h"

#include "app/platform/core/files.h"
#include "gui/mouse.h"
#include "match3/m3boardtext.h"

namespace match3 {

TM3Driver::TM3Driver(uint32_t rulesSeed, uint32_t looksSeed)
{
    game_.SeedRandom(rulesSeed, looksSeed);
    game_.quiet = true;
    game_.SetTime(1.0f, 0);
}

bool TM3Driver::LoadEngine(const std::string& gameDir)
{
    error_.clear();
    if (!game_.LoadEngineData(gameDir)) {
        error_ = game_.error;
        return false;
    }
    return true;
}

bool TM3Driver::LoadLevel(const std::string& path)
{
    error_.clear();
    if (!game_.LoadLevel(path)) {
        error_ = game_.error;
        return false;
    }
    return true;
}

bool TM3Driver::LoadLevel(const std::string& gameDir, int stage, int levelNumber)
{
    std::string dir = gameDir;
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return LoadLevel(dir + "data/levels/stage-" + std::to_string(stage) + "/Level-" + std::to_string(levelNumber) +
                     ".txt");
}

bool TM3Driver::LoadPicture(const std::string& folder, const std::string& picture, const std::string& chips)
{
    error_.clear();
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    const std::string path = dir + "picture-" + std::to_string(++pictureCount_) + ".txt";
    if (!WriteLevelFromPicture(path, picture, chips, &error_))
        return false;
    return LoadLevel(path);
}

void TM3Driver::StepAt(float frameFactor, int64_t clockMs)
{
    clock_ = clockMs;
    game_.SetTime(frameFactor, clock_);
    if (AutoReshuffle && game_.NeedsReshuffle()) {
        game_.ReshuffleNow();
        ++Reshuffles;
    }
    game_.update();
    game_.UpdateDetached();
}

void TM3Driver::Step(float frameFactor)
{
    clockFrac_ += 1000.0 / 60.0 * frameFactor;
    const auto whole = static_cast<int64_t>(clockFrac_);
    clockFrac_ -= static_cast<double>(whole);
    StepAt(frameFactor, clock_ + whole);
}

int TM3Driver::RunUntilSettled(int maxFrames, float frameFactor)
{
    for (int n = 0; n < maxFrames; ++n) {
        if (game_.isSettled())
            return n;
        Step(frameFactor);
    }
    return game_.isSettled() ? maxFrames : -1;
}

int TM3Driver::Rows() const
{
    return Level() ? Level()->rows : 0;
}

int TM3Driver::Cols() const
{
    return Level() ? Level()->cols : 0;
}

TM3Tile* TM3Driver::Cell(int r, int c) const
{
    return game_.GetTileRC(r, c);
}

int TM3Driver::KindAt(int r, int c) const
{
    const TM3Tile* t = Cell(r, c);
    return t && t->chip ? t->chip->KindId() : 0;
}

std::optional<TM3Move> TM3Driver::Hint()
{
    auto moves = game_.GetAvailableMoves();
    if (moves.empty())
        return std::nullopt;
    return moves[static_cast<size_t>(game_.rules.Int(1, static_cast<int>(moves.size())) - 1)];
}

std::string TM3Driver::Dump() const
{
    return Level() ? DumpBoard(*Level()) : std::string();
}

void TM3Driver::PointAt(int r, int c)
{
    TM3Tile* t = Cell(r, c);
    gui::TMouse& m = gui::Mouse();
    m.leftPressed = m.rightPressed = 0;
    if (t) {
        t->CountDrawPosition();
        m.x = t->ActDrawX;
        m.y = t->actDrawY;
    }
}

bool TM3Driver::Move(const TM3Move& mv)
{
    TM3Tile* a = Cell(mv.r1, mv.c1);
    TM3Tile* b = Cell(mv.r2, mv.c2);
    if (!a || !b)
        return false;
    gui::TMouse& m = gui::Mouse();
    const size_t pairsBefore = game_.pairsList.size();
    game_.pTile = nullptr;
    game_.holded = 0;
    // Hover and press on the first cell.
    PointAt(mv.r1, mv.c1);
    m.leftHolded = 1;
    Step();
    m.leftPressed = 1;
    game_.CONTROL_INTERFACE();
    m.leftPressed = 0;
    // Drag beyond the threshold toward the second cell, then release.
    const float dx = static_cast<float>(mv.c2 - mv.c1) * (game_.MinMoveX + 1);
    const float dy = static_cast<float>(mv.r2 - mv.r1) * (game_.MinMoveY + 1);
    m.x += dx;
    m.y += dy;
    game_.CONTROL_INTERFACE();
    m.leftHolded = 0;
    game_.CONTROL_INTERFACE();
    m.x = m.y = -10000;
    game_.pTile = nullptr;
    return game_.pairsList.size() > pairsBefore;
}

bool TM3Driver::Click(int r, int c)
{
    if (!Cell(r, c))
        return false;
    gui::TMouse& m = gui::Mouse();
    const size_t pairsBefore = game_.pairsList.size();
    TM3Tile* pickedBefore = game_.pTile;
    const int chipsBefore = game_.CountAllChips();
    PointAt(r, c);
    Step();
    m.leftPressed = 1;
    m.leftHolded = 1;
    game_.CONTROL_INTERFACE();
    m.leftPressed = 0;
    m.leftHolded = 0;
    game_.CONTROL_INTERFACE(); // release; a picked power chip fires here
    game_.holded = 0;
    m.x = m.y = -10000;
    return game_.pairsList.size() > pairsBefore || game_.pTile != pickedBefore ||
           game_.CountAllChips() != chipsBefore;
}

} // namespace match3
