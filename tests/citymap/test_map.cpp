// The city map model: the catalogue, the start map, purchases (hide and show
// lists, removals), what a map saves in the middle of a fade, loading, and
// the map's motion.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/platform/core/system.h"
#include "citymap/map.h"
#include "datafiles/blockfile.h"
#include "fx/timing.h"
#include "support/mapcatalogue.h"

namespace {

using citymap::MapCatalogue;
using citymap::MapEvents;
using citymap::TMap;
using citymap::TMapObject;
using testsupport::MapObjectBlock;

class MapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fx::SetAppClockSource([this] { return now; });
        fx::SetFrameFactorSource([] { return 1.0f; });
        MapEvents() = citymap::TMapEvents{};
        MapEvents().BuildingShown = [this](int id, bool) { shown.push_back(id); };
        MapEvents().BuildingHidden = [this](int id) { hidden.push_back(id); };
        platform::SetLogSink([this](const std::string& l) { console.push_back(l); });
        // 514 and 1001 stand on the start map; 4 is an eyesore bought away
        // (showing 41 in its place); 1 replaces 81 and brings 51 and the
        // background set 3; 81 names its replacement before it is defined.
        testsupport::LoadMapCatalogueText(
            MapObjectBlock("MAPOBJECT", 514, 0) + MapObjectBlock("MAPOBJECT", 1001, 100) +
            MapObjectBlock("MAPOBJECT", 81, 300) +
            MapObjectBlock("BUILDOBJECT", 4, 400, "\tIsExistReversed = 1\n\tShowObjects = \"41\"\n") +
            MapObjectBlock("BUILDOBJECT", 1, 1500,
                           "\tHideObjects = \"81 0 x 777\"\n\tShowObjects = \"51\"\n\tBackgroundIndex = 3\n") +
            MapObjectBlock("EXTOBJECT", 41, 400) + MapObjectBlock("EXTOBJECT", 51, 1600) +
            "MapObject{\n\tType = \"HOUSE\"\n\tId = 60\n}\n");
    }
    void TearDown() override
    {
        fx::SetAppClockSource(nullptr);
        fx::SetFrameFactorSource(nullptr);
        platform::SetLogSink(nullptr);
        MapEvents() = citymap::TMapEvents{};
    }

    TMapObject* O(int id) const { return MapCatalogue().Find(id); }
    // Frames of 1/60 s, drawing the map each time.
    void Frames(TMap& map, int n)
    {
        for (int i = 0; i < n; ++i) {
            now += 16;
            map.Draw();
        }
    }
    // A start map of 514, 1001, 81 and 4 (as the real start list holds them).
    TMap StartLike()
    {
        TMap map;
        map.Load(*ParseBlockText("Objects = \"514 1001 81 4\"\n", "Map"));
        return map;
    }
    static void Buy(TMap& map, TMapObject* o) { map.ApplyPurchase(o); }

    int64_t now = 1000;
    std::vector<int> shown, hidden;
    std::vector<std::string> console;
};

TEST_F(MapTest, TheCatalogueReadsKindsLayersListsAndReportsWhatItSkips)
{
    ASSERT_EQ(MapCatalogue().Objects.size(), 8u);
    EXPECT_EQ(O(514)->Layer, 0);
    EXPECT_EQ(O(51)->Layer, 6);
    EXPECT_EQ(O(4)->GetType(), "BuildObject");
    EXPECT_EQ(O(41)->GetType(), "ExtObject");
    EXPECT_EQ(O(514)->BackGroundIndex, -1) << "no key: no change of background";
    EXPECT_EQ(O(1)->BackGroundIndex, 3);
    ASSERT_EQ(O(1)->HideObjects.size(), 1u) << "0, a word and an unknown id are skipped";
    EXPECT_EQ(O(1)->HideObjects[0], O(81));
    ASSERT_EQ(O(4)->ShowObjects.size(), 1u) << "a list may name a later object";
    EXPECT_EQ(O(4)->ShowObjects[0], O(41));
    ASSERT_EQ(O(1)->DrawObjects.size(), 1u);
    EXPECT_EQ(O(1)->DrawObjects[0]->x, 1500);

    std::vector<std::string> issues;
    for (const auto& i : MapCatalogue().Issues)
        issues.push_back(i.where + ": " + i.message);
    auto has = [&](const std::string& part) {
        return std::any_of(issues.begin(), issues.end(),
                           [&](const std::string& l) { return l.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(has("MapObject 5::HideObjects: \"x\" is not an id"));
    EXPECT_TRUE(has("MapObject 5::HideObjects: no map object has the id 777"));
    EXPECT_TRUE(has("MapObject 8::Type: unknown kind \"HOUSE\""));
    EXPECT_TRUE(has("map object 60 has no draw object"));
    EXPECT_FALSE(console.empty()) << "the game reports them on the console";
}

TEST_F(MapTest, TheStartMapShowsItsObjectsAtOnceWithoutEvents)
{
    TMap map;
    map.MakeMeStartMap();
    // Of the start ids only 514, 1001, 81 and 4 are in this catalogue.
    EXPECT_EQ(map.GetObjectsString(), "514 1001 81 4");
    EXPECT_EQ(map.Mx, TMap::kMaxX);
    Frames(map, 400);
    EXPECT_TRUE(shown.empty()) << "objects already standing fire no 'shown' event";
    EXPECT_FALSE(map.isSomethingBuildNow());
}

TEST_F(MapTest, APurchaseSavesItsFinalStateAtOnceAndFadesAfterwards)
{
    TMap map = StartLike();
    Buy(map, O(1));
    // Saved in the middle of the fades: 81 is already gone, 1 and 51 are there.
    EXPECT_EQ(map.GetObjectsString(), "514 1001 4 1 51");
    EXPECT_TRUE(map.isSomethingBuildNow());
    EXPECT_TRUE(map.isPresent(O(81))) << "still on the map while it fades out";

    Frames(map, 401); // 0.0025 per frame: 400 frames to fade
    EXPECT_FALSE(map.isPresent(O(81)));
    EXPECT_EQ(hidden, (std::vector<int>{81}));
    EXPECT_TRUE(shown.empty()) << "'shown' comes two seconds after the fade";
    Frames(map, 130);
    EXPECT_EQ(shown, (std::vector<int>{1, 51}));
    Frames(map, 200);
    EXPECT_EQ(shown.size(), 2u) << "each event fires once";
    EXPECT_FALSE(map.isSomethingBuildNow());
}

TEST_F(MapTest, ARemovalLeavesTheSavedMapAtOnceAndTheDrawnMapWhenFaded)
{
    TMap map = StartLike();
    EXPECT_FALSE(map.isObject_ForPowerUp(4));
    Buy(map, O(4));
    EXPECT_EQ(map.GetObjectsString(), "514 1001 81 41");
    EXPECT_TRUE(map.isPresent(O(4)));
    EXPECT_FALSE(map.isObject(O(4))) << "a reversed object is never 'an object' of the map";
    Frames(map, 401);
    EXPECT_FALSE(map.isPresent(O(4)));
    EXPECT_TRUE(map.isObject_ForPowerUp(4)) << "gone: it was bought";
    EXPECT_EQ(hidden, (std::vector<int>{4}));

    // Loaded again from what was saved, the eyesore never comes back.
    TMap again;
    again.Load(*ParseBlockText("Objects = \"" + map.GetObjectsString() + "\"\n", "Map"));
    EXPECT_FALSE(again.isPresent(O(4)));
}

TEST_F(MapTest, LeavingTheScreenMidFadeEndsTheFadesWithoutEvents)
{
    TMap map = StartLike();
    Buy(map, O(1));
    Frames(map, 50);
    map.SettleFades();
    EXPECT_FALSE(map.isPresent(O(81)));
    EXPECT_FALSE(map.isSomethingBuildNow());
    EXPECT_EQ(O(1)->DrawObjects[0]->Alpha, 1.0f);
    Frames(map, 300);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(hidden.empty());
}

TEST_F(MapTest, FinishBuildingEndsEveryFadeWithItsEvent)
{
    TMap map = StartLike();
    Buy(map, O(1));
    Frames(map, 10);
    map.FinishBuilding();
    EXPECT_FALSE(map.isPresent(O(81)));
    EXPECT_EQ(hidden, (std::vector<int>{81}));
    EXPECT_EQ(shown, (std::vector<int>{1, 51}));
    EXPECT_FALSE(map.isSomethingBuildNow());
}

TEST_F(MapTest, LoadingFollowsTheCatalogueAndIgnoresRepeatsAndUnknownIds)
{
    TMap map;
    map.Load(*ParseBlockText("Etap = 3\nObjects = \"51 4 4 999 x 514\"\n", "Map"));
    EXPECT_EQ(map.GetObjectsString(), "514 4 51");
    EXPECT_EQ(map.Etap, 3);
    TMap bad;
    bad.Load(*ParseBlockText("Etap = 12\n", "Map"));
    EXPECT_EQ(bad.Etap, 7) << "a chapter past the last is the last";
    EXPECT_TRUE(bad.Objects.empty());

    TBlockFile out;
    map.Save(out);
    EXPECT_EQ(BlockFileText(out), "Etap = 3\nObjects = \"514 4 51\"\n");
}

TEST_F(MapTest, CentringAndScrollingStayOnTheMap)
{
    // On the map screen itself: no automatic panning.
    MapEvents().MapScreenIsCurrent = [] { return true; };
    struct Case {
        float x, target;
    };
    for (const Case c : {Case{100, -171}, Case{1500, -853}, Case{900, -388}}) {
        TMap map;
        map.CenterAt(c.x);
        EXPECT_EQ(map.dmX, c.target) << c.x;
        Frames(map, 105);
        EXPECT_NEAR(map.Mx, c.target, 0.01f) << c.x;
        EXPECT_EQ(map.dmX, TMap::kNoTarget);
    }
    TMap map;
    map.Scroll(8);
    EXPECT_EQ(map.Mx, TMap::kMaxX);
    for (int i = 0; i < 200; ++i)
        map.Scroll(-8);
    EXPECT_EQ(map.Mx, TMap::kMinX);
}

TEST_F(MapTest, BehindTheMenuTheMapPansToOneEndWaitsAndPansBack)
{
    TMap map;
    map.Reset();
    // 682 pixels at 0.35 a frame: about 1949 frames to the left end.
    Frames(map, 1960);
    EXPECT_EQ(map.Mx, TMap::kMinX);
    EXPECT_EQ(map.AutoState, 1);
    Frames(map, 150); // still waiting its three seconds
    EXPECT_EQ(map.Mx, TMap::kMinX);
    Frames(map, 60);
    EXPECT_GT(map.Mx, TMap::kMinX) << "on its way back";
    EXPECT_EQ(map.AutoState, 2);

    // A manual scroll skips the next automatic step; the map screen stops it.
    MapEvents().MapScreenIsCurrent = [] { return true; };
    const float mx = map.Mx;
    Frames(map, 10);
    EXPECT_EQ(map.Mx, mx);
}

} // namespace
