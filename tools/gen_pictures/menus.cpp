// Main menu: the welcome panel, the button panel and its buttons, the quit button
// with its hanging banner, the four title logo pieces, and the credits backdrop.
#include "families.h"

#include <cmath>
#include <map>

namespace gp {

namespace {
constexpr double kPi = 3.14159265358979323846;

std::string MenuWord(const std::string& language, const std::string& key) {
    static const std::map<std::string, std::map<std::string, std::string>> words = {
        {"English", {{"play", "Play"}, {"options", "Options"}, {"scores", "High Scores"}, {"title", "Velmora"}}},
    };
    for (const std::string& lang : {language, std::string("English")}) {
        auto l = words.find(lang);
        if (l != words.end() && l->second.count(key))
            return l->second.at(key);
    }
    return key;
}

// A panel rising from the bottom edge: rounded top corners, square bottom.
void BottomTab(Canvas& cv, double inset, double radius) {
    cairo_t* cr = cv.cr();
    const double w = cv.Width(), h = cv.Height();
    auto tab = [&](cairo_t* c) {
        cairo_new_sub_path(c);
        cairo_move_to(c, inset, h);
        cairo_line_to(c, inset, inset + radius);
        cairo_arc(c, inset + radius, inset + radius, radius, kPi, 1.5 * kPi);
        cairo_line_to(c, w - inset - radius, inset);
        cairo_arc(c, w - inset - radius, inset + radius, radius, 1.5 * kPi, 2 * kPi);
        cairo_line_to(c, w - inset, h);
        cairo_close_path(c);
    };
    cv.Shadow(tab, 0, 0, inset * 1.5, WithAlpha(pal::Ink, 0.5));
    tab(cr);
    FillVertical(cr, inset, h, Lighter(pal::Plum, 0.15), pal::PlumDeep);
    SetColour(cr, pal::Gold);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
}

// A curling flourish ending in a small gem; mirrored for the right side.
void Flourish(Canvas& cv, bool mirrored) {
    cairo_t* cr = cv.cr();
    const double w = cv.Width(), h = cv.Height();
    cairo_save(cr);
    if (mirrored) {
        cairo_translate(cr, w, 0);
        cairo_scale(cr, -1, 1);
    }
    // Drawn for the left side: the line grows from the left tip to the right end,
    // which touches the emblem.
    auto line = [&](cairo_t* c) {
        cairo_move_to(c, 14, h / 2);
        cairo_curve_to(c, w * 0.3, h * 0.05, w * 0.55, h * 0.95, w - 6, h / 2);
        cairo_set_line_width(c, 5);
        cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
        cairo_stroke_preserve(c);
    };
    cv.Shadow(line, 1, 2, 3, WithAlpha(pal::Ink, 0.5));
    cairo_new_path(cr);
    cairo_move_to(cr, 14, h / 2);
    cairo_curve_to(cr, w * 0.3, h * 0.05, w * 0.55, h * 0.95, w - 6, h / 2);
    SetColour(cr, pal::Gold);
    cairo_set_line_width(cr, 5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke_preserve(cr);
    SetColour(cr, pal::GoldLight);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    Star(cr, 12, h / 2, 10, 4.5, 4, 0);
    FillLit(cr, 12, h / 2, 10, Lighter(pal::Berry, 0.6), pal::Berry, Darker(pal::Berry, 0.3));
    cairo_new_path(cr);
    cairo_restore(cr);
}
}  // namespace

void MakeMainMenu(Pack& pack, const std::string& language) {
    Fonts& fonts = pack.GetFonts();
    const std::string local = "Local/" + language + "/gfx/";
    auto word = [&](const char* key) { return MenuWord(language, key); };

    // Welcome panel at (48, 657) reaching the bottom edge: the player's name at
    // (126, 36) 690 wide, options at (130, 68), high scores at (684, 68).
    {
        Canvas cv(928, 111);
        BottomTab(cv, 6, 26);
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 120, 30, 702, 34, 17);
        SetColour(cr, Darker(pal::PlumDeep, 0.4));
        cairo_fill(cr);
        pack.SavePng("gfx/gui/mainmenu/WelcomePanel.png", cv);
    }
    // Button panel at (920, 550) reaching the bottom edge, play button at (68, 112).
    {
        Canvas cv(260, 218);
        BottomTab(cv, 6, 30);
        cairo_t* cr = cv.cr();
        // Three gems over the play button.
        const Rgba gems[] = {pal::Coral, pal::Sun, pal::Teal};
        for (int i = 0; i < 3; ++i) {
            const double gx = 148 + (i - 1) * 40, gy = 62;
            auto gem = [&](cairo_t* c) { Star(c, gx, gy, 16, 7, 4, 0); };
            cv.Shadow(gem, 1, 2, 3, WithAlpha(pal::Ink, 0.5));
            gem(cr);
            FillLit(cr, gx, gy, 16, Lighter(gems[i], 0.5), gems[i], Darker(gems[i], 0.3));
            cairo_new_path(cr);
        }
        pack.SavePng("gfx/gui/mainmenu/menupanel.png", cv);
    }
    {
        Canvas cv(160, 80);
        DrawButton(cv, fonts, word("play"), Darker(pal::Leaf, 0.05));
        pack.SavePng(local + "mainmenu/playbutton.png", cv);
    }
    {
        Canvas cv(160, 36);
        DrawButton(cv, fonts, word("options"), pal::Azure);
        pack.SavePng(local + "mainmenu/OptionsButton.png", cv);
    }
    {
        Canvas cv(160, 36);
        DrawButton(cv, fonts, word("scores"), pal::Violet);
        pack.SavePng(local + "mainmenu/HighScoresButton.png", cv);
    }
    // Quit button at (1124, 14) on a banner hanging from the top at (1113, 0).
    {
        Canvas cv(82, 100);
        cairo_t* cr = cv.cr();
        auto banner = [](cairo_t* c) {
            cairo_move_to(c, 6, 0);
            cairo_line_to(c, 76, 0);
            cairo_line_to(c, 76, 92);
            cairo_line_to(c, 41, 78);
            cairo_line_to(c, 6, 92);
            cairo_close_path(c);
        };
        cv.Shadow(banner, 2, 3, 6, WithAlpha(pal::Ink, 0.5));
        banner(cr);
        FillVertical(cr, 0, 92, pal::Plum, pal::PlumDeep);
        SetColour(cr, pal::Gold);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        pack.SavePng(local + "mainmenu/Cover.png", cv);
    }
    {
        Canvas cv(56, 56);
        cairo_t* cr = cv.cr();
        auto disc = [](cairo_t* c) { Circle(c, 28, 27, 24); };
        cv.Shadow(disc, 0, 2, 4, WithAlpha(pal::Ink, 0.5));
        disc(cr);
        FillLit(cr, 28, 27, 24, Lighter(pal::Coral, 0.5), pal::Coral, Darker(pal::Coral, 0.3));
        SetColour(cr, Darker(pal::Coral, 0.55));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        // A cross of two rounded bars.
        cairo_save(cr);
        cairo_translate(cr, 28, 27);
        cairo_rotate(cr, kPi / 4);
        RoundedRect(cr, -12, -3.5, 24, 7, 3.5);
        RoundedRect(cr, -3.5, -12, 7, 24, 3.5);
        cairo_restore(cr);
        SetColour(cr, pal::White);
        cairo_fill(cr);
        pack.SavePng("gfx/gui/mainmenu/Exit.png", cv);
    }

    // Title logo: 0 the name (handle half width, half height - 6, anchored at
    // (512, 100)), 1 the emblem (centred at (512, 190)), 2 and 3 flourishes whose
    // inner ends meet the emblem (2 ends at x 460, 3 starts at x 558).
    {
        Canvas cv(560, 150);
        DrawCaption(cv, fonts, word("title"), pal::GoldLight, pal::Tangerine);
        pack.SavePng(local + "mainmenu/logo-0.png", cv);
    }
    {
        Canvas cv(96, 96);
        cairo_t* cr = cv.cr();
        auto badge = [](cairo_t* c) { RegularPolygon(c, 48, 48, 40, 6, 0, 8); };
        cv.Glow(badge, 10, WithAlpha(pal::GoldLight, 0.8));
        badge(cr);
        FillLit(cr, 48, 48, 40, Lighter(pal::Plum, 0.4), pal::Plum, pal::PlumDeep);
        SetColour(cr, pal::Gold);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        Heart(cr, 48, 47, 22);
        FillLit(cr, 48, 47, 24, Lighter(pal::Berry, 0.6), pal::Berry, Darker(pal::Berry, 0.3));
        SetColour(cr, Darker(pal::Berry, 0.5));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        pack.SavePng(local + "mainmenu/logo-1.png", cv);
    }
    for (int side = 0; side < 2; ++side) {
        Canvas cv(180, 44);
        Flourish(cv, side == 1);
        pack.SavePng(local + "mainmenu/logo-" + std::to_string(2 + side) + ".png", cv);
    }

    // Credits backdrop: the same country at dusk.
    {
        Canvas cv(1366, 768);
        DrawLandscape(cv, 11);
        cairo_t* cr = cv.cr();
        cairo_rectangle(cr, 0, 0, 1366, 768);
        cairo_pattern_t* dusk = cairo_pattern_create_linear(0, 0, 0, 768);
        cairo_pattern_add_color_stop_rgba(dusk, 0, pal::PlumDeep.r, pal::PlumDeep.g, pal::PlumDeep.b, 0.75);
        cairo_pattern_add_color_stop_rgba(dusk, 0.55, pal::Coral.r, pal::Coral.g, pal::Coral.b, 0.35);
        cairo_pattern_add_color_stop_rgba(dusk, 1, pal::Night.r, pal::Night.g, pal::Night.b, 0.6);
        cairo_set_source(cr, dusk);
        cairo_fill(cr);
        cairo_pattern_destroy(dusk);
        pack.SaveJpeg("gfx/gui/credits/back.jpg", cv);
    }
}

}  // namespace gp
