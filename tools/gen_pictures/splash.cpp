// The start-up cards: a warm title card for Velmora and a card naming the team
// and the free libraries the game is built with. Both are 1366 x 768 so that
// they fill the widest window; the splash centres them on the design area.
#include "families.h"

#include <cmath>
#include <string>
#include <vector>

namespace gp {

namespace {

// A warm evening sky: plum at the top, coral and tangerine toward a golden
// horizon, with a soft sun glow behind the centre.
void WarmBackdrop(Canvas& cv) {
    cairo_t* cr = cv.cr();
    const double w = cv.Width(), h = cv.Height();
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h);
    const Rgba stops[] = {pal::PlumDeep, pal::Plum, Mix(pal::Coral, pal::Berry, 0.3), pal::Tangerine,
                          pal::GoldLight};
    const double at[] = {0, 0.3, 0.62, 0.85, 1};
    for (int i = 0; i < 5; ++i)
        cairo_pattern_add_color_stop_rgb(sky, at[i], stops[i].r, stops[i].g, stops[i].b);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    cairo_pattern_t* glow = cairo_pattern_create_radial(w / 2, h * 0.52, 0, w / 2, h * 0.52, h * 0.6);
    cairo_pattern_add_color_stop_rgba(glow, 0, pal::GoldLight.r, pal::GoldLight.g, pal::GoldLight.b, 0.55);
    cairo_pattern_add_color_stop_rgba(glow, 1, pal::GoldLight.r, pal::GoldLight.g, pal::GoldLight.b, 0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
}

// A low skyline of rounded roofs along the bottom edge, in deep plum.
void Skyline(Canvas& cv, unsigned seed) {
    cairo_t* cr = cv.cr();
    const double w = cv.Width(), h = cv.Height();
    unsigned s = seed;
    auto next = [&s](double lo, double hi) {
        s = s * 1103515245u + 12345u;
        return lo + (hi - lo) * ((s >> 8) & 0xFFFF) / 65535.0;
    };
    struct Block {
        double x, w, h;
    };
    std::vector<Block> blocks;
    for (double x = -20; x < w + 20;) {
        const double bw = next(60, 130), bh = next(50, 150);
        blocks.push_back({x, bw - 6, bh});
        RoundedRect(cr, x, h - bh, bw - 6, bh + 20, 10);
        x += bw;
    }
    SetColour(cr, WithAlpha(Darker(pal::PlumDeep, 0.25), 0.9));
    cairo_fill(cr);
    // Lit windows, on a grid inside each building; some left dark.
    for (const Block& b : blocks)
        for (double wy = h - b.h + 16; wy < h - 10; wy += 24)
            for (double wx = b.x + 12; wx + 8 < b.x + b.w - 10; wx += 20)
                if (next(0, 1) < 0.35)
                    RoundedRect(cr, wx, wy, 8, 11, 2);
    SetColour(cr, WithAlpha(pal::Sun, 0.8));
    cairo_fill(cr);
}

// One gem of each of the first six piece colours in an arc.
void GemArc(Canvas& cv, double cx, double cy, double radius) {
    cairo_t* cr = cv.cr();
    const Rgba gems[] = {pal::Coral, pal::Tangerine, pal::Sun, pal::Leaf, pal::Azure, pal::Violet};
    for (int i = 0; i < 6; ++i) {
        const double a = (200 + i * 28) * 3.14159265358979 / 180.0;
        const double gx = cx + radius * std::cos(a), gy = cy + radius * std::sin(a) * 0.35;
        auto gem = [&](cairo_t* c) { Star(c, gx, gy, 22, 10, 4, 0); };
        cv.Shadow(gem, 2, 3, 5, WithAlpha(pal::Ink, 0.45));
        gem(cr);
        FillLit(cr, gx, gy, 22, Lighter(gems[i], 0.55), gems[i], Darker(gems[i], 0.3));
        SetColour(cr, Darker(gems[i], 0.5));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
}

// A caption drawn on its own canvas and set onto the card at (x, y).
void PlaceCaption(Canvas& card, Fonts& fonts, const std::string& text, double x, double y, int w, int h) {
    Canvas cap(w, h);
    DrawCaption(cap, fonts, text, pal::GoldLight, pal::Tangerine);
    cairo_set_source_surface(card.cr(), cap.Surface(), x, y);
    cairo_paint(card.cr());
}

TextStyle Body(double size, const Rgba& fill) {
    TextStyle st;
    st.font = "font2.ttf";
    st.size = size;
    st.fill = fill;
    st.shadowOffset = 2;
    st.shadow = WithAlpha(pal::Ink, 0.5);
    return st;
}

}  // namespace

void MakeSplash(Pack& pack) {
    Fonts& fonts = pack.GetFonts();
    const double cx = 683;
    // Card 0: the title.
    {
        Canvas cv(1366, 768);
        WarmBackdrop(cv);
        Skyline(cv, 17);
        PlaceCaption(cv, fonts, "Velmora", cx - 380, 150, 760, 200);
        GemArc(cv, cx, 480, 260);
        TextStyle st = Body(30, pal::Cream);
        DrawText(cv, fonts, "Match, build, and light up a little city", cx, 535, Align::Centre, st);
        pack.SavePng("Splash/Splash0.png", cv);
    }
    // Card 1: who made it and with what.
    {
        Canvas cv(1366, 768);
        WarmBackdrop(cv);
        Skyline(cv, 41);
        cairo_t* cr = cv.cr();
        auto plate = [](cairo_t* c) { RoundedRect(c, 223, 150, 920, 400, 28); };
        cv.Shadow(plate, 3, 5, 10, WithAlpha(pal::Ink, 0.5));
        plate(cr);
        SetColour(cr, WithAlpha(pal::PlumDeep, 0.82));
        cairo_fill_preserve(cr);
        SetColour(cr, pal::Gold);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        TextStyle title;
        title.font = "font.ttf";
        title.size = 40;
        title.fill = pal::GoldLight;
        title.outline = pal::PlumDeep;
        title.outlineWidth = 3;
        title.shadowOffset = 3;
        DrawText(cv, fonts, "Made with care by the Velmora team", cx, 215, Align::Centre, title);
        const TextStyle head = Body(24, pal::Sun);
        const TextStyle line = Body(26, pal::Cream);
        DrawText(cv, fonts, "Built with free software", cx, 300, Align::Centre, head);
        DrawText(cv, fonts, "SDL2 \xC2\xB7 libpng \xC2\xB7 libjpeg-turbo \xC2\xB7 zlib", cx, 345, Align::Centre, line);
        DrawText(cv, fonts, "libogg \xC2\xB7 libvorbis \xC2\xB7 FreeType \xC2\xB7 cairo", cx, 385, Align::Centre, line);
        DrawText(cv, fonts, "Fonts", cx, 445, Align::Centre, head);
        DrawText(cv, fonts, "Comfortaa and DejaVu Sans", cx, 490, Align::Centre, line);
        pack.SavePng("Splash/Splash1.png", cv);
    }
}

}  // namespace gp
