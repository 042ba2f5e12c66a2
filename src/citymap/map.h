// One player's city map: the catalogue objects that stand on it, the chapter
// of the building queue, and the map's motion (manual scrolling, centring on a
// purchase, slow panning while it is the backdrop of the main menu).
//
// The map is 2048 map pixels wide and drawn at x + Mx; Mx stays within
// -853 .. -171, so the 1366-wide virtual area always shows map pixels.
//
// Saved state (block "Map" of the profile file): Etap and Objects, the ids in
// list order. What is saved is the map as it will be once every fade running
// now has ended: an object a purchase removes is left out at once, so a quit
// or a crash in the middle of a fade never brings it back.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "citymap/mapobjects.h"

class TBlockFile;

namespace citymap {

// What the map's events ask of the rest of the program. Every hook may be
// empty (then nothing happens).
struct TMapEvents {
    // An object became fully visible two seconds ago: the background
    // presentation for an object with a background set, else the dialogs tied
    // to building it. `background` tells which.
    std::function<void(int id, bool background)> BuildingShown;
    // An object finished fading out: the dialogs tied to it.
    std::function<void(int id)> BuildingHidden;
    // After either event: the map screen shows its interface again.
    std::function<void()> ShowInterface;
    // True while the map screen is the current screen.
    std::function<bool()> MapScreenIsCurrent;
    // Purchases so far of the current profile (for the progress); 0 without one.
    std::function<int()> BoughtCount;
};

TMapEvents& MapEvents();

class TMap {
public:
    static constexpr float kMinX = -853, kMaxX = -171;
    static constexpr float kNoTarget = 8000;
    static constexpr int kAllUpgrades = 32;

    float Mx = kMaxX;
    float dmX = kNoTarget;
    float per = 1;
    float StartMX = 0;
    int isLocked = 0;
    float SkyX = 0;
    std::vector<TMapObject*> Objects; // present, in Layer order
    int Etap = 0;                     // chapter of the building queue, 0 to 7
    int isMovingNow = 0;
    int AutoState = 0;
    int64_t AutoTime = 0;
    int64_t MainCloudsTime = 0;

    // ---- SETTING ----
    void SortObjects();
    // The start map's objects, all shown, and the offset reset.
    void MakeMeStartMap(const TMapCatalogue& catalogue = MapCatalogue());
    void Reset();
    // Every object shown as it stands (no events to come); objects on their
    // way out are taken off first.
    void Prepare();
    // Appends a catalogue object not yet present (keeping Layer order).
    void AddObject(TMapObject* o);
    void RemoveObject(TMapObject* o);
    // Marks an object as on its way out: it fades, then leaves the map; it is
    // already left out of the saved state.
    void MarkLeaving(TMapObject* o);
    bool isLeaving(const TMapObject* o) const;
    // The map's side of a purchase: the object fades in (a removal fades out
    // and is left out of the saved state at once), then its hide and show
    // lists take effect.
    void ApplyPurchase(TMapObject* o);

    // ---- DRAWING ----
    void DrawObjects();
    // Update, then the objects in Layer order.
    void Draw();

    // ---- UPDATING ----
    void UpdateAutoMove();
    void UpdateCentering();
    void Update();
    void Scroll(float speed);
    void CenterAt(float x);
    void Lock() { isLocked = 1; }
    void UnLock() { isLocked = 0; }
    // Every fade ends at once, firing its events.
    void FinishBuilding();
    // Every fade ends at once without events (leaving the map screen); the
    // objects on their way out leave.
    void SettleFades();
    void OnLeave();

    // ---- GETTING ----
    bool isPresent(const TMapObject* o) const;
    // Present and not a reversed object.
    bool isObject(const TMapObject* o) const;
    bool isObjectById(int id) const;
    // A normal object: present; a reversed one: gone (it was bought).
    bool isObject_ForPowerUp(int id, const TMapCatalogue& catalogue = MapCatalogue()) const;
    static int isObjectReversed(int id, const TMapCatalogue& catalogue = MapCatalogue());
    // Purchases of the current profile / 32.
    float CountProgress() const;
    bool isSomethingBuildNow() const;
    // The ids of the objects as saved: list order, blank-separated, objects
    // on their way out left out.
    std::string GetObjectsString() const;

    // ---- LOADING ----
    void Save(TBlockFile& block) const;
    // Objects in catalogue order (duplicates and unknown ids add nothing),
    // then SortObjects and Prepare.
    void Load(const TBlockFile& block, const TMapCatalogue& catalogue = MapCatalogue());

private:
    std::vector<const TMapObject*> leaving_;
};

using PMap = std::shared_ptr<TMap>;

// The program-wide start map: drawn behind the main menu while no profile is
// current; a new profile takes it over and a fresh one is made.
PMap& StartMap();
// The start map handed over: the current one, a new one built in its place.
PMap TakeStartMap();

} // namespace citymap
