// Match-three pieces and board cells. Cells are 72 x 72; pieces are drawn centred
// on their cell and are told apart by shape as well as by colour.
#include "families.h"

#include <cmath>
#include <functional>

namespace gp {

namespace {
constexpr int kCell = 72;
constexpr double kC = kCell / 2.0;

struct PieceLook {
    int id;
    Rgba colour;
    PathFn shape;  // path of the piece body centred on (kC, kC)
};

// Draws one glossy piece: soft shadow, lit body, darker rim, highlight, and a
// small inner mark so that the shape reads even at a glance.
void DrawPieceBody(Canvas& cv, const PathFn& shape, const Rgba& colour) {
    cairo_t* cr = cv.cr();
    cv.Shadow(shape, 2, 3, 5, WithAlpha(pal::Ink, 0.45));
    shape(cr);
    FillLit(cr, kC, kC, 30, Lighter(colour, 0.55), colour, Darker(colour, 0.35));
    SetColour(cr, Darker(colour, 0.55));
    cairo_set_line_width(cr, 2.2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    // Inner bevel: a thin light line inside the upper-left half of the outline.
    cairo_save(cr);
    shape(cr);
    cairo_clip(cr);
    cairo_translate(cr, kC, kC);
    cairo_scale(cr, 0.8, 0.8);
    cairo_translate(cr, -kC, -kC);
    shape(cr);
    cairo_restore(cr);
    cairo_pattern_t* bevel = cairo_pattern_create_linear(10, 10, 60, 60);
    cairo_pattern_add_color_stop_rgba(bevel, 0, 1, 1, 1, 0.55);
    cairo_pattern_add_color_stop_rgba(bevel, 0.6, 1, 1, 1, 0);
    cairo_set_source(cr, bevel);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    cairo_pattern_destroy(bevel);
    // Gloss spot, top-left.
    cairo_save(cr);
    cairo_translate(cr, kC - 9, kC - 12);
    cairo_rotate(cr, -0.6);
    cairo_scale(cr, 1.0, 0.55);
    Circle(cr, 0, 0, 9);
    cairo_restore(cr);
    cairo_pattern_t* gloss = cairo_pattern_create_radial(kC - 10, kC - 13, 0, kC - 9, kC - 12, 10);
    cairo_pattern_add_color_stop_rgba(gloss, 0, 1, 1, 1, 0.85);
    cairo_pattern_add_color_stop_rgba(gloss, 1, 1, 1, 1, 0);
    cairo_set_source(cr, gloss);
    cairo_fill(cr);
    cairo_pattern_destroy(gloss);
}

void Bolt(cairo_t* cr, double cx, double cy, double s) {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - s * 0.95, cy - s * 0.1);
    cairo_line_to(cr, cx - s * 0.15, cy - s * 0.42);
    cairo_line_to(cr, cx - s * 0.05, cy - s * 0.1);
    cairo_line_to(cr, cx + s * 0.95, cy + s * 0.1);
    cairo_line_to(cr, cx + s * 0.15, cy + s * 0.42);
    cairo_line_to(cr, cx + s * 0.05, cy + s * 0.1);
    cairo_close_path(cr);
}

void Plus(cairo_t* cr, double cx, double cy, double s, double t) {
    cairo_new_sub_path(cr);
    RoundedRect(cr, cx - s, cy - t, 2 * s, 2 * t, t);
    RoundedRect(cr, cx - t, cy - s, 2 * t, 2 * s, t);
}
}  // namespace

void MakePieces(Pack& pack) {
    const PieceLook pieces[] = {
        {1, pal::Coral, [](cairo_t* c) { Circle(c, kC, kC, 24); }},
        {2, pal::Tangerine, [](cairo_t* c) { RoundedRect(c, kC - 22, kC - 22, 44, 44, 10); }},
        {3, pal::Sun, [](cairo_t* c) { Star(c, kC, kC + 2, 29, 14, 5, 0); }},
        {4, pal::Leaf, [](cairo_t* c) { Leaf(c, kC, kC, 28, 40); }},
        {5, pal::Azure, [](cairo_t* c) { Drop(c, kC, kC - 1, 27); }},
        {6, pal::Violet, [](cairo_t* c) { RegularPolygon(c, kC, kC, 29, 4, 0, 4); }},
        {7, pal::Berry, [](cairo_t* c) { Heart(c, kC, kC - 1, 26); }},
        {8, pal::Teal, [](cairo_t* c) { RegularPolygon(c, kC, kC, 27, 6, 0, 5); }},
    };
    for (const PieceLook& p : pieces) {
        Canvas cv(kCell, kCell);
        DrawPieceBody(cv, p.shape, p.colour);
        pack.SavePng("gfx/Match3/Chips/Chip-" + std::to_string(p.id) + ".png", cv);
    }

    // Power pieces: a cream orb with a coloured sign, a ring of gold, and a glow.
    struct Power {
        int id;
        Rgba ring;
        void (*sign)(Canvas&);
    };
    const Power powers[] = {
        {101, pal::Coral,
         [](Canvas& cv) {
             cairo_t* cr = cv.cr();
             Plus(cr, kC, kC, 17, 5.5);
             FillVertical(cr, kC - 17, kC + 17, Lighter(pal::Coral, 0.3), Darker(pal::Coral, 0.2));
             SetColour(cr, Darker(pal::Coral, 0.6));
             cairo_set_line_width(cr, 1.5);
             cairo_stroke(cr);
         }},
        {102, pal::Azure,
         [](Canvas& cv) {
             cairo_t* cr = cv.cr();
             Bolt(cr, kC, kC, 19);
             FillVertical(cr, kC - 8, kC + 8, Lighter(pal::Sun, 0.4), pal::Tangerine);
             SetColour(cr, Darker(pal::Azure, 0.5));
             cairo_set_line_width(cr, 1.5);
             cairo_stroke(cr);
             // Arrow heads at both ends: it clears a whole row.
             for (int side = -1; side <= 1; side += 2) {
                 double x = kC + side * 22;
                 cairo_move_to(cr, x, kC - 5);
                 cairo_line_to(cr, x + side * 6, kC);
                 cairo_line_to(cr, x, kC + 5);
                 cairo_close_path(cr);
             }
             SetColour(cr, Darker(pal::Azure, 0.3));
             cairo_fill(cr);
         }},
        {103, pal::Tangerine,
         [](Canvas& cv) {
             cairo_t* cr = cv.cr();
             // Bomb: dark round body (plum ink, never pure black), fuse and spark.
             Circle(cr, kC - 1, kC + 3, 13);
             FillLit(cr, kC - 1, kC + 3, 13, Lighter(pal::PlumDeep, 0.35), pal::PlumDeep, Darker(pal::PlumDeep, 0.4));
             cairo_new_path(cr);
             cairo_move_to(cr, kC + 6, kC - 7);
             cairo_curve_to(cr, kC + 9, kC - 13, kC + 14, kC - 13, kC + 15, kC - 17);
             SetColour(cr, pal::Wood);
             cairo_set_line_width(cr, 2.5);
             cairo_stroke(cr);
             Star(cr, kC + 16, kC - 18, 6, 2.5, 6, 0);
             SetColour(cr, pal::Sun);
             cairo_fill(cr);
         }},
    };
    for (const Power& p : powers) {
        Canvas cv(kCell, kCell);
        cairo_t* cr = cv.cr();
        auto orb = [](cairo_t* c) { Circle(c, kC, kC, 27); };
        cv.Glow(orb, 8, WithAlpha(pal::GoldLight, 0.9));
        DrawPieceBody(cv, orb, pal::Cream);
        Circle(cr, kC, kC, 24.5);
        SetColour(cr, p.ring);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        p.sign(cv);
        pack.SavePng("gfx/Match3/Chips/Chip-" + std::to_string(p.id) + ".png", cv);
    }

    // The light drawn additively over a piece (matched, hinted, heating up).
    {
        Canvas cv(96, 96);
        cairo_t* cr = cv.cr();
        cairo_pattern_t* g = cairo_pattern_create_radial(48, 48, 0, 48, 48, 47);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 1);
        cairo_pattern_add_color_stop_rgba(g, 0.35, 1, 1, 1, 0.6);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
        cairo_set_source(cr, g);
        cairo_paint(cr);
        cairo_pattern_destroy(g);
        pack.SavePng("gfx/gui/mainGame/ChipLight.png", cv);
    }
}

// Cell floors. A cell's base picture is drawn twice, so the floor is half see-through
// and reads as a soft tile over any background. Coin layers are the same floor with
// one or two gold coins set into it; each match takes one coin away.
void MakeCells(Pack& pack) {
    auto coin = [](Canvas& cv, double x, double y, double r) {
        cairo_t* cr = cv.cr();
        auto disc = [&](cairo_t* c) { Circle(c, x, y, r); };
        cv.Shadow(disc, 1, 1.5, 3, WithAlpha(pal::Ink, 0.35));
        disc(cr);
        FillLit(cr, x, y, r, pal::GoldLight, pal::Gold, Darker(pal::Gold, 0.3));
        SetColour(cr, Darker(pal::Gold, 0.5));
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
        Star(cr, x, y, r * 0.5, r * 0.22, 4, 0);
        SetColour(cr, WithAlpha(pal::White, 0.75));
        cairo_fill(cr);
    };
    for (int coins = 0; coins <= 2; ++coins) {
        Canvas cv(kCell, kCell);
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 2, 2, kCell - 4, kCell - 4, 9);
        Rgba floor = coins == 0 ? pal::Cream : Mix(pal::Cream, pal::GoldLight, 0.45 * coins);
        FillVertical(cr, 2, kCell - 2, WithAlpha(Lighter(floor, 0.3), 0.42), WithAlpha(Darker(floor, 0.12), 0.42));
        SetColour(cr, WithAlpha(pal::White, 0.55));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        if (coins == 1)
            coin(cv, kC, kC, 11);
        if (coins == 2) {
            coin(cv, kC - 9, kC - 6, 10);
            coin(cv, kC + 9, kC + 7, 10);
        }
        // Faint coin marks so the coin cells stay recognisable under pieces.
        if (coins > 0) {
            RoundedRect(cr, 5, 5, kCell - 10, kCell - 10, 7);
            SetColour(cr, WithAlpha(pal::Gold, 0.7));
            cairo_set_line_width(cr, 2);
            cairo_set_dash(cr, nullptr, 0, 0);
            cairo_stroke(cr);
        }
        pack.SavePng("gfx/Match3/Tiles/Tile-" + std::to_string(coins) + ".png", cv);
    }
}

// Board border: 24 frames of 72 x 72 in a 6 x 4 sheet, read left to right, top to
// bottom. The game draws frame k on a playing cell, centred on it, when piece k's
// neighbour condition holds (which of the eight neighbouring positions belong to the
// playing area). Each frame draws only inside its own cell: straight arms along a
// missing side, and rounded outer corners where two sides and the diagonal are
// missing. Arms are opaque, so pieces that meet at a corner overlap without seams.
// Frames whose condition always comes together with another piece's stay empty
// (2 with 18, 14 with 13, 19 with 16, 20 with 9).
void MakeBoardBorder(Pack& pack) {
    constexpr double w = 5;  // border width inside the cell
    constexpr double m = kC, e = kCell;
    Canvas cv(6 * kCell, 4 * kCell);
    cairo_t* cr = cv.cr();
    auto top = [&](double x0, double x1) { cairo_rectangle(cr, x0, 0, x1 - x0, w); };
    auto bottom = [&](double x0, double x1) { cairo_rectangle(cr, x0, e - w, x1 - x0, w); };
    auto left = [&](double y0, double y1) { cairo_rectangle(cr, 0, y0, w, y1 - y0); };
    auto right = [&](double y0, double y1) { cairo_rectangle(cr, e - w, y0, w, y1 - y0); };
    // Quarter disc filling the corner square, centred on its inner corner.
    auto corner = [&](double cx, double cy, double fromDeg) {
        cairo_move_to(cr, cx, cy);
        cairo_arc(cr, cx, cy, w, fromDeg * 3.14159265358979 / 180, (fromDeg + 90) * 3.14159265358979 / 180);
        cairo_close_path(cr);
    };
    const std::function<void()> frames[24] = {
        [&] { top(0, m); },                                             // 0
        [&] { right(0, m); },                                           // 1
        [] {},                                                          // 2
        [&] { left(0, m); },                                            // 3
        [&] { top(m, e); },                                             // 4
        [&] { right(m, e); },                                           // 5
        [&] { bottom(m, e); },                                          // 6
        [&] { left(m, e); },                                            // 7
        [&] { top(0, m); },                                             // 8
        [&] { top(m, e - w); right(w, m); corner(e - w, w, 270); },     // 9: top-right outer corner
        [&] { bottom(w, m); },                                          // 10
        [&] { left(0, m); },                                            // 11
        [&] { top(m, e); },                                             // 12
        [&] { bottom(m, e - w); right(m, e - w); corner(e - w, e - w, 0); },  // 13: bottom-right
        [] {},                                                          // 14
        [&] { left(m, e); },                                            // 15
        [&] { top(w, m); left(w, m); corner(w, w, 180); },              // 16: top-left outer corner
        [&] { right(0, m); },                                           // 17
        [&] { bottom(0, m); },                                          // 18
        [] {},                                                          // 19
        [] {},                                                          // 20
        [&] { right(m, e); },                                           // 21
        [&] { bottom(m, e); },                                          // 22
        [&] { left(m, e - w); corner(w, e - w, 90); },                  // 23: bottom-left (10 adds the bottom arm)
    };
    for (int k = 0; k < 24; ++k) {
        cairo_save(cr);
        cairo_translate(cr, (k % 6) * kCell, (k / 6) * kCell);
        cairo_rectangle(cr, 0, 0, kCell, kCell);
        cairo_clip(cr);
        cairo_new_path(cr);
        frames[k]();
        SetColour(cr, pal::Gold);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    pack.SavePng("gfx/Match3/BoardBorder.png", cv);
}

}  // namespace gp
