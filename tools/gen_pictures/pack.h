// Output side of the generator: writes pictures into the pack folder and remembers
// each one for the contact sheet.
#pragma once

#include "canvas.h"

#include <string>
#include <vector>

namespace gp {

// One named piece of an atlas picture.
struct AtlasPiece {
    std::string name;
    int x = 0, y = 0, w = 0, h = 0;
};

class Pack {
public:
    Pack(std::string outDir, std::string fontDir);
    ~Pack();
    Pack(const Pack&) = delete;
    Pack& operator=(const Pack&) = delete;

    Fonts& GetFonts() { return fonts_; }
    const std::string& OutDir() const { return outDir_; }

    // PNG with alpha. Pixels that are not fully transparent never come out as pure
    // black (0,0,0): the game's default image flags turn pure black transparent, so
    // the darkest visible colour written is (1,1,1).
    void SavePng(const std::string& relPath, Canvas& cv);
    // JPEG at a fixed quality, for full-screen backdrops without alpha. The picture
    // is flattened on a dark backdrop and lifted so that no pixel decodes to pure
    // black (which the default image flags would make transparent).
    void SaveJpeg(const std::string& relPath, Canvas& cv);
    // An atlas: the picture and, beside it, the piece list with the same name and
    // the extension ".txt" (a count, then name, x, y, width, height per piece, one
    // value per line).
    void SaveAtlas(const std::string& relPath, Canvas& cv, const std::vector<AtlasPiece>& pieces);

    // Writes one picture showing every saved picture scaled into a grid with its name.
    void WriteContactSheet(const std::string& path);
    // Writes every saved picture at full size as PNG below dir (for looking at JPEGs
    // and small pictures closely while authoring).
    void WritePreviews(const std::string& dir);

    int Failures() const { return failures_; }

private:
    struct Entry {
        std::string name;
        cairo_surface_t* thumb;  // owned copy of the picture
        int w, h;
    };
    void Remember(const std::string& name, Canvas& cv);
    std::string Prepare(const std::string& relPath);

    std::string outDir_;
    Fonts fonts_;
    std::vector<Entry> entries_;
    int failures_ = 0;
};

// Low-level writers (also used by the contact sheet).
bool WritePngFile(const std::string& path, cairo_surface_t* surface, bool guardBlack);
bool WriteJpegFile(const std::string& path, cairo_surface_t* surface, int quality);

}  // namespace gp
