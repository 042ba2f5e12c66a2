#include "gui/formattext.h"

#include "app/platform/draw.h"
#include "app/platform/font.h"
#include "gui/split.h"
#include "gui/textclass.h"

namespace gui {

namespace {

// Selects a font for measuring and puts the previous one back afterwards.
class FontScope {
public:
    explicit FontScope(const std::shared_ptr<platform::Font>& font) : saved_(platform::GetFont())
    {
        platform::SetFont(font);
    }
    ~FontScope() { platform::SetFont(saved_); }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    std::shared_ptr<platform::Font> saved_;
};

// Greedy wrapping of one paragraph (text without line feeds) into `out`.
void WrapParagraph(const std::string& paragraph, int width, std::vector<std::string>& out)
{
    const std::vector<std::string> words = SplitWords(paragraph);
    if (words.empty()) {
        out.emplace_back();
        return;
    }
    std::string line = words[0];
    for (size_t i = 1; i < words.size(); ++i) {
        std::string candidate = line + " " + words[i];
        if (platform::TextWidth(candidate) > width) {
            out.push_back(std::move(line));
            line = words[i];
        } else {
            line = std::move(candidate);
        }
    }
    out.push_back(std::move(line));
}

} // namespace

TFormatedText FormatText(const std::string& text, const std::shared_ptr<platform::Font>& font, int width, int extra)
{
    TFormatedText f;
    if (text.empty()) {
        f.texts.push_back(text);
        f.lines = 1;
        return f;
    }

    FontScope scope(font);
    f.font = font;
    f.Width = width;
    f.OneHeight = platform::TextHeight() + extra;
    // A line feed starts a new line; the carriage return of a CR LF pair is
    // not part of the text.
    for (std::string paragraph : SplitLines(text)) {
        if (!paragraph.empty() && paragraph.back() == '\r')
            paragraph.pop_back();
        WrapParagraph(paragraph, width, f.texts);
    }
    f.lines = static_cast<int>(f.texts.size());
    f.CountHeight();
    return f;
}

// ---- DRAWING ----

void TFormatedText::DrawWithTextClass(float x, float y, const std::shared_ptr<TTextClass>& textClass, int align) const
{
    if (textClass)
        textClass->SelectFont();
    else
        platform::SetFont(font);
    float lineY = y;
    for (const std::string& line : texts) {
        const float lineX = LineX(x, Width, platform::TextWidth(line), align);
        if (textClass)
            textClass->DrawTextXY(line, lineX, lineY);
        else
            platform::DrawText(line, lineX, lineY);
        lineY += static_cast<float>(OneHeight);
    }
}

void TFormatedText::Draw(float x, float y, int centred) const
{
    platform::SetScale(1.0f, 1.0f);
    platform::SetRotation(0.0f);
    platform::SetFont(font);
    float lineY = y;
    for (const std::string& line : texts) {
        const float lineX = centred ? LineX(x, Width, platform::TextWidth(line), 1) : x;
        platform::DrawText(line, lineX, lineY);
        lineY += static_cast<float>(OneHeight);
    }
}

void TFormatedText::DrawOutLined(float x, float y, int r, int g, int b)
{
    pomY = static_cast<int>(y);
    platform::SetScale(1.0f, 1.0f);
    platform::SetRotation(0.0f);
    platform::SetFont(font);
    platform::SetColor(0, 0, 0);
    static constexpr float kOffsets[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    for (const auto& o : kOffsets) {
        float lineY = y;
        for (const std::string& line : texts) {
            platform::DrawText(line, x + o[0], lineY + o[1]);
            lineY += static_cast<float>(OneHeight);
        }
    }
    platform::SetColor(r, g, b);
    float lineY = y;
    for (const std::string& line : texts) {
        platform::DrawText(line, x, lineY);
        lineY += static_cast<float>(OneHeight);
    }
}

// ---- GETTING ----

int TFormatedText::CountHeight()
{
    Height = lines * OneHeight;
    return Height;
}

float TFormatedText::LineX(float x, int boxWidth, int lineWidth, int align)
{
    switch (align) {
    case 1:
        return x + static_cast<float>(boxWidth / 2 - lineWidth / 2);
    case 2:
        return x + static_cast<float>(boxWidth - lineWidth);
    default:
        return x;
    }
}

} // namespace gui
