// Text classes: a font with a colour, an outline colour and a drop shadow, so
// that every caption of the program is drawn in one of a fixed set of styles.
//
// Drawing with a class puts down up to three layers, each at the caller's
// alpha times the layer's own factor: the shadow (black, offset), the outline
// (four copies at diagonal one-unit offsets) and the text itself. Afterwards
// the caller's alpha, colour and blend are back; the class's font stays
// selected.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/platform/font.h"
#include "fx/records.h"

namespace gui {

class TTextClass {
public:
    // none: the platform's default font.
    platform::FontPtr Font;
    // none: the text itself is not drawn (only shadow and outline).
    std::optional<TRGB> Color = CreateRGB(255, 255, 255, 1);
    // none: no outline. Its alpha is the outline's alpha factor.
    std::optional<TRGB> Outline;
    // none: no shadow. x, y: the shadow offset; w: the shadow's alpha factor.
    std::optional<TDim> Shadow;

    // A new class sharing the font, with copies of the three records.
    std::shared_ptr<TTextClass> Copy() const;

    // ---- DRAWING ----
    // Shadow, outline and text at (x, y), the text's top-left corner.
    void DrawTextXY(const std::string& text, float x, float y) const;

    // Selects this class's font for drawing and measuring.
    void SelectFont() const;

    // Remembers the current drawing alpha and colour (one saved slot).
    static void PushData();
    // Restores the alpha and colour remembered by PushData.
    static void PopData();
};

using PTextClass = std::shared_ptr<TTextClass>;

// A class with exactly these four settings (each may be none).
PTextClass NewTextClass(platform::FontPtr font, std::optional<TRGB> color, std::optional<TRGB> outline,
                        std::optional<TDim> shadow);
// n classes with no font, colour, outline or shadow: they draw nothing until set.
std::vector<PTextClass> NewTextClassArray(int n);

// ---- The current text class ----
// Initially a class with default settings (default font, white, no outline or shadow).
void SetTextClass(PTextClass textClass); // may be none
const PTextClass& CurrentTextClass();
// With no current class the text is drawn plainly in the current drawing state;
// otherwise with the current class.
void DrawTextWithClass(const std::string& text, float x, float y);
// Width of the text and the line height, in the current class's font (the
// font in force when there is no current class).
int TextClassWidth(const std::string& text);
int TextClassHeight(const std::string& text);

} // namespace gui
