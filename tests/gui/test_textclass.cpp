// Text classes drawn on a headless software display and read back pixel by
// pixel; the program-wide classes built from the game's fonts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/paths.h"
#include "app/platform/platform.h"
#include "gui/textclasses.h"
#include "gui/fonts.h"
#include "gui/textclass.h"
#include "support/headless.h"

namespace {

// A full block glyph: a solid rectangle, so that the inside of the text and
// the places only the shadow reaches are easy to tell apart.
const std::string kBlock = "\xE2\x96\x88";
constexpr int kSize = 96;

struct Box {
    int left = kSize, top = kSize, right = -1, bottom = -1;
};

class TextClassDraw : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(kSize, kSize);
    }
    static void TearDownTestSuite()
    {
        gui::ClearFontCache();
        platform::Shutdown();
    }

    void SetUp() override
    {
        platform::SetRasterising(true);
        platform::SetVirtualResolution(kSize, kSize, 0);
        platform::ResetDrawState();
        font_ = gui::GetFont("Game/gfx/font2.ttf", 32);
        ASSERT_TRUE(font_);
        block_ = PlainBlockAt(kX, kY);
        ASSERT_GT(block_.right - block_.left, 8);
        ASSERT_GT(block_.bottom - block_.top, 8);
        Clear(100);
    }
    void TearDown() override { gui::SetTextClass(std::make_shared<gui::TTextClass>()); }

    static void Clear(int grey)
    {
        platform::SetClearColor(grey, grey, grey);
        platform::Cls();
    }

    // Where the block lands when drawn plainly at (x, y): fully lit pixels.
    Box PlainBlockAt(float x, float y)
    {
        Clear(0);
        platform::SetFont(font_);
        platform::SetColor(255, 255, 255);
        platform::DrawText(kBlock, x, y);
        Box b;
        for (int py = 0; py < kSize; ++py)
            for (int px = 0; px < kSize; ++px)
                if (platform::ReadPixel(px, py).r == 255) {
                    b.left = std::min(b.left, px);
                    b.top = std::min(b.top, py);
                    b.right = std::max(b.right, px);
                    b.bottom = std::max(b.bottom, py);
                }
        return b;
    }

    static bool Near(platform::Pixel p, int r, int g, int b, int tolerance = 3)
    {
        return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance && std::abs(p.b - b) <= tolerance;
    }
    static std::string Str(platform::Pixel p)
    {
        return "(" + std::to_string(p.r) + ", " + std::to_string(p.g) + ", " + std::to_string(p.b) + ")";
    }

    static constexpr float kX = 10, kY = 6;
    static constexpr float kShadow = 8;
    platform::FontPtr font_;
    Box block_;
};

TEST_F(TextClassDraw, ClassWithoutColourDrawsOnlyShadowAndOutline)
{
    gui::TTextClass c;
    c.Font = font_;
    c.Color.reset();
    c.Outline = CreateRGB(0, 255, 0, 1);
    c.Shadow = CreateDim(kShadow, kShadow, 1, 0);
    c.DrawTextXY(kBlock, kX, kY);

    const int midX = (block_.left + block_.right) / 2, midY = (block_.top + block_.bottom) / 2;
    // Inside the block the outline copies cover everything: green, not white.
    EXPECT_TRUE(Near(platform::ReadPixel(midX, midY), 0, 255, 0)) << Str(platform::ReadPixel(midX, midY));
    // Below and right of the block only the shadow reaches: black.
    const int sx = block_.right + 4, sy = block_.bottom + 4;
    EXPECT_TRUE(Near(platform::ReadPixel(sx, sy), 0, 0, 0)) << Str(platform::ReadPixel(sx, sy));
    // Far from both: the background.
    EXPECT_TRUE(Near(platform::ReadPixel(kSize - 2, 1), 100, 100, 100));
    // No pixel carries the text colour.
    int whiteish = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const platform::Pixel p = platform::ReadPixel(x, y);
            whiteish += (p.r > 150 && p.b > 150);
        }
    EXPECT_EQ(whiteish, 0);
}

TEST_F(TextClassDraw, ClassWithNothingSetDrawsNothing)
{
    gui::PTextClass empty = gui::NewTextClassArray(1).at(0);
    empty->DrawTextXY(kBlock, kX, kY);
    for (int y = 0; y < kSize; y += 3)
        for (int x = 0; x < kSize; x += 3)
            ASSERT_TRUE(Near(platform::ReadPixel(x, y), 100, 100, 100)) << x << "," << y;
}

TEST_F(TextClassDraw, LayersScaleWithTheCallersAlpha)
{
    Clear(200);
    gui::TTextClass c;
    c.Font = font_;
    c.Color = CreateRGB(255, 0, 0, 1);
    c.Shadow = CreateDim(kShadow, kShadow, 0.5f, 0);
    platform::SetAlpha(0.5f);
    c.DrawTextXY(kBlock, kX, kY);

    // The shadow at 0.5 x 0.5 = 0.25 over grey 200 gives 150.
    const platform::Pixel shadow = platform::ReadPixel(block_.right + 4, block_.bottom + 4);
    EXPECT_TRUE(Near(shadow, 150, 150, 150)) << Str(shadow);
    // The text at 0.5: red half over grey 200 (the shadow does not reach the
    // block's top-left corner).
    const platform::Pixel text = platform::ReadPixel(block_.left + 2, block_.top + 2);
    EXPECT_TRUE(Near(text, 228, 100, 100)) << Str(text);
    EXPECT_FLOAT_EQ(platform::GetAlpha(), 0.5f);
}

TEST_F(TextClassDraw, CallersColourAlphaAndBlendComeBack)
{
    gui::TTextClass c;
    c.Font = font_;
    c.Color = CreateRGB(255, 255, 0, 0.8f);
    c.Outline = CreateRGB(0, 0, 255, 0.5f);
    c.Shadow = CreateDim(2, 2, 0.25f, 0);
    platform::SetColor(10, 20, 30);
    platform::SetAlpha(0.7f);
    platform::SetBlend(platform::kBlendAdditive);
    c.DrawTextXY("Abc", 5, 5);
    EXPECT_EQ(platform::ColorRed(), 10);
    EXPECT_EQ(platform::ColorGreen(), 20);
    EXPECT_EQ(platform::ColorBlue(), 30);
    EXPECT_FLOAT_EQ(platform::GetAlpha(), 0.7f);
    EXPECT_EQ(platform::GetBlend(), platform::kBlendAdditive);
    // The class's font stays selected.
    EXPECT_EQ(platform::GetFont(), font_);
}

TEST_F(TextClassDraw, CurrentClassDrawsAndMeasures)
{
    auto big = gui::NewTextClass(gui::GetFont("Game/gfx/font2.ttf", 40), CreateRGB(255, 255, 255), std::nullopt,
                                 std::nullopt);
    gui::SetTextClass(big);
    EXPECT_EQ(gui::TextClassWidth("Wide text"), big->Font->Width("Wide text"));
    EXPECT_EQ(gui::TextClassHeight("Wide text"), big->Font->Height());

    // Without a current class the text is drawn plainly in the current state.
    gui::SetTextClass(nullptr);
    platform::SetFont(font_);
    platform::SetColor(0, 0, 255);
    gui::DrawTextWithClass(kBlock, kX, kY);
    const int midX = (block_.left + block_.right) / 2, midY = (block_.top + block_.bottom) / 2;
    EXPECT_TRUE(Near(platform::ReadPixel(midX, midY), 0, 0, 255));
    EXPECT_EQ(gui::TextClassWidth(kBlock), font_->Width(kBlock));
}

TEST(TextClass, CopyIsIndependentButSharesTheFont)
{
    auto font = platform::DefaultFont();
    auto a = gui::NewTextClass(font, CreateRGB(1, 2, 3), std::nullopt, CreateDim(2, 2, 0.5f, 0));
    auto b = a->Copy();
    b->Color->r = 200;
    b->Shadow->w = 0.25f;
    b->Outline = CreateRGB(9, 9, 9);
    EXPECT_EQ(a->Color->r, 1);
    EXPECT_FLOAT_EQ(a->Shadow->w, 0.5f);
    EXPECT_FALSE(a->Outline);
    EXPECT_EQ(b->Font, a->Font);

    // A fresh class is white with no outline or shadow; an array entry has nothing.
    gui::TTextClass fresh;
    ASSERT_TRUE(fresh.Color);
    EXPECT_EQ(fresh.Color->ToString(), CreateRGB(255, 255, 255, 1).ToString());
    EXPECT_FALSE(fresh.Outline || fresh.Shadow || fresh.Font);
    auto arr = gui::NewTextClassArray(4);
    ASSERT_EQ(arr.size(), 4u);
    EXPECT_NE(arr[0], arr[1]);
    EXPECT_FALSE(arr[3]->Color || arr[3]->Outline || arr[3]->Shadow || arr[3]->Font);
}

TEST(ProgramTextClasses, BuiltFromTheGameFonts)
{
    app::SetGameDir("Game/");
    gui::ClearFontCache();
    gui::CreateProgramTextClasses();

    EXPECT_FALSE(gui::TextClass(0));
    EXPECT_FALSE(gui::TextClass(gui::kProgramTextClassCount + 1));
    for (int n = 1; n <= gui::kProgramTextClassCount; ++n) {
        ASSERT_TRUE(gui::TextClass(n)) << n;
        ASSERT_TRUE(gui::TextClass(n)->Font) << n;
        ASSERT_TRUE(gui::TextClass(n)->Color) << n;
    }
    // Rows with equal settings are still separate objects.
    EXPECT_NE(gui::TextClass(1), gui::TextClass(5));

    struct Case {
        int n, size;
        std::string colour;
        bool outline;
        float shadow; // 0: none
    } cases[] = {
        {1, 20, "255,255,255,1.00000000,1.00000000", false, 0},
        {3, 24, "255,255,0,1.00000000,1.00000000", false, 0.5f},
        {8, 32, "255,255,255,1.00000000,1.00000000", false, 0},
        {12, 32, "255,200,100,1.00000000,1.00000000", false, 0},
        {17, 32, "100,100,100,1.00000000,1.00000000", false, 0.5f},
        {22, 42, "100,255,255,1.00000000,1.00000000", true, 0.5f},
        {23, 18, "0,0,0,1.00000000,1.00000000", false, 0},
        {25, 30, "255,255,0,1.00000000,1.00000000", false, 0.25f},
        {36, 26, "255,255,255,1.00000000,1.00000000", false, 0},
    };
    for (const Case& c : cases) {
        const gui::PTextClass& tc = gui::TextClass(c.n);
        EXPECT_EQ(tc->Font->PixelSize(), c.size) << c.n;
        EXPECT_EQ(tc->Color->ToString(), c.colour) << c.n;
        EXPECT_EQ(bool(tc->Outline), c.outline) << c.n;
        if (c.outline) {
            EXPECT_EQ(tc->Outline->r + tc->Outline->g + tc->Outline->b, 0) << c.n;
        }
        ASSERT_EQ(bool(tc->Shadow), c.shadow > 0) << c.n;
        if (c.shadow > 0) {
            EXPECT_FLOAT_EQ(tc->Shadow->x, 2) << c.n;
            EXPECT_FLOAT_EQ(tc->Shadow->y, 2) << c.n;
            EXPECT_FLOAT_EQ(tc->Shadow->w, c.shadow) << c.n;
        }
    }
    // Classes 8, 35 and 36 use the display font, the others the body font;
    // fonts are shared through the cache.
    EXPECT_EQ(gui::TextClass(8)->Font, gui::GetFont("GAME/GFX/FONT.TTF", 32));
    EXPECT_EQ(gui::TextClass(10)->Font, gui::TextClass(11)->Font);
    EXPECT_NE(gui::TextClass(8)->Font, gui::TextClass(10)->Font);

    // The button sets are the classes themselves, in state order.
    const auto& large = gui::TextButtonClassSet(1);
    const auto& small = gui::TextButtonClassSet(2);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(large[size_t(i)], gui::TextClass(14 + i));
        EXPECT_EQ(small[size_t(i)], gui::TextClass(28 + i));
    }
    EXPECT_FALSE(gui::TextButtonClassSet(3)[0]);
}

TEST(ProgramTextClasses, MissingFontsFallBackToTheDefaultFontWithOneLineEach)
{
    std::vector<std::string> lines;
    platform::SetLogSink([&](const std::string& line) { lines.push_back(line); });
    app::SetGameDir("tests/fixtures/gui/nogame/");
    gui::ClearFontCache();
    gui::CreateProgramTextClasses();
    platform::SetLogSink(nullptr);
    ASSERT_TRUE(gui::TextClass(1));
    EXPECT_FALSE(gui::TextClass(1)->Font);
    EXPECT_TRUE(gui::TextClass(1)->Color);
    // Fourteen sizes of two missing files: each file named once.
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("nogame/gfx/font2.ttf"), std::string::npos);
    EXPECT_NE(lines[1].find("nogame/gfx/font.ttf"), std::string::npos);
    app::SetGameDir("Game/");
    gui::ClearFontCache();
}

TEST(FontCache, OneFontPerFileAndSize)
{
    gui::ClearFontCache();
    auto a = gui::GetFont("Game/gfx/font2.ttf", 24);
    ASSERT_TRUE(a);
    EXPECT_EQ(gui::GetFont("game/GFX/Font2.TTF", 24), a); // letter case ignored
    auto b = gui::GetFont("Game/gfx/font2.ttf", 25);
    ASSERT_TRUE(b);
    EXPECT_NE(b, a);
    EXPECT_EQ(b->PixelSize(), 25);
    EXPECT_TRUE(b->Smooth());
    EXPECT_EQ(gui::FontCacheSize(), 2u);
    gui::ClearFontCache();
}

} // namespace
