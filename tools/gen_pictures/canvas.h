// Drawing helpers shared by every picture family: an RGBA canvas on a cairo image
// surface, the pack's palette, shapes, gradients, soft shadows, glows and text set
// in the pack's own fonts.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace gp {

// A colour with straight (not premultiplied) components in 0..1.
struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB to a colour.
Rgba Hex(std::uint32_t rgb, double alpha = 1.0);
// Linear mix of two colours, t = 0 gives a, t = 1 gives b.
Rgba Mix(const Rgba& a, const Rgba& b, double t);
Rgba Lighter(const Rgba& c, double t);  // toward white
Rgba Darker(const Rgba& c, double t);   // toward the ink colour
Rgba WithAlpha(const Rgba& c, double a);

// The pack palette (see docs/art-direction.md). Everything drawn picks from here.
// Small deterministic random stream: the same pictures on every machine and
// run. `salt` keeps the streams of different picture families apart.
struct Rng {
    std::uint32_t s;
    explicit Rng(std::uint32_t seed, std::uint32_t salt = 1) : s(seed * 2654435761u + salt) {}
    double Next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return (s & 0xFFFFFF) / double(0x1000000);
    }
    double Range(double a, double b) { return a + (b - a) * Next(); }
};

namespace pal {
extern const Rgba Ink;        // outlines and dark text, a deep plum
extern const Rgba Cream;      // paper, light panels
extern const Rgba White;
extern const Rgba Night;      // darkest backdrop tone (never pure black)
extern const Rgba SkyTop;
extern const Rgba Sky;
extern const Rgba SkyLow;
extern const Rgba Coral;
extern const Rgba Tangerine;
extern const Rgba Sun;
extern const Rgba Leaf;
extern const Rgba Teal;
extern const Rgba Azure;
extern const Rgba Violet;
extern const Rgba Berry;
extern const Rgba Plum;       // window bodies
extern const Rgba PlumDeep;
extern const Rgba Gold;
extern const Rgba GoldLight;
extern const Rgba Wood;
extern const Rgba WoodDark;
extern const Rgba Stone;
}  // namespace pal

// Path builders. They only add to the current path of cr.
using PathFn = std::function<void(cairo_t*)>;
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Circle(cairo_t* cr, double cx, double cy, double r);
void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotDeg);
void RegularPolygon(cairo_t* cr, double cx, double cy, double r, int sides, double rotDeg, double cornerR);
void Heart(cairo_t* cr, double cx, double cy, double size);
void Drop(cairo_t* cr, double cx, double cy, double size);
void Leaf(cairo_t* cr, double cx, double cy, double size, double rotDeg);

void SetColour(cairo_t* cr, const Rgba& c);
// Fills the current path (kept) with a vertical gradient from top colour at y0 to bottom at y1.
void FillVertical(cairo_t* cr, double y0, double y1, const Rgba& top, const Rgba& bottom);
// Fills the current path (kept) with a radial gradient lit from the top-left.
void FillLit(cairo_t* cr, double cx, double cy, double r, const Rgba& light, const Rgba& base, const Rgba& shade);

// An RGBA picture being drawn.
class Canvas {
public:
    Canvas(int w, int h);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int Width() const { return w_; }
    int Height() const { return h_; }
    cairo_t* cr() const { return cr_; }
    cairo_surface_t* Surface() const { return surface_; }

    // Soft shadow of a shape: the shape's alpha is blurred by three box passes of
    // the given radius and painted in colour, moved by (dx, dy). Drawn below
    // whatever is drawn afterwards.
    void Shadow(const PathFn& shape, double dx, double dy, double blur, const Rgba& colour);
    // A soft glow around a shape (a shadow without offset, usually light).
    void Glow(const PathFn& shape, double blur, const Rgba& colour) { Shadow(shape, 0, 0, blur, colour); }
    // Blurs the canvas's own content (all four channels).
    void BlurAll(double radius);

private:
    int w_, h_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Box-blurs an 8-bit single-channel plane in place (three passes approximate a Gaussian).
void BoxBlur(std::uint8_t* data, int w, int h, int stride, int step, int radius);

// Fonts of the pack, loaded through FreeType from the pack's own font files.
class Fonts {
public:
    explicit Fonts(std::string fontDir);
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
    // "font.ttf" is the display face, "font2.ttf" the body face.
    cairo_font_face_t* Face(const std::string& file);

private:
    std::string dir_;
    void* library_ = nullptr;  // FT_Library
    std::map<std::string, cairo_font_face_t*> faces_;
};

enum class Align { Left, Centre, Right };

struct TextStyle {
    std::string font = "font.ttf";
    double size = 24;
    Rgba fill = pal::White;
    Rgba outline = pal::Ink;
    double outlineWidth = 0;  // 0: no outline
    Rgba shadow = WithAlpha(pal::Ink, 0.45);
    double shadowOffset = 0;  // 0: no shadow
};

// Sets one line of text with its baseline centred vertically on y (the text's
// cap height is centred on y) and aligned horizontally on x.
void DrawText(Canvas& cv, Fonts& fonts, const std::string& text, double x, double y, Align align,
              const TextStyle& style);
// Width of one line of text in pixels.
double TextWidth(Canvas& cv, Fonts& fonts, const std::string& text, const TextStyle& style);

}  // namespace gp
