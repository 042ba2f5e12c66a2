// The one program-wide drawing state and the drawing operations.
//
// Every operation reads the state as it is when called; callers set what they
// need before drawing. Positions are virtual units; the origin is added to them.
#pragma once

#include <memory>
#include <string>

#include "app/platform/display.h"

namespace platform {

class Image;
class Font;

// Blend codes used by the program.
constexpr int kBlendAlpha = 3;    // src * a + dst * (1 - src_a * a)
constexpr int kBlendAdditive = 4; // dst + src * a

// ---- Drawing state ----

void SetColor(int r, int g, int b); // 0-255 each, clamped; tints by multiplication
int ColorRed();
int ColorGreen();
int ColorBlue();
void SetAlpha(float alpha); // clamped to 0..1
float GetAlpha();
void SetBlend(int mode);    // 3 alpha, 4 additive; other codes act as 3
int GetBlend();
void SetScale(float sx, float sy);
float ScaleX();
float ScaleY();
void SetRotation(float degrees); // positive turns clockwise on screen
float GetRotation();
// The font used by DrawText/TextWidth/TextHeight; nullptr selects the built-in
// default font.
void SetFont(std::shared_ptr<Font> font);
std::shared_ptr<Font> GetFont();

// The origin is added to every drawing position. The viewport clips drawing
// (virtual units of the projected area, without the origin).
void SetOrigin(float x, float y);
float OriginX();
float OriginY();
void SetViewport(float x, float y, float w, float h);
Rect GetViewport();

// Back to the initial state: white, alpha 1, blend 3, scale 1, rotation 0,
// default font. Origin and viewport are left alone.
void ResetDrawState();

// ---- Drawing ----

// Places the frame so that its handle lies at (x, y) + origin, scaled and
// rotated about the handle, tinted by colour and alpha. nullptr draws nothing.
void DrawImage(const std::shared_ptr<Image>& image, float x, float y, int frame = 0);

// Stretches the source rectangle (sx, sy, sw, sh) of the frame to w x h and
// places it like an image whose handle is (hx, hy).
void DrawImageRect(const std::shared_ptr<Image>& image, float x, float y, float w, float h,
                   float sx, float sy, float sw, float sh, float hx, float hy, int frame = 0);

// Filled rectangle, top-left at (x, y), scaled and rotated about that corner.
void DrawRect(float x, float y, float w, float h);

// One-unit-wide line from (x1, y1) to (x2, y2), the end pixel included.
void DrawLine(float x1, float y1, float x2, float y2);

// UTF-8 text with its top-left corner at (x, y) in the current font, scaled
// and rotated about that corner, tinted by colour and alpha.
void DrawText(const std::string& text, float x, float y);

// Unscaled pixel width of the text in the current font, and the height of the
// current font (its line height). Both equal the drawn extent at scale 1.
int TextWidth(const std::string& text);
int TextHeight();

} // namespace platform
