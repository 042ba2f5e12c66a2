// The city map of Velmora, a harbour town on a river mouth: the ground, the
// scenery that is always there and every map object the player can buy, with
// the map catalogue (Data/MapScreen/MapObjects.txt), the building queue, the
// names and descriptions, the buy icons and the map screen's own panels.
//
// The map is 2048 x 768 map pixels. Every object is drawn in map coordinates
// onto a scratch canvas covering its rough area; the picture written is cut to
// what was drawn and its top-left corner becomes the object's Dim, so the
// catalogue always matches the pictures. The two ground halves are cut from one
// picture of the whole map, so they meet at x 1024 without a seam.
//
// Places on the map (map x): the headland and lighthouse 0..120, the school hill
// 60..540, the quay 110..1320 with the market behind it 370..860, the church
// hill 860..960, the old town 960..1290, the river 1320..1480 with the windmill
// ridge above it, the east bank with the station and park 1480..1790 and the
// old factory 1790..2048. The main street runs at y 445..470, the quay edge at
// y 505..528, the east quay at y 540..580; water lies below.
#include "families.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace gp {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMapW = 2048, kMapH = 768;

// The map's own random streams.
struct MapRng : Rng {
    explicit MapRng(std::uint32_t seed) : Rng(seed, 7) {}
};

// Draws in map coordinates through whatever transform the canvas has (a cut-out
// of the map, or the map scaled into an icon); shadows follow the same transform.
struct P {
    Canvas& cv;
    cairo_t* cr;
    double scale = 1;
    void Shadow(const PathFn& shape, double dx, double dy, double blur, const Rgba& colour) {
        cairo_matrix_t m;
        cairo_get_matrix(cr, &m);
        // The canvas lays its shadow over itself in device pixels.
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cv.Shadow(
            [&](cairo_t* k) {
                cairo_transform(k, &m);
                shape(k);
            },
            dx * scale, dy * scale, blur * scale, colour);
        cairo_restore(cr);
    }
};

// ---- small helpers ----

void Stroke(cairo_t* cr, const Rgba& c, double w) {
    SetColour(cr, c);
    cairo_set_line_width(cr, w);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void Fill(cairo_t* cr, const Rgba& c) {
    SetColour(cr, c);
    cairo_fill(cr);
}

// Fills the kept path with a colour, then outlines it in the colour's dark tone.
void FillLine(cairo_t* cr, const Rgba& c, double w = 1.5, double dark = 0.5) {
    SetColour(cr, c);
    cairo_fill_preserve(cr);
    Stroke(cr, Darker(c, dark), w);
}

void FillVLine(cairo_t* cr, double y0, double y1, const Rgba& top, const Rgba& bottom, double w = 1.5) {
    FillVertical(cr, y0, y1, top, bottom);
    Stroke(cr, Darker(bottom, 0.5), w);
}

void Poly(cairo_t* cr, std::initializer_list<double> xy) {
    const double* v = xy.begin();
    const std::size_t n = xy.size() / 2;
    cairo_new_sub_path(cr);
    for (std::size_t i = 0; i < n; ++i) {
        if (i == 0)
            cairo_move_to(cr, v[0], v[1]);
        else
            cairo_line_to(cr, v[2 * i], v[2 * i + 1]);
    }
    cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

// A worn, greyed version of a colour, for the neglected things of the start map.
Rgba Worn(const Rgba& c) { return Mix(Mix(c, pal::Stone, 0.45), Hex(0x8A8398), 0.2); }

// A soft contact shadow under something standing on the ground.
void Contact(P& p, double cx, double y, double halfW, double halfH = 6, double alpha = 0.3) {
    p.Shadow([&](cairo_t* c) { Ellipse(c, cx, y, halfW, halfH); }, 0, 0, 8, WithAlpha(pal::Ink, alpha));
}

// A soft drop shadow of a shape, down and to the right.
void Drop(P& p, const PathFn& shape, double alpha = 0.28) { p.Shadow(shape, 4, 3, 8, WithAlpha(pal::Ink, alpha)); }

// ---- terrain (shared by the ground and the things standing on it) ----

double Bump(double x, double c, double s) { return std::exp(-((x - c) / s) * ((x - c) / s)); }

// The far (bluish) hills' ridge.
double FarRidge(double x) {
    return 205 - 26 * std::sin(x * 0.0042 + 0.8) - 14 * std::sin(x * 0.0115 + 2.1) - 40 * Bump(x, 1250, 260);
}

// The near hills' ridge: the school hill, the church hill, the windmill ridge
// and the factory hills.
double Ridge(double x) {
    return 352 - 100 * Bump(x, 250, 190) - 86 * Bump(x, 905, 150) - 112 * Bump(x, 1240, 140) -
           64 * Bump(x, 1700, 230) - 50 * Bump(x, 2010, 160) + 5 * std::sin(x * 0.021);
}

// The river, from its spring below the ridge to the sea: centre x and half width
// at each y.
struct RiverPoint {
    double y, x, half;
};
const RiverPoint kRiver[] = {{306, 1404, 3},   {340, 1392, 9},   {372, 1374, 16},  {405, 1372, 24},
                             {440, 1386, 36},  {480, 1395, 52},  {528, 1396, 84},  {600, 1396, 130},
                             {700, 1396, 170}, {768, 1396, 200}};

void RiverAt(double y, double& cx, double& half) {
    const int n = static_cast<int>(std::size(kRiver));
    if (y <= kRiver[0].y) {
        cx = kRiver[0].x;
        half = kRiver[0].half;
        return;
    }
    for (int i = 1; i < n; ++i)
        if (y <= kRiver[i].y) {
            const RiverPoint& a = kRiver[i - 1];
            const RiverPoint& b = kRiver[i];
            double t = (y - a.y) / (b.y - a.y);
            t = t * t * (3 - 2 * t);
            cx = a.x + (b.x - a.x) * t;
            half = a.half + (b.half - a.half) * t;
            return;
        }
    cx = kRiver[n - 1].x;
    half = kRiver[n - 1].half;
}

void RiverPath(cairo_t* cr, double grow) {
    cairo_new_sub_path(cr);
    for (double y = 306; y <= 768; y += 4) {
        double cx, h;
        RiverAt(y, cx, h);
        double wob = 2 * std::sin(y * 0.09);
        if (y == 306)
            cairo_move_to(cr, cx - h - grow + wob, y);
        else
            cairo_line_to(cr, cx - h - grow + wob, y);
    }
    for (double y = 768; y >= 306; y -= 4) {
        double cx, h;
        RiverAt(y, cx, h);
        double wob = 2 * std::sin(y * 0.07 + 1);
        cairo_line_to(cr, cx + h + grow + wob, y);
    }
    cairo_close_path(cr);
}

// Where the water starts below the land (the foot of the quay walls).
double CoastY(double x) {
    if (x < 120)
        return 560 - 40 * (x / 120);  // the headland's foot
    if (x < 1480)
        return 528;
    return 578;
}

// ---- the kit: walls, roofs, windows, trees, boats ----

enum class Pane { Lit, Dark, Boarded, Broken };

void Window(P& p, double x, double y, double w, double h, Pane pane, const Rgba& frame, bool arched = false,
            const Rgba* shutter = nullptr) {
    cairo_t* cr = p.cr;
    auto shape = [&](cairo_t* c) {
        if (arched) {
            cairo_new_sub_path(c);
            cairo_move_to(c, x, y + h);
            cairo_line_to(c, x, y + w / 2);
            cairo_arc(c, x + w / 2, y + w / 2, w / 2, kPi, 2 * kPi);
            cairo_line_to(c, x + w, y + h);
            cairo_close_path(c);
        } else {
            RoundedRect(c, x, y, w, h, std::min(w, h) * 0.12);
        }
    };
    if (shutter) {
        RoundedRect(cr, x - w * 0.42, y, w * 0.38, h, 1);
        RoundedRect(cr, x + w * 1.04, y, w * 0.38, h, 1);
        FillLine(cr, *shutter, 1, 0.45);
    }
    shape(cr);
    if (pane == Pane::Lit)
        FillVertical(cr, y, y + h, Lighter(pal::Sun, 0.55), Mix(pal::Sun, pal::Tangerine, 0.35));
    else
        FillVertical(cr, y, y + h, Mix(pal::Azure, pal::PlumDeep, 0.35), Darker(pal::Plum, 0.35));
    cairo_new_path(cr);
    if (pane == Pane::Dark || pane == Pane::Broken) {
        // A pale sky reflection across one corner.
        cairo_save(cr);
        shape(cr);
        cairo_clip(cr);
        Poly(cr, {x, y + h * 0.55, x + w * 0.55, y, x + w * 0.85, y, x, y + h * 0.9});
        Fill(cr, WithAlpha(pal::White, 0.22));
        cairo_restore(cr);
    }
    if (pane == Pane::Lit || pane == Pane::Dark) {
        cairo_move_to(cr, x + w / 2, y + (arched ? w * 0.25 : 0));
        cairo_line_to(cr, x + w / 2, y + h);
        cairo_move_to(cr, x, y + h * 0.5);
        cairo_line_to(cr, x + w, y + h * 0.5);
        Stroke(cr, frame, std::max(0.8, w * 0.09));
    }
    if (pane == Pane::Broken) {
        cairo_move_to(cr, x + w * 0.2, y + h * 0.3);
        cairo_line_to(cr, x + w * 0.55, y + h * 0.5);
        cairo_line_to(cr, x + w * 0.4, y + h * 0.8);
        Stroke(cr, WithAlpha(pal::White, 0.5), 0.8);
    }
    shape(cr);
    Stroke(cr, frame, std::max(1.0, w * 0.1));
    if (pane == Pane::Boarded) {
        for (int i = 0; i < 2; ++i) {
            cairo_save(cr);
            cairo_translate(cr, x + w / 2, y + h * (0.32 + 0.36 * i));
            cairo_rotate(cr, i ? 0.18 : -0.22);
            RoundedRect(cr, -w * 0.62, -h * 0.09, w * 1.24, h * 0.18, 1);
            cairo_restore(cr);
            FillLine(cr, Worn(pal::Wood), 0.9, 0.5);
        }
    }
}

void Door(P& p, double x, double base, double w, double h, const Rgba& colour, bool arched = true,
          bool boarded = false) {
    cairo_t* cr = p.cr;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x, base);
    if (arched) {
        cairo_line_to(cr, x, base - h + w / 2);
        cairo_arc(cr, x + w / 2, base - h + w / 2, w / 2, kPi, 2 * kPi);
    } else {
        cairo_line_to(cr, x, base - h);
        cairo_line_to(cr, x + w, base - h);
    }
    cairo_line_to(cr, x + w, base);
    cairo_close_path(cr);
    FillVertical(cr, base - h, base, Lighter(colour, 0.15), Darker(colour, 0.15));
    Stroke(cr, Darker(colour, 0.5), 1.2);
    if (boarded) {
        for (int i = 0; i < 2; ++i) {
            cairo_save(cr);
            cairo_translate(cr, x + w / 2, base - h * (0.3 + 0.35 * i));
            cairo_rotate(cr, i ? -0.3 : 0.25);
            RoundedRect(cr, -w * 0.7, -h * 0.07, w * 1.4, h * 0.14, 1);
            cairo_restore(cr);
            FillLine(cr, Worn(pal::Wood), 0.9);
        }
        return;
    }
    Circle(cr, x + w * 0.75, base - h * 0.42, std::max(0.9, w * 0.07));
    Fill(cr, pal::GoldLight);
}

// A wall face lit from the top-left with its right third in shade.
void Wall(P& p, double x, double top, double w, double h, const Rgba& wall, bool worn = false, unsigned seed = 1) {
    cairo_t* cr = p.cr;
    cairo_rectangle(cr, x, top, w, h);
    FillVertical(cr, top, top + h, Lighter(wall, 0.14), Darker(wall, 0.06));
    cairo_new_path(cr);
    cairo_rectangle(cr, x + w * 0.7, top, w * 0.3, h);
    Fill(cr, WithAlpha(pal::Ink, 0.1));
    if (worn) {
        MapRng rng(seed);
        for (int i = 0; i < 4; ++i) {
            double sx = x + rng.Range(0.05, 0.8) * w, sy = top + rng.Range(0.1, 0.8) * h;
            Ellipse(cr, sx, sy, rng.Range(4, 10), rng.Range(3, 7));
            Fill(cr, WithAlpha(Hex(0x7D7388), 0.22));
        }
        double cx = x + rng.Range(0.2, 0.7) * w;
        cairo_move_to(cr, cx, top + 2);
        cairo_line_to(cr, cx + 4, top + h * 0.18);
        cairo_line_to(cr, cx - 1, top + h * 0.3);
        cairo_line_to(cr, cx + 3, top + h * 0.42);
        Stroke(cr, WithAlpha(pal::Ink, 0.35), 0.9);
    }
    cairo_rectangle(cr, x, top, w, h);
    Stroke(cr, Darker(wall, 0.45), 1.4);
}

enum class Roof { Gable, Hip, Flat, Step };

// A roof over the wall (x, top, w): rises rh above top.
void RoofOver(P& p, double x, double top, double w, double rh, const Rgba& roof, Roof kind, bool worn = false,
              unsigned seed = 3) {
    cairo_t* cr = p.cr;
    const double ov = std::min(8.0, w * 0.08);
    auto shape = [&](cairo_t* c) {
        switch (kind) {
            case Roof::Gable:
                Poly(c, {x - ov, top + 2, x + w / 2, top - rh, x + w + ov, top + 2});
                break;
            case Roof::Hip:
                Poly(c, {x - ov, top + 2, x + w * 0.2, top - rh, x + w * 0.8, top - rh, x + w + ov, top + 2});
                break;
            case Roof::Flat:
                cairo_rectangle(c, x - 2, top - rh, w + 4, rh + 1);
                break;
            case Roof::Step: {
                const double s = w / 5;
                Poly(c, {x, top + 1, x, top - rh * 0.3, x + s, top - rh * 0.3, x + s, top - rh * 0.65, x + 2 * s,
                         top - rh * 0.65, x + 2 * s, top - rh, x + 3 * s, top - rh, x + 3 * s, top - rh * 0.65,
                         x + 4 * s, top - rh * 0.65, x + 4 * s, top - rh * 0.3, x + w, top - rh * 0.3, x + w,
                         top + 1});
                break;
            }
        }
    };
    shape(cr);
    FillVertical(cr, top - rh, top, Lighter(roof, 0.22), Darker(roof, 0.1));
    cairo_new_path(cr);
    if (kind == Roof::Gable || kind == Roof::Hip) {
        // Rows of tiles.
        cairo_save(cr);
        shape(cr);
        cairo_clip(cr);
        for (double yy = top - rh + 5; yy < top; yy += 5) {
            cairo_move_to(cr, x - ov, yy);
            cairo_line_to(cr, x + w + ov, yy);
        }
        Stroke(cr, WithAlpha(Darker(roof, 0.4), 0.35), 0.8);
        // The right slope in shade.
        cairo_rectangle(cr, x + w * 0.55, top - rh, w * 0.6, rh + 2);
        Fill(cr, WithAlpha(pal::Ink, 0.1));
        if (worn) {
            MapRng rng(seed);
            for (int i = 0; i < 3; ++i) {
                double hx = x + rng.Range(0.25, 0.7) * w, hy = top - rng.Range(0.15, 0.55) * rh;
                Poly(cr, {hx - 4, hy, hx + 1, hy - 4, hx + 5, hy + 1, hx, hy + 3});
                Fill(cr, WithAlpha(Darker(pal::PlumDeep, 0.3), 0.75));
            }
        }
        cairo_restore(cr);
    }
    shape(cr);
    Stroke(cr, Darker(roof, 0.45), 1.4);
}

void Chimney(P& p, double x, double top, double w, double h, const Rgba& colour) {
    cairo_t* cr = p.cr;
    cairo_rectangle(cr, x, top, w, h);
    FillVLine(cr, top, top + h, Lighter(colour, 0.2), colour, 1.2);
    cairo_new_path(cr);
    cairo_rectangle(cr, x - 1.5, top - 2, w + 3, 3.5);
    FillLine(cr, Darker(colour, 0.15), 1);
    cairo_new_path(cr);
}

// A whole house: wall, windows, door, roof and chimney.
struct House {
    double x = 0, base = 0, w = 60, h = 50;
    Rgba wall = pal::Cream, roof = pal::Coral;
    Roof roofKind = Roof::Gable;
    double roofH = 26;
    int cols = 2, rows = 1;
    bool worn = false;
    double boarded = 0.45;  // share of boarded windows on a worn house
    bool chimney = true;
    bool shutters = false;
    Rgba shutter = pal::Teal;
    Rgba door = pal::WoodDark;
    double doorAt = 0.5;  // door centre, as a share of the width; < 0: no door
    bool arched = false;
    unsigned seed = 5;
};

void DrawHouse(P& p, const House& hs) {
    const double top = hs.base - hs.h;
    const Rgba wall = hs.worn ? Worn(hs.wall) : hs.wall;
    const Rgba roof = hs.worn ? Worn(hs.roof) : hs.roof;
    Contact(p, hs.x + hs.w / 2, hs.base, hs.w * 0.6, 5, 0.3);
    Drop(p, [&](cairo_t* c) {
        cairo_rectangle(c, hs.x, top, hs.w, hs.h);
        if (hs.roofKind != Roof::Flat)
            Poly(c, {hs.x, top, hs.x + hs.w / 2, top - hs.roofH, hs.x + hs.w, top});
    });
    if (hs.chimney && hs.roofKind != Roof::Flat)
        Chimney(p, hs.x + hs.w * 0.68, top - hs.roofH * 0.95, std::max(5.0, hs.w * 0.09), hs.roofH * 0.7,
                hs.worn ? Worn(pal::Wood) : Darker(pal::Coral, 0.25));
    Wall(p, hs.x, top, hs.w, hs.h, wall, hs.worn, hs.seed);
    // Windows on a grid, leaving room for the door on the ground floor.
    const double cellW = hs.w / hs.cols, cellH = hs.h / (hs.rows + (hs.doorAt >= 0 ? 0.15 : 0));
    const double ww = std::min(cellW * 0.46, 16.0), wh = std::min(cellH * 0.5, 20.0);
    MapRng rng(hs.seed * 7 + 1);
    const double doorX = hs.x + hs.w * hs.doorAt;
    const double dw = std::min(hs.w * 0.2, 15.0), dh = std::min(hs.h * 0.45, 24.0);
    for (int r = 0; r < hs.rows; ++r)
        for (int c = 0; c < hs.cols; ++c) {
            const double wx = hs.x + cellW * (c + 0.5) - ww / 2;
            const double wy = top + cellH * r + (cellH - wh) * 0.42;
            if (r == hs.rows - 1 && hs.doorAt >= 0 && std::abs(wx + ww / 2 - doorX) < (ww + dw) / 2 + 2)
                continue;
            Pane pane = Pane::Lit;
            if (hs.worn)
                pane = rng.Next() < hs.boarded ? Pane::Boarded : (rng.Next() < 0.5 ? Pane::Broken : Pane::Dark);
            else if (rng.Next() < 0.3)
                pane = Pane::Dark;
            Window(p, wx, wy, ww, wh, pane, hs.worn ? Worn(pal::Cream) : pal::Cream, hs.arched,
                   hs.shutters ? &hs.shutter : nullptr);
        }
    if (hs.doorAt >= 0)
        Door(p, doorX - dw / 2, hs.base, dw, dh, hs.worn ? Worn(hs.door) : hs.door, true, hs.worn && hs.seed % 2);
    RoofOver(p, hs.x, top, hs.w, hs.roofH, roof, hs.roofKind, hs.worn, hs.seed + 11);
}

// A striped awning hanging from (x, y), w wide and h deep, with a scalloped edge.
void Awning(P& p, double x, double y, double w, double h, const Rgba& a, const Rgba& b, int stripes = 6) {
    cairo_t* cr = p.cr;
    const double sw = w / stripes;
    Drop(p, [&](cairo_t* c) { Poly(c, {x - 3, y + h, x + 3, y, x + w - 3, y, x + w + 3, y + h}); }, 0.3);
    for (int i = 0; i < stripes; ++i) {
        const double x0 = x + i * sw;
        cairo_new_sub_path(cr);
        cairo_move_to(cr, x0 + 3 * (1 - 2.0 * i / stripes), y);
        cairo_line_to(cr, x0 + sw + 3 * (1 - 2.0 * (i + 1) / stripes), y);
        cairo_line_to(cr, x0 + sw - 3 + 6.0 * (i + 1) / stripes, y + h);
        cairo_arc(cr, x0 + sw / 2 - 3 + 6.0 * (i + 0.5) / stripes, y + h, sw / 2, 0, kPi);
        cairo_close_path(cr);
        FillVertical(cr, y, y + h + sw / 2, Lighter(i % 2 ? b : a, 0.15), Darker(i % 2 ? b : a, 0.08));
        cairo_new_path(cr);
    }
    Poly(cr, {x - 3, y + h, x + 3, y, x + w - 3, y, x + w + 3, y + h});
    Stroke(cr, Darker(a, 0.5), 1.1);
}

enum class TreeKind { Round, Pine, Poplar, Willow, Fruit };

void Tree(P& p, double x, double base, double s, TreeKind kind = TreeKind::Round, bool dull = false) {
    cairo_t* cr = p.cr;
    Rgba leaf = kind == TreeKind::Pine ? Mix(pal::Teal, pal::Leaf, 0.45) : pal::Leaf;
    if (kind == TreeKind::Willow)
        leaf = Mix(pal::Leaf, pal::Sun, 0.2);
    if (dull)
        leaf = Mix(leaf, Hex(0x9AA36A), 0.5);
    Contact(p, x + s * 0.1, base, s * 0.32, s * 0.07, 0.28);
    cairo_rectangle(cr, x - s * 0.06, base - s * 0.45, s * 0.12, s * 0.45);
    FillVertical(cr, base - s * 0.45, base, pal::Wood, pal::WoodDark);
    cairo_new_path(cr);
    PathFn crown;
    double cy = base - s * 0.8, r = s * 0.42;
    switch (kind) {
        case TreeKind::Round:
        case TreeKind::Fruit:
            crown = [=](cairo_t* c) {
                Circle(c, x, cy, r);
                Circle(c, x - r * 0.55, cy + r * 0.3, r * 0.62);
                Circle(c, x + r * 0.55, cy + r * 0.32, r * 0.6);
            };
            break;
        case TreeKind::Pine:
            cy = base - s * 0.75;
            r = s * 0.5;
            crown = [=](cairo_t* c) {
                for (int i = 0; i < 3; ++i) {
                    const double ty = base - s * (0.3 + 0.3 * i), hw = s * (0.34 - 0.07 * i);
                    Poly(c, {x - hw, ty, x, ty - s * 0.5, x + hw, ty});
                }
            };
            break;
        case TreeKind::Poplar:
            cy = base - s * 0.85;
            r = s * 0.6;
            crown = [=](cairo_t* c) { Ellipse(c, x, base - s * 0.85, s * 0.2, s * 0.62); };
            break;
        case TreeKind::Willow:
            crown = [=](cairo_t* c) {
                Ellipse(c, x, cy, r * 1.1, r * 0.8);
                cairo_rectangle(c, x - r * 1.1, cy, r * 2.2, r * 0.9);
            };
            break;
    }
    p.Shadow(crown, 3, 3, 6, WithAlpha(pal::Ink, 0.22));
    crown(cr);
    FillLit(cr, x, cy, r, Lighter(leaf, 0.35), leaf, Darker(leaf, 0.3));
    Stroke(cr, Darker(leaf, 0.45), 1.2);
    if (kind == TreeKind::Willow) {
        // Hanging twigs.
        for (int i = 0; i < 7; ++i) {
            const double tx = x - r + i * r / 3;
            cairo_move_to(cr, tx, cy + r * 0.2);
            cairo_curve_to(cr, tx + 1, cy + r * 0.5, tx - 1, cy + r * 0.8, tx, cy + r * 0.9);
        }
        Stroke(cr, WithAlpha(Darker(leaf, 0.35), 0.7), 1);
    }
    if (kind == TreeKind::Fruit) {
        MapRng rng(static_cast<std::uint32_t>(x * 13 + base));
        for (int i = 0; i < 6; ++i) {
            Circle(cr, x + rng.Range(-r, r) * 0.8, cy + rng.Range(-r, r) * 0.6, std::max(1.2, s * 0.05));
            FillLine(cr, pal::Coral, 0.8);
        }
    }
    if (kind != TreeKind::Pine) {
        Ellipse(cr, x - r * 0.35, cy - r * 0.4, r * 0.3, r * 0.16);
        Fill(cr, WithAlpha(pal::White, 0.25));
    }
}

void Bush(P& p, double x, double base, double s, const Rgba& colour = pal::Leaf, bool flowers = false) {
    cairo_t* cr = p.cr;
    auto shape = [&](cairo_t* c) {
        Circle(c, x - s * 0.35, base - s * 0.3, s * 0.35);
        Circle(c, x + s * 0.1, base - s * 0.45, s * 0.42);
        Circle(c, x + s * 0.5, base - s * 0.28, s * 0.32);
        cairo_rectangle(c, x - s * 0.6, base - s * 0.3, s * 1.4, s * 0.3);
    };
    Contact(p, x, base, s * 0.8, s * 0.12, 0.25);
    shape(cr);
    FillLit(cr, x, base - s * 0.4, s * 0.7, Lighter(colour, 0.35), colour, Darker(colour, 0.3));
    Stroke(cr, Darker(colour, 0.45), 1);
    if (flowers) {
        const Rgba fl[] = {pal::Berry, pal::Sun, pal::Coral, pal::White};
        MapRng rng(static_cast<std::uint32_t>(x * 3 + base * 5));
        for (int i = 0; i < 7; ++i) {
            Circle(cr, x + rng.Range(-0.5, 0.7) * s, base - rng.Range(0.15, 0.75) * s, std::max(1.3, s * 0.09));
            Fill(cr, fl[i % 4]);
        }
    }
}

// A row of flowers along a line.
void Flowers(P& p, double x0, double x1, double y, unsigned seed, double size = 3) {
    cairo_t* cr = p.cr;
    MapRng rng(seed);
    const Rgba fl[] = {pal::Berry, pal::Sun, pal::Coral, pal::White, pal::Violet, pal::Tangerine};
    for (double x = x0; x < x1; x += size * 1.7) {
        const double fy = y - rng.Range(0, size * 1.2);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x, fy);
        Stroke(cr, Darker(pal::Leaf, 0.3), 0.8);
        Circle(cr, x, fy, size * rng.Range(0.6, 0.9));
        Fill(cr, fl[static_cast<int>(rng.Next() * 6) % 6]);
    }
}

// Weeds: spiky tufts in a dull green, for the neglected places.
void Weeds(P& p, double x0, double x1, double base, double h, unsigned seed) {
    cairo_t* cr = p.cr;
    MapRng rng(seed);
    for (double x = x0; x < x1; x += rng.Range(3, 7)) {
        const double th = h * rng.Range(0.5, 1.1);
        for (int k = -1; k <= 1; ++k) {
            cairo_move_to(cr, x - 2, base);
            cairo_curve_to(cr, x + k * 2, base - th * 0.5, x + k * 4, base - th * 0.8, x + k * 5, base - th);
            cairo_line_to(cr, x + 2, base);
        }
        Fill(cr, rng.Next() < 0.5 ? Hex(0x8C9A4E) : Hex(0x6F8447));
    }
}

// A heap of stones and broken planks.
void Rubble(P& p, double x0, double x1, double base, double h, unsigned seed) {
    cairo_t* cr = p.cr;
    MapRng rng(seed);
    const double w = x1 - x0;
    Contact(p, (x0 + x1) / 2, base, w * 0.55, 6, 0.3);
    // Planks first, stones over them.
    for (int i = 0; i < 4; ++i) {
        const double px = x0 + rng.Range(0.1, 0.8) * w, py = base - rng.Range(0.1, 0.6) * h;
        cairo_save(cr);
        cairo_translate(cr, px, py);
        cairo_rotate(cr, rng.Range(-0.8, 0.8));
        RoundedRect(cr, -w * 0.18, -2.5, w * 0.36, 5, 1);
        cairo_restore(cr);
        FillLine(cr, Worn(pal::Wood), 1);
    }
    for (int i = 0; i < 16; ++i) {
        const double t = rng.Next();
        const double cx = x0 + w * (0.08 + 0.84 * t);
        const double hump = std::sin(t * kPi);
        const double cy = base - 4 - rng.Range(0, h * 0.85) * hump;
        const double r = rng.Range(4, 9);
        auto stone = [&](cairo_t* c) { RegularPolygon(c, cx, cy, r, 5 + i % 3, rng.Range(0, 60), r * 0.3); };
        stone(cr);
        const Rgba sc = Mix(pal::Stone, Hex(0x9C93A8), rng.Next());
        FillLit(cr, cx, cy, r, Lighter(sc, 0.4), sc, Darker(sc, 0.3));
        Stroke(cr, Darker(sc, 0.5), 1);
    }
}

void Fence(P& p, double x0, double x1, double base, double h, const Rgba& colour, bool broken, unsigned seed = 9) {
    cairo_t* cr = p.cr;
    MapRng rng(seed);
    const Rgba c = broken ? Worn(colour) : colour;
    for (double x = x0; x <= x1; x += 7) {
        double tilt = broken ? rng.Range(-0.35, 0.35) : 0;
        if (broken && rng.Next() < 0.25)
            continue;
        cairo_save(cr);
        cairo_translate(cr, x, base);
        cairo_rotate(cr, tilt);
        Poly(cr, {-2, 0, -2, -h + 2, 0, -h, 2, -h + 2, 2, 0});
        cairo_restore(cr);
        FillLine(cr, c, 0.9);
    }
    for (int k = 0; k < 2; ++k) {
        const double ry = base - h * (0.3 + 0.4 * k);
        if (broken) {
            cairo_move_to(cr, x0, ry);
            cairo_line_to(cr, x0 + (x1 - x0) * 0.4, ry + 3 * k);
        } else {
            cairo_move_to(cr, x0 - 2, ry);
            cairo_line_to(cr, x1 + 2, ry);
        }
        Stroke(cr, Darker(c, 0.2), 2);
    }
}

void Flag(P& p, double x, double base, double pole, const Rgba& colour) {
    cairo_t* cr = p.cr;
    cairo_move_to(cr, x, base);
    cairo_line_to(cr, x, base - pole);
    Stroke(cr, Darker(pal::Stone, 0.35), 1.6);
    Circle(cr, x, base - pole - 1, 1.8);
    Fill(cr, pal::Gold);
    const double fy = base - pole + 2;
    cairo_move_to(cr, x, fy);
    cairo_curve_to(cr, x + 8, fy - 3, x + 14, fy + 3, x + 22, fy);
    cairo_line_to(cr, x + 22, fy + 12);
    cairo_curve_to(cr, x + 14, fy + 15, x + 8, fy + 9, x, fy + 12);
    cairo_close_path(cr);
    FillVertical(cr, fy, fy + 14, Lighter(colour, 0.2), colour);
    Stroke(cr, Darker(colour, 0.5), 1);
}

void LampPost(P& p, double x, double base, double h, bool lit = true) {
    cairo_t* cr = p.cr;
    Contact(p, x, base, 4, 1.5, 0.3);
    cairo_move_to(cr, x, base);
    cairo_line_to(cr, x, base - h + 6);
    Stroke(cr, pal::PlumDeep, 2);
    if (lit)
        p.Shadow([&](cairo_t* c) { Circle(c, x, base - h + 2, 6); }, 0, 0, 8, WithAlpha(pal::GoldLight, 0.9));
    Poly(cr, {x - 4, base - h + 7, x - 3, base - h, x + 3, base - h, x + 4, base - h + 7});
    SetColour(cr, lit ? Lighter(pal::Sun, 0.4) : pal::Stone);
    cairo_fill_preserve(cr);
    Stroke(cr, pal::PlumDeep, 1.1);
    Poly(cr, {x - 5, base - h, x, base - h - 4, x + 5, base - h});
    FillLine(cr, pal::PlumDeep, 1, 0.3);
}

void Bench(P& p, double x, double base, double w) {
    cairo_t* cr = p.cr;
    Contact(p, x + w / 2, base, w * 0.55, 2.5, 0.3);
    for (double lx : {x + 3, x + w - 5}) {
        cairo_rectangle(cr, lx, base - 7, 2, 7);
        Fill(cr, pal::PlumDeep);
    }
    RoundedRect(cr, x, base - 9, w, 3, 1);
    FillLine(cr, pal::Wood, 0.9);
    RoundedRect(cr, x + 1, base - 15, w - 2, 3, 1);
    FillLine(cr, pal::Wood, 0.9);
}

void Barrel(P& p, double x, double base, double s, bool worn) {
    cairo_t* cr = p.cr;
    const Rgba c = worn ? Worn(pal::Wood) : pal::Wood;
    Contact(p, x, base, s * 0.6, 2, 0.3);
    Ellipse(cr, x, base - s * 0.6, s * 0.45, s * 0.62);
    FillLit(cr, x, base - s * 0.6, s * 0.6, Lighter(c, 0.3), c, Darker(c, 0.3));
    Stroke(cr, Darker(c, 0.5), 1);
    for (double f : {0.3, 0.9}) {
        cairo_move_to(cr, x - s * 0.43, base - s * f);
        cairo_line_to(cr, x + s * 0.43, base - s * f);
    }
    Stroke(cr, worn ? Hex(0x8A6A5A) : Darker(pal::Stone, 0.3), 1.2);
}

void Crate(P& p, double x, double base, double s, const Rgba& colour, bool worn, const Rgba* fruit = nullptr) {
    cairo_t* cr = p.cr;
    const Rgba c = worn ? Worn(colour) : colour;
    Contact(p, x + s / 2, base, s * 0.6, 2, 0.3);
    if (fruit) {
        for (int i = 0; i < 4; ++i) {
            Circle(cr, x + s * (0.18 + 0.21 * i), base - s * 0.72 - (i % 2) * 2, s * 0.16);
            FillLine(cr, *fruit, 0.8, 0.45);
        }
    }
    cairo_rectangle(cr, x, base - s * 0.7, s, s * 0.7);
    FillVertical(cr, base - s * 0.7, base, Lighter(c, 0.2), c);
    Stroke(cr, Darker(c, 0.5), 1);
    cairo_move_to(cr, x, base - s * 0.35);
    cairo_line_to(cr, x + s, base - s * 0.35);
    Stroke(cr, Darker(c, 0.35), 0.8);
}

// A boat hull floating at the waterline: bow to the right.
void Hull(P& p, double x, double water, double len, double h, const Rgba& colour, bool worn = false) {
    cairo_t* cr = p.cr;
    const Rgba c = worn ? Worn(colour) : colour;
    auto hull = [&](cairo_t* k) {
        cairo_new_sub_path(k);
        cairo_move_to(k, x, water - h);
        cairo_line_to(k, x + len, water - h * 1.25);
        cairo_curve_to(k, x + len * 0.93, water - h * 0.2, x + len * 0.78, water + h * 0.25, x + len * 0.55,
                       water + h * 0.25);
        cairo_line_to(k, x + len * 0.15, water + h * 0.25);
        cairo_curve_to(k, x + len * 0.05, water + h * 0.2, x, water - h * 0.3, x, water - h);
        cairo_close_path(k);
    };
    p.Shadow([&](cairo_t* k) { Ellipse(k, x + len * 0.5, water + h * 0.35, len * 0.55, h * 0.35); }, 0, 0, 6,
             WithAlpha(pal::Night, 0.3));
    hull(cr);
    FillVertical(cr, water - h * 1.25, water + h * 0.25, Lighter(c, 0.2), Darker(c, 0.2));
    Stroke(cr, Darker(c, 0.5), 1.3);
    cairo_save(cr);
    hull(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, x - 2, water - h * 1.3, len + 4, h * 0.35);
    Fill(cr, worn ? Worn(pal::Cream) : pal::Cream);
    cairo_restore(cr);
    // The water laps over the bottom of the hull.
    cairo_rectangle(cr, x - 4, water, len + 8, h * 0.4);
    Fill(cr, WithAlpha(Mix(pal::Teal, pal::Azure, 0.4), 0.55));
    cairo_move_to(cr, x - 3, water + 0.5);
    cairo_line_to(cr, x + len + 3, water + 0.5);
    Stroke(cr, WithAlpha(pal::White, 0.6), 1.2);
}

// A triangular sail on a mast at x, from top to the boom at bottom, reaching w to the left (w < 0) or right.
void Sail(P& p, double x, double top, double bottom, double w, const Rgba& colour) {
    cairo_t* cr = p.cr;
    Poly(cr, {x + (w > 0 ? 1.5 : -1.5), top + 3, x + (w > 0 ? 1.5 : -1.5), bottom, x + w, bottom});
    FillVertical(cr, top, bottom, Lighter(colour, 0.3), Darker(colour, 0.08));
    Stroke(cr, Darker(colour, 0.4), 1.1);
}

void Mast(P& p, double x, double top, double bottom) {
    cairo_move_to(p.cr, x, bottom);
    cairo_line_to(p.cr, x, top);
    Stroke(p.cr, pal::WoodDark, 2);
}

// Light ripples on water.
void Ripples(P& p, double x0, double x1, double y0, double y1, unsigned seed, int count, double alpha = 0.55) {
    cairo_t* cr = p.cr;
    MapRng rng(seed);
    for (int i = 0; i < count; ++i) {
        const double x = rng.Range(x0, x1), y = rng.Range(y0, y1), l = rng.Range(6, 16);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + l * 0.3, y - 1.5, x + l * 0.7, y - 1.5, x + l, y);
        Stroke(cr, WithAlpha(pal::White, alpha * rng.Range(0.5, 1)), 1.2);
    }
}

// A small round sign board with a picture drawn by `art` inside (centred on cx, cy).
void Sign(P& p, double cx, double cy, double r, const Rgba& colour, const std::function<void()>& art) {
    cairo_t* cr = p.cr;
    Circle(cr, cx, cy, r);
    FillLit(cr, cx, cy, r, Lighter(colour, 0.4), colour, Darker(colour, 0.2));
    Stroke(cr, pal::Gold, 1.4);
    art();
}

// ---- the ground: sky, hills, land, river and sea ----

void Cloud(cairo_t* cr, double x, double y, double s) {
    Circle(cr, x, y, s * 0.55);
    Circle(cr, x + s * 0.6, y - s * 0.25, s * 0.7);
    Circle(cr, x + s * 1.3, y - s * 0.05, s * 0.55);
    RoundedRect(cr, x - s * 0.2, y - s * 0.1, s * 1.8, s * 0.65, s * 0.3);
}

void DrawGround(P& p) {
    cairo_t* cr = p.cr;
    // Sky.
    cairo_rectangle(cr, 0, 0, kMapW, kMapH);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 420);
    cairo_pattern_add_color_stop_rgb(sky, 0, pal::SkyTop.r, pal::SkyTop.g, pal::SkyTop.b);
    cairo_pattern_add_color_stop_rgb(sky, 0.55, pal::Sky.r, pal::Sky.g, pal::Sky.b);
    cairo_pattern_add_color_stop_rgb(sky, 1, pal::SkyLow.r, pal::SkyLow.g, pal::SkyLow.b);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    // The sun up at the top-left, where the pack's light comes from.
    cairo_pattern_t* sun = cairo_pattern_create_radial(230, 70, 0, 230, 70, 620);
    cairo_pattern_add_color_stop_rgba(sun, 0, 1, 0.97, 0.85, 0.95);
    cairo_pattern_add_color_stop_rgba(sun, 0.1, 1, 0.93, 0.7, 0.55);
    cairo_pattern_add_color_stop_rgba(sun, 1, 1, 0.9, 0.7, 0);
    cairo_rectangle(cr, 0, 0, kMapW, kMapH);
    cairo_set_source(cr, sun);
    cairo_fill(cr);
    cairo_pattern_destroy(sun);
    Circle(cr, 230, 70, 40);
    Fill(cr, Hex(0xFFF8DC));
    // Clouds.
    const double clouds[][3] = {{120, 150, 46}, {470, 95, 60}, {760, 160, 40}, {1010, 80, 54},
                                {1420, 120, 62}, {1650, 70, 40}, {1900, 130, 50}, {1230, 190, 30}};
    for (const auto& c : clouds) {
        auto shape = [&](cairo_t* k) { Cloud(k, c[0], c[1], c[2]); };
        p.Shadow(shape, 4, 8, 16, WithAlpha(pal::Azure, 0.25));
        shape(cr);
        FillVertical(cr, c[1] - c[2], c[1] + c[2] * 0.55, pal::White, Hex(0xDDEBF5));
        cairo_new_path(cr);
    }
    // Far hills, bluish.
    auto far = [&](cairo_t* k) {
        cairo_move_to(k, 0, kMapH);
        for (double x = 0; x <= kMapW; x += 8)
            cairo_line_to(k, x, FarRidge(x));
        cairo_line_to(k, kMapW, kMapH);
        cairo_close_path(k);
    };
    p.Shadow(far, 0, -4, 14, WithAlpha(pal::White, 0.4));
    far(cr);
    FillVertical(cr, 150, 330, Mix(pal::Leaf, pal::Sky, 0.6), Mix(pal::Teal, pal::Sky, 0.45));
    cairo_new_path(cr);
    // The near hills and the land down to the sea.
    auto land = [&](cairo_t* k) {
        cairo_move_to(k, 0, kMapH);
        for (double x = 0; x <= kMapW; x += 4)
            cairo_line_to(k, x, Ridge(x));
        cairo_line_to(k, kMapW, kMapH);
        cairo_close_path(k);
    };
    p.Shadow(land, 0, -5, 16, WithAlpha(pal::White, 0.45));
    land(cr);
    FillVertical(cr, 230, 560, Lighter(pal::Leaf, 0.22), Mix(pal::Leaf, pal::Sun, 0.18));
    cairo_new_path(cr);
    cairo_save(cr);
    land(cr);
    cairo_clip(cr);
    // Soft meadow patches.
    {
        MapRng rng(43);
        for (int i = 0; i < 90; ++i) {
            const double x = rng.Range(0, kMapW);
            const double y = rng.Range(Ridge(x) + 10, 560);
            Ellipse(cr, x, y, rng.Range(20, 60), rng.Range(6, 14));
            Fill(cr, WithAlpha(rng.Next() < 0.5 ? Lighter(pal::Leaf, 0.4) : Darker(pal::Leaf, 0.12), 0.16));
        }
        // Warmer, trodden ground where the town stands.
        p.Shadow([](cairo_t* k) { Ellipse(k, 720, 470, 640, 60); }, 0, 0, 40, WithAlpha(pal::Sun, 0.28));
        p.Shadow([](cairo_t* k) { Ellipse(k, 1660, 480, 230, 50); }, 0, 0, 40, WithAlpha(pal::Sun, 0.22));
    }
    cairo_restore(cr);
    // The river, with sandy banks.
    RiverPath(cr, 4);
    Fill(cr, Mix(pal::Cream, pal::Wood, 0.3));
    RiverPath(cr, 0);
    FillVertical(cr, 300, 560, Mix(pal::Teal, pal::Sky, 0.35), Mix(pal::Teal, pal::Azure, 0.3));
    cairo_new_path(cr);
    cairo_save(cr);
    RiverPath(cr, 0);
    cairo_clip(cr);
    for (double y = 320; y < 540; y += 11) {
        double cx, h;
        RiverAt(y, cx, h);
        cairo_move_to(cr, cx - h * 0.5, y);
        cairo_curve_to(cr, cx - h * 0.2, y - 2, cx + h * 0.1, y + 2, cx + h * 0.4, y);
    }
    Stroke(cr, WithAlpha(pal::White, 0.45), 1.2);
    cairo_restore(cr);
    // The sea below the quays and the headland.
    auto sea = [&](cairo_t* k) {
        cairo_move_to(k, 0, kMapH);
        for (double x = 0; x <= kMapW; x += 4)
            cairo_line_to(k, x, CoastY(x));
        cairo_line_to(k, kMapW, kMapH);
        cairo_close_path(k);
    };
    sea(cr);
    FillVertical(cr, 520, 768, Mix(pal::Teal, pal::SkyLow, 0.3), Mix(pal::Azure, pal::Teal, 0.45));
    cairo_new_path(cr);
    cairo_save(cr);
    sea(cr);
    cairo_clip(cr);
    // Shade along the quay foot, the sun's glitter path and ripples.
    cairo_rectangle(cr, 0, 520, kMapW, 30);
    FillVertical(cr, 520, 550, WithAlpha(pal::Night, 0.18), WithAlpha(pal::Night, 0));
    cairo_new_path(cr);
    p.Shadow([](cairo_t* k) { Ellipse(k, 330, 660, 220, 22); }, 0, 0, 30, WithAlpha(pal::White, 0.16));
    Ripples(p, 0, kMapW, 540, 760, 51, 170, 0.5);
    cairo_restore(cr);
    // Foam where the river meets the sea.
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, 1318 + i * 6, 540 + i * 9);
        cairo_curve_to(cr, 1360, 548 + i * 10, 1430, 548 + i * 10, 1478 - i * 6, 584 + i * 8);
    }
    Stroke(cr, WithAlpha(pal::White, 0.35), 1.5);
}

// ---- scenery (always there) ----

// 1001: pines along the near ridge.
void DrawPineWoods(P& p) {
    MapRng rng(101);
    for (double x = 6; x < kMapW; x += rng.Range(16, 30)) {
        if ((x > 1190 && x < 1310) || (x > 850 && x < 970) || x > 1780)
            continue;
        const double y = Ridge(x) + rng.Range(4, 14);
        Tree(p, x, y, rng.Range(18, 30), TreeKind::Pine, true);
    }
}

// 1002: the old church on its hill, its spire long gone.
void DrawOldChurch(P& p) {
    cairo_t* cr = p.cr;
    const double base = 336;
    const Rgba wall = Worn(Hex(0xF3E6CF)), roof = Worn(pal::Azure);
    Contact(p, 910, base, 56, 6, 0.3);
    Drop(p, [&](cairo_t* c) {
        cairo_rectangle(c, 862, 226, 34, 110);
        cairo_rectangle(c, 892, 284, 66, 52);
    });
    // Nave.
    Wall(p, 892, 284, 66, 52, wall, true, 21);
    for (int i = 0; i < 3; ++i)
        Window(p, 900 + i * 19, 296, 9, 22, Pane::Dark, Worn(pal::Cream), true);
    RoofOver(p, 892, 284, 66, 26, roof, Roof::Gable, true, 23);
    // Tower with a broken top.
    Wall(p, 862, 232, 34, 104, wall, true, 22);
    Window(p, 872, 246, 14, 22, Pane::Dark, Worn(pal::Cream), true);
    Circle(cr, 879, 290, 7);
    FillLine(cr, Worn(Hex(0xB9A7E0)), 1.2);
    Door(p, 871, base, 16, 24, Worn(pal::WoodDark), true);
    Poly(cr, {860, 233, 860, 224, 866, 224, 866, 228, 872, 228, 873, 222, 880, 222, 881, 228, 888, 229, 889, 223,
              898, 223, 898, 233});
    FillLine(cr, Darker(wall, 0.05), 1.3);
}

// 1003: small old cottages on the hill below the church.
void DrawHillCottages(P& p) {
    const double cottages[][5] = {{560, 380, 50, 36, 0}, {622, 374, 44, 32, 1}, {700, 382, 52, 38, 2}, {772, 376, 46, 34, 3}};
    const Rgba roofs[] = {pal::Coral, pal::Tangerine, pal::Azure, pal::Violet};
    for (const auto& s : cottages) {
        House h;
        h.x = s[0];
        h.base = s[1];
        h.w = s[2];
        h.h = s[3];
        h.roof = roofs[static_cast<int>(s[4])];
        h.wall = Hex(0xFFE2B8);
        h.roofH = 22;
        h.worn = true;
        h.boarded = 0.25;
        h.seed = 30 + static_cast<unsigned>(s[4]);
        DrawHouse(p, h);
    }
}

// 1004: sandy paths up the hills from the main street.
void DrawHillPaths(P& p) {
    cairo_t* cr = p.cr;
    auto paths = [](cairo_t* c) {
        cairo_move_to(c, 330, 446);
        cairo_curve_to(c, 340, 410, 250, 400, 272, 352);
        cairo_move_to(c, 850, 446);
        cairo_curve_to(c, 840, 400, 900, 380, 880, 336);
        cairo_move_to(c, 1296, 446);
        cairo_curve_to(c, 1310, 390, 1226, 330, 1250, 270);
    };
    paths(cr);
    Stroke(cr, Darker(Mix(pal::Cream, pal::Wood, 0.3), 0.1), 11);
    paths(cr);
    Stroke(cr, Mix(pal::Cream, pal::Wood, 0.22), 8);
}

// 1005: round trees on the hills.
void DrawHillTrees(P& p) {
    const double trees[][3] = {{1140, 292, 30}, {1168, 300, 34}, {1330, 300, 30}, {1356, 310, 26}, {48, 326, 30},
                               {150, 312, 28},  {560, 340, 30},  {1600, 342, 32}, {1650, 336, 28}, {1710, 330, 30},
                               {1540, 350, 26}, {995, 316, 28},  {1040, 322, 26}};
    for (const auto& t : trees)
        Tree(p, t[0], t[1], t[2], TreeKind::Round, true);
}

// 1006: old cottages on the east bank.
void DrawEastCottages(P& p) {
    const double cottages[][5] = {
        {1490, 394, 46, 34, 0}, {1550, 390, 54, 40, 1}, {1618, 396, 48, 34, 2}, {1680, 392, 56, 40, 3}, {1744, 398, 40, 30, 4}};
    const Rgba roofs[] = {pal::Teal, pal::Coral, pal::Violet, pal::Tangerine, pal::Azure};
    const Rgba walls[] = {Hex(0xE9E1F7), pal::Cream, Hex(0xF9D1C9), Hex(0xFFE2B8), pal::Cream};
    for (const auto& s : cottages) {
        House h;
        const int i = static_cast<int>(s[4]);
        h.x = s[0];
        h.base = s[1];
        h.w = s[2];
        h.h = s[3];
        h.roof = roofs[i];
        h.wall = walls[i];
        h.roofH = 22;
        h.worn = true;
        h.boarded = 0.25;
        h.seed = 40 + i;
        DrawHouse(p, h);
    }
}

// 1007: the old factory at the far right. Its chimney tops are at (1831, 197),
// (1887, 225), (1929, 222), (1967, 240) and (2019, 302): smoke rises from there.
void DrawOldFactory(P& p) {
    cairo_t* cr = p.cr;
    const double base = 482;
    const Rgba brick = Worn(Mix(pal::Coral, pal::WoodDark, 0.35));
    const Rgba brick2 = Worn(Mix(pal::Tangerine, pal::WoodDark, 0.4));
    const Rgba roof = Worn(pal::Plum);
    Contact(p, 1924, base, 130, 7, 0.3);
    Drop(p, [&](cairo_t* c) {
        cairo_rectangle(c, 1800, 318, 106, 164);
        cairo_rectangle(c, 1904, 352, 150, 130);
    });
    // Chimneys stand behind the roofs: {centre x, top, width, foot}.
    const double chimneys[][4] = {{1831, 197, 20, 320}, {1887, 225, 16, 320}, {1929, 222, 16, 352},
                                  {1967, 240, 14, 352}, {2019, 302, 12, 352}};
    for (const auto& c : chimneys) {
        const double cx = c[0], top = c[1], w = c[2], foot = c[3];
        Poly(cr, {cx - w / 2, top + 4, cx + w / 2, top + 4, cx + w / 2 + 3, foot, cx - w / 2 - 3, foot});
        FillVLine(cr, top, foot, Lighter(brick, 0.1), Darker(brick, 0.1), 1.3);
        cairo_new_path(cr);
        for (double yy = top + 14; yy < foot - 4; yy += 16) {
            cairo_move_to(cr, cx - w / 2 - 1, yy);
            cairo_line_to(cr, cx + w / 2 + 1, yy);
        }
        Stroke(cr, WithAlpha(Darker(brick, 0.4), 0.5), 1);
        RoundedRect(cr, cx - w / 2 - 2.5, top, w + 5, 6, 1.5);
        FillLine(cr, Darker(brick, 0.2), 1.2);
        Ellipse(cr, cx, top + 0.8, w / 2 - 1, 1.6);
        Fill(cr, Darker(pal::PlumDeep, 0.4));
    }
    // The tall hall on the left with its gable.
    Wall(p, 1800, 320, 106, 162, brick, true, 71);
    RoofOver(p, 1800, 320, 106, 30, roof, Roof::Gable, true, 72);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            Window(p, 1810 + c * 24, 336 + r * 40, 14, 26, (r + c) % 3 == 0 ? Pane::Broken : Pane::Dark,
                   Worn(pal::Cream), true);
    // The long shed on the right with a saw-tooth roof.
    Wall(p, 1904, 354, 146, 128, brick2, true, 73);
    for (int i = 0; i < 5; ++i) {
        const double x0 = 1904 + i * 29.2;
        Poly(cr, {x0, 356, x0, 332, x0 + 29.2, 356});
        FillVertical(cr, 332, 356, Lighter(roof, 0.15), roof);
        Stroke(cr, Darker(roof, 0.45), 1.2);
        Poly(cr, {x0 + 1.5, 352, x0 + 1.5, 338, x0 + 8, 347});
        Fill(cr, Mix(pal::Azure, pal::PlumDeep, 0.4));
    }
    for (int c = 0; c < 5; ++c)
        Window(p, 1914 + c * 27, 374, 16, 30, c % 2 ? Pane::Broken : Pane::Boarded, Worn(pal::Cream), true);
    // The big gate.
    Door(p, 1930, base, 40, 56, Worn(pal::WoodDark), true, true);
    for (int c = 0; c < 2; ++c)
        Window(p, 1990 + c * 28, 420, 16, 26, Pane::Dark, Worn(pal::Cream), false);
}

// 1008: the old town above the main street: a row of old roofs uphill and a
// cobbled lane with steps climbing to them.
void DrawOldTown(P& p) {
    cairo_t* cr = p.cr;
    const double cottages[][5] = {{972, 404, 44, 34, 0}, {1024, 398, 40, 40, 1}, {1130, 400, 46, 36, 2},
                               {1186, 404, 40, 30, 3}, {1232, 402, 44, 34, 4}};
    const Rgba roofs[] = {pal::Tangerine, pal::Coral, pal::Teal, pal::Azure, pal::Coral};
    const Rgba walls[] = {pal::Cream, Hex(0xF9D1C9), Hex(0xFFE2B8), pal::Cream, Hex(0xE9E1F7)};
    for (const auto& c : cottages) {
        House h;
        const int i = static_cast<int>(c[4]);
        h.x = c[0];
        h.base = c[1];
        h.w = c[2];
        h.h = c[3];
        h.roof = roofs[i];
        h.wall = walls[i];
        h.roofH = 20;
        h.worn = true;
        h.boarded = 0.25;
        h.seed = 60 + static_cast<unsigned>(i);
        DrawHouse(p, h);
    }
    auto lane = [](cairo_t* c) {
        cairo_new_sub_path(c);
        cairo_move_to(c, 1060, 446);
        cairo_curve_to(c, 1070, 428, 1086, 414, 1100, 404);
        cairo_line_to(c, 1124, 404);
        cairo_curve_to(c, 1130, 418, 1134, 432, 1140, 446);
        cairo_close_path(c);
    };
    lane(cr);
    FillVertical(cr, 404, 446, Mix(pal::Stone, pal::Cream, 0.5), Mix(pal::Stone, pal::Cream, 0.3));
    cairo_new_path(cr);
    cairo_save(cr);
    lane(cr);
    cairo_clip(cr);
    for (double y = 410; y < 446; y += 6) {
        cairo_move_to(cr, 1050, y);
        cairo_line_to(cr, 1150, y);
    }
    Stroke(cr, WithAlpha(Darker(pal::Stone, 0.3), 0.5), 1);
    cairo_restore(cr);
    lane(cr);
    Stroke(cr, Darker(pal::Stone, 0.3), 1.2);
    Bush(p, 1052, 444, 12, Mix(pal::Leaf, Hex(0x9AA36A), 0.4));
    Bush(p, 1290, 444, 14, Mix(pal::Leaf, Hex(0x9AA36A), 0.4));
}

// The cobbles of a road band.
void Cobbles(P& p, double x0, double x1, double y0, double y1, unsigned seed) {
    cairo_t* cr = p.cr;
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    FillVertical(cr, y0, y1, Mix(pal::Stone, pal::Cream, 0.45), Mix(pal::Stone, pal::Wood, 0.12));
    cairo_new_path(cr);
    MapRng rng(seed);
    int row = 0;
    for (double y = y0 + 2; y < y1 - 2; y += 5, ++row)
        for (double x = x0 + (row % 2 ? 4 : 0); x < x1 - 6; x += 9)
            RoundedRect(cr, x + rng.Range(-0.8, 0.8), y, 7, 3.4, 1.7);
    Fill(cr, WithAlpha(Darker(pal::Stone, 0.2), 0.3));
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y0);
    Stroke(cr, Darker(pal::Stone, 0.35), 1.4);
    cairo_move_to(cr, x0, y1);
    cairo_line_to(cr, x1, y1);
    Stroke(cr, Lighter(pal::Stone, 0.3), 2);
}

// 1009: the main street on both banks.
void DrawMainStreet(P& p) {
    Cobbles(p, 104, 1350, 445, 469, 91);
    Cobbles(p, 1426, 1800, 452, 473, 92);
}

// 1010: the old railway line on the east bank, ending at the factory.
void DrawRailway(P& p) {
    cairo_t* cr = p.cr;
    for (double x = 1480; x < 1800; x += 9) {
        RoundedRect(cr, x, 437, 5, 10, 1);
    }
    Fill(cr, Worn(pal::WoodDark));
    for (double y : {439.5, 444.5}) {
        cairo_move_to(cr, 1476, y);
        cairo_line_to(cr, 1802, y);
    }
    Stroke(cr, Darker(pal::Stone, 0.45), 1.6);
    // Buffer stop.
    RoundedRect(cr, 1468, 430, 10, 16, 2);
    FillLine(cr, Worn(pal::Coral), 1.1);
}

// 1011: old houses along the west end of the main street.
void DrawWestHouses(P& p) {
    const double cottages[][6] = {{112, 446, 60, 58, 0, 2}, {178, 444, 58, 66, 1, 2}, {242, 446, 56, 52, 2, 1}};
    const Rgba roofs[] = {pal::Azure, pal::Coral, pal::Teal};
    const Rgba walls[] = {pal::Cream, Hex(0xE9E1F7), Hex(0xFFE2B8)};
    for (const auto& s : cottages) {
        House h;
        const int i = static_cast<int>(s[4]);
        h.x = s[0];
        h.base = s[1];
        h.w = s[2];
        h.h = s[3];
        h.rows = static_cast<int>(s[5]);
        h.roof = roofs[i];
        h.wall = walls[i];
        h.roofH = 26;
        h.worn = true;
        h.boarded = 0.25;
        h.seed = 50 + i;
        DrawHouse(p, h);
    }
}

// 1012: willows along the river.
void DrawWillows(P& p) {
    Tree(p, 1316, 424, 40, TreeKind::Willow);
    Tree(p, 1440, 360, 34, TreeKind::Willow);
    Tree(p, 1338, 352, 30, TreeKind::Willow);
}

// 1013: shade trees where the street passes below the church.
void DrawStreetTrees(P& p) {
    Tree(p, 862, 446, 46, TreeKind::Round);
    Tree(p, 908, 448, 54, TreeKind::Round);
    Tree(p, 950, 446, 42, TreeKind::Round);
}

// 1014: the stone quay of the harbour: promenade, wall, steps and bollards.
void DrawHarbourQuay(P& p) {
    cairo_t* cr = p.cr;
    auto top = [](cairo_t* c) { Poly(c, {100, 469, 1352, 469, 1340, 505, 104, 505}); };
    top(cr);
    FillVertical(cr, 469, 505, Mix(pal::Stone, pal::Cream, 0.55), Mix(pal::Stone, pal::Cream, 0.3));
    cairo_new_path(cr);
    cairo_save(cr);
    top(cr);
    cairo_clip(cr);
    for (double y = 478; y < 505; y += 9) {
        cairo_move_to(cr, 100, y);
        cairo_line_to(cr, 1360, y);
    }
    for (double x = 110; x < 1350; x += 24) {
        cairo_move_to(cr, x, 469);
        cairo_line_to(cr, x - 3, 505);
    }
    Stroke(cr, WithAlpha(Darker(pal::Stone, 0.2), 0.35), 1);
    cairo_restore(cr);
    // The wall face.
    auto face = [](cairo_t* c) { Poly(c, {104, 505, 1340, 505, 1316, 530, 112, 530}); };
    face(cr);
    FillVertical(cr, 505, 530, Darker(pal::Stone, 0.12), Darker(pal::Stone, 0.3));
    cairo_new_path(cr);
    cairo_save(cr);
    face(cr);
    cairo_clip(cr);
    for (double y = 513; y < 530; y += 8) {
        cairo_move_to(cr, 100, y);
        cairo_line_to(cr, 1350, y);
    }
    int row = 0;
    for (double y = 505; y < 530; y += 8, ++row)
        for (double x = 110 + (row % 2) * 14; x < 1340; x += 28) {
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x, y + 8);
        }
    Stroke(cr, WithAlpha(Darker(pal::Stone, 0.5), 0.4), 1);
    cairo_restore(cr);
    face(cr);
    Stroke(cr, Darker(pal::Stone, 0.5), 1.2);
    cairo_move_to(cr, 104, 505);
    cairo_line_to(cr, 1340, 505);
    Stroke(cr, Lighter(pal::Stone, 0.4), 2);
    // Steps down to the water.
    for (int i = 0; i < 4; ++i) {
        cairo_rectangle(cr, 934 + i * 5, 505 + i * 6, 46 - i * 5, 6);
        FillLine(cr, Mix(pal::Stone, pal::Cream, 0.3 - i * 0.05), 0.9);
    }
    // Bollards.
    for (double x = 150; x < 1320; x += 96) {
        if (x > 920 && x < 990)
            continue;
        RoundedRect(cr, x - 4, 496, 8, 10, 3);
        FillVLine(cr, 496, 506, Lighter(pal::PlumDeep, 0.3), pal::PlumDeep, 1);
        cairo_new_path(cr);
    }
}

// 1015: the east quay, a wooden boardwalk along the shore.
void DrawEastQuay(P& p) {
    cairo_t* cr = p.cr;
    auto deck = [](cairo_t* c) { Poly(c, {1500, 542, 2048, 542, 2048, 566, 1496, 566}); };
    deck(cr);
    FillVertical(cr, 542, 566, Lighter(pal::Wood, 0.3), pal::Wood);
    cairo_new_path(cr);
    cairo_save(cr);
    deck(cr);
    cairo_clip(cr);
    for (double y = 548; y < 566; y += 6) {
        cairo_move_to(cr, 1490, y);
        cairo_line_to(cr, 2048, y);
    }
    Stroke(cr, WithAlpha(pal::WoodDark, 0.45), 1);
    cairo_restore(cr);
    deck(cr);
    Stroke(cr, pal::WoodDark, 1.2);
    cairo_rectangle(cr, 1496, 566, 552, 5);
    FillLine(cr, pal::WoodDark, 1, 0.4);
    for (double x = 1508; x < 2048; x += 38) {
        RoundedRect(cr, x, 566, 6, 20, 2);
        FillVLine(cr, 566, 586, pal::WoodDark, Darker(pal::WoodDark, 0.2), 1);
        cairo_new_path(cr);
    }
}

// 1016: the rocky headland at the west end of the bay.
void DrawHeadland(P& p) {
    cairo_t* cr = p.cr;
    auto rock = [](cairo_t* c) {
        cairo_new_sub_path(c);
        cairo_move_to(c, 0, 448);
        cairo_curve_to(c, 40, 440, 90, 452, 122, 470);
        cairo_curve_to(c, 132, 490, 126, 520, 118, 534);
        cairo_curve_to(c, 90, 560, 40, 574, 0, 580);
        cairo_close_path(c);
    };
    p.Shadow(rock, 3, 4, 8, WithAlpha(pal::Ink, 0.3));
    rock(cr);
    FillVertical(cr, 440, 580, Mix(pal::Stone, pal::Wood, 0.15), Darker(pal::Stone, 0.35));
    Stroke(cr, Darker(pal::Stone, 0.55), 1.4);
    cairo_save(cr);
    rock(cr);
    cairo_clip(cr);
    MapRng rng(161);
    for (int i = 0; i < 14; ++i) {
        const double x = rng.Range(0, 125), y = rng.Range(470, 575);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + rng.Range(6, 16), y + rng.Range(-6, 6));
    }
    Stroke(cr, WithAlpha(Darker(pal::Stone, 0.55), 0.5), 1.1);
    // Grass over the top.
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 0, 440);
    cairo_curve_to(cr, 40, 432, 90, 446, 124, 468);
    cairo_curve_to(cr, 110, 478, 60, 470, 0, 476);
    cairo_close_path(cr);
    FillVertical(cr, 432, 478, Lighter(pal::Leaf, 0.15), Darker(pal::Leaf, 0.15));
    cairo_new_path(cr);
    cairo_restore(cr);
    // Surf around the foot.
    cairo_move_to(cr, 0, 586);
    cairo_curve_to(cr, 50, 580, 100, 562, 124, 538);
    Stroke(cr, WithAlpha(pal::White, 0.6), 2);
}

// 1017: old mooring posts in the water.
void DrawMooringPosts(P& p) {
    cairo_t* cr = p.cr;
    for (double x : {236.0, 252.0, 420.0, 780.0, 796.0, 1060.0, 1240.0}) {
        const double top = 530 + std::fmod(x * 7, 9);
        RoundedRect(cr, x - 3, top, 6, 26, 2);
        FillVLine(cr, top, top + 26, Worn(pal::Wood), Worn(pal::WoodDark), 1);
        cairo_new_path(cr);
        cairo_move_to(cr, x - 5, top + 26);
        cairo_line_to(cr, x + 5, top + 26);
        Stroke(cr, WithAlpha(pal::White, 0.6), 1.2);
    }
}

// 1018: two old rowing boats by the quay steps.
void DrawRowingBoats(P& p) {
    Hull(p, 896, 556, 44, 8, Worn(pal::Teal), true);
    Hull(p, 988, 562, 50, 9, Worn(pal::Coral), true);
}

// 1019: the factory yard: a fence, barrels and crates.
void DrawFactoryYard(P& p) {
    Fence(p, 1796, 1900, 512, 16, pal::Stone, true, 191);
    Barrel(p, 1918, 516, 16, true);
    Barrel(p, 1936, 520, 16, true);
    Crate(p, 2000, 522, 22, pal::Wood, true);
    Crate(p, 2016, 506, 18, pal::Wood, true);
    Weeds(p, 1950, 1990, 522, 10, 192);
}

// 1020: gulls over the bay.
void DrawGulls(P& p) {
    cairo_t* cr = p.cr;
    const double gulls[][3] = {{380, 250, 9}, {410, 268, 7}, {1050, 225, 8}, {1560, 200, 9}, {1590, 214, 7}, {700, 210, 6}};
    for (const auto& g : gulls) {
        const double x = g[0], y = g[1], s = g[2];
        cairo_move_to(cr, x - s, y - s * 0.3);
        cairo_curve_to(cr, x - s * 0.6, y - s * 0.7, x - s * 0.2, y - s * 0.5, x, y);
        cairo_curve_to(cr, x + s * 0.2, y - s * 0.5, x + s * 0.6, y - s * 0.7, x + s, y - s * 0.3);
        Stroke(cr, pal::White, 2.4);
        cairo_move_to(cr, x - s, y - s * 0.3);
        cairo_curve_to(cr, x - s * 0.6, y - s * 0.7, x - s * 0.2, y - s * 0.5, x, y);
        cairo_curve_to(cr, x + s * 0.2, y - s * 0.5, x + s * 0.6, y - s * 0.7, x + s, y - s * 0.3);
        Stroke(cr, WithAlpha(pal::Ink, 0.55), 0.8);
    }
}

// ---- start objects that purchases hide or remove ----

// 81: the boarded-up kiosk on the quay (the tea kiosk replaces it).
void DrawBoardedKiosk(P& p) {
    cairo_t* cr = p.cr;
    const double base = 500;
    Contact(p, 628, base, 34, 5);
    Wall(p, 604, 462, 48, 38, Worn(Hex(0xCDE9F2)), true, 811);
    Window(p, 610, 470, 16, 14, Pane::Boarded, Worn(pal::Cream));
    Window(p, 632, 470, 14, 14, Pane::Boarded, Worn(pal::Cream));
    RoundedRect(cr, 606, 486, 44, 4, 1);
    FillLine(cr, Worn(pal::Wood), 1);
    Poly(cr, {598, 463, 628, 440, 658, 463});
    FillVLine(cr, 440, 463, Worn(Lighter(pal::Teal, 0.2)), Worn(pal::Teal), 1.3);
    cairo_new_path(cr);
    // A torn, tilted sign.
    cairo_save(cr);
    cairo_translate(cr, 628, 448);
    cairo_rotate(cr, 0.2);
    RoundedRect(cr, -12, -4, 24, 8, 2);
    cairo_restore(cr);
    FillLine(cr, Worn(pal::Cream), 1);
    Weeds(p, 598, 612, base, 10, 812);
}

// 82: the shabby stall where the market hall will stand.
void DrawShabbyStall(P& p) {
    cairo_t* cr = p.cr;
    const double base = 447;
    Contact(p, 550, base, 52, 5);
    for (double x : {508.0, 590.0}) {
        cairo_move_to(cr, x, base);
        cairo_line_to(cr, x + (x < 550 ? 2 : -3), 404);
        Stroke(cr, Worn(pal::WoodDark), 2.4);
    }
    // A sagging, patched awning.
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 502, 404);
    cairo_line_to(cr, 596, 402);
    cairo_curve_to(cr, 594, 414, 580, 420, 566, 416);
    cairo_curve_to(cr, 550, 422, 530, 412, 504, 418);
    cairo_close_path(cr);
    FillVLine(cr, 400, 420, Worn(pal::Coral), Worn(Darker(pal::Coral, 0.1)), 1.2);
    cairo_new_path(cr);
    RoundedRect(cr, 540, 405, 16, 9, 1);
    FillLine(cr, Worn(pal::Sun), 0.8);
    // The counter and one crate of apples.
    cairo_rectangle(cr, 512, 428, 74, 19);
    FillVLine(cr, 428, 447, Worn(pal::Wood), Worn(pal::WoodDark), 1.1);
    cairo_new_path(cr);
    const Rgba apple = Worn(pal::Coral);
    Crate(p, 530, 428, 16, pal::Wood, true, &apple);
    Crate(p, 600, base, 14, pal::Wood, true);
    Weeds(p, 500, 520, base, 9, 821);
}

// 83: the broken footbridge over the river.
void DrawBrokenFootbridge(P& p) {
    cairo_t* cr = p.cr;
    const Rgba wood = Worn(pal::Wood);
    // Posts standing in the river.
    for (double x : {1352.0, 1376.0, 1410.0, 1430.0}) {
        RoundedRect(cr, x - 2.5, 452, 5, 24, 1.5);
        FillLine(cr, Worn(pal::WoodDark), 1);
    }
    // Two halves of the deck with the middle gone.
    Poly(cr, {1326, 448, 1384, 450, 1388, 458, 1326, 456});
    FillLine(cr, wood, 1.2);
    Poly(cr, {1404, 453, 1462, 448, 1462, 456, 1402, 461});
    FillLine(cr, wood, 1.2);
    // A plank hanging into the water.
    Poly(cr, {1386, 454, 1391, 452, 1396, 474, 1391, 476});
    FillLine(cr, wood, 1);
    // Railings, one half fallen.
    cairo_move_to(cr, 1330, 436);
    cairo_line_to(cr, 1382, 438);
    for (double x : {1332.0, 1356.0, 1380.0}) {
        cairo_move_to(cr, x, 448);
        cairo_line_to(cr, x, 436);
    }
    cairo_move_to(cr, 1420, 440);
    cairo_line_to(cr, 1460, 436);
    cairo_move_to(cr, 1458, 448);
    cairo_line_to(cr, 1460, 436);
    cairo_move_to(cr, 1424, 452);
    cairo_line_to(cr, 1420, 440);
    Stroke(cr, Worn(pal::WoodDark), 1.8);
}

// 84: the old boat sunk on the mud of the bay (the sailing ship takes its place).
void DrawSunkenBoat(P& p) {
    cairo_t* cr = p.cr;
    cairo_save(cr);
    cairo_translate(cr, 505, 596);
    cairo_rotate(cr, -0.12);
    cairo_translate(cr, -505, -596);
    Hull(p, 450, 596, 110, 16, Worn(pal::Teal), true);
    cairo_restore(cr);
    // A broken mast leaning over.
    cairo_move_to(cr, 500, 590);
    cairo_line_to(cr, 530, 548);
    Stroke(cr, Worn(pal::WoodDark), 2.5);
    cairo_move_to(cr, 530, 548);
    cairo_line_to(cr, 548, 566);
    Stroke(cr, Worn(pal::Cream), 1);
    Ripples(p, 440, 580, 600, 612, 841, 6, 0.6);
}

// 1021: scaffolding around the church tower (the new spire replaces it).
void DrawScaffolding(P& p) {
    cairo_t* cr = p.cr;
    const Rgba pole = Mix(pal::Wood, pal::Sun, 0.2);
    for (double x : {855.0, 879.0, 903.0}) {
        cairo_move_to(cr, x, 336);
        cairo_line_to(cr, x, 206);
    }
    for (double y : {214.0, 254.0, 294.0, 332.0}) {
        cairo_move_to(cr, 851, y);
        cairo_line_to(cr, 907, y);
    }
    for (double y : {214.0, 254.0, 294.0}) {
        cairo_move_to(cr, 855, y);
        cairo_line_to(cr, 879, y + 40);
        cairo_move_to(cr, 903, y);
        cairo_line_to(cr, 879, y + 40);
    }
    Stroke(cr, Darker(pole, 0.4), 3.2);
    for (double x : {855.0, 879.0, 903.0}) {
        cairo_move_to(cr, x, 336);
        cairo_line_to(cr, x, 206);
    }
    for (double y : {214.0, 254.0, 294.0, 332.0}) {
        cairo_move_to(cr, 851, y);
        cairo_line_to(cr, 907, y);
    }
    Stroke(cr, pole, 1.8);
    // Planks and a tarpaulin.
    for (double y : {212.0, 252.0, 292.0}) {
        cairo_rectangle(cr, 850, y - 3, 58, 4);
        FillLine(cr, pal::Wood, 0.9);
    }
    Poly(cr, {881, 256, 903, 256, 906, 292, 884, 286});
    FillVLine(cr, 256, 292, Lighter(pal::Azure, 0.2), pal::Azure, 1);
    cairo_new_path(cr);
}

// 4: rubble on the quay.
void DrawQuayRubble(P& p) {
    Rubble(p, 682, 812, 503, 34, 41);
    Weeds(p, 684, 712, 503, 12, 42);
    Crate(p, 774, 503, 20, pal::Wood, true);
}

// 9: the weedy lot beside the market.
void DrawWeedyLot(P& p) {
    cairo_t* cr = p.cr;
    Ellipse(cr, 706, 446, 58, 10);
    Fill(cr, WithAlpha(Mix(pal::Wood, pal::Stone, 0.4), 0.55));
    Fence(p, 652, 760, 440, 20, pal::Wood, true, 91);
    Weeds(p, 654, 758, 450, 18, 92);
    Barrel(p, 690, 452, 16, true);
    Rubble(p, 712, 752, 452, 14, 93);
    Weeds(p, 660, 750, 454, 9, 94);
}

// 11: the collapsed shed on the school hill.
void DrawCollapsedShed(P& p) {
    cairo_t* cr = p.cr;
    const double base = 378;
    Contact(p, 116, base, 54, 6);
    const Rgba wood = Worn(pal::Wood);
    // A leaning wall and the fallen roof.
    Poly(cr, {72, base, 80, 340, 122, 346, 118, base});
    FillVLine(cr, 340, base, Lighter(wood, 0.1), wood, 1.2);
    cairo_new_path(cr);
    for (double x = 84; x < 118; x += 8) {
        cairo_move_to(cr, x, base - 1);
        cairo_line_to(cr, x + 1, 344 + (x - 80) * 0.15);
    }
    Stroke(cr, WithAlpha(Darker(wood, 0.4), 0.6), 1);
    Window(p, 92, 352, 14, 12, Pane::Boarded, Worn(pal::Cream));
    Poly(cr, {100, 352, 168, 366, 164, 378, 96, 362});
    FillVLine(cr, 352, 378, Worn(Lighter(pal::Coral, 0.1)), Worn(pal::Coral), 1.2);
    cairo_new_path(cr);
    Fence(p, 126, 172, base, 14, pal::Wood, true, 111);
    Weeds(p, 62, 176, base + 1, 14, 112);
}

// 14: driftwood jammed in the river.
void DrawDriftwood(P& p) {
    cairo_t* cr = p.cr;
    MapRng rng(141);
    const double logs[][4] = {{1374, 380, 64, -0.12}, {1368, 388, 56, 0.18}, {1380, 374, 44, 0.35}, {1362, 392, 40, -0.3}};
    p.Shadow([&](cairo_t* c) { Ellipse(c, 1374, 392, 40, 8); }, 0, 0, 6, WithAlpha(pal::Night, 0.3));
    for (const auto& l : logs) {
        cairo_save(cr);
        cairo_translate(cr, l[0], l[1]);
        cairo_rotate(cr, l[3]);
        RoundedRect(cr, -l[2] / 2, -4, l[2], 8, 4);
        cairo_restore(cr);
        FillVLine(cr, l[1] - 4, l[1] + 4, Worn(Lighter(pal::Wood, 0.1)), Worn(pal::WoodDark), 1.2);
        cairo_new_path(cr);
        cairo_save(cr);
        cairo_translate(cr, l[0] + l[2] / 2 * std::cos(l[3]), l[1] + l[2] / 2 * std::sin(l[3]));
        Ellipse(cr, 0, 0, 2.5, 3.5);
        cairo_restore(cr);
        Fill(cr, Worn(Mix(pal::Cream, pal::Wood, 0.4)));
    }
    // Twigs and a little foam.
    for (int i = 0; i < 5; ++i) {
        const double x = rng.Range(1346, 1400), y = rng.Range(372, 392);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + rng.Range(-8, 8), y - rng.Range(4, 10));
    }
    Stroke(cr, Worn(pal::WoodDark), 1.2);
    cairo_move_to(cr, 1346, 398);
    cairo_curve_to(cr, 1362, 402, 1388, 402, 1402, 397);
    Stroke(cr, WithAlpha(pal::White, 0.7), 1.6);
}

// 24: the crumbling old wall in the old town.
void DrawCrumblingWall(P& p) {
    cairo_t* cr = p.cr;
    const double base = 444;
    Contact(p, 1216, base, 66, 5);
    const Rgba stone = Worn(Mix(pal::Stone, pal::Cream, 0.3));
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 1152, base);
    cairo_line_to(cr, 1152, 408);
    cairo_line_to(cr, 1170, 404);
    cairo_line_to(cr, 1178, 416);
    cairo_line_to(cr, 1192, 420);
    cairo_line_to(cr, 1198, 430);
    cairo_line_to(cr, 1222, 432);
    cairo_line_to(cr, 1230, 412);
    cairo_line_to(cr, 1246, 406);
    cairo_line_to(cr, 1262, 414);
    cairo_line_to(cr, 1266, base);
    cairo_close_path(cr);
    FillVLine(cr, 404, base, Lighter(stone, 0.15), Darker(stone, 0.1), 1.3);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 1152, 400, 114, 44);
    cairo_clip(cr);
    int row = 0;
    for (double y = 412; y < base; y += 8, ++row) {
        cairo_move_to(cr, 1152, y);
        cairo_line_to(cr, 1266, y);
        for (double x = 1158 + (row % 2) * 8; x < 1266; x += 16) {
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x, y + 8);
        }
    }
    Stroke(cr, WithAlpha(Darker(stone, 0.45), 0.4), 0.9);
    cairo_restore(cr);
    Rubble(p, 1196, 1236, base + 2, 12, 241);
    Weeds(p, 1156, 1270, base + 1, 13, 242);
}

// 31: the rusty crane on the east quay.
void DrawRustyCrane(P& p) {
    cairo_t* cr = p.cr;
    const Rgba rust = Mix(pal::Tangerine, pal::WoodDark, 0.55);
    Contact(p, 1930, 566, 40, 5);
    // Lattice tower.
    auto lattice = [&](double x0, double y0, double x1, double y1, double w) {
        cairo_move_to(cr, x0 - w, y0);
        cairo_line_to(cr, x1 - w * 0.7, y1);
        cairo_move_to(cr, x0 + w, y0);
        cairo_line_to(cr, x1 + w * 0.7, y1);
        const int n = 8;
        for (int i = 0; i < n; ++i) {
            const double t0 = double(i) / n, t1 = double(i + 1) / n;
            const double ax = x0 + (x1 - x0) * t0, ay = y0 + (y1 - y0) * t0, wa = w * (1 - 0.3 * t0);
            const double bx = x0 + (x1 - x0) * t1, by = y0 + (y1 - y0) * t1, wb = w * (1 - 0.3 * t1);
            cairo_move_to(cr, ax - wa, ay);
            cairo_line_to(cr, bx + wb, by);
            cairo_move_to(cr, ax + wa, ay);
            cairo_line_to(cr, bx - wb, by);
        }
    };
    lattice(1940, 564, 1940, 440, 12);
    Stroke(cr, Darker(rust, 0.45), 3);
    lattice(1940, 564, 1940, 440, 12);
    Stroke(cr, rust, 1.6);
    // The cab and the boom reaching over the water.
    cairo_rectangle(cr, 1924, 422, 34, 22);
    FillVLine(cr, 422, 444, Worn(Lighter(pal::Sun, 0.1)), Worn(pal::Tangerine), 1.3);
    cairo_new_path(cr);
    Window(p, 1930, 427, 12, 9, Pane::Broken, Worn(pal::Cream));
    cairo_move_to(cr, 1930, 426);
    cairo_line_to(cr, 1866, 392);
    cairo_line_to(cr, 1872, 388);
    cairo_line_to(cr, 1950, 424);
    Stroke(cr, Darker(rust, 0.4), 3.5);
    cairo_move_to(cr, 1930, 426);
    cairo_line_to(cr, 1866, 392);
    cairo_line_to(cr, 1872, 388);
    cairo_line_to(cr, 1950, 424);
    Stroke(cr, rust, 2);
    // A hook hanging on a frayed cable.
    cairo_move_to(cr, 1869, 392);
    cairo_line_to(cr, 1869, 470);
    Stroke(cr, Darker(pal::Stone, 0.5), 1);
    cairo_arc(cr, 1869, 476, 5, -kPi / 2, kPi * 0.9);
    Stroke(cr, Darker(rust, 0.3), 2);
    // Rust stains at the foot.
    Ellipse(cr, 1944, 566, 22, 3);
    Fill(cr, WithAlpha(rust, 0.35));
}

// ---- chapter 1: the quay wakes up ----

// 1: the tea kiosk.
void DrawTeaKiosk(P& p) {
    cairo_t* cr = p.cr;
    const double base = 500;
    Contact(p, 628, base, 38, 5);
    Drop(p, [](cairo_t* c) { cairo_rectangle(c, 604, 462, 48, 38); });
    Wall(p, 604, 462, 48, 38, Hex(0xCDE9F2));
    RoundedRect(cr, 608, 468, 40, 16, 3);
    FillVertical(cr, 468, 484, Lighter(pal::Sun, 0.5), pal::Sun);
    Stroke(cr, Darker(pal::Teal, 0.4), 1.2);
    // Cups on the counter.
    for (double x : {614.0, 626.0, 638.0}) {
        RoundedRect(cr, x, 478, 6, 6, 1.5);
        FillLine(cr, pal::White, 0.8, 0.3);
    }
    RoundedRect(cr, 604, 484, 48, 5, 1.5);
    FillLine(cr, pal::Wood, 1);
    Awning(p, 600, 458, 56, 9, pal::Teal, pal::Cream, 6);
    Poly(cr, {598, 459, 628, 432, 658, 459});
    FillVLine(cr, 432, 459, Lighter(pal::Teal, 0.3), pal::Teal, 1.3);
    cairo_new_path(cr);
    Circle(cr, 628, 430, 3);
    FillLine(cr, pal::Gold, 1);
    // A tea-cup sign and a little table with a sunshade.
    Sign(p, 668, 470, 7, pal::Cream, [&] {
        RoundedRect(cr, 664, 468, 7, 5, 1.5);
        FillLine(cr, pal::Coral, 0.8);
        cairo_arc(cr, 672, 470, 2, -kPi / 2, kPi / 2);
        Stroke(cr, Darker(pal::Coral, 0.3), 0.9);
    });
    cairo_move_to(cr, 668, 477);
    cairo_line_to(cr, 668, base);
    Stroke(cr, pal::WoodDark, 1.5);
    Bench(p, 580, 502, 16);
}

// 2: the herb shop.
void DrawHerbShop(P& p) {
    cairo_t* cr = p.cr;
    House h;
    h.x = 304;
    h.base = 505;
    h.w = 84;
    h.h = 74;
    h.rows = 2;
    h.cols = 3;
    h.wall = Hex(0xE4F2D2);
    h.roof = pal::Teal;
    h.roofH = 30;
    h.door = Darker(pal::Leaf, 0.2);
    h.doorAt = 0.3;
    h.shutters = false;
    h.seed = 21;
    DrawHouse(p, h);
    Awning(p, 300, 466, 92, 10, pal::Leaf, pal::Cream, 7);
    // A leaf sign and pots of herbs by the door.
    Sign(p, 362, 484, 7, pal::Cream, [&] {
        Leaf(cr, 362, 484, 4.5, 35);
        FillLine(cr, pal::Leaf, 0.8);
    });
    for (int i = 0; i < 3; ++i) {
        const double x = 340 + i * 15;
        Bush(p, x + 5, 498, 9, Darker(pal::Leaf, 0.05 * i), i == 1);
        Poly(cr, {x, 498, x + 10, 498, x + 9, 505, x + 1, 505});
        FillLine(cr, pal::Coral, 0.9);
    }
}

// 51: the herb cart beside the shop.
void DrawHerbCart(P& p) {
    cairo_t* cr = p.cr;
    Contact(p, 422, 508, 24, 3);
    cairo_move_to(cr, 440, 494);
    cairo_line_to(cr, 452, 488);
    Stroke(cr, pal::WoodDark, 2);
    for (int i = 0; i < 5; ++i)
        Bush(p, 404 + i * 8, 490, 10, i % 2 ? pal::Leaf : Mix(pal::Leaf, pal::Teal, 0.4), i == 2);
    cairo_rectangle(cr, 398, 488, 44, 10);
    FillVLine(cr, 488, 498, Lighter(pal::Wood, 0.2), pal::Wood, 1.2);
    cairo_new_path(cr);
    for (double x : {408.0, 432.0}) {
        Circle(cr, x, 501, 6);
        FillLine(cr, pal::WoodDark, 1.1, 0.3);
        Circle(cr, x, 501, 2);
        Fill(cr, pal::Gold);
    }
}

// 3: the harbour master's house.
void DrawHarbourMaster(P& p) {
    cairo_t* cr = p.cr;
    House h;
    h.x = 834;
    h.base = 505;
    h.w = 130;
    h.h = 92;
    h.rows = 3;
    h.cols = 4;
    h.wall = pal::Cream;
    h.roof = pal::Azure;
    h.roofKind = Roof::Hip;
    h.roofH = 30;
    h.shutters = true;
    h.shutter = pal::Azure;
    h.door = pal::Azure;
    h.doorAt = 0.5;
    h.seed = 31;
    DrawHouse(p, h);
    // A round window under the roof, the flag and a brass bell.
    Circle(cr, 899, 396, 7);
    FillLine(cr, Lighter(pal::Sun, 0.4), 1.4, 0.6);
    Flag(p, 899, 383, 40, pal::Coral);
    cairo_move_to(cr, 930, 462);
    cairo_line_to(cr, 944, 462);
    Stroke(cr, pal::WoodDark, 1.6);
    Poly(cr, {935, 463, 939, 463, 942, 472, 932, 472});
    FillLine(cr, pal::Gold, 1);
    // An anchor by the door.
    cairo_move_to(cr, 876, 486);
    cairo_line_to(cr, 876, 500);
    cairo_move_to(cr, 870, 490);
    cairo_line_to(cr, 882, 490);
    cairo_move_to(cr, 868, 496);
    cairo_curve_to(cr, 870, 503, 882, 503, 884, 496);
    Stroke(cr, pal::PlumDeep, 2);
}

// 41: benches and flower tubs where the rubble was.
void DrawQuayBenches(P& p) {
    cairo_t* cr = p.cr;
    for (double x : {690.0, 764.0}) {
        Bush(p, x + 10, 492, 16, pal::Leaf, true);
        Poly(cr, {x, 492, x + 20, 492, x + 18, 503, x + 2, 503});
        FillVLine(cr, 492, 503, Lighter(pal::Coral, 0.2), pal::Coral, 1);
        cairo_new_path(cr);
    }
    Bench(p, 716, 502, 40);
    LampPost(p, 740, 500, 44, true);
}

// ---- chapter 2: the market ----

// 5: the market hall.
void DrawMarketHall(P& p) {
    cairo_t* cr = p.cr;
    const double base = 447, top = 388, x = 474, w = 172;
    Contact(p, x + w / 2, base, w * 0.55, 6);
    Drop(p, [&](cairo_t* c) { cairo_rectangle(c, x, top - 30, w, base - top + 30); });
    Wall(p, x, top, w, base - top, Hex(0xFFE2B8));
    // An arcade of open arches with stalls inside.
    for (int i = 0; i < 5; ++i) {
        const double ax = x + 10 + i * 32.4, aw = 24;
        Window(p, ax, top + 14, aw, 45, Pane::Dark, Darker(Hex(0xFFE2B8), 0.3), true);
        const Rgba goods[] = {pal::Coral, pal::Sun, pal::Leaf, pal::Tangerine, pal::Berry};
        for (int k = 0; k < 3; ++k) {
            Circle(cr, ax + 6 + k * 6, base - 12, 3);
            FillLine(cr, goods[(i + k) % 5], 0.8);
        }
        cairo_rectangle(cr, ax + 1, base - 10, aw - 2, 10);
        FillLine(cr, pal::Wood, 0.9);
    }
    RoofOver(p, x, top, w, 30, pal::Coral, Roof::Hip);
    // A little cupola with a weather vane.
    cairo_rectangle(cr, x + w / 2 - 10, top - 44, 20, 16);
    FillVLine(cr, top - 44, top - 28, pal::Cream, Darker(pal::Cream, 0.1), 1.2);
    cairo_new_path(cr);
    Window(p, x + w / 2 - 4, top - 41, 8, 10, Pane::Lit, pal::Cream, true);
    Poly(cr, {x + w / 2 - 13, top - 43, x + w / 2, top - 58, x + w / 2 + 13, top - 43});
    FillVLine(cr, top - 58, top - 43, Lighter(pal::Coral, 0.2), pal::Coral, 1.2);
    cairo_new_path(cr);
    cairo_move_to(cr, x + w / 2, top - 58);
    cairo_line_to(cr, x + w / 2, top - 68);
    cairo_move_to(cr, x + w / 2 - 6, top - 65);
    cairo_line_to(cr, x + w / 2 + 6, top - 65);
    Stroke(cr, pal::Gold, 1.5);
}

// 6: the lamp maker's workshop.
void DrawLampWorkshop(P& p) {
    cairo_t* cr = p.cr;
    House h;
    h.x = 378;
    h.base = 447;
    h.w = 82;
    h.h = 56;
    h.rows = 2;
    h.cols = 2;
    h.wall = Hex(0xE9E1F7);
    h.roof = pal::Violet;
    h.roofH = 28;
    h.door = pal::Plum;
    h.doorAt = 0.72;
    h.seed = 61;
    DrawHouse(p, h);
    // A lamp hanging from a bracket, shining.
    cairo_move_to(cr, 378, 404);
    cairo_line_to(cr, 362, 404);
    cairo_line_to(cr, 362, 408);
    Stroke(cr, pal::PlumDeep, 1.6);
    p.Shadow([](cairo_t* c) { Circle(c, 362, 415, 8); }, 0, 0, 10, WithAlpha(pal::GoldLight, 0.95));
    Poly(cr, {357, 409, 367, 409, 369, 421, 355, 421});
    FillLine(cr, Lighter(pal::Sun, 0.4), 1.2, 0.6);
    Poly(cr, {355, 409, 362, 404, 369, 409});
    FillLine(cr, pal::PlumDeep, 1, 0.2);
    // A lightning bolt on the sign board over the door.
    RoundedRect(cr, 424, 408, 24, 10, 2);
    FillLine(cr, pal::PlumDeep, 1, 0.2);
    Poly(cr, {434, 409, 440, 409, 437, 412, 441, 412, 433, 418, 435, 413, 431, 413});
    Fill(cr, pal::Sun);
}

// 9 removed: 42, the fountain square.
void DrawFountainSquare(P& p) {
    cairo_t* cr = p.cr;
    Ellipse(cr, 706, 448, 60, 12);
    FillLine(cr, Mix(pal::Stone, pal::Cream, 0.5), 1.2, 0.35);
    Ellipse(cr, 706, 448, 46, 8);
    Stroke(cr, WithAlpha(Darker(pal::Stone, 0.3), 0.6), 1);
    // Basin, water and the jet.
    Contact(p, 706, 452, 30, 4);
    Ellipse(cr, 706, 440, 28, 9);
    cairo_rectangle(cr, 678, 440, 56, 10);
    Ellipse(cr, 706, 450, 28, 6);
    FillVertical(cr, 430, 456, Lighter(pal::Stone, 0.3), Darker(pal::Stone, 0.2));
    cairo_new_path(cr);
    Ellipse(cr, 706, 440, 24, 6.5);
    FillVertical(cr, 434, 446, Lighter(pal::Teal, 0.4), pal::Teal);
    cairo_new_path(cr);
    cairo_rectangle(cr, 703, 418, 6, 22);
    FillLine(cr, Lighter(pal::Stone, 0.2), 1);
    Ellipse(cr, 706, 418, 10, 3);
    FillLine(cr, Lighter(pal::Stone, 0.3), 1);
    for (int s = -1; s <= 1; s += 2) {
        cairo_move_to(cr, 706, 408);
        cairo_curve_to(cr, 706 + s * 6, 398, 706 + s * 14, 404, 706 + s * 18, 436);
        Stroke(cr, WithAlpha(Lighter(pal::Sky, 0.5), 0.9), 2);
    }
    cairo_move_to(cr, 706, 418);
    cairo_line_to(cr, 706, 400);
    Stroke(cr, WithAlpha(pal::White, 0.9), 2.5);
    Bench(p, 652, 452, 18);
    Bench(p, 742, 452, 18);
    Flowers(p, 664, 690, 456, 421, 2.6);
    Flowers(p, 722, 748, 456, 422, 2.6);
}

// 7: the flower stalls.
void DrawFlowerStalls(P& p) {
    cairo_t* cr = p.cr;
    struct Stall {
        double x;
        Rgba a;
    };
    const Stall stalls[] = {{772, pal::Berry}, {812, pal::Sun}};
    for (const Stall& s : stalls) {
        Contact(p, s.x + 18, 452, 22, 3);
        for (double px : {s.x + 2, s.x + 34}) {
            cairo_move_to(cr, px, 452);
            cairo_line_to(cr, px, 424);
            Stroke(cr, pal::WoodDark, 1.8);
        }
        cairo_rectangle(cr, s.x, 438, 36, 14);
        FillVLine(cr, 438, 452, Lighter(pal::Wood, 0.2), pal::Wood, 1.1);
        cairo_new_path(cr);
        // Buckets of flowers on the counter.
        for (int i = 0; i < 3; ++i) {
            const double bx = s.x + 5 + i * 10;
            Bush(p, bx + 3, 436, 9, pal::Leaf, true);
            Poly(cr, {bx, 436, bx + 7, 436, bx + 6, 442, bx + 1, 442});
            FillLine(cr, pal::Azure, 0.8);
        }
        Awning(p, s.x - 3, 418, 42, 8, s.a, pal::Cream, 5);
    }
    Flowers(p, 770, 852, 456, 71, 2.8);
}

// ---- chapter 3: the school and the gardens ----

// 8: the little school on the hill.
void DrawSchool(P& p) {
    cairo_t* cr = p.cr;
    House h;
    h.x = 212;
    h.base = 352;
    h.w = 120;
    h.h = 60;
    h.rows = 2;
    h.cols = 5;
    h.wall = Hex(0xFFE9A8);
    h.roof = pal::Coral;
    h.roofKind = Roof::Hip;
    h.roofH = 26;
    h.door = pal::Azure;
    h.chimney = false;
    h.seed = 81;
    DrawHouse(p, h);
    // The bell cupola.
    cairo_rectangle(cr, 262, 254, 20, 18);
    FillVLine(cr, 254, 272, pal::Cream, Darker(pal::Cream, 0.12), 1.2);
    cairo_new_path(cr);
    Window(p, 266, 257, 12, 13, Pane::Dark, pal::Cream, true);
    Poly(cr, {270, 264, 274, 264, 276, 270, 268, 270});
    FillLine(cr, pal::Gold, 0.8);
    Poly(cr, {258, 255, 272, 238, 286, 255});
    FillVLine(cr, 238, 255, Lighter(pal::Coral, 0.2), pal::Coral, 1.2);
    cairo_new_path(cr);
    Flag(p, 272, 238, 14, pal::Sun);
    // The clock over the door.
    Circle(cr, 272, 312, 6);
    FillLine(cr, pal::White, 1.2, 0.4);
    cairo_move_to(cr, 272, 312);
    cairo_line_to(cr, 272, 308);
    cairo_move_to(cr, 272, 312);
    cairo_line_to(cr, 275, 313);
    Stroke(cr, pal::Ink, 1);
}

// 52: swings and a seesaw by the school.
void DrawSwings(P& p) {
    cairo_t* cr = p.cr;
    Contact(p, 190, 362, 24, 3);
    cairo_move_to(cr, 172, 362);
    cairo_line_to(cr, 180, 328);
    cairo_line_to(cr, 188, 362);
    cairo_move_to(cr, 196, 362);
    cairo_line_to(cr, 204, 328);
    cairo_line_to(cr, 212, 362);
    Stroke(cr, pal::Azure, 2);
    cairo_move_to(cr, 178, 328);
    cairo_line_to(cr, 206, 328);
    Stroke(cr, Darker(pal::Azure, 0.3), 2.4);
    for (double x : {186.0, 198.0}) {
        cairo_move_to(cr, x, 328);
        cairo_line_to(cr, x + (x < 190 ? -1 : 2), 350);
    }
    Stroke(cr, pal::PlumDeep, 0.9);
    RoundedRect(cr, 182, 349, 8, 3, 1);
    RoundedRect(cr, 196, 351, 8, 3, 1);
    Fill(cr, pal::Coral);
    // Seesaw.
    Poly(cr, {158, 372, 162, 364, 166, 372});
    FillLine(cr, pal::Sun, 1);
    cairo_move_to(cr, 146, 370);
    cairo_line_to(cr, 178, 362);
    Stroke(cr, pal::Coral, 2.6);
}

// 10: the greenhouse.
void DrawGreenhouse(P& p) {
    cairo_t* cr = p.cr;
    const double x = 348, base = 357, w = 94, h = 36;
    Contact(p, x + w / 2, base, w * 0.55, 5);
    auto body = [&](cairo_t* c) {
        cairo_new_sub_path(c);
        cairo_move_to(c, x, base);
        cairo_line_to(c, x, base - h);
        cairo_curve_to(c, x + 10, base - h - 26, x + w - 10, base - h - 26, x + w, base - h);
        cairo_line_to(c, x + w, base);
        cairo_close_path(c);
    };
    // Plants and tomatoes inside, seen through the glass.
    for (int i = 0; i < 6; ++i)
        Bush(p, x + 10 + i * 15, base - 3, 14, i % 2 ? pal::Leaf : Mix(pal::Leaf, pal::Teal, 0.3), false);
    MapRng rng(101);
    for (int i = 0; i < 10; ++i) {
        Circle(cr, x + rng.Range(8, w - 8), base - rng.Range(6, 14), 2);
        Fill(cr, pal::Coral);
    }
    body(cr);
    FillVertical(cr, base - h - 20, base, WithAlpha(Lighter(pal::Sky, 0.6), 0.55), WithAlpha(pal::Teal, 0.25));
    cairo_new_path(cr);
    // White frames.
    cairo_save(cr);
    body(cr);
    cairo_clip(cr);
    for (double fx = x + 13; fx < x + w; fx += 13.4) {
        cairo_move_to(cr, fx, base);
        cairo_line_to(cr, fx, base - h - 30);
    }
    cairo_move_to(cr, x, base - h * 0.55);
    cairo_line_to(cr, x + w, base - h * 0.55);
    Stroke(cr, pal::White, 1.3);
    Poly(cr, {x + 6, base - h - 8, x + 30, base - h - 18, x + 36, base - h - 14, x + 10, base - h + 2});
    Fill(cr, WithAlpha(pal::White, 0.45));
    cairo_restore(cr);
    body(cr);
    Stroke(cr, Darker(pal::Teal, 0.3), 1.5);
    cairo_rectangle(cr, x - 2, base - 4, w + 4, 4);
    FillLine(cr, Mix(pal::Stone, pal::Wood, 0.3), 1);
}

// 11 removed: 43, the vegetable garden.
void DrawVegetableGarden(P& p) {
    cairo_t* cr = p.cr;
    Ellipse(cr, 116, 366, 58, 13);
    FillLine(cr, Mix(pal::Wood, pal::Cream, 0.25), 1.2, 0.35);
    for (int r = 0; r < 3; ++r) {
        const double y = 358 + r * 7;
        for (double x = 74 + r * 2; x < 158 - r * 2; x += 9) {
            if (r == 1) {
                Poly(cr, {x, y, x + 2, y - 6, x + 4, y});
                Fill(cr, pal::Tangerine);
                Leaf(cr, x + 2, y - 8, 3, 0);
                Fill(cr, pal::Leaf);
            } else {
                Circle(cr, x + 2, y - 2, 3.5);
                FillLine(cr, r == 0 ? pal::Leaf : Mix(pal::Leaf, pal::Teal, 0.4), 0.8);
            }
        }
    }
    // Two pumpkins and a scarecrow.
    for (double x : {80.0, 150.0}) {
        Ellipse(cr, x, 374, 6, 4.5);
        FillLine(cr, pal::Tangerine, 1);
    }
    cairo_move_to(cr, 132, 376);
    cairo_line_to(cr, 132, 338);
    cairo_move_to(cr, 122, 348);
    cairo_line_to(cr, 142, 348);
    Stroke(cr, pal::WoodDark, 1.8);
    RoundedRect(cr, 127, 345, 10, 14, 2);
    FillLine(cr, pal::Azure, 1);
    Circle(cr, 132, 340, 4);
    FillLine(cr, pal::Cream, 1, 0.3);
    Poly(cr, {125, 338, 132, 330, 139, 338});
    FillLine(cr, pal::Sun, 1);
    Fence(p, 60, 172, 384, 10, pal::Cream, false);
}

// 12: the gardener's lodge.
void DrawGardenersLodge(P& p) {
    cairo_t* cr = p.cr;
    House h;
    h.x = 458;
    h.base = 368;
    h.w = 74;
    h.h = 42;
    h.cols = 2;
    h.wall = Hex(0xFFF0D6);
    h.roof = Darker(pal::Leaf, 0.1);
    h.roofH = 26;
    h.door = pal::Teal;
    h.shutters = true;
    h.shutter = pal::Leaf;
    h.seed = 121;
    DrawHouse(p, h);
    Tree(p, 546, 370, 40, TreeKind::Fruit);
    // A watering can and a row of pots.
    RoundedRect(cr, 450, 360, 10, 8, 2);
    FillLine(cr, pal::Azure, 1);
    cairo_move_to(cr, 460, 362);
    cairo_line_to(cr, 466, 357);
    Stroke(cr, Darker(pal::Azure, 0.3), 1.4);
    Flowers(p, 460, 530, 372, 122, 2.6);
}

// ---- chapter 4: the bridge and the mills ----

// 13: the stone bridge.
void DrawStoneBridge(P& p) {
    cairo_t* cr = p.cr;
    const Rgba stone = Mix(pal::Stone, pal::Cream, 0.35);
    auto body = [](cairo_t* c) {
        cairo_new_sub_path(c);
        cairo_move_to(c, 1322, 444);
        cairo_line_to(c, 1466, 444);
        cairo_line_to(c, 1466, 478);
        cairo_line_to(c, 1448, 478);
        cairo_arc_negative(c, 1424, 478, 20, 0, kPi);
        cairo_line_to(c, 1388, 478);
        cairo_arc_negative(c, 1366, 478, 20, 0, kPi);
        cairo_line_to(c, 1322, 478);
        cairo_close_path(c);
    };
    p.Shadow(body, 3, 4, 8, WithAlpha(pal::Ink, 0.3));
    body(cr);
    FillVertical(cr, 444, 478, Lighter(stone, 0.2), Darker(stone, 0.15));
    cairo_new_path(cr);
    cairo_save(cr);
    body(cr);
    cairo_clip(cr);
    int row = 0;
    for (double y = 452; y < 480; y += 7, ++row) {
        cairo_move_to(cr, 1320, y);
        cairo_line_to(cr, 1468, y);
        for (double x = 1326 + (row % 2) * 7; x < 1466; x += 14) {
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x, y + 7);
        }
    }
    Stroke(cr, WithAlpha(Darker(stone, 0.45), 0.35), 0.9);
    cairo_restore(cr);
    body(cr);
    Stroke(cr, Darker(stone, 0.5), 1.4);
    // Arch stones.
    for (double cx : {1366.0, 1424.0}) {
        cairo_arc(cr, cx, 478, 23, kPi, 2 * kPi);
        Stroke(cr, Darker(stone, 0.25), 2.4);
    }
    // Deck and parapet.
    cairo_rectangle(cr, 1318, 440, 152, 6);
    FillLine(cr, Lighter(stone, 0.3), 1.2, 0.45);
    for (double x = 1324; x < 1466; x += 12) {
        RoundedRect(cr, x, 430, 6, 10, 2);
    }
    FillVertical(cr, 430, 440, Lighter(stone, 0.3), stone);
    cairo_new_path(cr);
    cairo_rectangle(cr, 1318, 427, 152, 4);
    FillLine(cr, Lighter(stone, 0.35), 1, 0.45);
    for (double x : {1320.0, 1466.0}) {
        LampPost(p, x, 427, 22, true);
    }
    Ripples(p, 1350, 1440, 482, 496, 131, 6, 0.7);
}

// 14 removed: 44, the mill pond.
void DrawMillPond(P& p) {
    cairo_t* cr = p.cr;
    Ellipse(cr, 1376, 384, 50, 17);
    Fill(cr, Mix(pal::Cream, pal::Wood, 0.3));
    Ellipse(cr, 1376, 384, 46, 14);
    FillVertical(cr, 370, 398, Mix(pal::Teal, pal::Sky, 0.45), Mix(pal::Teal, pal::Azure, 0.25));
    cairo_new_path(cr);
    Ripples(p, 1340, 1400, 376, 394, 441, 5, 0.7);
    // Lily pads and two ducks.
    for (double x : {1346.0, 1398.0, 1408.0}) {
        Ellipse(cr, x, 388 - (x > 1400 ? 4 : 0), 5, 2.2);
        FillLine(cr, pal::Leaf, 0.8);
    }
    Circle(cr, 1400, 382, 1.6);
    Fill(cr, pal::Berry);
    for (double x : {1362.0, 1380.0}) {
        Ellipse(cr, x, 384, 5, 3);
        FillLine(cr, pal::White, 0.9, 0.35);
        Circle(cr, x + 4, 380, 2.4);
        FillLine(cr, x < 1370 ? Darker(pal::Leaf, 0.3) : pal::White, 0.8, 0.4);
        Poly(cr, {x + 6, 379.5, x + 9, 380.5, x + 6, 381.5});
        Fill(cr, pal::Tangerine);
    }
    // Reeds along the banks.
    for (double x : {1330.0, 1334.0, 1338.0, 1416.0, 1420.0, 1424.0}) {
        cairo_move_to(cr, x, 392);
        cairo_line_to(cr, x + 1, 376);
    }
    Stroke(cr, Darker(pal::Leaf, 0.2), 1.3);
    for (double x : {1334.0, 1420.0}) {
        RoundedRect(cr, x - 1, 374, 3, 7, 1.5);
        Fill(cr, pal::WoodDark);
    }
}

// 15: the watermill.
void DrawWatermill(P& p) {
    cairo_t* cr = p.cr;
    House h;
    h.x = 1420;
    h.base = 412;
    h.w = 86;
    h.h = 54;
    h.rows = 2;
    h.cols = 3;
    h.wall = pal::Cream;
    h.roof = pal::Tangerine;
    h.roofH = 32;
    h.door = pal::WoodDark;
    h.doorAt = 0.7;
    h.seed = 151;
    DrawHouse(p, h);
    // Timber framing.
    for (double x : {1420.0, 1448.0, 1477.0, 1506.0}) {
        cairo_move_to(cr, x, 358);
        cairo_line_to(cr, x, 412);
    }
    cairo_move_to(cr, 1420, 385);
    cairo_line_to(cr, 1506, 385);
    Stroke(cr, WithAlpha(pal::WoodDark, 0.8), 2);
    // The wheel in the mill race.
    Ellipse(cr, 1408, 412, 16, 4);
    Fill(cr, Mix(pal::Teal, pal::Sky, 0.35));
    const double cx = 1408, cy = 394, r = 20;
    p.Shadow([&](cairo_t* c) { Circle(c, cx, cy, r); }, 3, 3, 6, WithAlpha(pal::Ink, 0.3));
    Circle(cr, cx, cy, r);
    Stroke(cr, pal::WoodDark, 3.5);
    Circle(cr, cx, cy, r);
    Stroke(cr, pal::Wood, 1.8);
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4 + 0.2;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    Stroke(cr, pal::Wood, 1.6);
    for (int i = 0; i < 12; ++i) {
        const double a = i * kPi / 6;
        cairo_save(cr);
        cairo_translate(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        cairo_rotate(cr, a);
        cairo_rectangle(cr, -1, -3.5, 5, 7);
        cairo_restore(cr);
        FillLine(cr, pal::Wood, 0.8);
    }
    Circle(cr, cx, cy, 3.5);
    FillLine(cr, pal::Gold, 1);
    cairo_move_to(cr, 1394, 406);
    cairo_curve_to(cr, 1398, 412, 1404, 414, 1410, 414);
    Stroke(cr, WithAlpha(pal::White, 0.8), 1.5);
}

// 53: the flour cart.
void DrawFlourCart(P& p) {
    cairo_t* cr = p.cr;
    // Drawn for the spot east of the mill, then moved to stand before its door.
    cairo_save(cr);
    cairo_translate(cr, -62, 18);
    Contact(p, 1538, 418, 24, 3);
    for (int i = 0; i < 3; ++i) {
        const double sx = 1520 + i * 11;
        RoundedRect(cr, sx, 394 - (i == 1 ? 4 : 0), 12, 14, 4);
        FillVLine(cr, 390, 408, pal::White, pal::Cream, 1);
        cairo_new_path(cr);
    }
    cairo_rectangle(cr, 1516, 404, 44, 8);
    FillVLine(cr, 404, 412, Lighter(pal::Wood, 0.2), pal::Wood, 1.2);
    cairo_new_path(cr);
    cairo_move_to(cr, 1560, 406);
    cairo_line_to(cr, 1572, 400);
    Stroke(cr, pal::WoodDark, 2);
    for (double x : {1526.0, 1550.0}) {
        Circle(cr, x, 414, 5.5);
        FillLine(cr, pal::WoodDark, 1, 0.3);
        Circle(cr, x, 414, 1.8);
        Fill(cr, pal::Gold);
    }
    cairo_restore(cr);
}

// 16: the windmill on the ridge.
void DrawWindmill(P& p) {
    cairo_t* cr = p.cr;
    const double cx = 1250, base = 270, top = 176;
    Contact(p, cx, base, 34, 5);
    auto body = [&](cairo_t* c) { Poly(c, {cx - 26, base, cx - 16, top, cx + 16, top, cx + 26, base}); };
    Drop(p, body);
    body(cr);
    FillVertical(cr, top, base, Lighter(pal::Cream, 0.3), Darker(pal::Cream, 0.08));
    cairo_new_path(cr);
    Poly(cr, {cx + 6, base, cx + 5, top, cx + 16, top, cx + 26, base});
    Fill(cr, WithAlpha(pal::Ink, 0.1));
    body(cr);
    Stroke(cr, Darker(pal::Cream, 0.45), 1.4);
    Door(p, cx - 7, base, 14, 22, pal::Azure, true);
    Window(p, cx - 5, 212, 10, 12, Pane::Lit, pal::Cream, true);
    Window(p, cx - 4, 190, 8, 10, Pane::Dark, pal::Cream, true);
    // The cap.
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - 20, top + 2);
    cairo_curve_to(cr, cx - 20, top - 20, cx + 20, top - 20, cx + 20, top + 2);
    cairo_close_path(cr);
    FillVLine(cr, top - 16, top + 2, Lighter(pal::Coral, 0.25), pal::Coral, 1.3);
    cairo_new_path(cr);
    // Four lattice sails.
    const double hx = cx, hy = top - 4, len = 66;
    for (int i = 0; i < 4; ++i) {
        const double a = i * kPi / 2 + 0.42;
        cairo_save(cr);
        cairo_translate(cr, hx, hy);
        cairo_rotate(cr, a);
        auto sail = [](cairo_t* c) { cairo_rectangle(c, 10, 1, 56, 11); };
        sail(cr);
        SetColour(cr, WithAlpha(pal::Cream, 0.92));
        cairo_fill_preserve(cr);
        Stroke(cr, pal::WoodDark, 1);
        for (double t = 18; t < 66; t += 8) {
            cairo_move_to(cr, t, 1);
            cairo_line_to(cr, t, 12);
        }
        cairo_move_to(cr, 10, 6.5);
        cairo_line_to(cr, 66, 6.5);
        Stroke(cr, WithAlpha(pal::WoodDark, 0.7), 0.8);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, len, 0);
        Stroke(cr, pal::WoodDark, 2.4);
        cairo_restore(cr);
    }
    Circle(cr, hx, hy, 5);
    FillLine(cr, pal::Gold, 1.2);
}

// ---- chapter 5: the harbour ----

// 17: the glassworks.
void DrawGlassworks(P& p) {
    cairo_t* cr = p.cr;
    // The kiln cone behind the house.
    auto kiln = [](cairo_t* c) { Poly(c, {158, 505, 170, 408, 190, 408, 202, 505}); };
    Drop(p, kiln);
    kiln(cr);
    FillVLine(cr, 408, 505, Lighter(Mix(pal::Coral, pal::Wood, 0.4), 0.15), Mix(pal::Coral, pal::WoodDark, 0.3), 1.3);
    cairo_new_path(cr);
    RoundedRect(cr, 167, 402, 26, 7, 2);
    FillLine(cr, Darker(Mix(pal::Coral, pal::WoodDark, 0.3), 0.15), 1.1);
    p.Shadow([](cairo_t* c) { Ellipse(c, 180, 402, 8, 3); }, 0, -2, 8, WithAlpha(pal::Sun, 0.8));
    House h;
    h.x = 186;
    h.base = 505;
    h.w = 96;
    h.h = 70;
    h.rows = 2;
    h.cols = 3;
    h.wall = Hex(0xF9D1C9);
    h.roof = pal::Azure;
    h.roofH = 30;
    h.door = pal::Violet;
    h.doorAt = 0.18;
    h.chimney = false;
    h.seed = 171;
    DrawHouse(p, h);
    // A shop window of bright glass.
    RoundedRect(cr, 214, 478, 60, 22, 3);
    FillVertical(cr, 478, 500, Lighter(pal::Sky, 0.5), Lighter(pal::Teal, 0.4));
    Stroke(cr, pal::Cream, 2);
    const Rgba glass[] = {pal::Teal, pal::Violet, pal::Azure, pal::Berry, pal::Sun};
    for (int i = 0; i < 5; ++i) {
        const double bx = 220 + i * 11, by = 498;
        Ellipse(cr, bx + 3, by - 5, 3.5, 5);
        cairo_rectangle(cr, bx + 2, by - 14, 2, 6);
        SetColour(cr, WithAlpha(glass[i], 0.9));
        cairo_fill_preserve(cr);
        Stroke(cr, Darker(glass[i], 0.4), 0.8);
    }
    // A crystal on the sign.
    Sign(p, 234, 466, 8, pal::PlumDeep, [&] {
        Poly(cr, {234, 460, 238, 465, 236, 472, 232, 472, 230, 465});
        FillLine(cr, Lighter(pal::Teal, 0.3), 0.8);
    });
}

// 18: the new pier.
void DrawNewPier(P& p) {
    cairo_t* cr = p.cr;
    const Rgba plank = Lighter(pal::Wood, 0.12);
    // Posts first, then the deck: a walk out from the quay and a landing across it.
    for (double x : {1186.0, 1214.0}) {
        for (double y = 540; y < 596; y += 18) {
            RoundedRect(cr, x - 3, y, 6, 18, 2);
            FillLine(cr, pal::WoodDark, 1, 0.3);
        }
    }
    for (double x = 1160; x <= 1300; x += 28) {
        RoundedRect(cr, x - 3, 600, 6, 20, 2);
        FillLine(cr, pal::WoodDark, 1, 0.3);
    }
    auto deck = [](cairo_t* c) {
        Poly(c, {1182, 505, 1218, 505, 1220, 590, 1302, 590, 1302, 604, 1156, 604, 1156, 590, 1180, 590});
    };
    p.Shadow(deck, 3, 5, 8, WithAlpha(pal::Night, 0.35));
    deck(cr);
    FillVertical(cr, 505, 604, Lighter(plank, 0.2), plank);
    cairo_new_path(cr);
    cairo_save(cr);
    deck(cr);
    cairo_clip(cr);
    for (double y = 511; y < 604; y += 6) {
        cairo_move_to(cr, 1150, y);
        cairo_line_to(cr, 1310, y);
    }
    Stroke(cr, WithAlpha(pal::WoodDark, 0.4), 1);
    cairo_restore(cr);
    deck(cr);
    Stroke(cr, pal::WoodDark, 1.3);
    cairo_rectangle(cr, 1156, 604, 146, 4);
    FillLine(cr, pal::WoodDark, 1, 0.3);
    // Bollards, a life ring and a lamp at the end.
    for (double x : {1166.0, 1292.0}) {
        RoundedRect(cr, x - 3, 584, 6, 8, 2.5);
        FillLine(cr, pal::PlumDeep, 1, 0.2);
    }
    Circle(cr, 1228, 578, 6);
    Stroke(cr, pal::Coral, 3);
    LampPost(p, 1246, 592, 34, true);
}

// 54: fishing boats at the pier.
void DrawFishingBoats(P& p) {
    cairo_t* cr = p.cr;
    Hull(p, 1228, 626, 70, 12, pal::Coral);
    cairo_rectangle(cr, 1250, 598, 22, 14);
    FillVLine(cr, 598, 612, pal::Cream, Darker(pal::Cream, 0.1), 1.2);
    cairo_new_path(cr);
    Window(p, 1255, 601, 7, 6, Pane::Dark, pal::Cream);
    Poly(cr, {1247, 599, 1260, 592, 1275, 599});
    FillLine(cr, pal::Azure, 1.1);
    Hull(p, 1100, 612, 54, 10, pal::Sun);
    Mast(p, 1124, 568, 604);
    Sail(p, 1124, 568, 600, 22, pal::White);
}

// 19: the fish market.
void DrawFishMarket(P& p) {
    cairo_t* cr = p.cr;
    const double x = 990, base = 506, w = 164;
    Contact(p, x + w / 2, base, w * 0.55, 6);
    Drop(p, [&](cairo_t* c) { cairo_rectangle(c, x, 420, w, 86); });
    // Back wall with a tiled band.
    Wall(p, x + 6, 430, w - 12, 76, Hex(0xE4F4F1));
    cairo_save(cr);
    cairo_rectangle(cr, x + 6, 456, w - 12, 12);
    cairo_clip(cr);
    for (double tx = x + 6; tx < x + w; tx += 10) {
        cairo_rectangle(cr, tx, 456, 5, 6);
        cairo_rectangle(cr, tx + 5, 462, 5, 6);
    }
    Fill(cr, WithAlpha(pal::Azure, 0.5));
    cairo_restore(cr);
    // Columns, counters and the catch.
    for (int i = 0; i <= 4; ++i) {
        const double cx = x + 8 + i * (w - 16) / 4;
        cairo_rectangle(cr, cx - 3, 428, 6, 78);
        FillVLine(cr, 428, 506, pal::White, pal::Stone, 1);
        cairo_new_path(cr);
    }
    for (int i = 0; i < 4; ++i) {
        const double cx = x + 14 + i * 37;
        cairo_rectangle(cr, cx, 486, 30, 14);
        FillVLine(cr, 486, 500, Lighter(pal::Wood, 0.2), pal::Wood, 1);
        cairo_new_path(cr);
        for (int k = 0; k < 3; ++k) {
            const double fx = cx + 5 + k * 9, fy = 482 + (k % 2) * 2;
            Ellipse(cr, fx + 2, fy, 5, 2.5);
            Poly(cr, {fx - 3, fy, fx - 6, fy - 3, fx - 6, fy + 3});
            FillLine(cr, k % 2 ? Lighter(pal::Azure, 0.35) : Mix(pal::Stone, pal::Teal, 0.4), 0.8);
        }
    }
    // The striped roof and a fish sign.
    auto roof = [&](cairo_t* c) { Poly(c, {x - 8, 432, x + 22, 396, x + w - 22, 396, x + w + 8, 432}); };
    roof(cr);
    FillVertical(cr, 396, 432, Lighter(pal::Azure, 0.25), pal::Azure);
    cairo_new_path(cr);
    cairo_save(cr);
    roof(cr);
    cairo_clip(cr);
    for (double sx = x - 20; sx < x + w + 20; sx += 22) {
        Poly(cr, {sx, 432, sx + 11, 432, sx + 11 + 8, 396, sx + 8, 396});
    }
    Fill(cr, WithAlpha(pal::White, 0.75));
    cairo_restore(cr);
    roof(cr);
    Stroke(cr, Darker(pal::Azure, 0.5), 1.4);
    Awning(p, x - 8, 431, w + 16, 7, pal::Azure, pal::White, 12);
    RoundedRect(cr, x + w / 2 - 24, 380, 48, 18, 5);
    FillLine(cr, pal::Cream, 1.3, 0.4);
    Ellipse(cr, x + w / 2 + 2, 389, 12, 5);
    Poly(cr, {x + w / 2 - 10, 389, x + w / 2 - 17, 384, x + w / 2 - 17, 394});
    FillLine(cr, pal::Azure, 1);
    Circle(cr, x + w / 2 + 8, 388, 1.3);
    Fill(cr, pal::White);
}

// 20: the sailing ship.
void DrawSailingShip(P& p) {
    cairo_t* cr = p.cr;
    const double water = 616, x = 428, len = 184, deck = water - 31;
    // Rigging behind the sails: stays from the mast tops to the bow and the stern.
    cairo_move_to(cr, x + 4, deck);
    cairo_line_to(cr, 490, 436);
    cairo_line_to(cr, 552, 452);
    cairo_line_to(cr, x + len, deck - 4);
    Stroke(cr, WithAlpha(pal::WoodDark, 0.75), 0.9);
    Mast(p, 490, 436, deck);
    Mast(p, 552, 452, deck);
    // Square sails, bellied, and a jib at the bow.
    auto sqSail = [&](double mx, double y0, double y1, double hw) {
        cairo_new_sub_path(cr);
        cairo_move_to(cr, mx - hw, y0);
        cairo_line_to(cr, mx + hw, y0);
        cairo_curve_to(cr, mx + hw + 5, (y0 + y1) / 2, mx + hw + 4, y1 - 2, mx + hw + 1, y1);
        cairo_line_to(cr, mx - hw - 1, y1);
        cairo_curve_to(cr, mx - hw + 4, y1 - 3, mx - hw + 5, (y0 + y1) / 2, mx - hw, y0);
        cairo_close_path(cr);
        FillVertical(cr, y0, y1, pal::White, Darker(pal::Cream, 0.06));
        Stroke(cr, Darker(pal::Cream, 0.4), 1.1);
        cairo_move_to(cr, mx - hw - 2, y0);
        cairo_line_to(cr, mx + hw + 2, y0);
        Stroke(cr, pal::WoodDark, 1.8);
    };
    sqSail(490, 446, 494, 26);
    sqSail(490, 500, 570, 32);
    sqSail(552, 462, 500, 22);
    sqSail(552, 506, 572, 28);
    Poly(cr, {558, 456, x + len + 8, deck - 6, 566, deck - 8});
    FillVertical(cr, 456, deck, pal::White, Darker(pal::Cream, 0.06));
    Stroke(cr, Darker(pal::Cream, 0.4), 1.1);
    cairo_move_to(cr, x + len - 6, deck - 4);
    cairo_line_to(cr, x + len + 14, deck - 10);
    Stroke(cr, pal::WoodDark, 2);
    // Pennants.
    Poly(cr, {490, 436, 512, 440, 490, 445});
    FillLine(cr, pal::Berry, 0.9);
    Poly(cr, {552, 452, 568, 455, 552, 459});
    FillLine(cr, pal::Sun, 0.9);
    // The hull with a gold band, portholes and a little stern cabin.
    cairo_rectangle(cr, x + 8, deck - 14, 34, 14);
    FillVLine(cr, deck - 14, deck, Lighter(pal::Wood, 0.25), pal::Wood, 1.2);
    cairo_new_path(cr);
    Window(p, x + 14, deck - 11, 8, 7, Pane::Lit, pal::Cream);
    Window(p, x + 27, deck - 11, 8, 7, Pane::Lit, pal::Cream);
    Hull(p, x, water, len, 25, pal::WoodDark);
    cairo_move_to(cr, x + 2, water - 17);
    cairo_line_to(cr, x + len - 4, water - 23);
    Stroke(cr, pal::Gold, 2.2);
    for (double px = x + 22; px < x + len - 30; px += 20) {
        Circle(cr, px, water - 9, 2.8);
        FillLine(cr, Lighter(pal::Sun, 0.3), 0.8, 0.6);
    }
}

// ---- chapter 6: the old town ----

// 21: the clock tower.
void DrawClockTower(P& p) {
    cairo_t* cr = p.cr;
    const double x = 1090, w = 44, base = 434, top = 248;
    Contact(p, x + w / 2, base, 32, 5);
    Drop(p, [&](cairo_t* c) { cairo_rectangle(c, x, top, w, base - top); });
    cairo_rectangle(cr, x - 5, base - 16, w + 10, 16);
    FillVLine(cr, base - 16, base, Lighter(pal::Stone, 0.3), pal::Stone, 1.2);
    cairo_new_path(cr);
    Wall(p, x, top, w, base - top - 16, Hex(0xFFE9C9));
    Door(p, x + 14, base - 16, 16, 26, pal::WoodDark, true);
    Window(p, x + 16, 350, 12, 20, Pane::Lit, pal::Cream, true);
    Window(p, x + 16, 310, 12, 18, Pane::Dark, pal::Cream, true);
    // The belfry and the clock face.
    cairo_rectangle(cr, x - 3, top - 2, w + 6, 6);
    FillLine(cr, pal::Stone, 1.1, 0.45);
    Circle(cr, x + w / 2, top + 26, 15);
    FillLine(cr, pal::White, 2, 0.3);
    Circle(cr, x + w / 2, top + 26, 15);
    Stroke(cr, pal::Gold, 1.6);
    for (int i = 0; i < 12; ++i) {
        const double a = i * kPi / 6;
        cairo_move_to(cr, x + w / 2 + 11 * std::cos(a), top + 26 + 11 * std::sin(a));
        cairo_line_to(cr, x + w / 2 + 13 * std::cos(a), top + 26 + 13 * std::sin(a));
    }
    Stroke(cr, pal::Ink, 1);
    cairo_move_to(cr, x + w / 2, top + 26);
    cairo_line_to(cr, x + w / 2, top + 16);
    cairo_move_to(cr, x + w / 2, top + 26);
    cairo_line_to(cr, x + w / 2 + 7, top + 29);
    Stroke(cr, pal::Ink, 1.6);
    // A pointed roof with a gold ball.
    Poly(cr, {x - 6, top, x + w / 2, top - 62, x + w + 6, top});
    FillVertical(cr, top - 62, top, Lighter(pal::Azure, 0.25), pal::Azure);
    cairo_new_path(cr);
    Poly(cr, {x + w / 2, top - 62, x + w / 2 + 6, top, x + w + 6, top});
    Fill(cr, WithAlpha(pal::Ink, 0.12));
    Poly(cr, {x - 6, top, x + w / 2, top - 62, x + w + 6, top});
    Stroke(cr, Darker(pal::Azure, 0.5), 1.3);
    cairo_move_to(cr, x + w / 2, top - 62);
    cairo_line_to(cr, x + w / 2, top - 72);
    Stroke(cr, pal::Gold, 1.5);
    Circle(cr, x + w / 2, top - 74, 3);
    FillLine(cr, pal::Gold, 1);
}

// 22: the old town houses.
void DrawOldTownHouses(P& p) {
    cairo_t* cr = p.cr;
    struct Tall {
        double x, w, h;
        Rgba wall, roof;
        Roof kind;
    };
    const Tall houses[] = {{962, 38, 88, Hex(0xFFD6A5), pal::Coral, Roof::Step},
                           {1001, 38, 100, Hex(0xCDE9F2), pal::Azure, Roof::Gable},
                           {1040, 42, 84, Hex(0xF9D1C9), pal::Tangerine, Roof::Step}};
    int i = 0;
    for (const Tall& t : houses) {
        House h;
        h.x = t.x;
        h.base = 442;
        h.w = t.w;
        h.h = t.h;
        h.rows = 3;
        h.cols = 2;
        h.wall = t.wall;
        h.roof = t.roof;
        h.roofKind = t.kind;
        h.roofH = t.kind == Roof::Step ? 24 : 28;
        h.chimney = t.kind != Roof::Step;
        h.door = i == 1 ? pal::Teal : pal::WoodDark;
        h.doorAt = 0.5;
        h.seed = 220 + static_cast<unsigned>(i);
        DrawHouse(p, h);
        // Window boxes of geraniums.
        for (int r = 0; r < 2; ++r) {
            const double by = 442 - t.h + (t.h / 3.15) * (r + 1) - 8;
            cairo_rectangle(cr, t.x + 4, by, t.w - 8, 3);
            FillLine(cr, pal::Wood, 0.8);
            Flowers(p, t.x + 6, t.x + t.w - 6, by, 230 + static_cast<unsigned>(i * 3 + r), 2.2);
        }
        ++i;
    }
}

// 55: street lanterns along the quay promenade.
void DrawStreetLanterns(P& p) {
    for (double x : {300.0, 456.0, 566.0, 676.0, 818.0, 982.0, 1160.0, 1300.0})
        LampPost(p, x, 474, 40, true);
}

// 24 removed: 45, the terrace cafe.
void DrawTerraceCafe(P& p) {
    cairo_t* cr = p.cr;
    const double base = 446;
    Contact(p, 1216, base, 66, 5);
    cairo_rectangle(cr, 1150, base - 8, 132, 8);
    FillVLine(cr, base - 8, base, Lighter(pal::Wood, 0.3), pal::Wood, 1.2);
    cairo_new_path(cr);
    for (double x = 1152; x < 1282; x += 8) {
        cairo_move_to(cr, x, base - 8);
        cairo_line_to(cr, x, base - 18);
    }
    cairo_move_to(cr, 1150, base - 18);
    cairo_line_to(cr, 1282, base - 18);
    Stroke(cr, pal::Cream, 1.3);
    const Rgba shades[] = {pal::Coral, pal::Sun, pal::Teal};
    for (int i = 0; i < 3; ++i) {
        const double tx = 1172 + i * 42;
        cairo_move_to(cr, tx, base - 8);
        cairo_line_to(cr, tx, base - 40);
        Stroke(cr, pal::PlumDeep, 1.4);
        RoundedRect(cr, tx - 9, base - 22, 18, 3, 1);
        FillLine(cr, pal::White, 0.8, 0.3);
        for (double cxs : {tx - 13, tx + 10}) {
            RoundedRect(cr, cxs, base - 18, 3, 10, 1);
            Fill(cr, pal::Coral);
        }
        Circle(cr, tx - 3, base - 24, 2.2);
        FillLine(cr, pal::Berry, 0.7);
        cairo_new_sub_path(cr);
        cairo_move_to(cr, tx - 20, base - 36);
        cairo_curve_to(cr, tx - 14, base - 50, tx + 14, base - 50, tx + 20, base - 36);
        cairo_close_path(cr);
        FillVLine(cr, base - 48, base - 36, Lighter(shades[i], 0.3), shades[i], 1.2);
        cairo_new_path(cr);
        for (int k = -1; k <= 1; k += 2) {
            Poly(cr, {tx, base - 47, tx + k * 7, base - 37, tx + k * 13, base - 38});
        }
        Fill(cr, WithAlpha(pal::White, 0.7));
    }
    Bush(p, 1156, base - 8, 12, pal::Leaf, true);
    Bush(p, 1276, base - 8, 12, pal::Leaf, true);
}

// 23: the town hall with its golden dome.
void DrawTownHall(P& p) {
    cairo_t* cr = p.cr;
    const double x = 660, w = 170, base = 408, top = 334;
    Contact(p, x + w / 2, base, w * 0.55, 6);
    Drop(p, [&](cairo_t* c) { cairo_rectangle(c, x, top, w, base - top); });
    Wall(p, x, top, w, base - top, pal::Cream);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 6; ++c) {
            if (c == 2 || c == 3)
                continue;
            Window(p, x + 10 + c * 27, top + 10 + r * 34, 12, 22, r == 1 && c % 2 ? Pane::Dark : Pane::Lit,
                   pal::Cream, true, nullptr);
        }
    RoofOver(p, x, top, w, 14, pal::Violet, Roof::Flat);
    // The drum and the golden dome.
    const double cx = x + w / 2;
    cairo_rectangle(cr, cx - 26, top - 42, 52, 30);
    FillVLine(cr, top - 42, top - 12, pal::Cream, Darker(pal::Cream, 0.1), 1.3);
    cairo_new_path(cr);
    for (int i = 0; i < 4; ++i)
        Window(p, cx - 22 + i * 12, top - 37, 6, 16, Pane::Dark, pal::Cream, true);
    auto dome = [&](cairo_t* c) {
        cairo_new_sub_path(c);
        cairo_move_to(c, cx - 30, top - 40);
        cairo_curve_to(c, cx - 30, top - 80, cx + 30, top - 80, cx + 30, top - 40);
        cairo_close_path(c);
    };
    dome(cr);
    FillLit(cr, cx, top - 56, 32, pal::GoldLight, pal::Gold, Darker(pal::Gold, 0.3));
    Stroke(cr, Darker(pal::Gold, 0.5), 1.4);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, cx + i * 12, top - 41);
        cairo_curve_to(cr, cx + i * 12, top - 60, cx + i * 5, top - 70, cx, top - 70);
    }
    Stroke(cr, WithAlpha(Darker(pal::Gold, 0.4), 0.6), 1);
    cairo_rectangle(cr, cx - 4, top - 82, 8, 12);
    FillLine(cr, pal::Cream, 1);
    Flag(p, cx, top - 82, 20, pal::Berry);
    // The portico: columns and a pediment.
    Poly(cr, {cx - 32, top + 6, cx, top - 10, cx + 32, top + 6});
    FillVLine(cr, top - 10, top + 6, Lighter(pal::Cream, 0.3), Darker(pal::Cream, 0.08), 1.3);
    cairo_new_path(cr);
    for (int i = 0; i < 4; ++i) {
        cairo_rectangle(cr, cx - 26 + i * 16, top + 6, 6, base - top - 14);
        FillVLine(cr, top + 6, base - 8, pal::White, pal::Stone, 1);
        cairo_new_path(cr);
    }
    Door(p, cx - 7, base - 8, 14, 26, pal::Violet, true);
    for (int i = 0; i < 2; ++i) {
        cairo_rectangle(cr, cx - 36 + i * 4, base - 8 + i * 4, 72 - i * 8, 4);
        FillLine(cr, Lighter(pal::Stone, 0.2 - i * 0.1), 0.9);
    }
}

// ---- chapter 7: the station and the park ----

// 25: the railway station.
void DrawStation(P& p) {
    cairo_t* cr = p.cr;
    House h;
    h.x = 1510;
    h.base = 434;
    h.w = 176;
    h.h = 52;
    h.rows = 1;
    h.cols = 6;
    h.wall = Hex(0xFFE2B8);
    h.roof = pal::Coral;
    h.roofKind = Roof::Hip;
    h.roofH = 24;
    h.door = pal::Teal;
    h.chimney = false;
    h.doorAt = 0.5;
    h.seed = 251;
    DrawHouse(p, h);
    // The clock gable in the middle.
    Poly(cr, {1574, 384, 1598, 346, 1622, 384});
    FillVLine(cr, 346, 384, Lighter(pal::Cream, 0.3), Darker(pal::Cream, 0.08), 1.3);
    cairo_new_path(cr);
    Circle(cr, 1598, 370, 8);
    FillLine(cr, pal::White, 1.3, 0.35);
    cairo_move_to(cr, 1598, 370);
    cairo_line_to(cr, 1598, 365);
    cairo_move_to(cr, 1598, 370);
    cairo_line_to(cr, 1602, 371);
    Stroke(cr, pal::Ink, 1);
    // The platform canopy on posts.
    for (double x = 1516; x <= 1684; x += 28) {
        cairo_move_to(cr, x, 434);
        cairo_line_to(cr, x, 404);
    }
    Stroke(cr, pal::PlumDeep, 1.8);
    Awning(p, 1506, 398, 184, 9, pal::Teal, pal::Cream, 14);
    // A book sign: the reading shelf for the ride.
    RoundedRect(cr, 1626, 412, 22, 14, 2);
    FillLine(cr, pal::Cream, 1, 0.4);
    Poly(cr, {1629, 415, 1637, 417, 1637, 424, 1629, 422});
    Poly(cr, {1645, 415, 1637, 417, 1637, 424, 1645, 422});
    FillLine(cr, pal::Berry, 0.8);
    Bench(p, 1540, 434, 22);
}

// 26: the riverside park.
void DrawRiversidePark(P& p) {
    cairo_t* cr = p.cr;
    auto lawn = [](cairo_t* c) {
        cairo_new_sub_path(c);
        cairo_move_to(c, 1484, 480);
        cairo_curve_to(c, 1540, 470, 1660, 472, 1712, 482);
        cairo_curve_to(c, 1724, 510, 1716, 534, 1704, 538);
        cairo_line_to(c, 1500, 538);
        cairo_curve_to(c, 1488, 530, 1480, 500, 1484, 480);
        cairo_close_path(c);
    };
    lawn(cr);
    FillVertical(cr, 470, 540, Lighter(pal::Leaf, 0.35), Lighter(pal::Leaf, 0.1));
    Stroke(cr, Darker(pal::Leaf, 0.25), 1.4);
    // Winding paths and a round pond.
    cairo_move_to(cr, 1490, 520);
    cairo_curve_to(cr, 1540, 500, 1600, 530, 1650, 505);
    cairo_curve_to(cr, 1680, 492, 1700, 500, 1714, 494);
    Stroke(cr, Mix(pal::Cream, pal::Wood, 0.2), 6);
    Ellipse(cr, 1560, 492, 26, 8);
    FillLine(cr, Mix(pal::Teal, pal::Sky, 0.35), 1.2, 0.4);
    Ripples(p, 1540, 1575, 488, 496, 261, 3, 0.8);
    Tree(p, 1500, 496, 40, TreeKind::Round);
    Tree(p, 1626, 488, 46, TreeKind::Round);
    Tree(p, 1700, 498, 38, TreeKind::Poplar);
    Bush(p, 1660, 530, 14, pal::Leaf, true);
    Bush(p, 1520, 536, 12, pal::Leaf, true);
    Bench(p, 1590, 512, 20);
    // A low hedge along the quay.
    cairo_rectangle(cr, 1500, 534, 206, 6);
    FillLine(cr, Darker(pal::Leaf, 0.15), 1, 0.4);
}

// 27: the bandstand.
void DrawBandstand(P& p) {
    cairo_t* cr = p.cr;
    const double cx = 1630, base = 540;
    Contact(p, cx, base, 40, 5);
    Ellipse(cr, cx, base - 4, 38, 6);
    cairo_rectangle(cr, cx - 38, base - 10, 76, 6);
    Ellipse(cr, cx, base - 10, 38, 6);
    FillVertical(cr, base - 16, base + 2, Lighter(pal::Cream, 0.2), Darker(pal::Cream, 0.15));
    Stroke(cr, Darker(pal::Cream, 0.4), 1.2);
    for (double x : {cx - 32, cx - 12, cx + 12, cx + 32}) {
        cairo_move_to(cr, x, base - 10);
        cairo_line_to(cr, x, base - 46);
    }
    Stroke(cr, pal::White, 2.2);
    cairo_move_to(cr, cx - 34, base - 20);
    cairo_line_to(cr, cx + 34, base - 20);
    Stroke(cr, Lighter(pal::Cream, 0.3), 1.2);
    // The roof in berry and cream stripes.
    auto roof = [&](cairo_t* c) {
        cairo_new_sub_path(c);
        cairo_move_to(c, cx - 42, base - 44);
        cairo_curve_to(c, cx - 20, base - 56, cx - 6, base - 70, cx, base - 80);
        cairo_curve_to(c, cx + 6, base - 70, cx + 20, base - 56, cx + 42, base - 44);
        cairo_close_path(c);
    };
    roof(cr);
    FillVertical(cr, base - 80, base - 44, Lighter(pal::Berry, 0.3), pal::Berry);
    cairo_new_path(cr);
    cairo_save(cr);
    roof(cr);
    cairo_clip(cr);
    for (int i = -3; i <= 3; i += 2) {
        Poly(cr, {cx, base - 82, cx + i * 10, base - 40, cx + (i + 1) * 10, base - 40});
    }
    Fill(cr, WithAlpha(pal::Cream, 0.8));
    cairo_restore(cr);
    roof(cr);
    Stroke(cr, Darker(pal::Berry, 0.5), 1.3);
    Circle(cr, cx, base - 83, 3);
    FillLine(cr, pal::Gold, 1);
    // Music notes in the air.
    for (int i = 0; i < 2; ++i) {
        const double nx = cx - 50 + i * 96, ny = base - 70 + i * 8;
        Ellipse(cr, nx, ny, 3, 2.2);
        Fill(cr, pal::Plum);
        cairo_move_to(cr, nx + 2.6, ny);
        cairo_line_to(cr, nx + 2.6, ny - 10);
        cairo_line_to(cr, nx + 6, ny - 7);
        Stroke(cr, pal::Plum, 1.2);
    }
}

// 56: flower beds in the park.
void DrawFlowerBeds(P& p) {
    cairo_t* cr = p.cr;
    for (double cx : {1514.0, 1572.0}) {
        Ellipse(cr, cx, 552, 26, 7);
        FillLine(cr, Mix(pal::Stone, pal::Cream, 0.4), 1.2, 0.4);
        Ellipse(cr, cx, 551, 22, 5);
        Fill(cr, Mix(pal::WoodDark, pal::Leaf, 0.4));
        Flowers(p, cx - 20, cx + 20, 552, static_cast<unsigned>(cx), 3);
        Flowers(p, cx - 14, cx + 14, 548, static_cast<unsigned>(cx) + 1, 3);
    }
}

// 28: the little train.
void DrawLittleTrain(P& p) {
    cairo_t* cr = p.cr;
    const double rail = 440;
    // Two carriages, then the engine at the front (right).
    const Rgba cars[] = {pal::Teal, pal::Sun};
    for (int i = 0; i < 2; ++i) {
        const double x = 1528 + i * 58;
        Contact(p, x + 26, rail, 28, 2.5);
        RoundedRect(cr, x, rail - 30, 52, 24, 3);
        FillVLine(cr, rail - 30, rail - 6, Lighter(cars[i], 0.2), cars[i], 1.3);
        cairo_new_path(cr);
        RoundedRect(cr, x - 2, rail - 35, 56, 6, 3);
        FillLine(cr, pal::Plum, 1.1, 0.4);
        for (int k = 0; k < 3; ++k)
            Window(p, x + 6 + k * 15, rail - 26, 10, 10, Pane::Lit, pal::Cream);
        for (double wx : {x + 10, x + 42}) {
            Circle(cr, wx, rail - 4, 4.5);
            FillLine(cr, pal::PlumDeep, 1, 0.2);
        }
    }
    const double ex = 1646;
    Contact(p, ex + 32, rail, 36, 3);
    RoundedRect(cr, ex, rail - 44, 26, 38, 3);
    FillVLine(cr, rail - 44, rail - 6, Lighter(pal::Coral, 0.2), pal::Coral, 1.3);
    cairo_new_path(cr);
    Window(p, ex + 6, rail - 38, 14, 12, Pane::Lit, pal::Cream);
    RoundedRect(cr, ex - 3, rail - 49, 32, 6, 2);
    FillLine(cr, pal::Plum, 1.1, 0.4);
    RoundedRect(cr, ex + 24, rail - 28, 42, 22, 10);
    FillVLine(cr, rail - 28, rail - 6, Lighter(pal::Coral, 0.2), pal::Coral, 1.3);
    cairo_new_path(cr);
    cairo_move_to(cr, ex + 28, rail - 20);
    cairo_line_to(cr, ex + 62, rail - 20);
    Stroke(cr, pal::Gold, 1.6);
    Poly(cr, {ex + 50, rail - 28, ex + 48, rail - 42, ex + 60, rail - 42, ex + 58, rail - 28});
    FillLine(cr, pal::Plum, 1.1, 0.4);
    Poly(cr, {ex + 64, rail - 6, ex + 72, rail - 6, ex + 66, rail - 14});
    FillLine(cr, pal::Gold, 1);
    for (double wx : {ex + 10.0, ex + 34.0, ex + 54.0}) {
        Circle(cr, wx, rail - 5, wx < ex + 20 ? 6.5 : 5);
        FillLine(cr, pal::PlumDeep, 1, 0.2);
        Circle(cr, wx, rail - 5, 1.6);
        Fill(cr, pal::Gold);
    }
    // A puff of steam.
    for (int i = 0; i < 3; ++i) {
        Circle(cr, ex + 56 - i * 9, rail - 50 - i * 7, 5 + i * 1.5);
    }
    SetColour(cr, WithAlpha(pal::White, 0.85));
    cairo_fill_preserve(cr);
    Stroke(cr, WithAlpha(pal::Stone, 0.8), 1);
}

// ---- chapter 8: the lighthouse and the festival ----

// 29: the lighthouse on the headland.
void DrawLighthouse(P& p) {
    cairo_t* cr = p.cr;
    const double cx = 62, base = 458, top = 300;
    Contact(p, cx, base, 30, 5);
    auto tower = [&](cairo_t* c) { Poly(c, {cx - 21, base, cx - 14, top, cx + 14, top, cx + 21, base}); };
    Drop(p, tower);
    tower(cr);
    FillVertical(cr, top, base, pal::White, Darker(pal::Cream, 0.05));
    cairo_new_path(cr);
    cairo_save(cr);
    tower(cr);
    cairo_clip(cr);
    for (int i = 0; i < 4; ++i) {
        const double y0 = top + 12 + i * 38;
        cairo_rectangle(cr, cx - 30, y0, 60, 19);
    }
    FillVertical(cr, top, base, Lighter(pal::Coral, 0.15), Darker(pal::Coral, 0.1));
    cairo_new_path(cr);
    cairo_rectangle(cr, cx + 5, top, 30, base - top);
    Fill(cr, WithAlpha(pal::Ink, 0.1));
    cairo_restore(cr);
    tower(cr);
    Stroke(cr, Darker(pal::Coral, 0.5), 1.4);
    Door(p, cx - 6, base, 12, 20, pal::Azure, true);
    Window(p, cx - 3, top + 60, 6, 9, Pane::Dark, pal::Cream, true);
    // Gallery, the lantern room and the cap.
    cairo_rectangle(cr, cx - 20, top - 4, 40, 5);
    FillLine(cr, pal::PlumDeep, 1, 0.2);
    for (double x = cx - 18; x <= cx + 18; x += 6) {
        cairo_move_to(cr, x, top - 4);
        cairo_line_to(cr, x, top - 11);
    }
    cairo_move_to(cr, cx - 20, top - 11);
    cairo_line_to(cr, cx + 20, top - 11);
    Stroke(cr, pal::PlumDeep, 1.2);
    p.Shadow([&](cairo_t* c) { Circle(c, cx, top - 18, 12); }, 0, 0, 14, WithAlpha(pal::GoldLight, 0.95));
    cairo_rectangle(cr, cx - 10, top - 28, 20, 24);
    FillVertical(cr, top - 28, top - 4, pal::White, Lighter(pal::Sun, 0.3));
    Stroke(cr, pal::PlumDeep, 1.3);
    cairo_move_to(cr, cx, top - 28);
    cairo_line_to(cr, cx, top - 4);
    Stroke(cr, pal::PlumDeep, 1);
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - 13, top - 27);
    cairo_curve_to(cr, cx - 12, top - 44, cx + 12, top - 44, cx + 13, top - 27);
    cairo_close_path(cr);
    FillVLine(cr, top - 42, top - 27, Lighter(pal::Coral, 0.25), pal::Coral, 1.3);
    cairo_new_path(cr);
    Circle(cr, cx, top - 44, 2.6);
    FillLine(cr, pal::Gold, 1);
    // Light rays reaching out over the sea.
    for (int s = -1; s <= 1; s += 2) {
        Poly(cr, {cx + s * 10, top - 20, cx + s * 70, top - 34, cx + s * 70, top - 6});
        FillVertical(cr, top - 34, top - 6, WithAlpha(pal::GoldLight, 0.45), WithAlpha(pal::GoldLight, 0.15));
        cairo_new_path(cr);
    }
}

// 57: sailboats out by the lighthouse.
void DrawSailboats(P& p) {
    const double boats[][4] = {{150, 600, 44, 0}, {262, 622, 36, 1}};
    const Rgba sails[] = {pal::White, Lighter(pal::Berry, 0.35)};
    const Rgba hulls[] = {pal::Azure, pal::Cream};
    for (const auto& b : boats) {
        const int i = static_cast<int>(b[3]);
        Hull(p, b[0], b[1], b[2], 7, hulls[i]);
        const double mx = b[0] + b[2] * 0.45;
        Mast(p, mx, b[1] - 52, b[1] - 8);
        Sail(p, mx, b[1] - 52, b[1] - 10, b[2] * 0.45, sails[i]);
        Sail(p, mx, b[1] - 44, b[1] - 10, -b[2] * 0.35, sails[i]);
    }
}

// 30: the new church spire with its bells.
void DrawChurchSpire(P& p) {
    cairo_t* cr = p.cr;
    const double x = 860, w = 38, top = 226;
    cairo_rectangle(cr, x, top - 28, w, 30);
    FillVLine(cr, top - 28, top + 2, Lighter(Hex(0xF3E6CF), 0.3), Hex(0xF3E6CF), 1.3);
    cairo_new_path(cr);
    for (int i = 0; i < 2; ++i) {
        Window(p, x + 6 + i * 15, top - 24, 11, 20, Pane::Dark, pal::Cream, true);
        Poly(cr, {x + 9.5 + i * 15, top - 11, x + 13.5 + i * 15, top - 11, x + 15.5 + i * 15, top - 5,
                  x + 7.5 + i * 15, top - 5});
        FillLine(cr, pal::Gold, 0.8);
    }
    cairo_rectangle(cr, x - 3, top - 31, w + 6, 5);
    FillLine(cr, Lighter(pal::Stone, 0.2), 1, 0.45);
    Poly(cr, {x - 2, top - 31, x + w / 2, top - 96, x + w + 2, top - 31});
    FillVertical(cr, top - 96, top - 31, Lighter(pal::Azure, 0.3), pal::Azure);
    cairo_new_path(cr);
    Poly(cr, {x + w / 2, top - 96, x + w / 2 + 4, top - 31, x + w + 2, top - 31});
    Fill(cr, WithAlpha(pal::Ink, 0.12));
    Poly(cr, {x - 2, top - 31, x + w / 2, top - 96, x + w + 2, top - 31});
    Stroke(cr, Darker(pal::Azure, 0.5), 1.3);
    cairo_move_to(cr, x + w / 2, top - 96);
    cairo_line_to(cr, x + w / 2, top - 112);
    cairo_move_to(cr, x + w / 2 - 5, top - 106);
    cairo_line_to(cr, x + w / 2 + 5, top - 106);
    Stroke(cr, pal::Gold, 2);
}

// 31 removed: 46, the carousel.
void DrawCarousel(P& p) {
    cairo_t* cr = p.cr;
    const double cx = 1928, base = 566;
    Contact(p, cx, base, 62, 6);
    Ellipse(cr, cx, base - 6, 58, 8);
    cairo_rectangle(cr, cx - 58, base - 14, 116, 8);
    Ellipse(cr, cx, base - 14, 58, 8);
    FillVertical(cr, base - 22, base + 2, Lighter(pal::Violet, 0.3), pal::Violet);
    Stroke(cr, Darker(pal::Violet, 0.5), 1.2);
    cairo_rectangle(cr, cx - 6, base - 86, 12, 72);
    FillVLine(cr, base - 86, base - 14, pal::GoldLight, pal::Gold, 1.1);
    cairo_new_path(cr);
    const Rgba horses[] = {pal::White, pal::Sun, pal::Berry, pal::Azure};
    for (int i = 0; i < 4; ++i) {
        const double hx = cx - 42 + i * 28, hy = base - 34 + (i % 2) * 6;
        cairo_move_to(cr, hx, base - 18);
        cairo_line_to(cr, hx, base - 84);
        Stroke(cr, pal::Gold, 1.6);
        // A small horse: body, neck and head.
        Ellipse(cr, hx, hy, 9, 5);
        Poly(cr, {hx + 5, hy - 2, hx + 9, hy - 12, hx + 14, hy - 10, hx + 10, hy});
        SetColour(cr, horses[i]);
        cairo_fill_preserve(cr);
        Stroke(cr, Darker(horses[i], 0.5), 1);
        for (double lx : {hx - 6, hx + 5}) {
            cairo_move_to(cr, lx, hy + 3);
            cairo_line_to(cr, lx + 1, hy + 10);
        }
        Stroke(cr, Darker(horses[i], 0.4), 1.6);
    }
    // The striped canopy.
    auto roof = [&](cairo_t* c) {
        cairo_new_sub_path(c);
        cairo_move_to(c, cx - 64, base - 82);
        cairo_curve_to(c, cx - 30, base - 94, cx - 10, base - 110, cx, base - 124);
        cairo_curve_to(c, cx + 10, base - 110, cx + 30, base - 94, cx + 64, base - 82);
        cairo_close_path(c);
    };
    p.Shadow(roof, 3, 3, 6, WithAlpha(pal::Ink, 0.3));
    roof(cr);
    FillVertical(cr, base - 124, base - 82, Lighter(pal::Coral, 0.3), pal::Coral);
    cairo_new_path(cr);
    cairo_save(cr);
    roof(cr);
    cairo_clip(cr);
    for (int i = -6; i <= 6; i += 2)
        Poly(cr, {cx, base - 126, cx + i * 10.5, base - 78, cx + (i + 1) * 10.5, base - 78});
    Fill(cr, WithAlpha(pal::Cream, 0.85));
    cairo_restore(cr);
    roof(cr);
    Stroke(cr, Darker(pal::Coral, 0.5), 1.3);
    for (int i = 0; i < 9; ++i) {
        Circle(cr, cx - 60 + i * 15, base - 80, 3.2);
        Fill(cr, i % 2 ? pal::Sun : pal::Cream);
    }
    Flag(p, cx, base - 124, 14, pal::Sun);
}

// 32: the big wheel.
void DrawBigWheel(P& p) {
    cairo_t* cr = p.cr;
    const double cx = 1772, cy = 414, r = 100, base = 542;
    Contact(p, cx, base, 52, 6);
    // Legs.
    cairo_move_to(cr, cx - 44, base);
    cairo_line_to(cr, cx, cy);
    cairo_line_to(cr, cx + 44, base);
    Stroke(cr, Darker(pal::Plum, 0.2), 5);
    cairo_move_to(cr, cx - 44, base);
    cairo_line_to(cr, cx, cy);
    cairo_line_to(cr, cx + 44, base);
    Stroke(cr, pal::Plum, 3);
    // Rim and spokes.
    for (int i = 0; i < 16; ++i) {
        const double a = i * kPi / 8;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    Stroke(cr, WithAlpha(pal::Cream, 0.9), 1.2);
    Circle(cr, cx, cy, r);
    Stroke(cr, Darker(pal::Plum, 0.2), 5);
    Circle(cr, cx, cy, r);
    Stroke(cr, pal::Gold, 2.6);
    Circle(cr, cx, cy, r * 0.55);
    Stroke(cr, WithAlpha(pal::GoldLight, 0.9), 1.4);
    for (int i = 0; i < 16; ++i) {
        const double a = i * kPi / 8;
        Circle(cr, cx + r * std::cos(a), cy + r * std::sin(a), 2.4);
        Fill(cr, pal::GoldLight);
    }
    Circle(cr, cx, cy, 8);
    FillLine(cr, pal::Gold, 1.3);
    // Gondolas hanging from the rim.
    const Rgba cabins[] = {pal::Coral, pal::Sun, pal::Teal, pal::Berry, pal::Azure, pal::Tangerine, pal::Leaf, pal::Violet};
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4 + kPi / 8;
        const double gx = cx + r * std::cos(a), gy = cy + r * std::sin(a);
        cairo_move_to(cr, gx, gy);
        cairo_line_to(cr, gx, gy + 6);
        Stroke(cr, pal::PlumDeep, 1.2);
        auto cabin = [&](cairo_t* c) {
            cairo_new_sub_path(c);
            cairo_move_to(c, gx - 9, gy + 6);
            cairo_line_to(c, gx + 9, gy + 6);
            cairo_line_to(c, gx + 8, gy + 18);
            cairo_curve_to(c, gx + 6, gy + 21, gx - 6, gy + 21, gx - 8, gy + 18);
            cairo_close_path(c);
        };
        cabin(cr);
        FillVertical(cr, gy + 6, gy + 21, Lighter(cabins[i], 0.25), cabins[i]);
        Stroke(cr, Darker(cabins[i], 0.5), 1.1);
        cairo_rectangle(cr, gx - 6, gy + 8, 12, 4);
        Fill(cr, WithAlpha(pal::White, 0.6));
    }
    // The ticket booth.
    cairo_rectangle(cr, cx - 14, base - 22, 28, 22);
    FillVLine(cr, base - 22, base, pal::Cream, Darker(pal::Cream, 0.1), 1.2);
    cairo_new_path(cr);
    Window(p, cx - 7, base - 18, 14, 9, Pane::Lit, pal::Cream);
    Poly(cr, {cx - 18, base - 21, cx, base - 32, cx + 18, base - 21});
    FillLine(cr, pal::Berry, 1.2);
}

// 58: festival bunting over the east quay.
void DrawBunting(P& p) {
    cairo_t* cr = p.cr;
    const double poles[] = {1492, 1612, 1708, 1842, 2010};
    const double top = 488;
    for (double x : poles) {
        Contact(p, x, 548, 5, 2, 0.3);
        cairo_move_to(cr, x, 548);
        cairo_line_to(cr, x, top);
        Stroke(cr, pal::PlumDeep, 2.2);
        Circle(cr, x, top - 2, 2.6);
        Fill(cr, pal::Gold);
    }
    const Rgba flags[] = {pal::Coral, pal::Sun, pal::Teal, pal::Berry, pal::Azure, pal::Leaf};
    int k = 0;
    for (std::size_t i = 0; i + 1 < std::size(poles); ++i) {
        const double x0 = poles[i], x1 = poles[i + 1], sag = 14;
        cairo_move_to(cr, x0, top);
        cairo_curve_to(cr, x0 + (x1 - x0) / 3, top + sag, x0 + 2 * (x1 - x0) / 3, top + sag, x1, top);
        Stroke(cr, pal::PlumDeep, 0.9);
        for (double x = x0 + 8; x < x1 - 6; x += 12, ++k) {
            const double t = (x - x0) / (x1 - x0);
            const double y = top + sag * 0.75 * 4 * t * (1 - t) * 1.0;
            Poly(cr, {x - 4.5, y, x + 4.5, y, x, y + 10});
            FillLine(cr, flags[k % 6], 0.7);
        }
    }
}

// ---- the catalogue ----

enum class Kind { Ground, Scenery, Start, Purchase, Extra };

struct MapEntry {
    int id;
    Kind kind;
    const char* file;   // picture in gfx/Map/, without ".png"
    const char* name;
    const char* descr;  // one short line
    void (*draw)(P&);
    double x0, y0, x1, y1;  // rough area the drawing stays in (map pixels)
    double depth;           // drawing order among the objects: nearer things later
    // Purchases only:
    const char* icon = nullptr;
    int price = 0;
    bool removal = false;      // bought to take it away
    const char* hide = "";     // blank-separated ids
    const char* show = "";
    int background = 0;        // level background set it brings, 0 none
    int iconOf = 0;            // the icon pictures this object instead (the later look of a removal)
};

void NoDraw(P&) {}

const std::vector<MapEntry>& Catalogue() {
    using K = Kind;
    static const std::vector<MapEntry> c = {
        // The ground: two halves of one picture.
        {514, K::Ground, "Ground-West", "Velmora, West Side", "The sky, the hills and the harbour bay.", NoDraw, 0, 0, 1024, 768, 0},
        {515, K::Ground, "Ground-East", "Velmora, East Side", "The river mouth, the east bank and the factory hills.", NoDraw, 1024, 0, 2048, 768, 0},
        // Scenery, back to front.
        {1001, K::Scenery, "PineWoods", "Pine Woods", "Dark pines along the top of the hills.", DrawPineWoods, 0, 150, 2048, 400, 0},
        {1002, K::Scenery, "OldChurch", "Old Church", "St. Brina's church, grey and quiet, waiting for its spire.", DrawOldChurch, 830, 200, 990, 360, 0},
        {1003, K::Scenery, "HillCottages", "Hill Cottages", "Little old cottages on the slope below the church.", DrawHillCottages, 530, 320, 870, 400, 0},
        {1004, K::Scenery, "HillPaths", "Hill Paths", "Sandy paths up to the school, the church and the ridge.", DrawHillPaths, 200, 250, 1500, 470, 0},
        {1005, K::Scenery, "HillTrees", "Hill Trees", "Old trees dotted over the hills.", DrawHillTrees, 0, 240, 1800, 380, 0},
        {1006, K::Scenery, "EastCottages", "East Bank Cottages", "Workers' cottages on the east bank, faded by the sun.", DrawEastCottages, 1460, 330, 1800, 420, 0},
        {1007, K::Scenery, "OldFactory", "Old Factory", "The brick factory with five tall chimneys.", DrawOldFactory, 1770, 180, 2048, 500, 0},
        {1008, K::Scenery, "OldTown", "Old Town", "Old roofs and a steep cobbled lane above the street.", DrawOldTown, 940, 340, 1320, 460, 0},
        {1009, K::Scenery, "MainStreet", "Main Street", "The cobbled main street along the harbour.", DrawMainStreet, 90, 435, 1820, 485, 0},
        {1010, K::Scenery, "Railway", "Old Railway", "Rusty rails that end at the factory gate.", DrawRailway, 1455, 420, 1815, 455, 0},
        {1011, K::Scenery, "WestHouses", "West End Houses", "Tired old houses at the west end of the street.", DrawWestHouses, 90, 360, 330, 470, 0},
        {1012, K::Scenery, "Willows", "River Willows", "Willows dipping their twigs into the river.", DrawWillows, 1280, 300, 1490, 440, 0},
        {1013, K::Scenery, "StreetTrees", "Street Trees", "Three shady trees below the church hill.", DrawStreetTrees, 820, 380, 990, 465, 0},
        {1014, K::Scenery, "HarbourQuay", "Harbour Quay", "The stone quay of the bay, with steps and bollards.", DrawHarbourQuay, 90, 460, 1370, 540, 0},
        {1015, K::Scenery, "EastQuay", "East Quay", "A wooden boardwalk along the east shore.", DrawEastQuay, 1480, 535, 2048, 595, 0},
        {1016, K::Scenery, "Headland", "West Headland", "Grey rocks where the bay meets the open sea.", DrawHeadland, 0, 425, 150, 600, 0},
        {1017, K::Scenery, "MooringPosts", "Mooring Posts", "Old posts standing in the water.", DrawMooringPosts, 220, 520, 1260, 575, 0},
        {1018, K::Scenery, "RowingBoats", "Rowing Boats", "Two old rowing boats by the quay steps.", DrawRowingBoats, 880, 535, 1050, 580, 0},
        {1019, K::Scenery, "FactoryYard", "Factory Yard", "Barrels and crates nobody has moved in years.", DrawFactoryYard, 1780, 480, 2048, 540, 0},
        {1020, K::Scenery, "Gulls", "Gulls", "Gulls gliding over the bay.", DrawGulls, 360, 190, 1610, 280, 0},
        // Start objects that purchases hide, and the eyesores purchases remove.
        {81, K::Start, "BoardedKiosk", "Boarded-up Kiosk", "Planks on the windows and a sign nobody can read.", DrawBoardedKiosk, 585, 430, 675, 515, 500},
        {82, K::Start, "ShabbyStall", "Shabby Market Stall", "A patched awning and one lonely crate of apples.", DrawShabbyStall, 490, 395, 620, 460, 447},
        {83, K::Start, "BrokenFootbridge", "Broken Footbridge", "Mind the gap! Only the ducks cross here now.", DrawBrokenFootbridge, 1315, 425, 1475, 485, 470},
        {84, K::Start, "SunkenBoat", "Sunken Boat", "An old boat resting on the mud, waiting for help.", DrawSunkenBoat, 430, 535, 590, 625, 600},
        {1021, K::Start, "Scaffolding", "Scaffolding", "Poles and planks around the church tower.", DrawScaffolding, 840, 200, 915, 345, 336},
        {4, K::Purchase, "QuayRubble", "Clear the Rubble", "Sweep the old stones away and set out benches by the water.", DrawQuayRubble, 665, 455, 830, 515, 503,
         "ClearRubble", 65, true, "", "41", 0, 41},
        {9, K::Purchase, "WeedyLot", "Clear the Weedy Lot", "Pull the nettles and let a fountain sing in the square.", DrawWeedyLot, 640, 415, 770, 465, 450,
         "ClearWeedyLot", 100, true, "", "42", 0, 42},
        {11, K::Purchase, "CollapsedShed", "Clear the Old Shed", "Take the fallen shed away and dig a vegetable garden.", DrawCollapsedShed, 50, 330, 185, 390, 378,
         "ClearOldShed", 90, true, "", "43", 0, 43},
        {14, K::Purchase, "Driftwood", "Clear the Driftwood", "Free the river of old logs and let the mill pond fill.", DrawDriftwood, 1320, 360, 1425, 410, 395,
         "ClearDriftwood", 140, true, "", "44", 0, 44},
        {24, K::Purchase, "CrumblingWall", "Mend the Old Wall", "Clear the crumbled wall and open a terrace cafe.", DrawCrumblingWall, 1140, 395, 1285, 455, 444,
         "MendOldWall", 275, true, "", "45", 0, 45},
        {31, K::Purchase, "RustyCrane", "Take Down the Crane", "Lift the rusty crane away and let a carousel spin.", DrawRustyCrane, 1850, 375, 2000, 580, 566,
         "RemoveCrane", 240, true, "", "46", 0, 46},
        // Chapter 1: the quay wakes up.
        {1, K::Purchase, "TeaKiosk", "Tea Kiosk", "Hot tea and a warm hello for everyone on the quay.", DrawTeaKiosk, 570, 420, 685, 512, 500.5,
         "TeaKiosk", 10, false, "81"},
        {2, K::Purchase, "HerbShop", "Herb Shop", "Mint, sage and a little potion for tired heroes.", DrawHerbShop, 290, 410, 405, 515, 505,
         "HerbShop", 25, false, "", "51"},
        {3, K::Purchase, "HarbourMaster", "Harbour Master's House", "A blue door, a brass bell and a flag that waves hello.", DrawHarbourMaster, 815, 330, 990, 515, 505,
         "HarbourMaster", 40, false, "", "", 1},
        {41, K::Extra, "QuayBenches", "Quay Benches", "Benches and flower tubs for watching the boats.", DrawQuayBenches, 675, 450, 800, 515, 503.5},
        {51, K::Extra, "HerbCart", "Herb Cart", "A little cart piled high with fresh herbs.", DrawHerbCart, 390, 475, 460, 515, 507},
        // Chapter 2: the market.
        {5, K::Purchase, "MarketHall", "Market Hall", "Stalls under one roof: apples, cheese and friendly chatter.", DrawMarketHall, 455, 310, 665, 460, 447.5,
         "MarketHall", 90, false, "82"},
        {6, K::Purchase, "LampWorkshop", "Lamp Workshop", "Bright lamps for the streets and a spark for the row tool.", DrawLampWorkshop, 345, 345, 475, 460, 447,
         "LampWorkshop", 60},
        {7, K::Purchase, "FlowerStalls", "Flower Stalls", "Buckets of tulips brighten the corner of the market.", DrawFlowerStalls, 760, 405, 865, 465, 452,
         "FlowerStalls", 55, false, "", "", 2},
        {42, K::Extra, "FountainSquare", "Fountain Square", "A splashing fountain where the weeds once grew.", DrawFountainSquare, 640, 395, 775, 470, 450.5},
        // Chapter 3: the school and the gardens.
        {8, K::Purchase, "School", "Little School", "Chalk, books and laughter ring out over the hill.", DrawSchool, 195, 225, 350, 365, 352,
         "School", 80, false, "", "52"},
        {10, K::Purchase, "Greenhouse", "Greenhouse", "Glass walls, warm air and tomatoes all year round.", DrawGreenhouse, 335, 315, 455, 368, 357,
         "Greenhouse", 55, false, "", "", 3},
        {12, K::Purchase, "GardenersLodge", "Gardener's Lodge", "Seeds, spades and a kettle always on the boil.", DrawGardenersLodge, 440, 300, 575, 382, 368,
         "GardenersLodge", 90},
        {43, K::Extra, "VegetableGarden", "Vegetable Garden", "Neat rows of carrots, beans and round pumpkins.", DrawVegetableGarden, 50, 325, 185, 392, 378.5},
        {52, K::Extra, "Swings", "Swings", "Swings and a seesaw for the school breaks.", DrawSwings, 140, 320, 220, 378, 362},
        // Chapter 4: the bridge and the mills.
        {13, K::Purchase, "StoneBridge", "Stone Bridge", "Strong arches carry the main street over the river.", DrawStoneBridge, 1300, 395, 1490, 505, 470.5,
         "StoneBridge", 125, false, "83"},
        {15, K::Purchase, "Watermill", "Watermill", "The wheel turns again and the town smells of fresh bread.", DrawWatermill, 1380, 315, 1525, 425, 412,
         "Watermill", 105, false, "", "53"},
        {16, K::Purchase, "Windmill", "Windmill", "Sails spin high on the ridge, waving at the sea.", DrawWindmill, 1170, 95, 1330, 280, 270,
         "Windmill", 120, false, "", "", 4},
        {44, K::Extra, "MillPond", "Mill Pond", "Calm water, two ducks and not a log in sight.", DrawMillPond, 1320, 360, 1435, 408, 395.5},
        {53, K::Extra, "FlourCart", "Flour Cart", "Sacks of flour on their way to the bakers.", DrawFlourCart, 1440, 395, 1515, 440, 430},
        // Chapter 5: the harbour.
        {17, K::Purchase, "Glassworks", "Glassworks", "Glowing kilns and glass that sparkles like crystal.", DrawGlassworks, 145, 390, 295, 515, 505,
         "Glassworks", 160},
        {18, K::Purchase, "NewPier", "New Pier", "Fresh planks reach into the bay for the boats to rest.", DrawNewPier, 1145, 500, 1315, 620, 604,
         "NewPier", 160, false, "", "54"},
        {19, K::Purchase, "FishMarket", "Fish Market", "The morning catch, a loud bell and the best chowder.", DrawFishMarket, 975, 370, 1170, 515, 506,
         "FishMarket", 205, false, "", "", 5},
        {20, K::Purchase, "SailingShip", "Sailing Ship", "A proud ship with white sails comes home to Velmora.", DrawSailingShip, 425, 405, 615, 650, 616.5,
         "SailingShip", 180, false, "84"},
        {54, K::Extra, "FishingBoats", "Fishing Boats", "Bright little boats bobbing at the new pier.", DrawFishingBoats, 1085, 560, 1310, 645, 626},
        // Chapter 6: the old town.
        {21, K::Purchase, "ClockTower", "Clock Tower", "Now the whole town knows when it is time for tea.", DrawClockTower, 1075, 165, 1150, 445, 434,
         "ClockTower", 185},
        {22, K::Purchase, "OldTownHouses", "Old Town Houses", "Tall, bright houses with geraniums on every sill.", DrawOldTownHouses, 950, 310, 1095, 452, 442,
         "OldTownHouses", 180, false, "", "55"},
        {23, K::Purchase, "TownHall", "Town Hall", "The heart of Velmora, with a golden dome on top.", DrawTownHall, 645, 230, 845, 420, 408,
         "TownHall", 200, false, "", "", 6},
        {45, K::Extra, "TerraceCafe", "Terrace Cafe", "Striped sunshades and cake with a view of the river.", DrawTerraceCafe, 1140, 385, 1295, 455, 446},
        {55, K::Extra, "StreetLanterns", "Street Lanterns", "Warm lanterns light the way home along the quay.", DrawStreetLanterns, 285, 415, 1315, 480, 474},
        // Chapter 7: the station and the park.
        {25, K::Purchase, "Station", "Railway Station", "Trains, timetables and a shelf of books for the ride.", DrawStation, 1495, 335, 1700, 445, 434,
         "Station", 205},
        {26, K::Purchase, "RiversidePark", "Riverside Park", "Green lawns and shady paths where the river meets the sea.", DrawRiversidePark, 1475, 430, 1725, 548, 538,
         "RiversidePark", 300, false, "", "", 7},
        {27, K::Purchase, "Bandstand", "Bandstand", "Music on Sundays, and a bench for every listener.", DrawBandstand, 1575, 445, 1685, 550, 540,
         "Bandstand", 225, false, "", "56"},
        {28, K::Purchase, "LittleTrain", "Little Train", "Toot toot! The little train brings visitors to town.", DrawLittleTrain, 1520, 370, 1730, 449, 441,
         "LittleTrain", 215, false, "", "", 8},
        {56, K::Extra, "FlowerBeds", "Flower Beds", "Round beds of roses beside the bandstand.", DrawFlowerBeds, 1484, 535, 1602, 563, 556},
        // Chapter 8: the lighthouse and the festival.
        {29, K::Purchase, "Lighthouse", "Lighthouse", "A steady light guides every boat safely home.", DrawLighthouse, 0, 240, 140, 470, 458,
         "Lighthouse", 290, false, "", "57"},
        {30, K::Purchase, "ChurchSpire", "Church Spire", "The scaffolding comes down and the bells ring out.", DrawChurchSpire, 850, 105, 905, 235, 336.5,
         "ChurchSpire", 295, false, "1021"},
        {32, K::Purchase, "BigWheel", "Big Wheel", "Round and round over the festival, all lit up!", DrawBigWheel, 1660, 300, 1885, 555, 542,
         "BigWheel", 235, false, "", "58", 9},
        {46, K::Extra, "Carousel", "Carousel", "Painted horses go round where the crane once stood.", DrawCarousel, 1855, 430, 2000, 580, 566.5},
        {57, K::Extra, "Sailboats", "Sailboats", "White sails dance out by the lighthouse.", DrawSailboats, 140, 540, 310, 640, 622},
        {58, K::Extra, "Bunting", "Festival Bunting", "Flags from pole to pole: the festival is here!", DrawBunting, 1480, 475, 2048, 560, 548},
    };
    return c;
}

// The building queue: eight chapters of four purchases, buy buttons 0 to 3.
const int kQueue[8][4] = {{1, 2, 4, 3},     {5, 6, 9, 7},     {8, 10, 11, 12},  {13, 14, 15, 16},
                          {17, 18, 19, 20}, {21, 22, 24, 23}, {25, 26, 27, 28}, {29, 31, 30, 32}};

// The catalogue in drawing order: the ground, the scenery by id, then the
// objects back to front.
std::vector<const MapEntry*> DrawingOrder() {
    std::vector<const MapEntry*> ground, scenery, objects;
    for (const MapEntry& e : Catalogue()) {
        if (e.kind == Kind::Ground)
            ground.push_back(&e);
        else if (e.kind == Kind::Scenery)
            scenery.push_back(&e);
        else
            objects.push_back(&e);
    }
    std::stable_sort(scenery.begin(), scenery.end(), [](const MapEntry* a, const MapEntry* b) { return a->id < b->id; });
    std::stable_sort(objects.begin(), objects.end(),
                     [](const MapEntry* a, const MapEntry* b) { return a->depth < b->depth; });
    std::vector<const MapEntry*> all = ground;
    all.insert(all.end(), scenery.begin(), scenery.end());
    all.insert(all.end(), objects.begin(), objects.end());
    return all;
}

// ---- output ----

struct Cut {
    int x = 0, y = 0;       // top-left corner in map pixels
    cairo_surface_t* surface = nullptr;
};

// Copies a rectangle of a surface into a new surface.
cairo_surface_t* CopyRect(cairo_surface_t* src, int x, int y, int w, int h) {
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* c = cairo_create(out);
    cairo_set_operator(c, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(c, src, -x, -y);
    cairo_paint(c);
    cairo_destroy(c);
    return out;
}

// Draws one object over its rough area and cuts the picture to what was drawn.
Cut DrawObject(const MapEntry& e) {
    // The rough area with room to spare for shadows.
    const int m = 24;
    const int x0 = std::max(0, static_cast<int>(std::floor(e.x0)) - m);
    const int y0 = std::max(0, static_cast<int>(std::floor(e.y0)) - m);
    const int x1 = std::min(kMapW, static_cast<int>(std::ceil(e.x1)) + m);
    const int y1 = std::min(kMapH, static_cast<int>(std::ceil(e.y1)) + m);
    const int w = x1 - x0, h = y1 - y0;
    Canvas cv(w, h);
    cairo_translate(cv.cr(), -x0, -y0);
    P p{cv, cv.cr(), 1};
    e.draw(p);
    cairo_surface_t* s = cv.Surface();
    cairo_surface_flush(s);
    const std::uint8_t* d = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    int minX = w, minY = h, maxX = -1, maxY = -1;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<const std::uint32_t*>(d + y * stride);
        for (int x = 0; x < w; ++x)
            if (row[x] >> 24) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    }
    if (maxX < 0)
        throw std::runtime_error(std::string("map object ") + e.file + " draws nothing");
    // Something drawn right at an edge of the area (inside the map) was cut off.
    if ((minX == 0 && x0 > 0) || (minY == 0 && y0 > 0) || (maxX == w - 1 && x1 < kMapW) || (maxY == h - 1 && y1 < kMapH))
        throw std::runtime_error(std::string("map object ") + e.file + " reaches past its area (" +
                                 std::to_string(x0 + minX) + ", " + std::to_string(y0 + minY) + ") .. (" +
                                 std::to_string(x0 + maxX) + ", " + std::to_string(y0 + maxY) + ")");
    Cut cut;
    cut.x = x0 + minX;
    cut.y = y0 + minY;
    cut.surface = CopyRect(s, minX, minY, maxX - minX + 1, maxY - minY + 1);
    return cut;
}

void SaveSurface(Pack& pack, const std::string& rel, cairo_surface_t* s) {
    Canvas cv(cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
    cairo_set_source_surface(cv.cr(), s, 0, 0);
    cairo_paint(cv.cr());
    pack.SavePng(rel, cv);
}

void WriteTextFile(Pack& pack, const std::string& rel, const std::string& text) {
    namespace fs = std::filesystem;
    const fs::path path = fs::path(pack.OutDir()) / rel;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// A buy icon: a framed miniature of the object over a bit of sky and land (or water).
void MakeBuyIcon(Pack& pack, const std::string& rel, cairo_surface_t* picture, bool water) {
    Canvas cv(128, 96);
    cairo_t* cr = cv.cr();
    auto frame = [](cairo_t* c) { RoundedRect(c, 3, 2, 122, 90, 14); };
    cv.Shadow(frame, 0, 2, 4, WithAlpha(pal::Ink, 0.5));
    frame(cr);
    FillVertical(cr, 2, 92, Lighter(pal::Plum, 0.2), pal::PlumDeep);
    cairo_new_path(cr);
    const double ix = 9, iy = 8, iw = 110, ih = 78;
    cairo_save(cr);
    RoundedRect(cr, ix, iy, iw, ih, 9);
    cairo_clip(cr);
    cairo_rectangle(cr, ix, iy, iw, ih);
    FillVertical(cr, iy, iy + ih * 0.7, pal::Sky, pal::SkyLow);
    cairo_new_path(cr);
    cairo_rectangle(cr, ix, iy + ih * 0.68, iw, ih * 0.32);
    if (water)
        FillVertical(cr, iy + ih * 0.68, iy + ih, Mix(pal::Teal, pal::SkyLow, 0.3), Mix(pal::Azure, pal::Teal, 0.45));
    else
        FillVertical(cr, iy + ih * 0.68, iy + ih, Lighter(pal::Leaf, 0.25), Mix(pal::Leaf, pal::Sun, 0.2));
    cairo_new_path(cr);
    const double pw = cairo_image_surface_get_width(picture), ph = cairo_image_surface_get_height(picture);
    const double s = std::min({(iw - 10) / pw, (ih - 8) / ph, 2.0});
    const double dx = ix + (iw - pw * s) / 2, dy = iy + ih - 4 - ph * s;
    cairo_translate(cr, dx, dy);
    cairo_scale(cr, s, s);
    cairo_set_source_surface(cr, picture, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
    cairo_paint(cr);
    cairo_restore(cr);
    // Gold trim and a gloss in the top-left corner.
    RoundedRect(cr, ix, iy, iw, ih, 9);
    Stroke(cr, pal::Gold, 2);
    frame(cr);
    Stroke(cr, Darker(pal::Plum, 0.5), 1.5);
    cairo_save(cr);
    RoundedRect(cr, ix, iy, iw, ih, 9);
    cairo_clip(cr);
    Poly(cr, {ix, iy, ix + 46, iy, ix, iy + 30});
    FillVertical(cr, iy, iy + 30, WithAlpha(pal::White, 0.35), WithAlpha(pal::White, 0));
    cairo_new_path(cr);
    cairo_restore(cr);
    pack.SavePng(rel, cv);
}

// ---- the map screen's panels ----

void Coin(cairo_t* cr, double cx, double cy, double r) {
    Circle(cr, cx, cy, r);
    FillLit(cr, cx, cy, r, pal::GoldLight, pal::Gold, Darker(pal::Gold, 0.35));
    Stroke(cr, Darker(pal::Gold, 0.5), std::max(1.0, r * 0.1));
    Circle(cr, cx, cy, r * 0.68);
    Stroke(cr, WithAlpha(Darker(pal::Gold, 0.3), 0.8), std::max(0.8, r * 0.08));
    Star(cr, cx, cy + r * 0.04, r * 0.42, r * 0.19, 5, 0);
    Fill(cr, WithAlpha(Lighter(pal::GoldLight, 0.4), 0.95));
    Ellipse(cr, cx - r * 0.38, cy - r * 0.45, r * 0.22, r * 0.12);
    Fill(cr, WithAlpha(pal::White, 0.7));
}

void Padlock(Canvas& cv, double cx, double cy, double s) {
    cairo_t* cr = cv.cr();
    auto body = [&](cairo_t* c) { RoundedRect(c, cx - 18 * s, cy - 6 * s, 36 * s, 28 * s, 6 * s); };
    cairo_arc(cr, cx, cy - 8 * s, 11 * s, kPi, 2 * kPi);
    cairo_line_to(cr, cx + 11 * s, cy - 2 * s);
    cairo_move_to(cr, cx - 11 * s, cy - 2 * s);
    cairo_line_to(cr, cx - 11 * s, cy - 8 * s);
    Stroke(cr, Darker(pal::Stone, 0.45), 7 * s);
    cairo_arc(cr, cx, cy - 8 * s, 11 * s, kPi, 2 * kPi);
    cairo_line_to(cr, cx + 11 * s, cy - 2 * s);
    cairo_move_to(cr, cx - 11 * s, cy - 2 * s);
    cairo_line_to(cr, cx - 11 * s, cy - 8 * s);
    Stroke(cr, Lighter(pal::Stone, 0.3), 4 * s);
    cv.Shadow(body, 2, 3, 5, WithAlpha(pal::Ink, 0.55));
    body(cr);
    FillLit(cr, cx, cy + 8 * s, 24 * s, pal::GoldLight, pal::Gold, Darker(pal::Gold, 0.3));
    Stroke(cr, Darker(pal::Gold, 0.5), 2);
    Circle(cr, cx, cy + 5 * s, 4 * s);
    cairo_rectangle(cr, cx - 1.8 * s, cy + 5 * s, 3.6 * s, 9 * s);
    Fill(cr, pal::PlumDeep);
}

void MakePanels(Pack& pack, const std::string& language) {
    Fonts& fonts = pack.GetFonts();
    const std::string dir = "gfx/gui/MapScreen/";
    // The slots panel at the bottom right (design (850, 629)), reaching the
    // bottom edge; the Play button (160 x 80) sits at (42, 48) on it.
    {
        Canvas cv(214, 139);
        cairo_t* cr = cv.cr();
        const double w = 214, h = 139, in = 6, r = 28;
        auto tab = [&](cairo_t* c) {
            cairo_new_sub_path(c);
            cairo_move_to(c, in, h);
            cairo_line_to(c, in, in + r);
            cairo_arc(c, in + r, in + r, r, kPi, 1.5 * kPi);
            cairo_line_to(c, w - in - r, in);
            cairo_arc(c, w - in - r, in + r, r, 1.5 * kPi, 2 * kPi);
            cairo_line_to(c, w - in, h);
            cairo_close_path(c);
        };
        cv.Shadow(tab, 0, 0, 9, WithAlpha(pal::Ink, 0.5));
        tab(cr);
        FillVertical(cr, in, h, Lighter(pal::Plum, 0.15), pal::PlumDeep);
        SetColour(cr, pal::Gold);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        // The socket the Play button rests in.
        RoundedRect(cr, 38, 48, 168, 80, 36);
        SetColour(cr, Darker(pal::PlumDeep, 0.4));
        cairo_fill(cr);
        const Rgba gems[] = {pal::Coral, pal::Sun, pal::Teal};
        for (int i = 0; i < 3; ++i) {
            const double gx = 122 + (i - 1) * 30, gy = 26;
            auto gem = [&](cairo_t* c) { Star(c, gx, gy, 11, 5, 4, 0); };
            cv.Shadow(gem, 1, 2, 3, WithAlpha(pal::Ink, 0.5));
            gem(cr);
            FillLit(cr, gx, gy, 11, Lighter(gems[i], 0.5), gems[i], Darker(gems[i], 0.3));
            cairo_new_path(cr);
        }
        pack.SavePng(dir + "Slots.png", cv);
    }
    // Scroll arrows at the screen edges.
    for (int side = 0; side < 2; ++side) {
        Canvas cv(64, 96);
        cairo_t* cr = cv.cr();
        cairo_save(cr);
        if (side == 1) {
            cairo_translate(cr, 64, 0);
            cairo_scale(cr, -1, 1);
        }
        auto body = [](cairo_t* c) { RoundedRect(c, 6, 6, 52, 82, 18); };
        cv.Shadow(body, side ? -2 : 2, 3, 6, WithAlpha(pal::Ink, 0.5));
        body(cr);
        FillVertical(cr, 6, 88, Lighter(pal::Plum, 0.25), pal::PlumDeep);
        Stroke(cr, Darker(pal::Plum, 0.5), 1.5);
        RoundedRect(cr, 10, 10, 44, 74, 14);
        Stroke(cr, pal::Gold, 2);
        auto arrow = [](cairo_t* c) { Poly(c, {40, 26, 40, 68, 18, 47}); };
        cv.Shadow(arrow, side ? -1 : 1, 2, 3, WithAlpha(pal::Ink, 0.6));
        arrow(cr);
        FillVertical(cr, 26, 68, pal::White, pal::Cream);
        Stroke(cr, Darker(pal::Cream, 0.5), 1.2);
        RoundedRect(cr, 14, 12, 36, 14, 7);
        FillVertical(cr, 12, 26, WithAlpha(pal::White, 0.35), WithAlpha(pal::White, 0));
        cairo_new_path(cr);
        cairo_restore(cr);
        pack.SavePng(dir + (side ? "Right.png" : "Left.png"), cv);
    }
    // The progress panel at the top centre (design (250, 0)): the bar at (86, 9)
    // 330 x 22, the text over it at (100, 4).
    const double barX = 86, barY = 9, barW = 330, barH = 22;
    {
        Canvas cv(524, 50);
        cairo_t* cr = cv.cr();
        const double w = 524, h = 50, r = 20;
        auto tab = [&](cairo_t* c) {
            cairo_new_sub_path(c);
            cairo_move_to(c, 6, 0);
            cairo_line_to(c, w - 6, 0);
            cairo_line_to(c, w - 6, h - 6 - r);
            cairo_arc(c, w - 6 - r, h - 6 - r, r, 0, 0.5 * kPi);
            cairo_line_to(c, 6 + r, h - 6);
            cairo_arc(c, 6 + r, h - 6 - r, r, 0.5 * kPi, kPi);
            cairo_close_path(c);
        };
        cv.Shadow(tab, 0, 2, 6, WithAlpha(pal::Ink, 0.5));
        tab(cr);
        FillVertical(cr, 0, h - 6, Lighter(pal::Plum, 0.15), pal::PlumDeep);
        SetColour(cr, pal::Gold);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        RoundedRect(cr, barX - 3, barY - 3, barW + 6, barH + 6, (barH + 6) / 2);
        SetColour(cr, Darker(pal::PlumDeep, 0.5));
        cairo_fill_preserve(cr);
        Stroke(cr, WithAlpha(pal::GoldLight, 0.5), 1.2);
        // A little house on the left, a star on the right.
        const double hx = 44, hy = 22;
        Poly(cr, {hx - 13, hy - 1, hx, hy - 13, hx + 13, hy - 1});
        FillLine(cr, pal::Coral, 1.2);
        cairo_rectangle(cr, hx - 9, hy - 1, 18, 14);
        FillLine(cr, pal::Cream, 1.2, 0.4);
        RoundedRect(cr, hx - 3, hy + 5, 6, 8, 1.5);
        Fill(cr, pal::WoodDark);
        Star(cr, 470, 22, 14, 6.5, 5, 0);
        FillLit(cr, 470, 22, 14, pal::GoldLight, pal::Sun, Darker(pal::Gold, 0.15));
        Stroke(cr, Darker(pal::Gold, 0.45), 1.4);
        pack.SavePng(dir + "UpperPanel.png", cv);
    }
    {
        Canvas cv(static_cast<int>(barW), static_cast<int>(barH));
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 0, 0, barW, barH, barH / 2);
        FillVertical(cr, 0, barH, Darker(pal::PlumDeep, 0.45), Darker(pal::Plum, 0.2));
        cairo_new_path(cr);
        RoundedRect(cr, 0.5, 0.5, barW - 1, barH - 1, barH / 2);
        Stroke(cr, WithAlpha(pal::White, 0.2), 1);
        pack.SavePng(dir + "UpperBar.png", cv);
    }
    {
        Canvas cv(static_cast<int>(barW), static_cast<int>(barH));
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 0, 0, barW, barH, barH / 2);
        FillVertical(cr, 0, barH, Lighter(pal::Leaf, 0.3), Darker(pal::Teal, 0.15));
        cairo_new_path(cr);
        cairo_save(cr);
        RoundedRect(cr, 0, 0, barW, barH, barH / 2);
        cairo_clip(cr);
        for (double x = -barH; x < barW; x += 18)
            Poly(cr, {x, barH, x + barH, 0, x + barH + 8, 0, x + 8, barH});
        Fill(cr, WithAlpha(pal::White, 0.14));
        RoundedRect(cr, 5, 2, barW - 10, barH * 0.38, barH * 0.19);
        Fill(cr, WithAlpha(pal::White, 0.4));
        cairo_restore(cr);
        pack.SavePng(dir + "Bar.png", cv);
    }
    // The lock over an icon that cannot be bought yet.
    {
        Canvas cv(128, 96);
        Padlock(cv, 64, 44, 1.15);
        pack.SavePng("gfx/Map/UpgradeIconLock.png", cv);
    }
    // The buy window (design (171, 162)): title at (94, 81) 500 x 40, icon at
    // (86, 130), description at (235, 132) 370 x 170, price at (140, 230) with a
    // coin at (100, 236), the cash line at y 299 with a coin at (265, 301), the
    // power-up note at (116, 328) and the buttons at (150, 396) and (426, 396).
    {
        Canvas cv(682, 470);
        cairo_t* cr = cv.cr();
        DrawWindow(cv, 4, 46, 674, 418);
        // A crest over the top edge: a roof with a round window.
        auto crest = [](cairo_t* c) { Poly(c, {271, 52, 341, 6, 411, 52}); };
        cv.Shadow(crest, 0, 3, 6, WithAlpha(pal::Ink, 0.5));
        crest(cr);
        FillVertical(cr, 6, 52, Lighter(pal::Coral, 0.25), pal::Coral);
        Stroke(cr, Darker(pal::Coral, 0.5), 2);
        Poly(cr, {281, 50, 341, 12, 401, 50});
        Stroke(cr, pal::GoldLight, 1.5);
        Circle(cr, 341, 36, 9);
        FillLine(cr, Lighter(pal::Sun, 0.4), 1.5, 0.5);
        // Title plaque.
        RoundedRect(cr, 88, 76, 512, 50, 25);
        FillVertical(cr, 76, 126, Darker(pal::PlumDeep, 0.35), Darker(pal::PlumDeep, 0.15));
        Stroke(cr, WithAlpha(pal::Gold, 0.9), 2);
        // Icon socket and the price pill below it.
        RoundedRect(cr, 80, 124, 140, 108, 14);
        SetColour(cr, Darker(pal::PlumDeep, 0.45));
        cairo_fill(cr);
        RoundedRect(cr, 90, 234, 128, 34, 17);
        SetColour(cr, WithAlpha(pal::Gold, 0.22));
        cairo_fill_preserve(cr);
        Stroke(cr, WithAlpha(pal::GoldLight, 0.6), 1.2);
        // Description panel.
        RoundedRect(cr, 226, 126, 388, 162, 14);
        SetColour(cr, WithAlpha(Darker(pal::PlumDeep, 0.4), 0.55));
        cairo_fill_preserve(cr);
        Stroke(cr, WithAlpha(pal::GoldLight, 0.25), 1.2);
        // The cash line.
        RoundedRect(cr, 100, 295, 360, 32, 16);
        SetColour(cr, WithAlpha(Darker(pal::PlumDeep, 0.4), 0.55));
        cairo_fill_preserve(cr);
        Stroke(cr, WithAlpha(pal::GoldLight, 0.25), 1.2);
        // A soft divider above the buttons.
        cairo_move_to(cr, 120, 378);
        cairo_line_to(cr, 562, 378);
        Stroke(cr, WithAlpha(pal::GoldLight, 0.3), 1.2);
        pack.SavePng(dir + "shopWindow.png", cv);
    }
    {
        Canvas cv(32, 32);
        auto disc = [](cairo_t* c) { Circle(c, 15.5, 15.5, 13.5); };
        cv.Shadow(disc, 1, 1.5, 2.5, WithAlpha(pal::Ink, 0.45));
        Coin(cv.cr(), 15.5, 15.5, 13.5);
        pack.SavePng("gfx/gui/summary/coin.png", cv);
    }
    {
        static const std::map<std::string, std::string> buy = {{"English", "Buy"}};
        auto it = buy.find(language);
        const std::string label = it != buy.end() ? it->second : buy.at("English");
        const std::string local = "Local/" + language + "/gfx/BuyUpgrade/";
        Canvas on(119, 46);
        DrawButton(on, fonts, label, Darker(pal::Gold, 0.1));
        pack.SavePng(local + "BuyNormal.png", on);
        Canvas off(119, 46);
        DrawButton(off, fonts, label, Darker(pal::Stone, 0.2));
        pack.SavePng(local + "BuyUnactive.png", off);
    }
}

}  // namespace

void MakeCityMap(Pack& pack, const std::string& language) {
    const std::vector<const MapEntry*> order = DrawingOrder();

    // Pictures: the ground cut from one picture of the whole map, then every object.
    std::map<int, Cut> cuts;
    {
        Canvas whole(kMapW, kMapH);
        P p{whole, whole.cr(), 1};
        DrawGround(p);
        cairo_surface_flush(whole.Surface());
        for (const MapEntry* e : order)
            if (e->kind == Kind::Ground) {
                Cut c;
                c.x = static_cast<int>(e->x0);
                c.y = 0;
                c.surface = CopyRect(whole.Surface(), c.x, 0, static_cast<int>(e->x1 - e->x0), kMapH);
                cuts[e->id] = c;
            }
    }
    for (const MapEntry* e : order)
        if (e->kind != Kind::Ground)
            cuts[e->id] = DrawObject(*e);
    for (const MapEntry* e : order)
        SaveSurface(pack, std::string("gfx/Map/") + e->file + ".png", cuts[e->id].surface);

    // Buy icons.
    for (const MapEntry* e : order) {
        if (e->kind != Kind::Purchase)
            continue;
        const Cut& shown = cuts[e->iconOf ? e->iconOf : e->id];
        const bool water = shown.y + cairo_image_surface_get_height(shown.surface) > 590;
        MakeBuyIcon(pack, std::string("gfx/gui/MapScreen/icons/") + e->icon + ".png", shown.surface, water);
    }

    // The catalogue, and the names and descriptions it points at.
    std::string cat, names;
    int line = 1;
    for (const MapEntry* e : order) {
        const char* type = e->kind == Kind::Purchase ? "BUILDOBJECT" : e->kind == Kind::Extra ? "EXTOBJECT" : "MAPOBJECT";
        const Cut& c = cuts[e->id];
        cat += "MapObject {\n";
        cat += std::string("\tType = \"") + type + "\"\n";
        cat += "\tId = " + std::to_string(e->id) + "\n";
        if (e->kind == Kind::Purchase)
            cat += std::string("\tIcon = \"") + e->icon + "\"\n";
        if (e->removal)
            cat += "\tIsExistReversed = 1\n";
        cat += "\tName = " + std::to_string(line) + "\n";
        cat += "\tDescr = " + std::to_string(line + 1) + "\n";
        if (e->kind == Kind::Purchase)
            cat += "\tPrice = " + std::to_string(e->price) + "\n";
        cat += "\tStep = 0\n";
        if (*e->hide)
            cat += std::string("\tHideObjects = \"") + e->hide + "\"\n";
        if (*e->show)
            cat += std::string("\tShowObjects = \"") + e->show + "\"\n";
        cat += "\tWarScene = 0\n";
        if (e->background)
            cat += "\tBackgroundIndex = " + std::to_string(e->background) + "\n";
        cat += "\tObj {\n\t\tType = \"IMAGE\"\n";
        cat += "\t\tDim = " + std::to_string(c.x) + ", " + std::to_string(c.y) + "\n";
        cat += std::string("\t\tUrl = \"") + e->file + ".png\"\n\t}\n}\n";
        names += std::string(e->name) + "\n" + e->descr + "\n";
        line += 2;
    }
    WriteTextFile(pack, "Data/MapScreen/MapObjects.txt", cat);
    WriteTextFile(pack, "Local/" + language + "/Txt/MapObjects.txt", names);
    std::string queue;
    for (int ch = 0; ch < 8; ++ch) {
        queue += "Chapter" + std::to_string(ch + 1) + " = ";
        for (int s = 0; s < 4; ++s)
            queue += std::to_string(kQueue[ch][s]) + (s < 3 ? ", " : "\n");
    }
    WriteTextFile(pack, "Data/MapScreen/ObjectsBuildingQue.txt", queue);

    for (auto& [id, c] : cuts)
        cairo_surface_destroy(c.surface);

    MakePanels(pack, language);
}

}  // namespace gp
