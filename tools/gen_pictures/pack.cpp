#include "pack.h"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace gp {

namespace fs = std::filesystem;

// Reads one ARGB32 (premultiplied, native-endian) pixel into straight RGBA bytes.
static void Unpremultiply(std::uint32_t px, std::uint8_t out[4]) {
    std::uint8_t a = px >> 24;
    std::uint8_t r = (px >> 16) & 255, g = (px >> 8) & 255, b = px & 255;
    if (a == 0) {
        out[0] = out[1] = out[2] = out[3] = 0;
        return;
    }
    out[0] = static_cast<std::uint8_t>(std::min(255, (r * 255 + a / 2) / a));
    out[1] = static_cast<std::uint8_t>(std::min(255, (g * 255 + a / 2) / a));
    out[2] = static_cast<std::uint8_t>(std::min(255, (b * 255 + a / 2) / a));
    out[3] = a;
}

bool WritePngFile(const std::string& path, cairo_surface_t* surface, bool guardBlack) {
    cairo_surface_flush(surface);
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    const std::uint8_t* data = cairo_image_surface_get_data(surface);

    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) {
            std::uint8_t* o = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
            Unpremultiply(row[x], o);
            if (guardBlack && o[3] != 0 && o[0] == 0 && o[1] == 0 && o[2] == 0)
                o[0] = o[1] = o[2] = 1;
        }
    }

    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y)
        png_write_row(png, &rgba[static_cast<std::size_t>(y) * w * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

bool WriteJpegFile(const std::string& path, cairo_surface_t* surface, int quality) {
    cairo_surface_flush(surface);
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    const std::uint8_t* data = cairo_image_surface_get_data(surface);

    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = w;
    cinfo.image_height = h;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.dct_method = JDCT_ISLOW;  // exact integer transform: the same bytes on every run
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        auto* src = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) {
            std::uint8_t px[4];
            Unpremultiply(src[x], px);
            // Flatten onto the night tone; backdrops are opaque anyway.
            for (int c = 0; c < 3; ++c) {
                static const int night[3] = {0x1C, 0x21, 0x40};
                row[x * 3 + c] = static_cast<std::uint8_t>((px[c] * px[3] + night[c] * (255 - px[3]) + 127) / 255);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(f) == 0;
}

Pack::Pack(std::string outDir, std::string fontDir) : outDir_(std::move(outDir)), fonts_(std::move(fontDir)) {}

Pack::~Pack() {
    for (Entry& e : entries_)
        cairo_surface_destroy(e.thumb);
}

std::string Pack::Prepare(const std::string& relPath) {
    fs::path p = fs::path(outDir_) / relPath;
    fs::create_directories(p.parent_path());
    return p.string();
}

void Pack::Remember(const std::string& name, Canvas& cv) {
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cv.Width(), cv.Height());
    cairo_t* c = cairo_create(copy);
    cairo_set_source_surface(c, cv.Surface(), 0, 0);
    cairo_paint(c);
    cairo_destroy(c);
    entries_.push_back({name, copy, cv.Width(), cv.Height()});
}

void Pack::SavePng(const std::string& relPath, Canvas& cv) {
    std::string path = Prepare(relPath);
    if (!WritePngFile(path, cv.Surface(), true)) {
        std::cerr << "gen_pictures: cannot write " << path << "\n";
        ++failures_;
    }
    Remember(relPath, cv);
}

void Pack::SaveJpeg(const std::string& relPath, Canvas& cv) {
    // Lift the darkest tones: JPEG noise must never reach (0,0,0).
    {
        cairo_surface_flush(cv.Surface());
        std::uint8_t* d = cairo_image_surface_get_data(cv.Surface());
        int stride = cairo_image_surface_get_stride(cv.Surface());
        for (int y = 0; y < cv.Height(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(d + y * stride);
            for (int x = 0; x < cv.Width(); ++x) {
                std::uint32_t px = row[x] | 0xFF000000u;  // drawn opaque; treat as opaque
                std::uint32_t out = 0xFF000000u;
                for (int shift = 0; shift < 24; shift += 8) {
                    std::uint32_t c = (px >> shift) & 255;
                    c = 16 + c * (255 - 16) / 255;
                    out |= c << shift;
                }
                row[x] = out;
            }
        }
        cairo_surface_mark_dirty(cv.Surface());
    }
    std::string path = Prepare(relPath);
    if (!WriteJpegFile(path, cv.Surface(), 88)) {
        std::cerr << "gen_pictures: cannot write " << path << "\n";
        ++failures_;
    }
    Remember(relPath, cv);
}

void Pack::SaveAtlas(const std::string& relPath, Canvas& cv, const std::vector<AtlasPiece>& pieces) {
    SavePng(relPath, cv);
    fs::path txt = fs::path(Prepare(relPath)).replace_extension(".txt");
    std::ofstream out(txt, std::ios::binary);
    out << pieces.size() << "\n";
    for (const AtlasPiece& p : pieces)
        out << p.name << "\n" << p.x << "\n" << p.y << "\n" << p.w << "\n" << p.h << "\n";
    if (!out) {
        std::cerr << "gen_pictures: cannot write " << txt.string() << "\n";
        ++failures_;
    }
}

void Pack::WritePreviews(const std::string& dir) {
    for (const Entry& e : entries_) {
        std::string name = e.name;
        for (char& ch : name)
            if (ch == '/')
                ch = '_';
        fs::create_directories(dir);
        WritePngFile((fs::path(dir) / (name + ".png")).string(), e.thumb, false);
    }
}

void Pack::WriteContactSheet(const std::string& path) {
    const int cellW = 240, cellH = 210, thumbW = 220, thumbH = 160, cols = 6;
    int rows = static_cast<int>((entries_.size() + cols - 1) / cols);
    Canvas sheet(cols * cellW, std::max(1, rows) * cellH + 40);
    cairo_t* cr = sheet.cr();
    SetColour(cr, Hex(0x3A3450));
    cairo_paint(cr);
    TextStyle title;
    title.font = "font.ttf";
    title.size = 20;
    DrawText(sheet, fonts_, "Velmora content pack: generated pictures", 12, 20, Align::Left, title);
    TextStyle label;
    label.font = "font2.ttf";
    label.size = 10;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        double cx = static_cast<double>(i % cols) * cellW, cy = 40.0 + static_cast<double>(i / cols) * cellH;
        double s = std::min({1.0, static_cast<double>(thumbW) / e.w, static_cast<double>(thumbH) / e.h});
        double tw = e.w * s, th = e.h * s;
        double tx = cx + (cellW - tw) / 2, ty = cy + 8 + (thumbH - th) / 2;
        // Checkerboard under the picture shows which parts are transparent.
        cairo_save(cr);
        cairo_rectangle(cr, tx, ty, tw, th);
        cairo_clip(cr);
        for (int yy = 0; yy * 8 < th + 8; ++yy)
            for (int xx = 0; xx * 8 < tw + 8; ++xx) {
                SetColour(cr, ((xx + yy) % 2) ? Hex(0xBBBBBB) : Hex(0xE8E8E8));
                cairo_rectangle(cr, tx + xx * 8, ty + yy * 8, 8, 8);
                cairo_fill(cr);
            }
        cairo_translate(cr, tx, ty);
        cairo_scale(cr, s, s);
        cairo_set_source_surface(cr, e.thumb, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_paint(cr);
        cairo_restore(cr);
        // The name on two lines (folder, then file and size), shrunk to the cell.
        std::string folder, file = e.name;
        if (auto slash = e.name.rfind('/'); slash != std::string::npos) {
            folder = e.name.substr(0, slash + 1);
            file = e.name.substr(slash + 1);
        }
        file += " (" + std::to_string(e.w) + "x" + std::to_string(e.h) + ")";
        double ly = cy + thumbH + 18;
        for (const std::string& line : {folder, file}) {
            TextStyle fit = label;
            double lw = TextWidth(sheet, fonts_, line, fit);
            if (lw > cellW - 8)
                fit.size *= (cellW - 8) / lw;
            DrawText(sheet, fonts_, line, cx + cellW / 2.0, ly, Align::Centre, fit);
            ly += 13;
        }
    }
    fs::path p(path);
    if (p.has_parent_path())
        fs::create_directories(p.parent_path());
    if (!WritePngFile(path, sheet.Surface(), false)) {
        std::cerr << "gen_pictures: cannot write " << path << "\n";
        ++failures_;
    }
    for (Entry& e : entries_)
        cairo_surface_destroy(e.thumb);
    entries_.clear();
}

}  // namespace gp
