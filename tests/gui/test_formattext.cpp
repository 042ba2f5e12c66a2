// Word wrapping measured with the game's own font, and the three ways of
// drawing wrapped text checked on pixels of a headless software display.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/platform/platform.h"
#include "gui/formattext.h"
#include "gui/textclass.h"
#include "support/headless.h"

namespace {

using Lines = std::vector<std::string>;

const char* const kFontPath = "Game/gfx/font2.ttf";

int W(const platform::FontPtr& f, const std::string& s) { return f->Width(s); }

TEST(FormatText, WrapsWordsIntoTheBox)
{
    const platform::FontPtr font = platform::LoadFont(kFontPath, 20);
    ASSERT_TRUE(font);
    const std::string longWord = "incomprehensibilities";
    struct Case {
        const char* what;
        std::string text;
        int width;
        Lines want;
    };
    const Case cases[] = {
        {"the third word does not fit", "one two three", W(font, "one two three") - 1, {"one two", "three"}},
        {"a line exactly as wide as the box is kept", "one two three", W(font, "one two three"), {"one two three"}},
        {"exact fit of the first two words", "one two three", W(font, "one two"), {"one two", "three"}},
        {"one pixel short of the first two", "one two three", W(font, "one two") - 1, {"one", "two", "three"}},
        {"an overlong word stands alone", "a " + longWord + " b", W(font, "a b"), {"a", longWord, "b"}},
        {"a lone overlong word", longWord, 5, {longWord}},
        {"a line feed breaks the line", "one\ntwo three", 1000, {"one", "two three"}},
        {"CR LF breaks the line without a carriage return", "one\r\ntwo", 1000, {"one", "two"}},
        {"an empty paragraph is an empty line", "one\n\ntwo", 1000, {"one", "", "two"}},
        {"a final line feed adds nothing", "one two\n", 1000, {"one two"}},
        {"wrapping within paragraphs", "one two\nthree four", W(font, "one"), {"one", "two", "three", "four"}},
        {"two blanks stay in the line", "one  two", 1000, {"one  two"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const gui::TFormatedText f = gui::FormatText(c.text, font, c.width, 3);
        EXPECT_EQ(f.texts, c.want);
        EXPECT_EQ(f.lines, static_cast<int>(c.want.size()));
        EXPECT_EQ(f.OneHeight, font->Height() + 3);
        EXPECT_EQ(f.Height, f.lines * f.OneHeight);
        EXPECT_EQ(f.Width, c.width);
        EXPECT_EQ(f.font, font);
        // No line is wider than the box unless it is a single word.
        for (const std::string& line : f.texts)
            if (line.find(' ') != std::string::npos) {
                EXPECT_LE(W(font, line), c.width) << line;
            }
    }
}

TEST(FormatText, EmptyTextDefaultFontAndDrawingState)
{
    const platform::FontPtr font = platform::LoadFont(kFontPath, 20);
    ASSERT_TRUE(font);

    const gui::TFormatedText empty = gui::FormatText("", font, 100, 5);
    EXPECT_EQ(empty.texts, Lines{""});
    EXPECT_EQ(empty.lines, 1);
    EXPECT_EQ(empty.OneHeight, 0);
    EXPECT_EQ(empty.Height, 0);
    EXPECT_FALSE(empty.font);

    // No font: measured in the default font, whatever font is selected now.
    const platform::FontPtr other = platform::LoadFont(kFontPath, 40);
    ASSERT_TRUE(other);
    platform::SetFont(other);
    const platform::FontPtr def = platform::DefaultFont();
    const gui::TFormatedText plain = gui::FormatText("one two three", nullptr, def->Width("one two"), 0);
    EXPECT_EQ(plain.texts, (Lines{"one two", "three"}));
    EXPECT_EQ(plain.OneHeight, def->Height());
    // Laying out leaves the selected font alone.
    EXPECT_EQ(platform::GetFont(), other);
    platform::SetFont(nullptr);
}

TEST(FormatText, LinePlacementInTheBox)
{
    struct Case {
        float x;
        int box, line, align;
        float want;
    };
    const Case cases[] = {
        {0, 100, 31, 1, 35},   // 50 - 15: halves truncated
        {10, 101, 31, 1, 45},  // 10 + 50 - 15
        {0, 100, 120, 1, -10}, // wider than the box: centred all the same
        {5, 100, 31, 0, 5},
        {5, 100, 31, 2, 74},
        {0, 100, 120, 2, -20},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(gui::TFormatedText::LineX(c.x, c.box, c.line, c.align), c.want)
            << "box " << c.box << " line " << c.line << " align " << c.align;
}

// ---- Drawing, read back from the software renderer ----

// A full block glyph: its ink is a solid rectangle.
const std::string kBlock = "\xE2\x96\x88";
constexpr int kSize = 160;
constexpr int kGrey = 100;

struct Box {
    int left = kSize, top = kSize, right = -1, bottom = -1;
    bool Any() const { return right >= 0; }
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Box& b)
{
    return o << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

class FormattedDraw : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(kSize, kSize);
    }
    static void TearDownTestSuite() { platform::Shutdown(); }

    void SetUp() override
    {
        platform::SetRasterising(true);
        platform::SetVirtualResolution(kSize, kSize, 0);
        platform::ResetDrawState();
        font = platform::LoadFont(kFontPath, 24);
        ASSERT_TRUE(font);
        Clear();
    }
    void TearDown() override { platform::ResetDrawState(); }

    static void Clear()
    {
        platform::SetClearColor(kGrey, kGrey, kGrey);
        platform::Cls();
    }

    // Pixels matching the predicate, as a bounding box.
    template <class Pred>
    static Box Find(Pred pred)
    {
        Box b;
        int w = 0, h = 0;
        const std::vector<uint8_t> px = platform::ReadPixels(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = &px[size_t(y * w + x) * 4];
                if (pred(p[0], p[1], p[2])) {
                    b.left = std::min(b.left, x);
                    b.right = std::max(b.right, x);
                    b.top = std::min(b.top, y);
                    b.bottom = std::max(b.bottom, y);
                }
            }
        return b;
    }
    static Box White() { return Find([](int r, int g, int b) { return r > 250 && g > 250 && b > 250; }); }

    // Where a block drawn plainly at (x, y) in `f` lands.
    static Box PlainAt(const platform::FontPtr& f, float x, float y)
    {
        Clear();
        platform::ResetDrawState();
        platform::SetFont(f);
        platform::DrawText(kBlock, x, y);
        const Box b = White();
        Clear();
        return b;
    }

    static Box Shift(Box b, int dx, int dy) { return {b.left + dx, b.top + dy, b.right + dx, b.bottom + dy}; }

    platform::FontPtr font;
};

TEST_F(FormattedDraw, CentredLinesAndLineSpacing)
{
    gui::TFormatedText f = gui::FormatText(kBlock + " " + kBlock + " " + kBlock, font, font->Width(kBlock + " " + kBlock), 4);
    ASSERT_EQ(f.lines, 2);
    const Box plain = PlainAt(font, 0, 0);
    ASSERT_TRUE(plain.Any());

    // Scale and rotation left by earlier drawing do not apply.
    platform::SetScale(2, 2);
    platform::SetRotation(30);
    f.Draw(10, 20, 1);
    const int blockW = font->Width(kBlock), pairW = font->Width(kBlock + " " + kBlock);
    const int x2 = 10 + f.Width / 2 - blockW / 2; // the second line, centred
    const Box got = White();
    // The first line fills the box from x = 10; the second is centred below it.
    EXPECT_EQ(got.left, std::min(10, x2) + plain.left);
    EXPECT_EQ(got.top, 20 + plain.top);
    EXPECT_EQ(got.bottom, 20 + f.OneHeight + plain.bottom);
    EXPECT_EQ(got.right, 10 + pairW - blockW + plain.right);
    EXPECT_FLOAT_EQ(platform::ScaleX(), 1.0f);

    Clear();
    f.texts = {kBlock};
    f.lines = 1;
    f.Draw(10, 20, 1);
    EXPECT_EQ(White(), Shift(plain, x2, 20));
}

TEST_F(FormattedDraw, OutlinedDrawsFourBlackCopiesUnderTheColouredText)
{
    gui::TFormatedText f = gui::FormatText(kBlock + "\n" + kBlock, font, 200, 2);
    ASSERT_EQ(f.lines, 2);
    const float x = 30, y = 40;

    // The same picture put together by hand: black copies at the four
    // diagonal offsets of every line, then the coloured lines on top.
    platform::SetFont(font);
    platform::SetColor(0, 0, 0);
    for (const auto& [dx, dy] : {std::pair{-1, -1}, {-1, 1}, {1, -1}, {1, 1}})
        for (int line = 0; line < 2; ++line)
            platform::DrawText(kBlock, x + dx, y + dy + line * f.OneHeight);
    platform::SetColor(255, 0, 0);
    for (int line = 0; line < 2; ++line)
        platform::DrawText(kBlock, x, y + line * f.OneHeight);
    int w = 0, h = 0;
    const std::vector<uint8_t> want = platform::ReadPixels(w, h);

    Clear();
    platform::ResetDrawState();
    platform::SetScale(3, 3); // left over from earlier drawing: not used
    f.DrawOutLined(x, y, 255, 0, 0);
    EXPECT_EQ(f.pomY, 40);
    EXPECT_TRUE(platform::ReadPixels(w, h) == want);
    EXPECT_EQ(platform::ColorRed(), 255);
    EXPECT_EQ(platform::ColorGreen(), 0);
    EXPECT_FLOAT_EQ(platform::ScaleX(), 1.0f);

    // Both lines are red inside, OneHeight apart.
    const Box red = Find([](int r, int g, int b) { return r > 250 && g < 5 && b < 5; });
    const Box plain = PlainAt(font, x, y);
    EXPECT_EQ(red.left, plain.left);
    EXPECT_EQ(red.top, plain.top);
    EXPECT_EQ(red.bottom, plain.bottom + f.OneHeight);
}

TEST_F(FormattedDraw, TextClassAlignmentMeasuresInTheClassFont)
{
    // The record was laid out in a small font; the class draws in a big one.
    const platform::FontPtr small = platform::LoadFont(kFontPath, 12);
    ASSERT_TRUE(small);
    gui::TFormatedText f = gui::FormatText(kBlock, small, 120, 0);
    auto cls = gui::NewTextClass(font, CreateRGB(255, 255, 255, 1), std::nullopt, std::nullopt);
    const Box plain = PlainAt(font, 0, 0);
    const int lineW = font->Width(kBlock);

    struct Case {
        int align;
        int x; // where the line starts
    };
    const Case cases[] = {{0, 8}, {1, 8 + 60 - lineW / 2}, {2, 8 + 120 - lineW}};
    for (const Case& c : cases) {
        SCOPED_TRACE("align " + std::to_string(c.align));
        Clear();
        platform::SetFont(small);
        f.DrawWithTextClass(8, 30, cls, c.align);
        EXPECT_EQ(White(), Shift(plain, c.x, 30));
    }
}

} // namespace
