// Board overlays and obstacles, 72 x 72 like the cells they sit on.
//
// The cover is a cell overlay: the game draws it over the floor and under the
// piece, so it must stay readable around a piece (a frosted sheet with a bright
// rim and corner studs). Obstacles are drawn over the piece: the chains leave
// the piece visible between their links, the chest hides it completely.
#include "families.h"

#include <cmath>

namespace gp {

namespace {
constexpr int kCell = 72;
constexpr double kC = kCell / 2.0;
constexpr double kPi = 3.14159265358979;

// One chain link: an elongated rounded ring centred on (x, y), turned by angle.
void Link(cairo_t* cr, double x, double y, double len, double wid, double angleRad, bool front) {
    const Rgba steel = pal::Stone;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angleRad);
    if (front) {
        RoundedRect(cr, -len / 2, -wid / 2, len, wid, wid / 2);
        cairo_set_line_width(cr, 5.2);
        SetColour(cr, Darker(steel, 0.55));
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, 3.4);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, -wid / 2, 0, wid / 2);
        cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
        cairo_pattern_add_color_stop_rgb(p, 0.45, steel.r, steel.g, steel.b);
        const Rgba d = Darker(steel, 0.3);
        cairo_pattern_add_color_stop_rgb(p, 1, d.r, d.g, d.b);
        cairo_set_source(cr, p);
        cairo_stroke(cr);
        cairo_pattern_destroy(p);
    } else {
        // A link seen edge-on: a short bar.
        RoundedRect(cr, -len / 2, -2.6, len, 5.2, 2.6);
        FillVertical(cr, -2.6, 2.6, Lighter(steel, 0.4), Darker(steel, 0.35));
        SetColour(cr, Darker(steel, 0.55));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// A chain crossing the cell from corner to corner along angleDeg.
void ChainBand(Canvas& cv, double angleDeg) {
    const double a = angleDeg * kPi / 180;
    const double ux = std::cos(a), uy = std::sin(a);
    const double step = 13;
    // Soft shadow under the whole band.
    auto band = [&](cairo_t* c) {
        cairo_save(c);
        cairo_translate(c, kC, kC);
        cairo_rotate(c, a);
        cairo_rectangle(c, -46, -6, 92, 12);
        cairo_restore(c);
    };
    cv.Shadow(band, 2, 3, 4, WithAlpha(pal::Ink, 0.35));
    for (int k = -3; k <= 3; ++k) {
        const double x = kC + ux * k * step, y = kC + uy * k * step;
        Link(cv.cr(), x, y, 17, 10, a, (k & 1) == 0);
    }
}

// A small gold padlock in the middle of the chains.
void Padlock(Canvas& cv, double cx, double cy) {
    cairo_t* cr = cv.cr();
    auto body = [&](cairo_t* c) { RoundedRect(c, cx - 9, cy - 4, 18, 15, 3.5); };
    cv.Shadow(body, 1.5, 2, 3, WithAlpha(pal::Ink, 0.45));
    // Shackle.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy - 4, 6, kPi, 2 * kPi);
    cairo_set_line_width(cr, 3.2);
    SetColour(cr, Darker(pal::Stone, 0.45));
    cairo_stroke(cr);
    body(cr);
    FillLit(cr, cx, cy + 3, 11, pal::GoldLight, pal::Gold, Darker(pal::Gold, 0.35));
    SetColour(cr, Darker(pal::Gold, 0.55));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    // Keyhole.
    Circle(cr, cx, cy + 2, 2.2);
    cairo_move_to(cr, cx - 1.2, cy + 3);
    cairo_line_to(cr, cx + 1.2, cy + 3);
    cairo_line_to(cr, cx + 1.6, cy + 8);
    cairo_line_to(cr, cx - 1.6, cy + 8);
    cairo_close_path(cr);
    SetColour(cr, Darker(pal::Gold, 0.7));
    cairo_fill(cr);
}
}  // namespace

// The cover: a frosted sheet over a cell that one match clears (a piece matched
// on a covered cell takes the cover away instead of a coin).
void MakeCover(Pack& pack) {
    Canvas cv(kCell, kCell);
    cairo_t* cr = cv.cr();
    const Rgba ice = Mix(pal::SkyLow, pal::Azure, 0.35);
    RoundedRect(cr, 3, 3, kCell - 6, kCell - 6, 8);
    FillVertical(cr, 3, kCell - 3, WithAlpha(Lighter(ice, 0.4), 0.62), WithAlpha(ice, 0.55));
    SetColour(cr, WithAlpha(Darker(pal::Azure, 0.25), 0.85));
    cairo_set_line_width(cr, 2.4);
    cairo_stroke(cr);
    // Inner bright rim, top-left lit.
    RoundedRect(cr, 6, 6, kCell - 12, kCell - 12, 6);
    cairo_pattern_t* rim = cairo_pattern_create_linear(6, 6, kCell - 6, kCell - 6);
    cairo_pattern_add_color_stop_rgba(rim, 0, 1, 1, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(rim, 1, 1, 1, 1, 0.15);
    cairo_set_source(cr, rim);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);
    // Two diagonal sheen strokes in the upper-left corner.
    cairo_save(cr);
    RoundedRect(cr, 3, 3, kCell - 6, kCell - 6, 8);
    cairo_clip(cr);
    for (int i = 0; i < 2; ++i) {
        const double o = 10 + i * 9;
        cairo_move_to(cr, o, 4);
        cairo_line_to(cr, 4, o);
        cairo_set_line_width(cr, i == 0 ? 4 : 2.2);
        SetColour(cr, WithAlpha(pal::White, 0.7));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    // Corner studs that hold the sheet.
    const double studs[4][2] = {{10, 10}, {kCell - 10, 10}, {10, kCell - 10}, {kCell - 10, kCell - 10}};
    for (const auto& s : studs) {
        Circle(cr, s[0], s[1], 3.2);
        FillLit(cr, s[0], s[1], 3.2, pal::White, Lighter(pal::Azure, 0.35), Darker(pal::Azure, 0.2));
        SetColour(cr, Darker(pal::Azure, 0.45));
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
    }
    pack.SavePng("gfx/Match3/Tiles/Cover.png", cv);
}

// Obstacles: a chain (one match breaks it), a double chain (two crossed chains;
// a match breaks one and leaves the single chain) and a chest (it hides the piece
// and opens when a neighbouring cell is matched).
void MakeObstacles(Pack& pack) {
    {
        Canvas cv(kCell, kCell);
        ChainBand(cv, 45);
        Padlock(cv, kC, kC + 2);
        pack.SavePng("gfx/Match3/Obstacles/Chain.png", cv);
    }
    {
        Canvas cv(kCell, kCell);
        ChainBand(cv, 45);
        ChainBand(cv, -45);
        Padlock(cv, kC, kC + 2);
        pack.SavePng("gfx/Match3/Obstacles/DoubleChain.png", cv);
    }
    {
        Canvas cv(kCell, kCell);
        cairo_t* cr = cv.cr();
        const double x = 7, y = 12, w = kCell - 16, h = kCell - 20;
        auto box = [&](cairo_t* c) { RoundedRect(c, x, y, w, h, 7); };
        cv.Shadow(box, 3, 4, 5, WithAlpha(pal::Ink, 0.45));
        // Body.
        RoundedRect(cr, x, y + h * 0.38, w, h * 0.62, 6);
        FillVertical(cr, y + h * 0.38, y + h, pal::Wood, Darker(pal::Wood, 0.3));
        SetColour(cr, pal::WoodDark);
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
        // Lid, a little lighter and rounded on top.
        RoundedRect(cr, x, y, w, h * 0.42, 8);
        FillVertical(cr, y, y + h * 0.42, Lighter(pal::Wood, 0.35), pal::Wood);
        SetColour(cr, pal::WoodDark);
        cairo_stroke(cr);
        // Plank lines.
        SetColour(cr, WithAlpha(pal::WoodDark, 0.55));
        cairo_set_line_width(cr, 1.2);
        for (double py : {y + h * 0.62, y + h * 0.82}) {
            cairo_move_to(cr, x + 3, py);
            cairo_line_to(cr, x + w - 3, py);
        }
        cairo_stroke(cr);
        // Gold bands and the lock plate.
        for (double bx : {x + w * 0.2, x + w * 0.8}) {
            cairo_rectangle(cr, bx - 3.5, y + 1, 7, h - 2);
            FillVertical(cr, y, y + h, pal::GoldLight, Darker(pal::Gold, 0.2));
            SetColour(cr, Darker(pal::Gold, 0.5));
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
        RoundedRect(cr, kC - 7, y + h * 0.3, 14, 15, 3);
        FillLit(cr, kC, y + h * 0.38, 10, pal::GoldLight, pal::Gold, Darker(pal::Gold, 0.35));
        SetColour(cr, Darker(pal::Gold, 0.55));
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        Circle(cr, kC, y + h * 0.3 + 6, 2);
        SetColour(cr, Darker(pal::Gold, 0.75));
        cairo_fill(cr);
        // Gloss on the lid, top-left.
        cairo_save(cr);
        cairo_translate(cr, x + w * 0.3, y + 5);
        cairo_scale(cr, 1, 0.35);
        Circle(cr, 0, 0, 9);
        cairo_restore(cr);
        SetColour(cr, WithAlpha(pal::White, 0.45));
        cairo_fill(cr);
        pack.SavePng("gfx/Match3/Obstacles/Chest.png", cv);
    }
}

}  // namespace gp
