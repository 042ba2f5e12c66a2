// One chip on the board: its kind, its state machine (idle, falling straight
// or diagonally, landing bounce, waiting to be destroyed, being destroyed) and
// the values that animate it. The controller (TM3Game) updates every chip once
// per frame; every per-frame step is scaled by the controller's frame factor
// and every delay is read from the controller's application clock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "match3/m3data.h"

namespace match3 {

class TM3Game;
class TM3Level;
class TM3Tile;
class TM3Pair;

// Chip states.
enum : int {
    kChipNothing = 0,
    kChipFall = 1,
    kChipFallLeft = 2,
    kChipFallRight = 3,
    kChipWaitForDestroy = 4,
    kChipDestroy = 5,
    kChipLanding = 6, // the landing bounce ("DESTROY BASIC" in debug output)
};
// State names for debugging output, indexed by state number.
extern const char* const kChipStateNames[7];

// Destroy types (second argument of Destroy).
enum : int {
    kDestroyMatch = 0, // leaves the board at once (drop or collect)
    kDestroyCurve = 2, // the destroy curve only
    kDestroyHeat = 6,  // the destroy curve with a heat glow
};

class TM3Chip : public std::enable_shared_from_this<TM3Chip> {
public:
    TM3Game* myM3Game = nullptr;
    TM3Level* myM3Level = nullptr;
    TM3Tile* myTile = nullptr;         // the cell holding the chip; none once it left
    void* myM3FlyingChip = nullptr;    // fly objects carrying the chip (not owning)
    void* myFlyOut = nullptr;          // while set: neither updated nor drawn
    void* myFantom = nullptr;          // while set: not drawn
    PM3ChipData cd;
    TM3Pair* _pair = nullptr;          // the swap holding the chip; not owning
    PM3ChipData NextCD;                // kind being morphed into
    const TM3AnimData* actAnim = nullptr;
    int64_t actAnimTime = 0;
    int animFrame = 0, actFrame = 0, actAnimLoop = 0;
    int state = kChipNothing;
    float statePer = 0, dStatePer = 0, statePerSpeed = 0;
    float rot = 0, scale = 1, dScale = 1, alpha = 1, dAlpha = 1, lightAlpha = 0;
    float ChangePer = 0;
    float actDrawX = 0, actDrawY = 0;
    float adx = 0, ady = 0;
    float landVY = 0;
    float oAdx = 0, oAdy = 0, dOadx = 0, dOady = 0;
    float Heat = 0, dHeat = 0;
    int64_t waitTime = 0;
    int64_t partTime = 0;
    int destroyType = 0;
    float actFallSpeed = 0;
    int MyPower = 0;
    int CrossInterwal = 80;
    float pickedPer = 0.5f, dPickedPer = 0.5f;
    bool morphDone_ = false;           // the morph reached 1 last frame

    // ---- GETTING ----
    bool isFree() const { return _pair == nullptr && state == kChipNothing && !NextCD; }
    bool isDestroyed() const { return state == kChipWaitForDestroy || state == kChipDestroy; }
    bool isFalling() const { return state >= kChipFall && state <= kChipFallRight; }
    bool isMoving() const { return isFalling(); }
    bool isDoingNothing() const { return state == kChipNothing; }
    bool isMorphing() const { return NextCD != nullptr; }
    int KindId() const { return cd ? cd->id : 0; }
    bool isPowerChip() const { return cd && IsPowerChipId(cd->id); }

    // ---- SETTING ----
    void SetChipData(PM3ChipData kind);
    void SetState(int n) { state = n; }

    // ---- COMMANDS ----
    void PlayAnim(int animId, int loop);
    void Fall();
    void FallLeft();
    void FallRight();
    void StopFall();
    void Destroy(int delayMs, int type);
    void StartDestroy();
    void DestroyNow();
    void DestroyByFall();
    void DestroyAsPowerUp();
    void HeatUp() { dHeat = 1; }
    void ChangeInto(PM3ChipData kind);
    void ChangeInto_NOW(PM3ChipData kind);

    // ---- UPDATING ----
    // One frame; returns 1 in the frame a fall step reaches its cell.
    int update();

    // ---- DRAWING ----
    void CountDrawPosition();
    void draw();
    void drawInChain();
    void drawInGroup();
    void DrawHeat();
    void Free();

private:
    bool MoveTo(TM3Tile* target); // false when the cell cannot take the chip
    int UpdateState();
    void UpdateAnim();
};

using PM3Chip = std::shared_ptr<TM3Chip>;

} // namespace match3
