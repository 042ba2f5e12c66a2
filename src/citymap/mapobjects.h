// The city map's objects: the catalogue of everything that can stand on a map
// ("Data/MapScreen/MapObjects.txt"), each object drawn by one or more draw
// objects, and the building queue the map screen offers them from
// ("Data/MapScreen/ObjectsBuildingQue.txt").
//
// The catalogue is read once and lives for the whole program; every map holds
// references into it, and the same draw objects serve every map that holds
// their owner (a map makes them show its own state when it is prepared).
//
// Visibility: every draw object has a value (Alpha) that moves towards its
// target (dAlpha) by 0.0025 per nominal frame. An object that is bought fades
// in, one that a purchase removes fades out; the object's events fire from
// the drawing: "shown" two seconds after it became fully visible, "hidden" at
// once, which takes it off the map.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/platform/image.h"
#include "datafiles/txtfile.h"

class TBlockFile;

namespace citymap {

class TMap;
class TMapObject;
using PMapObject = std::shared_ptr<TMapObject>;

// ---- Draw objects ----

class TMapDrawObj {
public:
    virtual ~TMapDrawObj() = default;

    TMapObject* MyObject = nullptr; // owner (the catalogue owns both)
    std::string url;                // picture file name (Url)
    platform::ImagePtr obj;         // the picture, for the picture kinds
    int x = 0;                      // map coordinates of the picture's handle
    float y = 0;
    float Alpha = 0;                // visibility, 0 to 1
    float dAlpha = 0;               // its target, 0 or 1

    static constexpr float kFadeStep = 0.0025f; // per nominal frame

    // ---- GETTING ----
    bool isHiding() const { return dAlpha == 0; }
    bool isShowing() const { return dAlpha == 1 && Alpha < 1; }
    // The owner is a war object with a war scene: its fade-out waits for the story.
    bool isBattleObject() const;
    // Map x of the picture's centre (0 for kinds without a picture).
    virtual int GetCenterX() const { return 0; }

    // ---- DRAWING ----
    // Update, OnUpdate, OnDraw, with `mx` the map's offset.
    void Draw(float mx);
    virtual void OnDraw(float /*mx*/) {}
    virtual void OnUpdate() {}
    virtual void UpdateEffect() {}
    void Update();

    // ---- LOADING ----
    // Dim and Url, then OnLoad. `gameDir` ends with a slash.
    void Load(const TBlockFile& block, const std::string& gameDir, bool pictures);
    virtual void OnLoad(const TBlockFile& /*block*/, const std::string& /*gameDir*/, bool /*pictures*/) {}

    // ---- VISIBILITY ----
    void ResetShow() { Alpha = dAlpha = 0; }
    void ResetShowReversed();
    void Show() { dAlpha = 1; }
    void ShowReversed();
    void ShowNow() { Alpha = dAlpha = 1; }
    void Hide() { dAlpha = 0; }
    void HideNow() { Alpha = dAlpha = 0; }
    void FinishHide() { Alpha = dAlpha = 0; }
    virtual void Prepare() {}
};

// IMAGE: a still picture (game folder + "gfx/Map/" + Url) at (x, y).
class TMapDrawImage : public TMapDrawObj {
public:
    int nodraw = 0;       // key No: never drawn (its motion and glow still run)
    float SpecAlpha = 1;  // multiplies Alpha when drawn
    int64_t partTime = 0; // next glow emission

    int GetCenterX() const override;
    virtual platform::ImagePtr GetImage() { return obj; }
    // The picture; while fading, an additive copy at sin(360 * Alpha) that
    // glows as it appears and as it goes.
    void OnDraw(float mx) override;
    virtual void OnDraw2(float /*mx*/) {}
    void OnLoad(const TBlockFile& block, const std::string& gameDir, bool pictures) override;
};

// ---- Map objects ----

enum class TMapObjectKind { Map, Build, War, Extra, Car };

class TMapObject {
public:
    virtual ~TMapObject() = default;

    int id = 0;
    int Layer = 0;       // position in the catalogue: maps draw in this order
    int NameN = 0;       // text numbers in the language's "txt/MapObjects.txt"
    int DescrN = 0;
    std::string name;
    std::string Descr;
    int Price = 0;
    std::string IconUrl;
    platform::ImagePtr Icon; // "gfx/gui/MapScreen/icons/" + IconUrl + ".png"
    std::vector<std::shared_ptr<TMapDrawObj>> DrawObjects;
    std::vector<TMapObject*> HideObjects; // faded out when this one is bought
    std::vector<TMapObject*> ShowObjects; // added and faded in when this one is bought
    int SpecialStep = 0;
    int isExistReversed = 0; // present from the start; buying it removes it
    std::string ToHideString, ToShowString;
    float LastAlpha = 0;     // last draw object's value after the last draw
    int BackGroundIndex = -1; // when >= 0 buying sets the background set
    int64_t WaitForShowTime = 0; // when the "shown" event fires; 0 none
    int WarScene = 0;

    virtual TMapObjectKind Kind() const { return TMapObjectKind::Map; }
    virtual std::string GetType() const { return "MapObject"; }

    // ---- DRAWING ----
    // The pending "shown" event, the draw objects, then the events a change
    // of LastAlpha brings (see TMap::Draw).
    void Draw(TMap& map);
    virtual void OnDraw(TMap& /*map*/) {}

    // ---- LOADING ----
    // Every field but the hide and show lists (resolved by the catalogue).
    void Load(const TBlockFile& block, int index, const std::string& gameDir, const TTxtFile* texts, bool pictures);
    virtual void OnLoad(const TBlockFile& /*block*/) {}

    // ---- VISIBILITY ----
    bool isHiding() const;
    bool isShowing() const;
    bool isBuildNow() const;
    void Show();
    void ShowReversed();
    // Shown at once, with no "shown" event to come.
    void ShowNow();
    void Hide();
    void HideNow();
    void ResetShow();
    // ---- EVENTS ----
    void FinishShow(TMap& map);
    void FinishHide(TMap& map);
    // A fade still running ends at once, firing its event.
    void FinishBuilding(TMap& map);
    void HideMyHidingObjects();
    // The purchase's effect on the map: hide list, show list. The profile's
    // side (cash, bought list, background) is paid by the map screen.
    void Buy(TMap& map);
    void OnLeave(TMap& map);
    void CenterAtMe(TMap& map) const;
    void Prepare();
};

// BUILDOBJECT, WAROBJECT, EXTOBJECT, CAROBJECT.
class TBuildObject : public TMapObject {
public:
    TMapObjectKind Kind() const override { return TMapObjectKind::Build; }
    std::string GetType() const override { return "BuildObject"; }
};

class TWarObject : public TMapObject {
public:
    TMapObjectKind Kind() const override { return TMapObjectKind::War; }
    std::string GetType() const override { return "WarObject"; }
    // The war story is over: every draw object fades out.
    void HideAfterWarStory();
};

class TExtraObject : public TMapObject {
public:
    TMapObjectKind Kind() const override { return TMapObjectKind::Extra; }
    std::string GetType() const override { return "ExtObject"; }
};

// A traffic lane (its cars drive with the living city; the lane is read now).
class TCarObject : public TMapObject {
public:
    int Side = 1; // direction, -1 or 1
    int y = 0;    // lane height
    TMapObjectKind Kind() const override { return TMapObjectKind::Car; }
    std::string GetType() const override { return "CarObject"; }
    void OnLoad(const TBlockFile& block) override;
};

// ---- Catalogue ----

// A problem met while reading a map file: where (a path of block and entry
// names, e.g. "MapObject 12::HideObjects") and what.
struct TMapFileIssue {
    std::string file;
    std::string where;
    std::string message;
};

class TMapCatalogue {
public:
    std::vector<PMapObject> Objects; // file order
    std::vector<TMapFileIssue> Issues;

    // The first object with this id, or none.
    TMapObject* Find(int id) const;
    // Reads the catalogue file: one object per block MapObject, the language's
    // texts for names and descriptions, the pictures when `pictures` is set.
    // A missing file leaves an empty catalogue (and one issue). Problems the
    // game plays around are reported (console and Issues) and skipped.
    void Load(const std::string& file, const std::string& gameDir, const TTxtFile* texts, bool pictures);
    // The same from a parsed file (`file` names it in the issues).
    void LoadBlocks(const std::shared_ptr<TBlockFile>& root, const std::string& file, const std::string& gameDir,
                    const TTxtFile* texts, bool pictures);

private:
    std::vector<PMapObject> retired_;
};

// The program-wide catalogue (empty until the map screen is set up).
TMapCatalogue& MapCatalogue();

// ---- Building queue ----

class TBuildingQueue {
public:
    static constexpr int kChapters = 8;
    static constexpr int kSlots = 4;
    std::array<std::array<int, kSlots>, kChapters> BuyQueue{}; // ids; 0 none
    std::vector<TMapFileIssue> Issues;

    // Entries "Chapter1" .. "Chapter8" of four ids each. Missing chapters or
    // values are reported and left at 0 (a slot that offers nothing).
    void Load(const std::string& file);
    void LoadBlocks(const std::shared_ptr<TBlockFile>& root, const std::string& file);
    int At(int chapter, int slot) const;
};

TBuildingQueue& BuildingQueue();

// ---- Picture cache ----

// Map pictures are shared by every draw object naming the same file (paths
// compared in upper case); a picture that failed to load is remembered as
// missing and not tried again.
platform::ImagePtr LoadSpecImage(const std::string& path);
void ClearSpecImages();

// The ids of the start map, in order (those not in the catalogue are skipped).
const std::vector<int>& StartMapIds();

} // namespace citymap
