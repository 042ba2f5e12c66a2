// Word-wrapped text: a text laid out into lines that fit a box of fixed width,
// measured with the same font metrics that draw it, and its ways of drawing.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {
class Font;
}

namespace gui {

class TTextClass;

class TFormatedText {
public:
    std::vector<std::string> texts;        // the lines, in order
    std::shared_ptr<platform::Font> font;  // measuring and plain drawing; null: the default font
    int lines = 0;                         // number of lines
    int OneHeight = 0;                     // font height + extra line height
    int Width = 0;                         // the box width the text was wrapped to
    int Height = 0;                        // lines x OneHeight
    int pomY = 0;                          // y of the last outlined drawing

    // ---- DRAWING ----

    // Every line in the text class (shadow, outline, colour and font of the
    // class), the first line's top at (x, y), each next line OneHeight lower.
    // align 0: lines start at x; 1: centred in the box; 2: lines end at
    // x + Width. Widths are measured in the class's font. Scale and rotation
    // are left as they are. Without a class the lines are drawn plainly in
    // the current drawing state and the record's font.
    void DrawWithTextClass(float x, float y, const std::shared_ptr<TTextClass>& textClass, int align) const;

    // Scale 1, rotation 0 and the record's font; every line in the current
    // colour and alpha at x, or centred in the box when `centred` is non-zero.
    void Draw(float x, float y, int centred) const;

    // Every line four times in black at the diagonal one-pixel offsets, then
    // once in (r, g, b) on top. Left-aligned. Leaves the colour at (r, g, b).
    void DrawOutLined(float x, float y, int r, int g, int b);

    // ---- GETTING ----

    int CountHeight();

    // The x of a line `lineWidth` pixels wide in a box `boxWidth` wide at x:
    // align 0 left, 1 centred (halves truncated toward zero), 2 right.
    static float LineX(float x, int boxWidth, int lineWidth, int align);
};

using PFormatedText = std::shared_ptr<TFormatedText>;

// Wraps `text` into lines no wider than `width` pixels in `font` (null: the
// default font). Words are the pieces between blanks and are never broken: a
// word wider than the box stands alone on its own, wider line. A line feed (or
// CR LF) forces a new line; an empty text gives one empty line of height 0.
// The drawing state is left as it was.
TFormatedText FormatText(const std::string& text, const std::shared_ptr<platform::Font>& font, int width,
                         int extra = 0);

} // namespace gui
