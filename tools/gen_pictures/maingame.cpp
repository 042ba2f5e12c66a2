// The level play screen: its panels (upper, left, time, lower), the time bar, the
// in-game menu button, the tool cursors and the hint arrow; and one still
// backdrop per background set. Panel sizes follow the widget positions the
// screen uses: the upper panel sits at (-75, 0) and carries the menu button at
// (24, 8), the coin box at (544, 22), the score box at (900, 26) and the level
// box at (1024, 26); the time panel sits at (1061, 194) with its 304-pixel bar
// at (90, 53).
#include "families.h"

#include <cmath>
#include <map>

namespace gp {

namespace {

std::string GameWord(const std::string& language, const std::string& key) {
    static const std::map<std::string, std::map<std::string, std::string>> words = {
        {"English", {{"menu", "Menu"}, {"coins", "Coins"}, {"score", "Score"}, {"level", "Level"}, {"time", "Time"}}},
    };
    for (const std::string& lang : {language, std::string("English")}) {
        auto l = words.find(lang);
        if (l == words.end())
            continue;
        auto w = l->second.find(key);
        if (w != l->second.end())
            return w->second;
    }
    return key;
}

// A plum panel body with a gold trim, filling (x, y, w, h) with corner radius r.
void PanelBody(Canvas& cv, double x, double y, double w, double h, double r) {
    cairo_t* cr = cv.cr();
    auto body = [&](cairo_t* c) { RoundedRect(c, x, y, w, h, r); };
    cv.Shadow(body, 2, 3, 5, WithAlpha(pal::Ink, 0.5));
    body(cr);
    FillVertical(cr, y, y + h, Lighter(pal::Plum, 0.12), pal::PlumDeep);
    SetColour(cr, Darker(pal::Plum, 0.5));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    RoundedRect(cr, x + 5, y + 5, w - 10, h - 10, std::max(2.0, r - 5));
    SetColour(cr, WithAlpha(pal::Gold, 0.85));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// A dark inset box where the game writes a number.
void ValueBox(Canvas& cv, double x, double y, double w, double h) {
    cairo_t* cr = cv.cr();
    RoundedRect(cr, x, y, w, h, h / 2);
    FillVertical(cr, y, y + h, Darker(pal::PlumDeep, 0.35), Darker(pal::Plum, 0.1));
    SetColour(cr, WithAlpha(pal::GoldLight, 0.7));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

void Label(Canvas& cv, Fonts& fonts, const std::string& text, double x, double y, Align align, double size) {
    TextStyle st;
    st.size = size;
    st.fill = pal::Cream;
    st.outline = pal::PlumDeep;
    st.outlineWidth = 1.5;
    st.shadowOffset = 1.2;
    DrawText(cv, fonts, text, x, y, align, st);
}

void Coin(cairo_t* cr, double cx, double cy, double r) {
    Circle(cr, cx, cy, r);
    FillLit(cr, cx, cy, r, pal::GoldLight, pal::Gold, Darker(pal::Gold, 0.35));
    SetColour(cr, Darker(pal::Gold, 0.5));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Circle(cr, cx, cy, r * 0.6);
    SetColour(cr, WithAlpha(Darker(pal::Gold, 0.3), 0.8));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

void MakePanels(Pack& pack, const std::string& language) {
    Fonts& fonts = pack.GetFonts();
    auto word = [&](const char* key) { return GameWord(language, key); };
    const std::string local = "Local/" + language + "/gfx/mainGame/";
    {
        // Upper panel: from x = -75 to the right edge of the wide area (1195).
        Canvas cv(1270, 64);
        PanelBody(cv, 0, -20, 1270, 78, 20);
        ValueBox(cv, 538, 20, 66, 28);
        ValueBox(cv, 894, 22, 72, 26);
        ValueBox(cv, 1018, 22, 72, 26);
        Coin(cv.cr(), 520, 34, 11);
        Label(cv, fonts, word("coins"), 506, 34, Align::Right, 18);
        Label(cv, fonts, word("score"), 886, 35, Align::Right, 18);
        Label(cv, fonts, word("level"), 1010, 35, Align::Right, 18);
        pack.SavePng(local + "TopPanel.png", cv);
    }
    {
        Canvas cv(120, 44);
        DrawButton(cv, fonts, word("menu"), pal::Azure);
        pack.SavePng(local + "InGameMenuButton.png", cv);
    }
    {
        // Time panel: 134 wide, the bar trough at (90, 53), 304 tall.
        Canvas cv(134, 400);
        PanelBody(cv, 4, 0, 150, 400, 22);
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 84, 47, 36, 316, 12);
        FillVertical(cr, 47, 363, Darker(pal::PlumDeep, 0.4), Darker(pal::Plum, 0.2));
        SetColour(cr, WithAlpha(pal::GoldLight, 0.6));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        // A small clock face above the trough's foot.
        const double cx = 44, cy = 200;
        Circle(cr, cx, cy, 22);
        FillLit(cr, cx, cy, 22, pal::White, pal::Cream, Darker(pal::Cream, 0.25));
        SetColour(cr, Darker(pal::Gold, 0.4));
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx, cy - 14);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + 10, cy + 4);
        SetColour(cr, pal::Ink);
        cairo_set_line_width(cr, 2.5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
        Label(cv, fonts, word("time"), 44, 246, Align::Centre, 18);
        pack.SavePng(local + "BonusPanel.png", cv);
    }
    {
        // The bar: 24 x 304, golden, brightest at the top (the part that shrinks).
        Canvas cv(24, 304);
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 1, 0, 22, 304, 10);
        FillVertical(cr, 0, 304, pal::GoldLight, pal::Tangerine);
        cairo_new_path(cr);
        RoundedRect(cr, 4, 2, 7, 300, 3.5);
        SetColour(cr, WithAlpha(pal::White, 0.45));
        cairo_fill(cr);
        pack.SavePng("gfx/gui/mainGame/timeline.png", cv);
    }
    {
        // Left panel: x from -171 to -11, holding six power-up places 106 apart.
        Canvas cv(160, 646);
        PanelBody(cv, -24, 0, 180, 646, 24);
        cairo_t* cr = cv.cr();
        for (int i = 0; i < 6; ++i) {
            const double cy = 53 + 106.0 * i;
            Circle(cr, 76, cy, 40);
            FillVertical(cr, cy - 40, cy + 40, Darker(pal::PlumDeep, 0.35), Darker(pal::Plum, 0.15));
            SetColour(cr, WithAlpha(pal::GoldLight, 0.55));
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
        }
        pack.SavePng("gfx/gui/mainGame/LeftPanel.png", cv);
    }
    {
        // Lower panel: the full 1366 width, 41 tall at the foot of the screen.
        Canvas cv(1366, 41);
        PanelBody(cv, -20, 0, 1406, 60, 18);
        pack.SavePng("gfx/gui/mainGame/BottomPanel.png", cv);
    }
}

void MakeCursors(Pack& pack) {
    {
        // Hammer, handle (70, 80): the head's striking face is on the left,
        // the handle runs down to the right.
        Canvas cv(100, 100);
        cairo_t* cr = cv.cr();
        auto handle = [](cairo_t* c) {
            cairo_save(c);
            cairo_translate(c, 46, 40);
            cairo_rotate(c, 0.55);
            RoundedRect(c, -5, 0, 10, 62, 4);
            cairo_restore(c);
        };
        auto head = [](cairo_t* c) {
            cairo_save(c);
            cairo_translate(c, 46, 40);
            cairo_rotate(c, 0.55);
            RoundedRect(c, -32, -18, 64, 26, 7);
            cairo_restore(c);
        };
        cv.Shadow([&](cairo_t* c) { handle(c); head(c); }, 3, 3, 4, WithAlpha(pal::Ink, 0.45));
        handle(cr);
        FillVertical(cr, 40, 100, Lighter(pal::Wood, 0.2), pal::WoodDark);
        SetColour(cr, Darker(pal::WoodDark, 0.3));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        head(cr);
        FillVertical(cr, 10, 60, Lighter(pal::Stone, 0.4), Darker(pal::Stone, 0.35));
        SetColour(cr, Darker(pal::Stone, 0.6));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        pack.SavePng("gfx/gui/mainGame/Mode_Hammer.png", cv);
    }
    {
        // Potion: a round flask of berry liquid with a cork, held at its centre.
        Canvas cv(64, 80);
        cairo_t* cr = cv.cr();
        auto flask = [](cairo_t* c) {
            Circle(c, 32, 50, 24);
            cairo_new_sub_path(c);
            RoundedRect(c, 24, 10, 16, 24, 3);
        };
        cv.Shadow(flask, 2, 3, 4, WithAlpha(pal::Ink, 0.45));
        flask(cr);
        SetColour(cr, WithAlpha(pal::White, 0.55));
        cairo_fill_preserve(cr);
        SetColour(cr, Darker(pal::Violet, 0.5));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        Circle(cr, 32, 52, 20);
        FillLit(cr, 32, 52, 20, Lighter(pal::Berry, 0.4), pal::Berry, Darker(pal::Berry, 0.3));
        cairo_new_path(cr);
        RoundedRect(cr, 25, 4, 14, 10, 3);
        FillVertical(cr, 4, 14, Lighter(pal::Wood, 0.3), pal::Wood);
        cairo_new_path(cr);
        Circle(cr, 24, 44, 5);
        SetColour(cr, WithAlpha(pal::White, 0.8));
        cairo_fill(cr);
        pack.SavePng("gfx/gui/mainGame/Mode_Potion.png", cv);
    }
    {
        // Book: a thick azure spell book with gold corners, held at its centre.
        Canvas cv(80, 70);
        cairo_t* cr = cv.cr();
        auto book = [](cairo_t* c) { RoundedRect(c, 8, 8, 62, 52, 6); };
        cv.Shadow(book, 3, 3, 4, WithAlpha(pal::Ink, 0.45));
        RoundedRect(cr, 12, 12, 60, 50, 5);
        SetColour(cr, pal::Cream);
        cairo_fill(cr);
        book(cr);
        FillVertical(cr, 8, 60, Lighter(pal::Azure, 0.2), Darker(pal::Azure, 0.25));
        SetColour(cr, Darker(pal::Azure, 0.55));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        Star(cr, 39, 34, 13, 6, 5, -90);
        FillLit(cr, 39, 34, 13, pal::GoldLight, pal::Sun, pal::Gold);
        cairo_new_path(cr);
        pack.SavePng("gfx/gui/mainGame/Mode_Book.png", cv);
    }
    {
        // Row tool: a lightning wand pointing left, handle (120, 8) near its grip.
        Canvas cv(128, 48);
        cairo_t* cr = cv.cr();
        auto wand = [](cairo_t* c) { RoundedRect(c, 20, 14, 104, 12, 6); };
        cv.Shadow(wand, 2, 3, 4, WithAlpha(pal::Ink, 0.45));
        wand(cr);
        FillVertical(cr, 14, 26, Lighter(pal::Azure, 0.35), Darker(pal::Azure, 0.3));
        SetColour(cr, Darker(pal::Azure, 0.55));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        // The bolt at the tip.
        cairo_move_to(cr, 22, 6);
        cairo_line_to(cr, 6, 20);
        cairo_line_to(cr, 16, 21);
        cairo_line_to(cr, 4, 38);
        cairo_line_to(cr, 24, 18);
        cairo_line_to(cr, 14, 18);
        cairo_close_path(cr);
        FillVertical(cr, 6, 38, pal::GoldLight, pal::Sun);
        SetColour(cr, Darker(pal::Gold, 0.4));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        pack.SavePng("gfx/gui/mainGame/Mode_Light.png", cv);
    }
    {
        // Hint arrow: points right at rotation 0 (toward the second chip).
        Canvas cv(48, 40);
        cairo_t* cr = cv.cr();
        auto arrow = [](cairo_t* c) {
            cairo_move_to(c, 4, 14);
            cairo_line_to(c, 24, 14);
            cairo_line_to(c, 24, 5);
            cairo_line_to(c, 44, 20);
            cairo_line_to(c, 24, 35);
            cairo_line_to(c, 24, 26);
            cairo_line_to(c, 4, 26);
            cairo_close_path(c);
        };
        cv.Glow(arrow, 4, WithAlpha(pal::GoldLight, 0.8));
        arrow(cr);
        FillVertical(cr, 5, 35, pal::White, pal::GoldLight);
        SetColour(cr, Darker(pal::Gold, 0.45));
        cairo_set_line_width(cr, 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
        pack.SavePng("gfx/gui/mainGame/HintArrow.png", cv);
    }
}

}  // namespace

void MakeMainGame(Pack& pack, const std::string& language) {
    MakePanels(pack, language);
    MakeCursors(pack);
}

void MakeBackgrounds(Pack& pack) {
    // Ten sets; each a landscape of its own seed under a tint that moves from
    // morning through noon to dusk and night as the sets go on.
    struct Tint {
        Rgba colour;
        double alpha;
    };
    const Tint tints[10] = {
        {pal::SkyLow, 0.0},  {pal::Sun, 0.08},     {pal::Leaf, 0.08},  {pal::Teal, 0.1},   {pal::Tangerine, 0.12},
        {pal::Coral, 0.15},  {pal::Berry, 0.15},   {pal::Violet, 0.2}, {pal::Plum, 0.3},   {pal::Night, 0.4},
    };
    for (int i = 0; i < 10; ++i) {
        Canvas cv(1366, 768);
        DrawLandscape(cv, 101 + 17 * static_cast<unsigned>(i));
        cairo_t* cr = cv.cr();
        cairo_rectangle(cr, 0, 0, 1366, 768);
        SetColour(cr, WithAlpha(tints[i].colour, tints[i].alpha));
        cairo_fill(cr);
        // A soft dark veil behind the board keeps the pieces readable.
        cairo_pattern_t* veil = cairo_pattern_create_radial(683, 410, 120, 683, 410, 520);
        cairo_pattern_add_color_stop_rgba(veil, 0, pal::Ink.r, pal::Ink.g, pal::Ink.b, 0.28);
        cairo_pattern_add_color_stop_rgba(veil, 1, pal::Ink.r, pal::Ink.g, pal::Ink.b, 0.0);
        cairo_rectangle(cr, 0, 0, 1366, 768);
        cairo_set_source(cr, veil);
        cairo_fill(cr);
        cairo_pattern_destroy(veil);
        const std::string dir = "gfx/Backgrounds/Background-" + std::to_string(i + 1) + "/";
        pack.SaveJpeg(dir + "back.jpg", cv);
    }
}

}  // namespace gp
