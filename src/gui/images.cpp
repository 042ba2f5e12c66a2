#include "gui/images.h"
#include "datafiles/numbers.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "datafiles/rcmfile.h"

namespace gui {

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}


std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.substr(b, e - b);
}

// ---- The shared picture cache ----
// Keyed by the file as found on disk (letter case ignored) and the flags.
// Entries are weak: a picture nobody holds any more is freed and read again
// when next asked for. Files found missing are remembered, so a missing
// picture is reported once and not searched for on every frame.
struct PictureCache {
    std::map<std::string, std::weak_ptr<platform::Image>> pictures;
    std::set<std::string> missing;
};

PictureCache& Pictures()
{
    static PictureCache cache;
    return cache;
}

std::vector<PImgTexture>& Textures()
{
    static std::vector<PImgTexture> list;
    return list;
}

int NormalFlags(int flags) { return flags < 0 ? 3 : flags; }

platform::ImagePtr LoadPicture(const std::string& path, int flags)
{
    PictureCache& cache = Pictures();
    const std::string key = datafiles::AsciiLower(platform::ResolvePath(path)) + "|" + std::to_string(NormalFlags(flags));
    auto found = cache.pictures.find(key);
    if (found != cache.pictures.end()) {
        if (platform::ImagePtr held = found->second.lock())
            return held;
    }
    if (cache.missing.count(key))
        return nullptr;
    if (!platform::FileExists(path)) {
        platform::Log("TEXTURE FILE NOT FOUND: " + path);
        cache.missing.insert(key);
        return nullptr;
    }
    // A file that exists but cannot be decoded is named by the platform.
    platform::ImagePtr img = platform::LoadImage(path, flags);
    if (!img) {
        cache.missing.insert(key);
        return nullptr;
    }
    cache.pictures[key] = img;
    return img;
}

// A whole number from a piece list ("12"; "12.7" reads 12); false for other text.
bool ReadWhole(const std::string& text, int& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v) || std::fabs(v) > 1e9)
        return false;
    out = static_cast<int>(v);
    return true;
}

std::string ListPathOf(const std::string& picture)
{
    return platform::WithoutExtension(picture) + ".txt";
}

} // namespace

// ---- TImg ----

void TImg::ApplyHandle()
{
    if (!image)
        return;
    if (HandledMiddle) {
        imgHx_ = static_cast<float>(image->Width() / 2);
        imgHy_ = static_cast<float>(image->Height() / 2);
    } else {
        imgHx_ = hx;
        imgHy_ = hy;
    }
    // The platform image is shared by every handle of the file: its own handle
    // only matters to callers drawing GetImage() directly.
    image->SetHandle(imgHx_, imgHy_);
}

platform::ImagePtr TImg::GetImage()
{
    if (!image && !IsPiece() && !triedLoad_)
        Reload();
    return image;
}

void TImg::Reload()
{
    if (IsPiece())
        return;
    SetLoadedImage(LoadPicture(url, flags));
}

void TImg::SetLoadedImage(platform::ImagePtr pic)
{
    triedLoad_ = true;
    image = std::move(pic);
    if (!image) {
        w = h = 0;
        return;
    }
    w = static_cast<float>(image->Width());
    h = static_cast<float>(image->Height());
    ApplyHandle();
}

void TImg::draw(float px, float py)
{
    PImgTexture atlas = tex.lock();
    if (!atlas && !image && !IsPiece() && !triedLoad_)
        Reload(); // first use of a deferred or queued picture
    platform::ImagePtr pic = atlas ? atlas->EnsureImage() : image;
    if (!pic || w <= 0 || h <= 0)
        return;
    const float sx = platform::ScaleX(), sy = platform::ScaleY();
    if (drawScale != 1)
        platform::SetScale(sx * drawScale, sy * drawScale);
    if (atlas)
        platform::DrawImageRect(pic, px, py, w, h, x, y, w, h, hx, hy);
    else
        platform::DrawImageRect(pic, px, py, float(pic->Width()), float(pic->Height()), 0, 0,
                                float(pic->Width()), float(pic->Height()), imgHx_, imgHy_, 0);
    if (drawScale != 1)
        platform::SetScale(sx, sy);
}

// ---- TImgTexture ----

void TImgTexture::loadTex(const std::string& path, int flagsIn, bool queued, bool deferred)
{
    url = Upper(path);
    myUrl = path;
    flags = flagsIn;
    listPath_ = ListPathOf(path);
    if (!platform::FileExists(path)) {
        triedLoad_ = true;
        platform::MessageBox("TEXTURE FILE NOT FOUND: " + path, false);
        return;
    }

    // The piece list.
    const auto text = platform::TryReadTextFile(listPath_);
    if (!text) {
        platform::Log("Atlas piece list not found: " + listPath_);
    } else {
        std::vector<std::string> lines;
        size_t start = 0;
        while (true) {
            const size_t lf = text->find('\n', start);
            lines.push_back(Trim(text->substr(start, lf == std::string::npos ? std::string::npos : lf - start)));
            if (lf == std::string::npos)
                break;
            start = lf + 1;
        }
        if (!lines.empty() && lines.back().empty())
            lines.pop_back();
        // Line 1 holds a number that is not used; then five lines a piece.
        size_t i = 1;
        for (; i + 5 <= lines.size(); i += 5) {
            const int line = static_cast<int>(i) + 1;
            int v[4];
            bool ok = !lines[i].empty();
            for (int k = 0; k < 4 && ok; ++k)
                ok = ReadWhole(lines[i + 1 + k], v[k]);
            if (!ok) {
                platform::Log(listPath_ + ":" + std::to_string(line) + ": piece \"" + lines[i] +
                              "\" needs a name and four whole numbers; ignored");
                continue;
            }
            auto piece = std::make_shared<TImg>();
            piece->url = path;
            piece->flags = flagsIn;
            piece->tex = weak_from_this();
            piece->name = Upper(lines[i]);
            piece->x = float(v[0]);
            piece->y = float(v[1]);
            piece->w = float(v[2]);
            piece->h = float(v[3]);
            imgs.push_back(piece);
            unchecked_.push_back({piece, line});
        }
        if (i < lines.size())
            platform::Log(listPath_ + ":" + std::to_string(i + 1) + ": incomplete piece entry ignored");
    }

    if (queued) {
        std::weak_ptr<TImgTexture> self = weak_from_this();
        QueueResourceLoad(path, flagsIn, [self](const TProgramRes& res) {
            PImgTexture t = self.lock();
            if (!t)
                return;
            t->triedLoad_ = true;
            t->img = LoadPicture(res.url, res.flags);
            if (!t->img)
                platform::MessageBox("NO IMAGE (LoadResource): " + res.url, false);
            t->CheckPieces();
        });
    } else if (!deferred) {
        EnsureImage();
    }
}

const platform::ImagePtr& TImgTexture::EnsureImage()
{
    if (!img && !triedLoad_) {
        triedLoad_ = true;
        img = LoadPicture(myUrl, flags);
        CheckPieces();
    }
    return img;
}

void TImgTexture::CheckPieces()
{
    if (!img)
        return;
    const int W = img->SheetWidth(), H = img->SheetHeight();
    for (const PieceLine& p : unchecked_) {
        TImg& piece = *p.piece;
        if (piece.x >= 0 && piece.y >= 0 && piece.w >= 0 && piece.h >= 0 && piece.x + piece.w <= W &&
            piece.y + piece.h <= H)
            continue;
        platform::Log(listPath_ + ":" + std::to_string(p.line) + ": piece " + piece.name + " (" +
                      std::to_string(int(piece.x)) + ", " + std::to_string(int(piece.y)) + ", " +
                      std::to_string(int(piece.w)) + ", " + std::to_string(int(piece.h)) +
                      ") lies outside the picture of " + std::to_string(W) + "x" + std::to_string(H) +
                      "; ignored");
        for (auto it = imgs.begin(); it != imgs.end(); ++it)
            if (it->get() == &piece) {
                imgs.erase(it);
                break;
            }
        piece.w = piece.h = 0; // a handle already given out draws nothing
    }
    unchecked_.clear();
}

PImg TImgTexture::getImg(const std::string& pieceName) const
{
    const std::string wanted = Upper(pieceName);
    for (const PImg& p : imgs)
        if (p->name == wanted)
            return p;
    return nullptr;
}

// ---- Operations ----

PImgTexture FindTexture(const std::string& path)
{
    const std::string key = Upper(path);
    for (const PImgTexture& t : Textures())
        if (t->url == key)
            return t;
    return nullptr;
}

PImg LoadImg(const std::string& source, int flags, bool queued, bool deferred)
{
    const size_t bar = source.find('|');
    if (bar == std::string::npos) {
        auto img = std::make_shared<TImg>();
        img->url = source;
        img->flags = flags;
        if (queued) {
            std::weak_ptr<TImg> target = img;
            QueueResourceLoad(source, flags, [target](const TProgramRes& res) {
                PImg t = target.lock();
                if (!t)
                    return;
                platform::ImagePtr pic = LoadPicture(res.url, res.flags);
                if (!pic)
                    platform::MessageBox("NO IMAGE (LoadResource): " + res.url, false);
                t->SetLoadedImage(pic);
            });
        } else if (!deferred) {
            img->Reload();
        }
        return img;
    }

    const std::string atlasPath = Trim(source.substr(0, bar));
    std::string pieceName = Trim(source.substr(bar + 1));
    const size_t bar2 = pieceName.find('|');
    if (bar2 != std::string::npos)
        pieceName = Trim(pieceName.substr(0, bar2));
    PImgTexture atlas = FindTexture(atlasPath);
    if (!atlas) {
        atlas = std::make_shared<TImgTexture>();
        Textures().push_back(atlas);
        atlas->loadTex(atlasPath, flags, queued, deferred);
    }
    if (PImg piece = atlas->getImg(pieceName))
        return piece;
    // Only listed pieces should be asked for; an unknown one draws nothing.
    if (!atlas->imgs.empty())
        platform::Log("Atlas piece not found: " + pieceName + " in " + atlasPath);
    auto empty = std::make_shared<TImg>();
    empty->url = atlasPath;
    empty->flags = flags;
    empty->name = Upper(pieceName.empty() ? std::string("?") : pieceName);
    return empty;
}

void DrawImg(const PImg& img, float x, float y)
{
    if (img)
        img->draw(x, y);
}

float ImgWidth(const PImg& img) { return img ? img->w : 0; }

float ImgHeight(const PImg& img) { return img ? img->h : 0; }

void SetImgHandle(const PImg& img, float hx, float hy)
{
    if (!img)
        return;
    img->hx = hx;
    img->hy = hy;
    img->HandledMiddle = 0;
    img->ApplyHandle();
}

void MidHandleImg(const PImg& img)
{
    if (!img)
        return;
    img->hx = img->w / 2;
    img->hy = img->h / 2;
    img->HandledMiddle = 1;
    img->ApplyHandle();
}

void ClearImageCaches()
{
    Pictures().pictures.clear();
    Pictures().missing.clear();
    Textures().clear();
}

} // namespace gui
