// The drawing state and the one geometry path every drawing operation uses:
// quads are transformed on the CPU (scale, rotation, origin, projection) and
// collected into batches that share a texture, a blend mode and a clip
// rectangle; each batch is one SDL_RenderGeometry call.
#include <algorithm>
#include <cmath>

#include "app/platform/draw.h"
#include "app/platform/internal.h"

namespace platform {

using detail::L;

TextureSlot::~TextureSlot()
{
    // Textures of a renderer that no longer exists were freed with it.
    if (texture && generation == L().generation && L().renderer)
        SDL_DestroyTexture(texture);
}

// ---- Drawing state ----

void SetColor(int r, int g, int b)
{
    auto& s = L().state;
    s.r = std::clamp(r, 0, 255);
    s.g = std::clamp(g, 0, 255);
    s.b = std::clamp(b, 0, 255);
}
int ColorRed() { return L().state.r; }
int ColorGreen() { return L().state.g; }
int ColorBlue() { return L().state.b; }

void SetAlpha(float alpha)
{
    if (std::isnan(alpha))
        alpha = 0;
    L().state.alpha = std::clamp(alpha, 0.0f, 1.0f);
}
float GetAlpha() { return L().state.alpha; }

void SetBlend(int mode) { L().state.blend = mode == kBlendAdditive ? kBlendAdditive : kBlendAlpha; }
int GetBlend() { return L().state.blend; }

void SetScale(float sx, float sy)
{
    L().state.sx = sx;
    L().state.sy = sy;
}
float ScaleX() { return L().state.sx; }
float ScaleY() { return L().state.sy; }

void SetRotation(float degrees) { L().state.rotation = degrees; }
float GetRotation() { return L().state.rotation; }

void SetFont(std::shared_ptr<Font> font) { L().state.font = std::move(font); }
std::shared_ptr<Font> GetFont() { return L().state.font; }

void SetOrigin(float x, float y)
{
    L().state.originX = x;
    L().state.originY = y;
}
float OriginX() { return L().state.originX; }
float OriginY() { return L().state.originY; }

void SetViewport(float x, float y, float w, float h) { L().state.viewport = Rect{x, y, std::max(w, 0.0f), std::max(h, 0.0f)}; }
Rect GetViewport() { return L().state.viewport; }

void ResetDrawState()
{
    auto& s = L().state;
    s.r = s.g = s.b = 255;
    s.alpha = 1;
    s.blend = kBlendAlpha;
    s.sx = s.sy = 1;
    s.rotation = 0;
    s.font.reset();
}

// ---- Geometry ----

namespace detail {

Transform CurrentTransform(float x, float y)
{
    const Layer& l = L();
    const DrawState& s = l.state;
    const Projection& p = l.projection;
    Transform t;
    t.ax = (x + s.originX) * p.scaleX;
    t.ay = (y + s.originY) * p.scaleY;
    float c = 1, sn = 0;
    if (s.rotation != 0) {
        float rad = s.rotation * float(M_PI / 180.0);
        c = std::cos(rad);
        sn = std::sin(rad);
    }
    // pixels = P * R * S * local; y grows downward, so a positive angle turns clockwise.
    t.m00 = p.scaleX * c * s.sx;
    t.m01 = -p.scaleX * sn * s.sy;
    t.m10 = p.scaleY * sn * s.sx;
    t.m11 = p.scaleY * c * s.sy;
    return t;
}

static SDL_Rect ClipInPixels()
{
    const Layer& l = L();
    const Rect& v = l.state.viewport;
    const Projection& p = l.projection;
    int x0 = int(std::lround(v.x * p.scaleX));
    int y0 = int(std::lround(v.y * p.scaleY));
    int x1 = int(std::lround((v.x + v.w) * p.scaleX));
    int y1 = int(std::lround((v.y + v.h) * p.scaleY));
    return SDL_Rect{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

void FlushBatch()
{
    Layer& l = L();
    if (!l.batchOpen)
        return;
    l.batchOpen = false;
    if (l.indices.empty())
        return;
    ++l.current.batches;
    if (Rasterising()) {
        SDL_SetTextureBlendMode(l.batchTexture, l.batchBlend == kBlendAdditive ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
        SDL_RenderGeometry(l.renderer, l.batchTexture, l.vertices.data(), int(l.vertices.size()), l.indices.data(),
                           int(l.indices.size()));
    }
    l.vertices.clear();
    l.indices.clear();
}

namespace {

struct ClipVertex {
    float x, y, u, v;
};

// Clips a convex polygon against one edge of the clip rectangle
// (Sutherland-Hodgman); texture coordinates are interpolated along the edges,
// which is exact for the affine mapping of a quad.
template <typename Inside, typename Cross>
int ClipEdge(const ClipVertex* in, int n, ClipVertex* out, Inside inside, Cross cross)
{
    int m = 0;
    for (int i = 0; i < n; ++i) {
        const ClipVertex& a = in[i];
        const ClipVertex& b = in[(i + 1) % n];
        bool ia = inside(a), ib = inside(b);
        if (ia)
            out[m++] = a;
        if (ia != ib) {
            float t = cross(a, b);
            out[m++] = ClipVertex{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.u + (b.u - a.u) * t,
                                  a.v + (b.v - a.v) * t};
        }
    }
    return m;
}

} // namespace

// Clipping is done here rather than by the renderer: it keeps batches whole
// across viewport changes, and some renderers drop triangles that cross their
// clip rectangle.
void SubmitQuad(SDL_Texture* texture, const QuadCorners& q)
{
    Layer& l = L();
    const DrawState& s = l.state;
    SDL_Rect clip = ClipInPixels();
    ++l.current.quads;
    if (clip.w <= 0 || clip.h <= 0 || s.alpha <= 0)
        return;
    float minX = std::min(std::min(q.x[0], q.x[1]), std::min(q.x[2], q.x[3]));
    float maxX = std::max(std::max(q.x[0], q.x[1]), std::max(q.x[2], q.x[3]));
    float minY = std::min(std::min(q.y[0], q.y[1]), std::min(q.y[2], q.y[3]));
    float maxY = std::max(std::max(q.y[0], q.y[1]), std::max(q.y[2], q.y[3]));
    const float cx0 = float(clip.x), cy0 = float(clip.y), cx1 = float(clip.x + clip.w), cy1 = float(clip.y + clip.h);
    // Quads entirely off the clip rectangle cost nothing further.
    if (maxX <= cx0 || maxY <= cy0 || minX >= cx1 || minY >= cy1)
        return;

    ClipVertex poly[12], tmp[12];
    int n = 4;
    for (int i = 0; i < 4; ++i)
        poly[i] = ClipVertex{q.x[i], q.y[i], q.u[i], q.v[i]};
    if (minX < cx0 || maxX > cx1 || minY < cy0 || maxY > cy1) {
        n = ClipEdge(poly, n, tmp, [&](const ClipVertex& a) { return a.x >= cx0; },
                     [&](const ClipVertex& a, const ClipVertex& b) { return (cx0 - a.x) / (b.x - a.x); });
        n = ClipEdge(tmp, n, poly, [&](const ClipVertex& a) { return a.x <= cx1; },
                     [&](const ClipVertex& a, const ClipVertex& b) { return (cx1 - a.x) / (b.x - a.x); });
        n = ClipEdge(poly, n, tmp, [&](const ClipVertex& a) { return a.y >= cy0; },
                     [&](const ClipVertex& a, const ClipVertex& b) { return (cy0 - a.y) / (b.y - a.y); });
        n = ClipEdge(tmp, n, poly, [&](const ClipVertex& a) { return a.y <= cy1; },
                     [&](const ClipVertex& a, const ClipVertex& b) { return (cy1 - a.y) / (b.y - a.y); });
        if (n < 3)
            return;
    }

    if (l.batchOpen && (l.batchTexture != texture || l.batchBlend != s.blend))
        FlushBatch();
    if (!l.batchOpen) {
        l.batchOpen = true;
        l.batchTexture = texture;
        l.batchBlend = s.blend;
    }
    SDL_Color col{Uint8(s.r), Uint8(s.g), Uint8(s.b), Uint8(std::lround(s.alpha * 255.0f))};
    int base = int(l.vertices.size());
    for (int i = 0; i < n; ++i)
        l.vertices.push_back(SDL_Vertex{SDL_FPoint{poly[i].x, poly[i].y}, col, SDL_FPoint{poly[i].u, poly[i].v}});
    for (int i = 1; i + 1 < n; ++i) {
        l.indices.push_back(base);
        l.indices.push_back(base + i);
        l.indices.push_back(base + i + 1);
    }
}

static void Corners(const Transform& t, float x0, float y0, float x1, float y1, QuadCorners& q)
{
    t.Apply(x0, y0, q.x[0], q.y[0]);
    t.Apply(x1, y0, q.x[1], q.y[1]);
    t.Apply(x1, y1, q.x[2], q.y[2]);
    t.Apply(x0, y1, q.x[3], q.y[3]);
}

static void UVs(float u0, float v0, float u1, float v1, QuadCorners& q)
{
    q.u[0] = u0; q.v[0] = v0;
    q.u[1] = u1; q.v[1] = v0;
    q.u[2] = u1; q.v[2] = v1;
    q.u[3] = u0; q.v[3] = v1;
}

} // namespace detail

using detail::QuadCorners;

// Rectangles and lines are drawn with a white 1 x 1 texture, so that every
// quad takes the same path (some renderers blend plain triangles only one way).
static SDL_Texture* WhiteTexture()
{
    static SDL_Texture* texture = nullptr;
    static uint64_t generation = 0;
    static int standIn = 0;
    if (!detail::Rasterising())
        return reinterpret_cast<SDL_Texture*>(&standIn);
    if (!texture || generation != L().generation) {
        const uint8_t white[4] = {255, 255, 255, 255};
        texture = detail::MakeTexture(1, 1, white, 0);
        generation = L().generation;
    }
    return texture;
}

// ---- Drawing ----

void DrawImageRect(const std::shared_ptr<Image>& image, float x, float y, float w, float h, float sx, float sy,
                   float sw, float sh, float hx, float hy, int frame)
{
    if (!image || image->SheetWidth() <= 0 || image->SheetHeight() <= 0)
        return;
    int fx = 0, fy = 0;
    image->FrameRect(frame, fx, fy);
    SDL_Texture* tex = detail::Rasterising() ? detail::TextureOf(*image) : nullptr;
    if (detail::Rasterising() && !tex)
        return;
    float iw = float(image->SheetWidth()), ih = float(image->SheetHeight());
    QuadCorners q;
    detail::Corners(detail::CurrentTransform(x, y), -hx, -hy, w - hx, h - hy, q);
    detail::UVs((fx + sx) / iw, (fy + sy) / ih, (fx + sx + sw) / iw, (fy + sy + sh) / ih, q);
    // Without rasterising, a stand-in pointer keeps batching identical per image.
    detail::SubmitQuad(tex ? tex : reinterpret_cast<SDL_Texture*>(image->Slot()), q);
}

void DrawImage(const std::shared_ptr<Image>& image, float x, float y, int frame)
{
    if (!image)
        return;
    float w = float(image->Width()), h = float(image->Height());
    DrawImageRect(image, x, y, w, h, 0, 0, w, h, image->HandleX(), image->HandleY(), frame);
}

void DrawRect(float x, float y, float w, float h)
{
    QuadCorners q;
    detail::Corners(detail::CurrentTransform(x, y), 0, 0, w, h, q);
    detail::UVs(0, 0, 1, 1, q);
    detail::SubmitQuad(WhiteTexture(), q);
}

void DrawLine(float x1, float y1, float x2, float y2)
{
    // A one-unit-wide band that covers the pixels from the first end to the
    // second, both included: half a unit before and after the ends.
    float dx = x2 - x1, dy = y2 - y1;
    float len = std::sqrt(dx * dx + dy * dy);
    float ux = 1, uy = 0;
    if (len > 0) {
        ux = dx / len;
        uy = dy / len;
    }
    float nx = -uy, ny = ux;
    detail::Transform t = detail::CurrentTransform(x1, y1);
    // Local points relative to (x1, y1); pixel centres are at +0.5.
    float sx0 = 0.5f - ux * 0.5f - nx * 0.5f, sy0 = 0.5f - uy * 0.5f - ny * 0.5f;
    float ex = ux * (len + 1), ey = uy * (len + 1);
    QuadCorners q;
    t.Apply(sx0, sy0, q.x[0], q.y[0]);
    t.Apply(sx0 + ex, sy0 + ey, q.x[1], q.y[1]);
    t.Apply(sx0 + ex + nx, sy0 + ey + ny, q.x[2], q.y[2]);
    t.Apply(sx0 + nx, sy0 + ny, q.x[3], q.y[3]);
    detail::UVs(0, 0, 1, 1, q);
    detail::SubmitQuad(WhiteTexture(), q);
}

static Font* CurrentFont()
{
    auto& f = L().state.font;
    return f ? f.get() : DefaultFont().get();
}

void DrawText(const std::string& text, float x, float y)
{
    if (text.empty())
        return;
    static std::vector<detail::GlyphQuad> glyphs;
    glyphs.clear();
    Font* font = CurrentFont();
    if (!font)
        return;
    bool raster = detail::Rasterising();
    detail::LayoutText(*font, text, glyphs, raster);
    detail::Transform t = detail::CurrentTransform(x, y);
    for (const auto& g : glyphs) {
        if (raster && !g.texture)
            continue;
        QuadCorners q;
        detail::Corners(t, g.x, g.y, g.x + g.w, g.y + g.h, q);
        detail::UVs(g.u0, g.v0, g.u1, g.v1, q);
        detail::SubmitQuad(g.texture, q);
    }
}

int TextWidth(const std::string& text)
{
    Font* font = CurrentFont();
    return font ? font->Width(text) : 0;
}

int TextHeight()
{
    Font* font = CurrentFont();
    return font ? font->Height() : 0;
}

} // namespace platform
