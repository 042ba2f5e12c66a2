#include "canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace gp {

Rgba Hex(std::uint32_t rgb, double alpha) {
    return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, alpha};
}

Rgba Mix(const Rgba& a, const Rgba& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba Lighter(const Rgba& c, double t) { return WithAlpha(Mix(c, pal::White, t), c.a); }
Rgba Darker(const Rgba& c, double t) { return WithAlpha(Mix(c, pal::Ink, t), c.a); }
Rgba WithAlpha(const Rgba& c, double a) { return {c.r, c.g, c.b, a}; }

namespace pal {
const Rgba Ink = Hex(0x2B2540);
const Rgba Cream = Hex(0xFFF6E3);
const Rgba White = Hex(0xFFFFFF);
const Rgba Night = Hex(0x1C2140);
const Rgba SkyTop = Hex(0x5FB4E8);
const Rgba Sky = Hex(0x8FD3F4);
const Rgba SkyLow = Hex(0xE4F4F1);
const Rgba Coral = Hex(0xEE5A52);
const Rgba Tangerine = Hex(0xFF9F43);
const Rgba Sun = Hex(0xFFD23F);
const Rgba Leaf = Hex(0x7BC950);
const Rgba Teal = Hex(0x2FB6A6);
const Rgba Azure = Hex(0x3D8BDB);
const Rgba Violet = Hex(0x8E6CDB);
const Rgba Berry = Hex(0xE85D9A);
const Rgba Plum = Hex(0x5B4A8A);
const Rgba PlumDeep = Hex(0x3E3264);
const Rgba Gold = Hex(0xF5B82E);
const Rgba GoldLight = Hex(0xFFE38A);
const Rgba Wood = Hex(0xB9784A);
const Rgba WoodDark = Hex(0x7A4A2E);
const Rgba Stone = Hex(0xC9C3D6);
}  // namespace pal

static constexpr double kPi = 3.14159265358979323846;
static double Rad(double deg) { return deg * kPi / 180.0; }

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, Rad(-90), Rad(0));
    cairo_arc(cr, x + w - r, y + h - r, r, Rad(0), Rad(90));
    cairo_arc(cr, x + r, y + h - r, r, Rad(90), Rad(180));
    cairo_arc(cr, x + r, y + r, r, Rad(180), Rad(270));
    cairo_close_path(cr);
}

void Circle(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_close_path(cr);
}

void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotDeg) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        double r = (i % 2 == 0) ? outer : inner;
        double a = Rad(rotDeg - 90 + i * 180.0 / points);
        double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

void RegularPolygon(cairo_t* cr, double cx, double cy, double r, int sides, double rotDeg, double cornerR) {
    // Corners are rounded by arcs tangent to both edges.
    std::vector<std::pair<double, double>> pts;
    for (int i = 0; i < sides; ++i) {
        double a = Rad(rotDeg - 90 + i * 360.0 / sides);
        pts.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_new_sub_path(cr);
    for (int i = 0; i < sides; ++i) {
        auto [x0, y0] = pts[(i + sides - 1) % sides];
        auto [x1, y1] = pts[i];
        auto [x2, y2] = pts[(i + 1) % sides];
        double ax = x0 - x1, ay = y0 - y1, bx = x2 - x1, by = y2 - y1;
        double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
        ax /= la;
        ay /= la;
        bx /= lb;
        by /= lb;
        double half = std::acos(std::clamp(ax * bx + ay * by, -1.0, 1.0)) / 2;
        double d = cornerR / std::tan(half);
        double px = x1 + ax * d, py = y1 + ay * d;
        double qx = x1 + bx * d, qy = y1 + by * d;
        if (i == 0)
            cairo_move_to(cr, px, py);
        else
            cairo_line_to(cr, px, py);
        cairo_curve_to(cr, x1 + ax * d * 0.45, y1 + ay * d * 0.45, x1 + bx * d * 0.45, y1 + by * d * 0.45, qx, qy);
    }
    cairo_close_path(cr);
}

void Heart(cairo_t* cr, double cx, double cy, double s) {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy + s * 0.95);
    cairo_curve_to(cr, cx - s * 0.35, cy + s * 0.62, cx - s * 1.0, cy + s * 0.2, cx - s * 0.95, cy - s * 0.3);
    cairo_curve_to(cr, cx - s * 0.9, cy - s * 0.85, cx - s * 0.2, cy - s * 0.95, cx, cy - s * 0.45);
    cairo_curve_to(cr, cx + s * 0.2, cy - s * 0.95, cx + s * 0.9, cy - s * 0.85, cx + s * 0.95, cy - s * 0.3);
    cairo_curve_to(cr, cx + s * 1.0, cy + s * 0.2, cx + s * 0.35, cy + s * 0.62, cx, cy + s * 0.95);
    cairo_close_path(cr);
}

void Drop(cairo_t* cr, double cx, double cy, double s) {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy - s);
    cairo_curve_to(cr, cx + s * 0.3, cy - s * 0.55, cx + s * 0.78, cy - s * 0.05, cx + s * 0.78, cy + s * 0.3);
    cairo_curve_to(cr, cx + s * 0.78, cy + s * 0.78, cx + s * 0.4, cy + s * 1.0, cx, cy + s * 1.0);
    cairo_curve_to(cr, cx - s * 0.4, cy + s * 1.0, cx - s * 0.78, cy + s * 0.78, cx - s * 0.78, cy + s * 0.3);
    cairo_curve_to(cr, cx - s * 0.78, cy - s * 0.05, cx - s * 0.3, cy - s * 0.55, cx, cy - s);
    cairo_close_path(cr);
}

void Leaf(cairo_t* cr, double cx, double cy, double s, double rotDeg) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, Rad(rotDeg));
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 0, -s);
    cairo_curve_to(cr, s * 0.85, -s * 0.55, s * 0.85, s * 0.55, 0, s);
    cairo_curve_to(cr, -s * 0.85, s * 0.55, -s * 0.85, -s * 0.55, 0, -s);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void SetColour(cairo_t* cr, const Rgba& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void FillVertical(cairo_t* cr, double y0, double y1, const Rgba& top, const Rgba& bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
}

void FillLit(cairo_t* cr, double cx, double cy, double r, const Rgba& light, const Rgba& base, const Rgba& shade) {
    // The light source sits up and to the left; the far edge falls into shade.
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.05, cx, cy, r * 1.05);
    cairo_pattern_add_color_stop_rgba(p, 0, light.r, light.g, light.b, light.a);
    cairo_pattern_add_color_stop_rgba(p, 0.55, base.r, base.g, base.b, base.a);
    cairo_pattern_add_color_stop_rgba(p, 1, shade.r, shade.g, shade.b, shade.a);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
}

Canvas::Canvas(int w, int h) : w_(w), h_(h) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cr_ = cairo_create(surface_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_BEST);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void BoxBlur(std::uint8_t* data, int w, int h, int stride, int step, int radius) {
    if (radius <= 0 || w <= 0 || h <= 0)
        return;
    std::vector<int> line(std::max(w, h));
    for (int pass = 0; pass < 3; ++pass) {
        // Horizontal then vertical running sums; edges are clamped.
        for (int y = 0; y < h; ++y) {
            std::uint8_t* row = data + y * stride;
            for (int x = 0; x < w; ++x)
                line[x] = row[x * step];
            int sum = 0;
            for (int k = -radius; k <= radius; ++k)
                sum += line[std::clamp(k, 0, w - 1)];
            for (int x = 0; x < w; ++x) {
                row[x * step] = static_cast<std::uint8_t>((sum + radius) / (2 * radius + 1));
                sum += line[std::min(x + radius + 1, w - 1)] - line[std::max(x - radius, 0)];
            }
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y)
                line[y] = data[y * stride + x * step];
            int sum = 0;
            for (int k = -radius; k <= radius; ++k)
                sum += line[std::clamp(k, 0, h - 1)];
            for (int y = 0; y < h; ++y) {
                data[y * stride + x * step] = static_cast<std::uint8_t>((sum + radius) / (2 * radius + 1));
                sum += line[std::min(y + radius + 1, h - 1)] - line[std::max(y - radius, 0)];
            }
        }
    }
}

void Canvas::Shadow(const PathFn& shape, double dx, double dy, double blur, const Rgba& colour) {
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w_, h_);
    cairo_t* m = cairo_create(mask);
    cairo_translate(m, dx, dy);
    shape(m);
    cairo_set_source_rgba(m, 0, 0, 0, 1);
    cairo_fill(m);
    cairo_destroy(m);
    cairo_surface_flush(mask);
    BoxBlur(cairo_image_surface_get_data(mask), w_, h_, cairo_image_surface_get_stride(mask), 1,
            static_cast<int>(std::lround(blur / 2)));
    cairo_surface_mark_dirty(mask);
    cairo_save(cr_);
    cairo_new_path(cr_);
    SetColour(cr_, colour);
    cairo_mask_surface(cr_, mask, 0, 0);
    cairo_restore(cr_);
    cairo_surface_destroy(mask);
}

void Canvas::BlurAll(double radius) {
    cairo_surface_flush(surface_);
    std::uint8_t* d = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    int r = static_cast<int>(std::lround(radius / 2));
    for (int c = 0; c < 4; ++c)
        BoxBlur(d + c, w_, h_, stride, 4, r);
    cairo_surface_mark_dirty(surface_);
}

Fonts::Fonts(std::string fontDir) : dir_(std::move(fontDir)) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0)
        throw std::runtime_error("FreeType could not start");
    library_ = lib;
}

Fonts::~Fonts() {
    for (auto& [name, face] : faces_)
        cairo_font_face_destroy(face);
    faces_.clear();
    FT_Done_FreeType(static_cast<FT_Library>(library_));
}

static const cairo_user_data_key_t kFtFaceKey{};

cairo_font_face_t* Fonts::Face(const std::string& file) {
    auto it = faces_.find(file);
    if (it != faces_.end())
        return it->second;
    std::string path = dir_ + "/" + file;
    FT_Face ft = nullptr;
    if (FT_New_Face(static_cast<FT_Library>(library_), path.c_str(), 0, &ft) != 0)
        throw std::runtime_error("cannot open font " + path);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(ft, 0);
    // The FreeType face lives exactly as long as the cairo face that uses it.
    cairo_font_face_set_user_data(face, &kFtFaceKey, ft, [](void* p) { FT_Done_Face(static_cast<FT_Face>(p)); });
    faces_[file] = face;
    return face;
}

static void PrepareFont(cairo_t* cr, Fonts& fonts, const TextStyle& style) {
    cairo_set_font_face(cr, fonts.Face(style.font));
    cairo_set_font_size(cr, style.size);
    cairo_font_options_t* opt = cairo_font_options_create();
    cairo_font_options_set_antialias(opt, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, opt);
    cairo_font_options_destroy(opt);
}

double TextWidth(Canvas& cv, Fonts& fonts, const std::string& text, const TextStyle& style) {
    cairo_t* cr = cv.cr();
    cairo_save(cr);
    PrepareFont(cr, fonts, style);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_restore(cr);
    return ext.x_advance;
}

void DrawText(Canvas& cv, Fonts& fonts, const std::string& text, double x, double y, Align align,
              const TextStyle& style) {
    cairo_t* cr = cv.cr();
    cairo_save(cr);
    PrepareFont(cr, fonts, style);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_text_extents_t cap;
    cairo_text_extents(cr, "H", &cap);
    double bx = x - (align == Align::Centre ? ext.x_advance / 2 : align == Align::Right ? ext.x_advance : 0);
    double by = y - cap.y_bearing / 2;  // y_bearing is negative: centre the cap height on y
    auto path = [&](cairo_t* c) {
        PrepareFont(c, fonts, style);
        cairo_move_to(c, bx, by);
        cairo_text_path(c, text.c_str());
        if (style.outlineWidth > 0) {
            cairo_set_line_width(c, style.outlineWidth * 2);
            cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke_preserve(c);
        }
    };
    if (style.shadowOffset > 0)
        cv.Shadow(path, style.shadowOffset * 0.5, style.shadowOffset, style.shadowOffset * 1.2, style.shadow);
    cairo_new_path(cr);
    cairo_move_to(cr, bx, by);
    cairo_text_path(cr, text.c_str());
    if (style.outlineWidth > 0) {
        SetColour(cr, style.outline);
        cairo_set_line_width(cr, style.outlineWidth * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    SetColour(cr, style.fill);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace gp
