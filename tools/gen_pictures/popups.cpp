// Styled pop-up windows, their buttons and switches, and the level captions.
// Window sizes follow the widget positions the pop-ups use: each window is centred
// on the 1024 x 768 design area at its placement, and its buttons sit inside it.
// Pictures that carry words are written under Local/<language>/gfx/.
#include "families.h"

#include <cmath>
#include <map>

namespace gp {

namespace {

// Words set into localised pictures. Other languages add their own table; a
// missing word falls back to English.
std::string Word(const std::string& language, const std::string& key) {
    static const std::map<std::string, std::map<std::string, std::string>> words = {
        {"English",
         {{"ok", "OK"},
          {"cancel", "Cancel"},
          {"credits", "Credits"},
          {"new", "New"},
          {"delete", "Delete"},
          {"resume", "Resume"},
          {"restart", "Restart"},
          {"options", "Options"},
          {"menu", "Menu"},
          {"title.options", "Options"},
          {"title.profiles", "Players"},
          {"title.entername", "Your name"},
          {"title.ingamemenu", "Paused"},
          {"caption.go", "Go!"},
          {"caption.getready", "Get Ready"},
          {"caption.completed", "Level Complete!"},
          {"caption.nomatch", "No More Moves"},
          {"caption.timesup", "Time's Up!"}}},
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

void Button(Pack& pack, const std::string& path, int w, int h, const std::string& label, const Rgba& colour) {
    Canvas cv(w, h);
    DrawButton(cv, pack.GetFonts(), label, colour);
    pack.SavePng(path, cv);
}

// A round icon button (volume steps): a disc with a white sign.
void RoundSign(Pack& pack, const std::string& path, int w, int h, bool plus) {
    Canvas cv(w, h);
    cairo_t* cr = cv.cr();
    const double r = std::min(w, h) / 2.0 - 3, cx = w / 2.0, cy = h / 2.0 - 1;
    auto disc = [&](cairo_t* k) { Circle(k, cx, cy, r); };
    cv.Shadow(disc, 0, 2, 3, WithAlpha(pal::Ink, 0.5));
    disc(cr);
    FillLit(cr, cx, cy, r, Lighter(pal::Azure, 0.5), pal::Azure, Darker(pal::Azure, 0.3));
    SetColour(cr, Darker(pal::Azure, 0.55));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    const double a = r * 0.5, t = 2.2;
    RoundedRect(cr, cx - a, cy - t, 2 * a, 2 * t, t);
    if (plus)
        RoundedRect(cr, cx - t, cy - a, 2 * t, 2 * a, t);
    SetColour(cr, pal::White);
    cairo_fill(cr);
    pack.SavePng(path, cv);
}

// Switch box: "on" carries a check mark, "off" is an empty box.
void Switch(Pack& pack, const std::string& path, bool on) {
    Canvas cv(32, 32);
    cairo_t* cr = cv.cr();
    auto box = [](cairo_t* k) { RoundedRect(k, 3, 3, 25, 25, 6); };
    cv.Shadow(box, 0, 1.5, 3, WithAlpha(pal::Ink, 0.5));
    box(cr);
    FillVertical(cr, 3, 28, pal::Cream, Darker(pal::Cream, 0.12));
    SetColour(cr, pal::Gold);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    if (on) {
        cairo_move_to(cr, 8.5, 16);
        cairo_line_to(cr, 14, 22);
        cairo_line_to(cr, 24.5, 8.5);
        SetColour(cr, Darker(pal::Leaf, 0.25));
        cairo_set_line_width(cr, 4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
    pack.SavePng(path, cv);
}

}  // namespace

void DrawTitledWindow(Canvas& cv, Fonts& fonts, double x, double y, double w, double h, const std::string& title) {
    DrawWindow(cv, x, y, w, h);
    if (title.empty())
        return;
    TextStyle st;
    st.font = "font.ttf";
    st.size = 26;
    st.fill = pal::GoldLight;
    st.outline = pal::PlumDeep;
    st.outlineWidth = 2;
    st.shadowOffset = 2;
    DrawText(cv, fonts, title, x + w / 2, y + 34, Align::Centre, st);
}

void DrawCaption(Canvas& cv, Fonts& fonts, const std::string& text, const Rgba& top, const Rgba& bottom) {
    cairo_t* cr = cv.cr();
    TextStyle st;
    st.font = "font.ttf";
    st.size = cv.Height() * 0.55;
    double tw = TextWidth(cv, fonts, text, st);
    if (tw > cv.Width() - 40)
        st.size *= (cv.Width() - 40) / tw;
    tw = TextWidth(cv, fonts, text, st);
    const double x = (cv.Width() - tw) / 2, y = cv.Height() / 2.0;
    // Shadow and a warm glow behind, then a thick plum outline and a gradient face.
    st.outlineWidth = 6;
    st.outline = pal::PlumDeep;
    st.shadowOffset = 5;
    st.shadow = WithAlpha(pal::Ink, 0.55);
    st.fill = top;
    DrawText(cv, fonts, text, x, y, Align::Left, st);
    // Gradient face over the flat fill.
    cairo_save(cr);
    cairo_set_font_face(cr, fonts.Face(st.font));
    cairo_set_font_size(cr, st.size);
    cairo_text_extents_t cap;
    cairo_text_extents(cr, "H", &cap);
    const double baseline = y - cap.y_bearing / 2;
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, text.c_str());
    FillVertical(cr, baseline + cap.y_bearing, baseline, top, bottom);
    cairo_new_path(cr);
    // Gloss across the upper half of the letters.
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, text.c_str());
    cairo_clip(cr);
    cairo_rectangle(cr, 0, baseline + cap.y_bearing, cv.Width(), -cap.y_bearing * 0.45);
    SetColour(cr, WithAlpha(pal::White, 0.35));
    cairo_fill(cr);
    cairo_restore(cr);
}

// ---- styled pop-ups ----
void MakePopUps(Pack& pack, const std::string& language) {
    Fonts& fonts = pack.GetFonts();
    const std::string local = "Local/" + language + "/gfx/";
    auto word = [&](const char* key) { return Word(language, key); };

    // Confirmation: placed at (308, 293) with its question box at (44, 64) 326 x 60
    // and its buttons at (69, 135) and (226, 135): 414 x 200 with 119 x 46 buttons.
    {
        Canvas cv(414, 200);
        DrawWindow(cv, 4, 2, 406, 192);
        pack.SavePng("gfx/gui/YesOrNo/ConfirmWindow.png", cv);
    }
    // Light buttons glow additively under the pointer, so each needs one picture.
    Button(pack, local + "options/WindowOkButton.png", 119, 46, word("ok"), Darker(pal::Leaf, 0.05));
    Button(pack, local + "EnterName/ButtonCancel.png", 119, 46, word("cancel"), Darker(pal::Coral, 0.05));

    // Options: window at (290, 253), OK at (251, 198), credits at (85, 198); switches
    // at x 40 / 210, volume steps at x 198 and 379, bars at (244, 68) and (244, 114).
    {
        Canvas cv(444, 262);
        DrawTitledWindow(cv, fonts, 2, 0, 440, 258, word("title.options"));
        pack.SavePng(local + "options/optionsWindow.png", cv);
    }
    Button(pack, local + "options/CreditsButton.png", 119, 46, word("credits"), pal::Azure);
    Switch(pack, "gfx/gui/options/on.png", true);
    Switch(pack, "gfx/gui/options/off.png", false);
    RoundSign(pack, "gfx/gui/options/VolumeMinusButton0.png", 40, 32, false);
    RoundSign(pack, "gfx/gui/options/VolumePlusButton0.png", 40, 32, true);
    {
        Canvas cv(130, 22);
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 1, 1, 128, 20, 10);
        SetColour(cr, Darker(pal::PlumDeep, 0.5));
        cairo_fill_preserve(cr);
        SetColour(cr, WithAlpha(pal::White, 0.3));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        pack.SavePng("gfx/gui/options/Bar0.png", cv);
    }
    {
        Canvas cv(130, 22);
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 3, 3, 124, 16, 8);
        FillVertical(cr, 3, 19, pal::GoldLight, pal::Tangerine);
        cairo_new_path(cr);
        RoundedRect(cr, 6, 4, 118, 5, 2.5);
        SetColour(cr, WithAlpha(pal::White, 0.45));
        cairo_fill(cr);
        pack.SavePng("gfx/gui/options/Bar1.png", cv);
    }

    // Profiles: window at (278, 193); New at (52, 341), Delete at (161, 341), OK at
    // (281, 338); rows of 300 x 40 from (86, 76). The row highlight is drawn with its
    // handle at (36, 14) on the row's left end.
    {
        Canvas cv(468, 400);
        DrawTitledWindow(cv, fonts, 2, 0, 464, 396, word("title.profiles"));
        pack.SavePng(local + "Profiles/Window.png", cv);
    }
    Button(pack, local + "Profiles/NewButton.png", 104, 44, word("new"), pal::Azure);
    Button(pack, local + "Profiles/DeleteButton.png", 104, 44, word("delete"), Darker(pal::Coral, 0.05));
    Button(pack, local + "Profiles/NewButton0.png", 104, 44, word("new"), Darker(pal::Stone, 0.2));
    Button(pack, local + "Profiles/DeleteButton0.png", 104, 44, word("delete"), Darker(pal::Stone, 0.2));
    {
        Canvas cv(372, 54);
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 2, 2, 368, 50, 25);
        FillVertical(cr, 2, 52, WithAlpha(pal::GoldLight, 0.55), WithAlpha(pal::Gold, 0.35));
        SetColour(cr, WithAlpha(pal::GoldLight, 0.9));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        pack.SavePng("gfx/gui/Profiles/NameListSelection.png", cv);
    }

    // Name entry: window at (279, 274), OK at (92, 174), Cancel at (263, 174); the
    // name is written centred on x 234 at y 84, so a field sits there.
    {
        Canvas cv(466, 232);
        DrawTitledWindow(cv, fonts, 2, 0, 462, 228, word("title.entername"));
        cairo_t* cr = cv.cr();
        RoundedRect(cr, 44, 60, 378, 48, 12);
        SetColour(cr, Darker(pal::PlumDeep, 0.45));
        cairo_fill_preserve(cr);
        SetColour(cr, WithAlpha(pal::GoldLight, 0.6));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        pack.SavePng(local + "EnterName/AddNameWindow.png", cv);
    }

    // High scores and mode choice share the info window at (278, 193): content 280
    // wide at x 60, OK at (144, 342). The lose window at (300, 193) has the same
    // layout with buttons down to y 332.
    {
        Canvas cv(400, 400);
        DrawWindow(cv, 2, 0, 396, 396);
        pack.SavePng("gfx/gui/Scores/InfoWindow.png", cv);
    }
    {
        Canvas cv(400, 372);
        DrawWindow(cv, 2, 0, 396, 368);
        pack.SavePng("gfx/gui/Lose/Window.png", cv);
    }

    // In-game menu: window at (384, 160), four buttons at x 80, y 117 / 182 / 245 / 312.
    {
        Canvas cv(256, 400);
        DrawTitledWindow(cv, fonts, 2, 0, 252, 396, word("title.ingamemenu"));
        pack.SavePng(local + "inGameMenu/InGameMenuWindow.png", cv);
    }
    struct MenuButton {
        const char* file;
        const char* word;
        Rgba colour;
    };
    const MenuButton menu[] = {
        {"InGameResumeButton.png", "resume", Darker(pal::Leaf, 0.05)},
        {"InGameRestartButton.png", "restart", pal::Tangerine},
        {"InGameOptionsButton.png", "options", pal::Azure},
        {"InGameToMenuButton.png", "menu", pal::Violet},
    };
    for (const MenuButton& b : menu)
        Button(pack, local + "inGameMenu/" + b.file, 96, 52, word(b.word), b.colour);
}

// ---- captions ----
// Centred over the board by the level play screen; words, so localised.
void MakeCaptions(Pack& pack, const std::string& language) {
    struct Cap {
        const char* file;
        const char* key;
        int width;
        Rgba top, bottom;
    };
    const Cap caps[] = {
        {"Go.png", "caption.go", 300, pal::GoldLight, pal::Tangerine},
        {"GetReady.png", "caption.getready", 520, pal::GoldLight, pal::Tangerine},
        {"Completed.png", "caption.completed", 640, Lighter(pal::Leaf, 0.5), Darker(pal::Leaf, 0.1)},
        {"NoMatch.png", "caption.nomatch", 640, Lighter(pal::Azure, 0.55), pal::Azure},
        {"TimesUp.png", "caption.timesup", 560, Lighter(pal::Coral, 0.5), pal::Coral},
    };
    for (const Cap& c : caps) {
        Canvas cv(c.width, 120);
        DrawCaption(cv, pack.GetFonts(), Word(language, c.key), c.top, c.bottom);
        pack.SavePng("Local/" + language + "/gfx/captions/" + c.file, cv);
    }
}

}  // namespace gp
