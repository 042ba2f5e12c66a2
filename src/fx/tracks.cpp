#include "fx/tracks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

float KeyPos(const TDim& d) { return d.position; }
float KeyPos(const TTFR& t) { return t.Position; }

template <class Key>
bool FindSegment(const std::vector<Key>& keys, float pos, TSegment<Key>& seg)
{
    seg = TSegment<Key>{};
    if (keys.empty())
        return false;
    for (size_t i = 0; i + 1 < keys.size(); ++i) {
        const float p0 = KeyPos(keys[i]);
        const float p1 = KeyPos(keys[i + 1]);
        if (p0 <= pos && pos < p1) {
            seg.a = &keys[i];
            seg.b = &keys[i + 1];
            seg.t = (pos - p0) / (p1 - p0);
            return true;
        }
    }
    seg.a = seg.b = &keys.back();
    seg.t = 1.0f;
    return true;
}

// Keys compare by their positions in thousandths, truncated, so positions
// closer than 0.001 count as equal and keep their order.
int64_t SortKey(float pos)
{
    if (std::isnan(pos))
        return 0;
    const double scaled = std::trunc(static_cast<double>(pos) * 1000.0);
    return static_cast<int64_t>(std::clamp(scaled, -9.0e15, 9.0e15));
}

template <class Key>
void SortKeys(std::vector<Key>& keys)
{
    std::stable_sort(keys.begin(), keys.end(),
                     [](const Key& l, const Key& r) { return SortKey(KeyPos(l)) < SortKey(KeyPos(r)); });
}

// Sorts the keys, then inserts key after every key that compares equal to it.
template <class Key>
Key& InsertSorted(std::vector<Key>& keys, const Key& key)
{
    SortKeys(keys);
    const auto at = std::upper_bound(keys.begin(), keys.end(), key, [](const Key& l, const Key& r) {
        return SortKey(KeyPos(l)) < SortKey(KeyPos(r));
    });
    return *keys.insert(at, key);
}

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

} // namespace

// ---- Curves ----

float QuadBezier(float a, float b, float c, float t) { return a + 2 * t * (c - a) + t * t * (a + b - 2 * c); }

float CubicBezier(float a, float b, float c1, float c2, float t)
{
    const float u = 1 - t;
    return a * u * u * u + 3 * c1 * t * u * u + 3 * c2 * t * t * u + b * t * t * t;
}

// ---- TTrack ----

bool TTrack::FindTwo(float pos, TSegment<TDim>& seg) const { return FindSegment(dim, pos, seg); }

TDim TTrack::GetDim(float pos) const
{
    TDim d;
    PutDim(d, pos);
    return d;
}

void TTrack::PutDim(TDim& d, float pos) const
{
    if (dim.empty())
        return;
    if (dim.size() == 1) {
        d.SetDataFromOtherDim(dim.front());
        return;
    }
    d.position = pos;
    TSegment<TDim> seg;
    FindTwo(pos, seg);
    const TDim& a = *seg.a;
    const TDim& b = *seg.b;
    const float t = seg.t;
    switch (a.isBezier) {
    case CURVE_LINE:
        d.x = Lerp(a.x, b.x, t);
        d.y = Lerp(a.y, b.y, t);
        d.w = Lerp(a.w, b.w, t);
        d.h = Lerp(a.h, b.h, t);
        break;
    case CURVE_QUAD:
        d.x = QuadBezier(a.x, b.x, a.x1, t);
        d.y = QuadBezier(a.y, b.y, a.y1, t);
        break;
    case CURVE_CUBIC:
        d.x = CubicBezier(a.x, b.x, a.x1, a.x2, t);
        d.y = CubicBezier(a.y, b.y, a.y1, a.y2, t);
        break;
    default: break; // unknown curve: coordinates left as they are
    }
}

void TTrack::PutIn(const TDim& key)
{
    dim.push_back(key);
    Sort();
}

TDim& TTrack::SplitIn(float pos)
{
    TDim key = GetDim(pos);
    key.position = pos;
    return InsertSorted(dim, key);
}

void TTrack::RemoveDim(size_t i)
{
    if (i < dim.size())
        dim.erase(dim.begin() + static_cast<std::ptrdiff_t>(i));
}

void TTrack::Sort() { SortKeys(dim); }

TTrack TTrack::Copy() const
{
    TTrack c;
    c.dim.reserve(dim.size());
    for (const TDim& d : dim)
        c.dim.push_back(d.Copy());
    return c;
}

std::string TTrack::ToString() const
{
    std::string out;
    for (size_t i = 0; i < dim.size(); ++i) {
        if (i)
            out += '|';
        out += dim[i].ToString();
    }
    return out;
}

void TTrack::FromString(std::string_view text)
{
    dim.clear();
    if (text.empty())
        return;
    for (std::string_view part : SplitFields(text, '|'))
        dim.push_back(DimFromString(part));
}

TTrack CreateTrack(std::vector<TDim> keys)
{
    if (keys.size() == 2 && keys[1].position == 0)
        keys[1].position = 1;
    TTrack track;
    track.dim = std::move(keys);
    return track;
}

TTrack TrackFromString(std::string_view text)
{
    TTrack track;
    track.FromString(text);
    return track;
}

// ---- TTransform ----

bool TTransform::FindTwo(float pos, TSegment<TTFR>& seg) const { return FindSegment(tfr, pos, seg); }

TTFR TTransform::GetTfr(float pos) const
{
    TTFR t;
    PutTfr(t, pos);
    return t;
}

void TTransform::PutTfr(TTFR& t, float pos) const
{
    if (tfr.empty())
        return;
    if (tfr.size() == 1) {
        t.SetDataFromOtherTFR(tfr.front());
        return;
    }
    PutToVar(t.sx, t.sy, t.Rotation, pos);
}

void TTransform::PutToVar(float& sx, float& sy, float& rotation, float pos) const
{
    TSegment<TTFR> seg;
    if (!FindTwo(pos, seg))
        return;
    const float e = seg.a->GetSplatPer(seg.t);
    sx = Lerp(seg.a->sx, seg.b->sx, e);
    sy = Lerp(seg.a->sy, seg.b->sy, e);
    rotation = Lerp(seg.a->Rotation, seg.b->Rotation, e);
}

void TTransform::PutSolidToVar(float& sx, float& sy, float& rotation, float pos) const
{
    TSegment<TTFR> seg;
    if (!FindTwo(pos, seg))
        return;
    sx = seg.a->sx;
    sy = seg.a->sy;
    rotation = seg.a->Rotation;
}

void TTransform::PutIn(const TTFR& key)
{
    tfr.push_back(key);
    Sort();
}

TTFR& TTransform::SplitIn(float pos)
{
    TTFR key = GetTfr(pos);
    key.Position = pos;
    return InsertSorted(tfr, key);
}

void TTransform::RemoveTFR(size_t i)
{
    if (i < tfr.size())
        tfr.erase(tfr.begin() + static_cast<std::ptrdiff_t>(i));
}

void TTransform::Sort() { SortKeys(tfr); }

TTransform TTransform::Copy() const
{
    TTransform c;
    c.position = position;
    c.tfr.reserve(tfr.size());
    for (const TTFR& t : tfr)
        c.tfr.push_back(t.Copy());
    return c;
}

std::string TTransform::ToString() const
{
    std::string out;
    for (size_t i = 0; i < tfr.size(); ++i) {
        if (i)
            out += '#';
        out += tfr[i].ToString();
    }
    return out;
}

void TTransform::FromString(std::string_view text)
{
    tfr.clear();
    if (text.empty())
        return;
    for (std::string_view part : SplitFields(text, '#'))
        tfr.push_back(TFRFromString(part));
}

TTransform CreateTransform(std::vector<TTFR> keys)
{
    if (keys.size() == 2 && keys[1].Position == 0)
        keys[1].Position = 1;
    TTransform t;
    t.tfr = std::move(keys);
    return t;
}

TTransform TransformFromString(std::string_view text)
{
    TTransform t;
    t.FromString(text);
    return t;
}
