// Image handles: whole picture files or named pieces of an atlas picture.
//
// Pictures are loaded once and shared: every handle of the same file and
// flags draws the same platform image, and an atlas (a picture with a piece
// list beside it) is read once per path. Each handle keeps its own drawing
// handle (hx, hy), so handles of one shared picture never disturb each other.
//
// Atlas piece list: the picture's path with the extension replaced by ".txt".
// One value per line: a first number (read and ignored), then groups of five
// lines: piece name, x, y, width, height. Names are compared ignoring case.
// Lines are trimmed, so lists with CR LF line ends read the same.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/platform/image.h"

namespace gui {

class TImgTexture;

class TImg {
public:
    std::string url;                 // image file (for a piece: the atlas picture)
    int flags = -1;                  // image loading flags; -1 the platform's default
    std::weak_ptr<TImgTexture> tex;  // the atlas of a piece; empty for a whole file
    platform::ImagePtr image;        // the loaded picture; none until loaded (always none for a piece)
    std::string name;                // piece name, upper-case; empty for a whole file
    int HandledMiddle = 0;           // 1 when the handle was put at the centre
    float x = 0, y = 0;              // top-left of a piece within the atlas picture
    float w = 0, h = 0;              // size of the piece or picture
    float hx = 0, hy = 0;            // drawing handle
    float drawScale = 1;             // extra scale applied when drawing

    bool IsPiece() const { return !name.empty(); }

    // ---- LOADING ----
    // Loads the picture on first use and returns it (none for a piece, or when
    // the file is missing).
    platform::ImagePtr GetImage();
    // Whole files only: (re)loads url through the shared cache, sets the size
    // and applies the handle.
    void Reload();
    // Takes a picture loaded elsewhere (the resource queue): size and handle
    // follow it; none leaves an empty 0x0 handle.
    void SetLoadedImage(platform::ImagePtr pic);
    // Applies the handle to the loaded picture: its integer centre when mid
    // handled, else (hx, hy).
    void ApplyHandle();
    void Free() {}

    // ---- DRAWING ----
    // At (x, y) in the current colour, alpha, blend and rotation; the current
    // scale times drawScale. A missing picture draws nothing.
    void draw(float px, float py);

private:
    bool triedLoad_ = false;         // first-use loading happens once
    float imgHx_ = 0, imgHy_ = 0;    // handle of the whole picture when drawn
};

using PImg = std::shared_ptr<TImg>;

class TImgTexture : public std::enable_shared_from_this<TImgTexture> {
public:
    std::vector<PImg> imgs;  // pieces in list order
    platform::ImagePtr img;  // the whole atlas picture
    std::string url;         // atlas path, upper-case (its key in the texture list)
    std::string myUrl;       // atlas path kept for loading later
    int flags = -1;

    // ---- LOADING ----
    // Reads the atlas: the picture now, on the loading queue or on first use,
    // and the piece list at once. A missing picture shows
    // "TEXTURE FILE NOT FOUND: " + path and leaves the atlas without pieces.
    void loadTex(const std::string& path, int flagsIn, bool queued, bool deferred);
    // Loads the picture if it is not loaded yet (first use of a deferred or
    // queued atlas); pieces that lie outside it are then dropped.
    const platform::ImagePtr& EnsureImage();

    // ---- FINDING ----
    // The first piece of that name ignoring case; none when there is none.
    PImg getImg(const std::string& pieceName) const;

private:
    struct PieceLine {
        PImg piece;
        int line = 0; // line of the piece's name in the list
    };
    std::vector<PieceLine> unchecked_; // pieces not yet checked against the picture size
    std::string listPath_;
    bool triedLoad_ = false;
    void CheckPieces();
};

using PImgTexture = std::shared_ptr<TImgTexture>;

// ---- Operations ----

// source: a path, or an atlas path and a piece name joined by "|". queued: the
// load goes on the resource queue (and happens at the first draw at the
// latest); deferred: the picture is loaded at its first draw. A piece the
// atlas lacks gives an empty handle that draws nothing (and a console line).
PImg LoadImg(const std::string& source, int flags = -1, bool queued = false, bool deferred = false);
void DrawImg(const PImg& img, float x, float y);
float ImgWidth(const PImg& img);
float ImgHeight(const PImg& img);
void SetImgHandle(const PImg& img, float hx, float hy);
void MidHandleImg(const PImg& img);

// The atlas already read for this path (ignoring case), or none.
PImgTexture FindTexture(const std::string& path);

// Forgets every cached picture and atlas (tests). Handles already given out
// keep what they hold.
void ClearImageCaches();

} // namespace gui
