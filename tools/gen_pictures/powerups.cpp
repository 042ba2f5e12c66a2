// Power-up panel of the level play screen: the six power-ups (normal, over and
// disabled pictures), the badge with the collected kind's icon, the lock and the
// light rays of a power-up that lights up.
#include "families.h"

#include <cmath>
#include <functional>

namespace gp {

namespace {
constexpr double kPi = 3.14159265358979323846;

// ---- tool icons, drawn centred on (cx, cy) about 70 pixels tall ----

void Hammer(Canvas& cv, double cx, double cy, double s) {
    cairo_t* cr = cv.cr();
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, s, s);
    cairo_rotate(cr, -0.6);
    RoundedRect(cr, -4, -10, 8, 46, 4);
    FillVertical(cr, -10, 36, Lighter(pal::Wood, 0.3), pal::WoodDark);
    cairo_new_path(cr);
    RoundedRect(cr, -22, -28, 44, 20, 5);
    FillVertical(cr, -28, -8, Lighter(pal::Stone, 0.5), Darker(pal::Stone, 0.35));
    SetColour(cr, Darker(pal::Stone, 0.6));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Potion(Canvas& cv, double cx, double cy, double s) {
    cairo_t* cr = cv.cr();
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, s, s);
    Circle(cr, 0, 10, 22);
    RoundedRect(cr, -8, -26, 16, 24, 3);
    FillLit(cr, 0, 6, 26, Lighter(pal::Berry, 0.6), pal::Berry, Darker(pal::Berry, 0.35));
    SetColour(cr, Darker(pal::Berry, 0.55));
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    RoundedRect(cr, -10, -32, 20, 8, 3);
    SetColour(cr, pal::Wood);
    cairo_fill(cr);
    Circle(cr, -8, 4, 5);
    SetColour(cr, WithAlpha(pal::White, 0.6));
    cairo_fill(cr);
    cairo_restore(cr);
}

void Wand(Canvas& cv, double cx, double cy, double s) {
    cairo_t* cr = cv.cr();
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, s, s);
    // A lightning bolt: the tool clears a row.
    cairo_move_to(cr, -6, -30);
    cairo_line_to(cr, 12, -30);
    cairo_line_to(cr, 2, -6);
    cairo_line_to(cr, 14, -6);
    cairo_line_to(cr, -10, 32);
    cairo_line_to(cr, -2, 4);
    cairo_line_to(cr, -14, 4);
    cairo_close_path(cr);
    FillVertical(cr, -30, 32, pal::GoldLight, pal::Tangerine);
    SetColour(cr, Darker(pal::Tangerine, 0.55));
    cairo_set_line_width(cr, 1.8);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Shield(Canvas& cv, double cx, double cy, double s) {
    cairo_t* cr = cv.cr();
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, s, s);
    cairo_move_to(cr, 0, -30);
    cairo_curve_to(cr, 12, -24, 22, -24, 26, -22);
    cairo_curve_to(cr, 26, 4, 16, 22, 0, 32);
    cairo_curve_to(cr, -16, 22, -26, 4, -26, -22);
    cairo_curve_to(cr, -22, -24, -12, -24, 0, -30);
    cairo_close_path(cr);
    FillLit(cr, 0, 0, 32, Lighter(pal::Azure, 0.5), pal::Azure, Darker(pal::Azure, 0.35));
    SetColour(cr, pal::Gold);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    Star(cr, 0, 0, 12, 5, 5, 0);
    SetColour(cr, pal::GoldLight);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Crystal(Canvas& cv, double cx, double cy, double s) {
    cairo_t* cr = cv.cr();
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, s, s);
    cairo_move_to(cr, 0, -32);
    cairo_line_to(cr, 20, -8);
    cairo_line_to(cr, 12, 30);
    cairo_line_to(cr, -12, 30);
    cairo_line_to(cr, -20, -8);
    cairo_close_path(cr);
    FillLit(cr, 0, 0, 32, Lighter(pal::Teal, 0.7), pal::Teal, Darker(pal::Teal, 0.3));
    SetColour(cr, Darker(pal::Teal, 0.55));
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    cairo_move_to(cr, 0, -32);
    cairo_line_to(cr, -4, 30);
    cairo_move_to(cr, -20, -8);
    cairo_line_to(cr, 20, -8);
    SetColour(cr, WithAlpha(pal::White, 0.5));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Book(Canvas& cv, double cx, double cy, double s) {
    cairo_t* cr = cv.cr();
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, s, s);
    RoundedRect(cr, -26, -28, 52, 56, 5);
    FillVertical(cr, -28, 28, Lighter(pal::Coral, 0.2), Darker(pal::Coral, 0.25));
    SetColour(cr, Darker(pal::Coral, 0.55));
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    cairo_rectangle(cr, 18, -24, 5, 48);
    SetColour(cr, pal::Cream);
    cairo_fill(cr);
    Star(cr, -2, 0, 14, 6, 4, 0);
    SetColour(cr, pal::GoldLight);
    cairo_fill(cr);
    cairo_restore(cr);
}

// Power-up picture: a rounded slot with the tool icon. Variant 0 normal, 1 over
// (brighter with a glow), 2 disabled (greyed, the charging fill grows over it).
void PowerUpPicture(Pack& pack, int index, int variant, const std::function<void(Canvas&, double, double, double)>& icon) {
    static const char* suffix[] = {"-Normal.png", "-Over.png", "-Disabled.png"};
    Canvas cv(140, 104);
    cairo_t* cr = cv.cr();
    auto slot = [](cairo_t* c) { RoundedRect(c, 8, 6, 124, 92, 20); };
    if (variant == 1)
        cv.Glow(slot, 10, WithAlpha(pal::GoldLight, 0.9));
    cv.Shadow(slot, 0, 3, 6, WithAlpha(pal::Ink, 0.5));
    slot(cr);
    const Rgba base = variant == 2 ? Darker(pal::Stone, 0.35) : Lighter(pal::Plum, 0.1);
    FillVertical(cr, 6, 98, Lighter(base, 0.25), Darker(base, 0.2));
    SetColour(cr, variant == 2 ? Darker(pal::Stone, 0.1) : pal::Gold);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    icon(cv, 70, 52, 1.0);
    if (variant == 2) {
        // Grey the icon: a stone wash over everything drawn so far.
        cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
        cairo_rectangle(cr, 0, 0, 140, 104);
        SetColour(cr, WithAlpha(Darker(pal::Stone, 0.3), 0.7));
        cairo_fill(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    }
    if (variant == 1) {
        slot(cr);
        SetColour(cr, WithAlpha(pal::White, 0.18));
        cairo_fill(cr);
    }
    pack.SavePng("gfx/gui/mainGame/PowerUp" + std::to_string(index) + suffix[variant], cv);
}

// A small version of a piece for the power-up badges (ids 1 .. 16; kinds past the
// eight ordinary ones reuse the shapes in lighter colours).
void KindIcon(Pack& pack, int id) {
    const std::function<void(cairo_t*, double)> shapes[8] = {
        [](cairo_t* c, double k) { Circle(c, 16, 16, 11 * k); },
        [](cairo_t* c, double k) { RoundedRect(c, 16 - 10 * k, 16 - 10 * k, 20 * k, 20 * k, 5 * k); },
        [](cairo_t* c, double k) { Star(c, 16, 17, 13 * k, 6.3 * k, 5, 0); },
        [](cairo_t* c, double k) { Leaf(c, 16, 16, 13 * k, 40); },
        [](cairo_t* c, double k) { Drop(c, 16, 15.5, 12.5 * k); },
        [](cairo_t* c, double k) { RegularPolygon(c, 16, 16, 13.5 * k, 4, 0, 2); },
        [](cairo_t* c, double k) { Heart(c, 16, 15.5, 12 * k); },
        [](cairo_t* c, double k) { RegularPolygon(c, 16, 16, 12.5 * k, 6, 0, 2.5); },
    };
    const Rgba colours[8] = {pal::Coral, pal::Tangerine, pal::Sun, pal::Leaf, pal::Azure, pal::Violet, pal::Berry, pal::Teal};
    const int k = (id - 1) % 8;
    const Rgba colour = id > 8 ? Lighter(colours[k], 0.35) : colours[k];
    Canvas cv(32, 32);
    cairo_t* cr = cv.cr();
    auto shape = [&](cairo_t* c) { shapes[k](c, 1.0); };
    cv.Shadow(shape, 1, 1, 2, WithAlpha(pal::Ink, 0.45));
    shape(cr);
    FillLit(cr, 16, 16, 13, Lighter(colour, 0.55), colour, Darker(colour, 0.35));
    SetColour(cr, Darker(colour, 0.55));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    if (id > 8) {
        Circle(cr, 16, 16, 15);
        SetColour(cr, WithAlpha(pal::White, 0.7));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    pack.SavePng("gfx/gui/mainGame/Chip" + std::to_string(id) + ".png", cv);
}
}  // namespace

void MakePowerUps(Pack& pack) {
    // Power-ups: 0 hammer, 1 potion, 2 row tool, 3 shield, 4 crystal, 5 book.
    const std::function<void(Canvas&, double, double, double)> icons[6] = {Hammer, Potion, Wand, Shield, Crystal, Book};
    for (int i = 0; i < 6; ++i)
        for (int v = 0; v < 3; ++v)
            PowerUpPicture(pack, i, v, icons[i]);
    {
        Canvas cv(44, 44);
        cairo_t* cr = cv.cr();
        auto badge = [](cairo_t* c) { Circle(c, 22, 22, 19); };
        cv.Shadow(badge, 1, 2, 3, WithAlpha(pal::Ink, 0.5));
        badge(cr);
        FillVertical(cr, 3, 41, pal::Cream, Darker(pal::Cream, 0.15));
        SetColour(cr, pal::Gold);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        pack.SavePng("gfx/gui/mainGame/PowerUpRes.png", cv);
    }
    {
        Canvas cv(48, 56);
        cairo_t* cr = cv.cr();
        cairo_arc(cr, 24, 22, 12, kPi, 2 * kPi);
        SetColour(cr, Darker(pal::Stone, 0.4));
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
        auto body = [](cairo_t* c) { RoundedRect(c, 8, 22, 32, 28, 6); };
        cv.Shadow(body, 1, 2, 3, WithAlpha(pal::Ink, 0.5));
        body(cr);
        FillVertical(cr, 22, 50, pal::GoldLight, pal::Gold);
        SetColour(cr, Darker(pal::Gold, 0.5));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        Circle(cr, 24, 33, 4);
        cairo_rectangle(cr, 22.5, 33, 3, 9);
        SetColour(cr, pal::Ink);
        cairo_fill(cr);
        pack.SavePng("gfx/gui/mainGame/Lock.png", cv);
    }
    for (int id = 1; id <= 16; ++id)
        KindIcon(pack, id);

    // Light rays behind a power-up that lights up (drawn additively, rotating).
    {
        Canvas cv(220, 220);
        cairo_t* cr = cv.cr();
        for (int i = 0; i < 12; ++i) {
            const double a = i * kPi / 6;
            cairo_move_to(cr, 110, 110);
            cairo_arc(cr, 110, 110, 108, a - 0.09, a + 0.09);
            cairo_close_path(cr);
        }
        cairo_pattern_t* g = cairo_pattern_create_radial(110, 110, 10, 110, 110, 108);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.97, 0.8, 1);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.9, 0.5, 0);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        pack.SavePng("gfx/gui/mainGame/Light.png", cv);
    }
}

}  // namespace gp
