// Keyframe tracks and transforms: segment search, curves, easing, sorting,
// splitting, copies and text forms.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fx/tracks.h"

namespace {

TTrack ThreeKeyLine()
{
    // keys at 0, 0.5 and 1 with x = 0, 100, 300 and y = x / 10
    return CreateTrack({CreatePointDim(0, 0, 0), CreatePointDim(100, 10, 0.5f), CreatePointDim(300, 30, 1)});
}

TEST(TrackSearch, SegmentTable)
{
    const TTrack track = ThreeKeyLine();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float pos;
        float x;   // interpolated x
        int start; // index of the segment's start key
        float t;
    } cases[] = {
        {-0.5f, 300, 2, 1}, // before the first key: the last key
        {0.0f, 0, 0, 0},    // on the first key
        {0.25f, 50, 0, 0.5f},
        {0.5f, 100, 1, 0},  // on an inner key: the segment that starts there
        {0.75f, 200, 1, 0.5f},
        {1.0f, 300, 2, 1},  // on the last key
        {2.0f, 300, 2, 1},  // after the last key
        {nan, 300, 2, 1},
    };
    for (const Case& c : cases) {
        TSegment<TDim> seg;
        ASSERT_TRUE(track.FindTwo(c.pos, seg));
        EXPECT_EQ(seg.a, &track.dim[static_cast<size_t>(c.start)]) << "pos " << c.pos;
        EXPECT_FLOAT_EQ(seg.t, c.t) << "pos " << c.pos;
        const TDim d = track.GetDim(c.pos);
        EXPECT_FLOAT_EQ(d.x, c.x) << "pos " << c.pos;
        EXPECT_FLOAT_EQ(d.y, c.x / 10) << "pos " << c.pos;
    }
}

TEST(TrackSearch, TwoKeysAtZeroBecomeZeroToOne)
{
    const TTrack track = CreateTrack({CreatePointDim(0, 0, 0), CreatePointDim(100, 50, 0)});
    EXPECT_EQ(track.dim[1].position, 1);
    const TDim d = track.GetDim(0.5f);
    EXPECT_FLOAT_EQ(d.x, 50);
    EXPECT_FLOAT_EQ(d.y, 25);
    EXPECT_FLOAT_EQ(d.position, 0.5f);

    // Only the two-key case is adjusted; keys are neither sorted nor moved otherwise.
    const TTrack three = CreateTrack({CreatePointDim(0, 0, 0), CreatePointDim(1, 1, 0), CreatePointDim(2, 2, 0)});
    EXPECT_EQ(three.dim[1].position, 0);
}

TEST(TrackSearch, LineInterpolatesSize)
{
    const TTrack track = CreateTrack({CreateDim(0, 0, 10, 20, 0), CreateDim(0, 0, 30, 60, 1)});
    const TDim d = track.GetDim(0.5f);
    EXPECT_FLOAT_EQ(d.w, 20);
    EXPECT_FLOAT_EQ(d.h, 40);
}

TEST(TrackSearch, SingleKeyIsReturnedWhole)
{
    TDim key = CreateDim(7, 8, 9, 10, 0.3f, 1, 2, 3, 4);
    key.isBezier = 2;
    const TTrack track = CreateTrack({key});
    for (float pos : {-1.0f, 0.0f, 0.3f, 5.0f}) {
        const TDim d = track.GetDim(pos);
        EXPECT_EQ(d.ToString(), DimFromString(key.ToString()).ToString()) << "pos " << pos;
        EXPECT_EQ(d.isSplaszczenie, 0); // not copied from the key
    }
}

TEST(TrackSearch, EmptyTrackAnswersDefaults)
{
    const TTrack track = TrackFromString("");
    EXPECT_TRUE(track.dim.empty());
    TSegment<TDim> seg;
    EXPECT_FALSE(track.FindTwo(0.5f, seg));
    EXPECT_EQ(track.GetDim(0.5f).ToString(), TDim().ToString());
    TDim d = CreateDim(1, 2, 3, 4, 0.5f);
    track.PutDim(d, 0.9f);
    EXPECT_EQ(d.ToString(), CreateDim(1, 2, 3, 4, 0.5f).ToString());

    const TTransform tr = TransformFromString("");
    EXPECT_TRUE(tr.tfr.empty());
    const TTFR t = tr.GetTfr(0.5f);
    EXPECT_EQ(t.sx, 1);
    EXPECT_EQ(t.sy, 1);
    EXPECT_EQ(t.Rotation, 0);
    float sx = 5, sy = 6, rot = 7;
    tr.PutToVar(sx, sy, rot, 0.5f);
    tr.PutSolidToVar(sx, sy, rot, 0.5f);
    EXPECT_EQ(sx, 5);
    EXPECT_EQ(sy, 6);
    EXPECT_EQ(rot, 7);
}

TEST(TrackCurves, QuadraticAndCubicSegments)
{
    EXPECT_FLOAT_EQ(QuadBezier(0, 0, 100, 0.5f), 50);
    EXPECT_FLOAT_EQ(CubicBezier(0, 100, 0, 100, 0.5f), 50);
    EXPECT_FLOAT_EQ(QuadBezier(3, 9, 40, 0), 3);
    EXPECT_FLOAT_EQ(QuadBezier(3, 9, 40, 1), 9);
    EXPECT_FLOAT_EQ(CubicBezier(3, 9, 40, -40, 0), 3);
    EXPECT_FLOAT_EQ(CubicBezier(3, 9, 40, -40, 1), 9);

    TDim quadStart = CreateDim(0, 0, 0, 0, 0, 50, 100);
    quadStart.isBezier = CURVE_QUAD;
    const TTrack quad = CreateTrack({quadStart, CreatePointDim(100, 0, 1)});
    TDim d = CreateDim(0, 0, 11, 12);
    quad.PutDim(d, 0.5f);
    EXPECT_FLOAT_EQ(d.x, 50);
    EXPECT_FLOAT_EQ(d.y, 50);
    EXPECT_EQ(d.w, 11); // curves leave the size alone
    EXPECT_EQ(d.h, 12);

    TDim cubicStart = CreateDim(0, 0, 0, 0, 0, 0, 100, 100, 100);
    cubicStart.isBezier = CURVE_CUBIC;
    const TTrack cubic = CreateTrack({cubicStart, CreatePointDim(100, 0, 1)});
    const TDim c = cubic.GetDim(0.5f);
    EXPECT_FLOAT_EQ(c.x, 50);
    EXPECT_FLOAT_EQ(c.y, 75);

    // The curve belongs to the start key: the following segment is straight.
    const TTrack mixed = CreateTrack({quadStart, CreatePointDim(100, 0, 0.5f), CreatePointDim(200, 0, 1)});
    EXPECT_FLOAT_EQ(mixed.GetDim(0.75f).y, 0);
    EXPECT_FLOAT_EQ(mixed.GetDim(0.25f).y, 50);

    // An unknown curve code leaves the coordinates as they were.
    TDim odd = CreatePointDim(0, 0, 0);
    odd.isBezier = 9;
    const TTrack unknown = CreateTrack({odd, CreatePointDim(100, 100, 1)});
    TDim u = CreatePointDim(-5, -6);
    unknown.PutDim(u, 0.5f);
    EXPECT_EQ(u.x, -5);
    EXPECT_EQ(u.y, -6);
    EXPECT_EQ(u.position, 0.5f);
}

TEST(TrackCopy, CopyStraightensCurves)
{
    TDim start = CreateDim(0, 0, 0, 0, 0, 50, 100);
    start.isBezier = CURVE_QUAD;
    const TTrack quad = CreateTrack({start, CreatePointDim(100, 0, 1)});
    const TTrack copy = quad.Copy();
    ASSERT_EQ(copy.dim.size(), 2u);
    EXPECT_FLOAT_EQ(copy.GetDim(0.5f).y, 0);
    EXPECT_FLOAT_EQ(copy.GetDim(0.5f).x, 50);
    EXPECT_FLOAT_EQ(quad.GetDim(0.5f).y, 50); // the original is untouched

    TTFR eased = CreateTFR(1, 1, 0, 0);
    eased.isSplaszczenie = EASE_SIN180;
    const TTransform tr = CreateTransform({eased, CreateTFR(2, 2, 90, 1)});
    EXPECT_FLOAT_EQ(tr.Copy().GetTfr(0.5f).sx, 1.5f);
}

TEST(TrackEdit, SortPutInSplitInRemove)
{
    TTrack track;
    track.PutIn(CreatePointDim(300, 0, 1));
    track.PutIn(CreatePointDim(0, 0, 0));
    track.PutIn(CreatePointDim(100, 0, 0.5f));
    ASSERT_EQ(track.dim.size(), 3u);
    EXPECT_EQ(track.dim[0].x, 0);
    EXPECT_EQ(track.dim[1].x, 100);
    EXPECT_EQ(track.dim[2].x, 300);

    // Positions closer than a thousandth count as equal and keep their order.
    track.PutIn(CreatePointDim(101, 0, 0.5004f));
    EXPECT_EQ(track.dim[1].x, 100);
    EXPECT_EQ(track.dim[2].x, 101);
    track.RemoveDim(2);

    TDim& split = track.SplitIn(0.75f);
    EXPECT_FLOAT_EQ(split.x, 200);
    EXPECT_FLOAT_EQ(split.position, 0.75f);
    ASSERT_EQ(track.dim.size(), 4u);
    EXPECT_FLOAT_EQ(track.dim[2].x, 200);
    // The split point does not change the path.
    EXPECT_FLOAT_EQ(track.GetDim(0.625f).x, 150);
    EXPECT_FLOAT_EQ(track.GetDim(0.875f).x, 250);

    track.RemoveDim(99); // out of range: nothing
    EXPECT_EQ(track.dim.size(), 4u);
    track.RemoveDim(0);
    EXPECT_EQ(track.dim.front().x, 100);
    track.Free();
    EXPECT_TRUE(track.dim.empty());

    TTransform tr = CreateTransform({CreateTFR(1, 1, 0, 0), CreateTFR(3, 5, 100, 1)});
    TTFR& mid = tr.SplitIn(0.5f);
    EXPECT_FLOAT_EQ(mid.Position, 0.5f);
    EXPECT_FLOAT_EQ(mid.sx, 2);
    ASSERT_EQ(tr.tfr.size(), 3u);
    EXPECT_FLOAT_EQ(tr.tfr[1].Rotation, 50);
    tr.AddTFR(CreateTFR(9, 9, 9, 0.25f));
    EXPECT_EQ(tr.tfr[1].sx, 9);
    tr.RemoveTFR(1);
    EXPECT_EQ(tr.tfr.size(), 3u);
}

TEST(TransformEasing, EasedSegments)
{
    TTFR start = CreateTFR(1, 1, 0, 0);
    start.isSplaszczenie = EASE_SIN180;
    const TTransform tr = CreateTransform({start, CreateTFR(2, 3, 90, 0)});
    EXPECT_EQ(tr.tfr[1].Position, 1);

    struct Case {
        float pos;
        float sx;
    } cases[] = {
        {0.0f, 1.0f},
        {0.5f, 2.0f}, // the end key is reached half way ...
        {1.0f, 2.0f}, // at the end key's own position the last key applies
    };
    for (const Case& c : cases)
        EXPECT_NEAR(tr.GetTfr(c.pos).sx, c.sx, 1e-5f) << "pos " << c.pos;
    // ... and the value falls back toward the start key.
    const float late = tr.GetTfr(0.9f).sx;
    const float later = tr.GetTfr(0.99f).sx;
    EXPECT_LT(later, late);
    EXPECT_LT(later, 1.1f);

    // PutTfr leaves Position alone; PutToVar fills three variables.
    TTFR into = CreateTFR(0, 0, 0, 0.123f);
    tr.PutTfr(into, 0.5f);
    EXPECT_FLOAT_EQ(into.Position, 0.123f);
    EXPECT_NEAR(into.sy, 3, 1e-5f);
    float sx = 0, sy = 0, rot = 0;
    tr.PutToVar(sx, sy, rot, 0.5f);
    EXPECT_NEAR(rot, 90, 1e-4f);

    TTFR cosStart = CreateTFR(1, 1, 0, 0);
    cosStart.isSplaszczenie = EASE_COS90;
    const TTransform back = CreateTransform({cosStart, CreateTFR(2, 2, 0, 1)});
    EXPECT_NEAR(back.GetTfr(0.0f).sx, 2, 1e-6f); // starts at the end key
    EXPECT_NEAR(back.GetTfr(0.999f).sx, 1, 1e-2f);
}

TEST(TransformEasing, SolidValuesAreTheSegmentStart)
{
    const TTransform tr =
        CreateTransform({CreateTFR(1, 1, 10, 0), CreateTFR(2, 2, 20, 0.5f), CreateTFR(3, 3, 30, 1)});
    struct Case {
        float pos;
        float sx;
    } cases[] = {{0.0f, 1}, {0.49f, 1}, {0.5f, 2}, {0.99f, 2}, {1.0f, 3}, {-1.0f, 3}};
    for (const Case& c : cases) {
        float sx = 0, sy = 0, rot = 0;
        tr.PutSolidToVar(sx, sy, rot, c.pos);
        EXPECT_EQ(sx, c.sx) << "pos " << c.pos;
        EXPECT_EQ(rot, c.sx * 10) << "pos " << c.pos;
    }
    // A single key gives its own values, Position included.
    const TTransform one = CreateTransform({CreateTFR(4, 5, 6, 0.7f)});
    const TTFR t = one.GetTfr(0.1f);
    EXPECT_EQ(t.sy, 5);
    EXPECT_FLOAT_EQ(t.Position, 0.7f);
}

TEST(TrackText, RoundTripAndSeparators)
{
    TDim start = CreateDim(1, 2, 3, 4, 0, 5, 6, 7, 8);
    start.isBezier = 2;
    const TTrack track = CreateTrack({start, CreatePointDim(10, 20, 1)});
    const std::string text = track.ToString();
    EXPECT_EQ(std::count(text.begin(), text.end(), '|'), 1);
    EXPECT_EQ(std::count(text.begin(), text.end(), ','), 20);
    const TTrack back = TrackFromString(text);
    ASSERT_EQ(back.dim.size(), 2u);
    EXPECT_EQ(back.ToString(), text);
    EXPECT_FLOAT_EQ(back.GetDim(0.5f).x, track.GetDim(0.5f).x);

    // Keys are read as they stand, not sorted; short keys keep defaults.
    const TTrack loose = TrackFromString("5,6|1,2,0,0,0,0,0,0,0.5");
    ASSERT_EQ(loose.dim.size(), 2u);
    EXPECT_EQ(loose.dim[0].x, 5);
    EXPECT_EQ(loose.dim[1].position, 0.5f);

    const TTransform tr = CreateTransform({CreateTFR(1, 2, 3, 0), CreateTFR(4, 5, 6, 1)});
    EXPECT_EQ(tr.ToString(), "1.00000000,2.00000000,3.00000000,0.00000000,0#"
                             "4.00000000,5.00000000,6.00000000,1.00000000,0");
    EXPECT_EQ(TransformFromString(tr.ToString()).ToString(), tr.ToString());
}

} // namespace
