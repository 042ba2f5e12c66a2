// Image loading: PNG with alpha, JPEG, the masked flag, animation strips, and
// missing or broken files coming back as none.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include <jpeglib.h>
#include <zlib.h>

#include "platform_env.h"

using namespace platform;

namespace {

std::vector<uint8_t> Pattern(int w, int h)
{
    // Opaque black at (0,0), nearly black at (1,0), half-transparent red at
    // (2,0), everything else opaque (x*20, y*20, 200).
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &px[size_t(y * w + x) * 4];
            p[0] = uint8_t(x * 20);
            p[1] = uint8_t(y * 20);
            p[2] = 200;
            p[3] = 255;
        }
    uint8_t* black = &px[0];
    black[0] = black[1] = black[2] = 0;
    uint8_t* nearBlack = &px[4];
    nearBlack[0] = 1;
    nearBlack[1] = nearBlack[2] = 0;
    uint8_t* red = &px[8];
    red[0] = 255;
    red[1] = red[2] = 0;
    red[3] = 128;
    return px;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

bool WriteJpeg(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(size_t(w) * 3);
    for (int x = 0; x < w; ++x) {
        row[size_t(x) * 3] = r;
        row[size_t(x) * 3 + 1] = g;
        row[size_t(x) * 3 + 2] = b;
    }
    for (int y = 0; y < h; ++y) {
        JSAMPROW rp = row.data();
        jpeg_write_scanlines(&c, &rp, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
    return true;
}

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = vmtest::ScratchDir("images");
        ASSERT_TRUE(WritePng(dir + "/pattern.png", 6, 4, Pattern(6, 4)));
    }
    std::string dir;
};

TEST_F(ImageFiles, PngKeepsItsPixelsAndAlpha)
{
    int w = 0, h = 0;
    std::vector<uint8_t> px;
    ASSERT_TRUE(DecodeImageFile(dir + "/pattern.png", w, h, px));
    EXPECT_EQ(w, 6);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(px, Pattern(6, 4));

    ImagePtr img = LoadImage(dir + "/pattern.png", 0);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->Width(), 6);
    EXPECT_EQ(img->Height(), 4);
    EXPECT_EQ(img->Frames(), 1);
    // Half-transparent red drawn over white gives pink.
    vmtest::FreshDisplay(16, 16);
    SetColor(255, 255, 255);
    DrawRect(0, 0, 16, 16);
    ResetDrawState();
    DrawImage(img, 0, 0);
    Pixel p = ReadPixel(2, 0);
    EXPECT_EQ(p.r, 255);
    EXPECT_NEAR(p.g, 127, 2);
    Pixel black = ReadPixel(0, 0);
    EXPECT_EQ(black.r + black.g + black.b, 0); // unmasked black stays black
}

// Only pure black becomes transparent, and only with the masked bit (which
// the default flags -1 include).
TEST_F(ImageFiles, MaskedFlagClearsPureBlackOnly)
{
    struct { int flags; bool masked; } cases[] = {{-1, true}, {1, true}, {3, true}, {5, true}, {0, false}, {2, false}, {6, false}};
    for (auto c : cases) {
        ImagePtr img = LoadImage(dir + "/pattern.png", c.flags);
        ASSERT_TRUE(img) << c.flags;
        vmtest::FreshDisplay(16, 16);
        SetColor(0, 255, 0);
        DrawRect(0, 0, 16, 16);
        ResetDrawState();
        DrawImage(img, 0, 0);
        Pixel pure = ReadPixel(0, 0), nearBlack = ReadPixel(1, 0);
        EXPECT_EQ(pure.g, c.masked ? 255 : 0) << "flags " << c.flags;
        EXPECT_EQ(nearBlack.g, 0) << "flags " << c.flags;
        EXPECT_EQ(nearBlack.r, 1) << "flags " << c.flags;
    }
}

TEST_F(ImageFiles, JpegDecodes)
{
    ASSERT_TRUE(WriteJpeg(dir + "/solid.jpg", 16, 8, 200, 100, 50));
    ImagePtr img = LoadImage(dir + "/solid.jpg", 0);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->Width(), 16);
    EXPECT_EQ(img->Height(), 8);
    vmtest::FreshDisplay(32, 32);
    DrawImage(img, 0, 0);
    Pixel p = ReadPixel(8, 4);
    EXPECT_NEAR(p.r, 200, 4);
    EXPECT_NEAR(p.g, 100, 4);
    EXPECT_NEAR(p.b, 50, 4);
    // The content decides the decoder, not the name.
    std::rename((dir + "/solid.jpg").c_str(), (dir + "/misnamed.png").c_str());
    EXPECT_TRUE(LoadImage(dir + "/misnamed.png"));
}

TEST_F(ImageFiles, MissingOrBrokenFilesGiveNone)
{
    std::string png;
    {
        std::ifstream in(dir + "/pattern.png", std::ios::binary);
        png.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(png.size(), 60u);
    WriteBytes(dir + "/truncated.png", png.substr(0, png.size() / 2));
    WriteBytes(dir + "/garbage.png", "\x89PNG\r\n\x1a\nthis is not a picture at all");
    WriteBytes(dir + "/text.png", "hello");
    WriteBytes(dir + "/empty.jpg", "");
    WriteBytes(dir + "/badjpeg.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + std::string(40, '\x11'));
    for (const char* name : {"nothing_here.png", "truncated.png", "garbage.png", "text.png", "empty.jpg", "badjpeg.jpg"}) {
        EXPECT_FALSE(LoadImage(dir + "/" + name)) << name;
        EXPECT_FALSE(LoadAnimImage(dir + "/" + name, 2, 2, 0, 2)) << name;
    }
    EXPECT_FALSE(LoadImage(dir)); // a folder
}

// A header that claims an enormous picture is refused before anything of
// that size is allocated.
TEST_F(ImageFiles, OversizedHeadersAreRefused)
{
    auto be32 = [](uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    std::string ihdr = "IHDR" + be32(16000) + be32(16000) + std::string("\x08\x06\x00\x00\x00", 5);
    uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(ihdr.data()), uInt(ihdr.size())));
    std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + be32(13) + ihdr + be32(crc);
    WriteBytes(dir + "/huge.png", png);
    EXPECT_FALSE(LoadImage(dir + "/huge.png"));
}

TEST_F(ImageFiles, PathsResolveIgnoringCase)
{
    ImagePtr img = LoadImage(dir + "/PATTERN.Png");
    ASSERT_TRUE(img);
    EXPECT_EQ(img->Width(), 6);
}

// Cells are read left to right, top to bottom, starting at the first cell.
TEST_F(ImageFiles, AnimationStripFramesAndCells)
{
    // A 3 x 2 sheet of 4 x 4 cells; cell k is filled with red = 10 * (k + 1).
    std::vector<uint8_t> px(12 * 8 * 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            uint8_t* p = &px[size_t(y * 12 + x) * 4];
            p[0] = uint8_t(10 * ((y / 4) * 3 + x / 4 + 1));
            p[3] = 255;
        }
    ASSERT_TRUE(WritePng(dir + "/strip.png", 12, 8, px));
    ImagePtr img = LoadAnimImage(dir + "/strip.png", 4, 4, 2, 3, 0);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->Width(), 4);
    EXPECT_EQ(img->Height(), 4);
    EXPECT_EQ(img->Frames(), 3);
    for (int frame = 0; frame < 3; ++frame) {
        vmtest::FreshDisplay(16, 16);
        DrawImage(img, 2, 2, frame);
        EXPECT_EQ(ReadPixel(3, 3).r, 10 * (frame + 3)) << frame;
        EXPECT_EQ(ReadPixel(5, 5).r, 10 * (frame + 3)) << frame;
        EXPECT_EQ(ReadPixel(6, 6).r, 0) << frame;
    }
    // A frame out of range draws frame 0 rather than reading outside.
    vmtest::FreshDisplay(16, 16);
    DrawImage(img, 0, 0, 7);
    EXPECT_EQ(ReadPixel(1, 1).r, 30);
    // Cells that do not fit leave a single whole-sheet frame.
    ImagePtr bad = LoadAnimImage(dir + "/strip.png", 4, 4, 4, 5, 0);
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->Frames(), 1);
    EXPECT_EQ(bad->Width(), 12);
}

TEST(ImageHandles, SetAndMidHandle)
{
    ImagePtr img = CreateImage(7, 4, std::vector<uint8_t>(7 * 4 * 4, 255));
    ASSERT_TRUE(img);
    MidHandle(img);
    EXPECT_FLOAT_EQ(img->HandleX(), 3.5f);
    EXPECT_FLOAT_EQ(img->HandleY(), 2.0f);
    SetImageHandle(img, -1, 9);
    EXPECT_FLOAT_EQ(img->HandleX(), -1);
    EXPECT_FLOAT_EQ(img->HandleY(), 9);
    EXPECT_EQ(ImageWidth(nullptr), 0);
    MidHandle(nullptr);
    EXPECT_FALSE(CreateImage(2, 2, std::vector<uint8_t>(3)));
}

} // namespace

namespace {

// A picture larger than the renderer allows is shown downscaled at its full
// size, colours in place.
TEST(LargeImages, AreDownscaledToFitTheRenderer)
{
    // 48 x 24: left half red, right half blue, bottom quarter green.
    std::vector<uint8_t> px(48 * 24 * 4);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 48; ++x) {
            uint8_t* p = &px[size_t(y * 48 + x) * 4];
            if (y >= 18)
                p[1] = 255;
            else if (x < 24)
                p[0] = 255;
            else
                p[2] = 255;
            p[3] = 255;
        }
    ImagePtr img = CreateImage(48, 24, px, 2);
    ASSERT_TRUE(img);
    SetTextureSizeLimit(16);
    vmtest::FreshDisplay(64, 32);
    DrawImage(img, 4, 4);
    SetTextureSizeLimit(0);
    EXPECT_LT(img->UploadScale(), 1.0f);
    EXPECT_EQ(img->Width(), 48); // the image keeps its size for layout
    struct { int x, y; int r, g, b; } probes[] = {{8, 8, 255, 0, 0}, {44, 8, 0, 0, 255}, {20, 26, 0, 255, 0}, {60, 8, 0, 0, 0}};
    for (auto p : probes) {
        Pixel c = ReadPixel(p.x, p.y);
        EXPECT_NEAR(c.r, p.r, 40) << p.x << "," << p.y;
        EXPECT_NEAR(c.g, p.g, 40) << p.x << "," << p.y;
        EXPECT_NEAR(c.b, p.b, 40) << p.x << "," << p.y;
    }
}

} // namespace
