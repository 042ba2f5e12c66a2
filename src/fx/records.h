// Value records of every animation: a rectangle-and-key record (TDim), a
// colour-and-alpha record (TRGB) and a scale-and-rotation record (TTFR), with
// their comma-separated text forms used in data files.
//
// Text forms: fields in a fixed order joined by "," without spaces; floats in
// the nine-digit form ("1.00000000"), integers in decimal. Reading assigns the
// fields in order; fields missing at the end keep their current values, extra
// fields are ignored and text that is not a number reads as 0.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Easing codes of a segment, applied to its local progress t.
enum TEasing : int {
    EASE_LINEAR = 0, // t
    EASE_SIN90 = 1,  // sin(90 * t)
    EASE_SIN180 = 2, // sin(180 * t): reaches the end key at t = 0.5 and returns
    EASE_SIN360 = 3, // sin(360 * t)
    EASE_COS90 = 4,  // cos(90 * t): starts at the end key, arrives at the start key
    EASE_COS180 = 5, // cos(180 * t)
    EASE_COS360 = 6, // cos(360 * t)
};

// The eased value of t for an easing code; unknown codes give 0.
float EaseByCode(int code, float t);

// Curve types of a track segment (TDim::isBezier of the segment's start key).
enum TCurve : int {
    CURVE_LINE = 0,
    CURVE_QUAD = 1,  // through (x1, y1)
    CURVE_CUBIC = 2, // through (x1, y1) and (x2, y2)
};

struct TDim {
    float x = 0, y = 0;   // position (top-left when used as a rectangle)
    float w = 0, h = 0;   // size
    float cx = 0, cy = 0; // auxiliary centre values, not part of the text form
    float x1 = 0, y1 = 0; // first control point; top-left corner after CountCorners
    float x2 = 0, y2 = 0; // second control point; bottom-right corner after CountCorners
    float position = 0;   // key position on a track
    int isBezier = CURVE_LINE;
    int isSplaszczenie = EASE_LINEAR; // easing code, stored and written only
    std::shared_ptr<void> o;          // free reference for the owner

    // A new record with x, y, w, h and position only (curve fields 0).
    TDim Copy() const;
    // Every field except cx, cy, isSplaszczenie and o.
    void SetDataFromOtherDim(const TDim& d);
    void SetData(float nx, float ny, float nw, float nh);
    // x1, y1 = top-left; x2, y2 = bottom-right.
    void CountCorners();
    // Computes the corners and draws the outline with four one-pixel lines at
    // scale 1 and rotation 0 (a 1x1 dot when w and h are both 0). The drawing
    // scale and rotation are restored afterwards.
    void DrawDimRect();

    std::string ToString() const;
    void FromString(std::string_view text);
};

struct TRGB {
    int r = 0, g = 0, b = 0; // 0 to 255
    float a = 1;             // alpha 0 to 1
    float position = 1;      // key position

    TRGB Copy() const { return *this; }
    void SetData(int nr, int ng, int nb, float na, float npos);
    void SetDataFromOtherRGB(const TRGB& c) { *this = c; }
    // A colour whose channels each differ by a random amount in -d..d (clamped
    // to 0..255), alpha and position 1. Draws from the program's random stream.
    TRGB GetClose(int d) const;

    std::string ToString() const;
    void FromString(std::string_view text);
};

struct TTFR {
    float sx = 1, sy = 1;
    float Rotation = 0; // degrees
    float Position = 0; // key position
    int isSplaszczenie = EASE_LINEAR; // easing of the segment that starts here

    // The four floats; the copy's easing code is 0.
    TTFR Copy() const;
    void SetData(float nsx, float nsy, float rotation, float position);
    void SetDataFromOtherTFR(const TTFR& t);
    float GetSplatPer(float t) const { return EaseByCode(isSplaszczenie, t); }

    std::string ToString() const;
    void FromString(std::string_view text);
};

// ---- Creation ----
TDim CreateDim(float x, float y, float w, float h, float position = 0, float x1 = 0, float y1 = 0, float x2 = 0,
               float y2 = 0);
TDim CreatePointDim(float x, float y, float position = 0);
TDim DimFromString(std::string_view text);
TRGB CreateRGB(int r, int g, int b, float a = 1, float position = 1);
TRGB RGBFromString(std::string_view text);
TTFR CreateTFR(float sx, float sy, float rotation = 0, float position = 0);
TTFR TFRFromString(std::string_view text);

// Every top-level entry of the block file at path, in file order and whatever
// its name, read as a TDim text form from its first value (a value holding
// commas must be quoted in the file). A missing file shows a message box and
// gives an empty array.
std::vector<TDim> LoadDimArray(const std::string& path);

// ---- Drawing state ----
// Drawing colour and alpha from c; drawing scale and rotation from t.
void ApplyRGB(const TRGB& c);
void ApplyTFR(const TTFR& t);

// Splits text at sep into pieces (an empty text gives one empty piece).
std::vector<std::string_view> SplitFields(std::string_view text, char sep);
