#include "families.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace gp {

namespace {

void Cloud(cairo_t* cr, double x, double y, double s) {
    Circle(cr, x, y, s * 0.55);
    Circle(cr, x + s * 0.6, y - s * 0.25, s * 0.7);
    Circle(cr, x + s * 1.3, y - s * 0.05, s * 0.55);
    RoundedRect(cr, x - s * 0.2, y - s * 0.1, s * 1.8, s * 0.65, s * 0.3);
}

// A rolling hill line across the whole width, closed along the bottom.
void Hill(cairo_t* cr, double w, double h, double base, double amp, double phase, double freq) {
    cairo_move_to(cr, 0, h);
    for (double x = 0;; x = std::min(x + 8, w)) {
        double y = base - amp * (0.6 * std::sin(x * freq + phase) + 0.4 * std::sin(x * freq * 2.3 + phase * 1.7));
        cairo_line_to(cr, x, y);
        if (x >= w)
            break;
    }
    cairo_line_to(cr, w, h);
    cairo_close_path(cr);
}

double HillY(double x, double base, double amp, double phase, double freq) {
    return base - amp * (0.6 * std::sin(x * freq + phase) + 0.4 * std::sin(x * freq * 2.3 + phase * 1.7));
}

void House(Canvas& cv, double x, double groundY, double w, double h, const Rgba& wall, const Rgba& roof) {
    cairo_t* cr = cv.cr();
    double top = groundY - h;
    cv.Shadow([&](cairo_t* c) { cairo_rectangle(c, x, top, w, h); }, 3, 2, 6, WithAlpha(pal::Ink, 0.25));
    // Wall: lit side left, shaded right third.
    cairo_rectangle(cr, x, top, w, h);
    FillVertical(cr, top, groundY, Lighter(wall, 0.15), wall);
    cairo_new_path(cr);
    cairo_rectangle(cr, x + w * 0.68, top, w * 0.32, h);
    SetColour(cr, WithAlpha(pal::Ink, 0.12));
    cairo_fill(cr);
    // Roof.
    cairo_move_to(cr, x - w * 0.12, top + 1);
    cairo_line_to(cr, x + w * 0.5, top - h * 0.55);
    cairo_line_to(cr, x + w * 1.12, top + 1);
    cairo_close_path(cr);
    FillVertical(cr, top - h * 0.55, top, Lighter(roof, 0.2), roof);
    SetColour(cr, Darker(roof, 0.35));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Windows: warm light.
    double ww = w * 0.2, wh = h * 0.22;
    for (int i = 0; i < 2; ++i) {
        RoundedRect(cr, x + w * (0.18 + 0.42 * i), top + h * 0.25, ww, wh, 2);
        SetColour(cr, Lighter(pal::Sun, 0.3));
        cairo_fill_preserve(cr);
        SetColour(cr, Darker(wall, 0.45));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    // Door.
    RoundedRect(cr, x + w * 0.4, groundY - h * 0.38, w * 0.2, h * 0.38, 3);
    SetColour(cr, pal::WoodDark);
    cairo_fill(cr);
}

void Tree(Canvas& cv, double x, double groundY, double s) {
    cairo_t* cr = cv.cr();
    cairo_rectangle(cr, x - s * 0.08, groundY - s * 0.5, s * 0.16, s * 0.5);
    SetColour(cr, pal::WoodDark);
    cairo_fill(cr);
    auto crown = [&](cairo_t* c) { Circle(c, x, groundY - s * 0.85, s * 0.45); };
    cv.Shadow(crown, 3, 3, 6, WithAlpha(pal::Ink, 0.25));
    crown(cr);
    FillLit(cr, x, groundY - s * 0.85, s * 0.45, Lighter(pal::Leaf, 0.35), pal::Leaf, Darker(pal::Leaf, 0.3));
    cairo_new_path(cr);
}

}  // namespace

void DrawWindow(Canvas& cv, double x, double y, double w, double h) {
    cairo_t* cr = cv.cr();
    const double r = 22;
    auto body = [&](cairo_t* c) { RoundedRect(c, x, y, w, h, r); };
    cv.Shadow(body, 0, 5, 10, WithAlpha(pal::Ink, 0.55));
    // Frame: plum, lit from the top.
    body(cr);
    FillVertical(cr, y, y + h, Lighter(pal::Plum, 0.18), pal::PlumDeep);
    cairo_new_path(cr);
    // Gold trim just inside the edge.
    RoundedRect(cr, x + 5, y + 5, w - 10, h - 10, r - 5);
    cairo_set_line_width(cr, 2.5);
    cairo_pattern_t* trim = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(trim, 0, pal::GoldLight.r, pal::GoldLight.g, pal::GoldLight.b, 1);
    cairo_pattern_add_color_stop_rgba(trim, 1, pal::Gold.r * 0.8, pal::Gold.g * 0.7, pal::Gold.b * 0.5, 1);
    cairo_set_source(cr, trim);
    cairo_stroke(cr);
    cairo_pattern_destroy(trim);
    // Inset panel: slightly darker, with an inner shadow along its top edge.
    double ix = x + 16, iy = y + 16, iw = w - 32, ih = h - 32;
    RoundedRect(cr, ix, iy, iw, ih, r - 10);
    FillVertical(cr, iy, iy + ih, Darker(pal::Plum, 0.25), Darker(pal::Plum, 0.1));
    cairo_save(cr);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, ix - 20, iy - 20, iw + 40, 22);
    cv.Shadow([&](cairo_t* c) { cairo_rectangle(c, ix - 20, iy - 30, iw + 40, 30); }, 0, 4, 8,
              WithAlpha(pal::Ink, 0.6));
    cairo_restore(cr);
    // Top highlight of the frame (light from the top-left).
    RoundedRect(cr, x + 2, y + 2, w - 4, h - 4, r - 2);
    cairo_pattern_t* hl = cairo_pattern_create_linear(x, y, x + w * 0.4, y + h * 0.4);
    cairo_pattern_add_color_stop_rgba(hl, 0, 1, 1, 1, 0.22);
    cairo_pattern_add_color_stop_rgba(hl, 1, 1, 1, 1, 0);
    cairo_set_source(cr, hl);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_pattern_destroy(hl);
}

void DrawButton(Canvas& cv, Fonts& fonts, const std::string& label, const Rgba& colour) {
    cairo_t* cr = cv.cr();
    const double w = cv.Width(), h = cv.Height();
    const double m = 3;  // room for the shadow
    const double bh = h - m * 2 - 2, r = bh / 2;
    auto pill = [&](cairo_t* c) { RoundedRect(c, m, m, w - 2 * m, bh, r); };
    cv.Shadow(pill, 0, 2.5, 4, WithAlpha(pal::Ink, 0.55));
    pill(cr);
    FillVertical(cr, m, m + bh, Lighter(colour, 0.25), Darker(colour, 0.2));
    SetColour(cr, Darker(colour, 0.55));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Gloss on the upper half.
    RoundedRect(cr, m + 6, m + 3, w - 2 * m - 12, bh * 0.42, bh * 0.2);
    FillVertical(cr, m + 3, m + 3 + bh * 0.42, WithAlpha(pal::White, 0.55), WithAlpha(pal::White, 0.05));
    cairo_new_path(cr);
    if (!label.empty()) {
        TextStyle st;
        st.font = "font.ttf";
        st.size = std::min(bh * 0.5, 22.0);
        // Shrink long labels (translations) to fit the pill.
        double tw = TextWidth(cv, fonts, label, st);
        if (tw > w - 2 * m - 24)
            st.size *= (w - 2 * m - 24) / tw;
        st.fill = pal::White;
        st.outline = Darker(colour, 0.6);
        st.outlineWidth = 1.6;
        st.shadowOffset = 1.5;
        DrawText(cv, fonts, label, w / 2, m + bh / 2, Align::Centre, st);
    }
}

void DrawLandscape(Canvas& cv, unsigned seed) {
    cairo_t* cr = cv.cr();
    const double w = cv.Width(), h = cv.Height();
    Rng rng(seed);
    // Sky.
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h * 0.75);
    cairo_pattern_add_color_stop_rgb(sky, 0, pal::SkyTop.r, pal::SkyTop.g, pal::SkyTop.b);
    cairo_pattern_add_color_stop_rgb(sky, 0.6, pal::Sky.r, pal::Sky.g, pal::Sky.b);
    cairo_pattern_add_color_stop_rgb(sky, 1, pal::SkyLow.r, pal::SkyLow.g, pal::SkyLow.b);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    // Sun glow, top-left (the pack's light direction).
    cairo_pattern_t* sun = cairo_pattern_create_radial(w * 0.16, h * 0.12, 0, w * 0.16, h * 0.12, h * 0.7);
    cairo_pattern_add_color_stop_rgba(sun, 0, 1, 0.97, 0.85, 0.95);
    cairo_pattern_add_color_stop_rgba(sun, 0.12, 1, 0.93, 0.7, 0.6);
    cairo_pattern_add_color_stop_rgba(sun, 1, 1, 0.9, 0.7, 0);
    cairo_set_source(cr, sun);
    cairo_paint(cr);
    cairo_pattern_destroy(sun);
    Circle(cr, w * 0.16, h * 0.12, h * 0.07);
    SetColour(cr, Hex(0xFFF8DC));
    cairo_fill(cr);
    // Clouds.
    for (int i = 0; i < 7; ++i) {
        double cx = rng.Range(0.05, 0.95) * w, cy = rng.Range(0.08, 0.38) * h, s = rng.Range(40, 90);
        auto c = [&](cairo_t* c2) { Cloud(c2, cx, cy, s); };
        cv.Shadow(c, 4, 8, 16, WithAlpha(pal::Azure, 0.25));
        c(cr);
        FillVertical(cr, cy - s, cy + s * 0.55, pal::White, Hex(0xDDEBF5));
        cairo_new_path(cr);
    }
    // Three hill layers, far (bluish) to near (rich green).
    struct Layer {
        double base, amp, phase, freq;
        Rgba top, bottom;
    };
    const Layer layers[] = {
        {h * 0.62, 40, 1.0, 0.004, Mix(pal::Leaf, pal::Sky, 0.55), Mix(pal::Teal, pal::Sky, 0.45)},
        {h * 0.72, 30, 2.6, 0.006, Mix(pal::Leaf, pal::Sky, 0.2), Mix(pal::Teal, pal::Leaf, 0.5)},
        {h * 0.86, 26, 0.3, 0.005, Lighter(pal::Leaf, 0.1), Darker(pal::Leaf, 0.25)},
    };
    for (int li = 0; li < 3; ++li) {
        const Layer& L = layers[li];
        auto hill = [&](cairo_t* c) { Hill(c, w, h, L.base, L.amp, L.phase, L.freq); };
        cv.Shadow(hill, 0, -4, 14, WithAlpha(pal::White, 0.35));
        hill(cr);
        FillVertical(cr, L.base - L.amp, h, L.top, L.bottom);
        cairo_new_path(cr);
        if (li == 1) {
            // A small town on the middle hill: houses in palette colours, trees between.
            const Rgba walls[] = {pal::Cream, Hex(0xFFE2B8), Hex(0xF9D1C9), Hex(0xE9E1F7)};
            const Rgba roofs[] = {pal::Coral, pal::Azure, pal::Tangerine, pal::Violet, pal::Teal};
            double x = w * 0.38;
            for (int k = 0; k < 9; ++k) {
                double hw = rng.Range(34, 52), hh = rng.Range(30, 46);
                double gy = HillY(x + hw / 2, L.base, L.amp, L.phase, L.freq) + 6;
                if (k % 3 == 2)
                    Tree(cv, x + hw / 2, gy, rng.Range(40, 56));
                else
                    House(cv, x, gy, hw, hh, walls[k % 4], roofs[k % 5]);
                x += hw + rng.Range(6, 22);
            }
        }
    }
    // Trees along the near hill.
    for (int i = 0; i < 6; ++i) {
        double x = rng.Range(0.02, 0.3) * w + (i >= 3 ? w * 0.68 : 0);
        Tree(cv, x, HillY(x, layers[2].base, layers[2].amp, layers[2].phase, layers[2].freq) + 10, rng.Range(50, 80));
    }
}

}  // namespace gp
