// Things the level screen flies over the board: whole cells (with their floor,
// chip and obstacles) on curved paths for the fly-in and the end animations,
// and chips that shrink away and come back as another kind for a reshuffle.
// While a cell flies the board neither updates nor draws it in place; while a
// chip is away the board neither updates nor draws it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "match3/m3chip.h"
#include "match3/m3data.h"
#include "match3/m3tile.h"

namespace level {

class TFlyObject {
public:
    virtual ~TFlyObject() = default;
    bool kept = false;    // stays at its end point once arrived
    bool arrived = false;
    // One frame; false once the object is done and may leave the list.
    virtual bool Update(int64_t now) = 0;
    virtual void Draw() const = 0;
    // Lets go of what it carries (level end, leaving the screen).
    virtual void Release() {}
};

// A cell on a cubic Bezier path given as offsets from its place.
class TFlyingTile : public TFlyObject {
public:
    match3::TM3Tile* tile = nullptr;
    float p0x = 0, p0y = 0, p1x = 0, p1y = 0, p2x = 0, p2y = 0, p3x = 0, p3y = 0;
    int64_t startTime = 0;
    int duration = 1000;
    float endRot = 0;
    float x = 0, y = 0, rot = 0, per = 0;

    TFlyingTile(match3::TM3Tile* t, int64_t start, int durationMs);
    // Offsets of the four curve points from the cell's place.
    void SetPath(float sx, float sy, float c1x, float c1y, float c2x, float c2y, float ex, float ey);
    bool Update(int64_t now) override;
    void Draw() const override;
    void Release() override;
};

// A chip that shrinks away, takes its new kind and grows back.
class TChipFlip : public TFlyObject {
public:
    match3::PM3Chip chip;
    match3::PM3ChipData newKind;
    int64_t startTime = 0;
    int duration = 600;
    float scale = 1;
    bool changed = false;

    TChipFlip(match3::PM3Chip c, match3::PM3ChipData kind, int64_t start);
    bool Update(int64_t now) override;
    void Draw() const override;
    void Release() override;
};

class TFlyList {
public:
    std::vector<std::shared_ptr<TFlyObject>> items;
    void Add(std::shared_ptr<TFlyObject> f) { items.push_back(std::move(f)); }
    void Update(int64_t now);
    void Draw() const;
    // Every object lets go of its cell or chip and the list empties.
    void Clear();
    size_t Count() const { return items.size(); }
    size_t KeptCount() const;
};

} // namespace level
