// Kind records and the loaders of the four engine data files.
#include "match3/m3data.h"

#include <algorithm>
#include <cmath>

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "datafiles/rcmfile.h"
#include "datafiles/txtfile.h"
#include "match3/m3game.h"
#include "match3/m3read.h"

namespace match3 {

// ---- DRAWING ----

void TM3TileData::Draw(float x, float y) const
{
    if (gfx)
        gfx->draw(x, y);
}

gui::PImg TM3ChipData::GetGFX(int frame) const
{
    if (frame < 0 || frame >= static_cast<int>(gfx.size()))
        return nullptr;
    return gfx[static_cast<size_t>(frame)];
}

void TM3ChipData::Draw(float x, float y, int frame) const
{
    if (auto img = GetGFX(frame))
        img->draw(x, y);
}

const TM3AnimData* TM3ChipData::FindAnim(int animId) const
{
    for (const auto& a : anims)
        if (a.id == animId)
            return &a;
    return nullptr;
}

void TM3ChipData::FreeGFX()
{
    gfx.clear();
    gfxShadow.clear();
}

void TM3Obstacle::draw(float x, float y) const
{
    if (gfx)
        gfx->draw(x, y);
}

// ---- LOADING ----

namespace {


std::string Str(const TRCMFile& f, const std::string& key, int i = 0)
{
    return TrimmedValue(f.getString(key, i));
}

// Reads a catalogue file; false with the game's error set when it is missing
// or holds nothing.
bool OpenCatalogue(TRCMFile& f, const std::string& path, std::string& error)
{
    auto text = platform::TryReadTextFile(path);
    if (!text) {
        error = "Engine file not found: " + path;
        platform::Log(error);
        return false;
    }
    f.LoadText(*text, path);
    if (f._grupa._listaGrup.empty() && f._grupa._listaWpisow.empty()) {
        error = "Engine file is empty: " + path;
        platform::Log(error);
        return false;
    }
    return true;
}

std::string ImagePath(const TM3Game& game, const std::string& path)
{
    std::string out = path;
    const std::string token = "[BDIR]";
    for (size_t at = out.find(token); at != std::string::npos; at = out.find(token, at)) {
        const std::string dir = game.gameFolder.empty() ? ExpandBDir(token) : game.gameFolder;
        out.replace(at, token.size(), dir);
        at += dir.size();
    }
    return out;
}

gui::PImg Picture(const TM3Game& game, const std::string& path, int flags, int queued, int deferred)
{
    return gui::LoadImg(ImagePath(game, path), flags, queued != 0, deferred != 0);
}

} // namespace

bool TM3Game::LoadM3Settings(const std::string& path)
{
    error.clear();
    TRCMFile f;
    if (!OpenCatalogue(f, path, error))
        return false;
    SetTileSizes(f.getFloat("settings::size", 0), f.getFloat("settings::size", 1));
    SetChipShadow(f.getFloat("settings::ChipShadowAlpha"), f.getFloat("settings::ChipShadowAdx"),
                  f.getFloat("settings::ChipShadowAdy"));
    SetSideFallAvailable(CatalogueInt(f, "settings::isSideFallAvailable"));
    SetSlowFallAvailable(CatalogueInt(f, "settings::isSlowFallAvailable"));
    SetSpeedChip(f.getFloat("settings::speedChip"));
    SetSpeedFallChip(f.getFloat("settings::speedFallChip"));
    SetSpeedFallAcc(f.getFloat("settings::speedFallAcc"));
    SetSpeedLandAcc(f.getFloat("settings::speedLandAcc"));
    SetMatchType(CatalogueInt(f, "Settings::matchType"));
    SetMinMoves(f.getFloat("settings::MinMove", 0), f.getFloat("settings::MinMove", 1));
    return true;
}

bool TM3Game::LoadM3Tiles(const std::string& path, int imgQueued, int imgDeferred)
{
    error.clear();
    TRCMFile f;
    if (!OpenCatalogue(f, path, error))
        return false;
    const int count = CatalogueInt(f, "tiles::i");
    for (int n = 1; n <= count; ++n) {
        const std::string g = "tiles::tile" + std::to_string(n);
        auto td = std::make_shared<TM3TileData>();
        td->myM3Game = this;
        td->id = CatalogueInt(f, g + "::id");
        td->gfxPath = Str(f, g + "::gfx");
        td->youngerId = CatalogueInt(f, g + "::YoungerTile");
        td->olderId = CatalogueInt(f, g + "::OlderTile");
        if (!td->gfxPath.empty()) {
            td->gfx = Picture(*this, td->gfxPath, -1, imgQueued, imgDeferred);
            const float h0 = f.getFloat(g + "::handle", 0);
            if (h0 == 0)
                gui::MidHandleImg(td->gfx);
            else
                gui::SetImgHandle(td->gfx, h0, f.getFloat(g + "::handle", 1));
        }
        tilesList.push_back(td);
    }
    for (auto& td : tilesList) {
        auto o = GetTileDataById(td->olderId);
        auto y = GetTileDataById(td->youngerId);
        td->older = td->olderId != 0 ? o.get() : nullptr;
        td->younger = td->youngerId != 0 ? y.get() : nullptr;
    }
    if (tilesList.empty()) {
        error = "No cell kinds in " + path;
        platform::Log(error);
        return false;
    }
    return true;
}

bool TM3Game::LoadM3Chips(const std::string& path, int imgQueued, int imgDeferred)
{
    error.clear();
    TRCMFile f;
    if (!OpenCatalogue(f, path, error))
        return false;
    const int count = CatalogueInt(f, "chips::i");
    for (int n = 1; n <= count; ++n) {
        const std::string g = "chips::chip" + std::to_string(n);
        auto cd = std::make_shared<TM3ChipData>();
        cd->myM3Game = this;
        cd->id = CatalogueInt(f, g + "::id");
        cd->r = CatalogueInt(f, g + "::rgb", 0);
        cd->g = CatalogueInt(f, g + "::rgb", 1);
        cd->b = CatalogueInt(f, g + "::rgb", 2);
        cd->resIndex = CatalogueInt(f, g + "::res");
        cd->resValue = CatalogueInt(f, g + "::resQuantity");
        const std::string gfx = Str(f, g + "::gfx");
        const int animCount = CatalogueInt(f, g + "::anims::i");
        if (!gfx.empty()) {
            auto img = Picture(*this, gfx, 6, imgQueued, imgDeferred);
            gui::MidHandleImg(img);
            cd->gfx.push_back(img);
            const std::string shadow = Str(f, g + "::gfxShadow");
            if (!shadow.empty()) {
                auto s = Picture(*this, shadow, 6, imgQueued, imgDeferred);
                gui::MidHandleImg(s);
                cd->gfxShadow.push_back(s);
            }
        } else if (animCount != 0 || CatalogueInt(f, g + "::anims::allFrames::i") != 0) {
            const int frames = CatalogueInt(f, g + "::anims::allFrames::i");
            for (int k = 1; k <= frames; ++k) {
                auto img = Picture(*this, Str(f, g + "::anims::allFrames::Frame" + std::to_string(k)), 6,
                                   imgQueued, imgDeferred);
                gui::MidHandleImg(img);
                cd->gfx.push_back(img);
            }
            if (CatalogueInt(f, g + "::anims::allFrames::haveGFXShadows") == 1) {
                const int sframes = CatalogueInt(f, g + "::anims::allShadowFrames::i");
                for (int k = 1; k <= sframes; ++k) {
                    auto img = Picture(*this, Str(f, g + "::anims::allShadowFrames::Frame" + std::to_string(k)),
                                       6, imgQueued, imgDeferred);
                    gui::MidHandleImg(img);
                    cd->gfxShadow.push_back(img);
                }
            }
            for (int k = 1; k <= animCount; ++k) {
                const std::string a = g + "::anims::anim" + std::to_string(k);
                TM3AnimData ad;
                ad.id = CatalogueInt(f, a + "::id");
                const int length = std::max(0, CatalogueInt(f, a + "::Frames"));
                const int read = std::min(length, std::max(0, CatalogueInt(f, a + "::frames")));
                ad.frame.assign(static_cast<size_t>(length), 0);
                ad.frameTime.assign(static_cast<size_t>(length), 0);
                for (int j = 1; j <= read; ++j) {
                    ad.frame[static_cast<size_t>(j - 1)] = CatalogueInt(f, a + "::frame", j - 1) - 1;
                    ad.frameTime[static_cast<size_t>(j - 1)] = CatalogueInt(f, a + "::framesTime", j - 1);
                }
                cd->anims.push_back(std::move(ad));
            }
            cd->standardAnim = CatalogueInt(f, g + "::anims::standardAnim");
        }
        chipsList.push_back(cd);
    }
    if (chipsList.empty()) {
        error = "No chip kinds in " + path;
        platform::Log(error);
        return false;
    }
    return true;
}

bool TM3Game::LoadM3Obstacles(const std::string& path, int imgQueued, int imgDeferred)
{
    error.clear();
    TRCMFile f;
    if (!OpenCatalogue(f, path, error))
        return false;
    const int count = CatalogueInt(f, "obstacles::i");
    for (int n = 1; n <= count; ++n) {
        const std::string g = "obstacles::obst" + std::to_string(n);
        auto o = std::make_shared<TM3Obstacle>();
        o->myM3Game = this;
        o->id = CatalogueInt(f, g + "::id");
        const std::string gfx = Str(f, g + "::gfx");
        if (!gfx.empty()) {
            o->gfx = Picture(*this, gfx, -1, imgQueued, imgDeferred);
            gui::MidHandleImg(o->gfx);
        }
        o->LowerId = CatalogueInt(f, g + "::LowerObstacle");
        o->HigherId = CatalogueInt(f, g + "::HigherObstacle");
        o->Typ = CatalogueInt(f, g + "::type");
        o->isNonMatch = CatalogueInt(f, g + "::isNonMatch");
        obstaclesList.push_back(o);
    }
    for (auto& o : obstaclesList) {
        o->HigherObstacle = o->HigherId != 0 ? GetObstacleById(o->HigherId) : nullptr;
        o->LowerObstacle = o->LowerId != 0 ? GetObstacleById(o->LowerId) : nullptr;
    }
    return true;
}

bool TM3Game::LoadEngineData(const std::string& gameDir)
{
    gameFolder = gameDir;
    if (!gameFolder.empty() && gameFolder.back() != '/')
        gameFolder += '/';
    // A second load replaces the kinds instead of piling them up.
    tilesList.clear();
    chipsList.clear();
    obstaclesList.clear();
    const std::string base = gameFolder + "data/Match3Engine/";
    return LoadM3Settings(base + "settings.txt") && LoadM3Tiles(base + "tiles.txt", 0, 1) &&
           LoadM3Chips(base + "chips.txt", 0, 1) && LoadM3Obstacles(base + "obstacles.txt", 0, 1);
}

} // namespace match3
