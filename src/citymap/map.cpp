#include "citymap/map.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "datafiles/blockfile.h"
#include "fx/timing.h"

namespace citymap {

namespace {

// The map whose state the shared draw objects show now.
const TMap* g_prepared = nullptr;

} // namespace

TMapEvents& MapEvents()
{
    static TMapEvents events;
    return events;
}

// ---- SETTING ----

void TMap::SortObjects()
{
    std::stable_sort(Objects.begin(), Objects.end(),
                     [](const TMapObject* a, const TMapObject* b) { return a->Layer < b->Layer; });
}

void TMap::MakeMeStartMap(const TMapCatalogue& catalogue)
{
    Objects.clear();
    leaving_.clear();
    Etap = 0;
    for (int id : StartMapIds()) {
        TMapObject* o = catalogue.Find(id);
        if (!o || isPresent(o))
            continue;
        Objects.push_back(o);
        o->ShowNow();
    }
    SortObjects();
    // Whichever map is drawn next shows its own state first.
    g_prepared = nullptr;
    Reset();
}

void TMap::Reset()
{
    Mx = kMaxX;
    dmX = kMaxX;
    per = 1;
}

void TMap::Prepare()
{
    SettleFades();
    for (TMapObject* o : Objects) {
        o->ShowNow();
        o->Prepare();
    }
    g_prepared = this;
    // The three pre-aged clouds come with the map's particle layers.
}

void TMap::AddObject(TMapObject* o)
{
    if (!o)
        return;
    leaving_.erase(std::remove(leaving_.begin(), leaving_.end(), o), leaving_.end());
    if (isPresent(o))
        return;
    Objects.push_back(o);
    SortObjects();
}

void TMap::RemoveObject(TMapObject* o)
{
    Objects.erase(std::remove(Objects.begin(), Objects.end(), o), Objects.end());
    leaving_.erase(std::remove(leaving_.begin(), leaving_.end(), o), leaving_.end());
}

void TMap::MarkLeaving(TMapObject* o)
{
    if (o && isPresent(o) && !isLeaving(o))
        leaving_.push_back(o);
}

bool TMap::isLeaving(const TMapObject* o) const
{
    return std::find(leaving_.begin(), leaving_.end(), o) != leaving_.end();
}

void TMap::ApplyPurchase(TMapObject* o)
{
    if (!o)
        return;
    o->ResetShow();
    if (o->isExistReversed) {
        MarkLeaving(o);
        o->ShowReversed();
    } else {
        AddObject(o);
        o->Show();
    }
    o->Buy(*this);
}

// ---- DRAWING ----

void TMap::DrawObjects()
{
    // Events may take objects off the map (a fade-out ending): walk a copy.
    const std::vector<TMapObject*> walk = Objects;
    for (TMapObject* o : walk)
        if (isPresent(o))
            o->Draw(*this);
    platform::ResetDrawState();
}

void TMap::Draw()
{
    // The draw objects are shared between maps: a map drawn after another
    // shows its own state first.
    if (g_prepared != this)
        Prepare();
    Update();
    DrawObjects();
}

// ---- UPDATING ----

void TMap::UpdateAutoMove()
{
    if (MapEvents().MapScreenIsCurrent && MapEvents().MapScreenIsCurrent())
        return;
    if (fx::AppClock() < AutoTime || isLocked)
        return;
    if (isMovingNow) {
        isMovingNow = 0;
        return;
    }
    const float step = 0.35f * fx::FrameFactor();
    switch (AutoState) {
    case 0:
        Mx -= step;
        if (Mx < kMinX) {
            Mx = kMinX;
            AutoTime = fx::AppClock() + 3000;
            AutoState = 1;
        }
        break;
    case 1:
        AutoState = 2;
        break;
    case 2:
        Mx += step;
        if (Mx > kMaxX) {
            Mx = kMaxX;
            AutoTime = fx::AppClock() + 3000;
            AutoState = 3;
        }
        break;
    default:
        AutoState = 0;
        break;
    }
}

void TMap::UpdateCentering()
{
    if (dmX == kNoTarget || per == 1)
        return;
    isMovingNow = 1;
    per = std::min(1.0f, per + 0.01f * fx::FrameFactor());
    Mx = StartMX + (dmX - StartMX) * platform::SinD(90.0f * per);
    if (per >= 1)
        dmX = kNoTarget;
}

void TMap::Update()
{
    UpdateCentering();
    UpdateAutoMove();
    // Factory smoke, clouds and sparks come with the map's particle layers.
}

void TMap::Scroll(float speed)
{
    isMovingNow = 1;
    if (MapEvents().MapScreenIsCurrent && MapEvents().MapScreenIsCurrent())
        AutoTime = fx::AppClock() + 3000;
    Mx = std::clamp(Mx + speed * fx::FrameFactor(), kMinX, kMaxX);
    dmX = Mx;
}

void TMap::CenterAt(float x)
{
    dmX = std::clamp(512.0f - x, kMinX, kMaxX);
    StartMX = Mx;
    per = 0;
}

void TMap::FinishBuilding()
{
    const std::vector<TMapObject*> walk = Objects;
    for (TMapObject* o : walk)
        if (isPresent(o))
            o->FinishBuilding(*this);
}

void TMap::SettleFades()
{
    const std::vector<const TMapObject*> gone = leaving_;
    for (const TMapObject* o : gone)
        RemoveObject(const_cast<TMapObject*>(o));
    for (TMapObject* o : Objects) {
        if (o->isHiding() && o->isBuildNow()) {
            // A fade-out of something no purchase removes (a war object
            // waiting for its story): it ends where it stands.
            o->HideNow();
            continue;
        }
        for (auto& d : o->DrawObjects)
            d->Alpha = d->dAlpha;
        o->LastAlpha = o->DrawObjects.empty() ? 0 : o->DrawObjects.back()->Alpha;
        o->WaitForShowTime = 0;
    }
}

void TMap::OnLeave()
{
    const std::vector<TMapObject*> walk = Objects;
    for (TMapObject* o : walk)
        if (isPresent(o))
            o->OnLeave(*this);
}

// ---- GETTING ----

bool TMap::isPresent(const TMapObject* o) const
{
    return o && std::find(Objects.begin(), Objects.end(), o) != Objects.end();
}

bool TMap::isObject(const TMapObject* o) const { return isPresent(o) && !o->isExistReversed; }

bool TMap::isObjectById(int id) const
{
    return std::any_of(Objects.begin(), Objects.end(), [id](const TMapObject* o) { return o->id == id; });
}

bool TMap::isObject_ForPowerUp(int id, const TMapCatalogue& catalogue) const
{
    const TMapObject* o = catalogue.Find(id);
    if (!o)
        return false;
    return o->isExistReversed ? !isPresent(o) : isPresent(o);
}

int TMap::isObjectReversed(int id, const TMapCatalogue& catalogue)
{
    const TMapObject* o = catalogue.Find(id);
    return o ? o->isExistReversed : 0;
}

float TMap::CountProgress() const
{
    const int bought = MapEvents().BoughtCount ? MapEvents().BoughtCount() : 0;
    return static_cast<float>(bought) / static_cast<float>(kAllUpgrades);
}

bool TMap::isSomethingBuildNow() const
{
    return std::any_of(Objects.begin(), Objects.end(),
                       [](const TMapObject* o) { return o->isBuildNow() || o->WaitForShowTime != 0; });
}

std::string TMap::GetObjectsString() const
{
    std::string out;
    for (const TMapObject* o : Objects) {
        if (isLeaving(o))
            continue;
        out += std::to_string(o->id);
        out += ' ';
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

// ---- LOADING ----

void TMap::Save(TBlockFile& block) const
{
    SetBlockInt(block, "Etap", Etap);
    SetBlockString(block, "Objects", GetObjectsString());
}

void TMap::Load(const TBlockFile& block, const TMapCatalogue& catalogue)
{
    Objects.clear();
    leaving_.clear();
    PBlockFile etap = block.isBlock("Etap");
    Etap = etap && etap->MyType == 1 ? std::clamp(etap->GetInt(0), 0, TBuildingQueue::kChapters - 1) : 0;
    PBlockFile objects = block.isBlock("Objects");
    std::set<int> ids;
    if (objects && objects->MyType == 1) {
        std::istringstream in(objects->GetString(0));
        std::string word;
        while (in >> word) {
            char* end = nullptr;
            const long v = std::strtol(word.c_str(), &end, 10);
            if (end && *end == '\0')
                ids.insert(static_cast<int>(v));
        }
    }
    // Catalogue order; of two objects sharing an id (a content error) the
    // first, as every lookup by id finds it.
    for (const PMapObject& o : catalogue.Objects)
        if (ids.erase(o->id))
            Objects.push_back(o.get());
    SortObjects();
    Prepare();
}

// ---- Program-wide start map ----

PMap& StartMap()
{
    static PMap map;
    return map;
}

PMap TakeStartMap()
{
    PMap taken = StartMap();
    if (!taken) {
        taken = std::make_shared<TMap>();
        taken->MakeMeStartMap();
    }
    StartMap() = std::make_shared<TMap>();
    StartMap()->MakeMeStartMap();
    return taken;
}

} // namespace citymap
