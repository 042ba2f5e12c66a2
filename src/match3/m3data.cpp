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

// The values the shipped pack uses, for settings that are missing or out of range.
constexpr float kUsualTileSize = 72;
constexpr float kUsualSpeedChip = 6;
constexpr float kUsualSpeedFallChip = 12;
constexpr float kUsualSpeedFallAcc = 0.9f;
constexpr float kUsualSpeedLandAcc = 0.7f;
constexpr float kUsualMinMove = 18;

std::string Number(float v)
{
    std::string s = std::to_string(v);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s;
}

// The groups of a kinds file to read, by number: "root::prefix1" .. as many as
// are written one after the other. The count "root::i" should say the same;
// when it does not, the written groups win (a stale count is the likelier
// mistake) and the disagreement is reported.
std::vector<int> ListedKinds(const TRCMFile& f, const std::string& file, const std::string& root,
                             const std::string& prefix)
{
    const int count = CatalogueInt(f, root + "::i");
    int written = 0;
    while (CatalogueGroup(f, root + "::" + prefix + std::to_string(written + 1)))
        ++written;
    if (count != written)
        ReportDataIssue(file, root + "::i",
                        "says " + std::to_string(count) + " kinds, but " + std::to_string(written) + " are written (" +
                            prefix + "1 .. " + prefix + std::to_string(written) + "): the written ones are read");
    std::vector<int> out;
    for (int n = 1; n <= written; ++n)
        out.push_back(n);
    return out;
}

// Ids of a kinds file: 1 or more, each used once (the first kind with an id
// wins every look-up, so a second one is never seen). False for an id that
// cannot be used at all.
bool CheckKindId(int id, std::vector<int>& seen, const std::string& file, const std::string& key)
{
    if (id <= 0) {
        ReportDataIssue(file, key, "id " + std::to_string(id) + " must be 1 or more; the kind is not read");
        return false;
    }
    if (std::find(seen.begin(), seen.end(), id) != seen.end())
        ReportDataIssue(file, key, "id " + std::to_string(id) + " is already used by an earlier kind, which wins "
                                   "every look-up");
    seen.push_back(id);
    return true;
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
    // A size or speed that is missing or not positive would freeze or hide the
    // board: such values fall back to the pack's usual ones, with a line.
    auto positive = [&](const std::string& key, int i, float fallback) {
        const float v = f.getFloat(key, i);
        if (std::isfinite(v) && v > 0)
            return v;
        ReportDataIssue(path, key, Number(v) + " must be above 0 (missing reads as 0); " + Number(fallback) +
                                       " is used");
        return fallback;
    };
    auto flag = [&](const std::string& key) {
        const int v = CatalogueInt(f, key);
        if (v != 0 && v != 1)
            ReportDataIssue(path, key, std::to_string(v) + " is neither 0 nor 1; read as 1");
        return v != 0 ? 1 : 0;
    };
    SetTileSizes(positive("settings::size", 0, kUsualTileSize), positive("settings::size", 1, kUsualTileSize));
    SetChipShadow(f.getFloat("settings::ChipShadowAlpha"), f.getFloat("settings::ChipShadowAdx"),
                  f.getFloat("settings::ChipShadowAdy"));
    SetSideFallAvailable(flag("settings::isSideFallAvailable"));
    SetSlowFallAvailable(flag("settings::isSlowFallAvailable"));
    SetSpeedChip(positive("settings::speedChip", 0, kUsualSpeedChip));
    SetSpeedFallChip(positive("settings::speedFallChip", 0, kUsualSpeedFallChip));
    SetSpeedFallAcc(positive("settings::speedFallAcc", 0, kUsualSpeedFallAcc));
    SetSpeedLandAcc(positive("settings::speedLandAcc", 0, kUsualSpeedLandAcc));
    int matchType = CatalogueInt(f, "Settings::matchType");
    if (matchType < 0 || matchType > 2) {
        ReportDataIssue(path, "settings::matchType",
                        std::to_string(matchType) + " is not a match mode (0 swap, 1 chain, 2 group); 0 is used");
        matchType = 0;
    }
    SetMatchType(matchType);
    float minMove[2] = {f.getFloat("settings::MinMove", 0), f.getFloat("settings::MinMove", 1)};
    for (float& m : minMove)
        if (!std::isfinite(m) || m < 0) {
            ReportDataIssue(path, "settings::MinMove", "a drag distance of " + Number(m) + " is below 0; " +
                                                           Number(kUsualMinMove) + " is used");
            m = kUsualMinMove;
        }
    SetMinMoves(minMove[0], minMove[1]);
    return true;
}

bool TM3Game::LoadM3Tiles(const std::string& path, int imgQueued, int imgDeferred)
{
    error.clear();
    TRCMFile f;
    if (!OpenCatalogue(f, path, error))
        return false;
    std::vector<int> ids;
    std::vector<std::pair<TM3TileData*, std::string>> read; // kinds of this file and their groups
    for (int n : ListedKinds(f, path, "tiles", "tile")) {
        const std::string g = "tiles::tile" + std::to_string(n);
        auto td = std::make_shared<TM3TileData>();
        td->myM3Game = this;
        td->id = CatalogueInt(f, g + "::id");
        if (!CheckKindId(td->id, ids, path, g + "::id"))
            continue;
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
        read.emplace_back(td.get(), g);
        tilesList.push_back(td);
    }
    for (auto& [td, g] : read)
        for (auto [ref, key] : {std::pair{&td->olderId, "::OlderTile"}, std::pair{&td->youngerId, "::YoungerTile"}})
            if (*ref != 0 && !GetTileDataById(*ref)) {
                ReportDataIssue(path, g + key, "no cell kind has id " + std::to_string(*ref) + "; read as 0 (none)");
                *ref = 0;
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
    std::vector<int> ids;
    for (int n : ListedKinds(f, path, "chips", "chip")) {
        const std::string g = "chips::chip" + std::to_string(n);
        auto cd = std::make_shared<TM3ChipData>();
        cd->myM3Game = this;
        cd->id = CatalogueInt(f, g + "::id");
        if (!CheckKindId(cd->id, ids, path, g + "::id"))
            continue;
        int* channels[3] = {&cd->r, &cd->g, &cd->b};
        for (int c = 0; c < 3; ++c) {
            *channels[c] = CatalogueInt(f, g + "::rgb", c);
            if (*channels[c] < 0 || *channels[c] > 255) {
                ReportDataIssue(path, g + "::rgb", "colour value " + std::to_string(*channels[c]) +
                                                       " is outside 0 .. 255; read as the nearest end");
                *channels[c] = std::clamp(*channels[c], 0, 255);
            }
        }
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
                    const int number = CatalogueInt(f, a + "::frame", j - 1);
                    if (number < 1 || number > frames)
                        ReportDataIssue(path, a + "::frame",
                                        "frame " + std::to_string(number) + " is not one of the kind's frames 1 .. " +
                                            std::to_string(frames) + ": it draws nothing");
                    ad.frame[static_cast<size_t>(j - 1)] = number - 1;
                    ad.frameTime[static_cast<size_t>(j - 1)] = CatalogueInt(f, a + "::framesTime", j - 1);
                }
                cd->anims.push_back(std::move(ad));
            }
            cd->standardAnim = CatalogueInt(f, g + "::anims::standardAnim");
            if (!cd->FindAnim(cd->standardAnim) && !cd->anims.empty()) {
                ReportDataIssue(path, g + "::anims::standardAnim",
                                "no animation of the kind has id " + std::to_string(cd->standardAnim) +
                                    "; its first animation (id " + std::to_string(cd->anims.front().id) +
                                    ") is used");
                cd->standardAnim = cd->anims.front().id;
            }
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
    std::vector<int> ids;
    std::vector<std::pair<TM3Obstacle*, std::string>> read; // kinds of this file and their groups
    for (int n : ListedKinds(f, path, "obstacles", "obst")) {
        const std::string g = "obstacles::obst" + std::to_string(n);
        auto o = std::make_shared<TM3Obstacle>();
        o->myM3Game = this;
        o->id = CatalogueInt(f, g + "::id");
        if (!CheckKindId(o->id, ids, path, g + "::id"))
            continue;
        const std::string gfx = Str(f, g + "::gfx");
        if (!gfx.empty()) {
            o->gfx = Picture(*this, gfx, -1, imgQueued, imgDeferred);
            gui::MidHandleImg(o->gfx);
        }
        o->LowerId = CatalogueInt(f, g + "::LowerObstacle");
        o->HigherId = CatalogueInt(f, g + "::HigherObstacle");
        o->Typ = CatalogueInt(f, g + "::type");
        o->isNonMatch = CatalogueInt(f, g + "::isNonMatch");
        if (o->isNonMatch != 0 && o->isNonMatch != 1) {
            ReportDataIssue(path, g + "::isNonMatch", std::to_string(o->isNonMatch) + " is neither 0 nor 1; read as 1");
            o->isNonMatch = 1;
        }
        read.emplace_back(o.get(), g);
        obstaclesList.push_back(o);
    }
    for (auto& [o, g] : read)
        for (auto [ref, key] : {std::pair{&o->LowerId, "::LowerObstacle"}, std::pair{&o->HigherId, "::HigherObstacle"}})
            if (*ref != 0 && !GetObstacleById(*ref)) {
                ReportDataIssue(path, g + key, "no obstacle kind has id " + std::to_string(*ref) + "; read as 0 (none)");
                *ref = 0;
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
