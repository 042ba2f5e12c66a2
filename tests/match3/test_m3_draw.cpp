// Board drawing on pixels of a headless software display: floors under chips,
// obstacles over chips, frame pieces under chips, and kinds or frames without
// pictures drawing nothing.
#include <unistd.h>

#include "app/platform/platform.h"
#include "m3_support.h"
#include "match3/m3boardview.h"
#include "support/headless.h"

using namespace match3;

namespace {

std::vector<uint8_t> Fill(int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    std::vector<uint8_t> px(static_cast<size_t>(w * h * 4));
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i] = r;
        px[i + 1] = g;
        px[i + 2] = b;
        px[i + 3] = 255;
    }
    return px;
}

gui::PImg Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    auto img = std::make_shared<gui::TImg>();
    img->SetLoadedImage(platform::CreateImage(w, h, Fill(w, h, r, g, b)));
    gui::MidHandleImg(img);
    return img;
}

enum Colour { kRed, kGreen, kBlue, kWhite, kOther };

Colour At(int x, int y)
{
    const auto p = platform::ReadPixel(x, y);
    const bool r = p.r > 200, g = p.g > 200, b = p.b > 200;
    if (r && g && b)
        return kWhite;
    if (r && !g && !b)
        return kRed;
    if (g && !r && !b)
        return kGreen;
    if (b && !r && !g)
        return kBlue;
    return kOther;
}

} // namespace

class Drawing : public m3test::Board {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(256, 128);
    }
    static void TearDownTestSuite() { platform::Shutdown(); }

    void SetUp() override
    {
        Board::SetUp();
        platform::SetRasterising(true);
        platform::SetVirtualResolution(256, 128, 0);
        platform::ResetDrawState();
        platform::SetClearColor(0, 0, 0);
        platform::Cls();
        G().GetTileDataById(1)->gfx = Solid(72, 72, 255, 0, 0);
        for (int id : {1, 2})
            G().GetChipDataById(id)->gfx = {Solid(40, 40, 0, 255, 0)};
        G().GetObstacleById(4)->gfx = Solid(16, 16, 0, 0, 255);
        Load("1 2@4 .");
        d.Level()->mx = 60;
        d.Level()->my = 60;
        G().Calculate();
    }
    void Draw()
    {
        platform::Cls();
        view.Draw();
    }
    TM3BoardView view{&G()};
};

TEST_F(Drawing, LayersInBoardOrder)
{
    Draw();
    struct Probe {
        int x, y;
        Colour want;
        const char* what;
    } probes[] = {
        {60, 60, kGreen, "chip over its floor"},
        {90, 60, kRed, "floor around the chip"},
        {132, 60, kBlue, "obstacle over the chip"},
        {147, 60, kGreen, "chip around the obstacle"},
        {204, 60, kRed, "empty floor"},
        {60, 110, kOther, "below the board"},
    };
    for (const auto& p : probes)
        EXPECT_EQ(At(p.x, p.y), p.want) << p.what;
}

TEST_F(Drawing, MissingFramesAndPicturelessKindsDrawNothing)
{
    TM3Chip* chip = T(0, 0)->GetMyChip();
    chip->actFrame = 5;
    Draw();
    EXPECT_EQ(At(60, 60), kRed) << "a frame beyond the kind's pictures";
    chip->actFrame = -1;
    Draw();
    EXPECT_EQ(At(60, 60), kRed) << "a negative frame";
    chip->actFrame = 0;
    chip->ChangeInto_NOW(G().GetChipDataById(3)); // the fixture kind has no pictures
    Draw();
    EXPECT_EQ(At(60, 60), kRed);
    // A morph from a kind with pictures into one without shows the old kind fading.
    T(0, 0)->SetChip(G().CreateChipById(1));
    T(0, 0)->GetMyChip()->ChangeInto(G().GetChipDataById(3));
    Draw();
    EXPECT_EQ(At(60, 60), kGreen);
}

TEST_F(Drawing, FramePiecesLieUnderTheChips)
{
    auto sheet = platform::CreateImage(80 * 24, 80, Fill(80 * 24, 80, 255, 255, 255));
    ASSERT_TRUE(sheet->SetFrames(80, 80, 0, 24));
    platform::MidHandle(sheet);
    G().borderImage = sheet;
    Draw();
    EXPECT_EQ(At(22, 60), kWhite) << "the frame reaches beyond the cell";
    EXPECT_EQ(At(60, 60), kGreen) << "chips are drawn over the frame";
    EXPECT_EQ(At(132, 60), kBlue) << "obstacles too";
}
