// Keyframe tracks: TTrack interpolates positions (and sizes) along straight
// lines and Bezier curves, TTransform interpolates scale and rotation with
// easing. Keys are ordered by their position on the track, 0 to 1 by
// convention. The curve type and easing of a segment belong to its start key.
//
// Segment search: the first i with key[i].pos <= pos < key[i+1].pos gives the
// start key, the end key and the local progress t. When there is no such
// segment (pos before the first key, at or beyond the last, or fewer than two
// keys) both ends are the last key and t = 1. A track without keys answers a
// default record and leaves records it is asked to fill unchanged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fx/records.h"

// A segment found by the search: both ends and the local progress.
template <class Key>
struct TSegment {
    const Key* a = nullptr;
    const Key* b = nullptr;
    float t = 1.0f;
};

struct TTrack {
    std::vector<TDim> dim;

    // False, with no ends, when the track has no keys.
    bool FindTwo(float pos, TSegment<TDim>& seg) const;
    // A new record holding the value at pos.
    TDim GetDim(float pos) const;
    // Writes the value at pos into d.
    void PutDim(TDim& d, float pos) const;

    // Adds a key and re-sorts.
    void PutIn(const TDim& key);
    // Adds a key holding the value at pos; returns it (valid until the track changes).
    TDim& SplitIn(float pos);
    void RemoveDim(size_t i); // an index past the end does nothing
    void Sort();
    void Free() { dim.clear(); }
    // Keys copied with TDim::Copy: x, y, w, h and position only, so every
    // segment of the copy is a straight line.
    TTrack Copy() const;

    std::string ToString() const; // key text forms joined with "|"
    void FromString(std::string_view text);
};

struct TTransform {
    std::vector<TTFR> tfr;
    float position = 0;

    bool FindTwo(float pos, TSegment<TTFR>& seg) const;
    // A new record (scale 1, rotation 0 when there are no keys) with the value at pos.
    TTFR GetTfr(float pos) const;
    // Writes scale and rotation at pos into t; its Position is not changed.
    void PutTfr(TTFR& t, float pos) const;
    void PutToVar(float& sx, float& sy, float& rotation, float pos) const;
    // The segment start key's values without interpolation (a stepped transform).
    void PutSolidToVar(float& sx, float& sy, float& rotation, float pos) const;

    void PutIn(const TTFR& key);
    void AddTFR(const TTFR& key) { PutIn(key); }
    TTFR& SplitIn(float pos);
    void RemoveTFR(size_t i);
    void Sort();
    void Free() { tfr.clear(); }
    // Keys copied with TTFR::Copy: every segment of the copy is linear.
    TTransform Copy() const;

    std::string ToString() const; // key text forms joined with "#"
    void FromString(std::string_view text);
};

// Holds the given keys as they are (not sorted). With exactly two keys whose
// second position is 0, that position becomes 1.
TTrack CreateTrack(std::vector<TDim> keys);
TTrack TrackFromString(std::string_view text);
TTransform CreateTransform(std::vector<TTFR> keys);
TTransform TransformFromString(std::string_view text);

// ---- Curves (one coordinate at a time) ----
// From a (t = 0) to b (t = 1) with control c.
float QuadBezier(float a, float b, float c, float t);
// From a to b with controls c1 and c2.
float CubicBezier(float a, float b, float c1, float c2, float t);
