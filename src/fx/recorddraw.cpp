// The drawing side of the value records.
#include "app/platform/draw.h"
#include "fx/records.h"

void TDim::DrawDimRect()
{
    CountCorners();
    const float oldSx = platform::ScaleX();
    const float oldSy = platform::ScaleY();
    const float oldRotation = platform::GetRotation();
    platform::SetScale(1, 1);
    platform::SetRotation(0);
    if (w == 0 && h == 0) {
        platform::DrawRect(x1, y1, 1, 1);
    } else {
        platform::DrawLine(x1, y1, x2, y1);
        platform::DrawLine(x2, y1, x2, y2);
        platform::DrawLine(x2, y2, x1, y2);
        platform::DrawLine(x1, y2, x1, y1);
    }
    platform::SetScale(oldSx, oldSy);
    platform::SetRotation(oldRotation);
}

void ApplyRGB(const TRGB& c)
{
    platform::SetColor(c.r, c.g, c.b);
    platform::SetAlpha(c.a);
}

void ApplyTFR(const TTFR& t)
{
    platform::SetScale(t.sx, t.sy);
    platform::SetRotation(t.Rotation);
}
