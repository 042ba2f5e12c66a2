// Board cells: layers, obstacles, matching a cell, refill, glow and drawing.
#include "match3/m3tile.h"

#include <algorithm>
#include <sstream>

#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "gui/mouse.h"
#include "match3/m3game.h"

namespace match3 {

namespace {

int ParseInt(const std::string& s)
{
    try {
        size_t used = 0;
        const double v = std::stod(s, &used);
        if (v > 2.0e9 || v < -2.0e9)
            return 0;
        return static_cast<int>(v);
    } catch (...) {
        return 0;
    }
}

std::vector<std::string> SplitOn(const std::string& text, char sep)
{
    std::vector<std::string> out;
    std::string cur;
    for (char ch : text) {
        if (ch == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += ch;
        }
    }
    out.push_back(cur);
    return out;
}

} // namespace

// ---- GETTING ----

TM3Tile* TM3Tile::GetTileNeighbor(int dr, int dc) const
{
    return myM3Level ? myM3Level->GetTileByPosition(r + dr, c + dc) : nullptr;
}

bool TM3Tile::isObstacledByChest() const
{
    for (auto* o : obstacles)
        if (o && o->Typ == kObstacleChest)
            return true;
    return false;
}

bool TM3Tile::isNonMatchObstacled() const
{
    for (auto* o : obstacles)
        if (o && o->isNonMatch)
            return true;
    return false;
}

bool TM3Tile::isChestObstacleTop() const
{
    return !obstacles.empty() && obstacles.back() && obstacles.back()->Typ == kObstacleChest;
}

bool TM3Tile::isOver() const
{
    return gui::Mouse().inRect(ActDrawX - tileWHalf, actDrawY - tileHHalf, tileW, tileH);
}

int TM3Tile::isBlockedForWalk() const
{
    if (isObstacled())
        return 1;
    if (character) {
        platform::Log("CHARCTER");
        return 2;
    }
    return td[1] ? 1 : 0;
}

// ---- SETTING ----

void TM3Tile::SetCharacter(TM3Character* ch, int keep)
{
    character = ch;
    ozn = 1;
    if (keep == 0)
        chip.reset();
    else
        DropChip();
}

void TM3Tile::SetTileData(PM3TileData kind, int layer)
{
    if (layer == 0 || layer == 1)
        td[layer] = std::move(kind);
}

bool TM3Tile::SetTilesData(const std::string& text)
{
    const auto ids = SplitOn(text, '|');
    for (size_t i = 0; i < ids.size() && i < 2; ++i)
        SetTileData(myM3Game ? myM3Game->GetTileDataById(ParseInt(ids[i])) : nullptr, static_cast<int>(i));
    return ids.size() <= 2;
}

void TM3Tile::SetChip(PM3Chip newChip)
{
    chip = std::move(newChip);
    if (chip) {
        chip->myTile = this;
        chip->myM3Level = myM3Level;
    }
}

void TM3Tile::SetObstaclesFromString(const std::string& text)
{
    obstacles.clear();
    for (const auto& part : SplitOn(text, '|')) {
        const int id = ParseInt(part);
        if (id == 0)
            continue;
        obstacles.push_back(myM3Game ? myM3Game->GetObstacleById(id) : nullptr);
    }
}

bool TM3Tile::SetDataFromString(const std::string& text, std::string* error)
{
    std::vector<std::string> fields;
    std::istringstream in(text);
    for (std::string f; in >> f;)
        fields.push_back(f);
    bool ok = true;
    if (fields.size() > 5) {
        ok = false;
        if (error)
            *error = "more than five fields";
    }
    if (fields.size() > 0 && !SetTilesData(fields[0])) {
        ok = false;
        if (error)
            *error = "more than two cell kinds (kept the first two)";
    }
    if (fields.size() > 1 && myM3Game)
        SetChip(myM3Game->CreateChipById(ParseInt(fields[1])));
    if (fields.size() > 2)
        SetObstaclesFromString(fields[2]);
    if (fields.size() > 3)
        SetTrace(ParseInt(fields[3]));
    if (fields.size() > 4)
        SetLocked(ParseInt(fields[4]));
    if (!td[0] && chip)
        chip.reset(); // a hole never holds a chip
    return ok;
}

// ---- COMMANDS ----

void TM3Tile::DropChip()
{
    if (!chip)
        return;
    PM3Chip held = chip;
    chip.reset();
    held->myTile = nullptr;
    if (!myM3Game)
        return;
    CountDrawPosition();
    auto drop = std::make_shared<TM3Drop>();
    drop->myM3Game = myM3Game;
    drop->myM3Level = myM3Level;
    drop->obj = held;
    drop->x = ActDrawX;
    drop->y = actDrawY;
    drop->ax = myM3Game->looks.Float(0.5f, 2.0f) * (myM3Game->looks.Int(0, 1) == 0 ? -1.0f : 1.0f);
    myM3Game->dropsList.push_back(drop);
    drop->update();
}

void TM3Tile::RemoveObstacle()
{
    if (obstacles.empty())
        return;
    TM3Obstacle* top = obstacles.back();
    if (myM3Game) {
        CountDrawPosition();
        if (top && (top->id == 1 || top->id == 2))
            myM3Game->PlaySound(1, 1.0f);
        else if (top && top->id == 3)
            myM3Game->PlaySound(2, 1.0f);
        if (myM3Game->scr)
            myM3Game->scr->ObstacleRemoved(top, ActDrawX, actDrawY);
        myM3Game->EVENT_ObstacleRemove(top ? top->Typ : 0);
    }
    if (top && top->LowerObstacle)
        obstacles.back() = top->LowerObstacle;
    else
        obstacles.pop_back();
}

void TM3Tile::CheckMatchHere()
{
    if (isObstacled() || !myM3Game)
        return;
    for (TM3Tile* t : myM3Game->GetMatchedTiles(this))
        if (t && t->chip)
            t->chip->Destroy(0, kDestroyMatch);
}

void TM3Tile::MatchChestNeighbors()
{
    static const int dirs[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& d : dirs) {
        TM3Tile* n = GetTileNeighbor(d[0], d[1]);
        if (n && n->isChestObstacleTop()) {
            n->RemoveObstacle();
            n->CheckMatchHere();
        }
    }
}

void TM3Tile::MatchTileData(int layer, int removeLast)
{
    if (layer < 0 || layer > 1 || !td[layer])
        return;
    const PM3TileData old = td[layer];
    if (old->younger) {
        if (myM3Game) {
            CountDrawPosition();
            if (myM3Game->scr)
                myM3Game->scr->TileCrashed(*old, ActDrawX, actDrawY);
            myM3Game->PlaySound(28, 1.0f);
            myM3Game->ReleaseCoin(*this);
            td[layer] = myM3Game->GetTileDataById(old->youngerId);
        }
    } else if (removeLast == 1) {
        td[layer].reset();
    }
}

void TM3Tile::MatchAtMe()
{
    MatchChestNeighbors();
    if (td[1])
        MatchTileData(1, 1);
    else if (td[0])
        MatchTileData(0, 0);
}

void TM3Tile::MatchWithDestroy()
{
    if (isObstacled()) {
        RemoveObstacle();
        return;
    }
    if (chip)
        chip->Destroy(0, kDestroyMatch);
    MatchAtMe();
}

void TM3Tile::FireSmallBombHere()
{
    if (!myM3Game)
        return;
    for (TM3Tile* t : myM3Game->GetBoxTiles(r, c, 1)) {
        if (!t->chip)
            continue;
        if (t == this) {
            t->chip->MyPower = 1;
            if (myM3Game->scr)
                myM3Game->scr->PowerChipFired(0, ActDrawX, actDrawY);
            t->MatchAtMe();
        } else {
            t->chip->Destroy(500, kDestroyMatch);
            t->MatchAtMe();
        }
    }
}

void TM3Tile::LightUp(int delayMs, int durationMs)
{
    LightStartTime = (myM3Game ? myM3Game->Now() : 0) + delayMs;
    LightTime = durationMs;
}

// ---- UPDATING ----

void TM3Tile::update()
{
    if (myM3FlyingTile)
        return;
    const float ff = myM3Game ? myM3Game->FF() : 1.0f;
    const int64_t now = myM3Game ? myM3Game->Now() : 0;
    if (LightStartTime != 0 && now >= LightStartTime)
        dLight = 1;
    if (LightStartTime != 0 && now > LightStartTime + LightTime)
        dLight = 0;
    if (Light < dLight) {
        Light = std::min(Light + 0.05f * ff, dLight);
    } else if (Light > dLight) {
        Light = std::max(Light - 0.05f * ff, dLight);
        if (Light == dLight)
            LightStartTime = 0;
    }
    FinderInt = 0;
    // Refill: an empty creator makes a chip that falls in from one cell above.
    // Under an obstacle the chip fades in where it is instead: nothing falls
    // into an obstacled cell.
    if (isCreator && !chip && td[0] && myM3Game) {
        PM3Chip fresh = myM3Game->CreateChipById(myM3Game->GetRandomChipId());
        if (fresh) {
            SetChip(fresh);
            fresh->alpha = 0;
            if (!isObstacled()) {
                fresh->ady = -tileH;
                fresh->state = kChipFall;
            }
        }
    }
}

// ---- DRAWING ----

void TM3Tile::CountDrawPosition()
{
    const float ox = myM3Level ? myM3Level->mx : 0;
    const float oy = myM3Level ? myM3Level->my : 0;
    ActDrawX = ox + drawX;
    actDrawY = oy + drawY;
}

void TM3Tile::draw()
{
    if (myM3FlyingTile || !td[0])
        return;
    CountDrawPosition();
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
    platform::SetRotation(0);
    platform::SetScale(1, 1);
    const float x = static_cast<float>(static_cast<int>(ActDrawX));
    const float y = static_cast<float>(static_cast<int>(actDrawY));
    td[0]->Draw(x, y);
    td[0]->Draw(x, y);
    if (Light != 0) {
        platform::SetBlend(platform::kBlendAdditive);
        platform::SetAlpha(Light * 0.35f);
        td[0]->Draw(x, y);
        td[0]->Draw(x, y);
        platform::SetBlend(platform::kBlendAlpha);
        platform::SetAlpha(1);
    }
    if (td[1])
        td[1]->Draw(x, y);
}

void TM3Tile::DrawFrame()
{
    if (!myM3Game || !myM3Game->borderImage || Frame.empty())
        return;
    CountDrawPosition();
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(myM3Game->scr ? myM3Game->scr->FrameAlpha() : 1.0f);
    platform::SetRotation(0);
    platform::SetScale(1, 1);
    const int frames = myM3Game->borderImage->Frames();
    for (int k : Frame)
        if (k >= 0 && k < frames)
            platform::DrawImage(myM3Game->borderImage, ActDrawX + 1, actDrawY, k);
    platform::SetAlpha(1);
}

void TM3Tile::drawObstacles()
{
    CountDrawPosition();
    drawObstaclesAt(ActDrawX, actDrawY);
}

void TM3Tile::drawObstaclesAt(float x, float y)
{
    for (auto* o : obstacles)
        if (o)
            o->draw(x, y);
}

void TM3Tile::Free()
{
    if (chip) {
        chip->myTile = nullptr;
        chip->Free();
    }
    chip.reset();
    obstacles.clear();
    td[0].reset();
    td[1].reset();
    character = nullptr;
    nextTile = nullptr;
}

} // namespace match3
