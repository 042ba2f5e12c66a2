// The start-up splash on the virtual clock: which cards it finds, how each
// fades in, stays and fades out, how a click cuts a card short, and that its
// loop runs the automation's frame hooks and stops on a close request.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "menus/splash.h"
#include "menus_env.h"

namespace {

namespace fs = std::filesystem;
using menus::TSplash;

class SplashTest : public menustest::MenusEnv {
protected:
    void SetUp() override
    {
        MenusEnv::SetUp();
        dir = fs::temp_directory_path() / ("velmora_splash_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "Splash");
        app::SetGameDir(dir.string() + "/");
    }
    void TearDown() override
    {
        app::SetGameDir("Game/");
        fs::remove_all(dir);
        MenusEnv::TearDown();
    }

    // A w x h card of one colour.
    void Card(const std::string& name, int w, int h)
    {
        std::vector<uint8_t> rgba(static_cast<size_t>(w * h * 4), 200);
        ASSERT_TRUE(platform::WritePng((dir / "Splash" / name).string(), w, h, rgba));
    }

    // The splash's own update, one frame step each.
    void Steps(TSplash& s, int n)
    {
        for (int i = 0; i < n; ++i)
            s.Update();
    }
    // Steps until the card changes (at most `limit`); the number taken.
    int StepsUntilNextCard(TSplash& s, int limit = 1000)
    {
        const int card = s.actN;
        int n = 0;
        while (s.actN == card && n < limit) {
            s.Update();
            ++n;
        }
        return n;
    }

    fs::path dir;
};

TEST_F(SplashTest, CardsAreFoundAsPngOrElseJpegInNumberOrder)
{
    // Card 0 as a ".jpg" (the pack's credits backdrop, 1366 wide) and card
    // 2 as a ".png"; 1 is missing; 3 exists in both forms: the ".png" wins.
    fs::copy_file("Game/gfx/gui/credits/back.jpg", dir / "Splash" / "Splash0.jpg");
    Card("Splash2.png", 8, 6);
    Card("Splash3.png", 10, 4);
    fs::copy_file("Game/gfx/gui/credits/back.jpg", dir / "Splash" / "Splash3.jpg");
    Card("Splash5.png", 12, 12); // beyond the last number looked for
    TSplash s;
    s.Setup();
    ASSERT_EQ(s.images.size(), 3u);
    EXPECT_EQ(s.images[0]->Width(), 1366);
    EXPECT_EQ(s.images[1]->Width(), 8);
    EXPECT_EQ(s.images[2]->Width(), 10);
    EXPECT_EQ(s.images[1]->HandleX(), 4) << "cards are centred";
    EXPECT_EQ(s.images[1]->HandleY(), 3);
}

TEST_F(SplashTest, EachCardFadesInStaysThreeSecondsFromItsStartAndFadesOut)
{
    Card("Splash0.png", 8, 8);
    Card("Splash1.png", 8, 8);
    TSplash s;
    s.Setup();
    s.Start();
    // Twenty nominal frames of fade-in at 0.05 a frame.
    Steps(s, 10);
    EXPECT_NEAR(s.fade, 0.5f, 1e-4);
    Steps(s, 10);
    EXPECT_NEAR(s.fade, 0.0f, 1e-4);
    // The fade-out begins once 3000 ms have passed since the start (188
    // steps of 16 ms), and the next card comes twenty steps later.
    const int first = StepsUntilNextCard(s) + 20;
    EXPECT_GE(first, 188 + 20 - 1);
    EXPECT_LE(first, 188 + 20 + 1);
    EXPECT_EQ(s.actN, 1);
    EXPECT_NEAR(s.fade, 1.0f, 1e-4);
    EXPECT_EQ(s.dFade, 0) << "the second card fades in";
    EXPECT_FALSE(s.Over());
    // The last card: the same time, and then the splash is over.
    const int second = StepsUntilNextCard(s);
    EXPECT_NEAR(second, 208, 1);
    EXPECT_TRUE(s.Over());
}

TEST_F(SplashTest, AClickFadesTheCardOutAtOnceAndDuringTheFadeInTurnsTheFadeBack)
{
    Card("Splash0.png", 8, 8);
    Card("Splash1.png", 8, 8);
    struct Case {
        const char* what;
        int stepsBeforeClick;
        int stepsToNextCard; // after the click
    };
    const Case cases[] = {
        {"card fully shown", 60, 20},
        {"a quarter into the fade-in", 5, 5},
        {"at the very start", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TSplash s;
        s.Setup();
        s.Start();
        Steps(s, c.stepsBeforeClick);
        s.Click();
        EXPECT_NEAR(StepsUntilNextCard(s), c.stepsToNextCard, 1);
        EXPECT_EQ(s.actN, 1);
        EXPECT_EQ(s.dFade, 0) << "the next card is shown as usual";
    }
}

TEST_F(SplashTest, TheLoopRunsTheFrameHooksAndAClickFromTheInputEndsItEarly)
{
    Card("Splash0.png", 8, 8);
    Card("Splash1.png", 8, 8);
    int frames = 0, ends = 0;
    app::Control::GetHooks().beginFrame = [&] {
        ++frames;
        // A scripted click on the first card, once it is fully shown.
        if (frames == 30)
            platform::InjectMouseButton(platform::kMouseLeft, true);
        if (frames == 31)
            platform::InjectMouseButton(platform::kMouseLeft, false);
        // A splash that never ends is stopped as the frame limit would.
        if (frames == 2000)
            platform::InjectClose();
    };
    app::Control::GetHooks().endFrame = [&] { ++ends; };
    TSplash s;
    s.Setup();
    ASSERT_TRUE(s.Mainloop()) << "the splash did not end by itself";
    EXPECT_TRUE(s.Over());
    EXPECT_EQ(frames, ends) << "every frame is flipped and closed";
    // The click at frame 30 saves the first card's stay: 30 + 20 frames for
    // it, then the second card's full 208.
    EXPECT_NEAR(frames, 30 + 20 + 208, 2);
}

TEST_F(SplashTest, WithoutCardsTheLoopReturnsAtOnceAndACloseRequestStopsIt)
{
    int frames = 0;
    app::Control::GetHooks().beginFrame = [&] { ++frames; };
    TSplash none;
    none.Setup();
    EXPECT_TRUE(none.Mainloop());
    EXPECT_EQ(frames, 0);

    Card("Splash0.png", 8, 8);
    app::Control::GetHooks().beginFrame = [&] {
        if (++frames == 50)
            platform::InjectClose();
    };
    TSplash s;
    s.Setup();
    EXPECT_FALSE(s.Mainloop()) << "the window was asked to close";
    EXPECT_EQ(frames, 50);
}

} // namespace
