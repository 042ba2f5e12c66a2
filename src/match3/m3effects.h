// Drops (destroyed chips falling off the screen), fantoms (chips spiralling
// into a new power chip) and the reshuffle arrangement.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "match3/m3chip.h"

namespace platform {
class Random;
}

namespace match3 {

class TM3Game;
class TM3Level;

class TM3Drop {
public:
    TM3Game* myM3Game = nullptr;
    TM3Level* myM3Level = nullptr;
    PM3Chip obj;
    float speed = -1;
    float x = 0, y = 0;
    float ax = 0;
    float rot = 0, Alpha = 1, dAlpha = 1;
    int64_t PartTime = 0;
    int isRotating = 0;
    float RotSpeed = 0;
    bool dead = false; // removed from its list at the end of the pass

    // One frame; false once the drop is done.
    bool update();
    void draw() const;
    void Repulse();
};

class TM3ChipFantom {
public:
    float x = 0, y = 0;
    PM3Chip c;
    float cx = 0, cy = 0;
    float per = 0;
    float speed = 0.02f;
    float Dist = 0;
    float Angle = 0;
    bool dead = false;

    // One frame; false once the fantom is done.
    bool Update(float frameFactor);
    void Draw(const gui::PImg& chipLight) const;
};

using PM3Drop = std::shared_ptr<TM3Drop>;
using PM3ChipFantom = std::shared_ptr<TM3ChipFantom>;

// The reshuffle arrangement: a rows x cols array of kind ids drawn from `ids`
// (ids separated by blanks) so that no line of three forms. Each position
// chooses uniformly among the ids still allowed there; when none is allowed
// (fewer than three kinds can force that) it chooses among all ids.
class M3ChipRandomizer {
public:
    static std::vector<std::vector<int>> RandomizeArray(int rows, int cols, const std::string& ids,
                                                        platform::Random& rng);
    // True when placing id at (r, c) completes a line of three with values
    // already in the array (0 never matches).
    static bool MakesLine(const std::vector<std::vector<int>>& a, int r, int c, int id);
};

} // namespace match3
