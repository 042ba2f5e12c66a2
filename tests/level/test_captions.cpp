// Level captions on a fixed clock, and the still backgrounds' data files.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "citymap/backgrounds.h"
#include "level/captions.h"

using namespace level;

TEST(Captions, BeginCaptionsTimingAndGoSoundOnce)
{
    const int64_t t0 = 10000;
    TCaptionList list;
    list.Add(std::make_shared<TBeginCaption>(t0));
    auto go = std::make_shared<TBeginGoCaption>(t0);
    int sounds = 0;
    int64_t soundAt = 0;
    int64_t now = t0;
    go->playSound = [&](int id) {
        EXPECT_EQ(id, 20);
        ++sounds;
        soundAt = now;
    };
    list.Add(go);
    int64_t readyGone = 0, goGone = 0;
    float readyStartX = 0;
    for (; now <= t0 + 6000; now += 16) {
        list.UpdateAndDraw(now, 1, false);
        if (now < t0 + 750) {
            EXPECT_FALSE(list.items[0]->begun) << "get ready ran early";
        }
        if (readyStartX == 0 && list.items.size() == 2 && list.items[0]->BeginTime != 0)
            readyStartX = list.items[0]->x;
        const bool hasReady = std::any_of(list.items.begin(), list.items.end(),
                                          [](const PCaption& c) { return c->n == kCapGetReady; });
        const bool hasGo = std::any_of(list.items.begin(), list.items.end(),
                                       [](const PCaption& c) { return c->n == kCapGo; });
        if (!hasReady && !readyGone)
            readyGone = now;
        if (!hasGo && !goGone)
            goGone = now;
    }
    EXPECT_EQ(sounds, 1);
    // The go caption starts 3 s after the level begins and stops spinning in
    // at half of its 2 s.
    EXPECT_GE(soundAt, t0 + 4000);
    EXPECT_LT(soundAt, t0 + 4000 + 40);
    EXPECT_LT(readyStartX, 0) << "get ready slides in from the left";
    EXPECT_GE(readyGone, t0 + 750 + 3000);
    EXPECT_LT(readyGone, t0 + 750 + 3000 + 40);
    EXPECT_GE(goGone, t0 + 5000);
    EXPECT_TRUE(list.Empty());
}

TEST(Captions, EndCaptionsFade)
{
    struct Case {
        const char* what;
        PCaption caption;
        float alphaAtHalf;
        float alphaAtEnd;
    } cases[] = {
        {"time's up fades in and vanishes at full alpha", std::make_shared<TLoseCaption>(0), 0.7071f, 1.0f},
        {"no moves fades in and out", std::make_shared<TNoMovesCaption>(0), 1.0f, 0.0f},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        TCaptionList list;
        list.Add(c.caption);
        list.UpdateAndDraw(0, 1, false);
        EXPECT_FLOAT_EQ(c.caption->alpha, 0);
        list.UpdateAndDraw(c.caption->LifeTime / 2, 1, false);
        EXPECT_NEAR(c.caption->alpha, c.alphaAtHalf, 1e-3);
        list.UpdateAndDraw(c.caption->LifeTime, 1, false);
        EXPECT_NEAR(c.caption->alpha, c.alphaAtEnd, 1e-3);
        EXPECT_FALSE(list.Empty()) << "drawn once more at its end";
        list.UpdateAndDraw(c.caption->LifeTime + 16, 1, false);
        EXPECT_TRUE(list.Empty());
    }
}

TEST(Backgrounds, DataFileKindsAndFailures)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("velmora-bg-" + std::to_string(::getpid()));
    fs::create_directories(dir / "set");
    {
        std::ofstream f(dir / "set" / "Background.txt");
        f << "Objects {\n"
             "  IMAGE {\n    Url = \"back.jpg\"\n    Dim = 171, 20\n  }\n"
             "  WATERFALL {\n    Dim = 0, 0\n  }\n"
             "  image {\n    Url = \"sky.png\"\n    Speed = -0.5\n    BLEND = LightBlend\n  }\n"
             "}\n";
    }
    auto bg = citymap::CreateBackground((dir / "set").string());
    ASSERT_EQ(bg->Objects.size(), 2u);
    auto* first = dynamic_cast<citymap::TBackgroundImage*>(bg->Objects[0].get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Url, (dir / "set").string() + "/back.jpg");
    EXPECT_FLOAT_EQ(first->Dim.x, 0) << "x is measured from the wide area's left edge";
    EXPECT_FLOAT_EQ(first->Dim.y, 20);
    EXPECT_EQ(first->Blend, 3);
    auto* second = dynamic_cast<citymap::TBackgroundImage*>(bg->Objects[1].get());
    ASSERT_NE(second, nullptr);
    EXPECT_FLOAT_EQ(second->Speed, -0.5f);
    EXPECT_EQ(second->Blend, 4);
    ASSERT_EQ(bg->warnings.size(), 1u);
    EXPECT_NE(bg->warnings[0].find("WATERFALL"), std::string::npos) << bg->warnings[0];

    auto missing = citymap::CreateBackground((dir / "none").string());
    EXPECT_TRUE(missing->Objects.empty());
    ASSERT_FALSE(missing->warnings.empty());
    EXPECT_NE(missing->warnings[0].find("none/Background.txt"), std::string::npos) << missing->warnings[0];
    fs::remove_all(dir);
}
