// The program-wide text classes, numbered from 1 as the screens refer to them
// ("text class 3" is TextClass(3)), and the two four-state text-button sets.
#pragma once

#include <array>

#include "gui/textclass.h"

namespace gui {

// Creates the 36 classes in their fixed order, loading the fonts
// "gfx/font2.ttf" and "gfx/font.ttf" of the game folder through the font
// cache, and the two button sets. Calling it again replaces them.
void CreateProgramTextClasses();

// Text class n (1 to 36); none outside that range or before creation.
const gui::PTextClass& TextClass(int n);
constexpr int kProgramTextClassCount = 36;

// The two sets of text classes for the states of text buttons (normal, over,
// pressed, inactive): set 1 is classes 14 to 17 (size 32), set 2 is classes
// 28 to 31 (size 24). The entries are those same classes, not copies.
using TextButtonClasses = std::array<gui::PTextClass, 4>;
const TextButtonClasses& TextButtonClassSet(int which);

} // namespace gui
