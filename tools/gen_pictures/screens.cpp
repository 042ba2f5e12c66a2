// Loading screen, screen transition, styled pop-up and window icon pictures.
#include "families.h"

#include <cmath>

namespace gp {

namespace {
constexpr double kPi = 3.14159265358979323846;

double SmoothStep(double e0, double e1, double x) {
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}
}  // namespace

// ---- loading screen ----
// The backdrop fills the 1366 x 768 virtual area. The bar frame is drawn centred on
// x = 512 with its bottom on the screen's bottom edge; the bar fill is drawn at
// (341, 699) and cut to the loading progress, so the frame's trough sits exactly
// there: frame 400 x 90 spans y 678..768 and x 312..712, trough at (29, 21).
void MakeLoadingScreen(Pack& pack) {
    {
        Canvas cv(1366, 768);
        DrawLandscape(cv, 7);
        // A soft darker band at the bottom where the bar sits.
        cairo_t* cr = cv.cr();
        cairo_rectangle(cr, 0, 600, 1366, 168);
        FillVertical(cr, 600, 768, WithAlpha(pal::Ink, 0), WithAlpha(pal::Ink, 0.35));
        cairo_new_path(cr);
        pack.SaveJpeg("gfx/gui/loading/back.jpg", cv);
    }
    const double troughX = 29, troughY = 21, troughW = 342, troughH = 22;
    {
        Canvas cv(400, 90);
        cairo_t* cr = cv.cr();
        // A tab rising from the bottom edge: rounded top corners, square bottom.
        auto tab = [&](cairo_t* c) {
            cairo_new_sub_path(c);
            cairo_move_to(c, 6, 90);
            cairo_line_to(c, 6, 30);
            cairo_arc(c, 30, 30, 24, kPi, 1.5 * kPi);
            cairo_line_to(c, 370, 6);
            cairo_arc(c, 370, 30, 24, 1.5 * kPi, 2 * kPi);
            cairo_line_to(c, 394, 90);
            cairo_close_path(c);
        };
        cv.Shadow(tab, 0, 0, 8, WithAlpha(pal::Ink, 0.5));
        tab(cr);
        FillVertical(cr, 6, 90, Lighter(pal::Plum, 0.15), pal::PlumDeep);
        SetColour(cr, pal::Gold);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        // Trough the bar fills.
        RoundedRect(cr, troughX - 3, troughY - 3, troughW + 6, troughH + 6, (troughH + 6) / 2);
        SetColour(cr, Darker(pal::PlumDeep, 0.5));
        cairo_fill(cr);
        RoundedRect(cr, troughX - 3, troughY - 3, troughW + 6, troughH + 6, (troughH + 6) / 2);
        SetColour(cr, WithAlpha(pal::White, 0.25));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        // Three small gems below the bar, the pack's decoration motif.
        const Rgba gems[] = {pal::Coral, pal::Sun, pal::Teal};
        for (int i = 0; i < 3; ++i) {
            double gx = 200 + (i - 1) * 22, gy = 66;
            Star(cr, gx, gy, 7, 3.2, 4, 0);
            FillLit(cr, gx, gy, 7, Lighter(gems[i], 0.5), gems[i], Darker(gems[i], 0.3));
            cairo_new_path(cr);
        }
        pack.SavePng("gfx/gui/loading/LoadingBarBG.png", cv);
    }
    {
        Canvas cv(static_cast<int>(troughW), static_cast<int>(troughH));
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 0, 0, troughW, troughH, troughH / 2);
        FillVertical(cr, 0, troughH, pal::GoldLight, pal::Tangerine);
        cairo_new_path(cr);
        // Diagonal candy stripes, faint.
        cairo_save(cr);
        RoundedRect(cr, 0, 0, troughW, troughH, troughH / 2);
        cairo_clip(cr);
        for (double x = -troughH; x < troughW; x += 18) {
            cairo_move_to(cr, x, troughH);
            cairo_line_to(cr, x + troughH, 0);
            cairo_line_to(cr, x + troughH + 8, 0);
            cairo_line_to(cr, x + 8, troughH);
            cairo_close_path(cr);
        }
        SetColour(cr, WithAlpha(pal::White, 0.18));
        cairo_fill(cr);
        // Gloss.
        RoundedRect(cr, 4, 2, troughW - 8, troughH * 0.4, troughH * 0.2);
        SetColour(cr, WithAlpha(pal::White, 0.45));
        cairo_fill(cr);
        cairo_restore(cr);
        pack.SavePng("gfx/gui/loading/Bar.png", cv);
    }
}

// ---- transitions ----
// Both pictures are drawn centred on (512, 384) at scale 6 s (s from 0 to 1). The
// dark picture's clear disc must cover the whole visible area when fully open: the
// farthest visible corner is sqrt(683^2 + 384^2) = 784 virtual pixels away, that is
// 131 picture pixels at scale 6, so the disc is clear out to radius 140 and fades
// to dark by radius 184. The picture is 384 wide, so at scale 6 it reaches well past
// the 1366-wide area and the black fills around it stay off screen.
void MakeTransitions(Pack& pack) {
    const int size = 384;
    const double c = size / 2.0;
    {
        Canvas cv(size, size);
        cairo_surface_t* s = cv.Surface();
        cairo_surface_flush(s);
        std::uint8_t* d = cairo_image_surface_get_data(s);
        int stride = cairo_image_surface_get_stride(s);
        // Per-pixel: the dark colour is the near-black (1,1,1) that the masked loader keeps.
        for (int y = 0; y < size; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(d + y * stride);
            for (int x = 0; x < size; ++x) {
                double r = std::hypot(x + 0.5 - c, y + 0.5 - c);
                double a = SmoothStep(140, 184, r);
                auto A = static_cast<std::uint32_t>(std::lround(a * 255));
                std::uint32_t v = A == 0 ? 0 : std::max<std::uint32_t>(1, (A + 127) / 255);
                row[x] = (A << 24) | (v << 16) | (v << 8) | v;
            }
        }
        cairo_surface_mark_dirty(s);
        pack.SavePng("gfx/TransDark.png", cv);
    }
    {
        Canvas cv(size, size);
        cairo_t* cr = cv.cr();
        // Twelve petals riding on the iris rim, alternating gold and cream, with a
        // thin ring joining them. Rotated by the transition as it runs.
        auto ring = [&](cairo_t* k) {
            for (int i = 0; i < 12; ++i) {
                double a = i * 30.0;
                double px = c + 158 * std::cos(a * kPi / 180), py = c + 158 * std::sin(a * kPi / 180);
                Leaf(k, px, py, i % 2 ? 14 : 19, a + 90);
            }
        };
        cv.Glow(ring, 10, WithAlpha(pal::GoldLight, 0.6));
        Circle(cr, c, c, 158);
        SetColour(cr, WithAlpha(pal::GoldLight, 0.7));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        for (int i = 0; i < 12; ++i) {
            double a = i * 30.0;
            double px = c + 158 * std::cos(a * kPi / 180), py = c + 158 * std::sin(a * kPi / 180);
            Leaf(cr, px, py, i % 2 ? 14 : 19, a + 90);
            Rgba base = i % 2 ? pal::Cream : pal::Gold;
            FillLit(cr, px, py, 19, Lighter(base, 0.6), base, Darker(base, 0.25));
            SetColour(cr, Darker(base, 0.45));
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
        }
        pack.SavePng("gfx/TransSpin.png", cv);
    }
}

// ---- window icon ----
void MakeIcon(Pack& pack) {
    Canvas cv(64, 64);
    cairo_t* cr = cv.cr();
    auto badge = [&](cairo_t* k) { RoundedRect(k, 4, 4, 56, 56, 16); };
    cv.Shadow(badge, 0, 2, 4, WithAlpha(pal::Ink, 0.5));
    badge(cr);
    FillVertical(cr, 4, 60, Lighter(pal::Plum, 0.25), pal::PlumDeep);
    SetColour(cr, pal::Gold);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    Star(cr, 32, 33, 22, 10, 5, 0);
    FillLit(cr, 32, 33, 22, Lighter(pal::Sun, 0.7), pal::Sun, pal::Tangerine);
    SetColour(cr, Darker(pal::Tangerine, 0.5));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Circle(cr, 25, 24, 3.5);
    SetColour(cr, WithAlpha(pal::White, 0.8));
    cairo_fill(cr);
    pack.SavePng("gfx/icon.png", cv);
}

}  // namespace gp
