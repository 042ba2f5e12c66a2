// TrueType fonts rasterised with FreeType into a glyph cache per font and size.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {

struct FontData; // FreeType face and glyph cache, private to the layer

class Font {
public:
    explicit Font(std::unique_ptr<FontData> data);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int PixelSize() const;
    bool Smooth() const;
    // Line height in pixels: the glyphs of a line lie within it.
    int Height() const;
    // Unscaled pixel width of a UTF-8 text: the sum of the glyph advances (and
    // kerning), exactly as DrawText places them.
    int Width(const std::string& text) const;

    FontData* Data() const { return data_.get(); }

private:
    std::unique_ptr<FontData> data_;
};

using FontPtr = std::shared_ptr<Font>;

// nullptr (and a log line) when the file is missing or is not a font.
// smooth: anti-aliased glyphs; otherwise one-bit glyphs.
FontPtr LoadFont(const std::string& path, int pixelSize, bool smooth = true);
// A font from bytes in memory (kept alive by the font).
FontPtr LoadFontFromMemory(std::vector<unsigned char> bytes, int pixelSize, bool smooth = true);
// The built-in default font (a compiled-in sans face at 16 pixels).
FontPtr DefaultFont();

} // namespace platform
