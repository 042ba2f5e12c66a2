#include "fx/records.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/platform/core/system.h"
#include "fx/numtext.h"

// ---- Easing ----

float EaseByCode(int code, float t)
{
    switch (code) {
    case EASE_LINEAR: return t;
    case EASE_SIN90: return platform::SinD(90.0f * t);
    case EASE_SIN180: return platform::SinD(180.0f * t);
    case EASE_SIN360: return platform::SinD(360.0f * t);
    case EASE_COS90: return platform::CosD(90.0f * t);
    case EASE_COS180: return platform::CosD(180.0f * t);
    case EASE_COS360: return platform::CosD(360.0f * t);
    default: return 0.0f;
    }
}

// ---- Text form helpers ----

std::vector<std::string_view> SplitFields(std::string_view text, char sep)
{
    std::vector<std::string_view> out;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(sep, start);
        if (end == std::string_view::npos) {
            out.push_back(text.substr(start));
            return out;
        }
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

namespace {

// One field slot of a text form: a float or an int member.
template <class F, class I>
struct FieldSlot {
    F* f = nullptr;
    I* i = nullptr;
};
using Field = FieldSlot<float, int>;
using ConstField = FieldSlot<const float, const int>;

void ReadFields(std::string_view text, std::initializer_list<Field> fields)
{
    const auto parts = SplitFields(text, ',');
    size_t n = 0;
    for (const Field& field : fields) {
        if (n >= parts.size())
            break;
        if (field.f)
            *field.f = fx::TextToFloat(parts[n]);
        else
            *field.i = fx::TextToInt(parts[n]);
        ++n;
    }
}

std::string WriteFields(std::initializer_list<ConstField> fields)
{
    std::string out;
    for (const ConstField& field : fields) {
        if (!out.empty())
            out += ',';
        out += field.f ? fx::FloatToText9(*field.f) : std::to_string(*field.i);
    }
    return out;
}

} // namespace

// ---- TDim ----

TDim TDim::Copy() const
{
    TDim d;
    d.x = x;
    d.y = y;
    d.w = w;
    d.h = h;
    d.position = position;
    return d;
}

void TDim::SetDataFromOtherDim(const TDim& d)
{
    x = d.x;
    y = d.y;
    w = d.w;
    h = d.h;
    x1 = d.x1;
    y1 = d.y1;
    x2 = d.x2;
    y2 = d.y2;
    position = d.position;
    isBezier = d.isBezier;
}

void TDim::SetData(float nx, float ny, float nw, float nh)
{
    x = nx;
    y = ny;
    w = nw;
    h = nh;
}

void TDim::CountCorners()
{
    x1 = x;
    y1 = y;
    x2 = x + w;
    y2 = y + h;
}

std::string TDim::ToString() const
{
    return WriteFields({{&x}, {&y}, {&w}, {&h}, {&x1}, {&y1}, {&x2},
                        {&y2}, {&position}, {nullptr, &isBezier},
                        {nullptr, &isSplaszczenie}});
}

void TDim::FromString(std::string_view text)
{
    ReadFields(text, {{&x}, {&y}, {&w}, {&h}, {&x1}, {&y1}, {&x2}, {&y2}, {&position}, {nullptr, &isBezier},
                      {nullptr, &isSplaszczenie}});
}

// ---- TRGB ----

void TRGB::SetData(int nr, int ng, int nb, float na, float npos)
{
    r = nr;
    g = ng;
    b = nb;
    a = na;
    position = npos;
}

TRGB TRGB::GetClose(int d) const
{
    d = std::abs(d);
    auto near = [d](int channel) { return std::clamp(channel + platform::Rng().Int(-d, d), 0, 255); };
    TRGB c;
    c.r = near(r);
    c.g = near(g);
    c.b = near(b);
    c.a = 1;
    c.position = 1;
    return c;
}

std::string TRGB::ToString() const
{
    return WriteFields({{nullptr, &r}, {nullptr, &g}, {nullptr, &b}, {&a}, {&position}});
}

void TRGB::FromString(std::string_view text)
{
    ReadFields(text, {{nullptr, &r}, {nullptr, &g}, {nullptr, &b}, {&a}, {&position}});
}

// ---- TTFR ----

TTFR TTFR::Copy() const
{
    TTFR t;
    t.SetDataFromOtherTFR(*this);
    return t;
}

void TTFR::SetData(float nsx, float nsy, float rotation, float position)
{
    sx = nsx;
    sy = nsy;
    Rotation = rotation;
    Position = position;
}

void TTFR::SetDataFromOtherTFR(const TTFR& t) { SetData(t.sx, t.sy, t.Rotation, t.Position); }

std::string TTFR::ToString() const
{
    return WriteFields({{&sx}, {&sy}, {&Rotation}, {&Position}, {nullptr, &isSplaszczenie}});
}

void TTFR::FromString(std::string_view text)
{
    ReadFields(text, {{&sx}, {&sy}, {&Rotation}, {&Position}, {nullptr, &isSplaszczenie}});
}

// ---- Creation ----

TDim CreateDim(float x, float y, float w, float h, float position, float x1, float y1, float x2, float y2)
{
    TDim d;
    d.SetData(x, y, w, h);
    d.position = position;
    d.x1 = x1;
    d.y1 = y1;
    d.x2 = x2;
    d.y2 = y2;
    return d;
}

TDim CreatePointDim(float x, float y, float position) { return CreateDim(x, y, 0, 0, position); }

TDim DimFromString(std::string_view text)
{
    TDim d;
    d.FromString(text);
    return d;
}

TRGB CreateRGB(int r, int g, int b, float a, float position)
{
    TRGB c;
    c.SetData(r, g, b, a, position);
    return c;
}

TRGB RGBFromString(std::string_view text)
{
    TRGB c;
    c.FromString(text);
    return c;
}

TTFR CreateTFR(float sx, float sy, float rotation, float position)
{
    TTFR t;
    t.SetData(sx, sy, rotation, position);
    return t;
}

TTFR TFRFromString(std::string_view text)
{
    TTFR t;
    t.FromString(text);
    return t;
}
