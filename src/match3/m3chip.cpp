// Chip state machine, motion and drawing.
#include "match3/m3chip.h"

#include <algorithm>
#include <cmath>

#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "match3/m3game.h"

namespace match3 {

const char* const kChipStateNames[7] = {"NOTHING",          "FALL",    "FALL LEFT",    "FALL RIGHT",
                                        "WAIT FOR DESTROY", "DESTROY", "DESTROY BASIC"};

namespace {

// Moves value toward target by step without passing it.
float Toward(float value, float target, float step)
{
    if (value < target)
        return std::min(value + step, target);
    if (value > target)
        return std::max(value - step, target);
    return value;
}

} // namespace

// ---- SETTING ----

void TM3Chip::SetChipData(PM3ChipData kind)
{
    cd = std::move(kind);
    actAnim = nullptr;
    animFrame = 0;
    actFrame = 0;
}

// ---- COMMANDS ----

void TM3Chip::PlayAnim(int animId, int loop)
{
    actAnim = cd ? cd->FindAnim(animId) : nullptr;
    animFrame = 0;
    actAnimLoop = loop;
    if (actAnim && !actAnim->frame.empty()) {
        actFrame = actAnim->frame[0];
        actAnimTime = (myM3Game ? myM3Game->Now() : 0) + actAnim->frameTime[0];
    } else {
        actFrame = 0;
    }
}

bool TM3Chip::MoveTo(TM3Tile* target)
{
    // A fall step never leaves a cell under an obstacle and only ever enters
    // an empty, open cell: never one that holds a chip or an obstacle.
    if (!target || !target->isFreeToMoveChip() || (myTile && myTile->isObstacled()))
        return false;
    auto self = shared_from_this();
    if (myTile && myTile->chip.get() == this)
        myTile->chip.reset();
    target->SetChip(self);
    return true;
}

void TM3Chip::Fall()
{
    if (!myTile || !myM3Game)
        return;
    TM3Tile* below = myTile->GetTileNeighbor(1, 0);
    if (!MoveTo(below))
        return;
    state = kChipFall;
    ady = -below->tileH - ady;
}

void TM3Chip::FallLeft()
{
    if (!myTile)
        return;
    TM3Tile* target = myTile->GetTileNeighbor(1, -1);
    if (!MoveTo(target))
        return;
    state = kChipFallLeft;
    adx = target->tileW;
    ady = -target->tileH - ady;
}

void TM3Chip::FallRight()
{
    if (!myTile)
        return;
    TM3Tile* target = myTile->GetTileNeighbor(1, 1);
    if (!MoveTo(target))
        return;
    state = kChipFallRight;
    adx = -target->tileW;
    ady = -target->tileH - ady;
}

void TM3Chip::StopFall()
{
    if (isDestroyed()) {
        ady = 0;
        return;
    }
    state = kChipLanding;
    ady = 0;
    landVY = myM3Game ? -myM3Game->speedFallChip / 3 : 0;
    actFallSpeed = 0;
    if (myM3Game) {
        static const int sounds[3] = {3, 21, 22};
        myM3Game->PlaySound(sounds[myM3Game->looks.Int(0, 2)], 1.0f);
    }
}

void TM3Chip::Destroy(int delayMs, int type)
{
    if (isDestroyed())
        return;
    destroyType = type;
    if (delayMs == 0) {
        StartDestroy();
        return;
    }
    waitTime = (myM3Game ? myM3Game->Now() : 0) + delayMs;
    state = kChipWaitForDestroy;
}

void TM3Chip::StartDestroy()
{
    auto self = shared_from_this();
    if (myTile && myTile->isObstacled()) {
        // The obstacle takes the hit; the chip stays.
        myTile->RemoveObstacle();
        state = kChipNothing;
        return;
    }
    state = kChipDestroy;
    if (destroyType == kDestroyMatch && myM3Game) {
        static const int sounds[3] = {4, 23, 24};
        myM3Game->PlaySound(sounds[myM3Game->looks.Int(0, 2)], 0.3f);
    }
    if (myTile)
        myTile->MatchAtMe();
    statePer = 0;
    dStatePer = 1;
    statePerSpeed = 0.035f;
}

void TM3Chip::DestroyNow()
{
    auto self = shared_from_this();
    if (myTile && myTile->chip.get() == this)
        myTile->chip.reset();
    myTile = nullptr;
}

void TM3Chip::DestroyByFall()
{
    auto self = shared_from_this();
    if (myM3Game) {
        CountDrawPosition();
        auto drop = std::make_shared<TM3Drop>();
        drop->myM3Game = myM3Game;
        drop->myM3Level = myM3Level;
        drop->obj = self;
        drop->x = actDrawX;
        drop->y = actDrawY;
        drop->ax = myM3Game->looks.Float(0.5f, 2.0f) * (myM3Game->looks.Int(0, 1) == 0 ? -1.0f : 1.0f);
        myM3Game->screenDropsList.push_back(drop);
        drop->update();
    }
    DestroyNow();
}

void TM3Chip::DestroyAsPowerUp()
{
    auto self = shared_from_this();
    TM3Tile* cell = myTile;
    if (myM3Game && cell) {
        switch (KindId()) {
        case kChipCross: myM3Game->Cross(cell); break;
        case kChipLightning: myM3Game->Lightning(cell); break;
        case kChipBomb: myM3Game->Bomb(cell); break;
        default: break;
        }
    }
    DestroyNow();
    Free();
}

void TM3Chip::ChangeInto(PM3ChipData kind)
{
    NextCD = std::move(kind);
    ChangePer = 0;
    morphDone_ = false;
}

void TM3Chip::ChangeInto_NOW(PM3ChipData kind)
{
    SetChipData(std::move(kind));
}

// ---- UPDATING ----

void TM3Chip::UpdateAnim()
{
    if (!cd || cd->anims.empty())
        return;
    if (!actAnim) {
        PlayAnim(cd->standardAnim, 1);
        return;
    }
    const int64_t now = myM3Game ? myM3Game->Now() : 0;
    if (now < actAnimTime)
        return;
    ++animFrame;
    if (animFrame >= static_cast<int>(actAnim->frame.size())) {
        if (actAnimLoop)
            PlayAnim(actAnim->id, 1);
        else
            animFrame = static_cast<int>(actAnim->frame.size()) - 1;
        return;
    }
    actFrame = actAnim->frame[static_cast<size_t>(animFrame)];
    actAnimTime = now + actAnim->frameTime[static_cast<size_t>(animFrame)];
}

int TM3Chip::update()
{
    if (myFlyOut)
        return 0;
    auto self = shared_from_this();
    const float ff = myM3Game ? myM3Game->FF() : 1.0f;

    // Heat glow; a full glow drops the chip off the board.
    if (Heat < dHeat) {
        Heat = std::min(Heat + 0.02f * ff, dHeat);
        if (Heat >= dHeat) {
            DestroyByFall();
            return 0;
        }
    }
    statePer = Toward(statePer, dStatePer, statePerSpeed * ff);

    // The picked chip rocks between -15 and +15 degrees.
    pickedPer = Toward(pickedPer, dPickedPer, 0.05f * ff);
    if (myM3Game && myTile && myM3Game->pTile == myTile) {
        if (pickedPer == dPickedPer)
            dPickedPer = dPickedPer == 0 ? 1.0f : 0.0f;
    } else {
        dPickedPer = 0.5f;
    }
    rot = -15 + 30 * pickedPer;

    oAdx = oAdx < dOadx ? std::min(oAdx + 1.0f * ff, dOadx) : std::max(oAdx - 0.25f * ff, dOadx);
    oAdy = oAdy < dOady ? std::min(oAdy + 1.0f * ff, dOady) : std::max(oAdy - 0.25f * ff, dOady);
    alpha = Toward(alpha, dAlpha, 0.05f * ff);
    scale = Toward(scale, dScale, 0.05f * ff);
    UpdateAnim();

    if (NextCD) {
        if (morphDone_) {
            SetChipData(NextCD);
            NextCD.reset();
            ChangePer = 0;
            morphDone_ = false;
        } else {
            ChangePer = std::min(ChangePer + 0.02f * ff, 1.0f);
            morphDone_ = ChangePer >= 1.0f;
        }
    }
    return UpdateState();
}

int TM3Chip::UpdateState()
{
    const float ff = myM3Game ? myM3Game->FF() : 1.0f;
    const float fallSpeed = myM3Game ? myM3Game->speedFallChip : 0;
    switch (state) {
    case kChipFall: {
        dAlpha = 1;
        // Without a configured speed the step ends at once rather than never.
        if (myM3Game && myM3Game->isSlowFallAvailable && !myM3Game->isSideFallAvailable &&
            myM3Game->speedFallAcc > 0 && fallSpeed > 0) {
            ady += actFallSpeed * ff;
            actFallSpeed = std::min(actFallSpeed + myM3Game->speedFallAcc * ff, fallSpeed);
        } else if (fallSpeed > 0) {
            ady += fallSpeed * ff;
        } else {
            ady = 1;
        }
        if (ady > 0) {
            ady = 0;
            return 1;
        }
        return 0;
    }
    case kChipFallLeft:
    case kChipFallRight: {
        const float step = fallSpeed > 0 ? fallSpeed * ff : std::max(-ady, std::fabs(adx)) + 1;
        ady += step;
        adx += state == kChipFallLeft ? -step : step;
        if (ady > 0) {
            ady = 0;
            adx = 0;
            return 1;
        }
        return 0;
    }
    case kChipLanding: {
        ady += landVY * ff;
        landVY = std::min(landVY + (myM3Game ? myM3Game->speedLandAcc : 0) * ff, fallSpeed / 2);
        // A bounce that could never come back down (no deceleration or no
        // fall speed configured) ends at once instead of holding the chip.
        const float acc = myM3Game ? myM3Game->speedLandAcc : 0;
        if (ady > 0 || acc <= 0 || fallSpeed <= 0) {
            ady = 0;
            state = kChipNothing;
        }
        return 0;
    }
    case kChipWaitForDestroy:
        if (!myM3Game || myM3Game->Now() >= waitTime)
            StartDestroy();
        return 0;
    case kChipDestroy: {
        if (myM3Game && myM3Game->Now() < waitTime)
            return 0;
        if (isPowerChip()) {
            statePer = 1;
            DestroyNow();
            return 0;
        }
        if (destroyType == kDestroyHeat) {
            Heat = statePer <= 0.7f ? statePer / 0.7f : 1 - (statePer - 0.7f) / 0.3f;
        } else if (destroyType == kDestroyMatch) {
            statePer = 1;
            CountDrawPosition();
            if (myM3Game) {
                if (cd)
                    if (myM3Game->scr)
                        myM3Game->scr->ChipParticles(*cd, actDrawX, actDrawY);
                const bool collected = myM3Game->scr && myM3Game->scr->CollectChip(*this, actDrawX, actDrawY);
                if (!collected) {
                    auto drop = std::make_shared<TM3Drop>();
                    drop->myM3Game = myM3Game;
                    drop->myM3Level = myM3Level;
                    drop->obj = shared_from_this();
                    drop->x = actDrawX;
                    drop->y = actDrawY;
                    drop->ax = myM3Game->looks.Float(0.5f, 2.0f) * (myM3Game->looks.Int(0, 1) == 0 ? -1.0f : 1.0f);
                    myM3Game->screenDropsList.push_back(drop);
                    drop->update();
                }
                if (myM3Game->scr)
                    myM3Game->scr->AddScore(actDrawX, actDrawY, 10);
                else if (myM3Level)
                    myM3Level->Score += 10;
            }
        }
        if (statePer < 0.3f) {
            const float s = platform::SinD(statePer / 0.3f * 90);
            scale = 1 + 0.25f * s;
            rot = 0;
            lightAlpha = 0.75f * s;
        } else {
            const float s = platform::SinD((statePer - 0.3f) / 0.7f * 90);
            scale = 1.25f - 1.25f * s;
            rot = -180 * s;
            lightAlpha = 0.75f - 0.75f * s;
        }
        if (statePer >= 1)
            DestroyNow();
        return 0;
    }
    default:
        return 0;
    }
}

// ---- DRAWING ----

void TM3Chip::CountDrawPosition()
{
    const float ox = myM3Level ? myM3Level->mx : 0;
    const float oy = myM3Level ? myM3Level->my : 0;
    const float tx = myTile ? myTile->drawX : 0;
    const float ty = myTile ? myTile->drawY : 0;
    actDrawX = ox + tx + adx + oAdx;
    actDrawY = oy + ty + ady + oAdy;
}

void TM3Chip::draw()
{
    if (myFlyOut || myFantom || _pair || !cd)
        return;
    CountDrawPosition();
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetColor(255, 255, 255);
    platform::SetRotation(rot);
    platform::SetScale(scale, scale);
    if (!NextCD) {
        platform::SetAlpha(alpha);
        cd->Draw(actDrawX, actDrawY, actFrame);
    } else {
        platform::SetAlpha(1 - alpha * ChangePer);
        cd->Draw(actDrawX, actDrawY, actFrame);
        platform::SetAlpha(alpha * ChangePer);
        NextCD->Draw(actDrawX, actDrawY, 0);
    }
    if (Heat != 0)
        DrawHeat();
    if (lightAlpha != 0) {
        platform::SetBlend(platform::kBlendAdditive);
        platform::SetAlpha(alpha * lightAlpha);
        cd->Draw(actDrawX, actDrawY, actFrame);
    }
    platform::ResetDrawState();
}

void TM3Chip::DrawHeat()
{
    const gui::PImg light = myM3Game ? myM3Game->chipLight : nullptr;
    if (!light)
        return;
    platform::SetBlend(platform::kBlendAdditive);
    platform::SetAlpha(Heat * 0.75f);
    const struct {
        int r, g, b;
        float s;
    } layers[3] = {{255, 0, 0, 1.0f}, {255, 255, 0, 0.5f}, {255, 255, 255, 0.25f}};
    for (const auto& l : layers) {
        platform::SetColor(l.r, l.g, l.b);
        platform::SetScale(scale * l.s, scale * l.s);
        light->draw(actDrawX, actDrawY);
    }
    platform::SetColor(255, 255, 255);
    platform::SetScale(scale, scale);
}

void TM3Chip::drawInChain()
{
    if (!cd)
        return;
    CountDrawPosition();
    platform::SetBlend(platform::kBlendAdditive);
    platform::SetAlpha(alpha * 0.5f);
    cd->Draw(actDrawX, actDrawY, actFrame);
    platform::ResetDrawState();
}

void TM3Chip::drawInGroup()
{
    drawInChain();
}

void TM3Chip::Free()
{
    _pair = nullptr;
    NextCD.reset();
    actAnim = nullptr;
}

} // namespace match3
