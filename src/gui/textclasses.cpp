#include "gui/textclasses.h"

#include <optional>
#include <vector>

#include "app/paths.h"
#include "gui/fonts.h"

namespace gui {

namespace {

struct ProgramClasses {
    std::vector<gui::PTextClass> classes; // index n - 1
    TextButtonClasses large{};
    TextButtonClasses small{};
};

ProgramClasses& Classes()
{
    static ProgramClasses c;
    return c;
}

// One row of the table: which font file, pixel size, colour, outline colour
// (drawn when hasOutline) and shadow alpha factor (0 for no shadow).
struct Row {
    bool font2;
    int size;
    int r, g, b;
    bool hasOutline;
    float shadow;
};

constexpr Row kRows[kProgramTextClassCount] = {
    {true, 20, 255, 255, 255, false, 0},     // 1
    {true, 28, 255, 255, 255, false, 0},     // 2
    {true, 24, 255, 255, 0, false, 0.5f},    // 3  yellow, price and cash
    {true, 24, 255, 0, 0, false, 0.5f},      // 4  red, price out of reach
    {true, 20, 255, 255, 255, false, 0},     // 5
    {true, 26, 255, 255, 255, false, 0},     // 6
    {true, 48, 255, 255, 255, false, 0},     // 7
    {false, 32, 255, 255, 255, false, 0},    // 8
    {true, 20, 255, 255, 255, false, 0.5f},  // 9
    {true, 32, 255, 255, 255, false, 0.5f},  // 10
    {true, 32, 255, 255, 255, false, 0},     // 11
    {true, 32, 255, 200, 100, false, 0},     // 12
    {true, 24, 255, 255, 0, false, 0.5f},    // 13
    {true, 32, 255, 255, 0, false, 0.5f},    // 14 large button: normal
    {true, 32, 255, 255, 255, false, 0.5f},  // 15 large button: under the pointer
    {true, 32, 255, 0, 0, false, 0.5f},      // 16 large button: pressed
    {true, 32, 100, 100, 100, false, 0.5f},  // 17 large button: inactive
    {true, 24, 255, 255, 255, true, 0.5f},   // 18
    {true, 20, 255, 255, 255, false, 0},     // 19
    {true, 24, 100, 255, 255, true, 0.5f},   // 20
    {true, 34, 100, 255, 255, true, 0.5f},   // 21
    {true, 42, 100, 255, 255, true, 0.5f},   // 22
    {true, 18, 0, 0, 0, false, 0},           // 23 dialog speech
    {true, 24, 255, 255, 255, false, 0.25f}, // 24
    {true, 30, 255, 255, 0, false, 0.25f},   // 25
    {true, 32, 255, 255, 255, false, 0.5f},  // 26
    {true, 24, 255, 255, 255, false, 0},     // 27
    {true, 24, 255, 255, 0, false, 0.5f},    // 28 small button: normal
    {true, 24, 255, 255, 255, false, 0.5f},  // 29 small button: under the pointer
    {true, 24, 255, 0, 0, false, 0.5f},      // 30 small button: pressed
    {true, 24, 100, 100, 100, false, 0.5f},  // 31 small button: inactive
    {true, 16, 255, 255, 255, false, 0.5f},  // 32
    {true, 24, 255, 255, 0, false, 0.5f},    // 33
    {true, 18, 255, 255, 255, false, 0.5f},  // 34 high scores
    {false, 52, 255, 255, 255, false, 0},    // 35 chapter number
    {false, 26, 255, 255, 255, false, 0},    // 36 chapter title
};

// Every outline of the table is black.
constexpr int kOutlineR = 0, kOutlineG = 0, kOutlineB = 0;
// The shadow is a black copy this far right and down.
constexpr float kShadowOffset = 2;

} // namespace

void CreateProgramTextClasses()
{
    ProgramClasses& c = Classes();
    c.classes.clear();
    for (const Row& row : kRows) {
        const std::string font = app::GameDir() + (row.font2 ? "gfx/font2.ttf" : "gfx/font.ttf");
        std::optional<TRGB> outline;
        if (row.hasOutline)
            outline = CreateRGB(kOutlineR, kOutlineG, kOutlineB, 1);
        std::optional<TDim> shadow;
        if (row.shadow > 0)
            shadow = CreateDim(kShadowOffset, kShadowOffset, row.shadow, 0);
        c.classes.push_back(gui::NewTextClass(gui::GetFont(font, row.size), CreateRGB(row.r, row.g, row.b, 1),
                                              outline, shadow));
    }
    c.large = {c.classes[13], c.classes[14], c.classes[15], c.classes[16]};
    c.small = {c.classes[27], c.classes[28], c.classes[29], c.classes[30]};
}

const gui::PTextClass& TextClass(int n)
{
    static const gui::PTextClass none;
    const ProgramClasses& c = Classes();
    if (n < 1 || n > static_cast<int>(c.classes.size()))
        return none;
    return c.classes[static_cast<size_t>(n - 1)];
}

const TextButtonClasses& TextButtonClassSet(int which)
{
    static const TextButtonClasses none{};
    if (which == 1)
        return Classes().large;
    if (which == 2)
        return Classes().small;
    return none;
}

} // namespace gui
