// Image handles: the shared picture cache, atlas pieces from their lists,
// deferred and queued loading and missing files, drawn on a headless software
// display and read back.
#include <gtest/gtest.h>

#include "app/platform/platform.h"
#include "datafiles/rcmfile.h"
#include "gui/images.h"
#include "support/headless.h"

namespace {

const std::string kDir = "tests/fixtures/gui/";
const std::string kPlain = kDir + "plain.png";     // 41 x 21, red top-left pixel, green elsewhere
const std::string kButtons = kDir + "buttons.png"; // 80 x 20: red piece Ok, blue piece Cancel (CR LF list)
const std::string kBroken = kDir + "broken.png";   // 32 x 16 with a list of good and bad entries

class Images : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(96, 64);
    }
    static void TearDownTestSuite() { platform::Shutdown(); }

    void SetUp() override
    {
        gui::ClearImageCaches();
        LoadQueuedResources(); // nothing left over from other tests
        platform::SetRasterising(true);
        platform::SetVirtualResolution(96, 64, 0);
        platform::ResetDrawState();
        platform::SetClearColor(0, 0, 0);
        platform::Cls();
        platform::SetLogSink([this](const std::string& line) { lines_.push_back(line); });
        platform::SetMessageBoxSink([this](const std::string& text, bool) { boxes_.push_back(text); });
    }
    void TearDown() override
    {
        platform::SetLogSink(nullptr);
        platform::SetMessageBoxSink(nullptr);
        gui::ClearImageCaches();
    }

    static bool Is(int x, int y, int r, int g, int b)
    {
        const platform::Pixel p = platform::ReadPixel(x, y);
        return std::abs(p.r - r) <= 3 && std::abs(p.g - g) <= 3 && std::abs(p.b - b) <= 3;
    }
    static bool Red(int x, int y) { return Is(x, y, 220, 30, 30); }
    static bool Blue(int x, int y) { return Is(x, y, 30, 30, 220); }
    static bool Corner(int x, int y) { return Is(x, y, 250, 20, 20); } // plain.png's top-left pixel
    static bool Dark(int x, int y) { return Is(x, y, 0, 0, 0); }
    int LinesWith(const std::string& part) const
    {
        int n = 0;
        for (const std::string& l : lines_)
            n += l.find(part) != std::string::npos;
        return n;
    }

    std::vector<std::string> lines_;
    std::vector<std::string> boxes_;
};

TEST_F(Images, OneFileIsLoadedOnceAndEachHandleKeepsItsOwnHandle)
{
    gui::PImg a = gui::LoadImg(kPlain);
    gui::PImg b = gui::LoadImg("tests/FIXTURES/gui/Plain.PNG");
    ASSERT_TRUE(a && b);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->GetImage(), b->GetImage()); // one picture behind both
    EXPECT_NE(gui::LoadImg(kPlain, 2)->GetImage(), a->GetImage()); // other flags, other picture
    EXPECT_FLOAT_EQ(gui::ImgWidth(a), 41);
    EXPECT_FLOAT_EQ(gui::ImgHeight(a), 21);

    gui::MidHandleImg(a);
    EXPECT_FLOAT_EQ(a->hx, 20.5f);
    EXPECT_FLOAT_EQ(a->hy, 10.5f);
    EXPECT_FLOAT_EQ(a->GetImage()->HandleX(), 20); // the picture's own handle: integer halves
    EXPECT_FLOAT_EQ(a->GetImage()->HandleY(), 10);

    // a is drawn about its centre, b from its corner: the red corner pixel
    // lands in two different places.
    gui::DrawImg(a, 60, 40);
    gui::DrawImg(b, 0, 0);
    EXPECT_TRUE(Corner(40, 30));
    EXPECT_TRUE(Corner(0, 0));
    EXPECT_TRUE(Is(41, 31, 20, 200, 40));
    EXPECT_TRUE(lines_.empty());
}

TEST_F(Images, MissingFileGivesAnEmptyImageAndOneLine)
{
    const std::string missing = kDir + "no-such-picture.png";
    const int quads = platform::CurrentFrameStats().quads;
    gui::PImg img = gui::LoadImg(missing);
    ASSERT_TRUE(img);
    EXPECT_FLOAT_EQ(gui::ImgWidth(img), 0);
    EXPECT_FLOAT_EQ(gui::ImgHeight(img), 0);
    EXPECT_FALSE(img->GetImage());
    for (int frame = 0; frame < 3; ++frame)
        gui::DrawImg(img, 10, 10);
    gui::PImg again = gui::LoadImg(missing, -1, false, true); // deferred: tried at its draw
    gui::DrawImg(again, 10, 10);
    gui::DrawImg(nullptr, 10, 10);
    ASSERT_EQ(lines_.size(), 1u);
    EXPECT_EQ(lines_[0], "TEXTURE FILE NOT FOUND: " + missing);
    EXPECT_EQ(platform::CurrentFrameStats().quads, quads);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Images, DeferredAndQueuedPicturesLoadAtTheirFirstDraw)
{
    gui::PImg deferred = gui::LoadImg(kPlain, -1, false, true);
    EXPECT_FALSE(deferred->image);
    EXPECT_FLOAT_EQ(gui::ImgWidth(deferred), 0); // size unknown until loaded
    gui::SetImgHandle(deferred, 1, 1);
    gui::DrawImg(deferred, 11, 11);
    EXPECT_FLOAT_EQ(gui::ImgWidth(deferred), 41);
    EXPECT_TRUE(Corner(10, 10)); // the handle set before loading applies

    const size_t before = QueuedResourceCount();
    gui::PImg queued = gui::LoadImg(kPlain, -1, true, false);
    EXPECT_EQ(QueuedResourceCount(), before + 1);
    EXPECT_FALSE(queued->image);
    gui::MidHandleImg(queued);
    LoadQueuedResources();
    EXPECT_FLOAT_EQ(gui::ImgWidth(queued), 41);
    EXPECT_EQ(queued->GetImage(), deferred->GetImage());
    gui::DrawImg(queued, 60, 40);
    EXPECT_TRUE(Corner(40, 30)); // centre handle applied again after the queued load

    // A queued picture that is missing says so when the queue is processed.
    gui::PImg lost = gui::LoadImg(kDir + "lost.png", -1, true, false);
    LoadQueuedResources();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], "NO IMAGE (LoadResource): " + kDir + "lost.png");
    EXPECT_FLOAT_EQ(gui::ImgWidth(lost), 0);
}

TEST_F(Images, AtlasPiecesFromACrLfList)
{
    gui::PImg ok = gui::LoadImg(kButtons + "|Ok");
    gui::PImg cancel = gui::LoadImg(kButtons + "|cancel");
    ASSERT_TRUE(ok && cancel);
    // Asked again, in other letter cases: the same pieces of the same atlas.
    EXPECT_EQ(gui::LoadImg(kButtons + "|OK"), ok);
    EXPECT_EQ(gui::LoadImg("tests/fixtures/GUI/Buttons.png|Cancel"), cancel);

    gui::PImgTexture atlas = gui::FindTexture(kButtons);
    ASSERT_TRUE(atlas);
    ASSERT_EQ(atlas->imgs.size(), 2u);
    EXPECT_EQ(atlas->getImg("cancel"), cancel);
    EXPECT_FALSE(atlas->getImg("Help"));
    EXPECT_EQ(cancel->name, "CANCEL"); // the blank after the name in the list is not part of it
    EXPECT_EQ(cancel->tex.lock(), atlas);
    EXPECT_FALSE(cancel->image);
    struct Piece {
        gui::PImg img;
        float x, y, w, h;
    } pieces[] = {{ok, 0, 0, 40, 20}, {cancel, 40, 0, 40, 20}};
    for (const Piece& p : pieces) {
        EXPECT_FLOAT_EQ(p.img->x, p.x) << p.img->name;
        EXPECT_FLOAT_EQ(p.img->y, p.y) << p.img->name;
        EXPECT_FLOAT_EQ(p.img->w, p.w) << p.img->name;
        EXPECT_FLOAT_EQ(p.img->h, p.h) << p.img->name;
    }

    // Each piece draws only its own part of the picture.
    gui::DrawImg(cancel, 2, 2);
    EXPECT_TRUE(Blue(2, 2));
    EXPECT_TRUE(Blue(41, 21));
    EXPECT_TRUE(Dark(42, 10));
    EXPECT_TRUE(Dark(10, 22));
    // The piece's own scale multiplies the current one, which comes back.
    ok->drawScale = 2;
    platform::SetScale(0.5f, 1);
    gui::DrawImg(ok, 50, 2);
    EXPECT_FLOAT_EQ(platform::ScaleX(), 0.5f);
    EXPECT_TRUE(Red(89, 2));
    EXPECT_TRUE(Red(50, 41));
    EXPECT_TRUE(Dark(91, 2));
    EXPECT_TRUE(lines_.empty());
}

TEST_F(Images, BadAtlasEntriesAreRejectedWithTheirLine)
{
    gui::PImg good = gui::LoadImg(kBroken + "|good");
    gui::PImg wide = gui::LoadImg(kBroken + "|wide");
    gui::PImgTexture atlas = gui::FindTexture(kBroken);
    ASSERT_TRUE(atlas);
    ASSERT_EQ(atlas->imgs.size(), 1u);
    EXPECT_EQ(atlas->imgs[0], good);
    const std::string list = kDir + "broken.txt";
    EXPECT_EQ(LinesWith(list + ":7: piece WIDE (20, 0, 16, 16) lies outside the picture of 32x16"), 1);
    EXPECT_EQ(LinesWith(list + ":12: piece \"Wordy\""), 1);
    EXPECT_EQ(LinesWith(list + ":17: incomplete"), 1);
    // The rejected piece is an empty handle that draws nothing.
    ASSERT_TRUE(wide);
    EXPECT_FLOAT_EQ(gui::ImgWidth(wide), 0);
    gui::DrawImg(wide, 0, 0);
    EXPECT_TRUE(Dark(0, 0));
    gui::DrawImg(good, 0, 0);
    EXPECT_TRUE(Is(15, 15, 30, 200, 30));
}

TEST_F(Images, MissingAtlasIsReportedOnceAndItsPiecesDrawNothing)
{
    const std::string path = kDir + "no-such-atlas.png";
    const int quads = platform::CurrentFrameStats().quads;
    gui::PImg a = gui::LoadImg(path + "|Ok");
    gui::PImg b = gui::LoadImg(path + "|Cancel");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], "TEXTURE FILE NOT FOUND: " + path);
    ASSERT_TRUE(gui::FindTexture(path));
    EXPECT_TRUE(gui::FindTexture(path)->imgs.empty());
    ASSERT_TRUE(a && b);
    gui::DrawImg(a, 0, 0);
    gui::DrawImg(b, 0, 0);
    EXPECT_EQ(platform::CurrentFrameStats().quads, quads);
}

TEST_F(Images, DeferredAtlasLoadsItsPictureAtTheFirstDraw)
{
    gui::PImg cancel = gui::LoadImg(kButtons + "|Cancel", -1, false, true);
    gui::PImgTexture atlas = gui::FindTexture(kButtons);
    ASSERT_TRUE(atlas && cancel);
    EXPECT_FALSE(atlas->img);
    EXPECT_EQ(atlas->myUrl, kButtons);
    EXPECT_FLOAT_EQ(cancel->w, 40); // the list is read at once
    gui::DrawImg(cancel, 0, 0);
    EXPECT_TRUE(atlas->img);
    EXPECT_TRUE(Blue(0, 0));
}

TEST_F(Images, QueuedAtlasChecksItsPiecesWhenThePictureArrives)
{
    const size_t before = QueuedResourceCount();
    gui::PImg wide = gui::LoadImg(kBroken + "|Wide", -1, true, false);
    gui::PImgTexture atlas = gui::FindTexture(kBroken);
    ASSERT_TRUE(atlas && wide);
    EXPECT_EQ(QueuedResourceCount(), before + 1);
    EXPECT_FALSE(atlas->img);
    EXPECT_EQ(atlas->imgs.size(), 2u); // the picture's size is not known yet
    EXPECT_EQ(LinesWith("lies outside"), 0);

    LoadQueuedResources();
    ASSERT_TRUE(atlas->img);
    EXPECT_EQ(LinesWith(kDir + "broken.txt:7: piece WIDE"), 1);
    EXPECT_EQ(atlas->imgs.size(), 1u);
    EXPECT_FLOAT_EQ(gui::ImgWidth(wide), 0); // the handle given out earlier now draws nothing
    EXPECT_TRUE(boxes_.empty());
}

} // namespace
