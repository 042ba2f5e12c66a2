// Fonts: measured width and height agree with what is drawn, in the loaded
// fonts and in the built-in one.
#include <gtest/gtest.h>

#include <fstream>

#include "platform_env.h"

using namespace platform;

namespace {

struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // inclusive
    bool Any() const { return right >= 0; }
};

Ink FindInk(int w, int h)
{
    Ink ink;
    int bw = 0, bh = 0;
    std::vector<uint8_t> px = ReadPixels(bw, bh);
    for (int y = 0; y < std::min(h, bh); ++y)
        for (int x = 0; x < std::min(w, bw); ++x)
            if (px[size_t(y * bw + x) * 4] > 40) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

struct FontCase {
    const char* name;
    const char* path; // nullptr: the built-in font
    int size;
    bool smooth;
};

const FontCase kFonts[] = {
    {"builtin", nullptr, 16, true},
    {"game_font_24", "Game/gfx/font.ttf", 24, true},
    {"game_font2_32_hard", "Game/gfx/font2.ttf", 32, false},
};

class FontTable : public ::testing::TestWithParam<FontCase> {
protected:
    void SetUp() override
    {
        const FontCase& c = GetParam();
        if (c.path) {
            font = LoadFont(c.path, c.size, c.smooth);
            ASSERT_TRUE(font) << c.path;
            EXPECT_EQ(font->PixelSize(), c.size);
        }
        SetFont(font);
    }
    void TearDown() override { SetFont(nullptr); }
    FontPtr font;
};

// The ink of a drawn line lies within TextWidth x TextHeight from its
// top-left corner and reaches to within a side bearing of the measured width.
TEST_P(FontTable, DrawnExtentMatchesTheMeasure)
{
    for (const char* text : {"Velmora", "HIGH SCORES 1024", "quick jumpy fox", "\xC5\xBB" "ab\xC4\x99"}) {
        vmtest::FreshDisplay(512, 96);
        const float x = 20, y = 30;
        DrawText(text, x, y);
        Ink ink = FindInk(512, 96);
        ASSERT_TRUE(ink.Any()) << text;
        int w = TextWidth(text), h = TextHeight();
        EXPECT_GE(ink.left, int(x)) << text;
        EXPECT_LE(ink.left, int(x) + 4) << text;
        EXPECT_LE(ink.right, int(x) + w) << text;
        EXPECT_GE(ink.right, int(x) + w - 4) << text;
        EXPECT_GE(ink.top, int(y)) << text;
        EXPECT_LT(ink.bottom, int(y) + h) << text;
    }
}

TEST_P(FontTable, WidthAddsUpAndScalingScalesTheInk)
{
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_EQ(TextWidth("ll"), 2 * TextWidth("l"));
    EXPECT_GT(TextWidth("WWW"), TextWidth("iii"));
    EXPECT_GT(TextHeight(), GetParam().size / 2);

    vmtest::FreshDisplay(512, 160);
    DrawText("Wide", 10, 10);
    Ink one = FindInk(512, 160);
    vmtest::FreshDisplay(512, 160);
    SetScale(2, 2);
    DrawText("Wide", 10, 10);
    Ink two = FindInk(512, 160);
    SetScale(1, 1);
    EXPECT_NEAR(two.right - 10, 2 * (one.right - 10), 3);
    EXPECT_NEAR(two.bottom - 10, 2 * (one.bottom - 10), 3);
}

INSTANTIATE_TEST_SUITE_P(Fonts, FontTable, ::testing::ValuesIn(kFonts),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Fonts, RotatedTextTurnsAboutItsCorner)
{
    vmtest::FreshDisplay(128, 128);
    int w = TextWidth("Velmora");
    SetRotation(90);
    DrawText("Velmora", 64, 10);
    SetRotation(0);
    Ink ink = FindInk(128, 128);
    ASSERT_TRUE(ink.Any());
    // Turned clockwise: the line runs downward, to the left of x = 64.
    EXPECT_LE(ink.right, 64);
    EXPECT_GE(ink.bottom, 10 + w - 4);
    EXPECT_LE(ink.bottom, 10 + w);
}

TEST(Fonts, TintColoursTheGlyphs)
{
    vmtest::FreshDisplay(64, 32);
    SetColor(0, 255, 0);
    DrawText("H", 4, 4);
    Ink ink = FindInk(64, 32);
    EXPECT_FALSE(ink.Any()); // no red anywhere
    int bw = 0, bh = 0;
    std::vector<uint8_t> px = ReadPixels(bw, bh);
    int greenest = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        greenest = std::max(greenest, int(px[i + 1]));
    EXPECT_EQ(greenest, 255);
    ResetDrawState();
}

TEST(Fonts, MissingOrNonFontFilesGiveNone)
{
    std::string dir = vmtest::ScratchDir("fonts");
    std::ofstream(dir + "/fake.ttf") << "not a font";
    EXPECT_FALSE(LoadFont(dir + "/none.ttf", 20));
    EXPECT_FALSE(LoadFont(dir + "/fake.ttf", 20));
    EXPECT_FALSE(LoadFontFromMemory({}, 20));
    ASSERT_TRUE(DefaultFont());
    // Paths resolve ignoring case.
    EXPECT_TRUE(LoadFont("game/GFX/Font.TTF", 20));
}

// Many distinct glyphs at a large size fill several atlas pages; every one
// still draws.
TEST(Fonts, GlyphCacheGrowsAcrossPages)
{
    FontPtr big = LoadFont("Game/gfx/font.ttf", 96);
    ASSERT_TRUE(big);
    vmtest::FreshDisplay(256, 256);
    SetFont(big);
    Flip();
    for (char32_t c = 0x21; c < 0x17F; ++c) {
        std::string one;
        AppendUtf8(one, c);
        DrawText(one, 10, 10);
    }
    Flip();
    EXPECT_GT(LastFrameStats().batches, 1); // more than one atlas page in use
    vmtest::FreshDisplay(256, 256);
    SetFont(big);
    DrawText("\xC5\xBE", 10, 10); // a glyph from a later page
    EXPECT_TRUE(FindInk(256, 256).Any());
    SetFont(nullptr);
}

} // namespace
