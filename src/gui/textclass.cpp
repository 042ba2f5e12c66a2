#include "gui/textclass.h"

#include "app/platform/draw.h"

namespace gui {

namespace {

struct SavedState {
    float alpha = 1;
    int r = 255, g = 255, b = 255;
};

SavedState& Saved()
{
    static SavedState s;
    return s;
}

PTextClass& Current()
{
    static PTextClass current = std::make_shared<TTextClass>();
    return current;
}

} // namespace

PTextClass TTextClass::Copy() const
{
    auto c = std::make_shared<TTextClass>();
    c->Font = Font;
    c->Color = Color;
    c->Outline = Outline;
    c->Shadow = Shadow;
    return c;
}

// ---- DRAWING ----

void TTextClass::SelectFont() const { platform::SetFont(Font); }

void TTextClass::PushData()
{
    SavedState& s = Saved();
    s.alpha = platform::GetAlpha();
    s.r = platform::ColorRed();
    s.g = platform::ColorGreen();
    s.b = platform::ColorBlue();
}

void TTextClass::PopData()
{
    const SavedState& s = Saved();
    platform::SetAlpha(s.alpha);
    platform::SetColor(s.r, s.g, s.b);
}

void TTextClass::DrawTextXY(const std::string& text, float x, float y) const
{
    PushData();
    // The shadow switches to alpha blending; the caller's blend comes back at
    // the end so that an additive caption is not left in alpha mode.
    const int blend = platform::GetBlend();
    const float alpha = Saved().alpha;
    SelectFont();
    if (Shadow) {
        platform::SetAlpha(Shadow->w * alpha);
        platform::SetColor(0, 0, 0);
        platform::SetBlend(platform::kBlendAlpha);
        platform::DrawText(text, x + Shadow->x, y + Shadow->y);
        PopData();
    }
    if (Outline) {
        platform::SetAlpha(Outline->a * alpha);
        platform::SetColor(Outline->r, Outline->g, Outline->b);
        platform::DrawText(text, x - 1, y - 1);
        platform::DrawText(text, x + 1, y - 1);
        platform::DrawText(text, x - 1, y + 1);
        platform::DrawText(text, x + 1, y + 1);
        PopData();
    }
    if (Color) {
        platform::SetColor(Color->r, Color->g, Color->b);
        platform::SetAlpha(alpha * Color->a);
        platform::DrawText(text, x, y);
    }
    PopData();
    platform::SetBlend(blend);
}

PTextClass NewTextClass(platform::FontPtr font, std::optional<TRGB> color, std::optional<TRGB> outline,
                        std::optional<TDim> shadow)
{
    auto c = std::make_shared<TTextClass>();
    c->Font = std::move(font);
    c->Color = color;
    c->Outline = outline;
    c->Shadow = shadow;
    return c;
}

std::vector<PTextClass> NewTextClassArray(int n)
{
    std::vector<PTextClass> out;
    for (int i = 0; i < n; ++i)
        out.push_back(NewTextClass(nullptr, std::nullopt, std::nullopt, std::nullopt));
    return out;
}

// ---- The current text class ----

void SetTextClass(PTextClass textClass) { Current() = std::move(textClass); }

const PTextClass& CurrentTextClass() { return Current(); }

void DrawTextWithClass(const std::string& text, float x, float y)
{
    if (const PTextClass& c = Current())
        c->DrawTextXY(text, x, y);
    else
        platform::DrawText(text, x, y);
}

int TextClassWidth(const std::string& text)
{
    if (const PTextClass& c = Current())
        c->SelectFont();
    return platform::TextWidth(text);
}

int TextClassHeight(const std::string&)
{
    if (const PTextClass& c = Current())
        c->SelectFont();
    return platform::TextHeight();
}

} // namespace gui
