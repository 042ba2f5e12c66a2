// The level summary: its result window (with the labels of the statistics
// lines set into it, so localised) and the star it awards.
//
// The window sits at (309, 162) when centred: the statistics lines start at x 70
// with their rows 52 high from y 196, 236, 278 and 320, the values 204 further
// right; the stars land centred at (139, 140), (206, 131) and (272, 140); the OK
// button sits at (150, 398), 119 x 46.
#include "families.h"

#include <map>

namespace gp {

namespace {

std::string SummaryWord(const std::string& language, const std::string& key) {
    static const std::map<std::string, std::map<std::string, std::string>> words = {
        {"English",
         {{"title", "Level Complete!"}, {"time", "Time"}, {"score", "Score"}, {"coins", "Coins"}, {"total", "Total"}}},
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

// A five-point star lit from the top-left, filling `size` around (cx, cy),
// turned by `tilt` degrees.
void DrawStar(Canvas& cv, double cx, double cy, double size, bool lit, double tilt = 0) {
    cairo_t* cr = cv.cr();
    const double outer = size / 2, inner = outer * 0.48;
    auto shape = [&](cairo_t* c) { Star(c, cx, cy, outer, inner, 5, tilt); };
    if (lit) {
        cv.Shadow(shape, 2, 3, 4, WithAlpha(pal::Ink, 0.45));
        shape(cr);
        FillLit(cr, cx, cy, outer, pal::GoldLight, pal::Sun, Darker(pal::Gold, 0.15));
        SetColour(cr, Darker(pal::Gold, 0.45));
        cairo_set_line_width(cr, 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
        // Gloss up and left of the centre.
        cairo_save(cr);
        cairo_translate(cr, cx - outer * 0.2, cy - outer * 0.25);
        cairo_scale(cr, outer * 0.28, outer * 0.16);
        Circle(cr, 0, 0, 1);
        cairo_restore(cr);
        SetColour(cr, WithAlpha(pal::White, 0.65));
        cairo_fill(cr);
    } else {
        // An empty socket the awarded star lands in.
        shape(cr);
        SetColour(cr, Darker(pal::PlumDeep, 0.35));
        cairo_fill_preserve(cr);
        SetColour(cr, WithAlpha(pal::GoldLight, 0.35));
        cairo_set_line_width(cr, 1.5);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
}

}  // namespace

void MakeSummary(Pack& pack, const std::string& language) {
    Fonts& fonts = pack.GetFonts();
    auto word = [&](const char* key) { return SummaryWord(language, key); };

    {
        Canvas cv(72, 72);
        DrawStar(cv, 35, 36, 64, true);
        pack.SavePng("gfx/effects/Star.png", cv);
    }

    Canvas cv(412, 466);
    DrawTitledWindow(cv, fonts, 2, 0, 408, 460, word("title"));
    cairo_t* cr = cv.cr();
    // Star sockets under the places the stars land, with the stars' final tilts.
    DrawStar(cv, 139, 140, 60, false, -15);
    DrawStar(cv, 206, 131, 60, false, 0);
    DrawStar(cv, 272, 140, 60, false, 15);
    // One soft bar per statistics line; the total line in gold.
    struct Row {
        const char* key;
        double top;
        bool total;
    };
    const Row rows[] = {{"time", 196, false}, {"score", 236, false}, {"coins", 278, false}, {"total", 320, true}};
    for (const Row& r : rows) {
        const double cy = r.top + 26;
        RoundedRect(cr, 52, cy - 18, 308, 36, 18);
        SetColour(cr, r.total ? WithAlpha(pal::Gold, 0.22) : WithAlpha(Darker(pal::PlumDeep, 0.4), 0.55));
        cairo_fill_preserve(cr);
        SetColour(cr, WithAlpha(pal::GoldLight, r.total ? 0.6 : 0.25));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        TextStyle st;
        st.font = "font2.ttf";
        st.size = r.total ? 24 : 21;
        st.fill = r.total ? pal::GoldLight : pal::Cream;
        st.shadowOffset = 1.5;
        DrawText(cv, fonts, word(r.key), 70, cy, Align::Left, st);
    }
    pack.SavePng("Local/" + language + "/gfx/Summary/StageResultWindow.png", cv);
}

}  // namespace gp
