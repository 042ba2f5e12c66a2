// FreeType fonts with a glyph cache per font and size. Glyph bitmaps are kept
// in memory and packed into atlas pages (textures) on first rasterised use.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/default_font.h"
#include "app/platform/font.h"
#include "app/platform/internal.h"

namespace platform {

using detail::L;

namespace {

constexpr int kPageSize = 512;

FT_Library FreeType()
{
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) {
            Log("FreeType cannot start");
            return FT_Library(nullptr);
        }
        return l;
    }();
    return lib;
}

struct Glyph {
    int advance = 0;
    int left = 0, top = 0; // bitmap offset from the pen position on the baseline
    int w = 0, h = 0;
    std::vector<uint8_t> coverage;
    int page = -1; // atlas page once packed
    int px = 0, py = 0;
    unsigned index = 0; // glyph index in the face (for kerning)
};

struct Page {
    SDL_Texture* texture = nullptr;
    uint64_t generation = 0;
    int shelfX = 1, shelfY = 1, shelfH = 0;
    std::vector<char32_t> glyphs;
};

} // namespace

struct FontData {
    std::vector<unsigned char> bytes; // FreeType reads the face from here
    FT_Face face = nullptr;
    int pixelSize = 16;
    bool smooth = true;
    int ascent = 0, descent = 0;
    bool kerning = false;
    std::unordered_map<char32_t, Glyph> glyphs;
    std::vector<Page> pages;

    ~FontData()
    {
        for (Page& p : pages)
            if (p.texture && p.generation == L().generation && L().renderer)
                SDL_DestroyTexture(p.texture);
        if (face)
            FT_Done_Face(face);
    }

    Glyph& Get(char32_t c)
    {
        auto it = glyphs.find(c);
        if (it != glyphs.end())
            return it->second;
        Glyph g;
        if (c >= 32 && face) {
            g.index = FT_Get_Char_Index(face, FT_ULong(c));
            FT_Int32 flags = FT_LOAD_RENDER | (smooth ? FT_LOAD_TARGET_NORMAL : (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME));
            if (FT_Load_Glyph(face, g.index, flags) == 0) {
                FT_GlyphSlot slot = face->glyph;
                g.advance = int((slot->advance.x + 32) >> 6);
                g.left = slot->bitmap_left;
                g.top = slot->bitmap_top;
                const FT_Bitmap& bm = slot->bitmap;
                g.w = int(bm.width);
                g.h = int(bm.rows);
                g.coverage.assign(size_t(g.w) * g.h, 0);
                for (int y = 0; y < g.h; ++y) {
                    const unsigned char* row = bm.buffer + y * bm.pitch;
                    for (int x = 0; x < g.w; ++x) {
                        uint8_t v;
                        if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                            v = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
                        else
                            v = row[x];
                        g.coverage[size_t(y) * g.w + x] = v;
                    }
                }
            }
        }
        return glyphs.emplace(c, std::move(g)).first->second;
    }

    int Kern(const Glyph& a, const Glyph& b) const
    {
        if (!kerning || !a.index || !b.index)
            return 0;
        FT_Vector k;
        if (FT_Get_Kerning(face, a.index, b.index, FT_KERNING_DEFAULT, &k) != 0)
            return 0;
        return int(k.x >> 6);
    }

    void Upload(Page& page, const Glyph& g)
    {
        if (g.w <= 0 || g.h <= 0)
            return;
        std::vector<uint8_t> rgba(size_t(g.w) * g.h * 4);
        for (size_t i = 0; i < g.coverage.size(); ++i) {
            rgba[i * 4 + 0] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = 255;
            rgba[i * 4 + 3] = g.coverage[i];
        }
        SDL_Rect r{g.px, g.py, g.w, g.h};
        SDL_UpdateTexture(page.texture, &r, rgba.data(), g.w * 4);
    }

    // The atlas texture of a page for the current renderer, re-made when the
    // renderer changed.
    SDL_Texture* PageTexture(int index)
    {
        Page& page = pages[size_t(index)];
        if (page.texture && page.generation == L().generation)
            return page.texture;
        std::vector<uint8_t> blank(size_t(kPageSize) * kPageSize * 4, 0);
        page.texture = detail::MakeTexture(kPageSize, kPageSize, blank.data(), smooth ? 1 : 0);
        page.generation = L().generation;
        if (!page.texture)
            return nullptr;
        for (char32_t c : page.glyphs)
            Upload(page, glyphs[c]);
        return page.texture;
    }

    // Finds the glyph a place in an atlas page; false when it cannot fit any.
    bool Pack(char32_t c, Glyph& g)
    {
        if (g.page >= 0)
            return true;
        if (g.w + 2 > kPageSize || g.h + 2 > kPageSize)
            return false;
        if (pages.empty())
            pages.emplace_back();
        Page* p = &pages.back();
        if (p->shelfX + g.w + 1 > kPageSize) {
            p->shelfX = 1;
            p->shelfY += p->shelfH + 1;
            p->shelfH = 0;
        }
        if (p->shelfY + g.h + 1 > kPageSize) {
            pages.emplace_back();
            p = &pages.back();
        }
        g.page = int(pages.size()) - 1;
        g.px = p->shelfX;
        g.py = p->shelfY;
        p->shelfX += g.w + 1;
        p->shelfH = std::max(p->shelfH, g.h);
        p->glyphs.push_back(c);
        if (p->texture && p->generation == L().generation)
            Upload(*p, g);
        return true;
    }
};

// ---- Font ----

Font::Font(std::unique_ptr<FontData> data) : data_(std::move(data)) {}
Font::~Font() = default;

int Font::PixelSize() const { return data_->pixelSize; }
bool Font::Smooth() const { return data_->smooth; }
int Font::Height() const { return data_->ascent + data_->descent; }

int Font::Width(const std::string& text) const
{
    int w = 0;
    const Glyph* prev = nullptr;
    for (char32_t c : Utf8ToU32(text)) {
        const Glyph& g = data_->Get(c);
        if (prev)
            w += data_->Kern(*prev, g);
        w += g.advance;
        prev = &g;
    }
    return w;
}

static FontPtr MakeFont(std::vector<unsigned char> bytes, int pixelSize, bool smooth, const std::string& name)
{
    FT_Library lib = FreeType();
    if (!lib || bytes.empty())
        return nullptr;
    auto data = std::make_unique<FontData>();
    data->bytes = std::move(bytes);
    if (FT_New_Memory_Face(lib, data->bytes.data(), FT_Long(data->bytes.size()), 0, &data->face) != 0) {
        data->face = nullptr;
        Log("Not a font: " + name);
        return nullptr;
    }
    pixelSize = std::clamp(pixelSize, 1, 512);
    if (FT_Set_Pixel_Sizes(data->face, 0, FT_UInt(pixelSize)) != 0) {
        Log("Font cannot be sized: " + name);
        return nullptr;
    }
    data->pixelSize = pixelSize;
    data->smooth = smooth;
    data->kerning = FT_HAS_KERNING(data->face);
    const FT_Size_Metrics& m = data->face->size->metrics;
    data->ascent = int((m.ascender + 63) >> 6);
    data->descent = int((-m.descender + 63) >> 6);
    return std::make_shared<Font>(std::move(data));
}

FontPtr LoadFont(const std::string& path, int pixelSize, bool smooth)
{
    std::vector<uint8_t> bytes;
    std::string real = ResolvePath(path);
    if (FileType(real) != 1 || !ReadBinaryFile(real, bytes)) {
        Log("Font not found: " + path);
        return nullptr;
    }
    return MakeFont(std::vector<unsigned char>(bytes.begin(), bytes.end()), pixelSize, smooth, path);
}

FontPtr LoadFontFromMemory(std::vector<unsigned char> bytes, int pixelSize, bool smooth)
{
    return MakeFont(std::move(bytes), pixelSize, smooth, "(memory)");
}

FontPtr DefaultFont()
{
    const unsigned char* bytes = detail::DefaultFontBytes();
    static FontPtr font =
        MakeFont(std::vector<unsigned char>(bytes, bytes + detail::DefaultFontSize()), 16, true, "(built-in)");
    return font;
}

namespace detail {

void LayoutText(Font& font, const std::string& text, std::vector<GlyphQuad>& out, bool wantTextures)
{
    FontData& d = *font.Data();
    int pen = 0;
    const Glyph* prev = nullptr;
    for (char32_t c : Utf8ToU32(text)) {
        Glyph& g = d.Get(c);
        if (prev)
            pen += d.Kern(*prev, g);
        if (g.w > 0 && g.h > 0 && d.Pack(c, g)) {
            GlyphQuad q;
            // Without rasterising a stand-in keeps batches the same per page.
            q.texture = wantTextures ? d.PageTexture(g.page)
                                     : reinterpret_cast<SDL_Texture*>(&d.pages[size_t(g.page)]);
            q.x = float(pen + g.left);
            q.y = float(d.ascent - g.top);
            q.w = float(g.w);
            q.h = float(g.h);
            q.u0 = float(g.px) / kPageSize;
            q.v0 = float(g.py) / kPageSize;
            q.u1 = float(g.px + g.w) / kPageSize;
            q.v1 = float(g.py + g.h) / kPageSize;
            out.push_back(q);
        }
        pen += g.advance;
        prev = &g;
    }
}

} // namespace detail
} // namespace platform
