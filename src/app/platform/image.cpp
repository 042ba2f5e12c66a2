// Image decoding (libpng, libjpeg), PNG writing and image textures.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/image.h"
#include "app/platform/internal.h"

namespace platform {

using detail::L;

// ---- Image ----

Image::Image(int sheetWidth, int sheetHeight, std::vector<uint8_t> rgba, int flags)
    : sheetW_(sheetWidth), sheetH_(sheetHeight), width_(sheetWidth), height_(sheetHeight),
      flags_(flags < 0 ? 3 : flags), rgba_(std::move(rgba)), slot_(std::make_unique<TextureSlot>())
{
}

Image::~Image() = default;

bool Image::SetFrames(int cellW, int cellH, int first, int count)
{
    if (cellW <= 0 || cellH <= 0 || cellW > sheetW_ || cellH > sheetH_ || first < 0 || count <= 0)
        return false;
    int perRow = sheetW_ / cellW;
    int rows = sheetH_ / cellH;
    if (first + count > perRow * rows)
        return false;
    width_ = cellW;
    height_ = cellH;
    firstCell_ = first;
    frameCount_ = count;
    cellsPerRow_ = perRow;
    return true;
}

void Image::FrameRect(int frame, int& sx, int& sy) const
{
    if (frame < 0 || frame >= frameCount_)
        frame = 0;
    int cell = firstCell_ + frame;
    sx = (cell % cellsPerRow_) * width_;
    sy = (cell / cellsPerRow_) * height_;
}

// ---- Decoding ----

namespace {

// Pictures are refused beyond this size rather than allocating without bound
// on a damaged or hostile header (the largest real content is far smaller).
constexpr uint64_t kMaxSide = 16384;
constexpr uint64_t kMaxPixels = 40u * 1024 * 1024;

bool SizeAllowed(uint64_t w, uint64_t h)
{
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && w * h <= kMaxPixels;
}

struct PngReadState {
    const std::vector<uint8_t>* bytes;
    size_t pos;
};

void PngRead(png_structp png, png_bytep out, png_size_t n)
{
    auto* st = static_cast<PngReadState*>(png_get_io_ptr(png));
    if (st->pos + n > st->bytes->size())
        png_error(png, "truncated");
    std::memcpy(out, st->bytes->data() + st->pos, n);
    st->pos += n;
}

void PngWarning(png_structp, png_const_charp) {}

void PngError(png_structp png, png_const_charp)
{
    longjmp(png_jmpbuf(png), 1);
}

struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};

void JpegExit(j_common_ptr info)
{
    longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void JpegMessage(j_common_ptr) {}

} // namespace

bool DecodePng(const std::vector<uint8_t>& bytes, int& width, int& height, std::vector<uint8_t>& rgba)
{
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    // Volatile: survives the longjmp of an error.
    std::vector<png_bytep>* volatile rows = new std::vector<png_bytep>();
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        delete rows;
        return false;
    }
    PngReadState st{&bytes, 0};
    png_set_read_fn(png, &st, PngRead);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (!SizeAllowed(w, h))
        png_error(png, "size");
    int colorType = png_get_color_type(png, info);
    int depth = png_get_bit_depth(png, info);
    if (depth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(w) * 4)
        png_error(png, "format");
    rgba.assign(size_t(w) * h * 4, 0);
    rows->resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        (*rows)[y] = rgba.data() + size_t(y) * w * 4;
    png_read_image(png, rows->data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    delete rows;
    width = int(w);
    height = int(h);
    return true;
}

bool DecodeJpeg(const std::vector<uint8_t>& bytes, int& width, int& height, std::vector<uint8_t>& rgba)
{
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return false;
    jpeg_decompress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegExit;
    err.mgr.output_message = JpegMessage;
    std::vector<uint8_t>* volatile line = new std::vector<uint8_t>();
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        delete line;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (!SizeAllowed(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        delete line;
        return false;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    unsigned w = cinfo.output_width, h = cinfo.output_height;
    if (!SizeAllowed(w, h) || cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        delete line;
        return false;
    }
    rgba.assign(size_t(w) * h * 4, 255);
    line->resize(size_t(w) * 3);
    while (cinfo.output_scanline < h) {
        JSAMPROW row = line->data();
        unsigned y = cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            break;
        uint8_t* dst = rgba.data() + size_t(y) * w * 4;
        for (unsigned x = 0; x < w; ++x) {
            dst[x * 4 + 0] = (*line)[x * 3 + 0];
            dst[x * 4 + 1] = (*line)[x * 3 + 1];
            dst[x * 4 + 2] = (*line)[x * 3 + 2];
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    delete line;
    width = int(w);
    height = int(h);
    return true;
}

bool DecodeImageFile(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgba)
{
    std::vector<uint8_t> bytes;
    if (!ReadBinaryFile(ResolvePath(path), bytes))
        return false;
    // Decide by content rather than by name: some pictures carry the wrong extension.
    if (DecodePng(bytes, width, height, rgba))
        return true;
    return DecodeJpeg(bytes, width, height, rgba);
}

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba)
{
    if (width <= 0 || height <= 0 || rgba.size() < size_t(width) * height * 4)
        return false;
    std::string tmp = path + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        Log("Cannot write " + path);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        std::remove(tmp.c_str());
        Log("Cannot write " + path);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(rgba.data() + size_t(y) * width * 4));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    bool ok = std::fclose(f) == 0;
    if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        Log("Cannot write " + path);
        return false;
    }
    return true;
}

// ---- Loading ----

static void ApplyMask(std::vector<uint8_t>& rgba)
{
    for (size_t i = 0; i + 3 < rgba.size(); i += 4)
        if (rgba[i] == 0 && rgba[i + 1] == 0 && rgba[i + 2] == 0)
            rgba[i + 3] = 0;
}

ImagePtr CreateImage(int width, int height, std::vector<uint8_t> rgba, int flags)
{
    if (width <= 0 || height <= 0 || rgba.size() != size_t(width) * height * 4)
        return nullptr;
    if (flags < 0)
        flags = 3;
    if (flags & kImageMasked)
        ApplyMask(rgba);
    auto image = std::make_shared<Image>(width, height, std::move(rgba), flags);
    // With a window the texture is made now, so that the first drawing does
    // not stall and the decoded pixels are released at once. Headless runs
    // make it when a frame is first rasterised.
    if (L().renderer && L().rasterAlways && !L().headless)
        detail::TextureOf(*image);
    return image;
}

ImagePtr LoadImage(const std::string& path, int flags)
{
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    std::string real = ResolvePath(path);
    if (FileType(real) != 1) {
        Log("Image not found: " + path);
        return nullptr;
    }
    if (!DecodeImageFile(real, w, h, rgba)) {
        Log("Image cannot be decoded: " + path);
        return nullptr;
    }
    return CreateImage(w, h, std::move(rgba), flags);
}

ImagePtr LoadAnimImage(const std::string& path, int cellW, int cellH, int first, int count, int flags)
{
    ImagePtr img = LoadImage(path, flags);
    if (img && !img->SetFrames(cellW, cellH, first, count))
        Log("Animation cells do not fit the picture: " + path);
    return img;
}

// ---- Textures ----

namespace detail {

SDL_Texture* MakeTexture(int w, int h, const uint8_t* rgba, int quality, bool streaming)
{
    Layer& l = L();
    if (!l.renderer || w <= 0 || h <= 0)
        return nullptr;
    SDL_Texture* t = SDL_CreateTexture(l.renderer, SDL_PIXELFORMAT_RGBA32,
                                       streaming ? SDL_TEXTUREACCESS_STREAMING : SDL_TEXTUREACCESS_STATIC, w, h);
    if (!t) {
        Log(std::string("Cannot create a texture: ") + SDL_GetError());
        return nullptr;
    }
    if (rgba)
        SDL_UpdateTexture(t, nullptr, rgba, w * 4);
    SDL_SetTextureScaleMode(t, quality >= 2 ? SDL_ScaleModeBest : quality == 1 ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    return t;
}

// Box-filters the sheet down by an integer factor so that it fits the renderer.
static std::vector<uint8_t> Shrink(const std::vector<uint8_t>& src, int w, int h, int factor, int& nw, int& nh)
{
    nw = std::max(1, w / factor);
    nh = std::max(1, h / factor);
    std::vector<uint8_t> out(size_t(nw) * nh * 4);
    for (int y = 0; y < nh; ++y)
        for (int x = 0; x < nw; ++x)
            for (int c = 0; c < 4; ++c) {
                unsigned sum = 0, n = 0;
                for (int dy = 0; dy < factor; ++dy)
                    for (int dx = 0; dx < factor; ++dx) {
                        int sx = x * factor + dx, sy = y * factor + dy;
                        if (sx < w && sy < h) {
                            sum += src[(size_t(sy) * w + sx) * 4 + c];
                            ++n;
                        }
                    }
                out[(size_t(y) * nw + x) * 4 + c] = uint8_t(n ? sum / n : 0);
            }
    return out;
}

SDL_Texture* TextureOf(Image& image)
{
    Layer& l = L();
    TextureSlot* slot = image.Slot();
    if (slot->texture && slot->generation == l.generation)
        return slot->texture;
    slot->texture = nullptr;
    const std::vector<uint8_t>& px = image.Pixels();
    if (px.empty())
        return nullptr; // pixels were given to an earlier renderer
    int w = image.SheetWidth(), h = image.SheetHeight();
    // Filtered: linear scaling; mip-mapped: the renderer's best minification.
    int quality = (image.Flags() & kImageMipmapped) ? 2 : (image.Flags() & kImageFiltered) ? 1 : 0;
    int maxW = l.maxTextureW > 0 ? l.maxTextureW : 1 << 30;
    int maxH = l.maxTextureH > 0 ? l.maxTextureH : 1 << 30;
    if (l.textureCap > 0) {
        maxW = std::min(maxW, l.textureCap);
        maxH = std::min(maxH, l.textureCap);
    }
    SDL_Texture* t = nullptr;
    if (w <= maxW && h <= maxH) {
        t = MakeTexture(w, h, px.data(), quality);
    } else {
        int factor = 2;
        while ((w + factor - 1) / factor > maxW || (h + factor - 1) / factor > maxH)
            ++factor;
        int nw = 0, nh = 0;
        std::vector<uint8_t> small = Shrink(px, w, h, factor, nw, nh);
        Log("Picture of " + std::to_string(w) + "x" + std::to_string(h) + " is larger than the renderer allows; shown at 1/" +
            std::to_string(factor) + " resolution");
        image.SetUploadScale(1.0f / float(factor));
        t = MakeTexture(nw, nh, small.data(), std::max(quality, 1));
    }
    if (!t)
        return nullptr;
    slot->texture = t;
    slot->generation = l.generation;
    // The renderer keeps its own copy; the window is never recreated while
    // the program runs, so the pixels are no longer needed.
    image.MutablePixels().clear();
    image.MutablePixels().shrink_to_fit();
    return t;
}

} // namespace detail
} // namespace platform
